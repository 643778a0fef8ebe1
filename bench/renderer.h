// The frame of the benchmarks that run on the program's own window and renderer.
#pragma once
#include <benchmark/benchmark.h>

#include "paint/paint.h"
#include "platform/platform.h"

// Starts SDL and the program's textures as main does, and names the renderer in the
// report (the figures mean little on another one).
inline void StartRenderer() {
  SDLInit(0);
  przygotuj();
  SDL_RendererInfo info;
  SDL_GetRendererInfo(SDLRenderer, &info);
  benchmark::AddCustomContext("renderer", info.name);
}

// Reads one pixel of t back, which waits for all drawing queued before it: the end of
// a timed step on a renderer that draws in threads of its own.
inline void WaitForRenderer(SDL_Texture* t) {
  SDL_SetRenderTarget(SDLRenderer, t);
  uint32_t px;
  SDL_Rect one = {0, 0, 1, 1};
  SDL_RenderReadPixels(SDLRenderer, &one, SDL_PIXELFORMAT_ABGR8888, &px, 4);
}

// Runs the benchmarks the command line asks for on the renderer StartRenderer started,
// then closes it: the end of every main.
inline int RunBenchmarks(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  sprzataj();
  QuitSDL();
  return 0;
}

// The whole main of a benchmark that needs nothing but the renderer.
inline int RunOnRenderer(int argc, char** argv) {
  StartRenderer();
  return RunBenchmarks(argc, argv);
}
