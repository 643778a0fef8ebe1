#include <algorithm>

#include "raster/raster_core.h"

// Paints columns xl..xr of row y.
static void paintSpan(uint32_t* out, uint32_t* work, int32_t y, int32_t xl, int32_t xr,
                      uint8_t p, uint32_t colour, uint32_t background) {
  size_t row = size_t(y) * CanvasW;
  std::fill(work + row + xl, work + row + xr + 1, colour);
  if (p == 0) {
    std::fill(out + row + xl, out + row + xr + 1, colour);
    return;
  }
  for (int32_t x = xl; x <= xr; x++)
    out[row + x] = FillPatternGap(x, y, p) ? background : colour;
}

// One pass of the fill: spans from row y on, stepping v rows at a time, while the next
// row has a region pixel under the last span. Each row is scanned before any of it is
// painted and never visited again, so the scans see the canvas as it was and finding a
// span before painting it gives what painting along the scan would.
static void fillPass(uint32_t* out, uint32_t* work, int32_t xs, int32_t y, int32_t v,
                     uint32_t target, uint8_t p, uint32_t colour, uint32_t background) {
  for (;;) {
    const uint32_t* row = work + size_t(y) * CanvasW;
    int32_t xr = xs, xl = xs;
    while (xr + 1 < CanvasW && row[xr + 1] == target) xr++;
    while (xl > 0 && row[xl - 1] == target) xl--;
    paintSpan(out, work, y, xl, xr, p, colour, background);
    y += v;
    if (y < 0 || y >= CanvasH) return;
    row = work + size_t(y) * CanvasW;
    for (xs = xl; xs <= xr && row[xs] != target; xs++) {
    }
    if (xs > xr) return;
  }
}

void FillCanvas(uint32_t* out, uint32_t* work, int32_t x0, int32_t y0, uint8_t p,
                uint32_t colour, uint32_t background) {
  if (x0 < 0 || x0 >= CanvasW || y0 < 0 || y0 >= CanvasH) return;
  uint32_t target = work[size_t(y0) * CanvasW + x0];
  fillPass(out, work, x0, y0, 1, target, p, colour, background);
  // The upward pass starts only where the pixel right above the seed is in the region.
  if (y0 > 0 && work[size_t(y0 - 1) * CanvasW + x0] == target)
    fillPass(out, work, x0, y0 - 1, -1, target, p, colour, background);
}
