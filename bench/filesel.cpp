// The file selector on a directory of 999 files (1,000 listed entries would raise the
// "MAX FILES REACHED" alert by design): listing and sorting it, and opening the dialog
// on it up to its first presented frame, each beside `ls -f` on the same directory.
#include "filesel/filesel.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/renderer.h"
#include "paint/paint.h"
#include "platform/platform.h"
#include "tests/support/scratch.h"

extern char** environ;

static const int Files = 999;
static std::string dir;

using Clock = std::chrono::steady_clock;
// This program links with SDL_RenderPresent wrapped: the end of the first present
// after a reset is noted.
static Clock::time_point firstPresent;
static bool presented;
extern "C" void __real_SDL_RenderPresent(SDL_Renderer* r);
extern "C" void __wrap_SDL_RenderPresent(SDL_Renderer* r) {
  __real_SDL_RenderPresent(r);
  if (!presented) firstPresent = Clock::now(), presented = true;
}

// Names of mixed lengths and cases, created in an order other than their sorted one.
static bool makeDirectory() {
  for (int i = 0; i < Files; i++) {
    int k = (i * 7919) % Files;
    char name[64];
    snprintf(name, sizeof name, "%s/%s%d.%s", dir.c_str(), k % 3 ? "obraz" : "Rys", k,
             k % 2 ? "PI1" : "bmp");
    int fd = open(name, O_WRONLY | O_CREAT, 0644);
    if (fd < 0) return false;
    close(fd);
  }
  return true;
}

static void BM_LsF(benchmark::State& state) {
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
  char* argv[] = {const_cast<char*>("ls"), const_cast<char*>("-f"), &dir[0], nullptr};
  for (auto _ : state) {
    pid_t pid;
    if (posix_spawnp(&pid, "ls", &fa, nullptr, argv, environ) != 0) {
      state.SkipWithError("cannot run ls");
      break;
    }
    int status;
    waitpid(pid, &status, 0);
  }
  posix_spawn_file_actions_destroy(&fa);
}
BENCHMARK(BM_LsF)->Unit(benchmark::kMillisecond);

static void BM_DIRarray(benchmark::State& state) {
  std::vector<char> entries(256 * (size_t)DIRMaxEntries);
  char path[256];
  int32_t n = 0;
  for (auto _ : state) {
    snprintf(path, sizeof path, "%s", dir.c_str());
    n = DIRarray(path, "", entries.data());
    benchmark::DoNotOptimize(entries.data());
  }
  if (n != Files) state.SkipWithError("wrong number of entries");
}
BENCHMARK(BM_DIRarray)->Unit(benchmark::kMillisecond);

// From the call until the dialog's first frame is presented; a queued quit request
// then ends it.
static void BM_OpenFileSelector(benchmark::State& state) {
  char name[256];
  for (auto _ : state) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    strcpy(name, ".PI1");
    presented = false;
    Clock::time_point start = Clock::now();
    GEMFileSelector("Ładowanie", dir.c_str(), "", name);
    Quit = 0;
    if (!presented) {
      state.SkipWithError("nothing presented");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(firstPresent - start).count());
  }
}
BENCHMARK(BM_OpenFileSelector)->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Scratch work("bench-dir");
  dir = work.path;
  if (!makeDirectory()) {
    fprintf(stderr, "cannot make the directory\n");
    return 1;
  }
  StartRenderer();
  SDL_SetRenderDrawBlendMode(SDLRenderer, SDL_BLENDMODE_NONE);
  benchmark::RunSpecifiedBenchmarks();
  sprzataj();
  benchmark::Shutdown();
  return 0;
}
