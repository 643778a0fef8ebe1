#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "raster/raster_core.h"
#include "tests/support/compare.h"

static constexpr uint32_t White = 0x7FFFFFFF, Black = 0x7F000000, Red = 0x7F0000FF;

struct Rect {
  int x, y, w, h;
  bool has(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};

// A canvas as fill hands it to FillCanvas: the output buffer and the work copy.
struct Canvas {
  std::vector<uint32_t> out, work;
  explicit Canvas(const std::vector<Rect>& walls = {}) : out(CanvasW * CanvasH, White) {
    for (const Rect& r : walls)
      for (int y = r.y; y < r.y + r.h; y++)
        for (int x = r.x; x < r.x + r.w; x++) at(x, y) = Black;
    work = out;
  }
  uint32_t& at(int x, int y) { return out[y * CanvasW + x]; }
  RasterRect fill(int x, int y, uint8_t p = 0, uint32_t colour = Red) {
    return FillCanvas(out.data(), work.data(), x, y, p, colour, White);
  }
};

// Compares a buffer with what it was plus the given rectangles solidly filled.
static testing::AssertionResult filledExactly(const std::vector<uint32_t>& got,
                                              const std::vector<uint32_t>& before,
                                              const std::vector<Rect>& filled) {
  return SameArea({CanvasW, CanvasH, got.data(), Layout::Abgr}, 0, 0, CanvasW, CanvasH,
                  [&](int x, int y) {
                    for (const Rect& r : filled)
                      if (r.has(x, y)) return Red;
                    return before[y * CanvasW + x];
                  });
}

struct RegionCase {
  const char* name;
  std::vector<Rect> walls;
  int x, y;
  std::vector<Rect> filled;
};

// clang-format off
static const RegionCase regions[] = {
    {"U, seeded in the left arm: left arm and bottom bar", {{320, 0, 1, 200}}, 100, 50,
     {{0, 0, 320, 400}, {320, 200, 320, 200}}},
    {"U, seeded in the right arm: right arm and bottom bar", {{320, 0, 1, 200}}, 500, 50,
     {{321, 0, 319, 200}, {0, 200, 640, 200}}},
    {"arch, seeded in the left leg: left leg and top bar", {{320, 200, 1, 200}}, 100, 300,
     {{0, 0, 640, 200}, {0, 200, 320, 200}}},
    {"pillar: only the leftmost span of a row", {{320, 100, 1, 200}}, 100, 50,
     {{0, 0, 640, 100}, {0, 100, 320, 200}, {0, 300, 640, 100}}},
    {"a foreign pixel above the seed stops the upward pass", {{300, 199, 1, 1}}, 300, 200,
     {{0, 200, 640, 200}}},
    {"seed on row 0", {}, 10, 0, {{0, 0, 640, 400}}},
    {"seed on row 399: its row, then upwards", {}, 639, 399, {{0, 0, 640, 400}}},
    {"seed on row 399 under a foreign pixel: its row only", {{5, 398, 1, 1}}, 5, 399,
     {{0, 399, 640, 1}}},
    {"a closed box", {{100, 100, 50, 1}, {100, 130, 50, 1}, {100, 100, 1, 31}, {149, 100, 1, 31}},
     120, 110, {{101, 101, 48, 29}}},
    {"the wall itself", {{320, 0, 1, 200}}, 320, 10, {{320, 0, 1, 200}}},
};
// clang-format on

TEST(FillCanvas, FillsEachExampleRegion) {
  for (const auto& c : regions) {
    SCOPED_TRACE(c.name);
    Canvas canvas(c.walls);
    const Canvas before = canvas;
    RasterRect box = canvas.fill(c.x, c.y);
    EXPECT_TRUE(filledExactly(canvas.out, before.out, c.filled));
    EXPECT_TRUE(filledExactly(canvas.work, before.work, c.filled)) << "work buffer";
    // The box of what was painted: the rectangles' bounds.
    int x1 = CanvasW, y1 = CanvasH, x2 = 0, y2 = 0;
    for (const Rect& r : c.filled) {
      x1 = std::min(x1, r.x), y1 = std::min(y1, r.y);
      x2 = std::max(x2, r.x + r.w), y2 = std::max(y2, r.y + r.h);
    }
    EXPECT_EQ(box.x, x1);
    EXPECT_EQ(box.y, y1);
    EXPECT_EQ(box.w, x2 - x1);
    EXPECT_EQ(box.h, y2 - y1);
  }
}

TEST(FillCanvas, SeedOutsideTheCanvasPaintsNothing) {
  for (auto [x, y] : {std::pair{-1, 10}, {640, 10}, {10, -1}, {10, 400}, {-5000, 99999}}) {
    SCOPED_TRACE(testing::Message() << x << ", " << y);
    Canvas canvas({{320, 0, 1, 200}});
    const Canvas before = canvas;
    RasterRect box = canvas.fill(x, y, 7);
    EXPECT_EQ(box.w, 0);
    EXPECT_EQ(box.h, 0);
    EXPECT_EQ(canvas.out, before.out);
    EXPECT_EQ(canvas.work, before.work);
  }
}

TEST(FillCanvas, SolidFillOnItsOwnColourChangesNothing) {
  Canvas canvas({{320, 0, 1, 200}, {10, 300, 600, 1}});
  const Canvas before = canvas;
  canvas.fill(100, 50, 0, White);
  EXPECT_EQ(canvas.out, before.out);
}

// The pattern belongs to canvas positions: two fills on either side of a wall give
// the same pixels as one fill over the canvas without the wall.
TEST(FillCanvas, PatternsJoinAcrossNeighbouringFills) {
  for (uint8_t p : {1, 9, 35}) {
    SCOPED_TRACE(int(p));
    Canvas whole, split({{320, 0, 1, 400}});
    whole.fill(0, 0, p);
    split.fill(10, 200, p);
    split.fill(600, 300, p);
    int wrong = 0;
    for (int y = 0; y < CanvasH; y++)
      for (int x = 0; x < CanvasW; x++)
        if (x != 320) wrong += whole.at(x, y) != split.at(x, y);
    EXPECT_EQ(wrong, 0);
    // The work buffer takes the solid colour, so a patterned fill is still one region.
    EXPECT_EQ(split.work[200 * CanvasW + 10], Red);
    EXPECT_EQ(split.work[200 * CanvasW + 600], Red);
  }
}

TEST(FillCanvas, PatternGapsTakeTheBackgroundColour) {
  for (uint8_t p = 0; p < 36; p++) {
    SCOPED_TRACE(int(p));
    Canvas canvas;
    canvas.fill(639, 399, p);
    int wrong = 0;
    for (int y = 0; y < CanvasH; y++)
      for (int x = 0; x < CanvasW; x++)
        wrong += canvas.at(x, y) != (FillPatternGap(x, y, p) ? White : Red);
    EXPECT_EQ(wrong, 0);
  }
}

// A span ends right before a foreign pixel wherever it lies in the row, seen from
// either side and from a seed next to it or far from it.
TEST(FillCanvas, ASpanEndsAtAForeignPixelInAnyColumn) {
  Canvas canvas({{0, 398, 640, 1}});  // the row above stops every upward pass
  uint32_t* out = &canvas.out[399 * CanvasW];
  uint32_t* work = &canvas.work[399 * CanvasW];
  for (int w = 0; w < CanvasW; w++) {
    std::vector<std::pair<int, int>> seeds;  // seed column, and the span it must give
    if (w > 0) seeds.insert(seeds.end(), {{0, 0}, {w - 1, 0}});
    if (w < CanvasW - 1) seeds.insert(seeds.end(), {{w + 1, w + 1}, {CanvasW - 1, w + 1}});
    for (auto [seed, from] : seeds) {
      std::fill(out, out + CanvasW, White);
      out[w] = Black;
      std::copy(out, out + CanvasW, work);
      canvas.fill(seed, 399);
      int to = from == 0 ? w - 1 : CanvasW - 1;
      for (int x = 0; x < CanvasW; x++)
        ASSERT_EQ(out[x], x == w                 ? Black
                          : x >= from && x <= to ? Red
                                                 : White)
            << "wall " << w << ", seed " << seed << ", x " << x;
    }
  }
}

// msvcrt's generator after srand(0) and srand(1) starts with 38 and 41. The other rows
// were worked out apart from this code: the seed (x + 640y)·p·1000 modulo 2^32, the
// first rand after srand(seed), and whether that is a multiple of 3 (a gap).
TEST(FillPattern, IsTheFirstMsvcrtRandOfThePixelSeed) {
  EXPECT_EQ(MsvcrtFirstRand(0), 38u);
  EXPECT_EQ(MsvcrtFirstRand(1), 41u);
  struct {
    int x, y, p;
    uint32_t seed, rand;
    bool gap;
    // clang-format off
  } rows[] = {
      {1, 0, 1, 1000, 3304, false},
      {0, 1, 2, 1280000, 18444, true},
      {5, 3, 9, 17325000, 18630, true},
      {300, 200, 17, 2181100000u, 4099, false},
      {639, 399, 35, 370030408, 10883, false},  // 8,959,965,000 wrapped
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.x << ", " << r.y << ", " << r.p);
    EXPECT_EQ(MsvcrtFirstRand(r.seed), r.rand);
    EXPECT_EQ(FillPatternGap(r.x, r.y, uint8_t(r.p)), r.gap);
  }
}

