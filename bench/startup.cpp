// Start-up time of the program against a bare SDL program that opens its window the
// same way (bench/bare_window): from the spawn until the window is mapped, and until
// its first frame (the panel, or the bare program's clear in the same colour) shows.
// Each row carries the median in ms; those of the program, and of the bare program
// drawing one rectangle and one texture (--draw), carry vs_bare: the ratio of their
// median to the bare program's (the means, which the Time column shows, follow the
// machine's other jobs more).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/scratch.h"

extern char** environ;

static Display* dpy;

static int ignoreErrors(Display*, XErrorEvent*) { return 0; }

// One X connection watching the root for windows being mapped, and a working
// directory holding the font, as a user's would.
static bool prepare() {
  if (dpy) return true;
  dpy = XOpenDisplay(nullptr);
  if (!dpy) return false;
  XSetErrorHandler(ignoreErrors);
  XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
  static Scratch work("bench");
  std::string cp = std::string("cp '" TARKSEN_SOURCE "/assets/BASFont.bmp' ") + work.path;
  return system(cp.c_str()) == 0 && chdir(work.path.c_str()) == 0;
}

// Does the window show the panel's background colour (0xAF, 0xCF, 0xAF) at (2, 2)?
static bool showsBackground(Window w) {
  XImage* img = XGetImage(dpy, w, 2, 2, 1, 1, AllPlanes, ZPixmap);
  if (!img) return false;
  unsigned long p = XGetPixel(img, 0, 0);
  XDestroyImage(img);
  return (p & 0xFFFFFF) == 0xAFCFAF;
}

// From the spawn: until the window the first frame appears in is mapped, and until
// that frame shows.
struct Times {
  double mapped, frame;
};

// Starts bin and waits for its first frame. SDL maps a first window and replaces it by
// one made for OpenGL; the mapping counted is that of the window the frame appears in.
// False if nothing showed in 10 s.
static bool startOnce(const char* bin, const char* arg, Times& t) {
  using clock = std::chrono::steady_clock;
  XSync(dpy, False);
  while (XPending(dpy)) {
    XEvent e;
    XNextEvent(dpy, &e);
  }
  clock::time_point t0 = clock::now(), mapped, end = t0 + std::chrono::seconds(10);
  pid_t pid;
  char* argv[] = {const_cast<char*>(bin), const_cast<char*>(arg), nullptr};
  if (posix_spawn(&pid, bin, nullptr, nullptr, argv, environ) != 0) return false;
  Window w = 0;
  bool shown = false;
  while (!shown && clock::now() < end) {
    while (XPending(dpy)) {
      XEvent e;
      XNextEvent(dpy, &e);
      if (e.type == MapNotify) w = e.xmap.window, mapped = clock::now();
    }
    if (w && showsBackground(w)) {
      t.mapped = std::chrono::duration<double>(mapped - t0).count();
      t.frame = std::chrono::duration<double>(clock::now() - t0).count();
      shown = true;
    } else {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return shown;
}

constexpr int kStarts = 42;  // a multiple of 3: each order as often
enum Program { BARE, BARE_DRAWN, TARKSEN };
static std::vector<Times> samples[3];

// Every benchmark below reports from one set of starts, taken once: the programs start
// in turn, each round in another order, so a change in the machine's load and whatever
// one start leaves behind for the next fall on all alike.
static bool sample() {
  static bool ok = [] {
    for (int i = 0; i < kStarts; i++)
      for (int j = 0; j < 3; j++) {
        Program p = Program((i + j) % 3);
        Times t;
        const char* bin = p == TARKSEN ? TARKSEN_BIN : BARE_BIN;
        if (!startOnce(bin, p == BARE_DRAWN ? "--draw" : nullptr, t)) return false;
        samples[p].push_back(t);
      }
    return true;
  }();
  return ok;
}

static double median(Program p, double Times::*what) {
  std::vector<double> v;
  for (const Times& t : samples[p]) v.push_back(t.*what);
  std::sort(v.begin(), v.end());
  return (v[(v.size() - 1) / 2] + v[v.size() / 2]) / 2;
}

static void StartUp(benchmark::State& state, Program p, double Times::*what) {
  if (!prepare()) {
    state.SkipWithError("no X display (run under xvfb-run) or no working directory");
    return;
  }
  if (!sample()) {
    state.SkipWithError("a window did not show its first frame");
    return;
  }
  size_t i = 0;
  for (auto _ : state) state.SetIterationTime(samples[p][i++ % samples[p].size()].*what);
  state.counters["median_ms"] = 1000 * median(p, what);
  if (p != BARE) state.counters["vs_bare"] = median(p, what) / median(BARE, what);
}

// The rows in the order they are reported: each program's mapping, then its first frame.
static const struct {
  const char* name;
  Program program;
  double Times::*what;
} rows[] = {
    {"StartUp/bare_sdl_mapped", BARE, &Times::mapped},
    {"StartUp/bare_sdl_drawn_mapped", BARE_DRAWN, &Times::mapped},
    {"StartUp/tarksen_mapped", TARKSEN, &Times::mapped},
    {"StartUp/bare_sdl_first_frame", BARE, &Times::frame},
    {"StartUp/bare_sdl_drawn_first_frame", BARE_DRAWN, &Times::frame},
    {"StartUp/tarksen_first_frame", TARKSEN, &Times::frame},
};

int main(int argc, char** argv) {
  for (const auto& r : rows)
    benchmark::RegisterBenchmark(r.name, StartUp, r.program, r.what)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(kStarts);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
