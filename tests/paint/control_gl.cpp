#include <vector>

#include "paint/control_core.h"
#include "paint/paint.h"
#include "platform/platform.h"
#include "raster/raster.h"
#include "raster/raster_core.h"
#include "tests/support/gl.h"
#include "tests/support/shapes.h"

static constexpr uint32_t SRODEK = Px(0xAF, 0xCF, 0xAF, 0);  // panel and box fill, alpha 0

// The panel laid out and painted as after start-up.
class Panel : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    uklad();
  }
  // GEMScreen over r after menu().
  Image narysuj(SDL_Rect r) {
    menu();
    return ReadPixels(GEMScreen, &r);
  }
};

TEST_F(Panel, SamplesAreUploadedOnceAndKeepTheirColours) {
  std::vector<uint32_t> kanwa(640 * 400);
  ProbkiWzorow(kanwa.data(), GEMColor[1], GEMColor[0]);
  Image want(210, 216);
  for (int y = 0; y < 216; y++)
    for (int x = 0; x < 210; x++) want.at(x, y) = kanwa[y * 640 + x];
  EXPECT_TRUE(SameImage(ReadPixels(Wypboxy), want));

  kolor = 2;
  menu();
  EXPECT_TRUE(SameImage(ReadPixels(Wypboxy), want)) << "drawing the panel leaves them";
}

TEST_F(Panel, SamplesAreBlendedOverTheirBoxes) {
  SDL_Rect r = {426, 0, 210, 216};
  // The boxes alone, then the whole panel.
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  SDLDrawColor(SRODEK);
  SDL_RenderClear(SDLRenderer);
  GEMDrawBoxes(boxy, 81);
  Image boxes = ReadPixels(GEMScreen, &r), probki = ReadPixels(Wypboxy);
  Image got = narysuj(r);
  // Alpha 127 over the box: the sample's colour and the box's mixed about half and half.
  PixelGrid shown = GridOf(got, Layout::Abgr);
  shown.left = r.x;
  EXPECT_TRUE(SameArea(
      shown, r.x, r.y, r.w, r.h,
      [&](int x, int y) {
        uint32_t s = probki.at(x - r.x, y), d = boxes.at(x - r.x, y), want = 0;
        for (int sh = 0; sh < 24; sh += 8)
          want |=
              (s ? ((s >> sh & 0xFF) * 127 + (d >> sh & 0xFF) * 128 + 127) / 255 : d >> sh & 0xFF)
              << sh;
        return want;
      },
      {0xFFFFFF, 1}));
}

TEST_F(Panel, BoxesShowTheirState) {
  kolor = 3;
  Image got = narysuj({0, 0, 640, 400});
  const uint32_t jasny = Px(0xCF, 0xFF, 0xCF, 0), ciemny = Px(0x7F, 0xAF, 0x7F, 0);
  struct {
    const char* name;
    int x, y;
    uint32_t want;
    // clang-format off
  } rows[] = {
      {"background", 0, 0, SRODEK},
      {"background, bottom right", 639, 399, SRODEK},
      {"Rysunek selected: dark fill", 212, 152, ciemny},
      {"Rysunek selected: top rim", 212, 151, SRODEK},
      {"Rysunek selected: bottom rim", 212, 176, jasny},
      {"Punkt: fill", 8, 152, SRODEK},
      {"Punkt: top rim", 8, 151, jasny},
      {"Punkt: right rim", 208, 160, ciemny},
      {"title: pale fill", 426, 354, Px(0xAF, 0xFF, 0xAF, 0)},
      {"colour 0 box, palette alpha", 8, 320, GEMColor[0]},
      {"colour 15 box", 403, 341, GEMColor[15]},
      {"colour box rim", 33, 319, jasny},
      {"fill sample outline, current colour", 426, 224, GEMColor[3]},
      {"fill sample outline, far corner", 636, 260, GEMColor[3]},
      {"fill sample inside, solid", 531, 242, GEMColor[3]},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(got.at(r.x, r.y), r.want);
  }
}

// The box outlined in colour kolor, pattern wyp inside; a solid sample is the whole box
// in that colour, white included.
TEST_F(Panel, CurrentFillSampleIsPatternWypInColourKolor) {
  struct {
    uint8_t kolor, wyp;
  } rows[] = {{2, 7}, {3, 0}, {0, 0}, {1, 0}};
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << "colour " << int(r.kolor) << ", pattern " << int(r.wyp));
    kolor = r.kolor;
    wyp = r.wyp;
    Image got = narysuj({426, 224, 211, 37});
    Image want(211, 37, GEMColor[r.kolor]);
    for (int y = 1; y < 36; y++)
      for (int x = 1; x < 210; x++)
        if (r.wyp && FillPatternGap(426 + x, 224 + y, r.wyp)) want.at(x, y) = GEMColor[0];
    EXPECT_TRUE(SameImage(got, want));
  }
}

