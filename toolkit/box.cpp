#include "platform/platform.h"
#include "raster/raster.h"
#include "toolkit/toolkit.h"

static void colorMod(SDL_Texture* t, uint32_t c) {
  SDL_SetTextureColorMod(t, c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

void GEMTextColor(uint32_t c) {
  ColorC = c;
  colorMod(GPR.font, c);
}

static void drawColor(uint32_t c) {
  Color = c;
  SDLDrawColor(Color);
}

static void printText(const char* text, const BoxPrint& p) {
  GPR.x = p.x;
  GPR.y = p.y;
  SDLGPrint(text, p.count, p.rows, p.right, p.bottom, p.clip);
}

void GEMDrawBox(GEMBox b) {
  BoxColors c = BoxColorsOf(b);
  drawColor(c.fill);
  SDL_Rect all = {b.x - 1, b.y - 1, b.w + 2, b.h + 2};
  SDL_RenderFillRect(SDLRenderer, &all);
  // The rims stop short of the corners, which keep the fill.
  drawColor(c.topLeft);
  DrawLine(b.x, b.y - 1, b.x + b.w - 1, b.y - 1);
  DrawLine(b.x - 1, b.y, b.x - 1, b.y + b.h - 1);
  drawColor(c.bottomRight);
  DrawLine(b.x, b.y + b.h, b.x + b.w - 1, b.y + b.h);
  DrawLine(b.x + b.w, b.y, b.x + b.w, b.y + b.h - 1);

  BoxPrint p;
  if (b.type < 10) {
    if (BoxTextPrint(b, GPR.w, GPR.h, p)) {
      GEMTextColor(c.text);
      printText(b.text, p);
    }
    if (b.image) {
      // Modulated by the text colour: only white text shows the image as it is.
      colorMod(b.image, c.text);
      DST = {b.x, b.y, b.w, b.h};
      SDL_RenderCopy(SDLRenderer, b.image, nullptr, &DST);
    }
    return;
  }
  GEMTextColor(0);
  int32_t bar[4];
  if (BoxListBar(b, GPR.w, GPR.h, bar)) {
    drawColor(BoxDark);
    DST = {bar[0], bar[1], bar[2], bar[3]};
    SDL_RenderFillRect(SDLRenderer, &DST);
  }
  if (BoxTextPrint(b, GPR.w, GPR.h, p)) printText(b.text, p);
}

void GEMDrawBoxes(const GEMBox* table, uint32_t count) {
  for (uint32_t i = count; i-- > 0;) GEMDrawBox(table[i]);
}
