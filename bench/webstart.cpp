// Start-up of the browser version in Chromium and Firefox against the bare SDL program
// (bench/bare_window) built and paged the same way (make web, web/web.cmake), drawing
// nothing and drawing once (--draw): from the navigation until an animation frame
// shows the program's first frame, timed by bench/web/firstframe.mjs. Cold is a first visit (a
// fresh profile), warm a later one (a reload once the paint program's offline copy is stored).
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

static FILE *to, *from;
static pid_t script = -1;

// Starts the timing script once; false if it could not start (make web-bench first).
static bool prepare() {
  if (from) return true;
  signal(SIGPIPE, SIG_IGN);
  int in[2], out[2];
  if (pipe(in) != 0 || pipe(out) != 0) return false;
  script = fork();
  if (script == 0) {
    dup2(in[0], 0);
    dup2(out[1], 1);
    for (int fd : {in[0], in[1], out[0], out[1]}) close(fd);
    const char* web = getenv("TARKSEN_WEB_BUILD");  // another build's tree, to compare
    std::string build = web && *web ? web : WEB_BUILD;
    execlp("node", "node", TARKSEN_SOURCE "/bench/web/firstframe.mjs", (build + "/site").c_str(),
           (build + "/bare").c_str(), (build + "/bare-draw").c_str(), (char*)nullptr);
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  to = fdopen(in[1], "w");
  from = fdopen(out[0], "r");
  char line[64];
  return fgets(line, sizeof line, from) && std::string(line) == "ok\n";
}

// The milliseconds of one start, or a negative number if it failed.
static double startOnce(const char* how, const char* program, const char* browser) {
  fprintf(to, "%s %s %s\n", how, program, browser);
  fflush(to);
  char line[256];
  double ms;
  if (!fgets(line, sizeof line, from) || sscanf(line, "ok %lf", &ms) != 1) return -1;
  return ms;
}

// One iteration is a start of each program, each iteration in another order, so that
// all meet the same load on a busy machine. Its time is the paint program's; beside it
// the bare programs' means and the paint program's ratio to each.
static void BM_FirstFrame(benchmark::State& state, const char* how, const char* browser) {
  if (!prepare()) {
    state.SkipWithError("cannot start bench/web/firstframe.mjs (make web-bench)");
    return;
  }
  static const char* const programs[3] = {"site", "bare", "draw"};
  double sum[3] = {0, 0, 0};
  int n = 0;
  for (auto _ : state) {
    double ms[3];
    for (int k = 0; k < 3; k++) {
      int which = (n + (n / 3 % 2 ? 2 * k : k)) % 3;  // the six orders in turn
      ms[which] = startOnce(how, programs[which], browser);
      if (ms[which] < 0) {
        state.SkipWithError("no first frame");
        return;
      }
    }
    state.SetIterationTime(ms[0] / 1000);
    for (int k = 0; k < 3; k++) sum[k] += ms[k];
    n++;
  }
  state.counters["bare_ms"] = sum[1] / n;
  state.counters["draw_ms"] = sum[2] / n;
  state.counters["ratio"] = sum[0] / sum[1];
  state.counters["ratio_draw"] = sum[0] / sum[2];
}

#define FIRST_FRAME(name, how, browser)                \
  BENCHMARK_CAPTURE(BM_FirstFrame, name, how, browser) \
      ->UseManualTime()                                \
      ->Unit(benchmark::kMillisecond)                  \
      ->Iterations(6)                                  \
      ->Repetitions(3)                                 \
      ->ReportAggregatesOnly(true)
FIRST_FRAME(chromium_cold, "cold", "chromium");
FIRST_FRAME(chromium_warm, "warm", "chromium");
FIRST_FRAME(firefox_cold, "cold", "firefox");
FIRST_FRAME(firefox_warm, "warm", "firefox");

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (to) fclose(to);  // the script closes its browser at the end of its input
  if (script > 0) waitpid(script, nullptr, 0);
  return 0;
}
