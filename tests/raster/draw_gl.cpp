#include <functional>
#include <string>
#include <vector>

#include "paint/paint.h"
#include "platform/platform.h"
#include "raster/raster.h"
#include "tests/support/gl.h"
#include "tests/support/shapes.h"

// Drawn colour with every byte distinct, so a wrong channel or a lost alpha shows.
static constexpr uint32_t Ink = Px(0x30, 0x20, 0x10, 0x08);
static constexpr SDL_Rect Area = {0, 0, 40, 24};

// "Inwersja" blends destination minus source, byte by byte, clamped at 0: a pixel
// drawn n times loses n times the source.
static uint32_t inverted(uint32_t dst, uint32_t src, int n) {
  uint32_t out = 0;
  for (int sh = 0; sh < 32; sh += 8) {
    int v = int((dst >> sh) & 0xFF) - n * int((src >> sh) & 0xFF);
    out |= uint32_t(v < 0 ? 0 : v) << sh;
  }
  return out;
}

// The area as drawn on background bg: mask digits are how many times the routine
// draws a pixel, the mask's top-left corner at (ox, oy).
static Image expected(const std::vector<std::string>& rows, int ox, int oy, uint32_t bg,
                      bool inversion) {
  Image img(Area.w, Area.h, bg);
  for (int i = 0; i < int(rows.size()); i++)
    for (int j = 0; j < int(rows[i].size()); j++)
      if (rows[i][j] != '.') {
        int n = rows[i][j] - '0';
        img.at(ox + j, oy + i) = inversion ? inverted(bg, Ink, n) : Ink;
      }
  return img;
}

struct DrawCase {
  const char* name;
  uint8_t width, style;
  std::function<void()> draw;
  int ox, oy;
  std::vector<std::string> times;
};

// clang-format off
static const DrawCase draws[] = {
    {"plot, pen 1", 1, 0, [] { plot(5, 5); }, 5, 5, {"1"}},
    {"plot, pen 0", 0, 0, [] { plot(5, 5); }, 5, 5, {"1"}},
    {"plot, pen 2: a 3x3 square, rows twice", 2, 0, [] { plot(5, 5); }, 4, 4,
     {"222", "222", "222"}},
    {"line, solid", 1, 0, [] { line(2, 2, 12, 5, 0); }, 2, 2,
     {"11.........", "..1111.....", "......111..", ".........11"}},
    {"line, style 2, pen 2: overlapping discs", 2, 0, [] { line(3, 3, 12, 3, 2); }, 2, 2,
     {"2442....2442", "2442....2442", "2442....2442"}},
    {"DrawCircle, radius 2", 1, 0, [] { DrawCircle(10, 10, 2); }, 8, 8,
     {".121.", "1...1", "2...2", "1...1", ".121."}},
    {"DrawCircleF, radius 2", 1, 0, [] { DrawCircleF(10, 10, 2); }, 8, 8,
     {".111.", "11111", "22222", "11111", ".111."}},
    {"ellipse outline 3x2", 1, 0, [] { ellipse(10, 10, 3, 2, 0); }, 7, 8,
     {"..121..", ".1...1.", "2.....2", ".1...1.", "..121.."}},
    {"ellipse outline 4x1, style 2 from lin_r: steps 0 and 1 of 4", 1, 2,
     [] { ellipse(10, 10, 4, 1, 0); }, 9, 9, {"121", "...", "121"}},
    {"ellipse filled 3x2", 1, 0, [] { ellipse(10, 10, 3, 2, 1); }, 7, 8,
     {"..121..", ".11111.", "2222222", ".11111.", "..121.."}},
};
// clang-format on

class Draw : public GLTest {
 protected:
  // Draws c on a white canvas with the given blend mode and reads the area back.
  Image drawn(const DrawCase& c, SDL_BlendMode mode) {
    ClearTarget(GEMScreen, GEMColor[0]);
    SDL_SetRenderTarget(SDLRenderer, GEMScreen);
    SDL_SetRenderDrawBlendMode(SDLRenderer, mode);
    SDLDrawColor(Ink);
    lin_szer = c.width;
    lin_r = c.style;
    c.draw();
    return ReadPixels(GEMScreen, &Area);
  }
};

