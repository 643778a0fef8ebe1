#include "platform/present_core.h"

static int32_t floorDiv(int64_t a, int64_t b) {
  return int32_t(a >= 0 ? a / b : -((-a + b - 1) / b));
}

ScreenView FitScreen(int32_t w, int32_t h) {
  int32_t n = w / ScreenW < h / ScreenH ? w / ScreenW : h / ScreenH;
  if (n < 1) n = 1;
  return {n, floorDiv(int64_t(w) - ScreenW * n, 2), floorDiv(int64_t(h) - ScreenH * n, 2)};
}

static int32_t clamp(int32_t v, int32_t hi) { return v < 0 ? 0 : v > hi ? hi : v; }

PointerPlace PictureFromWindow(const ScreenView& v, int32_t winW, int32_t winH, int32_t drawW,
                               int32_t drawH, int32_t wx, int32_t wy, int32_t* px, int32_t* py) {
  // Units to pixels: the pixel under the unit's top-left corner.
  int64_t dx = winW > 0 ? floorDiv(int64_t(wx) * drawW, winW) : wx;
  int64_t dy = winH > 0 ? floorDiv(int64_t(wy) * drawH, winH) : wy;
  *px = floorDiv(dx - v.x, v.n);
  *py = floorDiv(dy - v.y, v.n);
  if (wx < 0 || wy < 0 || wx >= winW || wy >= winH) return OFF_WINDOW;
  if (*px >= 0 && *py >= 0 && *px < ScreenW && *py < ScreenH) return ON_PICTURE;
  *px = clamp(*px, ScreenW - 1);
  *py = clamp(*py, ScreenH - 1);
  return IN_BORDER;
}

int32_t StartScale(int32_t usableW, int32_t usableH, int32_t frameW, int32_t frameH) {
  int32_t w = (usableW - frameW) / ScreenW, h = (usableH - frameH) / ScreenH;
  int32_t n = w < h ? w : h;
  return n < 1 ? 1 : n;
}

int32_t ScaleFromText(const char* s) {
  if (!s || !*s) return 0;
  int32_t n = 0;
  for (; *s; s++) {
    if (*s < '0' || *s > '9') return 0;
    n = n * 10 + (*s - '0');
    if (n > MaxScale) return 0;
  }
  return n >= MinScale ? n : 0;
}
