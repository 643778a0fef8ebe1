#include <string>

#include "tests/paint/draw_gl.h"
#include "tests/support/shapes.h"

static Points Offset(int dx, int dy, const Points& pts) {
  Points out;
  for (auto [px, py] : pts) out.push_back({px + dx, py + dy});
  return out;
}

// The outline ellipse with semi-axes 3 and 2 around (0, 0).
static const Points ellipse32 =
    MaskAt(-3, -2, {"..###..", ".#...#.", "#.....#", ".#...#.", "..###.."});

using Wsp = DrawingScreen;

TEST_F(Wsp, PreviewIsThinSolidAndOnlyOnTheWindow) {
  auto ring = [](int r) {
    Points pts;
    for (int py = 100 - r; py <= 100 + r; py++)
      for (int px = 100 - r; px <= 100 + r; px++)
        if (OnRing(px - 100, py - 100, r)) pts.push_back({px, py});
    return pts;
  };
  struct {
    const char* name;
    uint8_t co;
    int x1, y1, x2, y2;
    Points want;
    // clang-format off
  } cases[] = {
      {"line", 2, 100, 100, 106, 100, MaskAt(100, 100, {"#######"})},
      {"polyline, upwards", 3, 100, 100, 100, 97, MaskAt(100, 97, {"#", "#", "#", "#"})},
      {"frame", 4, 100, 100, 103, 102, MaskAt(100, 100, {"####", "#..#", "####"})},
      {"filled rectangle, entered backwards", 5, 103, 102, 100, 100,
       MaskAt(100, 100, {"####", "#..#", "####"})},
      {"circle: offset (3, 3) is radius 4", 6, 100, 100, 103, 103, ring(4)},
      {"circle: offset (-12, 9) is radius 15", 6, 100, 100, 88, 109, ring(15)},
      {"disc", 7, 100, 100, 103, 103, ring(4)},
      {"ellipse", 8, 100, 100, 103, 102, Offset(100, 100, ellipse32)},
      {"filled ellipse, negative semi-axes", 9, 100, 100, 97, 98, Offset(100, 100, ellipse32)},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    co = c.co;
    lin_r = 2;
    lin_szer = 6;
    Pressed(c.x1, c.y1);
    ReleaseMovePress(c.x2, c.y2);
    int32_t p[4] = {};
    wsp(p);
    EXPECT_EQ(k, 1);
    EXPECT_EQ(p[0], c.x1);
    EXPECT_EQ(p[1], c.y1);
    EXPECT_EQ(p[2], c.x2);
    EXPECT_EQ(p[3], c.y2);
    EXPECT_EQ(lin_r, 2) << "the user's style is back";
    EXPECT_EQ(lin_szer, 6) << "the user's width is back";
    EXPECT_EQ(SDL_GetRenderTarget(SDLRenderer), GEMScreen);
    EXPECT_TRUE(SameImage(ReadPixels(nullptr), WhiteWith(c.want), true)) << "the last frame";
    EXPECT_TRUE(SameImage(Picture(), White())) << "the picture is untouched";
  }
}

TEST_F(Wsp, PreviewFramesShowTheGrid) {
  co = 2;
  kr = 1;
  krh = krv = 8;
  krata();
  Pressed(20, 20);
  ReleaseMovePress(30, 20);
  int32_t p[4] = {};
  wsp(p);
  Image window = ReadPixels(nullptr);
  const uint32_t grid = Rgb(Px(127, 127, 127, 0));  // half-transparent black over white
  EXPECT_EQ(Rgb(window.at(16, 3)), grid);
  EXPECT_EQ(Rgb(window.at(17, 3)), Rgb(GEMColor[0]));
  EXPECT_EQ(Rgb(window.at(25, 20)), Rgb(GEMColor[kolor])) << "the preview over the grid";
  EXPECT_TRUE(SameImage(Picture(), White()));
}

TEST_F(Wsp, EndsOnTheFirstPressOrDragAndConfirmsOnlyWithTheLeftButton) {
  struct {
    const char* name;
    std::function<void()> end;
    int k;
    // clang-format off
  } cases[] = {
      {"left press", [] { PushButton(true, SDL_BUTTON_LEFT, 60, 60); }, 1},
      {"middle press", [] { PushButton(true, SDL_BUTTON_MIDDLE, 60, 60); }, 2},
      {"right press", [] { PushButton(true, SDL_BUTTON_RIGHT, 60, 60); }, 3},
      {"drag with the left button", [] { PushMotion(60, 60, SDL_BUTTON_LMASK); }, 1},
      {"drag with the right button", [] { PushMotion(60, 60, SDL_BUTTON_RMASK); }, 4},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    co = 2;
    Pressed(40, 40);
    PushButton(false, SDL_BUTTON_LEFT, 40, 40);
    PushMotion(50, 40);
    c.end();
    linia();
    EXPECT_EQ(k, c.k);
    Image want = c.k == 1 ? WhiteWith(MaskAt(40, 40, {"###########"})) : White();
    EXPECT_TRUE(SameImage(Picture(), want)) << "to the point of the last frame, (50, 40)";
    Wipe();
  }
}