TEST_F(Draw, EachRoutineDrawsWithTheCurrentColour) {
  for (const auto& c : draws) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(
        SameImage(drawn(c, SDL_BLENDMODE_NONE), expected(c.times, c.ox, c.oy, GEMColor[0], false)));
  }
}

TEST_F(Draw, EachRoutineBlendsEveryDrawingOfAPixelInInwersja) {
  ASSERT_NE(tryb_b[4], SDL_BLENDMODE_NONE);
  for (const auto& c : draws) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(SameImage(drawn(c, tryb_b[4]), expected(c.times, c.ox, c.oy, GEMColor[0], true)));
  }
}

// DrawLine and DrawRect stand for SDL_RenderDrawLine and SDL_RenderDrawRect, the
// reference here: on the same renderer, in "Inwersja", where a pixel drawn twice shows,
// both leave the same pixels.
TEST_F(Draw, ThinLinesAndFramesLeaveWhatSDLsOwnLeave) {
  struct {
    const char* name;
    bool frame;  // a, b, c, d: x, y, w, h of a frame, or the ends of a line
    int a, b, c, d;
    // clang-format off
  } cases[] = {
      {"a row", false, 3, 5, 30, 5},
      {"a row drawn back", false, 30, 5, 3, 5},
      {"a column", false, 6, 2, 6, 20},
      {"a column drawn back", false, 6, 20, 6, 2},
      {"one pixel", false, 7, 7, 7, 7},
      {"shallow", false, 2, 3, 35, 12},
      {"shallow drawn back", false, 35, 12, 2, 3},
      {"steep, drawn back", false, 20, 22, 14, 1},
      {"diagonal", false, 1, 1, 20, 20},
      {"anti-diagonal", false, 1, 20, 20, 1},
      {"reaching past the area and the target", false, -5, 10, 700, 15},
      {"frame", true, 3, 4, 20, 10},
      {"frame one pixel wide: its column twice", true, 5, 2, 1, 12},
      {"frame one pixel high: its row twice", true, 2, 5, 15, 1},
      {"frame of one pixel", true, 9, 9, 1, 1},
      {"frame from its far corner", true, 30, 20, -12, -8},
      {"frame of width 0: back from x", true, 10, 5, 0, 6},
      {"frame of width -1, height 2", true, 10, 5, -1, 2},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto sdls = [&] {
      if (c.frame) {
        SDL_Rect r = {c.a, c.b, c.c, c.d};
        SDL_RenderDrawRect(SDLRenderer, &r);
      } else {
        SDL_RenderDrawLine(SDLRenderer, c.a, c.b, c.c, c.d);
      }
    };
    auto ours = [&] { c.frame ? DrawRect(c.a, c.b, c.c, c.d) : DrawLine(c.a, c.b, c.c, c.d); };
    Image want = drawn({"", 1, 0, sdls, 0, 0, {}}, tryb_b[4]);
    ASSERT_FALSE(SameImage(want, Image(Area.w, Area.h, GEMColor[0]))) << "SDL drew nothing";
    EXPECT_TRUE(SameImage(drawn({"", 1, 0, ours, 0, 0, {}}, tryb_b[4]), want));
  }
}

// A wide pen is a disc of radius lin_szer / 2 at every point.
TEST_F(Draw, PenWidthIsADiscOfHalfTheWidth) {
  for (auto [width, r] : {std::pair{2, 1}, {3, 1}, {4, 2}, {5, 2}, {14, 7}, {16, 8}, {22, 11}}) {
    SCOPED_TRACE(width);
    DrawCase pen = {"", uint8_t(width), 0, [] { plot(20, 11); }, 0, 0, {}};
    Image want(Area.w, Area.h, GEMColor[0]);
    for (int py = 0; py < Area.h; py++)
      for (int px = 0; px < Area.w; px++)
        if (InDisc(px - 20, py - 11, r)) want.at(px, py) = Ink;
    EXPECT_TRUE(SameImage(drawn(pen, SDL_BLENDMODE_NONE), want));
  }
}
