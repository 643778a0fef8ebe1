#include <gtest/gtest.h>

#include "platform/present_core.h"

TEST(FitScreen, LargestWholeScaleCentredInTheDrawable) {
  struct {
    int32_t w, h;
    ScreenView want;
    // clang-format off
  } cases[] = {
      {640, 400, {1, 0, 0}},
      {641, 401, {1, 0, 0}},  // the odd pixel goes right and below
      {1279, 800, {1, 319, 200}},
      {1280, 800, {2, 0, 0}},
      {1920, 1080, {2, 320, 140}},
      {1920, 1200, {3, 0, 0}},
      {2560, 1600, {4, 0, 0}},
      {3840, 2160, {5, 320, 80}},
      {1000, 2000, {1, 180, 800}},  // the narrow side decides
      {600, 300, {1, -20, -50}},    // smaller than the screen: its middle, cut equally
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
    ScreenView v = FitScreen(c.w, c.h);
    EXPECT_EQ(v.n, c.want.n);
    EXPECT_EQ(v.x, c.want.x);
    EXPECT_EQ(v.y, c.want.y);
  }
}

TEST(PictureFromWindow, PicturePositionsBorderClampedOffWindowAsTheyAre) {
  struct {
    const char* what;
    int32_t winW, winH, drawW, drawH, wx, wy;
    PointerPlace place;
    int32_t px, py;
    // clang-format off
  } cases[] = {
      {"scale 1, corner", 640, 400, 640, 400, 0, 0, ON_PICTURE, 0, 0},
      {"scale 1, far corner", 640, 400, 640, 400, 639, 399, ON_PICTURE, 639, 399},
      {"scale 1, past the right edge", 640, 400, 640, 400, 700, -3, OFF_WINDOW, 700, -3},
      {"scale 3, first square", 1920, 1200, 1920, 1200, 2, 2, ON_PICTURE, 0, 0},
      {"scale 3, second square", 1920, 1200, 1920, 1200, 3, 5, ON_PICTURE, 1, 1},
      {"scale 3, last square", 1920, 1200, 1920, 1200, 1919, 1199, ON_PICTURE, 639, 399},
      {"centred at 2, first pixel", 1920, 1080, 1920, 1080, 320, 140, ON_PICTURE, 0, 0},
      {"centred at 2, one left of it", 1920, 1080, 1920, 1080, 319, 140, IN_BORDER, 0, 0},
      {"centred at 2, border corner", 1920, 1080, 1920, 1080, 0, 0, IN_BORDER, 0, 0},
      {"centred at 2, right border", 1920, 1080, 1920, 1080, 1600, 500, IN_BORDER, 639, 180},
      {"centred at 2, below", 1920, 1080, 1920, 1080, 1000, 1079, IN_BORDER, 340, 399},
      {"centred at 2, left of the window", 1920, 1080, 1920, 1080, -5, 140, OFF_WINDOW, -163, 0},
      {"centred at 2, below the window", 1920, 1080, 1920, 1080, 400, 1100, OFF_WINDOW, 40, 480},
      // Twice as many pixels as units: a unit is two pixels, the squares four.
      {"high density, first pixel", 960, 540, 1920, 1080, 160, 70, ON_PICTURE, 0, 0},
      {"high density, next unit", 960, 540, 1920, 1080, 161, 71, ON_PICTURE, 1, 1},
      {"high density, right border", 960, 540, 1920, 1080, 959, 100, IN_BORDER, 639, 30},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScreenView v = FitScreen(c.drawW, c.drawH);
    int32_t px = -99, py = -99;
    EXPECT_EQ(PictureFromWindow(v, c.winW, c.winH, c.drawW, c.drawH, c.wx, c.wy, &px, &py),
              c.place);
    EXPECT_EQ(px, c.px);
    EXPECT_EQ(py, c.py);
  }
}

TEST(StartScale, LargestThatFitsTheUsableAreaWithTheFrame) {
  struct {
    int32_t w, h, frameW, frameH, want;
    // clang-format off
  } cases[] = {
      {800, 600, 0, 0, 1},     {1024, 768, 0, 0, 1}, {1280, 800, 0, 0, 2},
      {1280, 800, 0, 30, 1},   {1920, 1080, 0, 0, 2}, {1920, 1080, 4, 30, 2},
      {2560, 1600, 0, 0, 4},   {2560, 1600, 4, 28, 3}, {3840, 2160, 0, 0, 5},
      {7680, 4320, 0, 0, 10},  // the start takes what fits; only a chosen scale stops at 8
      {600, 300, 0, 0, 1},     {0, 0, 0, 0, 1},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.w << "x" << c.h << " frame " << c.frameW << "x" << c.frameH);
    EXPECT_EQ(StartScale(c.w, c.h, c.frameW, c.frameH), c.want);
  }
}

TEST(ScaleFromText, WholeNumbersOneToEightOnly) {
  struct {
    const char* s;
    int32_t want;
    // clang-format off
  } cases[] = {
      {"1", 1},  {"8", 8},   {"3", 3},   {"02", 2},  {"0", 0},  {"9", 0},
      {"10", 0}, {"x", 0},   {"", 0},    {"-1", 0},  {"+2", 0}, {" 2", 0},
      {"2 ", 0}, {"3x", 0},  {"2.0", 0}, {"99999999999999999999", 0},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.s);
    EXPECT_EQ(ScaleFromText(c.s), c.want);
  }
  EXPECT_EQ(ScaleFromText(nullptr), 0);
}
