// The block tool on the real program: cut, stamped in the five modes, dragged, undone,
// cut at the edges, corners picked every way round, a cancelled cut, and the grid.
#include "tests/e2e/drawing_e2e.h"
#include "tests/support/blend.h"

namespace {

// Red, white and grey as pixels of the picture (alpha 127), for the blend equations.
constexpr uint32_t redPx = FromRgb(CZERWONY, 0x7F), whitePx = FromRgb(BIALY, 0x7F),
                   greyPx = FromRgb(PALETA[8], 0x7F);

// A filled rectangle in palette colour i between the corners, drawn from the control
// screen as a user does; back on the control screen afterwards.
void Rectangle(App& app, int i, int x1, int y1, int x2, int y2) {
  ChooseTool(app, 5);
  ChooseColour(app, i);
  SwitchScreens(app);
  TwoPoints(app, x1, y1, x2, y2);
  Await(
      app, [&](const Shot& s) { return s.at(x2, y2) == PALETA[i]; }, "the rectangle");
  SwitchScreens(app);
}

// The block tool on the drawing screen, over a red rectangle (100, 100)-(139, 119),
// drawing in black.
void BlockTool(App& app) {
  Rectangle(app, 2, 100, 100, 139, 119);
  ChooseColour(app, 1);
  ChooseTool(app, 10);
  SwitchScreens(app);
}

// Escape with the pointer at (400, 60), then waits for the cross-hair there.
void StartCut(App& app) {
  app.move(400, 60);
  app.key("Escape");
  Await(
      app, [](const Shot& s) { return s.at(400, 5) == CZARNY; }, "the cross-hair");
}

// Escape and a click at each corner. Waits for the cross-hair to come up first and for
// every cross-hair to be gone afterwards (column 400 and rows 60, y1 and y2 not black
// at the window's edge): until then the tool may still be waiting for the button to be
// let go, and would take what follows with it.
void Cut(App& app, int x1, int y1, int x2, int y2) {
  StartCut(app);
  app.click(x1, y1);
  app.click(x2, y2);
  Await(
      app,
      [&](const Shot& s) {
        return s.at(400, 5) != CZARNY && s.at(5, 60) != CZARNY && s.at(5, y1) != CZARNY &&
               s.at(5, y2) != CZARNY;
      },
      "the cut's end");
}

// A stamp at (x, y), seen once the pixel at (x + dx, y + dy) turns want.
void Stamp(App& app, int x, int y, int dx = 0, int dy = 0, uint32_t want = CZERWONY) {
  app.click(x, y);
  Await(
      app, [&](const Shot& s) { return s.at(x + dx, y + dy) == want; }, "the stamp");
}

// The picture alone: to the control screen and back, where nothing has moved yet.
Shot Picture(App& app) {
  SwitchScreens(app);
  SwitchScreens(app);
  return app.settle();
}

}  // namespace

TEST(Block, StampsInEveryModeByItsBlendEquationAndOutlivesTheControlScreen) {
  App app;
  Rectangle(app, 8, 200, 200, 619, 299);
  BlockTool(app);
  // 20x20: its top-left quarter red, the rest white.
  Cut(app, 130, 110, 149, 129);
  // Each stamp straddles the grey's top edge: five rows on white, fifteen on grey.
  for (int mode = 0; mode < 5; mode++) {
    SCOPED_TRACE(mode);
    if (mode) {
      SwitchScreens(app);
      NextMode(app);
      SwitchScreens(app);
    }
    uint32_t onGrey = ToRgb(BlendPixel(mode, redPx, greyPx));
    Stamp(app, 210 + 80 * mode, 195, 2, 7, onGrey);
  }
  Shot s = Picture(app);
  for (int mode = 0; mode < 5; mode++) {
    SCOPED_TRACE(mode);
    int left = 210 + 80 * mode;
    EXPECT_TRUE(SameArea(GridOf(s, Layout::Rgb), left - 2, 193, 24, 24,
                         [&](int x, int y) {
                           uint32_t dst = y >= 200 && y <= 299 ? greyPx : whitePx;
                           bool in = x >= left && x < left + 20 && y >= 195 && y < 215;
                           if (!in) return ToRgb(dst);
                           uint32_t src = x < left + 10 && y < 205 ? redPx : whitePx;
                           return ToRgb(BlendPixel(mode, src, dst));
                         },
                         {0xFFFFFF, 1}));
  }
}

