#include "bench/renderer.h"

#include <cstring>
#include <vector>

#include "paint/paint.h"
#include "platform/platform.h"
#include "raster/raster.h"
#include "raster/raster_core.h"

static constexpr size_t Pixels = size_t(CanvasW) * CanvasH;

// The yardstick: one plain copy of the canvas, as fill makes for its work buffer.
static void BM_CopyCanvas(benchmark::State& state) {
  std::vector<uint32_t> src(Pixels, GEMColor[0]), dst(Pixels);
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), Pixels * 4);
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t(Pixels * 4));
}
BENCHMARK(BM_CopyCanvas);

// The span fill over the whole canvas. After the first pass the work buffer holds the
// fill colour everywhere, which is then the seed's colour, so every pass fills the
// whole canvas again.
static void BM_FillCanvas(benchmark::State& state) {
  uint8_t p = uint8_t(state.range(0));
  std::vector<uint32_t> out(Pixels, GEMColor[0]), work(out);
  for (auto _ : state) {
    FillCanvas(out.data(), work.data(), 320, 200, p, GEMColor[1], GEMColor[0]);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t(Pixels * 4));
}
BENCHMARK(BM_FillCanvas)->ArgName("pattern")->Arg(9)->Arg(0)->Arg(35);

// fill as the fill tool calls it: read-back, fill, upload, on a white canvas each time.
static void BM_FillGEMScreen(benchmark::State& state) {
  uint8_t p = uint8_t(state.range(0));
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  SDL_SetRenderDrawBlendMode(SDLRenderer, SDL_BLENDMODE_NONE);
  kolor = 1;
  for (auto _ : state) {
    SDLDrawColor(GEMColor[0]);
    SDL_RenderClear(SDLRenderer);
    fill(320, 200, p);
  }
}
BENCHMARK(BM_FillGEMScreen)->ArgName("pattern")->Arg(9)->Unit(benchmark::kMillisecond);

// The read-back alone, the part of fill that waits for the GPU.
static void BM_ReadBackGEMScreen(benchmark::State& state) {
  std::vector<uint32_t> out(Pixels);
  SDL_Rect all = {0, 0, CanvasW, CanvasH};
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  for (auto _ : state) {
    SDLDrawColor(GEMColor[0]);
    SDL_RenderClear(SDLRenderer);
    SDL_RenderReadPixels(SDLRenderer, &all, SDL_PIXELFORMAT_ABGR8888, out.data(), CanvasW * 4);
  }
}
BENCHMARK(BM_ReadBackGEMScreen)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return RunOnRenderer(argc, argv); }
