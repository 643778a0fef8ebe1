#include "paint/draw_core.h"
#include "paint/historia_core.h"
#include "paint/paint.h"
#include "platform/platform.h"
#include "raster/raster.h"

void rysuj() {
  int32_t px = x, py = y;
  while (k == 1) {
    line(px, py, x, y, lin_r);
    krok_obszar(Pedzel(px, py, x, y, lin_szer));
    px = x;
    py = y;
    ShowE();
    cz_mysz();
    // What piled up while the segment was drawn is dropped; the next segment still
    // starts where this one ended.
    GetSDLEvents();
    if (Quit) break;
  }
}

void linia() {
  int32_t p[4] = {};
  wsp(p);
  if (k != 1) return;
  line(p[0], p[1], p[2], p[3], lin_r);
  krok_obszar(Pedzel(p[0], p[1], p[2], p[3], lin_szer));
}

void lamana() {
  do {
    int32_t p[4] = {};
    wsp(p);
    if (k == 1) {
      line(p[0], p[1], p[2], p[3], lin_r);
      krok_obszar(Pedzel(p[0], p[1], p[2], p[3], lin_szer));
    }
    puszczenie();
    x = p[2];
    y = p[3];
  } while (k == 1);
  // Another button only ends the polyline; the user stays on the drawing screen.
  k = 0;
}

void ramka() {
  int32_t p[4] = {};
  wsp(p);
  if (k != 1) return;
  line(p[0], p[1], p[2], p[1], lin_r);
  line(p[0], p[3], p[2], p[3], lin_r);
  line(p[0], p[1], p[0], p[3], lin_r);
  line(p[2], p[1], p[2], p[3], lin_r);
  krok_obszar(Pedzel(p[0], p[1], p[2], p[3], lin_szer));
}

void prostok() {
  int32_t p[4] = {};
  wsp(p);
  if (k != 1) return;
  pbox(p[0], p[1], p[2], p[3]);
  krok_obszar(Suma(ProstokatBloku(p[0], p[1], p[2], p[3]), FillBox));
}

void okrag() {
  int32_t p[4] = {};
  wsp(p);
  if (k != 1) return;
  int32_t r = promien(p[0], p[1], p[2], p[3]);
  ellipse(p[0], p[1], r, r, 0);
  krok_obszar(ObszarElipsy(p[0], p[1], r, r, lin_szer));
}

void elipsa() {
  int32_t p[4] = {};
  wsp(p);
  if (k != 1) return;
  ellipse(p[0], p[1], p[2] - p[0], p[3] - p[1], 0);
  krok_obszar(ObszarElipsy(p[0], p[1], p[2] - p[0], p[3] - p[1], lin_szer));
}

// kolo and dysk: a background-coloured shape, a thin solid outline in the current
// colour, and the pattern fill from the centre. A shape of zero size has no outline,
// so its fill covers whatever region holds the centre (a way to fill, and undoable).
static void wypelniona(bool kolisty) {
  uint8_t styl = lin_r, szer = lin_szer;
  lin_szer = 1;
  lin_r = 0;
  int32_t p[4] = {};
  wsp(p);
  int32_t a = p[2] - p[0], b = p[3] - p[1];
  if (kolisty) a = b = promien(p[0], p[1], p[2], p[3]);
  if (k == 1) {
    SDLDrawColor(GEMColor[0]);
    ellipse(p[0], p[1], a, b, 1);
    SDLDrawColor(GEMColor[kolor]);
    ellipse(p[0], p[1], a, b, 0);
    fill(p[0], p[1], wyp);
    krok_obszar(Suma(ObszarElipsy(p[0], p[1], a, b, 1), FillBox));
  }
  lin_r = styl;
  lin_szer = szer;
}

void kolo() { wypelniona(true); }

void dysk() { wypelniona(false); }
