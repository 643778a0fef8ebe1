#include "tests/paint/draw_gl.h"

using CzMysz = GLTest;

TEST_F(CzMysz, RecordsTheFirstKeyMotionOrPress) {
  struct {
    const char* name;
    std::function<void()> push;
    int32_t x, y, k, key;
    // clang-format off
  } cases[] = {
      {"key", [] { PushKey(SDLK_PERIOD); }, 7, 7, 0, SDLK_PERIOD},
      {"motion without a button", [] { PushMotion(30, 40); }, 30, 40, 0, 0},
      {"motion with left and right held",
       [] { PushMotion(30, 40, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK); }, 30, 40, 5, 0},
      {"left press", [] { PushButton(true, SDL_BUTTON_LEFT, 50, 60); }, 50, 60, 1, 0},
      {"middle press", [] { PushButton(true, SDL_BUTTON_MIDDLE, 50, 60); }, 50, 60, 2, 0},
      {"right press", [] { PushButton(true, SDL_BUTTON_RIGHT, 50, 60); }, 50, 60, 3, 0},
      {"releases, quits, window events and text are dropped",
       [] {
         PushButton(false, SDL_BUTTON_LEFT, 1, 1);
         PushQuit();
         PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
         PushText("a");
         PushButton(true, SDL_BUTTON_LEFT, 50, 60);
       },
       50, 60, 1, 0},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    x = y = 7;
    k = key = 99;
    c.push();
    PushKey(SDLK_a);  // must stay queued
    cz_mysz();
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
    EXPECT_EQ(k, c.k);
    EXPECT_EQ(key, c.key);
    EXPECT_EQ(Quit, 0);
    cz_mysz();
    EXPECT_EQ(key, SDLK_a) << "one event per call";
  }
}

TEST_F(CzMysz, APendingQuitEndsItAtOnceAndIsDiscarded) {
  Quit = 1;
  k = key = 5;
  PushKey(SDLK_a);
  cz_mysz();
  EXPECT_EQ(k, 0);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(Quit, 0);
  EXPECT_TRUE(SDL_HasEvent(SDL_KEYDOWN)) << "no event was read";
}

using Pracownia = DrawingScreen;

TEST_F(Pracownia, ReturnsOnAPressOfAnotherButtonKeepingThePicture) {
  for (uint8_t button : {SDL_BUTTON_MIDDLE, SDL_BUTTON_RIGHT}) {
    SCOPED_TRACE(int(button));
    co = 0;
    PushMotion(5, 5);
    PushButton(true, SDL_BUTTON_LEFT, 10, 10);
    PushButton(false, SDL_BUTTON_LEFT, 10, 10);
    PushButton(true, button, 20, 20);
    PushKey(SDLK_a);
    pracownia();
    EXPECT_EQ(k, button);
    EXPECT_TRUE(SDL_HasEvent(SDL_KEYDOWN)) << "returned at the press";
    EXPECT_TRUE(SameImage(Picture(), WhiteWith({{10, 10}})));
    DrainEvents();
    Wipe();
  }
}

TEST_F(Pracownia, AShapeCancelledWithTheRightButtonLeavesTheDrawingScreen) {
  co = 2;
  PushButton(true, SDL_BUTTON_LEFT, 10, 10);
  ReleaseMovePress(30, 10, SDL_BUTTON_RIGHT);
  PushKey(SDLK_a);
  pracownia();
  EXPECT_EQ(k, 3);
  EXPECT_TRUE(SDL_HasEvent(SDL_KEYDOWN)) << "returned at once, nothing thrown away";
  EXPECT_TRUE(SameImage(Picture(), White()));
}

TEST_F(Pracownia, PointAndFillActOnEveryEventWithTheLeftButton) {
  // A fill on white paints everything; a second one on the same spot changes nothing.
  co = 11;
  kolor = 5;
  Enter();
  PushButton(true, SDL_BUTTON_LEFT, 300, 300);
  PushMotion(301, 300, SDL_BUTTON_LMASK);
  PushButton(true, SDL_BUTTON_RIGHT, 20, 20);
  pracownia();
  EXPECT_TRUE(SameImage(Picture(), Image(640, 400, GEMColor[5])));

  Wipe();
  co = 0;
  PushButton(true, SDL_BUTTON_LEFT, 10, 10);
  PushMotion(11, 10, SDL_BUTTON_LMASK);
  PushMotion(13, 12, SDL_BUTTON_LMASK);
  PushButton(false, SDL_BUTTON_LEFT, 13, 12);
  PushMotion(20, 20);
  PushButton(true, SDL_BUTTON_RIGHT, 20, 20);
  pracownia();
  EXPECT_TRUE(SameImage(Picture(), WhiteWith({{10, 10}, {11, 10}, {13, 12}})));
}

