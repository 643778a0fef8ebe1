// The magnifier's screen written out pixel by pixel from its layout, for expected
// images in the gl and e2e tiers (no SDL here): white; the picture one to one around
// the cell in (0, 100)-(199, 299), the cell at (100 - side / 2, 200 - side / 2) with a
// black frame just outside it; black separators at x 200 and 620, 20 wide; the colour
// strip of 12x12 squares along the top; and the n x n pixels from the cell's corner,
// each a zf x zf square, from (220, 0). Nothing of the picture shows past its edges.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

// A cell and its magnification, written out by hand for each case.
struct MagnifiedCell {
  int side;    // the grid spacing, 8 * kr
  int gx, gy;  // the cell's top-left on the picture
  int zf, n;   // zoom factor and side of the enlarged square
};

// pic(px, py) is the picture's pixel for px 0..639, py 0..399; palette is in the same
// pixel format. Rows of 640 pixels.
inline std::vector<uint32_t> MagnifierScreen(const MagnifiedCell& c,
                                             const std::function<uint32_t(int, int)>& pic,
                                             const uint32_t palette[16]) {
  std::vector<uint32_t> e(640 * 400, palette[0]);
  auto at = [&](int sx, int sy) -> uint32_t& { return e[size_t(sy) * 640 + sx]; };
  auto on = [](int px, int py) { return px >= 0 && py >= 0 && px < 640 && py < 400; };
  auto box = [&](int x, int y, int w, int h, uint32_t colour) {
    for (int sy = y; sy < y + h; sy++)
      for (int sx = x; sx < x + w; sx++) at(sx, sy) = colour;
  };
  int cx = 100 - c.side / 2, cy = 200 - c.side / 2;
  for (int sy = 100; sy < 300; sy++)
    for (int sx = 0; sx < 200; sx++) {
      int px = c.gx + sx - cx, py = c.gy + sy - cy;
      if (on(px, py)) at(sx, sy) = pic(px, py);
    }
  for (int i = -1; i <= c.side; i++) {
    at(cx + i, cy - 1) = at(cx + i, cy + c.side) = palette[1];
    at(cx - 1, cy + i) = at(cx + c.side, cy + i) = palette[1];
  }
  box(200, 0, 20, 400, palette[1]);
  box(620, 0, 20, 400, palette[1]);
  for (int i = 0; i < 16; i++) box(12 * i, 0, 12, 12, palette[i]);
  for (int sy = 0; sy < c.n * c.zf; sy++)
    for (int sx = 220; sx < 220 + c.n * c.zf; sx++) {
      int px = c.gx + (sx - 220) / c.zf, py = c.gy + sy / c.zf;
      if (on(px, py)) at(sx, sy) = pic(px, py);
    }
  return e;
}

// Cell pixel (ex, ey) painted in colour on the magnifier screen e, in both views.
inline void MagnifierPaint(std::vector<uint32_t>& e, const MagnifiedCell& c, int ex, int ey,
                           uint32_t colour) {
  e[size_t(200 - c.side / 2 + ey) * 640 + 100 - c.side / 2 + ex] = colour;
  for (int sy = ey * c.zf; sy < (ey + 1) * c.zf; sy++)
    for (int sx = 220 + ex * c.zf; sx < 220 + (ex + 1) * c.zf; sx++)
      e[size_t(sy) * 640 + sx] = colour;
}

// Where to click in the enlarged view for cell pixel (ex, ey): inside its square, off
// its corner, so that a wrong division shows.
inline int MagnifierX(const MagnifiedCell& c, int ex) { return 220 + ex * c.zf + c.zf - 1; }
inline int MagnifierY(const MagnifiedCell& c, int ey) { return ey * c.zf + c.zf / 2; }
