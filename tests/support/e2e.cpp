#include "tests/support/e2e.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>
#include <utility>

#include "tests/support/pnm.h"

static void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void Driver::move(int x, int y) {
  sendMove(x, y);
  sleepMs(Tempo::ruch);
}

void Driver::click(int x, int y, int button) {
  move(x, y);
  sendClick(button);
  sleepMs(Tempo::klik);
}

void Driver::press(int x, int y, int button) {
  move(x, y);
  sendButton(button, true);
  sleepMs(Tempo::przycisk);
}

void Driver::release(int button) {
  sendButton(button, false);
  sleepMs(Tempo::przycisk);
}

void Driver::key(const std::string& keysym) {
  sendKey(keysym);
  sleepMs(Tempo::klawisz);
}

void Driver::sendClick(int button) {
  sendButton(button, true);
  sendButton(button, false);
}

Shot Driver::waitFor(const std::function<bool(const Shot&)>& pred, int ms) {
  Shot s;
  for (int t = 0; t <= (ms < 0 ? patience_ : ms); t += 50) {
    s = shot();
    if (s.w && pred(s)) return s;
    sleepMs(50);
  }
  return s;
}

Shot Driver::settle(int ms) {
  Shot a = shot();
  for (int t = 0; t < (ms < 0 ? patience_ : ms); t += 100) {
    sleepMs(100);
    Shot b = shot();
    if (a.w && b.px == a.px) return b;
    a = b;
  }
  return a;
}

App::App(bool withFont) : App(Launch{"", withFont, true, "", {}}) {}

App::App(const Launch& how) : Driver(5000) {
  work_ = std::make_unique<Scratch>("e2e");
  state_ = std::make_unique<Scratch>("state");
  dir_ = work_->path;
  if (how.withFont)
    Sh("cp '" + (how.font.empty() ? TARKSEN_FONT : how.font) + "' '" + dir_ + "/BASFont.bmp'");
  std::string bin = how.bin.empty() ? TARKSEN_BIN : how.bin;

  startServer(how.screen);
  if (how.windowManager) startWindowManager();

  app_ = fork();
  if (app_ == 0) {
    if (chdir(dir_.c_str()) != 0) _exit(126);
    setenv("DISPLAY", display_.c_str(), 1);
    setenv("XDG_STATE_HOME", state_->path.c_str(), 1);
    for (const std::string& e : how.env) putenv(const_cast<char*>(e.c_str()));
    if (how.sanitized)
      setenv("LSAN_OPTIONS", "suppressions=" TARKSEN_LSAN_SUPP ":print_suppressions=0", 1);
    else
      unsetenv("LSAN_OPTIONS");
    dup2(open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644), 1);
    dup2(open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644), 2);
    std::vector<char*> argv = {const_cast<char*>(bin.c_str())};
    for (const std::string& a : how.args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(bin.c_str(), argv.data());
    _exit(127);
  }
  std::string pid = std::to_string(app_);
  for (int t = 0; t < 200 && wid_.empty() && running(); t++) {
    wid_ = Sh("DISPLAY=" + display_ + " xdotool search --onlyvisible --pid " + pid +
              " 2>/dev/null | head -n1");
    wid_.erase(wid_.find_last_not_of(" \n") + 1);
    if (wid_.empty()) sleepMs(100);
  }
  if (wid_.empty()) {
    std::string out =
        output() + errors() + " | running: " + (running() ? "yes" : "no") +
        " | windows: " + Sh("DISPLAY=" + display_ + " xwininfo -root -tree 2>&1 | head -20");
    stop();
    throw std::runtime_error("the program's window did not appear on " + display_ +
                             "; it wrote: " + out);
  }
  locate();
  // The window is black until the first frame, which a loaded machine may be slow to
  // present: wait for it, or settle() could take two black shots for a still screen.
  waitFor(
      [](const Shot& s) {
        for (uint32_t p : s.px)
          if (p) return true;
        return false;
      },
      10000);
  locate();  // a window manager places the window once it has framed it
  settle();
}

