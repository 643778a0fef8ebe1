// The magnifier on the real renderer: its screen for the grid steps, painting, the
// colour strip, cells at the edges, and its way back into the drawing loop.
#include "tests/paint/karta_gl.h"
#include "tests/support/magnifier.h"

namespace {

// The magnifier's screen over pic, as an image.
Image Ekran(const Image& pic, const MagnifiedCell& c) {
  Image e(640, 400);
  e.px = MagnifierScreen(
      c, [&](int px, int py) { return pic.at(px, py); }, GEMColor);
  return e;
}

class Lupa : public NaKarcie {
 protected:
  void SetUp() override {
    NaKarcie::SetUp();
    co = 12;
  }
  // The drawing loop's state for grid step kr; the click that opens the magnifier.
  static void Siatka(int step) {
    kr = step;
    krh = krv = 8 * step;
  }
  static void Otworz(int px, int py) {
    x = px;
    y = py;
    k = 1;
  }
};

TEST_F(Lupa, ScreenForTheGridSteps) {
  struct {
    const char* name;
    int kr, x, y;
    MagnifiedCell c;
    uint8_t mode;
    // clang-format off
  } cases[] = {
      {"step 1: 8 pixels, each a 50x50 square", 1, 333, 222, {8, 328, 216, 50, 8}, 0},
      {"step 3: 25 pixels shown of the 24 of the cell", 3, 50, 50, {24, 48, 48, 16, 25}, 0},
      {"step 10, the bottom-right cell", 10, 639, 399, {80, 560, 320, 5, 80}, 0},
      {"step 1 at the origin: the view cut at the top-left", 1, 3, 7, {8, 0, 0, 50, 8}, 0},
      {"step 6 at x 624: the cell reaches past the right edge", 6, 624, 30,
       {48, 624, 0, 8, 50}, 0},
      {"step 7 at the bottom", 7, 300, 399, {56, 280, 392, 7, 57}, 0},
      {"step 9: 80 pixels shown, past the last cell", 9, 100, 100, {72, 72, 72, 5, 80}, 0},
      {"in \"Suma\" the frame, separators and strip are as in every mode", 2, 100, 100,
       {16, 96, 96, 25, 16}, 2},
      {"likewise in \"Inwersja\"", 2, 100, 100, {16, 96, 96, 25, 16}, 4},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    tryb = c.mode;
    Pokaz(karta);
    Siatka(c.kr);
    Otworz(c.x, c.y);
    KoniecPrawym(powieksz);
    EXPECT_EQ(k, 0) << "back to the drawing loop";
    EXPECT_TRUE(SameImage(ReadPixels(nullptr), Ekran(karta, c.c), true)) << "the last frame";
    EXPECT_TRUE(SameImage(Picture(), karta)) << "nothing edited, nothing changed";
    EXPECT_EQ(SDL_GetRenderTarget(SDLRenderer), GEMScreen);
  }
}

TEST_F(Lupa, PaintsPixelsOfTheCellAndWritesBackOnlyThem) {
  struct {
    const char* name;
    int kr, x, y;
    MagnifiedCell c;
    uint8_t mode;
    Points pixels;  // cell pixels clicked or dragged over
    Points beside;  // clicks in the enlarged view outside the editable area
    // clang-format off
  } cases[] = {
      {"step 1, a click and a drag", 1, 333, 222, {8, 328, 216, 50, 8}, 0,
       {{3, 5}, {6, 7}, {0, 0}, {7, 7}}, {}},
      {"step 3, only 24 of the 25 columns", 3, 50, 50, {24, 48, 48, 16, 25}, 0, {{23, 23}},
       {{24, 3}, {3, 24}}},
      {"step 10", 10, 100, 100, {80, 80, 80, 5, 80}, 0, {{0, 79}, {79, 0}, {40, 41}}, {}},
      {"step 9: the shown 73rd to 80th columns are not the cell's", 9, 100, 100,
       {72, 72, 72, 5, 80}, 0, {{71, 71}}, {{72, 0}, {79, 5}}},
      {"in \"Mieszanie\" the colour is blended", 2, 100, 100, {16, 96, 96, 25, 16}, 1,
       {{1, 1}, {15, 2}}, {}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    tryb = c.mode;
    kolor = 4;
    Pokaz(karta);
    Siatka(c.kr);
    Otworz(c.x, c.y);
    bool first = true;
    for (auto [ex, ey] : c.pixels) {
      if (first)
        PushButton(true, SDL_BUTTON_LEFT, MagnifierX(c.c, ex), MagnifierY(c.c, ey));
      else
        PushMotion(MagnifierX(c.c, ex), MagnifierY(c.c, ey), SDL_BUTTON_LMASK);
      first = false;
    }
    for (auto [ex, ey] : c.beside)
      PushClick(SDL_BUTTON_LEFT, MagnifierX(c.c, ex), MagnifierY(c.c, ey));
    KoniecPrawym(powieksz);
    Image want = karta;
    for (auto [ex, ey] : c.pixels) {
      uint32_t& p = want.at(c.c.gx + ex, c.c.gy + ey);
      p = BlendPixel(c.mode, GEMColor[4], p);
    }
    EXPECT_TRUE(SameImage(ReadPixels(nullptr), Ekran(want, c.c), BlendedShown)) << "both views";
    EXPECT_TRUE(SameImage(Picture(), want, Blended));
  }
}

TEST_F(Lupa, CellReachingPastTheRightEdgeTakesClicksOnItsWholeArea) {
  const MagnifiedCell c = {48, 624, 0, 8, 50};
  Siatka(6);
  Otworz(630, 5);
  PushClick(SDL_BUTTON_LEFT, MagnifierX(c, 5), MagnifierY(c, 1));    // x 629, on the picture
  PushClick(SDL_BUTTON_LEFT, MagnifierX(c, 40), MagnifierY(c, 2));   // x 664, past its edge
  PushClick(SDL_BUTTON_LEFT, MagnifierX(c, 47), MagnifierY(c, 47));  // the cell's last pixel
  KoniecPrawym(powieksz);
  Image want = karta;
  want.at(629, 1) = GEMColor[kolor];
  Image screen = Ekran(want, c);
  for (auto [ex, ey] : Points{{40, 2}, {47, 47}})
    MagnifierPaint(screen.px, c, ex, ey, GEMColor[kolor]);
  EXPECT_TRUE(SameImage(ReadPixels(nullptr), screen, true));
  EXPECT_TRUE(SameImage(Picture(), want)) << "only the part on the picture is written back";
}

TEST_F(Lupa, ColourFromTheStripPaintsAndStaysTheDrawColour) {
  const MagnifiedCell c = {8, 328, 216, 50, 8};
  // Clicks on and beside the strip in turn, each followed by a click on the next cell
  // pixel of row 1, which takes the colour drawn then: the last one picked.
  struct {
    const char* name;
    int x, y;
    int colour;
    // clang-format off
  } clicks[] = {
      {"the last pixel of square 7", 12 * 7 + 11, 11, 7},
      {"the first pixel of square 0: white", 0, 0, 0},
      {"square 15", 12 * 15, 6, 15},
      {"right of the strip: nothing", 192, 6, 15},
      {"below it: nothing", 20, 12, 15},
  };
  // clang-format on
  Siatka(1);
  Otworz(333, 222);
  PushClick(SDL_BUTTON_LEFT, MagnifierX(c, 0), MagnifierY(c, 0));  // black: kolor
  for (int i = 0; i < 5; i++) {
    PushClick(SDL_BUTTON_LEFT, clicks[i].x, clicks[i].y);
    PushClick(SDL_BUTTON_LEFT, MagnifierX(c, i + 1), MagnifierY(c, 1));
  }
  KoniecPrawym(powieksz);
  Image want = karta;
  want.at(328, 216) = GEMColor[1];
  Image got = Picture();
  for (int i = 0; i < 5; i++) {
    SCOPED_TRACE(clicks[i].name);
    EXPECT_EQ(got.at(329 + i, 217), GEMColor[clicks[i].colour]);
    want.at(329 + i, 217) = GEMColor[clicks[i].colour];
  }
  EXPECT_TRUE(SameImage(got, want));
  EXPECT_EQ(kolor, 1) << "the chosen colour stays";
  Uint8 r, g, b, a;
  SDL_GetRenderDrawColor(SDLRenderer, &r, &g, &b, &a);
  EXPECT_EQ(Px(r, g, b, a), GEMColor[15]) << "the draw colour stays the one picked";
  plot(10, 10);
  EXPECT_EQ(Picture().at(10, 10), GEMColor[15]) << "for the next drawing";
}

TEST_F(Lupa, KeysDoNothingInside) {
  const MagnifiedCell c = {8, 328, 216, 50, 8};
  ClearTarget(rob_e$, GEMColor[2]);  // an undo copy that Backspace would bring back...
  SDL_UpdateTexture(rob_e$, nullptr, karta.px.data(), 640 * 4);  // ...were it not the picture
  Siatka(1);
  Otworz(333, 222);
  PushClick(SDL_BUTTON_LEFT, MagnifierX(c, 2), MagnifierY(c, 2));
  for (SDL_Keycode key : {SDLK_BACKSPACE, SDLK_PERIOD, SDLK_COMMA, SDLK_ESCAPE}) PushKey(key);
  PushQuit();
  KoniecPrawym(powieksz);
  EXPECT_EQ(kr, 1);
  EXPECT_EQ(Quit, 0);
  Image want = karta;
  want.at(330, 218) = GEMColor[kolor];
  EXPECT_TRUE(SameImage(Picture(), want));
}

TEST_F(Lupa, WithTheGridOffAClickChangesNothing) {
  ClearTarget(nullptr, GEMColor[3]);
  Otworz(333, 222);
  PushKey(SDLK_a);
  powieksz();
  EXPECT_EQ(k, 0);
  EXPECT_TRUE(SDL_HasEvent(SDL_KEYDOWN)) << "no event read";
  EXPECT_TRUE(SameImage(Picture(), karta));
  EXPECT_TRUE(SameImage(ReadPixels(nullptr), Image(640, 400, GEMColor[3]), true))
      << "nothing shown";

  PushButton(true, SDL_BUTTON_LEFT, 333, 222);
  PushMotion(340, 230, SDL_BUTTON_LMASK);
  PushButton(true, SDL_BUTTON_RIGHT, 5, 5);
  pracownia();
  EXPECT_EQ(k, 3);
  EXPECT_TRUE(SameImage(Picture(), karta));
}

TEST_F(Lupa, RightClickReturnsToTheDrawingScreenAndBackspaceUndoesAllItsEdits) {
  const MagnifiedCell c = {8, 328, 216, 50, 8};
  Siatka(1);
  krata();
  for (bool undo : {false, true}) {
    SCOPED_TRACE(undo ? "with Backspace" : "without");
    Pokaz(karta);
    PushButton(true, SDL_BUTTON_LEFT, 333, 222);  // opens the magnifier
    PushClick(SDL_BUTTON_LEFT, MagnifierX(c, 1), MagnifierY(c, 1));
    PushClick(SDL_BUTTON_LEFT, MagnifierX(c, 6), MagnifierY(c, 2));
    PushButton(true, SDL_BUTTON_RIGHT, 5, 5);  // closes it
    if (undo) PushKey(SDLK_BACKSPACE);
    PushButton(true, SDL_BUTTON_RIGHT, 5, 5);  // leaves the drawing screen
    pracownia();
    EXPECT_FALSE(SDL_HasEvent(SDL_MOUSEBUTTONDOWN) || SDL_HasEvent(SDL_KEYDOWN))
        << "every press and key was read";
    Image want = karta;
    if (!undo) want.at(329, 217) = want.at(334, 218) = GEMColor[kolor];
    EXPECT_TRUE(SameImage(Picture(), want));
  }
}

}  // namespace
