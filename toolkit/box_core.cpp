#include "toolkit/toolkit_core.h"

BoxColors BoxColorsOf(const GEMBox& b) {
  BoxColors c;
  if (b.type >= 10 && b.type <= 19)
    c = {BoxPale, BoxDark, BoxLight, 0};
  else if (b.flags & BOX_SELECTED)
    c = {BoxDark, BoxMiddle, BoxLight, 0};
  else
    c = {BoxMiddle, BoxLight, BoxDark, 0};
  if (b.type >= 10) return c;
  c.text = (b.flags & BOX_ENABLED) ? 0 : BoxDimmed;
  if (b.param1) c.fill = b.param1;
  if (b.param2) c.text = (uint32_t)b.param2;
  return c;
}

// Whole glyphs that fit the inner area, and the margins that centre them.
struct TextGrid {
  int32_t columns, rows, mx, my;
};
static TextGrid textGrid(const GEMBox& b, int gw, int gh) {
  TextGrid g;
  g.columns = b.w / gw;
  g.rows = b.h / gh;
  g.mx = (b.w - g.columns * gw) / 2;
  g.my = (b.h - g.rows * gh) / 2;
  return g;
}

bool BoxTextPrint(const GEMBox& b, int gw, int gh, BoxPrint& p) {
  if (!b.text) return false;
  if (b.type < 10) {
    int32_t chars = LenUTF(b.text, 0, 255);
    p = {b.x + b.w / 2 - chars * gw / 2, b.y + b.h / 2 - gh / 2, 255, 1, 640, 400, 0};
    return true;
  }
  if (b.type < 11 || b.type > 13) return false;
  TextGrid g = textGrid(b, gw, gh);
  int32_t cols = g.columns > 0 ? g.columns : 0;
  p = {b.x + g.mx, b.y + g.my, (uint32_t)cols, 1, b.x + b.w - gw, 400, 1};
  if (b.type == 12) {
    p.count = (uint32_t)(g.rows > 0 ? cols * g.rows : 0);
    p.clip = 0;
  } else if (b.type == 13) {
    p.rows = (int32_t)b.param1;
    p.bottom = b.y + b.h - gh;
  }
  return true;
}

bool BoxListBar(const GEMBox& b, int gw, int gh, int32_t bar[4]) {
  if (b.type != 13 || b.param2 < 0) return false;
  TextGrid g = textGrid(b, gw, gh);
  bar[0] = b.x;
  bar[1] = b.y + g.my + b.param2 * gh;
  bar[2] = b.w;
  bar[3] = gh;
  return true;
}