TEST_F(Wsp, KeysDuringThePreviewDoNothing) {
  ClearTarget(rob_e$, GEMColor[1]);  // an undo copy that Backspace would bring back
  Enter();
  co = 2;
  Pressed(40, 40);
  PushButton(false, SDL_BUTTON_LEFT, 40, 40);
  for (SDL_Keycode key : {SDLK_BACKSPACE, SDLK_PERIOD, SDLK_COMMA, SDLK_RETURN, SDLK_ESCAPE})
    PushKey(key);
  PushQuit();
  PushMotion(44, 40);
  PushButton(true, SDL_BUTTON_LEFT, 44, 40);
  linia();
  EXPECT_EQ(k, 1);
  EXPECT_EQ(kr, 0);
  EXPECT_EQ(Quit, 0) << "a close request is dropped too";
  EXPECT_TRUE(SameImage(Picture(), WhiteWith(MaskAt(40, 40, {"#####"}))));
}

TEST_F(Wsp, PressWithoutMovingGivesTheFirstPointAgain) {
  co = 2;
  Pressed(30, 30);
  PushButton(false, SDL_BUTTON_LEFT, 30, 30);
  PushButton(true, SDL_BUTTON_LEFT, 30, 30);
  int32_t p[4] = {};
  wsp(p);
  EXPECT_EQ(p[2], 30);
  EXPECT_EQ(p[3], 30);
  EXPECT_EQ(Rgb(ReadPixels(nullptr).at(30, 30)), Rgb(GEMColor[kolor])) << "a one-pixel preview";
}

// The tools, each started as pracownia starts it, then given the second point.
class Tools : public DrawingScreen {
 protected:
  // Runs tool from (x1, y1) to (x2, y2), the second point confirmed with button.
  static void Draw(void (*tool)(), uint8_t toolNo, int x1, int y1, int x2, int y2,
                   uint8_t button = SDL_BUTTON_LEFT) {
    co = toolNo;
    Pressed(x1, y1);
    ReleaseMovePress(x2, y2, button);
    tool();
  }
};

TEST_F(Tools, LineUsesTheStyleAndWidth) {
  struct {
    const char* name;
    uint8_t style, width;
    int x1, y1, x2, y2;
    Points want;
    // clang-format off
  } cases[] = {
      {"shallow", 0, 1, 100, 100, 110, 103,
       MaskAt(100, 100, {"##.........", "..####.....", "......###..", ".........##"})},
      {"the same backwards differs at x = 105", 0, 1, 110, 103, 100, 100,
       MaskAt(100, 100, {"##.........", "..###......", ".....####..", ".........##"})},
      {"one point", 0, 1, 50, 50, 50, 50, MaskAt(50, 50, {"#"})},
      {"dotted", 2, 1, 0, 10, 40, 10,
       MaskAt(0, 10, {"##......##......##......##......##......#"})},
      {"width 2 is a 3x3 pen", 0, 2, 50, 50, 50, 50, MaskAt(49, 49, {"###", "###", "###"})},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    lin_r = c.style;
    lin_szer = c.width;
    Draw(linia, 2, c.x1, c.y1, c.x2, c.y2);
    EXPECT_TRUE(SameImage(Picture(), WhiteWith(c.want)));
    Wipe();
  }
}

TEST_F(Tools, PolylineKeepsItsSegmentsWhenEndedWithTheRightButton) {
  co = 3;
  Pressed(100, 100);
  ReleaseMovePress(104, 100);
  ReleaseMovePress(104, 103);
  ReleaseMovePress(110, 110, SDL_BUTTON_RIGHT);
  lamana();
  EXPECT_EQ(k, 0) << "the right button only ends the polyline";
  EXPECT_TRUE(
      SameImage(Picture(), WhiteWith(MaskAt(100, 100, {"#####", "....#", "....#", "....#"}))))
      << "the segment being shown at the right press is dropped";
}

