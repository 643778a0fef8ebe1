#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
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

// clang-format off
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
    {"a = b = 4: (3, 3) still steps by columns", 4, 4,
     {"...###...", ".##...##.", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#",
      ".##...##.", "...###..."},
     {"...###...", ".#######.", "#########", "#########", "#########", "#########", "#########",
      ".#######.", "...###..."}},
    {"a = 1, b = 3", 1, 3,
     {".#.", "#.#", "#.#", "#.#", "#.#", "#.#", ".#."},
     {".#.", "###", "###", "###", "###", "###", ".#."}},
};
// clang-format on

TEST(Ellipse, DrawsEachExampleShape) {
  for (const auto& c : ellipses) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(SameCells(outline(c.a, c.b), mask(c.outline)));
    EXPECT_TRUE(SameCells(filled(c.a, c.b), mask(c.filled)));
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

// The quadrant walk written out plainly, as offsets (x, y) from the centre from the top
// (0, |b|) to row 0: each candidate's error B2·x² + A2·y² − A2·B2 computed afresh
// rather than carried along. While the curve is flatter than 45 degrees (B2·x ≤ A2·y
// at the last point) every step goes a column out, and a row in as well when the
// errors of the straight and the diagonal candidate sum to 0 or more; from there on
// every step goes a row in, and a column out as well when they sum to 0 or less.
static std::vector<std::pair<int, int>> referenceSteps(int a, int b) {
  std::vector<std::pair<int, int>> steps;
  if (a == 0 || b == 0) return steps;
  const int64_t A2 = int64_t(a) * a, B2 = int64_t(b) * b;
  auto error = [&](int64_t x, int64_t y) { return B2 * x * x + A2 * y * y - A2 * B2; };
  int x = 0, y = std::abs(b);
  bool steep = false;
  while (y >= 0) {
    steps.push_back({x, y});
    steep = steep || B2 * x > A2 * y;
    if (!steep) {
      if (error(x + 1, y) + error(x + 1, y - 1) >= 0) y--;
      x++;
    } else {
      if (error(x, y - 1) + error(x + 1, y - 1) <= 0) x++;
      y--;
    }
  }
  return steps;
}

// Both walks, point by point in drawing order, against the plain walk: every pair of
// semi-axes up to 50 (round shapes a = b included) and flat ones up to a = 200.
TEST(Ellipse, MatchesThePlainWalkPointByPoint) {
  for (int b = 1; b <= 50; b++)
    for (int a = 1; a <= (b <= 5 ? 200 : 50); a++) {
      std::vector<RasterPoint> wantPts, pts;
      std::vector<RasterSpan> wantSpans, spans;
      for (auto [sx, sy] : referenceSteps(a, b)) {
        wantPts.insert(wantPts.end(), {{sx, sy}, {-sx, sy}, {sx, -sy}, {-sx, -sy}});
        wantSpans.insert(wantSpans.end(), {{sx, -sx, sy}, {sx, -sx, -sy}});
      }
      EllipsePoints(0, 0, a, b, LinePattern(0), pts);
      EllipseSpans(0, 0, a, b, spans);
      ASSERT_EQ(pts.size(), wantPts.size()) << "a = " << a << ", b = " << b;
      for (size_t i = 0; i < pts.size(); i++)
        ASSERT_TRUE(pts[i].x == wantPts[i].x && pts[i].y == wantPts[i].y)
            << "a = " << a << ", b = " << b << ", point " << i << ": (" << pts[i].x << ", "
            << pts[i].y << "), want (" << wantPts[i].x << ", " << wantPts[i].y << ")";
      ASSERT_EQ(spans.size(), wantSpans.size()) << "a = " << a << ", b = " << b;
      for (size_t i = 0; i < spans.size(); i++)
        ASSERT_TRUE(spans[i].x1 == wantSpans[i].x1 && spans[i].x2 == wantSpans[i].x2 &&
                    spans[i].y == wantSpans[i].y)
            << "a = " << a << ", b = " << b << ", span " << i;
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
