#include "paint/blok_core.h"
#include "paint/paint.h"
#include "platform/platform.h"
#include "raster/raster.h"

void blok() {
  for (;;) {
    // Escape also when it is the key that brought the drawing loop here.
    if (key == SDLK_ESCAPE) {
      wytnij();
      // The button that ended the cut is up before the block follows the pointer
      // again: a drag while letting go must not stamp, nor a right one leave.
      puszczenie();
      k = 0;
    }
    if (k != 0 && k != 1) break;
    SDL_ShowCursor(blok$ ? SDL_DISABLE : SDL_ENABLE);  // the block is the pointer
    SDL_Rect r = {x, y, 0, 0};
    if (blok$) {
      SDL_SetTextureBlendMode(blok$, tryb_b[tryb]);
      SDL_QueryTexture(blok$, nullptr, nullptr, &r.w, &r.h);
      if (k == 1) {
        // The stamps of one drag are one step of the history, from the press on.
        krok(!nacisk);
        zapamietaj();
        SDL_RenderCopy(SDLRenderer, blok$, nullptr, &r);
        krok_obszar(ProstokatBloku(r.x, r.y, r.x + r.w - 1, r.y + r.h - 1));
      }
    }
    // A frame drawn with more input queued would be replaced unseen: a fast drag stamps
    // every event without waiting for the display each time.
    if (!w_kolejce()) {
      SDLTargetWindow();
      SDL_RenderCopy(SDLRenderer, GEMScreen, nullptr, nullptr);
      if (blok$ && k != 1) SDL_RenderCopy(SDLRenderer, blok$, nullptr, &r);  // the preview
      if (kr > 0) SDL_RenderCopy(SDLRenderer, kra$, nullptr, nullptr);
      SDLPresent();
      SDL_SetRenderTarget(SDLRenderer, GEMScreen);
    }
    // Between stamps the picture is whole: the recovery copy may be made.
    zapas_pora();
    WakeWanted = 1;
    cz_mysz();
    WakeWanted = 0;
    t_undo();
    t_nawias();
    t_historia();
  }
  SDL_ShowCursor(SDL_ENABLE);
}

void wytnij() {
  int32_t c[4] = {0, 0, -1, -1};
  rog(c);
  if (k != 1 || key == SDLK_ESCAPE) return;
  c[2] = c[0];
  c[3] = c[1];
  rog(c);
  if (k != 1 || key == SDLK_ESCAPE) return;
  Prostokat r = ProstokatBloku(c[2], c[3], c[0], c[1]);
  if (!r.w) return;
  SDL_Texture* nowy =
      SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET, r.w, r.h);
  if (!nowy) return;  // the old block stays
  SDL_SetRenderTarget(SDLRenderer, nowy);
  SDL_Rect src = {r.x, r.y, r.w, r.h};
  SDL_RenderCopy(SDLRenderer, GEMScreen, &src, nullptr);
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  SDLSetBlock(nowy);
}

void rog(int32_t* c) {
  SDL_ShowCursor(SDL_DISABLE);
  SDLTargetWindow();
  do {
    SDL_RenderCopy(SDLRenderer, GEMScreen, nullptr, nullptr);
    if (kr > 0) SDL_RenderCopy(SDLRenderer, kra$, nullptr, nullptr);
    c[0] = x;
    c[1] = y;
    DrawLine(0, c[1], 640, c[1]);
    DrawLine(c[0], 0, c[0], 400);
    DrawLine(0, c[3], 640, c[3]);
    DrawLine(c[2], 0, c[2], 400);
    SDLPresent();
    cz_mysz();
  } while (k == 0 && key != SDLK_ESCAPE);
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
}
