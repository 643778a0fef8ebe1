#include "paint/draw_core.h"

#include <cmath>

void linie_kraty(int32_t krh, int32_t krv, std::vector<RasterRect>& out) {
  if (krh > 0)
    for (int32_t gx = 0; gx <= 639; gx += krh) out.push_back({gx, 0, 1, 400});
  if (krv > 0)
    for (int32_t gy = 0; gy <= 399; gy += krv) out.push_back({0, gy, 641, 1});
}

int32_t promien(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  // 64-bit so that points far outside the window (a drag past its edge) cannot overflow.
  int64_t dx = int64_t(x1) - x2, dy = int64_t(y1) - y2;
  return int32_t(std::sqrt(double(dx * dx + dy * dy)));
}
