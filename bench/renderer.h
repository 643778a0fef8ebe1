// The frame of the benchmarks that run on the program's own window and renderer, and
// the input they queue for it.
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

// One frame of a rubber-band drag as wsp draws it: the picture (GEMScreen) onto the
// window, a thin line to a point that moves with i, the present, until the renderer
// has finished. The draw colour is the caller's.
inline void RubberBandFrame(int i) {
  SDLTargetWindow();
  SDL_RenderCopy(SDLRenderer, GEMScreen, nullptr, nullptr);
  SDL_RenderDrawLine(SDLRenderer, 100, 100, 300 + i % 200, 250);
  SDLPresent();
  WaitForRenderer(SDLScreen);
}

// Events queued as the mouse gives them, for the program's loops to read.
inline void PushEvent(SDL_Event e) {
  e.common.timestamp = SDL_GetTicks();
  SDL_PushEvent(&e);
}
inline void PushButton(bool down, uint8_t button, int px, int py) {
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.button = button;
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.x = px;
  e.button.y = py;
  PushEvent(e);
}
// A motion to (px, py) with the left button held.
inline void PushDrag(int px, int py) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = px;
  e.motion.y = py;
  e.motion.state = SDL_BUTTON_LMASK;
  PushEvent(e);
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
