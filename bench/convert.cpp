// Converting 1,000 PI1 pictures to PNG: tarksen-convert in one call (on all cores, and
// held to one core with taskset), beside netpbm's pi1toppm | pnmtopng run the usual
// way, one pipeline per file (and, for comparison, as many pipelines at once as there
// are cores). Wall time, since the work happens in child processes. Afterwards every
// pair of outputs is checked to hold the same pixels.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <string>

#include "tests/picfiles/picmake.h"
#include "tests/picfiles/stmake.h"
#include "tests/support/scratch.h"

static const int Files = 1000;
static std::string dir;

// Processor time (user and system) of the finished child processes, in seconds.
static double childCpu() {
  struct rusage u;
  getrusage(RUSAGE_CHILDREN, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Times cmd over the 1,000 files; cpu_ms_per_file is the processor time its
// processes took, per file.
static void run(benchmark::State& state, const std::string& cmd) {
  double cpu = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (std::system(("rm -rf '" + dir + "/out' && mkdir '" + dir + "/out'").c_str()) != 0)
      state.SkipWithError("cannot make the output directory");
    double before = childCpu();
    state.ResumeTiming();
    if (std::system(("cd '" + dir + "' && " + cmd).c_str()) != 0) state.SkipWithError(cmd.c_str());
    state.PauseTiming();
    cpu += childCpu() - before;
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * Files);
  state.counters["cpu_ms_per_file"] = 1000 * cpu / double(state.iterations() * Files);
}

static const std::string Ours = "'" TARKSEN_CONVERT_BIN "' -f png -o out in/*.PI1 2>/dev/null";

static void TarksenConvert(benchmark::State& state) { run(state, Ours); }
BENCHMARK(TarksenConvert)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

static void TarksenConvertOneCore(benchmark::State& state) { run(state, "taskset -c 0 " + Ours); }
BENCHMARK(TarksenConvertOneCore)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

static const std::string Pipeline =
    "pi1toppm \"$f\" 2>/dev/null | pnmtopng > out/$(basename \"$f\" .PI1).png";

static void NetpbmPipelines(benchmark::State& state) {
  run(state, "for f in in/*.PI1; do " + Pipeline + "; done");
}
BENCHMARK(NetpbmPipelines)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

static void NetpbmPipelinesAllCores(benchmark::State& state) {
  run(state, "ls in/*.PI1 | xargs -P \"$(nproc)\" -I{} sh -c 'f={}; " + Pipeline + "'");
}
BENCHMARK(NetpbmPipelinesAllCores)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

int main(int argc, char** argv) {
  Scratch work("bench-convert");
  dir = work.path;
  if (std::system(("mkdir '" + dir + "/in'").c_str()) != 0) return 1;
  // Pictures with runs and single pixels in 16 random ST colours, as drawings have.
  std::mt19937 rng(1);
  for (int i = 0; i < Files; i++) {
    char name[40];
    snprintf(name, sizeof name, "/in/p%04d.PI1", i);
    std::vector<uint8_t> body = PlanesOf(RandomValues(rng, 320, 200, 16), 320, 200, 4);
    if (!WriteBytes(dir + name, DegasOf(0, RandomStWords(rng, 16), body))) return 1;
  }

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  // The same pixels from both: each pair of PNGs read back by netpbm.
  std::string check =
      "cd '" + dir + "' && rm -rf out ours && mkdir out && " + Ours +
      " && mv out ours && mkdir out && for f in in/*.PI1; do " + Pipeline +
      "; done && n=0 && for f in ours/*.png; do pngtopam \"$f\" > a.pnm && "
      "pngtopam out/${f#ours/} > b.pnm && cmp -s a.pnm b.pnm && n=$((n+1)); done; "
      "echo \"Same pixels from both: $n of " +
      std::to_string(Files) +
      " files\"; "
      "echo \"PNG bytes: ours $(cat ours/*.png | wc -c), netpbm's $(cat out/*.png | wc -c)\"; "
      "[ $n = " +
      std::to_string(Files) + " ]";
  return std::system(check.c_str()) == 0 ? 0 : 1;
}
