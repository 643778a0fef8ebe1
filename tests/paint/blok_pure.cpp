#include <gtest/gtest.h>

#include "paint/blok_core.h"

static testing::AssertionResult Jest(const Prostokat& r, Prostokat want) {
  if (r.x == want.x && r.y == want.y && r.w == want.w && r.h == want.h)
    return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << "(" << r.x << ", " << r.y << ", " << r.w << " x " << r.h << "), expected (" << want.x
         << ", " << want.y << ", " << want.w << " x " << want.h << ")";
}

TEST(ProstokatBloku, SpansTheCornersInAnyOrderBothIncluded) {
  struct {
    const char* name;
    int32_t x1, y1, x2, y2;
    Prostokat want;
    // clang-format off
  } cases[] = {
      {"top-left, then bottom-right", 10, 20, 13, 24, {10, 20, 4, 5}},
      {"bottom-right, then top-left", 13, 24, 10, 20, {10, 20, 4, 5}},
      {"top-right, then bottom-left", 13, 20, 10, 24, {10, 20, 4, 5}},
      {"bottom-left, then top-right", 10, 24, 13, 20, {10, 20, 4, 5}},
      {"the same pixel twice", 50, 60, 50, 60, {50, 60, 1, 1}},
      {"one row", 5, 7, 0, 7, {0, 7, 6, 1}},
      {"the whole picture", 639, 399, 0, 0, {0, 0, 640, 400}},
      {"a corner dragged past the left and top edges", -30, -5, 4, 3, {0, 0, 5, 4}},
      {"a corner dragged past the right and bottom edges", 630, 390, 900, 1000, {630, 390, 10, 10}},
      {"wholly right of the picture", 700, 10, 800, 20, {0, 0, 0, 0}},
      {"wholly above the picture", 10, -20, 20, -1, {0, 0, 0, 0}},
      {"far outside both ways", INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, {0, 0, 640, 400}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(Jest(ProstokatBloku(c.x1, c.y1, c.x2, c.y2), c.want));
  }
}

TEST(UkladLupy, ZoomAndEnlargedSquareForEveryGridStep) {
  // kr, zoom factor, side of the enlarged square, side of the editable area on screen.
  struct {
    int32_t kr, zf, n, editable;
    // clang-format off
  } cases[] = {
      {1, 50, 8, 400}, {2, 25, 16, 400}, {3, 16, 25, 384}, {4, 12, 33, 384},
      {5, 10, 40, 400}, {6, 8, 50, 384},  {7, 7, 57, 392},  {8, 6, 66, 384},
      {9, 5, 80, 360},  {10, 5, 80, 400},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "kr " << c.kr);
    int32_t side = 8 * c.kr;
    Lupa l = UkladLupy(100, 100, side, side);
    EXPECT_EQ(l.zf, c.zf);
    EXPECT_EQ(l.n, c.n);
    EXPECT_EQ(side * l.zf, c.editable);
    EXPECT_EQ(l.cx, 100 - side / 2);
    EXPECT_EQ(l.cy, 200 - side / 2);
  }
}