// The trail is also one step of the history: Ctrl+Z takes all of it back.
TEST(Block, ADragStampsATrailBackspaceTakesBackItsLastStampAndCtrlZAllOfIt) {
  App app;
  BlockTool(app);
  Cut(app, 110, 105, 119, 114);  // 10x10, all red
  app.press(300, 320);
  for (int x : {300, 315, 330}) {
    app.move(x, 320);  // no motion for the first: the pointer is there
    Await(
        app, [&](const Shot& s) { return s.at(x, 320) == CZERWONY; }, "the stamp");
  }
  app.release();
  app.key("BackSpace");
  app.move(500, 30);  // the block, shown at the pointer, goes with it
  Shot s = app.waitFor([](const Shot& s) { return s.at(330, 320) == BIALY; });
  Points two;
  for (int left : {300, 315})
    for (int y = 320; y < 330; y++)
      for (int x = left; x < left + 10; x++) two.push_back({x, y});
  EXPECT_TRUE(Shows(s, two, CZERWONY, 290, 310, 60, 30)) << "the first two stamps stay";
  EXPECT_TRUE(Shows(Picture(app), two, CZERWONY, 290, 310, 60, 30)) << "in the picture";
  app.key("ctrl+z");
  s = app.waitFor([](const Shot& s) { return s.at(300, 320) == BIALY; });
  EXPECT_TRUE(Shows(s, {}, CZERWONY, 290, 310, 60, 30)) << "Ctrl+Z: the whole trail";
  app.key("ctrl+y");
  s = app.waitFor([](const Shot& s) { return s.at(300, 320) == CZERWONY; });
  EXPECT_TRUE(Shows(s, two, CZERWONY, 290, 310, 60, 30)) << "Ctrl+Y: the trail Backspace left";
}

TEST(Block, StampsAreCutAtTheRightAndBottomEdges) {
  App app;
  BlockTool(app);
  Cut(app, 110, 105, 119, 114);
  Stamp(app, 635, 395);
  Stamp(app, 636, 100);
  Stamp(app, 100, 396);
  Shot s = Picture(app);
  Points want;
  auto square = [&](int x0, int y0) {
    for (int y = y0; y < y0 + 10 && y < 400; y++)
      for (int x = x0; x < x0 + 10 && x < 640; x++) want.push_back({x, y});
  };
  square(635, 395);
  square(636, 100);
  square(100, 396);
  EXPECT_TRUE(Shows(s, want, CZERWONY, 620, 380, 20, 20));
  EXPECT_TRUE(Shows(s, want, CZERWONY, 620, 90, 20, 20));
  EXPECT_TRUE(Shows(s, want, CZERWONY, 90, 380, 20, 20));
}

TEST(Block, CornersInAnyOrderACancelledCutAndTheGrid) {
  App app;
  BlockTool(app);
  // 10x10 over the red rectangle's top-left corner: its bottom-right 5x5 red, so that
  // a block a pixel short or long shows.
  Points corner;
  for (int y = 5; y < 10; y++)
    for (int x = 5; x < 10; x++) corner.push_back({x, y});
  auto at = [](const Points& pts, int dx, int dy) {
    Points out;
    for (auto [x, y] : pts) out.push_back({x + dx, y + dy});
    return out;
  };
  struct {
    const char* name;
    int x1, y1, x2, y2, stampX;
    // clang-format off
  } cases[] = {
      {"right to left and bottom to top", 104, 104, 95, 95, 300},
      {"bottom-left, then top-right", 95, 104, 104, 95, 330},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Cut(app, c.x1, c.y1, c.x2, c.y2);
    Stamp(app, c.stampX, 40, 9, 9);
    app.move(500, 300);
    Shot s = app.waitFor([&](const Shot& s) { return s.at(509, 309) == CZERWONY; });
    EXPECT_TRUE(Shows(s, at(corner, c.stampX, 40), CZERWONY, c.stampX - 3, 37, 16, 16))
        << "the stamp";
  }

  // A right click while picking a corner cancels the cut; the block and the tool stay.
  StartCut(app);
  app.move(450, 330);
  Await(
      app, [](const Shot& s) { return s.at(450, 5) == CZARNY; }, "the cross-hair moved");
  app.click(450, 330, 3);
  Await(
      app, [](const Shot& s) { return s.at(450, 5) == BIALY; }, "the cut cancelled");
  Stamp(app, 360, 40, 9, 9);
  Shot s = app.settle();
  EXPECT_TRUE(Shows(s, at(corner, 360, 40), CZERWONY, 357, 37, 16, 16)) << "the old block";

  // The grid is shown over the picture while cutting but is not cut with it.
  app.key("period");
  app.key("period");
  Await(
      app, [](const Shot& s) { return s.at(16, 5) != BIALY; }, "the grid");
  Cut(app, 104, 102, 135, 117);  // all red, across grid lines at x 112 and 128, y 112
  app.key("comma");
  app.key("comma");
  Await(
      app, [](const Shot& s) { return s.at(16, 5) == BIALY; }, "no grid");
  Stamp(app, 300, 150);
  Points all;
  for (int y = 150; y < 166; y++)
    for (int x = 300; x < 332; x++) all.push_back({x, y});
  EXPECT_TRUE(Shows(Picture(app), all, CZERWONY, 295, 145, 45, 25));
}