TEST_F(Tools, FrameJoinsTheCornersEitherWayRound) {
  const Points frame = MaskAt(100, 100, {"#####", "#...#", "#####"});
  struct {
    const char* name;
    int x1, y1, x2, y2;
    Points want;
    // clang-format off
  } cases[] = {
      {"down and right", 100, 100, 104, 102, frame},
      {"up and left", 104, 102, 100, 100, frame},
      {"one point", 70, 70, 70, 70, MaskAt(70, 70, {"#"})},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Draw(ramka, 4, c.x1, c.y1, c.x2, c.y2);
    EXPECT_TRUE(SameImage(Picture(), WhiteWith(c.want)));
    Wipe();
  }
}

TEST_F(Tools, FrameCornersAreBlendedTwice) {
  tryb = 1;  // "Mieszanie"
  Enter();
  Draw(ramka, 4, 100, 100, 104, 102);
  Image pic = Picture();
  uint32_t edge = pic.at(102, 100), corner = pic.at(100, 100);
  EXPECT_LT(corner & 0xFF, edge & 0xFF) << "a corner is darker than an edge";
  for (auto [px, py] : Points{{104, 100}, {100, 102}, {104, 102}})
    EXPECT_EQ(pic.at(px, py), corner);
  for (auto [px, py] : Points{{102, 102}, {100, 101}, {104, 101}}) EXPECT_EQ(pic.at(px, py), edge);
}

TEST_F(Tools, FilledRectangleInTheCurrentColourAndPattern) {
  Draw(prostok, 5, 100, 100, 110, 106);
  Points rect;
  for (int py = 100; py <= 106; py++)
    for (int px = 100; px <= 110; px++) rect.push_back({px, py});
  EXPECT_TRUE(SameImage(Picture(), WhiteWith(rect))) << "solid pattern";

  Wipe();
  Draw(prostok, 5, 50, 50, 50, 50);
  EXPECT_TRUE(SameImage(Picture(), WhiteWith({{50, 50}}))) << "zero size: one point";

  Wipe();
  wyp = 7;
  kolor = 4;
  Enter();
  Draw(prostok, 5, 100, 100, 110, 106);
  Image pic = Picture();
  EXPECT_TRUE(SameImage(pic, Reference([] { pbox(100, 100, 110, 106); })));
  EXPECT_EQ(pic.at(110, 103), GEMColor[4]) << "outline";
}

TEST_F(Tools, CircleAndEllipseUseTheStyleAndWidth) {
  struct {
    const char* name;
    void (*tool)();
    uint8_t co, style, width;
    int x2, y2;
    int a, b;  // the ellipse the tool must draw around (200, 200)
    // clang-format off
  } cases[] = {
      {"circle: offset (3, 3) is radius 4", okrag, 6, 0, 1, 203, 203, 4, 4},
      {"circle: offset (2, 3) is radius 3", okrag, 6, 0, 1, 202, 203, 3, 3},
      {"circle, wide and dotted", okrag, 6, 2, 4, 180, 230, 36, 36},
      {"ellipse", elipsa, 8, 0, 1, 212, 195, 12, 5},
      {"ellipse, wide and dashed", elipsa, 8, 1, 6, 160, 230, 40, 30},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    lin_r = c.style;
    lin_szer = c.width;
    Draw(c.tool, c.co, 200, 200, c.x2, c.y2);
    Image got = Picture();
    EXPECT_TRUE(SameImage(got, Reference([&] { ellipse(200, 200, c.a, c.b, 0); })));
    Wipe();
  }
}

TEST_F(Tools, EllipseIgnoresTheSignOfTheOffsets) {
  for (auto [x2, y2] : Points{{103, 102}, {97, 98}, {103, 98}}) {
    SCOPED_TRACE(testing::Message() << "second point " << x2 << "," << y2);
    Draw(elipsa, 8, 100, 100, x2, y2);
    EXPECT_TRUE(SameImage(Picture(), WhiteWith(Offset(100, 100, ellipse32))));
    Wipe();
  }
}

TEST_F(Tools, FilledShapesHaveAThinSolidOutlineWhateverTheStyle) {
  struct {
    const char* name;
    void (*tool)();
    uint8_t co;
    int x2, y2;
    int a, b;
    // clang-format off
  } cases[] = {
      {"disc, radius 4", kolo, 7, 303, 303, 4, 4},
      {"disc, radius 30", kolo, 7, 330, 300, 30, 30},
      {"filled ellipse", dysk, 9, 260, 330, 40, 30},
      {"filled ellipse, entered up and left", dysk, 9, 290, 295, 10, 5},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    lin_r = 2;
    lin_szer = 6;
    Draw(c.tool, c.co, 300, 300, c.x2, c.y2);
    EXPECT_EQ(lin_r, 2) << "the user's style is back";
    EXPECT_EQ(lin_szer, 6) << "the user's width is back";
    // In "Wymiana" with the solid pattern the shape is one colour, outline included.
    Image got = Picture();
    Image want = Reference([&] {
      lin_r = 0;
      lin_szer = 1;
      ellipse(300, 300, c.a, c.b, 1);
    });
    EXPECT_TRUE(SameImage(got, want));
    Wipe();
  }
}

