// Reference pixel sets of the circle and the disc, written as closed formulas over a
// pixel's offset from the centre instead of as a walk, so that tests can check the
// walks (and everything drawn with them) against something that does not share their
// code. No SDL here: the pure, gl and e2e tiers all use it.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

// A list of pixels, (x, y).
using Points = std::vector<std::pair<int, int>>;

// Points of the rows of a text mask whose top-left character stands at (left, top):
// the hand-written shapes the tests expect, one '#' a pixel.
inline Points MaskAt(int left, int top, const std::vector<std::string>& rows) {
  Points pts;
  for (int r = 0; r < int(rows.size()); r++)
    for (int c = 0; c < int(rows[r].size()); c++)
      if (rows[r][c] == '#') pts.push_back({left + c, top + r});
  return pts;
}

// The circle walk's error at (X, R) is 2X² − X + 2R² + R − 2r² − r, and it steps
// inwards when the errors of its two candidates (x, y) and (x, y − 1) sum to 0 or
// more; that sum is 4x² − 2x + 4y² − 2y + 1 − 4r² − 2r. It is symmetric in x and y
// and grows with both (x, y ≥ 0), so the walk keeps, in each column of the upper
// octant, the outermost pixel for which it is negative. Geometrically that is
// (x − 1/4)² + (y − 1/4)² < (r + 1/4)² − 3/16: a circle a quarter pixel off centre.
inline int64_t CircleExcess(int64_t x, int64_t y, int64_t r) {
  return 4 * x * x - 2 * x + 4 * y * y - 2 * y + 1 - 4 * r * r - 2 * r;
}

// Is the pixel at offset (dx, dy) from the centre part of the disc of radius r? Radius
// 0 is the centre alone; a negative radius is empty.
inline bool InDisc(int dx, int dy, int r) {
  if (r <= 0) return r == 0 && dx == 0 && dy == 0;
  return CircleExcess(std::abs(dx), std::abs(dy), r) < 0;
}

// Is it on the ring of radius r: the outermost disc pixel of its column in the octants
// next to the vertical axis, of its row in the octants next to the horizontal one?
inline bool OnRing(int dx, int dy, int r) {
  if (r <= 0) return r == 0 && dx == 0 && dy == 0;
  int p = std::min(std::abs(dx), std::abs(dy)), q = std::max(std::abs(dx), std::abs(dy));
  return CircleExcess(p, q, r) < 0 && CircleExcess(p, q + 1, r) >= 0;
}
