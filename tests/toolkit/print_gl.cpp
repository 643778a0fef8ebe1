#include <string>

#include "paint/paint.h"
#include "platform/platform.h"
#include "tests/support/gl.h"
#include "toolkit/toolkit.h"

// Expected target: background bg, and each (cell, x, y) drawn in colour ink.
static Image expectGlyphs(int w, int h, uint32_t bg, uint32_t ink,
                          const std::vector<GlyphDraw>& glyphs) {
  Image img(w, h, bg);
  PaintGlyphs(img, ink, glyphs);
  return img;
}

using Print = ScreenTest;

TEST_F(Print, FontImageHasTheFixedLayout) {
  EXPECT_GE(SDLSurface->w, 912);
  EXPECT_GE(SDLSurface->h, 8);
  // The text cursor is the stem of '|': column 4, rows 1..6 of cell 92.
  for (int y = 1; y <= 6; y++) EXPECT_TRUE(FontInk(8 * 92 + 4, y)) << "row " << y;
  // The scroll arrow inside '^': its tip at the top centre, a full base lower down.
  EXPECT_TRUE(FontInk(499, 1));
  EXPECT_FALSE(FontInk(497, 1));
  EXPECT_FALSE(FontInk(501, 1));
}

TEST_F(Print, DrawsLadujInItsCellsAndColour) {
  SDL_SetTextureColorMod(BASFont, 255, 0, 0);
  GPR.x = 100;
  GPR.y = 40;
  SDLGPrint("Ładuj", 0xFFFFFFFF, 1, 640, 400, 0);
  EXPECT_EQ(GPR.x, 180);
  EXPECT_EQ(GPR.y, 40);
  Image want =
      expectGlyphs(640, 400, bg, Px(255, 0, 0, 255),
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
                            {{65, 600, 0},
                             {66, 616, 0},
                             {65, 600, 100},
                             {66, 616, 100},
                             {67, 600, 116},
                             {65, 600, 200},
                             {66, 616, 200}});
  EXPECT_TRUE(SameImage(ReadPixels(GEMScreen), want));
}

TEST_F(Print, WithoutAFontThePenStillAdvances) {
  GPR.font = nullptr;
  GPR.x = 10;
  SDLGPrint("abc", 0xFFFFFFFF, 1, 640, 400, 0);
  EXPECT_EQ(GPR.x, 58);
  EXPECT_TRUE(SameImage(ReadPixels(GEMScreen), Image(640, 400, bg)));
}
