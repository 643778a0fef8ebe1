#include <algorithm>
#include <cstdlib>

#include "raster/raster.h"
#include "raster/raster_core.h"

double VALUE = 0;

uint32_t LinePattern(uint8_t style) {
  return style < sizeof defline / sizeof defline[0] ? defline[style] : defline[0];
}

// The values swapped are far below 2^53, so the round trip through a double is exact.
void SwapValue(int32_t& a, int32_t& b) {
  VALUE = a;
  a = b;
  b = int32_t(VALUE);
}

void SwapValue(int64_t& a, int64_t& b) {
  VALUE = double(a);
  a = b;
  b = int64_t(VALUE);
}

void LinePoints(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t pattern,
                std::vector<RasterPoint>& out) {
  uint32_t mask = 0x80000000u;
  int32_t sx = x1 > x2 ? -1 : 1, sy = y1 > y2 ? -1 : 1;
  int32_t dx = x2 > x1 ? x2 - x1 : x1 - x2, dy = y2 > y1 ? y2 - y1 : y1 - y2;
  if (pattern & mask) out.push_back({x1, y1});
  bool swapped = dx < dy;
  if (swapped) {
    SwapValue(dx, dy);
    SwapValue(x1, y1);
    SwapValue(sx, sy);
  }
  int32_t err = dx / 2;
  for (int32_t i = 0; i < dx; i++) {
    x1 += sx;
    err -= dy;
    if (err < 0) {
      y1 += sy;
      err += dx;
    }
    mask = mask == 1 ? 0x80000000u : mask >> 1;
    if (pattern & mask) out.push_back(swapped ? RasterPoint{y1, x1} : RasterPoint{x1, y1});
  }
}

// One segment of SDL's thin lines from a to b, its end included when last: along a row
// or a column one rectangle, past a when the segment runs back and leaves its end out;
// any other segment SDL's Bresenham walk, a 1x1 rectangle a pixel.
static void segment(RasterPoint a, RasterPoint b, bool last, std::vector<RasterRect>& out) {
  if (a.x == b.x || a.y == b.y) {
    bool column = a.x == b.x;
    int32_t from = column ? a.y : a.x, to = column ? b.y : b.x;
    int32_t len = std::abs(to - from) + (last ? 1 : 0);
    int32_t lo = std::min(from, to) + (!last && to < from ? 1 : 0);
    if (len > 0) out.push_back(column ? RasterRect{a.x, lo, 1, len} : RasterRect{lo, a.y, len, 1});
    return;
  }
  int32_t dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
  bool flat = dx >= dy;
  int32_t n = (flat ? dx : dy) + (last ? 1 : 0);
  int32_t d = flat ? 2 * dy - dx : 2 * dx - dy;
  int32_t inc1 = flat ? 2 * dy : 2 * dx, inc2 = flat ? 2 * (dy - dx) : 2 * (dx - dy);
  int32_t sx = a.x > b.x ? -1 : 1, sy = a.y > b.y ? -1 : 1;
  for (int32_t i = 0; i < n; i++) {
    out.push_back({a.x, a.y, 1, 1});
    if (d < 0) {
      d += inc1;
      (flat ? a.x : a.y) += flat ? sx : sy;
    } else {
      d += inc2;
      a.x += sx;
      a.y += sy;
    }
  }
}

void ThinLineRects(int32_t x1, int32_t y1, int32_t x2, int32_t y2, std::vector<RasterRect>& out) {
  segment({x1, y1}, {x2, y2}, true, out);
}

void FrameRects(int32_t x, int32_t y, int32_t w, int32_t h, std::vector<RasterRect>& out) {
  const int32_t r = x + w - 1, b = y + h - 1;
  const RasterPoint p[5] = {{x, y}, {r, y}, {r, b}, {x, b}, {x, y}};
  // Round the four sides from the corner (x, y), each without its end; a side of no
  // length is skipped but the last, and the last, which ends where the first began, has
  // its end only when nothing else was drawn (a 1x1 rectangle).
  bool drew = false;
  for (int32_t i = 0; i < 4; i++) {
    if (i < 3 && p[i].x == p[i + 1].x && p[i].y == p[i + 1].y) continue;
    segment(p[i], p[i + 1], i == 3 && !drew, out);
    drew = true;
  }
}
