#include <string>

#include "paint/paint.h"
#include "platform/platform.h"
#include "tests/support/gl.h"
#include "toolkit/toolkit.h"

// The font image as loaded at start-up: is (x, y) of the image glyph ink?
static bool fontInk(int x, int y) {
  SDL_Surface* s = SDL_ConvertSurfaceFormat(SDLSurface, SDL_PIXELFORMAT_ABGR8888, 0);
  uint32_t p = ((uint32_t*)((uint8_t*)s->pixels + y * s->pitch))[x];
  SDL_FreeSurface(s);
  return (p & 0xFFFFFF) != 0;
}

// Expected target: background bg, and each (cell, x, y) drawn as the font cell at
// double size in colour ink.
static Image expectGlyphs(int w, int h, uint32_t bg, uint32_t ink,
                          const std::vector<GlyphDraw>& glyphs) {
  Image img(w, h, bg);
  for (const auto& g : glyphs)
    for (int fy = 0; fy < 8; fy++)
      for (int fx = 0; fx < 8; fx++)
        if (fontInk(8 * g.cell + fx, fy))
          for (int d = 0; d < 4; d++) {
            int px = g.x + 2 * fx + d % 2, py = g.y + 2 * fy + d / 2;
            if (px >= 0 && py >= 0 && px < w && py < h) img.at(px, py) = ink;
          }
  return img;
}

class Print : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    ASSERT_NE(BASFont, nullptr) << "BASFont.bmp must be in the working directory";
    ClearTarget(GEMScreen, bg);
    SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  }
  const uint32_t bg = Px(0, 0, 0, 255);
};

TEST_F(Print, FontImageHasTheFixedLayout) {
  EXPECT_GE(SDLSurface->w, 912);
  EXPECT_GE(SDLSurface->h, 8);
  // The text cursor is the stem of '|': column 4, rows 1..6 of cell 92.
  for (int y = 1; y <= 6; y++) EXPECT_TRUE(fontInk(8 * 92 + 4, y)) << "row " << y;
  // The scroll arrow inside '^': its tip at the top centre, a full base lower down.
  EXPECT_TRUE(fontInk(499, 1));
  EXPECT_FALSE(fontInk(497, 1));
  EXPECT_FALSE(fontInk(501, 1));
}

TEST_F(Print, DrawsLadujInItsCellsAndColour) {
  SDL_SetTextureColorMod(BASFont, 255, 0, 0);
  GPR.x = 100;
  GPR.y = 40;
  SDLGPrint("Ładuj", 0xFFFFFFFF, 1, 640, 400, 0);
  EXPECT_EQ(GPR.x, 180);
  EXPECT_EQ(GPR.y, 40);
  Image want = expectGlyphs(640, 400, bg, Px(255, 0, 0, 255),
                            {{99, 100, 40}, {65, 116, 40}, {68, 132, 40}, {85, 148, 40}, {74, 164, 40}});
  EXPECT_TRUE(SameImage(ReadPixels(GEMScreen), want));
}

TEST_F(Print, WrapsAndClipsAtTheRightLimit) {
  SDL_SetTextureColorMod(BASFont, 255, 255, 255);
  GPR.x = 600;
  GPR.y = 0;
  SDLGPrint("ab", 0xFFFFFFFF, 1, 616, 400, 0);  // both fit: the second starts at 616
  GPR.x = 600;
  GPR.y = 100;
  SDLGPrint("abc", 0xFFFFFFFF, 1, 616, 400, 0);  // c wraps to x 600, y 116
  GPR.x = 600;
  GPR.y = 200;
  SDLGPrint("abc", 0xFFFFFFFF, 1, 616, 400, 1);  // c is dropped
  Image want = expectGlyphs(640, 400, bg, Px(255, 255, 255, 255),
                            {{65, 600, 0}, {66, 616, 0}, {65, 600, 100}, {66, 616, 100},
                             {67, 600, 116}, {65, 600, 200}, {66, 616, 200}});
  EXPECT_TRUE(SameImage(ReadPixels(GEMScreen), want));
}

TEST_F(Print, WithoutAFontThePenStillAdvances) {
  GPR.font = nullptr;
  GPR.x = 10;
  SDLGPrint("abc", 0xFFFFFFFF, 1, 640, 400, 0);
  EXPECT_EQ(GPR.x, 58);
  EXPECT_TRUE(SameImage(ReadPixels(GEMScreen), Image(640, 400, bg)));
}
