#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "raster/raster_core.h"
#include "tests/raster/cells.h"
#include "tests/support/shapes.h"

struct ShapeCase {
  const char* name;
  int r;
  std::vector<std::string> ring, disc;
};

// clang-format off
static const ShapeCase shapes[] = {
    {"radius 0", 0, {"#"}, {"#"}},
    {"radius 1", 1, {"###", "#.#", "###"}, {"###", "###", "###"}},
    {"radius 2", 2,
     {".###.", "#...#", "#...#", "#...#", ".###."},
     {".###.", "#####", "#####", "#####", ".###."}},
    {"radius 3", 3,
     {"..###..", ".#...#.", "#.....#", "#.....#", "#.....#", ".#...#.", "..###.."},
     {"..###..", ".#####.", "#######", "#######", "#######", ".#####.", "..###.."}},
    {"radius 4", 4,
     {"..#####..", ".#.....#.", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#",
      ".#.....#.", "..#####.."},
     {"..#####..", ".#######.", "#########", "#########", "#########", "#########", "#########",
      ".#######.", "..#####.."}},
    {"radius 8", 8,
     {".....#######.....", "....#.......#....", "..##.........##..", "..#...........#..",
      ".#.............#.", "#...............#", "#...............#", "#...............#",
      "#...............#", "#...............#", "#...............#", "#...............#",
      ".#.............#.", "..#...........#..", "..##.........##..", "....#.......#....",
      ".....#######....."},
     {".....#######.....", "....#########....", "..#############..", "..#############..",
      ".###############.", "#################", "#################", "#################",
      "#################", "#################", "#################", "#################",
      ".###############.", "..#############..", "..#############..", "....#########....",
      ".....#######....."}},
};
// clang-format on

TEST(CirclePoints, DrawsTheRingOfEachRadius) {
  for (const auto& c : shapes) {
    SCOPED_TRACE(c.name);
    std::vector<RasterPoint> pts;
    CirclePoints(0, 0, c.r, pts);
    EXPECT_EQ(pts.size() % 8, 0u) << "eight points a step";
    EXPECT_TRUE(SameCells(cellsOf(pts), mask(c.ring)));
  }
}

TEST(DiscSpans, FillsTheDiscOfEachRadius) {
  for (const auto& c : shapes) {
    SCOPED_TRACE(c.name);
    std::vector<RasterSpan> spans;
    DiscSpans(0, 0, c.r, spans);
    EXPECT_TRUE(SameCells(cellsOf(spans), mask(c.disc)));
  }
}

// Every radius up to 50 against the closed formulas, which do not walk.
TEST(CircleWalks, MatchTheReferenceRingAndDiscUpToRadius50) {
  for (int r = 0; r <= 50; r++) {
    SCOPED_TRACE(testing::Message() << "radius " << r);
    Cells ring, disc;
    for (int dy = -r - 1; dy <= r + 1; dy++)
      for (int dx = -r - 1; dx <= r + 1; dx++) {
        if (OnRing(dx, dy, r)) ring.insert({dx, dy});
        if (InDisc(dx, dy, r)) disc.insert({dx, dy});
      }
    std::vector<RasterPoint> pts;
    std::vector<RasterSpan> spans;
    CirclePoints(0, 0, r, pts);
    DiscSpans(0, 0, r, spans);
    EXPECT_TRUE(SameCells(cellsOf(pts), ring));
    EXPECT_TRUE(SameCells(cellsOf(spans), disc));
  }
}

TEST(CircleWalks, NegativeRadiusDrawsNothingAndCentreMoves) {
  std::vector<RasterPoint> pts;
  std::vector<RasterSpan> spans;
  CirclePoints(5, 5, -1, pts);
  DiscSpans(5, 5, -1, spans);
  EXPECT_TRUE(pts.empty());
  EXPECT_TRUE(spans.empty());
  DiscSpans(100, 50, 1, spans);
  for (auto s : spans) {
    EXPECT_EQ(s.x1, 99);
    EXPECT_EQ(s.x2, 101);
    EXPECT_GE(s.y, 49);
    EXPECT_LE(s.y, 51);
  }
}
