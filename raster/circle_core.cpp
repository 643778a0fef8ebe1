#include "raster/raster_core.h"

// Both walks step X over one octant and use the increments 4X + 1 and -4R + 1; the
// resulting shapes (a 3x3 ring for radius 1, a cornerless 5x5 for radius 2) are part
// of the program's look.

void CirclePoints(int32_t xc, int32_t yc, int32_t r, std::vector<RasterPoint>& out) {
  int32_t X = 0, R = r, err = 0;
  while (X <= R) {
    const RasterPoint eight[] = {{xc + X, yc + R}, {xc + R, yc - X}, {xc - X, yc - R},
                                 {xc - R, yc + X}, {xc + R, yc + X}, {xc + X, yc - R},
                                 {xc - R, yc - X}, {xc - X, yc + R}};
    // Moved: the push_back the other walks use, not a second one for copies.
    for (RasterPoint q : eight) out.push_back(std::move(q));
    int32_t e1 = err + 4 * X + 1;
    int32_t e2 = e1 - 4 * R + 1;
    if (e1 + e2 >= 0) {
      R--;
      err = e2;
    } else {
      err = e1;
    }
    X++;
  }
}

void DiscSpans(int32_t xc, int32_t yc, int32_t r, std::vector<RasterSpan>& out) {
  int32_t X = 0, R = r, err = 0;
  while (X <= R) {
    out.push_back({xc - R, xc + R, yc + X});
    out.push_back({xc - R, xc + R, yc - X});
    int32_t e1 = err + 4 * X + 1;
    int32_t e2 = e1 - 4 * R + 1;
    if (e1 + e2 >= 0) {
      out.push_back({xc - X, xc + X, yc + R});
      out.push_back({xc - X, xc + X, yc - R});
      R--;
      err = e2;
    } else {
      err = e1;
    }
    X++;
  }
}