// Starts a private Xvfb on a display number that no other server holds (its lock
// file and socket absent) and waits until it answers. Starts take turns under a lock
// file, and a server that dies at once (a number taken meanwhile) is retried on the next.
void App::startServer(const std::string& screen) {
  int lock = open("/tmp/tarksen-e2e-xvfb.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  flock(lock, LOCK_EX);
  unsigned n = 300 + unsigned(getpid()) % 500;
  for (int tries = 0; tries < 50 && display_.empty(); tries++, n = 300 + (n - 299) % 500) {
    std::string num = std::to_string(n);
    if (access(("/tmp/.X" + num + "-lock").c_str(), F_OK) == 0 ||
        access(("/tmp/.X11-unix/X" + num).c_str(), F_OK) == 0)
      continue;
    xvfb_ = fork();
    if (xvfb_ == 0) {
      int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      dup2(null, 2);
      execlp("Xvfb", "Xvfb", (":" + num).c_str(), "-screen", "0", (screen + "x24").c_str(),
             "-nolisten", "tcp", "-noreset", (char*)nullptr);
      _exit(127);
    }
    for (int t = 0; t < 100; t++) {
      int st;
      if (waitpid(xvfb_, &st, WNOHANG) == xvfb_) {
        xvfb_ = -1;
        break;
      }
      if (!Sh("DISPLAY=:" + num + " xdotool getdisplaygeometry 2>/dev/null").empty()) {
        display_ = ":" + num;
        break;
      }
      sleepMs(50);
    }
    if (display_.empty() && xvfb_ > 0) {
      kill(xvfb_, SIGKILL);
      waitpid(xvfb_, nullptr, 0);
      xvfb_ = -1;
    }
  }
  flock(lock, LOCK_UN);
  close(lock);
  if (display_.empty()) throw std::runtime_error("Xvfb did not start (is it installed?)");
}

App::~App() { stop(); }

// openbox, whose frame, placement and full screen are those of a desktop. Waits until
// it has taken the screen (it names itself on the root window).
void App::startWindowManager() {
  wm_ = fork();
  if (wm_ == 0) {
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    setenv("DISPLAY", display_.c_str(), 1);
    execlp("openbox", "openbox", "--sm-disable", (char*)nullptr);
    _exit(127);
  }
  for (int t = 0; t < 100; t++) {
    if (Sh("DISPLAY=" + display_ + " xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null")
            .find("window id") != std::string::npos)
      return;
    sleepMs(50);
  }
  throw std::runtime_error("openbox did not start (is it installed?)");
}

void App::locate() {
  // xwininfo, as xdotool counts a window manager's frame twice.
  std::string geo = Sh("DISPLAY=" + display_ + " xwininfo -id " + wid_);
  const char* g = geo.c_str();
  for (auto [key, to] : {std::pair{"Absolute upper-left X:", &winX_},
                         {"Absolute upper-left Y:", &winY_},
                         {"Width:", &w_},
                         {"Height:", &h_}})
    if (const char* at = strstr(g, key)) sscanf(at + strlen(key), "%d", to);
  n_ = std::max(1, std::min(w_ / 640, h_ / 400));
  ox_ = (w_ - 640 * n_) / 2;
  oy_ = (h_ - 400 * n_) / 2;
}

void App::stop() {
  if (app_ > 0 && exitCode_ < 0 && running()) {
    kill(app_, SIGKILL);
    waitpid(app_, nullptr, 0);
    exitCode_ = 137;
  }
  if (!dir_.empty()) {
    std::string err = errors();
    if (!err.empty()) fprintf(stderr, "The program's standard error:\n%s", err.c_str());
  }
  if (wm_ > 0) {
    kill(wm_, SIGTERM);
    waitpid(wm_, nullptr, 0);
  }
  wm_ = -1;
  if (xvfb_ > 0) {
    kill(xvfb_, SIGTERM);
    waitpid(xvfb_, nullptr, 0);
  }
  xvfb_ = -1;
  work_.reset();
  state_.reset();
  dir_.clear();
}

bool App::running() {
  if (exitCode_ >= 0) return false;
  int st;
  pid_t r = waitpid(app_, &st, WNOHANG);
  if (r == app_) {
    exitCode_ = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    return false;
  }
  return true;
}

void App::signal(int sig) {
  if (running()) kill(app_, sig);
}

int App::waitExit(int ms) {
  for (int t = 0; t < ms; t += 20) {
    if (!running()) return exitCode_;
    sleepMs(20);
  }
  return running() ? -1 : exitCode_;
}

void App::xdo(const std::string& args) { onDisplay("xdotool " + args); }

std::string App::onDisplay(const std::string& cmd) {
  return Sh("export DISPLAY=" + display_ + "; " + cmd);
}

std::string App::screenAt(int x, int y) const {
  return std::to_string(winX_ + ox_ + n_ * x + n_ / 2) + " " +
         std::to_string(winY_ + oy_ + n_ * y + n_ / 2);
}

void App::sendMove(int x, int y) { xdo("mousemove " + screenAt(x, y)); }
void App::sendButton(int button, bool down) {
  xdo((down ? "mousedown " : "mouseup ") + std::to_string(button));
}
void App::sendClick(int button) { xdo("click " + std::to_string(button)); }
void App::sendKey(const std::string& keysym) { xdo("key --window " + wid_ + " " + keysym); }

void App::doubleClick(int x, int y) {
  move(x, y);
  xdo("click --repeat 2 --delay 60 1");
  sleepMs(Tempo::klik);
}

void App::clicks(const std::vector<std::pair<int, int>>& points) {
  std::string cmd;
  for (auto [x, y] : points) cmd += "mousemove " + screenAt(x, y) + " click 1 ";
  xdo(cmd);
  sleepMs(Tempo::klik);
}

void App::keys(const std::string& keysym, int times) {
  xdo("key --window " + wid_ + " --repeat " + std::to_string(times) + " --delay 20 " + keysym);
  sleepMs(Tempo::klawisz);
}

// text as one word of the shell, in single quotes.
static std::string quoted(const std::string& text) {
  std::string q = "'";
  for (char c : text) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

void App::type(const std::string& text) {
  // With the Polish layout every letter typed has a key of its own; xdotool would
  // otherwise remap a spare key for each, which the program may read after the next.
  if (!polish_) Sh("setxkbmap -display " + display_ + " pl");
  polish_ = true;
  xdo("type --window " + wid_ + " --delay 40 -- " + quoted(text));
  sleepMs(Tempo::klawisz);
}

void App::closeWindow() {
  Sh("DISPLAY=" + display_ + " '" WMCLOSE_BIN "' " + wid_);
  sleepMs(Tempo::klik);
}

Ran App::drop(int x, int y, const std::vector<std::string>& files) {
  std::string cmd = "DISPLAY=" + display_ + " '" XDNDDROP_BIN "' " + wid_ + " " + screenAt(x, y);
  for (const std::string& f : files) cmd += " " + quoted(f);
  return Shell(cmd);
}

std::string App::titleOnceItIs(const std::string& want) {
  std::string shown;
  for (int t = 0; t < 60; t++) {
    std::string out = onDisplay("xprop -id " + wid_ + " _NET_WM_NAME");
    size_t q = out.find('"');
    shown = q == std::string::npos ? out : out.substr(q + 1, out.rfind('"') - q - 1);
    if (shown == want) break;
    sleepMs(50);
  }
  return shown;
}

std::string App::grab(const std::string& out) {
  return Sh("import -display " + display_ + " -window root -crop " + std::to_string(w_) + "x" +
            std::to_string(h_) + "+" + std::to_string(winX_) + "+" + std::to_string(winY_) +
            " -depth 8 " + out + " 2>/dev/null");
}

void App::savePng(const std::string& path) { grab("'" + path + "'"); }

Shot App::shot() {
  Shot s = windowShot();
  if (n_ == 1 && s.w == 640 && s.h == 400) return s;
  if (s.w < ox_ + 640 * n_ || s.h < oy_ + 400 * n_ || ox_ < 0 || oy_ < 0) return Shot{};
  Shot p;
  p.w = 640, p.h = 400;
  p.px.resize(640 * 400);
  for (int y = 0; y < 400; y++)
    for (int x = 0; x < 640; x++) p.px[size_t(y) * 640 + x] = s.at(ox_ + n_ * x, oy_ + n_ * y);
  return p;
}

Shot App::windowShot() {
  Pnm p = ParsePnm(grab("ppm:-"), Layout::Rgb);
  return Shot{p.w, p.h, std::move(p.px)};
}

Shot Enlarged(const Shot& s, int n) {
  Shot e;
  e.w = s.w * n, e.h = s.h * n;
  e.px.resize(size_t(e.w) * e.h);
  for (int y = 0; y < e.h; y++)
    for (int x = 0; x < e.w; x++) e.px[size_t(y) * e.w + x] = s.at(x / n, y / n);
  return e;
}

std::string App::output() { return dir_.empty() ? "" : ReadText(dir_ + "/stdout.txt"); }

std::string App::errors() { return dir_.empty() ? "" : ReadText(dir_ + "/stderr.txt"); }

bool ShowsText(const Shot& s) {
  if (s.w != 640 || s.h != 400) return false;
  for (int y = 354; y < 394; y++)
    for (int x = 426; x < 636; x++)
      if (s.at(x, y) == 0x010000) return true;  // the title's text colour
  return false;
}
