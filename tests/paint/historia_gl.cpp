// The picture's history on the real renderer: every tool's action back and forward
// pixel for pixel, drags as one step beside Backspace, the steps ahead dropped, the
// budget, the control screen's steps and keys, the picture's version, and what storing
// a step reads back.
#include "tests/paint/karta_gl.h"
#include "tests/support/magnifier.h"

namespace {

constexpr uint16_t Ctrl = KMOD_LCTRL, CtrlShift = KMOD_LCTRL | KMOD_LSHIFT;

// Pushes the keys of text, one a character: 'z' Ctrl+Z, 'y' Ctrl+Y, 'Z' Ctrl+Shift+Z,
// 'b' Backspace.
void PushKeys(const char* text) {
  for (const char* c = text; *c; c++) {
    if (*c == 'z') PushKey(SDLK_z, false, Ctrl);
    if (*c == 'y') PushKey(SDLK_y, false, Ctrl);
    if (*c == 'Z') PushKey(SDLK_z, false, CtrlShift);
    if (*c == 'b') PushKey(SDLK_BACKSPACE);
  }
}

// A white picture with walls: black columns at x 200 and 400.
Image Sciany() {
  Image img(640, 400, GEMColor[0]);
  for (int py = 0; py < 400; py++) img.at(200, py) = img.at(400, py) = GEMColor[1];
  return img;
}

class Cofanie : public NaKarcie {
 protected:
  void TearDown() override {
    if (blok$) SDL_DestroyTexture(blok$);
    blok$ = nullptr;
    SDL_ShowCursor(SDL_ENABLE);
    NaKarcie::TearDown();
  }
  // The drawing loop over the keys of PushKeys, left with a right press.
  static void Klawisze(const char* text) {
    PushKeys(text);
    PushButton(true, SDL_BUTTON_RIGHT, 5, 5);
    pracownia();
  }
  // The drawing loop over what a user does, paced, left with a right press.
  static void Rysuj(const Steps& steps) {
    {
      Player user(steps + Steps{Press(5, 5, SDL_BUTTON_RIGHT)});
      pracownia();
    }
    DrainEvents();
  }
};

// Each action over a picture that shows a pixel left over (Karta, or white where a
// fill must spread), close to the edges or past them, with wide pens: Ctrl+Z gives the
// picture back exactly, Ctrl+Y and Ctrl+Shift+Z the action's.
TEST_F(Cofanie, EveryToolsActionGoesBackAndForwardExactly) {
  const MagnifiedCell cell = {16, 320, 208, 25, 16};
  const Steps cut = {Key(SDLK_ESCAPE), Move(10, 10),  Press(10, 10),  Release(10, 10),
                     Move(40, 30),     Press(40, 30), Release(40, 30)};
  struct {
    const char* name;
    uint8_t co, mode, width, pattern;
    bool white;
    int32_t grid;
    Steps action;
    // clang-format off
  } cases[] = {
      {"point, wide, in the corner", 0, 0, 6, 0, false, 0, {Press(1, 398)}},
      {"freehand past the left edge", 1, 0, 4, 0, false, 0,
       {Press(30, 50), Move(-20, 60, SDL_BUTTON_LMASK), Move(10, 90, SDL_BUTTON_LMASK),
        Release(10, 90), Move(11, 90)}},
      {"line past the bottom right", 2, 0, 3, 0, false, 0, TwoPoints(600, 380, 700, 430)},
      {"polyline", 3, 0, 2, 0, false, 0,
       TwoPoints(50, 50, 80, 70) + TwoPoints(80, 70, 90, 50) +
           Steps{Move(60, 60), Press(60, 60, SDL_BUTTON_RIGHT)}},
      {"frame, entered up and left", 4, 1, 5, 0, false, 0, TwoPoints(500, 300, 200, 100)},
      {"filled rectangle", 5, 0, 1, 9, false, 0, TwoPoints(50, 50, 80, 70)},
      {"filled rectangle in \"Suma\": its fill floods the white picture", 5, 2, 1, 0, true, 0,
       TwoPoints(300, 200, 310, 210)},
      {"circle over the top right corner", 6, 0, 5, 0, false, 0, TwoPoints(630, 10, 650, 10)},
      {"disc", 7, 0, 1, 3, false, 0, TwoPoints(100, 300, 110, 305)},
      {"ellipse in \"Inwersja\"", 8, 4, 3, 0, false, 0, TwoPoints(320, 200, 400, 250)},
      {"filled ellipse", 9, 0, 1, 0, false, 0, TwoPoints(200, 200, 180, 230)},
      {"stamp of a block", 10, 0, 1, 0, false, 0, cut + Steps{Move(300, 300), Press(300, 300)}},
      {"fill of the white picture", 11, 0, 1, 9, true, 0, {Press(320, 200)}},
      {"magnifier", 12, 0, 1, 0, false, 2,
       {Press(333, 222), Press(MagnifierX(cell, 1), MagnifierY(cell, 1)),
        Press(MagnifierX(cell, 15), MagnifierY(cell, 15)), Press(5, 5, SDL_BUTTON_RIGHT)}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    zapomnij();
    co = c.co;
    tryb = c.mode;
    lin_szer = c.width;
    wyp = c.pattern;
    kr = c.grid;
    krh = krv = 8 * c.grid;
    const Image start = c.white ? White() : karta;
    Pokaz(start);
    Rysuj(c.action);
    const Image after = Picture();
    EXPECT_NE(after.px, start.px) << "drawn";
    Klawisze("z");
    EXPECT_TRUE(SameImage(Picture(), start)) << "back";
    if (!kr) {
      EXPECT_TRUE(SameImage(ReadPixels(nullptr), start, true)) << "and shown";
    }
    Klawisze("y");
    EXPECT_TRUE(SameImage(Picture(), after)) << "forward";
    Klawisze("zZ");
    EXPECT_TRUE(SameImage(Picture(), after)) << "back and forward with Ctrl+Shift+Z";
    EXPECT_EQ(SDL_GetRenderTarget(SDLRenderer), GEMScreen);
  }
}

// The points or fills of one drag with the left button are one step: Ctrl+Z takes the
// whole drag back, Backspace right after the drag only its last point or fill.
TEST_F(Cofanie, ADragOfPointsOrFillsIsOneStepAndBackspaceTakesItsLastOnly) {
  Image points = karta, fills = Sciany();
  for (auto [px, py] : Points{{100, 100}, {101, 100}}) points.at(px, py) = GEMColor[2];
  PaintRect(fills, 0, 0, 200, 400, GEMColor[2]);
  PaintRect(fills, 201, 0, 199, 400, GEMColor[2]);
  struct {
    const char* name;
    uint8_t co;
    Image start;
    Points drag;
    Image lastTakenBack;
    // clang-format off
  } cases[] = {
      {"points", 0, karta, {{100, 100}, {101, 100}, {103, 102}}, points},
      {"fills, each behind a wall", 11, Sciany(), {{100, 100}, {300, 100}, {500, 100}}, fills},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    co = c.co;
    kolor = 2;
    for (bool backspace : {true, false}) {
      SCOPED_TRACE(backspace ? "Backspace, then Ctrl+Z" : "Ctrl+Z alone");
      zapomnij();
      Pokaz(c.start);
      PushButton(true, SDL_BUTTON_LEFT, c.drag[0].first, c.drag[0].second);
      for (size_t i = 1; i < c.drag.size(); i++)
        PushMotion(c.drag[i].first, c.drag[i].second, SDL_BUTTON_LMASK);
      PushButton(false, SDL_BUTTON_LEFT, c.drag.back().first, c.drag.back().second);
      PushMotion(5, 5);
      if (backspace) {
        Klawisze("b");
        EXPECT_TRUE(SameImage(Picture(), c.lastTakenBack)) << "Backspace";
      }
      Klawisze("z");
      EXPECT_TRUE(SameImage(Picture(), c.start)) << "the whole drag";
      Klawisze("z");
      EXPECT_TRUE(SameImage(Picture(), c.start)) << "nothing before it";
      if (backspace) {
        Klawisze("y");
        EXPECT_TRUE(SameImage(Picture(), c.lastTakenBack)) << "forward to what Backspace left";
      }
    }
  }
}

TEST_F(Cofanie, ADragOfStampsIsOneStepAndBackspaceTakesItsLastOnly) {
  co = 10;
  PushCut(0, 0, 5, 4);
  Klawisze("");
  const Image b = Wycinek(karta, 0, 0, 6, 5);
  Image two = karta;
  Naklej(two, b, 100, 100, 0);
  Naklej(two, b, 103, 101, 0);
  PushButton(true, SDL_BUTTON_LEFT, 100, 100);
  PushMotion(103, 101, SDL_BUTTON_LMASK);
  PushMotion(110, 104, SDL_BUTTON_LMASK);
  PushButton(false, SDL_BUTTON_LEFT, 110, 104);
  PushMotion(200, 200);
  Klawisze("b");
  EXPECT_TRUE(SameImage(Picture(), two)) << "Backspace takes back the last stamp";
  Klawisze("z");
  EXPECT_TRUE(SameImage(Picture(), karta)) << "Ctrl+Z the whole drag";
  Klawisze("y");
  EXPECT_TRUE(SameImage(Picture(), two));
}

// However long the drag, its events read nothing back: the step is stored, as the
// drawing screen is left, with two read-backs of what the drag touched, the picture
// before it and after it.
TEST_F(Cofanie, ADragReadsThePictureBackOnlyWhenItsStepIsStored) {
  for (uint8_t tool : {0, 10}) {
    SCOPED_TRACE(tool == 0 ? "points" : "stamps");
    co = tool;
    if (tool == 10) {
      PushCut(0, 0, 63, 63);
      Klawisze("");
    }
    zapomnij();
    int before = ReadBacks();
    PushButton(true, SDL_BUTTON_LEFT, 5, 100);
    for (int i = 1; i < 100; i++) PushMotion(5 * i, 100 + i, SDL_BUTTON_LMASK);
    Klawisze("");
    do_menu();
    EXPECT_EQ(ReadBacks() - before, 2) << "100 events, one step";
    do_ekranu();
    Klawisze("z");
    EXPECT_TRUE(SameImage(Picture(), karta));
  }
}

TEST_F(Cofanie, ANewStepDropsTheStepsAheadAndTheEndsChangeNothing) {
  co = 0;
  auto with = [&](const Points& pts) {
    Image img = karta;
    for (auto [px, py] : pts) img.at(px, py) = GEMColor[kolor];
    return img;
  };
  for (auto [px, py] : Points{{10, 20}, {30, 20}, {50, 20}}) {
    PushClick(SDL_BUTTON_LEFT, px, py);
    PushMotion(px + 1, py + 1);
  }
  Klawisze("zz");
  EXPECT_TRUE(SameImage(Picture(), with({{10, 20}})));
  PushClick(SDL_BUTTON_LEFT, 70, 20);
  Klawisze("y");
  EXPECT_TRUE(SameImage(Picture(), with({{10, 20}, {70, 20}}))) << "nothing ahead any more";
  Klawisze("zzz");
  EXPECT_TRUE(SameImage(Picture(), karta)) << "two steps back, and nothing before them";
  Klawisze("ZZy");
  EXPECT_TRUE(SameImage(Picture(), with({{10, 20}, {70, 20}})));
}

// 300 whole-picture fills in two colours in turn: at the default budget at least 100
// go back and the oldest are gone; with 1 MiB, less than two whole pictures, the last
// one still goes back.
TEST_F(Cofanie, TheBudgetKeepsTheNewestStepsAndDropsTheOldest) {
  struct {
    uint32_t mb;
    int fills, least, most;
  } cases[] = {{256, 300, 100, 299}, {1, 3, 1, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.mb << " MiB");
    zapomnij();
    historia_mb = c.mb;
    co = 11;
    Pokaz(White());
    for (int i = 0; i < c.fills; i++) {
      kolor = uint8_t(2 + i % 2);
      Enter();
      PushButton(true, SDL_BUTTON_LEFT, 320, 200);
      Klawisze("");
    }
    int back = 0;
    for (Image was = Picture();; back++) {
      Klawisze("z");
      Image now = Picture();
      if (now.px == was.px) break;
      // Step i back shows the picture after fill fills - i: colour 2 + (fills - 1 - i) % 2.
      uint32_t want = GEMColor[2 + (c.fills - 2 - back) % 2];
      ASSERT_TRUE(SameImage(now, Image(640, 400, want))) << "step " << back + 1;
      was = now;
    }
    EXPECT_GE(back, c.least);
    EXPECT_LE(back, c.most) << "the oldest are gone: never back to white";
  }
}

// "Czyść" is a step: gone back from the control screen (the drawing screen then shows
// the picture again) and from the drawing screen. A Ctrl+Z whose Ctrl answered the
// question does nothing once the alert has gone.
TEST_F(Cofanie, CzyscIsAStepOnBothScreensAndAHistoryKeyAnsweringAnAlertDoesNothing) {
  uklad();
  auto panel = [](const Steps& steps) {
    {
      Player user(steps + Steps{[] { PushQuit(); }});
      sterownia();
    }
    DrainEvents();
    Quit = 0;
  };
  const Steps czysc = {Click(108, 382), Click(273, 285)};  // "Czyść", "Tak"
  panel(czysc);
  EXPECT_TRUE(SameImage(ReadPixels(rob_e$), White())) << "cleared";
  panel({Key(SDLK_LCTRL, Ctrl), Key(SDLK_z, Ctrl)});
  EXPECT_TRUE(SameImage(ReadPixels(rob_e$), karta)) << "back on the control screen";
  do_ekranu();
  EXPECT_TRUE(SameImage(Picture(), karta)) << "and shown on the drawing screen";
  do_menu();
  panel({[] {
    PushKey(SDLK_LCTRL, false, Ctrl);
    PushKey(SDLK_y, false, Ctrl);  // drained by the pump after the Ctrl: still taken
  }});
  EXPECT_TRUE(SameImage(ReadPixels(rob_e$), White())) << "forward on the control screen";
  do_ekranu();
  Klawisze("z");
  EXPECT_TRUE(SameImage(Picture(), karta)) << "back on the drawing screen";
  Klawisze("y");
  do_menu();

  // The Ctrl answers "Wyczyścić ekran ?" with "Nie"; the Z comes after the alert.
  panel({Click(108, 382), Key(SDLK_LCTRL, Ctrl), Key(SDLK_z, Ctrl)});
  EXPECT_TRUE(SameImage(ReadPixels(rob_e$), White())) << "not stepped back";
  panel({Key(SDLK_a), Key(SDLK_z, Ctrl)});
  EXPECT_TRUE(SameImage(ReadPixels(rob_e$), White())) << "nor with a Ctrl pressed elsewhere";
  panel({Key(SDLK_LCTRL, Ctrl), Key(SDLK_z, Ctrl)});
  EXPECT_TRUE(SameImage(ReadPixels(rob_e$), karta)) << "the step was there to take";
}

// wersja: what a later save or copy compares with to know whether the picture changed.
TEST_F(Cofanie, TheVersionTellsWhetherThePictureHasChanged) {
  co = 0;
  ASSERT_EQ(wersja, 0u);
  PushClick(SDL_BUTTON_LEFT, 10, 20);
  Klawisze("");
  const uint64_t v1 = wersja;
  EXPECT_NE(v1, 0u) << "a point";
  Klawisze("z");
  EXPECT_EQ(wersja, 0u) << "back at the start";
  Klawisze("y");
  EXPECT_EQ(wersja, v1) << "forward again";
  // Karta is black at (11, 0), so a black point there changes nothing.
  ASSERT_EQ(karta.at(11, 0), GEMColor[1]);
  PushClick(SDL_BUTTON_LEFT, 11, 0);
  Klawisze("");
  EXPECT_EQ(wersja, v1) << "a point that changed nothing";
  PushClick(SDL_BUTTON_LEFT, 30, 20);
  PushKey(SDLK_BACKSPACE);
  Klawisze("");
  EXPECT_EQ(wersja, v1) << "a point taken back with Backspace";
  PushClick(SDL_BUTTON_LEFT, 30, 20);
  Klawisze("");
  const uint64_t v2 = wersja;
  EXPECT_NE(v2, v1);
  EXPECT_NE(v2, 0u);
  Klawisze("z");
  EXPECT_EQ(wersja, v1);
  PushClick(SDL_BUTTON_LEFT, 50, 20);
  Klawisze("");
  EXPECT_NE(wersja, v2) << "a new state, never the number of a dropped one";
  EXPECT_NE(wersja, v1);
}

// A fill taken back with Backspace leaves the picture as it was: no step, so Ctrl+Z
// goes back past it.
TEST_F(Cofanie, AFillTakenBackWithBackspaceIsNoStep) {
  Pokaz(White());
  co = 0;
  PushClick(SDL_BUTTON_LEFT, 10, 20);
  Klawisze("");
  co = 11;
  PushClick(SDL_BUTTON_LEFT, 300, 200);
  Klawisze("bz");
  EXPECT_TRUE(SameImage(Picture(), White())) << "the point is gone too";
}

// The keys do nothing while a tool or the magnifier reads the events.
TEST_F(Cofanie, HistoryKeysDoNothingInsideAToolOrTheMagnifier) {
  co = 0;
  PushClick(SDL_BUTTON_LEFT, 10, 20);
  Klawisze("");
  Image point = Picture();
  co = 2;  // a line: Ctrl+Z during its preview
  Rysuj({Press(100, 100), Release(100, 100), Key(SDLK_z, Ctrl), Move(120, 100), Press(120, 100),
         Release(120, 100)});
  Image line = Picture();
  EXPECT_EQ(line.at(10, 20), point.at(10, 20)) << "the point stays";
  EXPECT_NE(line.at(110, 100), karta.at(110, 100)) << "the line is drawn";
  co = 12;
  kr = 1;
  krh = krv = 8;
  PushButton(true, SDL_BUTTON_LEFT, 333, 222);
  PushKeys("zzy");
  PushButton(true, SDL_BUTTON_RIGHT, 5, 5);  // closes the magnifier
  Klawisze("");
  EXPECT_TRUE(SameImage(Picture(), line));
}

}  // namespace
