#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "raster/raster.h"
#include "raster/raster_core.h"
#include "tests/raster/cells.h"

static Cells outline(int a, int b, uint8_t style = 0) {
  std::vector<RasterPoint> pts;
  EllipsePoints(0, 0, a, b, LinePattern(style), pts);
  return cellsOf(pts);
}

static Cells filled(int a, int b) {
  std::vector<RasterSpan> spans;
  EllipseSpans(0, 0, a, b, spans);
  return cellsOf(spans);
}

struct EllipseCase {
  const char* name;
  int a, b;
  std::vector<std::string> outline, filled;
};

static const EllipseCase ellipses[] = {
    {"a = 3, b = 2", 3, 2,
     {"..###..", ".#...#.", "#.....#", ".#...#.", "..###.."},
     {"..###..", ".#####.", "#######", ".#####.", "..###.."}},
    {"a = 4, b = 1 falls short of x = +-4", 4, 1,
     {".#####.", "#.....#", ".#####."},
     {".#####.", "#######", ".#####."}},
    {"a = 16, b = 2 falls short of x = +-16", 16, 2,
     {"......###################......",
      ".#####...................#####.",
      "#.............................#",
      ".#####...................#####.",
      "......###################......"},
     {"......###################......",
      ".#############################.",
      "###############################",
      ".#############################.",
      "......###################......"}},
    {"a = 1, b = 3", 1, 3,
     {".#.", "#.#", "#.#", "#.#", "#.#", "#.#", ".#."},
     {".#.", "###", "###", "###", "###", "###", ".#."}},
};

TEST(Ellipse, DrawsEachExampleShape) {
  for (const auto& c : ellipses) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(outline(c.a, c.b), mask(c.outline));
    EXPECT_EQ(filled(c.a, c.b), mask(c.filled));
  }
}

TEST(Ellipse, SignsOfTheSemiAxesDoNotMatterAndZeroDrawsNothing) {
  for (auto [a, b] : {std::pair{-5, -3}, {-5, 3}, {5, -3}}) {
    SCOPED_TRACE(std::to_string(a) + ", " + std::to_string(b));
    EXPECT_EQ(outline(a, b), outline(5, 3));
    EXPECT_EQ(filled(a, b), filled(5, 3));
  }
  for (auto [a, b] : {std::pair{0, 3}, {3, 0}, {0, 0}, {0, -2}}) {
    SCOPED_TRACE(std::to_string(a) + ", " + std::to_string(b));
    EXPECT_TRUE(outline(a, b).empty());
    EXPECT_TRUE(filled(a, b).empty());
  }
}

// The walk always reaches y = +-b; it reaches x = +-a exactly when |a| < 4b^2.
TEST(Ellipse, ReachesTheEndsOfTheAxesUnlessFlat) {
  for (int a = 1; a <= 64; a++)
    for (int b = 1; b <= 64; b++) {
      Cells c = outline(a, b);
      int reachX = 0, reachY = 0;
      for (auto [x, y] : c) {
        if (y == 0) reachX = std::max(reachX, std::abs(x));
        if (x == 0) reachY = std::max(reachY, std::abs(y));
      }
      ASSERT_EQ(reachY, b) << "a = " << a << ", b = " << b;
      ASSERT_EQ(reachX == a, a < 4 * b * b) << "a = " << a << ", b = " << b;
      ASSERT_LE(reachX, a) << "a = " << a << ", b = " << b;
    }
}

TEST(Ellipse, AStyledOutlineDrawsTheFourMirroredPointsOfAStepTogether) {
  std::vector<RasterPoint> pts;
  EllipsePoints(100, 50, 40, 25, LinePattern(2), pts);
  ASSERT_EQ(pts.size() % 4, 0u);
  for (size_t i = 0; i < pts.size(); i += 4) {
    int dx = pts[i].x - 100, dy = pts[i].y - 50;
    EXPECT_EQ(pts[i + 1].x, 100 - dx);
    EXPECT_EQ(pts[i + 1].y, 50 + dy);
    EXPECT_EQ(pts[i + 2].x, 100 + dx);
    EXPECT_EQ(pts[i + 2].y, 50 - dy);
    EXPECT_EQ(pts[i + 3].x, 100 - dx);
    EXPECT_EQ(pts[i + 3].y, 50 - dy);
  }
  // Dots of two steps in eight: the first two steps (from the top) drawn, the next six not.
  Cells solid = outline(40, 25), dotted = outline(40, 25, 2);
  EXPECT_TRUE(dotted.count({0, 25}) && dotted.count({1, 25}));
  EXPECT_FALSE(dotted.count({2, 25}));
  EXPECT_LT(dotted.size() * 2, solid.size());
}

// Semi-axes far beyond the window must walk without overflow and stay on the ellipse.
TEST(Ellipse, HugeSemiAxesStayInBounds) {
  std::vector<RasterSpan> spans;
  EllipseSpans(0, 0, 5000, 3000, spans);
  for (const RasterSpan& s : spans) {
    ASSERT_LE(std::abs(s.x1), 5000);
    ASSERT_LE(std::abs(s.y), 3000);
  }
  EXPECT_EQ(spans.front().y, 3000);
  EXPECT_EQ(spans.back().y, 0);
  EXPECT_EQ(std::abs(spans.back().x1), 5000);
}
