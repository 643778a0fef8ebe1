#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "raster/raster_core.h"

using Cells = std::set<std::pair<int, int>>;

// Cells of a text mask centred on (0, 0): row i is y = i - rows/2, column j is x = j - cols/2.
static Cells mask(const std::vector<std::string>& rows) {
  Cells c;
  int h = int(rows.size()), w = int(rows[0].size());
  for (int i = 0; i < h; i++)
    for (int j = 0; j < w; j++)
      if (rows[i][j] == '#') c.insert({j - w / 2, i - h / 2});
  return c;
}

struct ShapeCase {
  const char* name;
  int r;
  std::vector<std::string> ring, disc;
};

static const ShapeCase shapes[] = {
    {"radius 0", 0, {"#"}, {"#"}},
    {"radius 1", 1, {"###", "#.#", "###"}, {"###", "###", "###"}},
    {"radius 2", 2,
     {".###.", "#...#", "#...#", "#...#", ".###."},
     {".###.", "#####", "#####", "#####", ".###."}},
    {"radius 3", 3,
     {"..###..", ".#...#.", "#.....#", "#.....#", "#.....#", ".#...#.", "..###.."},
     {"..###..", ".#####.", "#######", "#######", "#######", ".#####.", "..###.."}},
};

TEST(CirclePoints, DrawsTheRingOfEachRadius) {
  for (const auto& c : shapes) {
    SCOPED_TRACE(c.name);
    std::vector<RasterPoint> pts;
    CirclePoints(0, 0, c.r, pts);
    EXPECT_EQ(pts.size() % 8, 0u) << "eight points a step";
    Cells got;
    for (auto p : pts) got.insert({p.x, p.y});
    EXPECT_EQ(got, mask(c.ring));
  }
}

TEST(DiscSpans, FillsTheDiscOfEachRadius) {
  for (const auto& c : shapes) {
    SCOPED_TRACE(c.name);
    std::vector<RasterSpan> spans;
    DiscSpans(0, 0, c.r, spans);
    Cells got;
    for (auto s : spans)
      for (int x = s.x1; x <= s.x2; x++) got.insert({x, s.y});
    EXPECT_EQ(got, mask(c.disc));
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
