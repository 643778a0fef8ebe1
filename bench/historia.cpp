// The picture's history beside today's code path, in one run: each benchmark runs with
// the history at its default budget (history:1) and without it (history:0, a budget of
// 0: every hook of the drawing loop returns at once, as if it were not there). Actions
// go through the drawing loop itself, from events queued beforehand, and are timed
// until their step is stored and the renderer has finished. First the memory the
// history keeps, as the resident set (RSS) the process gains.
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/renderer.h"
#include "paint/paint.h"
#include "platform/platform.h"
#include "raster/raster.h"

// A left click at (px, py): a step of its own.
static void pushClick(int px, int py) {
  PushButton(true, SDL_BUTTON_LEFT, px, py);
  PushButton(false, SDL_BUTTON_LEFT, px, py);
}
// The drawing loop over what is queued and a right press that ends it; then the open
// step stored, as leaving the drawing screen stores it.
static void draw() {
  PushButton(true, SDL_BUTTON_RIGHT, 5, 5);
  x = y = k = key = 0;
  pracownia();
  krok_zamknij();
}

// history:1, the default budget; history:0, none.
static void history(benchmark::State& state) {
  historia_mb = state.range(0) ? 256 : 0;
  zapomnij();
}

// A white picture on the drawing screen, drawn on in black in "Wymiana".
static void white() {
  for (SDL_Texture* t : {rob_e$, GEMScreen}) {
    SDL_SetRenderTarget(SDLRenderer, t);
    SDL_SetRenderDrawBlendMode(SDLRenderer, SDL_BLENDMODE_NONE);
    SDLDrawColor(GEMColor[0]);
    SDL_RenderClear(SDLRenderer);
  }
  kolor = 1;
  tryb = 0;
  SDLDrawColor(GEMColor[kolor]);
}

// A few actions of the tool before a measurement, without the history: the renderer's
// first use of its drawing code costs memory once, and is not the history's.
static void warmUp() {
  uint32_t mb = historia_mb;
  historia_mb = 0;
  white();
  for (int i = 0; i < 3; i++) pushClick(320, 200 + i);
  draw();
  historia_mb = mb;
}

// The resident set, after giving the system back what the allocator holds free: so
// that memory freed by an earlier benchmark and used again is not missed.
static double residentMB() {
  malloc_trim(0);
  long pages = 0;
  FILE* f = fopen("/proc/self/statm", "r");
  long size = 0;
  if (!f || fscanf(f, "%ld %ld", &size, &pages) != 2) pages = 0;
  if (f) fclose(f);
  return double(pages) * double(sysconf(_SC_PAGESIZE)) / 1e6;
}

// 1,000 single points, each a click of its own at its own place: 1,000 steps of one
// pixel. The counter is the RSS the process gained, in MB.
static void BM_Memory_1000Points(benchmark::State& state) {
  history(state);
  co = 0;
  for (auto _ : state) {
    warmUp();
    white();
    double before = residentMB();
    for (int i = 0; i < 1000; i++) pushClick(10 + i % 600, 10 + 3 * (i / 600));
    draw();
    WaitForRenderer(GEMScreen);
    state.counters["added_MB"] = residentMB() - before;
  }
  zapomnij();
}
BENCHMARK(BM_Memory_1000Points)->ArgName("history")->Arg(0)->Arg(1)->Iterations(1);

// 100 fills of the whole picture in two colours in turn: 100 steps of the whole
// picture. Its floor: the 100 x 640 x 400 pixels themselves, 102.4 MB.
static void BM_Memory_100Fills(benchmark::State& state) {
  history(state);
  co = 11;
  for (auto _ : state) {
    warmUp();
    white();
    double before = residentMB();
    for (int i = 0; i < 100; i++) {
      kolor = uint8_t(2 + i % 2);
      pushClick(320, 200);
      draw();
    }
    WaitForRenderer(GEMScreen);
    state.counters["added_MB"] = residentMB() - before;
    state.counters["floor_MB"] = 100 * 640 * 400 * 4 / 1e6;
  }
  zapomnij();
}
BENCHMARK(BM_Memory_100Fills)->ArgName("history")->Arg(0)->Arg(1)->Iterations(1);

