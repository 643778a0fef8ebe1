// The recovery copy: what one copy costs the main thread (zapas_pora handing on a copy
// of a changed picture) beside its floor, the one read-back of the picture it cannot
// do without; what the writer's thread spends on it (compress and write); and one
// frame of a rubber-band drag (the picture onto the window, a thin line, the present)
// while the writer compresses and writes copies beside it, and without. The state
// directory is a scratch one; presents do not wait for the display.
#include <cstdlib>

#include "bench/renderer.h"
#include "tests/support/scratch.h"

// A picture of the program's kind: white, a few hundred black lines, some colour.
static void picture() {
  SDL_SetRenderTarget(SDLRenderer, rob_e$);
  SDLDrawColor(GEMColor[0]);
  SDL_RenderClear(SDLRenderer);
  for (int i = 0; i < 300; i++) {
    SDLDrawColor(GEMColor[1 + i % 15]);
    SDL_RenderDrawLine(SDLRenderer, (i * 37) % 640, (i * 11) % 400, (i * 53) % 640, 399);
  }
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  SDL_RenderCopy(SDLRenderer, rob_e$, nullptr, nullptr);
  obraz$ = GEMScreen;
}

static void BM_ReadBackFloor(benchmark::State& state) {
  std::vector<uint32_t> px;
  for (auto _ : state) czytaj(GEMScreen, {0, 0, 640, 400}, px);
}

// A new version each time and the period of 1 ms passed: every call hands on a copy.
static void BM_CopyMainThread(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    wersja++;
    SDL_Delay(1);
    state.ResumeTiming();
    zapas_pora();
  }
  zapas_czekaj();
}

static void BM_WriterJob(benchmark::State& state) {
  ZapasZlecenie z;
  z.zapisz = true;
  czytaj(GEMScreen, {0, 0, 640, 400}, z.obraz);
  z.blok = 0;
  for (auto _ : state) zapas_wykonaj(z);
}

// Frames of a drag; with copies, the writer has one to do all the while.
static void BM_RubberBandFrame(benchmark::State& state) {
  const bool copies = state.range(0) != 0;
  ZapasZlecenie z;
  z.zapisz = true;
  czytaj(GEMScreen, {0, 0, 640, 400}, z.obraz);
  z.blok = 0;
  SDLDrawColor(GEMColor[1]);
  int i = 0;
  for (auto _ : state) {
    if (copies) {
      state.PauseTiming();
      ZapasZlecenie next = z;
      zapas_zlec(std::move(next));
      state.ResumeTiming();
    }
    RubberBandFrame(i++);
  }
  zapas_czekaj();
}

BENCHMARK(BM_ReadBackFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyMainThread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriterJob)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RubberBandFrame)->ArgName("copying")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  setenv("SDL_RENDER_VSYNC", "0", 1);
  Scratch state("bench-state");
  setenv("XDG_STATE_HOME", state.path.c_str(), 1);
  StartRenderer();
  zapas_start(1);
  picture();
  int r = RunBenchmarks(argc, argv);
  zapas_koniec(false);
  return r;
}
