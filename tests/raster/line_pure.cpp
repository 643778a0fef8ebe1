#include <gtest/gtest.h>

#include <vector>

#include "raster/raster.h"
#include "raster/raster_core.h"
#include "tests/support/shapes.h"

static Points walk(int x1, int y1, int x2, int y2, uint8_t style) {
  std::vector<RasterPoint> pts;
  LinePoints(x1, y1, x2, y2, LinePattern(style), pts);
  Points out;
  for (auto p : pts) out.push_back({p.x, p.y});
  return out;
}

// Points (x0 + i*dx, y0 + i*dy) for each i listed.
static Points along(int x0, int y0, int dx, int dy, const std::vector<int>& is) {
  Points out;
  for (int i : is) out.push_back({x0 + i * dx, y0 + i * dy});
  return out;
}

static std::vector<int> upTo(int n) {
  std::vector<int> is;
  for (int i = 0; i <= n; i++) is.push_back(i);
  return is;
}

struct LineCase {
  const char* name;
  int x1, y1, x2, y2;
  uint8_t style;
  Points expected;  // in drawing order
};

// clang-format off
static const LineCase lines[] = {
    {"x-major", 0, 0, 10, 3, 0,
     {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 2}, {7, 2}, {8, 2}, {9, 3}, {10, 3}}},
    {"x-major reversed, differs at x = 5", 10, 3, 0, 0, 0,
     {{10, 3}, {9, 3}, {8, 2}, {7, 2}, {6, 2}, {5, 2}, {4, 1}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}},
    {"y-major", 0, 0, 3, 10, 0,
     {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {2, 6}, {2, 7}, {2, 8}, {3, 9}, {3, 10}}},
    {"45 degrees up and left", 3, 3, 0, 0, 0, {{3, 3}, {2, 2}, {1, 1}, {0, 0}}},
    {"off the canvas is walked all the same", -2, -1, 2, -1, 0,
     {{-2, -1}, {-1, -1}, {0, -1}, {1, -1}, {2, -1}}},
    {"style 2 (dots) along x", 0, 0, 40, 0, 2,
     along(0, 0, 1, 0, {0, 1, 8, 9, 16, 17, 24, 25, 32, 33, 40})},
    {"style 6 on a vertical line of 33 points", 5, 0, 5, 32, 6,
     along(5, 0, 0, 1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 17, 24, 25, 32})},
    {"style 6 from the bottom end", 5, 32, 5, 0, 6,
     along(5, 32, 0, -1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 16, 17, 24, 25, 32})},
    {"style 1 restarts at bit 31 after 32 points", 0, 0, 40, 0, 1,
     along(0, 0, 1, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 16, 17, 18, 19, 20, 21,
                        22, 23, 24, 25, 26, 27, 32, 33, 34, 35, 36, 37, 38, 39, 40})},
    {"a style index past the table draws solid", 0, 0, 5, 0, 7, along(0, 0, 1, 0, upTo(5))},
    {"style 255 too", 0, 0, 5, 0, 255, along(0, 0, 1, 0, upTo(5))},
};
// clang-format on

TEST(LinePoints, WalksEachExampleLine) {
  for (const auto& c : lines) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(walk(c.x1, c.y1, c.x2, c.y2, c.style), c.expected);
  }
}

TEST(LinePoints, APointToItselfIsDrawnInEveryStyle) {
  for (uint8_t style = 0; style < 7; style++) {
    SCOPED_TRACE(int(style));
    EXPECT_EQ(walk(7, 9, 7, 9, style), Points({{7, 9}}));
  }
}
