#include "paint/paint.h"
#include "platform/platform.h"

static SDL_Texture* canvasTexture(int w, int h) {
  return SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET, w, h);
}

void przygotuj() {
  GEMInit();
  rob_e$ = canvasTexture(640, 400);
  GEMScreen = canvasTexture(640, 400);
  kra$ = canvasTexture(640, 400);
  SDL_SetTextureBlendMode(kra$, SDL_BLENDMODE_BLEND);
  Wypboxy = canvasTexture(210, 216);
  SDL_SetTextureBlendMode(Wypboxy, SDL_BLENDMODE_BLEND);

  SDL_SetRenderTarget(SDLRenderer, rob_e$);
  SDLDrawColor(GEMColor[0]);
  SDL_RenderClear(SDLRenderer);
  obraz$ = rob_e$;

  // "Inwersja": destination minus source, alpha alike, so white turns into the complement.
  tryb_b[4] = SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE,
                                         SDL_BLENDOPERATION_REV_SUBTRACT, SDL_BLENDFACTOR_ONE,
                                         SDL_BLENDFACTOR_ONE, SDL_BLENDOPERATION_REV_SUBTRACT);
}

void sprzataj() {
  zapomnij();
  for (SDL_Texture** t : {&rob_e$, &kra$, &blok$, &GEMScreen, &Wypboxy}) {
    if (*t) SDL_DestroyTexture(*t);
    *t = nullptr;
  }
}
