// The yardstick for start-up: a bare SDL program that opens its 640x400 window and
// renderer as the paint program does, shows one frame in the panel's background
// colour, and waits to be closed.
#include <SDL.h>

int main(int, char**) {
  if (SDL_Init(0xF231) != 0) return 1;
  SDL_SetHint("SDL_RENDER_VSYNC", "1");
  SDL_Window* w = nullptr;
  SDL_Renderer* r = nullptr;
  SDL_CreateWindowAndRenderer(640, 400, 0, &w, &r);
  SDL_SetRenderDrawColor(r, 0xAF, 0xCF, 0xAF, 0);
  SDL_RenderClear(r);
  SDL_RenderPresent(r);
  SDL_Event e;
  while (SDL_WaitEvent(&e) && e.type != SDL_QUIT) {
  }
  return 0;
}
