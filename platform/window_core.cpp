#include "platform/window_core.h"

#include <cstring>

void WindowTitle(char* out, size_t n, const char* path, bool changed) {
  if (!n) return;
  const char* name = "";
  if (path) {
    const char* slash = strrchr(path, '/');
    name = slash ? slash + 1 : path;
  }
  const char* mark = changed ? "*" : "";
  const char* dash = *name ? " \xE2\x80\x94 " : "";  // U+2014 between spaces
  size_t fixed = strlen(mark) + strlen(dash) + strlen(TitleName);
  if (fixed >= n) {
    out[0] = 0;
    return;
  }
  // The name gives way, never the program's name; a UTF-8 letter is not cut in two.
  size_t keep = strlen(name);
  if (keep > n - 1 - fixed) {
    keep = n - 1 - fixed;
    while (keep && (uint8_t(name[keep]) & 0xC0) == 0x80) keep--;
  }
  size_t at = 0;
  auto put = [&](const char* s, size_t len) {
    memcpy(out + at, s, len);
    at += len;
  };
  put(mark, strlen(mark));
  put(name, keep);
  put(dash, strlen(dash));
  put(TitleName, strlen(TitleName));
  out[at] = 0;
}

namespace {

constexpr int N = IconSide;

void box(uint8_t* p, int x1, int y1, int x2, int y2, uint8_t c) {
  for (int y = y1; y <= y2; y++)
    for (int x = x1; x <= x2; x++) p[y * N + x] = c;
}

// Glyph cell g of the font strip (which holds it) with its top-left at (x, y), ink in c.
void glyph(uint8_t* p, const uint8_t* font, int pitch, int g, int x, int y, uint8_t c) {
  for (int r = 0; r < 8; r++)
    for (int col = 0; col < 8; col++) {
      const uint8_t* px = font + size_t(r) * pitch + size_t(8 * g + col) * 4;
      if (px[0] | px[1] | px[2]) p[(y + r) * N + x + col] = c;
    }
}

}  // namespace

bool IconDesign(uint8_t p[IconSide * IconSide], const uint8_t* font, int w, int h, int pitch) {
  box(p, 0, 0, N - 1, N - 1, 1);   // frame
  box(p, 1, 1, N - 2, 10, 11);     // title band
  box(p, 1, 12, N - 2, N - 2, 0);  // the picture
  // 'T' lies further along the strip than '2': a strip that holds it holds both.
  bool ok = font && w >= 8 * ('T' - 32 + 1) && h >= 8;
  if (ok) {
    glyph(p, font, pitch, 'T' - 32, 8, 2, 1);
    glyph(p, font, pitch, '2' - 32, 16, 2, 1);
  }
  for (int y = 12; y < N - 1; y++)  // red disc, radius 6 around (13, 23)
    for (int x = 1; x < N - 1; x++)
      if ((x - 13) * (x - 13) + (y - 23) * (y - 23) <= 6 * 6 + 6) p[y * N + x] = 2;
  box(p, 16, 14, 28, 14, 4);  // blue frame
  box(p, 16, 26, 28, 26, 4);
  box(p, 16, 14, 16, 26, 4);
  box(p, 28, 14, 28, 26, 4);
  return ok;
}
