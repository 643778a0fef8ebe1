#include <gtest/gtest.h>

#include "paint/draw_core.h"

TEST(Promien, IsTheDistanceTruncated) {
  struct {
    int32_t x1, y1, x2, y2, want;
    // clang-format off
  } cases[] = {
      {10, 10, 10, 10, 0},          // the centre itself
      {10, 10, 13, 13, 4},          // root of 18 is 4.24
      {10, 10, 12, 13, 3},          // root of 13 is 3.61: truncated, not rounded
      {10, 10, 13, 14, 5},          // exact
      {10, 10, 7, 7, 4},            // either side of the centre
      {0, 0, 639, 399, 753},        // the canvas diagonal, root of 567522
      {-30000, 0, 30000, 40000, 72111},  // a drag far past the window's edge
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "(" << c.x1 << "," << c.y1 << ")-(" << c.x2 << "," << c.y2 << ")");
    EXPECT_EQ(promien(c.x1, c.y1, c.x2, c.y2), c.want);
  }
}

TEST(LinieKraty, SpanTheCanvasFromRowAndColumnZero) {
  struct {
    int32_t step, verticals, horizontals, lastX, lastY;
    // clang-format off
  } cases[] = {
      {8, 80, 50, 632, 392},
      {16, 40, 25, 624, 384},
      {80, 8, 5, 560, 320},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "spacing " << c.step);
    std::vector<RasterRect> l;
    linie_kraty(c.step, c.step, l);
    ASSERT_EQ(int(l.size()), c.verticals + c.horizontals);
    EXPECT_EQ(l.front().x, 0);
    EXPECT_EQ(l.front().w, 1);
    EXPECT_EQ(l.front().h, 400) << "columns run the full height";
    const RasterRect& lastV = l[c.verticals - 1];
    EXPECT_EQ(lastV.x, c.lastX);
    EXPECT_EQ(lastV.w, 1);
    const RasterRect& firstH = l[c.verticals];
    EXPECT_EQ(firstH.y, 0);
    EXPECT_EQ(firstH.h, 1);
    EXPECT_EQ(firstH.w, 641) << "rows reach one past the last column";
    EXPECT_EQ(l.back().y, c.lastY);
    for (int i = 1; i < c.verticals; i++) EXPECT_EQ(l[i].x - l[i - 1].x, c.step);
  }
}

TEST(LinieKraty, NoSpacingNoLines) {
  std::vector<RasterRect> l;
  linie_kraty(0, 0, l);
  EXPECT_TRUE(l.empty());
}