// Box 61 with the six style samples and box 62 with style lin_r; pen width 1.
TEST_F(Panel, StyleSamples) {
  kolor = 4;
  for (uint8_t styl : {0, 3, 6}) {
    SCOPED_TRACE(int(styl));
    lin_r = styl;
    Image got = narysuj({426, 264, 210, 52});
    Image want(210, 52, SRODEK);
    for (int i = 1; i <= 7; i++) {
      int x = i <= 6 ? 420 + 26 * i - 426 : 620 - 426;
      uint32_t wzor = defline[i <= 6 ? i : styl];
      for (int j = 0; j <= 44; j++)
        if (wzor >> (31 - j % 32) & 1) want.at(x, 4 + j) = GEMColor[4];
    }
    // The gap between the boxes: their rims.
    for (int y = 0; y < 52; y++)
      for (int x = 174; x < 180; x++) want.at(x, y) = got.at(x, y);
    EXPECT_TRUE(SameImage(got, want));
  }
}

// Box 63 with discs of radius 1..6 and box 64 with the disc of the pen width.
TEST_F(Panel, WidthSamples) {
  kolor = 5;
  for (uint8_t szer : {0, 1, 5, 14}) {
    SCOPED_TRACE(int(szer));
    lin_szer = szer;
    Image got = narysuj({426, 320, 210, 30});
    Image want(210, 30, SRODEK);
    for (int y = 0; y < 30; y++)
      for (int x = 0; x < 210; x++) {
        bool ink = InDisc(x - (620 - 426), y - 15, szer / 2);
        for (int i = 0; i < 6; i++) ink = ink || InDisc(x - (446 + 26 * i - 426), y - 15, i + 1);
        if (ink) want.at(x, y) = GEMColor[5];
      }
    for (int y = 0; y < 30; y++)
      for (int x = 174; x < 180; x++) want.at(x, y) = got.at(x, y);
    EXPECT_TRUE(SameImage(got, want));
  }
}

TEST_F(Panel, FirstFrameShowsWhatTheControlScreenShows) {
  struct {
    const char* name;
    uint8_t kolor, wyp, lin_r, lin_szer;
    // clang-format off
  } rows[] = {
      {"as at start", 1, 0, 1, 1},
      {"other colour, style and width", 5, 0, 4, 9},
      {"a pattern, drawn through GEMScreen", 2, 17, 7, 3},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    kolor = r.kolor, wyp = r.wyp, lin_r = r.lin_r, lin_szer = r.lin_szer;
    ClearTarget(SDLScreen, Px(1, 2, 3, 4));
    ClearTarget(GEMScreen, Px(5, 6, 7, 8));
    pierwsza_klatka();
    EXPECT_EQ(SDL_GetRenderTarget(SDLRenderer), GEMScreen);
    Image first = ReadPixels(SDLScreen);
    menu();
    ShowE();
    EXPECT_TRUE(SameImage(first, ReadPixels(SDLScreen)));
  }
}

using Ekrany = GLTest;

TEST_F(Ekrany, DoEkranuShowsThePictureDoMenuStoresIt) {
  const uint32_t obraz = Px(10, 20, 30, 40), zmieniony = Px(50, 60, 70, 80);
  ClearTarget(rob_e$, obraz);
  ClearTarget(GEMScreen, Px(1, 2, 3, 4));
  ClearTarget(kra$, 0);
  kr = -3;
  tryb = 4;
  kolor = 5;

  do_ekranu();
  EXPECT_TRUE(SameImage(ReadPixels(GEMScreen), Image(640, 400, obraz)));
  EXPECT_EQ(kr, 3) << "the grid shows again";
  EXPECT_EQ(SDL_GetRenderTarget(SDLRenderer), GEMScreen);
  uint8_t c[4];
  SDL_GetRenderDrawColor(SDLRenderer, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(Px(c[0], c[1], c[2], c[3]), GEMColor[5]);
  SDL_BlendMode m;
  SDL_GetRenderDrawBlendMode(SDLRenderer, &m);
  EXPECT_EQ(m, tryb_b[4]);

  ClearTarget(GEMScreen, zmieniony);
  do_menu();
  EXPECT_TRUE(SameImage(ReadPixels(rob_e$), Image(640, 400, zmieniony)));
  EXPECT_EQ(kr, -3) << "the grid hides";
  SDL_GetRenderDrawBlendMode(SDLRenderer, &m);
  EXPECT_EQ(m, SDL_BLENDMODE_NONE);
}

TEST_F(Ekrany, ClosingTheWindowEndsTheControlScreen) {
  uklad();
  PushQuit();
  sterownia();
  EXPECT_EQ(Quit, 1);
}
