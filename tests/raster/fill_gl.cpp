#include <utility>

#include "paint/paint.h"
#include "platform/platform.h"
#include "raster/raster.h"
#include "raster/raster_core.h"
#include "tests/support/gl.h"

static constexpr SDL_Rect Box = {100, 80, 41, 31};  // corners (100, 80) and (140, 110)

// The canvas GEMScreen, white, with Box outlined in black; GEMScreen is the target.
class Fill : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    ClearTarget(GEMScreen, GEMColor[0]);
    SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  }
  void outlineBox() {
    SDL_SetRenderDrawBlendMode(SDLRenderer, SDL_BLENDMODE_NONE);
    SDLDrawColor(GEMColor[1]);
    SDL_RenderDrawRect(SDLRenderer, &Box);
  }
};

// White canvas with Box outlined in outline and its inside filled with kolor in pattern p.
static Image boxFilled(uint32_t outline, uint8_t p) {
  Image img(640, 400, GEMColor[0]);
  for (int y = Box.y; y < Box.y + Box.h; y++)
    for (int x = Box.x; x < Box.x + Box.w; x++) {
      bool edge = x == Box.x || y == Box.y || x == Box.x + Box.w - 1 || y == Box.y + Box.h - 1;
      img.at(x, y) = edge ? outline : FillPatternGap(x, y, p) ? GEMColor[0] : GEMColor[kolor];
    }
  return img;
}

// The fill writes palette bytes, alpha included, whatever the draw blend mode.
TEST_F(Fill, WritesTheBoxInsideUnblendedInEveryMode) {
  struct {
    const char* name;
    SDL_BlendMode mode;
    uint8_t p;
  } rows[] = {{"Wymiana, solid", tryb_b[0], 0},         {"Mieszanie, solid", tryb_b[1], 0},
              {"Inwersja, solid", tryb_b[4], 0},        {"Wymiana, pattern 7", tryb_b[0], 7},
              {"Mieszanie, pattern 35", tryb_b[1], 35}, {"Inwersja, pattern 12", tryb_b[4], 12}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    ClearTarget(GEMScreen, GEMColor[0]);
    outlineBox();
    SDL_SetRenderDrawBlendMode(SDLRenderer, r.mode);
    kolor = 4;
    const Image before = ReadPixels(GEMScreen);
    fill(120, 95, r.p);
    EXPECT_EQ(SDL_GetRenderTarget(SDLRenderer), GEMScreen);
    EXPECT_TRUE(SameImage(ReadPixels(GEMScreen), boxFilled(GEMColor[1], r.p)));
    EXPECT_TRUE(FillBefore == before.px) << "the canvas as it read it";
    EXPECT_TRUE(FillAfter == boxFilled(GEMColor[1], r.p).px) << "and as it left it";
  }
}

TEST_F(Fill, SeedOutsideTheCanvasLeavesItAsItWas) {
  outlineBox();
  Image before = ReadPixels(GEMScreen);
  for (auto [sx, sy] : {std::pair{-1, 0}, {640, 5}, {3, -1}, {3, 400}}) {
    SCOPED_TRACE(testing::Message() << sx << ", " << sy);
    fill(sx, sy, 3);
    EXPECT_EQ(SDL_GetRenderTarget(SDLRenderer), GEMScreen);
    EXPECT_TRUE(SameImage(ReadPixels(GEMScreen), before));
  }
}

// Corners in any order give the box between them: white inside, outlined in kolor,
// filled with wyp; the draw colour is left at kolor.
TEST_F(Fill, PboxCornersInAnyOrderDrawTheSameBox) {
  const int x1 = Box.x, y1 = Box.y, x2 = Box.x + Box.w - 1, y2 = Box.y + Box.h - 1;
  for (auto [ax, ay, bx, by] :
       {std::tuple{x1, y1, x2, y2}, {x2, y2, x1, y1}, {x2, y1, x1, y2}, {x1, y2, x2, y1}}) {
    SCOPED_TRACE(testing::Message() << ax << ", " << ay << " to " << bx << ", " << by);
    ClearTarget(GEMScreen, GEMColor[3]);
    kolor = 2;
    wyp = 5;
    pbox(ax, ay, bx, by);
    Image want = boxFilled(GEMColor[2], 5);
    for (int y = 0; y < 400; y++)
      for (int x = 0; x < 640; x++)
        if (x < x1 || x > x2 || y < y1 || y > y2) want.at(x, y) = GEMColor[3];
    EXPECT_TRUE(SameImage(ReadPixels(GEMScreen), want));
    uint8_t r, g, b, a;
    SDL_GetRenderDrawColor(SDLRenderer, &r, &g, &b, &a);
    EXPECT_EQ(Px(r, g, b, a), GEMColor[2]);
    EXPECT_EQ(SDL_GetRenderTarget(SDLRenderer), GEMScreen);
  }
}

// In a blending mode the white box blends with what lies under it; the closing fill
// then covers only the part that took the centre pixel's colour.
TEST_F(Fill, PboxInMieszanieFillsOnlyThePartLikeTheCentre) {
  SDL_Rect left = {0, 0, 120, 400};
  SDLDrawColor(Px(0, 0, 0, 255));
  SDL_RenderFillRect(SDLRenderer, &left);  // under the left part of the box, black
  SDL_SetRenderDrawBlendMode(SDLRenderer, tryb_b[1]);
  kolor = 4;
  wyp = 0;
  pbox(100, 80, 160, 110);  // centre (130, 95), over white
  Image img = ReadPixels(GEMScreen);
  uint32_t blendedOverBlack = img.at(110, 95);
  EXPECT_NE(Rgb(blendedOverBlack), 0u);
  EXPECT_NE(blendedOverBlack, GEMColor[0]);
  EXPECT_NE(blendedOverBlack, GEMColor[4]);
  for (int y = 81; y < 110; y++) {
    for (int x = 101; x < 120; x++) ASSERT_EQ(img.at(x, y), blendedOverBlack) << x << ", " << y;
    for (int x = 120; x < 160; x++) ASSERT_EQ(img.at(x, y), GEMColor[4]) << x << ", " << y;
  }
}
