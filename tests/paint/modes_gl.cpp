// The five drawing modes: each draws with its own blend mode.
#include <algorithm>
#include <cstdio>

#include "tests/paint/draw_gl.h"

// x·y / 255 for two 8-bit values, rounded as the renderer rounds it. OpenGL blends in
// the framebuffer's 8 bits and rounds each product of a value and its factor on its
// own before adding; Mesa's llvmpipe forms the product as (p + (p >> 8) + 128) >> 8
// with p = x·y. That is p / 255 rounded to nearest except for twelve products just
// above a half (191·253 gives 189). So a blend can come out one below the exactly
// rounded result: 127 at alpha 127 over 128 gives 63 + 64 = 127, not 127.5 rounded up.
static int times(int x, int y) {
  int p = x * y;
  return (p + (p >> 8) + 128) >> 8;
}

enum class Equation { Replace, Blend, Add, Mod, Subtract };

// Channel by channel, s the source (the draw colour), d the picture, a the source's
// alpha, 255 standing for 1. SDL documents its modes (SDL_blendmode.h) as
//   SDL_BLENDMODE_NONE:  d = s, alpha too;
//   SDL_BLENDMODE_BLEND: d = s·a + d·(1 − a), alpha d = a + d·(1 − a);
//   SDL_BLENDMODE_ADD:   d = s·a + d, alpha d kept;
//   SDL_BLENDMODE_MOD:   d = s·d, alpha d kept;
// and the composed mode with factors one and one and the reverse subtraction gives
// d = d − s for the colour and the alpha alike. Sums stop at 255, differences at 0.
static uint32_t blended(Equation e, uint32_t src, uint32_t dst) {
  int a = int(src >> 24);
  uint32_t out = 0;
  for (int sh = 0; sh < 32; sh += 8) {
    int s = int(src >> sh & 0xFF), d = int(dst >> sh & 0xFF), v = 0;
    bool alpha = sh == 24;
    switch (e) {
      case Equation::Replace: v = s; break;
      case Equation::Blend: v = (alpha ? a : times(s, a)) + times(d, 255 - a); break;
      case Equation::Add: v = alpha ? d : times(s, a) + d; break;
      case Equation::Mod: v = alpha ? d : times(s, d); break;
      case Equation::Subtract: v = d - s; break;
    }
    out |= uint32_t(std::clamp(v, 0, 255)) << sh;
  }
  return out;
}

using Modes = DrawingScreen;

// A point in light blue (127, 127, 255, alpha 127) on a picture whose every byte
// differs, through the way into the drawing screen: the five results all differ, so a
// mode with another's blend mode shows.
TEST_F(Modes, EachModeDrawsAPointWithItsBlendMode) {
  const uint32_t picture = Px(0x40, 0x80, 0xC0, 0xE0);
  const struct {
    const char* name;
    Equation equation;
    // clang-format off
  } modes[5] = {
      {"Wymiana", Equation::Replace}, {"Mieszanie", Equation::Blend}, {"Suma", Equation::Add},
      {"Iloczyn", Equation::Mod},     {"Inwersja", Equation::Subtract},
  };
  // clang-format on
  kolor = 12;
  for (uint8_t t = 0; t < 5; t++) {
    SCOPED_TRACE(modes[t].name);
    EXPECT_STREQ(tryb$[t], modes[t].name);
    tryb = t;
    ClearTarget(rob_e$, picture);
    do_ekranu();
    plot(100, 100);
    Image got = ReadPixels(GEMScreen, nullptr);
    uint32_t want = blended(modes[t].equation, GEMColor[12], picture);
    char hex[40];
    snprintf(hex, sizeof hex, "got %08X, want %08X", got.at(100, 100), want);
    EXPECT_EQ(got.at(100, 100), want) << hex;
    EXPECT_EQ(got.at(101, 100), picture) << "one pixel only";
  }
}
