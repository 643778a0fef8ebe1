#include "tests/web/browser.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

static void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

Browser::Browser(const std::string& name, const std::string& storage) : Driver(10000), name_(name) {
  signal(SIGPIPE, SIG_IGN);  // a driver that died is reported by ask, not by a signal
  int in[2], out[2];
  if (pipe(in) != 0 || pipe(out) != 0) throw std::runtime_error("pipe failed");
  driver_ = fork();
  if (driver_ == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    for (int fd : {in[0], in[1], out[0], out[1]}) close(fd);
    execlp("node", "node", TARKSEN_WEB_DRIVER, TARKSEN_WEB_SITE, name.c_str(), storage.c_str(),
           (char*)nullptr);
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  to_ = fdopen(in[1], "w");
  from_ = fdopen(out[0], "r");
  ask("");  // the driver's first line, once the program runs
  settle();
}

Browser::~Browser() {
  if (to_) fclose(to_);  // the driver ends at the end of its input
  for (int t = 0; t < 100 && driver_ > 0; t++) {
    if (waitpid(driver_, nullptr, WNOHANG) == driver_)
      driver_ = -1;
    else
      sleepMs(50);
  }
  if (driver_ > 0) {
    kill(driver_, SIGKILL);
    waitpid(driver_, nullptr, 0);
  }
  if (from_) fclose(from_);
}

std::string Browser::ask(const std::string& command) {
  if (!command.empty()) {
    fprintf(to_, "%s\n", command.c_str());
    fflush(to_);
  }
  std::string line;
  int c;
  while ((c = fgetc(from_)) != EOF && c != '\n') line += char(c);
  if (line.rfind("ok", 0) == 0) return line.size() > 3 ? line.substr(3) : "";
  throw std::runtime_error("browser driver, '" + command +
                           "': " + (line.empty() ? "ended (see its messages above)" : line));
}

void Browser::sendMove(int x, int y) { ask("move " + std::to_string(x) + " " + std::to_string(y)); }
void Browser::sendButton(int button, bool down) {
  ask((down ? "down " : "up ") + std::to_string(button));
}
void Browser::sendKey(const std::string& keysym) { ask("key " + keysym); }

void Browser::touch(const std::vector<std::pair<int, int>>& fingers) {
  std::string command = "touch";
  for (auto [x, y] : fingers) command += " " + std::to_string(x) + " " + std::to_string(y);
  ask(command);
  sleepMs(30);
}

Shot Browser::shot() {
  std::string path = dir_ / "shot.rgb";
  Shot s;
  if (sscanf(ask("shot " + path).c_str(), "%d %d", &s.w, &s.h) != 2) return Shot{};
  std::string rgb = ReadText(path);
  if (rgb.size() != size_t(s.w) * s.h * 3) return Shot{};
  s.px.resize(size_t(s.w) * s.h);
  const unsigned char* p = (const unsigned char*)rgb.data();
  for (size_t i = 0; i < s.px.size(); i++, p += 3)
    s.px[i] = uint32_t(p[0]) << 16 | p[1] << 8 | p[2];
  return s;
}

void Browser::open(const std::string& path) { ask("open " + path); }

std::string Browser::download(const std::string& name, bool enter) {
  std::string path = dir_ / "download";
  ask("download " + name + " " + path + (enter ? " enter" : ""));
  return ReadText(path);
}

void Browser::remove(const std::string& name) { ask("delete " + name); }
void Browser::confirm() { ask("confirm"); }
void Browser::viewport(int w, int h) {
  ask("viewport " + std::to_string(w) + " " + std::to_string(h));
}
void Browser::xkey(const std::string& keysym) { ask("xkey " + keysym); }

std::string Browser::files() { return ask("files"); }
std::string Browser::state() { return ask("state"); }
std::string Browser::errors() { return ask("errors"); }

void Browser::reload() {
  ask("reload");
  settle();
}

void Browser::reloadBy(const std::string& id) {
  ask("reloadby " + id);
  settle();
}

void Browser::tab(int n) {
  ask("tab " + std::to_string(n));
  settle();
}

void Browser::closeTab() { ask("close"); }

void Browser::clickPage(const std::string& id) {
  ask("pageclick " + id);
  sleepMs(60);
}

std::string Browser::eval(const std::string& expression) {
  std::string line = expression;  // one command a line
  std::replace(line.begin(), line.end(), '\n', ' ');
  return ask("eval " + line);
}

std::string Browser::installable() { return ask("installable"); }

void Browser::serve(const std::string& folder) {
  ask(folder.empty() ? "serve" : "serve " + folder);
}
