// Loading a PI1 picture end to end (open and read the file, decode, stretch, one upload
// into rob_e$), against drawing the same 256,000 pixels of the stretched picture one at
// a time with SDL_RenderDrawPoint. Both are timed until the renderer has finished.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "bench/renderer.h"
#include "paint/paint.h"
#include "picfiles/pic_core.h"
#include "picfiles/picfiles.h"
#include "platform/platform.h"
#include "tests/picfiles/picmake.h"
#include "tests/support/scratch.h"

static std::string pi1Path;

static void LoadPIC_PI1(benchmark::State& state) {
  for (auto _ : state) {
    LoadPIC(pi1Path.c_str(), 4);
    WaitForRenderer(rob_e$);
  }
  state.SetItemsProcessed(state.iterations() * PicW * PicH);
}
BENCHMARK(LoadPIC_PI1)->Unit(benchmark::kMillisecond);

static void RenderDrawPoint_256000(benchmark::State& state) {
  std::vector<uint8_t> file = ReadBytes(pi1Path);
  PicImage img;
  std::vector<uint32_t> px;
  if (!PicLoad(file.data(), file.size(), 4, GEMColor, img)) state.SkipWithError("no PI1 file");
  PicStretch(img, px);
  SDL_SetRenderDrawBlendMode(SDLRenderer, SDL_BLENDMODE_NONE);
  for (auto _ : state) {
    SDL_SetRenderTarget(SDLRenderer, rob_e$);
    for (int y = 0; y < PicH; y++)
      for (int x = 0; x < PicW; x++) {
        SDLDrawColor(px[size_t(y) * PicW + x]);
        SDL_RenderDrawPoint(SDLRenderer, x, y);
      }
    WaitForRenderer(rob_e$);
  }
  state.SetItemsProcessed(state.iterations() * PicW * PicH);
}
BENCHMARK(RenderDrawPoint_256000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  StartRenderer();
  Scratch work("bench");
  pi1Path = work / "bench.PI1";
  if (!WriteBytes(pi1Path, Degas(PlanesOf(Pattern(320, 200, 4), 320, 200, 4)))) return 1;
  return RunBenchmarks(argc, argv);
}