// The first 48 pixels of some rows, worked out the same way; '.' is a gap.
TEST(FillPattern, RowsOfSomePatterns) {
  struct {
    int p, y;
    const char* row;
    // clang-format off
  } rows[] = {
      {1, 0, "######.#.#.##.#.#.#.##.#.#.#.#..#.#.######.#####"},
      {7, 224, "#####...#######..#....######...##########....###"},
      {12, 300, "#.##..##.###.##..#.###.##..##.###.###.#.###.###."},
      {35, 399, "#.#.##.#.####.#..#.####.#.##.#.####.#..#.#.#..#."},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << "pattern " << r.p << ", row " << r.y);
    std::string got;
    for (int x = 0; x < 48; x++) got += FillPatternGap(x, r.y, uint8_t(r.p)) ? '.' : '#';
    EXPECT_EQ(got, r.row);
  }
}

TEST(FillPattern, ThirtySixDistinctPatternsOfAboutOneThirdBackground) {
  std::vector<std::vector<bool>> seen;
  for (uint8_t p = 0; p < 36; p++) {
    SCOPED_TRACE(int(p));
    std::vector<bool> gaps(CanvasW * CanvasH);
    int n = 0;
    for (int y = 0; y < CanvasH; y++)
      for (int x = 0; x < CanvasW; x++) n += gaps[y * CanvasW + x] = FillPatternGap(x, y, p);
    if (p == 0) {
      EXPECT_EQ(n, 0) << "pattern 0 is solid";
    } else {
      EXPECT_NEAR(n / double(CanvasW * CanvasH), 1 / 3.0, 0.02);
    }
    for (const auto& s : seen) EXPECT_NE(s, gaps);
    seen.push_back(gaps);
  }
}
