#include <algorithm>

#include "raster/raster_core.h"

// Along a row the pattern's generator state seed * 214013 + 2531011 grows by the same
// step from pixel to pixel, so a span needs additions only. Its output r has 15 bits,
// and a 16-bit r is a multiple of 3 exactly when r * 0xAAAB (the inverse of 3 modulo
// 2^16) is at most 0x5555 in 16 bits; unlike r % 3, that lets the compiler vectorise
// the loop with 16-bit multiplies.
static void paintPattern(uint32_t* out, int32_t n, uint32_t state, uint32_t step, uint32_t colour,
                         uint32_t background) {
  for (int32_t i = 0; i < n; i++) {
    uint16_t r = uint16_t(state >> 16) & 0x7FFF;
    out[i] = uint16_t(r * 0xAAABu) <= 0x5555u ? background : colour;
    state += step;
  }
}

// Paints columns xl..xr of row y.
static void paintSpan(uint32_t* out, uint32_t* work, int32_t y, int32_t xl, int32_t xr, uint8_t p,
                      uint32_t colour, uint32_t background) {
  size_t row = size_t(y) * CanvasW;
  std::fill(work + row + xl, work + row + xr + 1, colour);
  if (p == 0) {
    std::fill(out + row + xl, out + row + xr + 1, colour);
    return;
  }
  uint32_t k = uint32_t(p) * 1000u;
  uint32_t state = (uint32_t(row) + uint32_t(xl)) * k * 214013u + 2531011u;
  paintPattern(out + row + xl, xr - xl + 1, state, k * 214013u, colour, background);
}

// How many pixels from row[0] on, at most n, equal target. Blocks of 64 are tested
// whole so that the compiler can vectorise the comparison.
static int32_t runRight(const uint32_t* row, int32_t n, uint32_t target) {
  int32_t i = 0;
  for (; i + 64 <= n; i += 64) {
    uint32_t diff = 0;
    for (int32_t j = 0; j < 64; j++) diff |= row[i + j] ^ target;
    if (diff) break;
  }
  while (i < n && row[i] == target) i++;
  return i;
}

// The same leftwards: how many pixels from row[-1] down to row[-n] equal target.
static int32_t runLeft(const uint32_t* row, int32_t n, uint32_t target) {
  int32_t i = 0;
  for (; i + 64 <= n; i += 64) {
    uint32_t diff = 0;
    for (int32_t j = 1; j <= 64; j++) diff |= row[-i - j] ^ target;
    if (diff) break;
  }
  while (i < n && row[-i - 1] == target) i++;
  return i;
}

// One pass of the fill: spans from row y on, stepping v rows at a time, while the next
// row has a region pixel under the last span. Each row is scanned before any of it is
// painted and never visited again, so the scans see the canvas as it was and finding a
// span before painting it gives what painting along the scan would.
// The rows painted and the leftmost and rightmost column; x1 > x2 while none is.
struct Painted {
  int32_t x1 = CanvasW, y1 = CanvasH, x2 = -1, y2 = -1;
};

static void fillPass(uint32_t* out, uint32_t* work, int32_t xs, int32_t y, int32_t v,
                     uint32_t target, uint8_t p, uint32_t colour, uint32_t background,
                     Painted& box) {
  for (;;) {
    const uint32_t* row = work + size_t(y) * CanvasW;
    int32_t xr = xs + runRight(row + xs, CanvasW - xs, target) - 1;
    int32_t xl = xs - runLeft(row + xs, xs, target);
    paintSpan(out, work, y, xl, xr, p, colour, background);
    box = {std::min(box.x1, xl), std::min(box.y1, y), std::max(box.x2, xr), std::max(box.y2, y)};
    y += v;
    if (y < 0 || y >= CanvasH) return;
    row = work + size_t(y) * CanvasW;
    for (xs = xl; xs <= xr && row[xs] != target; xs++) {
    }
    if (xs > xr) return;
  }
}

RasterRect FillCanvas(uint32_t* out, uint32_t* work, int32_t x0, int32_t y0, uint8_t p,
                      uint32_t colour, uint32_t background) {
  if (x0 < 0 || x0 >= CanvasW || y0 < 0 || y0 >= CanvasH) return {0, 0, 0, 0};
  uint32_t target = work[size_t(y0) * CanvasW + x0];
  Painted box;
  fillPass(out, work, x0, y0, 1, target, p, colour, background, box);
  // The upward pass starts only where the pixel right above the seed is in the region.
  if (y0 > 0 && work[size_t(y0 - 1) * CanvasW + x0] == target)
    fillPass(out, work, x0, y0 - 1, -1, target, p, colour, background, box);
  return {box.x1, box.y1, box.x2 - box.x1 + 1, box.y2 - box.y1 + 1};
}
