#include "raster/raster_core.h"

// The quadrant walk of ellipse, from the top (0, |b|) to the side, as offsets from the
// centre, one a step. The error terms grow with the cube of the semi-axes, so they are
// kept in 64 bits: a semi-axis of a few thousand pixels (a pointer dragged far off the
// window) must not overflow.
static std::vector<RasterPoint> ellipseSteps(int32_t a, int32_t b) {
  std::vector<RasterPoint> steps;
  if (a == 0 || b == 0) return steps;
  if (b < 0) b = -b;
  int32_t X = 0, Y = b, dX = 1, dY = 0;
  int64_t err = 0, A2 = int64_t(a) * a, B2 = int64_t(b) * b, P = 0, Q = A2 * b, s = 1;
  while (Y >= 0) {
    steps.push_back({X, Y});
    // Past 45 degrees the walk steps in rows instead of columns: swap the axes' roles.
    if (dX != 0 && P > Q) {
      dX = 0;
      dY = -1;
      s = -1;
      SwapValue(P, Q);
      SwapValue(A2, B2);
    }
    int64_t t1 = err + 2 * s * P + B2;
    int64_t t2 = t1 - 2 * s * Q + A2;
    P += s * B2;
    X += dX;
    Y += dY;
    if (s * (t1 + t2) < 0) {
      err = t1;
    } else {
      Y -= dX;
      X -= dY;
      Q -= s * A2;
      err = t2;
    }
  }
  return steps;
}

void EllipsePoints(int32_t xc, int32_t yc, int32_t a, int32_t b, uint32_t pattern,
                   std::vector<RasterPoint>& out) {
  uint32_t mask = 0;
  for (RasterPoint st : ellipseSteps(a, b)) {
    mask = mask <= 1 ? 0x80000000u : mask >> 1;
    if (!(pattern & mask)) continue;
    const RasterPoint four[] = {{xc + st.x, yc + st.y},
                                {xc - st.x, yc + st.y},
                                {xc + st.x, yc - st.y},
                                {xc - st.x, yc - st.y}};
    // Moved: the push_back the other walks use, not a second one for copies.
    for (RasterPoint q : four) out.push_back(std::move(q));
  }
}

void EllipseSpans(int32_t xc, int32_t yc, int32_t a, int32_t b, std::vector<RasterSpan>& out) {
  for (RasterPoint st : ellipseSteps(a, b)) {
    out.push_back({xc + st.x, xc - st.x, yc + st.y});
    out.push_back({xc + st.x, xc - st.x, yc - st.y});
  }
}