TEST_F(Tools, FilledShapeGetsThePatternInside) {
  kolor = 3;
  wyp = 12;
  Enter();
  Draw(kolo, 7, 300, 300, 320, 300);
  Image pic = Picture();
  EXPECT_EQ(pic.at(280, 300), GEMColor[3]) << "outline";
  EXPECT_EQ(pic.at(279, 300), GEMColor[0]) << "outside";
  size_t gaps = 0;
  for (int px = 285; px <= 315; px++) gaps += pic.at(px, 300) == GEMColor[0];
  EXPECT_GT(gaps, 0u) << "pattern 12 leaves background gaps inside";
  EXPECT_LT(gaps, 31u);
}

// A zero radius or semi-axis: the outline tools draw nothing; the filled ones have no
// outline to stop their fill, which covers the region that holds the centre (here the
// inside of a black frame, not the picture around it).
TEST_F(Tools, ZeroSizeRoundShapes) {
  struct {
    const char* name;
    void (*tool)();
    uint8_t co;
    int x2, y2;
    bool fills;
    // clang-format off
  } cases[] = {
      {"circle", okrag, 6, 200, 200, false},
      {"ellipse, flat", elipsa, 8, 230, 200, false},
      {"ellipse, upright", elipsa, 8, 200, 170, false},
      {"disc", kolo, 7, 200, 200, true},
      {"filled ellipse, flat", dysk, 9, 230, 200, true},
      {"filled ellipse, upright", dysk, 9, 200, 170, true},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Wipe();
    SDL_Rect frame = {180, 180, 41, 41};
    SDLDrawColor(GEMColor[1]);
    SDL_RenderDrawRect(SDLRenderer, &frame);
    kolor = 2;
    Enter();
    Draw(c.tool, c.co, 200, 200, c.x2, c.y2);
    EXPECT_EQ(k, 1);
    Image want = White();
    for (int py = 180; py <= 220; py++)
      for (int px = 180; px <= 220; px++) {
        bool edge = px == 180 || px == 220 || py == 180 || py == 220;
        if (edge || c.fills) want.at(px, py) = edge ? GEMColor[1] : GEMColor[2];
      }
    EXPECT_TRUE(SameImage(Picture(), want));
  }
}

TEST_F(Tools, CancelledShapesDrawNothing) {
  struct {
    const char* name;
    void (*tool)();
    uint8_t co;
    // clang-format off
  } cases[] = {
      {"line", linia, 2},   {"frame", ramka, 4},  {"filled rectangle", prostok, 5},
      {"circle", okrag, 6}, {"disc", kolo, 7},    {"ellipse", elipsa, 8},
      {"filled ellipse", dysk, 9},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Draw(c.tool, c.co, 200, 200, 230, 220, SDL_BUTTON_RIGHT);
    EXPECT_EQ(k, 3);
    EXPECT_TRUE(SameImage(Picture(), White()));
  }
}

TEST_F(Tools, FreehandClickWithoutMotionIsOnePoint) {
  Pressed(60, 70);
  PushButton(false, SDL_BUTTON_LEFT, 60, 70);
  PushMotion(60, 70);
  rysuj();
  EXPECT_EQ(k, 0);
  EXPECT_TRUE(SameImage(Picture(), WhiteWith(MaskAt(60, 70, {"#"}))));
}

TEST_F(Tools, FreehandStrokeJoinsTheSampledPositions) {
  Pressed(10, 50);
  {
    Player user(
        {[] { PushMotion(40, 50, SDL_BUTTON_LMASK); }, [] { PushMotion(40, 50, SDL_BUTTON_LMASK); },
         [] { PushMotion(40, 80, SDL_BUTTON_LMASK); }, [] { PushMotion(40, 80, SDL_BUTTON_LMASK); },
         [] { PushButton(true, SDL_BUTTON_RIGHT, 40, 80); }});
    rysuj();
  }
  EXPECT_EQ(k, 3) << "ended by the right press";
  Points want;
  for (int px = 10; px <= 40; px++) want.push_back({px, 50});
  for (int py = 51; py <= 80; py++) want.push_back({40, py});
  EXPECT_TRUE(SameImage(Picture(), WhiteWith(want)));
}