TEST_F(Pracownia, BackspaceUndoesTheLastActionOnly) {
  co = 0;
  PushKey(SDLK_BACKSPACE);  // right after entering: nothing to undo
  PushButton(true, SDL_BUTTON_LEFT, 10, 10);
  PushMotion(12, 10, SDL_BUTTON_LMASK);  // a second action with its own undo copy
  PushKey(SDLK_BACKSPACE);
  PushKey(SDLK_BACKSPACE);  // changes nothing more
  PushButton(true, SDL_BUTTON_RIGHT, 20, 20);
  pracownia();
  EXPECT_TRUE(SameImage(Picture(), WhiteWith({{10, 10}})));
  EXPECT_TRUE(SameImage(ReadPixels(nullptr), WhiteWith({{10, 10}}), true)) << "and shown";
}

TEST_F(Pracownia, MotionWithoutAButtonAndKeysDoNothing) {
  ClearTarget(rob_e$, GEMColor[2]);  // an undo copy that would show if it were made
  Enter();
  for (uint8_t tool : {0, 1, 2, 11}) {
    SCOPED_TRACE(int(tool));
    co = tool;
    PushMotion(30, 30);
    PushKey(SDLK_a);
    PushKey(SDLK_RETURN);
    PushButton(true, SDL_BUTTON_RIGHT, 20, 20);
    pracownia();
    EXPECT_TRUE(SameImage(ReadPixels(rob_e$), Picture())) << "the press made the undo copy";
    EXPECT_TRUE(SameImage(Picture(), White()));
    ClearTarget(rob_e$, GEMColor[2]);
    Enter();
  }
}

TEST_F(Pracownia, ACloseRequestIsIgnored) {
  co = 0;
  PushQuit();
  PushButton(true, SDL_BUTTON_LEFT, 10, 10);
  PushQuit();
  PushButton(true, SDL_BUTTON_RIGHT, 20, 20);
  pracownia();
  EXPECT_EQ(Quit, 0);
  EXPECT_TRUE(SameImage(Picture(), WhiteWith({{10, 10}})));
}