static void perItem(benchmark::State& state, int n) {
  state.counters["per_item"] =
      benchmark::Counter(double(n), benchmark::Counter::kIsIterationInvariantRate |
                                        benchmark::Counter::kInvert);
}

// With the history and without, five times each, in one random order (see main), the
// medians reported: the machine's other work then weighs on both alike. The CPU time is
// the whole process's, the renderer's threads included, which other jobs on the machine
// change far less than the wall time.
static void Beside(benchmark::internal::Benchmark* b) {
  b->ArgName("history")->Arg(0)->Arg(1)->MeasureProcessCPUTime()->UseRealTime();
  b->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

static constexpr int Drag = 1000;

// A drag with the tool co: the press and 999 drag events, each an action with its undo
// copy; with the history one step, whose box is nearly the whole picture.
static void drag(benchmark::State& state, uint8_t tool) {
  history(state);
  co = tool;
  for (auto _ : state) {
    state.PauseTiming();
    zapomnij();
    white();
    PushButton(true, SDL_BUTTON_LEFT, 0, 0);
    for (int i = 1; i < Drag; i++) PushDrag(i * 7 % 576, i * 3 % 336);
    WaitForRenderer(GEMScreen);
    state.ResumeTiming();
    draw();
    WaitForRenderer(GEMScreen);
  }
  perItem(state, Drag);
}

// A drag of 1,000 stamps of a 64x64 block.
static void BM_StampDrag(benchmark::State& state) {
  blok$ =
      SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET, 64, 64);
  SDL_SetRenderTarget(SDLRenderer, blok$);
  SDLDrawColor(GEMColor[2]);
  SDL_RenderClear(SDLRenderer);
  drag(state, 10);
  SDL_DestroyTexture(blok$);
  blok$ = nullptr;
}
BENCHMARK(BM_StampDrag)->Apply(Beside);

// A drag of 1,000 points with "Punkt", each shown as it is drawn.
static void BM_PointDrag(benchmark::State& state) { drag(state, 0); }
BENCHMARK(BM_PointDrag)->Apply(Beside);

// 100 clicks of "Punkt", each a step of its own, stored when the next one starts.
static void BM_PointClicks(benchmark::State& state) {
  history(state);
  co = 0;
  for (auto _ : state) {
    state.PauseTiming();
    zapomnij();
    white();
    for (int i = 0; i < 100; i++) pushClick(10 + 5 * i, 10 + 3 * i);
    WaitForRenderer(GEMScreen);
    state.ResumeTiming();
    draw();
    WaitForRenderer(GEMScreen);
  }
  perItem(state, 100);
}
BENCHMARK(BM_PointClicks)->Apply(Beside);

// One fill of the whole picture, in two colours in turn: with the history a step of
// the whole picture each time, the oldest dropped once the budget is full.
static void BM_FillClick(benchmark::State& state) {
  history(state);
  co = 11;
  white();
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    kolor = uint8_t(2 + i++ % 2);
    pushClick(320, 200);
    WaitForRenderer(GEMScreen);
    state.ResumeTiming();
    draw();
    WaitForRenderer(GEMScreen);
  }
  zapomnij();
}
BENCHMARK(BM_FillClick)->Apply(Beside);

int main(int argc, char** argv) {
  // Every action of the drawing loop presents a frame; with the display's refresh each
  // would wait for it, and the waits, not the work, would be measured.
  setenv("SDL_RENDER_VSYNC", "0", 1);
  // The repetitions of every benchmark in one random order, unless the line says else.
  static char interleave[] = "--benchmark_enable_random_interleaving=true";
  std::vector<char*> args(argv, argv + argc);
  args.insert(args.begin() + 1, interleave);
  args.push_back(nullptr);
  return RunOnRenderer(argc + 1, args.data());
}