TEST(UkladLupy, CellUnderTheClickAndWhatIsShownOfIt) {
  struct {
    const char* name;
    int32_t x, y, side;
    int32_t gx, gy;
    Prostokat okolica;
    int32_t ox, oy;
    Prostokat zrodlo, powiekszenie;
    // clang-format off
  } cases[] = {
      {"step 1, the cell at the origin", 3, 7, 8, 0, 0, {0, 0, 104, 104}, 96, 196,
       {0, 0, 8, 8}, {220, 0, 400, 400}},
      {"step 1, inside the picture", 333, 222, 8, 328, 216, {232, 120, 200, 200}, 0, 100,
       {328, 216, 8, 8}, {220, 0, 400, 400}},
      {"step 3: 25 pixels shown of a 24-pixel cell", 50, 50, 24, 48, 48, {0, 0, 160, 160}, 40,
       140, {48, 48, 25, 25}, {220, 0, 400, 400}},
      {"step 6 at x 624: the cell reaches past the right edge", 624, 30, 48, 624, 0,
       {548, 0, 92, 124}, 0, 176, {624, 0, 16, 50}, {220, 0, 128, 400}},
      {"step 6 at the bottom edge", 10, 399, 48, 0, 384, {0, 308, 124, 92}, 76, 100,
       {0, 384, 50, 16}, {220, 0, 400, 128}},
      {"step 10, bottom-right cell", 639, 399, 80, 560, 320, {500, 260, 140, 140}, 0, 100,
       {560, 320, 80, 80}, {220, 0, 400, 400}},
      {"step 9: the square runs past the last cell", 639, 399, 72, 576, 360,
       {512, 296, 128, 104}, 0, 100, {576, 360, 64, 40}, {220, 0, 320, 200}},
      {"a drag past the window's edge picks the nearest cell", -40, 450, 16, 0, 384,
       {0, 292, 108, 108}, 92, 100, {0, 384, 16, 16}, {220, 0, 400, 400}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Lupa l = UkladLupy(c.x, c.y, c.side, c.side);
    EXPECT_EQ(l.gx, c.gx);
    EXPECT_EQ(l.gy, c.gy);
    EXPECT_TRUE(Jest(l.okolica, c.okolica)) << "one to one";
    EXPECT_EQ(l.ox, c.ox);
    EXPECT_EQ(l.oy, c.oy);
    EXPECT_EQ(l.okolica.x - l.ox + l.cx, l.gx) << "the cell lands at cx";
    EXPECT_EQ(l.okolica.y - l.oy + l.cy, l.gy) << "the cell lands at cy";
    EXPECT_TRUE(Jest(l.zrodlo, c.zrodlo)) << "enlarged, from";
    EXPECT_TRUE(Jest(l.powiekszenie, c.powiekszenie)) << "enlarged, to";
  }
}

TEST(KolorPaska, SixteenSquaresOfTwelvePixels) {
  struct {
    int32_t x, y, want;
    // clang-format off
  } cases[] = {
      {0, 0, 0},   {11, 11, 0},  {12, 0, 1},   {100, 5, 8},  {191, 11, 15},
      {192, 0, -1}, {0, 12, -1}, {-1, 5, -1},  {5, -1, -1},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ")");
    EXPECT_EQ(KolorPaska(c.x, c.y), c.want);
  }
}

TEST(PikselLupy, CellPixelUnderTheClickInTheEditableArea) {
  struct {
    const char* name;
    int32_t x, y, side, zf;
    bool hit;
    int32_t ex, ey;
    // clang-format off
  } cases[] = {
      {"step 1, first square", 220, 0, 8, 50, true, 0, 0},
      {"step 1, last pixel of the first square", 269, 49, 8, 50, true, 0, 0},
      {"step 1, second square", 270, 50, 8, 50, true, 1, 1},
      {"step 1, last square", 619, 399, 8, 50, true, 7, 7},
      {"left of the area", 219, 10, 8, 50, false, 0, 0},
      {"step 3, the shown 25th column is not editable", 220 + 24 * 16, 10, 24, 16, false, 0, 0},
      {"step 3, the 24th column is", 220 + 24 * 16 - 1, 383, 24, 16, true, 23, 23},
      {"step 3, below the area", 300, 384, 24, 16, false, 0, 0},
      {"step 6 at x 624: the whole area takes clicks", 220 + 40 * 8 + 3, 9, 48, 8, true, 40, 1},
      {"above the window", 300, -1, 8, 50, false, 0, 0},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int32_t ex = 0, ey = 0;
    EXPECT_EQ(PikselLupy(c.x, c.y, c.side, c.side, c.zf, ex, ey), c.hit);
    if (c.hit) {
      EXPECT_EQ(ex, c.ex);
      EXPECT_EQ(ey, c.ey);
    }
  }
}
