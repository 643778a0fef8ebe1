// The scaled window: one frame of a rubber-band drag (the picture copied onto the
// window, a thin line, the present, as wsp draws each) and one ShowE, at scales 1 to
// 4, beside the floor: a bare program that shows a 640x400 texture at the same scale
// (one copy over the whole window, present). On SDL's OpenGL renderer, then the same
// on its software renderer in a second pass. The window is 640n x 400n; presents do
// not wait for the display (SDL_RENDER_VSYNC=0), so the work is what is timed, each
// step until the renderer has finished it.
#include <cstdlib>
#include <string>

#include <utility>

#include "bench/renderer.h"
#include "paint/paint.h"
#include "platform/platform.h"

// The renderer the benchmarks run on: SDL and the program's textures are started again
// on another (its benchmarks come after all of the first's).
static std::string current;
static void on(const char* renderer) {
  if (current == renderer) return;
  if (!current.empty()) {
    sprzataj();
    QuitSDL();
  }
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, renderer);  // SDL_Quit forgets it
  SDLInit(0);
  przygotuj();
  current = renderer;
}

static void atScale(int n) {
  SDL_SetWindowSize(SDLWindow, 640 * n, 400 * n);
  SDLPresent();  // measures the window anew
}

static void rubberBandFrame(benchmark::State& state, const char* renderer) {
  on(renderer);
  atScale(int(state.range(0)));
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  SDLDrawColor(GEMColor[0]);
  SDL_RenderClear(SDLRenderer);
  SDLDrawColor(GEMColor[1]);
  int i = 0;
  for (auto _ : state) {
    RubberBandFrame(i++);
  }
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
}

static void showE(benchmark::State& state, const char* renderer) {
  on(renderer);
  atScale(int(state.range(0)));
  for (auto _ : state) {
    ShowE();
    WaitForRenderer(GEMScreen);
  }
}

static void barePresent(benchmark::State& state, const char* renderer) {
  on(renderer);
  int n = int(state.range(0));
  atScale(n);
  SDL_Rect all = {0, 0, 640 * n, 400 * n};
  for (auto _ : state) {
    SDL_SetRenderTarget(SDLRenderer, nullptr);
    SDL_RenderCopy(SDLRenderer, GEMScreen, nullptr, &all);
    SDL_RenderPresent(SDLRenderer);
    WaitForRenderer(GEMScreen);
  }
}

int main(int argc, char** argv) {
  setenv("SDL_RENDER_VSYNC", "0", 1);
  benchmark::Initialize(&argc, argv);
  const std::pair<const char*, void (*)(benchmark::State&, const char*)> benches[] = {
      {"BM_BarePresent", barePresent},
      {"BM_RubberBandFrame", rubberBandFrame},
      {"BM_ShowE", showE}};
  for (const char* renderer : {"opengl", "software"})
    for (const auto& [name, fn] : benches)
      benchmark::RegisterBenchmark((std::string(name) + "/" + renderer).c_str(), fn, renderer)
          ->ArgName("scale")
          ->DenseRange(1, 4)
          ->UseRealTime()
          ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  sprzataj();
  benchmark::Shutdown();
  return 0;
}
