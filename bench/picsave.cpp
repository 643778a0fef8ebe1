// Saving and loading the 640x400 picture end to end, each beside the floor SDL sets for
// the same file in the same run: the BMP save (one read-back of rob_e$, the file made
// in memory, written beside the target, flushed and renamed) against SDL_SaveBMP of a
// surface made beforehand; the BMP load onto the picture (read, converted, stretched,
// one upload, waited for) against SDL_LoadBMP alone; the Doodle save against the same
// bytes written in place with fopen.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/renderer.h"
#include "paint/paint.h"
#include "picfiles/pic_core.h"
#include "picfiles/picfiles.h"
#include "platform/platform.h"
#include "tests/picfiles/picmake.h"
#include "tests/support/scratch.h"

static std::string dir;

static void SaveBMP_Picture(benchmark::State& state) {
  std::string path = dir + "/save.bmp";
  for (auto _ : state) {
    SDL_SetRenderTarget(SDLRenderer, rob_e$);
    if (SaveSurface(0, 0, PicW, PicH, path.c_str()) != 0) state.SkipWithError(SDL_GetError());
  }
}
BENCHMARK(SaveBMP_Picture)->Unit(benchmark::kMillisecond);

static void SDL_SaveBMP_ReadySurface(benchmark::State& state) {
  std::string path = dir + "/floor.bmp";
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, PicW, PicH, 32, SDL_PIXELFORMAT_XBGR8888);
  SDL_SetRenderTarget(SDLRenderer, rob_e$);
  SDL_RenderReadPixels(SDLRenderer, nullptr, SDL_PIXELFORMAT_ABGR8888, s->pixels, s->pitch);
  for (auto _ : state)
    if (SDL_SaveBMP(s, path.c_str()) != 0) state.SkipWithError(SDL_GetError());
  SDL_FreeSurface(s);
}
BENCHMARK(SDL_SaveBMP_ReadySurface)->Unit(benchmark::kMillisecond);

static void LoadBMP_Picture(benchmark::State& state) {
  std::string path = dir + "/picture.bmp";
  for (auto _ : state) {
    LoadBMP(path.c_str(), 1);
    WaitForRenderer(rob_e$);
  }
}
BENCHMARK(LoadBMP_Picture)->Unit(benchmark::kMillisecond);

static void SDL_LoadBMP_Alone(benchmark::State& state) {
  std::string path = dir + "/picture.bmp";
  for (auto _ : state) {
    SDL_Surface* s = SDL_LoadBMP(path.c_str());
    if (!s) state.SkipWithError(SDL_GetError());
    SDL_FreeSurface(s);
  }
}
BENCHMARK(SDL_LoadBMP_Alone)->Unit(benchmark::kMillisecond);

static void SaveDoodle_Picture(benchmark::State& state) {
  std::string path = dir + "/save.PIC";
  for (auto _ : state) {
    SDL_SetRenderTarget(SDLRenderer, rob_e$);
    if (SaveDoodle(path.c_str()) != 0) state.SkipWithError("cannot write");
  }
}
BENCHMARK(SaveDoodle_Picture)->Unit(benchmark::kMillisecond);

// The Doodle's floor: the same read-back and encoding, written with fopen and fwrite
// straight over the old file, neither flushed to the disk nor renamed.
static void Doodle_PlainWrite(benchmark::State& state) {
  std::string path = dir + "/plain.PIC";
  std::vector<uint8_t> rgba(size_t(PicW) * PicH * 4);
  uint8_t body[PicBodyBytes];
  for (auto _ : state) {
    SDL_SetRenderTarget(SDLRenderer, rob_e$);
    SDL_RenderReadPixels(SDLRenderer, nullptr, SDL_PIXELFORMAT_ABGR8888, rgba.data(), PicW * 4);
    DoodleBody(rgba.data(), body);
    FILE* f = fopen(path.c_str(), "wb");
    if (!f || fwrite(body, 1, sizeof body, f) != sizeof body) state.SkipWithError("cannot write");
    if (f) fclose(f);
  }
}
BENCHMARK(Doodle_PlainWrite)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  StartRenderer();
  // A picture of every colour, so no stage meets a trivial image.
  std::vector<uint8_t> file = Degas(PlanesOf(Pattern(320, 200, 4), 320, 200, 4));
  PicImage img;
  std::vector<uint32_t> px;
  PicLoad(file.data(), file.size(), 4, GEMColor, img);
  PicStretch(img, px);
  SDL_UpdateTexture(rob_e$, nullptr, px.data(), PicW * 4);
  // Beside the build unless told where: the same file system for a save and its floor.
  const char* where = getenv("TARKSEN_BENCH_DIR");
  Scratch work("bench", where ? where : ".");
  dir = work.path;
  // The BMP the loads read, written by SDL from the picture.
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, PicW, PicH, 32, SDL_PIXELFORMAT_XBGR8888);
  SDL_UpdateTexture(rob_e$, nullptr, px.data(), PicW * 4);
  SDL_SetRenderTarget(SDLRenderer, rob_e$);
  SDL_RenderReadPixels(SDLRenderer, nullptr, SDL_PIXELFORMAT_ABGR8888, s->pixels, s->pitch);
  if (SDL_SaveBMP(s, (dir + "/picture.bmp").c_str()) != 0) return 1;
  SDL_FreeSurface(s);
  return RunBenchmarks(argc, argv);
}