TEST_F(Pracownia, BackspaceTakesBackTheWholeActionOfEveryTool) {
  struct {
    const char* name;
    uint8_t co;
    Steps action;
    // clang-format off
  } cases[] = {
      {"point", 0, {Press(50, 50)}},
      {"freehand stroke", 1,
       {Press(50, 50), Move(60, 50, SDL_BUTTON_LMASK), Move(60, 60, SDL_BUTTON_LMASK),
        Move(70, 60, SDL_BUTTON_LMASK), Release(70, 60), Move(71, 60), Move(72, 60)}},
      {"line", 2, TwoPoints(50, 50, 80, 70)},
      {"polyline", 3,
       TwoPoints(50, 50, 80, 70) + TwoPoints(80, 70, 90, 50) +
           Steps{Move(60, 60), Press(60, 60, SDL_BUTTON_RIGHT)}},
      {"frame", 4, TwoPoints(50, 50, 80, 70)},
      {"filled rectangle", 5, TwoPoints(50, 50, 80, 70)},
      {"circle", 6, TwoPoints(50, 50, 80, 70)},
      {"disc", 7, TwoPoints(50, 50, 80, 70)},
      {"ellipse", 8, TwoPoints(50, 50, 80, 70)},
      {"filled ellipse", 9, TwoPoints(50, 50, 80, 70)},
      {"fill", 11, {Press(50, 50)}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    co = c.co;
    lin_szer = 4;
    {
      Player user(c.action + Steps{Press(5, 5, SDL_BUTTON_RIGHT)});
      pracownia();
    }
    EXPECT_TRUE(Picture().px != White().px) << "drawn";
    DrainEvents();
    Wipe();
    {
      Player user(c.action + Steps{Key(SDLK_BACKSPACE), Press(5, 5, SDL_BUTTON_RIGHT)});
      pracownia();
    }
    EXPECT_TRUE(SameImage(Picture(), White())) << "taken back";
    EXPECT_EQ(k, 3) << "still on the drawing screen until the last right press";
    DrainEvents();
  }
}

TEST_F(Pracownia, InversionModeTurnsRedOnWhiteIntoCyan) {
  tryb = 4;  // "Inwersja"
  kolor = 2;
  Enter();
  co = 0;
  PushButton(true, SDL_BUTTON_LEFT, 10, 10);
  PushButton(true, SDL_BUTTON_RIGHT, 20, 20);
  pracownia();
  Image pic = Picture();
  EXPECT_EQ(pic.at(10, 10), Px(0, 255, 255, 0)) << "white minus red, alpha 127 - 127";
  EXPECT_EQ(pic.at(11, 10), GEMColor[0]);
}

using Krata = DrawingScreen;

// The overlay of a grid with spacing step: half-transparent black lines through
// every step-th row and column, transparent elsewhere.
static Image GridOverlay(int step) {
  Image img(640, 400, 0);
  if (step)
    for (int py = 0; py < 400; py++)
      for (int px = 0; px < 640; px++)
        if (px % step == 0 || py % step == 0) img.at(px, py) = Px(0, 0, 0, 128);
  return img;
}

TEST_F(Krata, CommaAndPeriodStepTheGridWithin0To10) {
  struct {
    const char* name;
    std::vector<SDL_Keycode> keys;
    int32_t kr;
    // clang-format off
  } cases[] = {
      {"period once", {SDLK_PERIOD}, 1},
      {"period eleven times", std::vector<SDL_Keycode>(11, SDLK_PERIOD), 10},
      {"comma at no grid", {SDLK_COMMA}, 0},
      {"up two, down one", {SDLK_PERIOD, SDLK_PERIOD, SDLK_COMMA}, 1},
      {"up three", {SDLK_PERIOD, SDLK_PERIOD, SDLK_PERIOD}, 3},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    kr = krh = krv = 0;
    for (SDL_Keycode key : c.keys) PushKey(key);
    PushButton(true, SDL_BUTTON_RIGHT, 20, 20);
    pracownia();
    EXPECT_EQ(kr, c.kr);
    EXPECT_EQ(krh, 8 * c.kr);
    EXPECT_EQ(krv, 8 * c.kr);
    EXPECT_TRUE(SameImage(ReadPixels(kra$), GridOverlay(8 * c.kr)));
    EXPECT_TRUE(SameImage(Picture(), White())) << "the grid is never drawn into the picture";
  }
}

TEST_F(Krata, IsShownOverThePictureOnTheWindowOnly) {
  co = 0;
  PushKey(SDLK_PERIOD);
  PushKey(SDLK_PERIOD);
  PushButton(true, SDL_BUTTON_LEFT, 20, 20);
  PushButton(true, SDL_BUTTON_RIGHT, 5, 5);
  pracownia();
  Image window = ReadPixels(nullptr);
  const uint32_t grid = Rgb(Px(127, 127, 127, 0));  // half-transparent black over white
  for (auto [px, py] : Points{{0, 0}, {16, 5}, {5, 32}, {624, 399}, {639, 384}})
    EXPECT_EQ(Rgb(window.at(px, py)), grid) << px << "," << py;
  for (auto [px, py] : Points{{15, 5}, {17, 5}, {5, 31}, {639, 399}})
    EXPECT_EQ(Rgb(window.at(px, py)), Rgb(GEMColor[0])) << px << "," << py;
  EXPECT_EQ(Rgb(window.at(20, 20)), Rgb(GEMColor[1])) << "the point";
  EXPECT_TRUE(SameImage(Picture(), WhiteWith({{20, 20}})));
}

TEST_F(Krata, StaysInvisibleWhenRedrawnInTheAddingAndMultiplyingModes) {
  for (uint8_t mode : {2, 3}) {
    SCOPED_TRACE(tryb$[mode]);
    tryb = mode;
    Enter();
    kr = 0;
    PushKey(SDLK_PERIOD);
    PushButton(true, SDL_BUTTON_RIGHT, 5, 5);
    pracownia();
    EXPECT_EQ(kr, 1);
    EXPECT_TRUE(SameImage(ReadPixels(kra$), Image(640, 400, 0)));
  }
}

TEST_F(Krata, RestoresTheDrawColour) {
  kolor = 7;
  kr = 1;
  krh = krv = 8;
  krata();
  Uint8 r, g, b, a;
  SDL_GetRenderDrawColor(SDLRenderer, &r, &g, &b, &a);
  EXPECT_EQ(Px(r, g, b, a), GEMColor[7]);
  EXPECT_EQ(SDL_GetRenderTarget(SDLRenderer), GEMScreen);
}
