#include "paint/paint.h"

#include "platform/platform.h"

SDL_BlendMode tryb_b[5] = {SDL_BLENDMODE_NONE, SDL_BLENDMODE_BLEND, SDL_BLENDMODE_ADD,
                           SDL_BLENDMODE_MOD, SDL_BLENDMODE_NONE};

PAINT_GLOBALS(GLOBAL_DEFINE)

void ShowE() {
  SDLTargetWindow();
  SDL_RenderCopy(SDLRenderer, GEMScreen, nullptr, nullptr);
  if (kr > 0) SDL_RenderCopy(SDLRenderer, kra$, nullptr, nullptr);
  SDLPresent();
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  tytul();
}

void tytul() { SDLTitle(nullptr, wersja != wersja_pliku); }

void zapamietaj() {
  SDL_SetRenderTarget(SDLRenderer, rob_e$);
  SDL_RenderCopy(SDLRenderer, GEMScreen, nullptr, nullptr);
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
}
