// Start-up time of the program against a bare SDL program that opens its window the
// same way (bench/bare_window): from the spawn until the window is mapped, and until
// its first frame (the panel, or the bare program's clear in the same colour) shows.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

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
  char dir[] = "/tmp/tarksen-bench-XXXXXX";
  if (!mkdtemp(dir)) return false;
  std::string cp = std::string("cp '" TARKSEN_SOURCE "/assets/BASFont.bmp' ") + dir;
  return system(cp.c_str()) == 0 && chdir(dir) == 0;
}

// Does the window show the panel's background colour (0xAF, 0xCF, 0xAF) at (2, 2)?
static bool showsBackground(Window w) {
  XImage* img = XGetImage(dpy, w, 2, 2, 1, 1, AllPlanes, ZPixmap);
  if (!img) return false;
  unsigned long p = XGetPixel(img, 0, 0);
  XDestroyImage(img);
  return (p & 0xFFFFFF) == 0xAFCFAF;
}

enum Until { MAPPED, FIRST_FRAME };

// Starts bin and waits for its first frame. SDL maps a first window and replaces it by
// one made for OpenGL; the mapping counted is that of the window the frame appears in.
// Returns the seconds until that mapping or that frame, or -1 if nothing showed in 10 s.
static double startOnce(const char* bin, Until until) {
  using clock = std::chrono::steady_clock;
  XSync(dpy, False);
  while (XPending(dpy)) {
    XEvent e;
    XNextEvent(dpy, &e);
  }
  clock::time_point t0 = clock::now(), mapped, end = t0 + std::chrono::seconds(10);
  pid_t pid;
  char* argv[] = {const_cast<char*>(bin), nullptr};
  if (posix_spawn(&pid, bin, nullptr, nullptr, argv, environ) != 0) return -1;
  Window w = 0;
  double result = -1;
  while (clock::now() < end) {
    while (XPending(dpy)) {
      XEvent e;
      XNextEvent(dpy, &e);
      if (e.type == MapNotify) w = e.xmap.window, mapped = clock::now();
    }
    if (w && showsBackground(w)) {
      clock::time_point t = until == MAPPED ? mapped : clock::now();
      result = std::chrono::duration<double>(t - t0).count();
      break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  return result;
}

static void StartUp(benchmark::State& state, const char* bin, Until until) {
  if (!prepare()) {
    state.SkipWithError("no X display (run under xvfb-run) or no working directory");
    return;
  }
  for (auto _ : state) {
    double t = startOnce(bin, until);
    if (t < 0) {
      state.SkipWithError("the window did not show its first frame");
      return;
    }
    state.SetIterationTime(t);
  }
}

BENCHMARK_CAPTURE(StartUp, bare_sdl_mapped, BARE_BIN, MAPPED)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);
BENCHMARK_CAPTURE(StartUp, tarksen_mapped, TARKSEN_BIN, MAPPED)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);
BENCHMARK_CAPTURE(StartUp, bare_sdl_first_frame, BARE_BIN, FIRST_FRAME)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);
BENCHMARK_CAPTURE(StartUp, tarksen_first_frame, TARKSEN_BIN, FIRST_FRAME)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);

BENCHMARK_MAIN();
