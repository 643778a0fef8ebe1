// The block tool and the magnifier as a user drives them. A drag of 1,000 stamps of a
// 64x64 block through blok itself (each stamp its undo copy, the stamp, the frame and
// its present), reported per stamp beside one whole-canvas SDL_RenderCopy; and the
// magnifier at grid step 10 opened and closed through powieksz. Timed until the
// renderer has finished.
#include "bench/renderer.h"

#include "paint/paint.h"
#include "platform/platform.h"

static constexpr int Stamps = 1000;

// Per item, for a batch of n items an iteration.
static void perItem(benchmark::State& state, int n) {
  state.counters["per_item"] =
      benchmark::Counter(double(n), benchmark::Counter::kIsIterationInvariantRate |
                                        benchmark::Counter::kInvert);
}

// The yardstick: the whole canvas copied into the undo copy, as zapamietaj does.
static void BM_RenderCopyCanvas(benchmark::State& state) {
  for (auto _ : state) {
    for (int i = 0; i < Stamps; i++) {
      SDL_SetRenderTarget(SDLRenderer, rob_e$);
      SDL_RenderCopy(SDLRenderer, GEMScreen, nullptr, nullptr);
    }
    WaitForRenderer(GEMScreen);
  }
  perItem(state, Stamps);
}
BENCHMARK(BM_RenderCopyCanvas)->UseRealTime()->Unit(benchmark::kMillisecond);

// The undo copy as zapamietaj makes it: into rob_e$ and the target back on GEMScreen.
static void BM_Zapamietaj(benchmark::State& state) {
  for (auto _ : state) {
    for (int i = 0; i < Stamps; i++) zapamietaj();
    WaitForRenderer(GEMScreen);
  }
  perItem(state, Stamps);
}
BENCHMARK(BM_Zapamietaj)->UseRealTime()->Unit(benchmark::kMillisecond);

// 1,000 drag events with the left button held, each a stamp, in the drawing mode given.
static void BM_StampDrag(benchmark::State& state) {
  tryb = uint8_t(state.range(0));
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  SDLDrawColor(GEMColor[0]);
  SDL_RenderClear(SDLRenderer);
  SDL_SetRenderDrawBlendMode(SDLRenderer, tryb_b[tryb]);
  blok$ =
      SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET, 64, 64);
  SDL_SetRenderTarget(SDLRenderer, blok$);
  SDLDrawColor(GEMColor[2]);
  SDL_RenderClear(SDLRenderer);
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 0; i < Stamps; i++) PushDrag(i * 7 % 576, i * 3 % 336);
    PushButton(true, SDL_BUTTON_RIGHT, 0, 0);
    x = y = k = key = 0;
    state.ResumeTiming();
    blok();
    WaitForRenderer(GEMScreen);
  }
  SDL_DestroyTexture(blok$);
  blok$ = nullptr;
  perItem(state, Stamps);
}
BENCHMARK(BM_StampDrag)
    ->ArgName("mode")
    ->Arg(0)
    ->Arg(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The magnifier opened on a cell at grid step 10 and closed at once with a right press.
static void BM_OpenMagnifier(benchmark::State& state) {
  kr = 10;
  krh = krv = 80;
  tryb = 0;
  SDL_SetRenderDrawBlendMode(SDLRenderer, tryb_b[tryb]);
  for (auto _ : state) {
    state.PauseTiming();
    PushButton(true, SDL_BUTTON_RIGHT, 0, 0);
    x = 300;
    y = 200;
    k = 1;
    state.ResumeTiming();
    powieksz();
    WaitForRenderer(GEMScreen);
  }
  kr = krh = krv = 0;
}
BENCHMARK(BM_OpenMagnifier)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return RunOnRenderer(argc, argv); }
