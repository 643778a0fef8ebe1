#include "paint/blok_core.h"
#include "paint/paint.h"
#include "platform/platform.h"
#include "raster/raster.h"

void powieksz() {
  if (kr > 0 && krh > 0 && krv > 0) {
    Lupa l = UkladLupy(x, y, krh, krv);
    // rob_e$ holds the picture as it was when the magnifier started.
    SDL_SetRenderTarget(SDLRenderer, GEMScreen);
    SDLDrawColor(GEMColor[0]);
    SDL_RenderClear(SDLRenderer);
    SDL_Rect src = {l.okolica.x, l.okolica.y, l.okolica.w, l.okolica.h};
    SDL_Rect dst = {l.ox, l.oy, l.okolica.w, l.okolica.h};
    SDL_RenderCopy(SDLRenderer, rob_e$, &src, &dst);

    // The frame, the separators and the strip are drawn as they are in every mode:
    // blended they would fade, or vanish altogether in "Suma".
    SDL_SetRenderDrawBlendMode(SDLRenderer, SDL_BLENDMODE_NONE);
    SDLDrawColor(GEMColor[1]);
    SDL_Rect ramka = {l.cx - 1, l.cy - 1, krh + 2, krv + 2};
    DrawRect(ramka.x, ramka.y, ramka.w, ramka.h);
    SDL_Rect przegrody[2] = {{200, 0, 20, 400}, {620, 0, 20, 400}};
    SDL_RenderFillRects(SDLRenderer, przegrody, 2);
    for (int i = 0; i < 16; i++) {
      SDLDrawColor(GEMColor[i]);
      SDL_Rect kwadrat = {12 * i, 0, 12, 12};
      SDL_RenderFillRect(SDLRenderer, &kwadrat);
    }
    SDL_SetRenderDrawBlendMode(SDLRenderer, tryb_b[tryb]);

    src = {l.zrodlo.x, l.zrodlo.y, l.zrodlo.w, l.zrodlo.h};
    dst = {l.powiekszenie.x, l.powiekszenie.y, l.powiekszenie.w, l.powiekszenie.h};
    SDL_RenderCopy(SDLRenderer, rob_e$, &src, &dst);

    SDLDrawColor(GEMColor[kolor]);
    obraz$ = nullptr;  // GEMScreen holds the magnifier's screen
    porys(l.cx, l.cy, l.zf);

    // Only the cell goes back into the picture; past the picture's edge it is cut off.
    SDL_Texture* komorka = SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888,
                                             SDL_TEXTUREACCESS_TARGET, krh, krv);
    SDL_Rect z = {l.cx, l.cy, krh, krv}, na = {l.gx, l.gy, krh, krv};
    if (komorka) {
      SDL_SetRenderTarget(SDLRenderer, komorka);
      SDL_RenderCopy(SDLRenderer, GEMScreen, &z, nullptr);
    }
    SDL_SetRenderTarget(SDLRenderer, GEMScreen);
    SDL_RenderCopy(SDLRenderer, rob_e$, nullptr, nullptr);
    if (komorka) {
      SDL_RenderCopy(SDLRenderer, komorka, nullptr, &na);
      SDL_DestroyTexture(komorka);
    }
    obraz$ = GEMScreen;
    krok_obszar(ProstokatBloku(l.gx, l.gy, l.gx + krh - 1, l.gy + krv - 1));
  }
  puszczenie();
  k = 0;
}

void porys(int32_t cx, int32_t cy, int32_t zf) {
  do {
    if (!w_kolejce()) {  // else the frame would be replaced unseen
      SDLTargetWindow();
      SDL_RenderCopy(SDLRenderer, GEMScreen, nullptr, nullptr);
      SDLPresent();
      SDL_SetRenderTarget(SDLRenderer, GEMScreen);
    }
    cz_mysz();
    if (k != 1) continue;
    // The colour picked stays the draw colour after the magnifier; kolor does not change.
    int32_t i = KolorPaska(x, y), ex, ey;
    if (i >= 0) SDLDrawColor(GEMColor[i]);
    if (PikselLupy(x, y, krh, krv, zf, ex, ey)) {
      SDL_Rect piksel = {cx + ex, cy + ey, 1, 1};  // as plot draws a pixel
      SDL_RenderFillRect(SDLRenderer, &piksel);
      SDL_Rect kwadrat = {220 + ex * zf, ey * zf, zf, zf};
      SDL_RenderFillRect(SDLRenderer, &kwadrat);
    }
  } while (k <= 1);
}
