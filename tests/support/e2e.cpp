#include "tests/support/e2e.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

std::string Sh(const std::string& cmd) {
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

static void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

App::App(bool withFont) : App(Launch{"", withFont, true, "", {}}) {}

App::App(const Launch& how) {
  char tmpl[] = "/tmp/tarksen-e2e-XXXXXX";
  if (!mkdtemp(tmpl)) throw std::runtime_error("mkdtemp failed");
  dir_ = tmpl;
  if (how.withFont)
    Sh("cp '" + (how.font.empty() ? TARKSEN_FONT : how.font) + "' '" + dir_ + "/BASFont.bmp'");
  std::string bin = how.bin.empty() ? TARKSEN_BIN : how.bin;

  startServer();

  app_ = fork();
  if (app_ == 0) {
    if (chdir(dir_.c_str()) != 0) _exit(126);
    setenv("DISPLAY", display_.c_str(), 1);
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
    std::string out = output() + errors() + " | running: " + (running() ? "yes" : "no") +
                      " | windows: " +
                      Sh("DISPLAY=" + display_ + " xwininfo -root -tree 2>&1 | head -20");
    stop();
    throw std::runtime_error("the program's window did not appear on " + display_ +
                             "; it wrote: " + out);
  }
  std::string geo = Sh("DISPLAY=" + display_ + " xdotool getwindowgeometry --shell " + wid_);
  sscanf(strstr(geo.c_str(), "X="), "X=%d", &winX_);
  sscanf(strstr(geo.c_str(), "Y="), "Y=%d", &winY_);
  // The window is black until the first frame, which a loaded machine may be slow to
  // present: wait for it, or settle() could take two black shots for a still screen.
  waitFor([](const Shot& s) {
    for (uint32_t p : s.px)
      if (p) return true;
    return false;
  }, 10000);
  settle();
}

// Starts a private Xvfb on a display number that no other server holds (its lock
// file and socket absent) and waits until it answers. Starts take turns under a lock
// file, and a server that dies at once (a number taken meanwhile) is retried on the next.
void App::startServer() {
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
      execlp("Xvfb", "Xvfb", (":" + num).c_str(), "-screen", "0", "800x600x24", "-nolisten",
             "tcp", "-noreset", (char*)nullptr);
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
  if (xvfb_ > 0) {
    kill(xvfb_, SIGTERM);
    waitpid(xvfb_, nullptr, 0);
  }
  xvfb_ = -1;
  if (!dir_.empty()) Sh("rm -rf '" + dir_ + "'");
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

void App::xdo(const std::string& args) { Sh("DISPLAY=" + display_ + " xdotool " + args); }

void App::move(int x, int y) {
  xdo("mousemove " + std::to_string(winX_ + x) + " " + std::to_string(winY_ + y));
  sleepMs(30);
}

void App::click(int x, int y, int button) {
  move(x, y);
  xdo("click " + std::to_string(button));
  sleepMs(60);
}

void App::doubleClick(int x, int y) {
  move(x, y);
  xdo("click --repeat 2 --delay 60 1");
  sleepMs(60);
}

void App::clicks(const std::vector<std::pair<int, int>>& points) {
  std::string cmd;
  for (auto [x, y] : points)
    cmd += "mousemove " + std::to_string(winX_ + x) + " " + std::to_string(winY_ + y) + " click 1 ";
  xdo(cmd);
  sleepMs(60);
}

void App::press(int x, int y, int button) {
  move(x, y);
  xdo("mousedown " + std::to_string(button));
  sleepMs(40);
}

void App::release(int button) {
  xdo("mouseup " + std::to_string(button));
  sleepMs(40);
}

void App::key(const std::string& keysym, int times) {
  std::string repeat = times > 1 ? "--repeat " + std::to_string(times) + " --delay 20 " : "";
  xdo("key --window " + wid_ + " " + repeat + keysym);
  sleepMs(60);
}

void App::type(const std::string& text) {
  // With the Polish layout every letter typed has a key of its own; xdotool would
  // otherwise remap a spare key for each, which the program may read after the next.
  if (!polish_) Sh("setxkbmap -display " + display_ + " pl");
  polish_ = true;
  std::string quoted;
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  xdo("type --window " + wid_ + " --delay 40 -- '" + quoted + "'");
  sleepMs(60);
}

void App::closeWindow() {
  Sh("DISPLAY=" + display_ + " '" WMCLOSE_BIN "' " + wid_);
  sleepMs(60);
}

std::string App::grab(const std::string& out) {
  return Sh("import -display " + display_ + " -window root -crop 640x400+" +
            std::to_string(winX_) + "+" + std::to_string(winY_) + " -depth 8 " + out +
            " 2>/dev/null");
}

void App::savePng(const std::string& path) { grab("'" + path + "'"); }

Shot App::shot() {
  std::string ppm = grab("ppm:-");
  Shot s;
  int maxv = 0, off = 0;
  if (sscanf(ppm.c_str(), "P6 %d %d %d%n", &s.w, &s.h, &maxv, &off) != 3 || maxv != 255)
    return Shot{};
  off++;  // the single white space after the header
  if (ppm.size() < size_t(off) + size_t(s.w) * s.h * 3) return Shot{};
  s.px.resize(size_t(s.w) * s.h);
  const unsigned char* p = (const unsigned char*)ppm.data() + off;
  for (size_t i = 0; i < s.px.size(); i++, p += 3) s.px[i] = uint32_t(p[0]) << 16 | p[1] << 8 | p[2];
  return s;
}

Shot App::waitFor(const std::function<bool(const Shot&)>& pred, int ms) {
  Shot s;
  for (int t = 0; t <= ms; t += 50) {
    s = shot();
    if (s.w && pred(s)) return s;
    sleepMs(50);
  }
  return s;
}

Shot App::settle(int ms) {
  Shot a = shot();
  for (int t = 0; t < ms; t += 100) {
    sleepMs(100);
    Shot b = shot();
    if (a.w && b.px == a.px) return b;
    a = b;
  }
  return a;
}

std::string App::output() { return Sh("cat '" + dir_ + "/stdout.txt'"); }

std::string App::errors() { return Sh("cat '" + dir_ + "/stderr.txt' 2>/dev/null"); }

bool ShowsText(const Shot& s) {
  if (s.w != 640 || s.h != 400) return false;
  for (int y = 354; y < 394; y++)
    for (int x = 426; x < 636; x++)
      if (s.at(x, y) == 0x010000) return true;  // the title's text colour
  return false;
}
