#include "paint/paint.h"
#include "platform/platform.h"

int main(int, char**) {
  SDLInit(0);
  przygotuj();
  // Until the control screen exists: show the picture and wait for the window to close.
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  SDL_RenderCopy(SDLRenderer, rob_e$, nullptr, nullptr);
  ShowE();
  SDL_Event e;
  while (!Quit && SDL_WaitEvent(&e))
    if (e.type == SDL_QUIT) Quit = 1;
  sprzataj();
  return 0;
}
