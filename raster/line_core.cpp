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
