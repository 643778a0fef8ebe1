// The magnifier on the real program: its screen for grid steps 1, 3 and 10, painting,
// the colour strip, a cell at the right edge, the way back, Backspace, and no grid.
#include "tests/e2e/drawing_e2e.h"
#include "tests/support/magnifier.h"

namespace {

// A white picture with black points.
struct Picture {
  std::set<std::pair<int, int>> points;
  uint32_t operator()(int x, int y) const { return points.count({x, y}) ? CZARNY : BIALY; }
};

// Whether the whole window is want, pixel for pixel.
testing::AssertionResult Same(const Shot& s, const std::vector<uint32_t>& want) {
  return SameGrid(GridOf(s, Layout::Rgb), {640, 400, want.data(), Layout::Rgb});
}

std::vector<uint32_t> Alone(const Picture& pic) {
  std::vector<uint32_t> v(640 * 400);
  for (int y = 0; y < 400; y++)
    for (int x = 0; x < 640; x++) v[size_t(y) * 640 + x] = pic(x, y);
  return v;
}

bool Magnifying(const Shot& s) { return s.at(205, 5) == CZARNY && s.at(625, 395) == CZARNY; }

// Opens the magnifier with a click at (x, y) and waits for its screen.
Shot Open(App& app, int x, int y) {
  app.click(x, y);
  Await(app, Magnifying, "the magnifier");
  return app.settle();
}

// A right click: back on the drawing screen, the grid over the picture.
void Close(App& app) {
  app.click(630, 200, 3);
  Await(
      app, [](const Shot& s) { return !Magnifying(s); }, "the drawing screen");
  app.settle();
}

// A click on cell pixel (ex, ey) in the enlarged view, seen painted in rgb.
void Paint(App& app, const MagnifiedCell& c, int ex, int ey, uint32_t rgb) {
  app.click(MagnifierX(c, ex), MagnifierY(c, ey));
  Await(
      app, [&](const Shot& s) { return s.at(220 + ex * c.zf, ey * c.zf) == rgb; }, "a pixel");
}

// Grid keys: n times "." (or "," when n is negative), until the grid of the step
// is shown: along row 395, no line before x = 8 * step and one there (none for step 0).
void Grid(App& app, int n, int step) {
  for (int i = 0; i < (n < 0 ? -n : n); i++) app.key(n < 0 ? "comma" : "period");
  auto shown = [&](const Shot& s) {
    for (int x = 0; x < 8 * step; x++)
      if (s.at(x, 395) != (x ? BIALY : 0x7F7F7F)) return false;
    return s.at(8 * step, 395) == (step ? 0x7F7F7F : BIALY);
  };
  Await(app, shown, "the grid");
}

// The magnifier tool on the drawing screen with grid step `step`.
void Magnifier(App& app, int step) {
  ChooseTool(app, 12);
  SwitchScreens(app);
  Grid(app, step, step);
}

}  // namespace

TEST(Magnifier, ScreenForGridSteps1And3And10PixelForPixel) {
  App app;
  Picture pic;
  pic.points = {{330, 218}, {333, 222}, {335, 223}, {328, 216}, {50, 50},   {71, 71},
                {72, 60},   {60, 72},   {639, 399}, {560, 320}, {600, 350}, {140, 300}};
  ChooseTool(app, 0);
  SwitchScreens(app);
  for (auto [x, y] : pic.points) {
    app.click(x, y);
    Await(
        app, [&](const Shot& s) { return s.at(x, y) == CZARNY; }, "a point");
  }
  SwitchScreens(app);
  Magnifier(app, 0);

  // With the grid off a click does nothing and the drawing screen stays.
  app.click(333, 222);
  EXPECT_TRUE(Same(app.settle(), Alone(pic)));

  struct {
    const char* name;
    int keys, x, y;
    MagnifiedCell cell;
    // clang-format off
  } cases[] = {
      {"step 1: eight pixels of 50x50", 1, 333, 222, {8, 328, 216, 50, 8}},
      {"step 3: 25 pixels shown of the 24 of the cell", 2, 50, 50, {24, 48, 48, 16, 25}},
      {"step 10: the bottom-right cell", 7, 639, 399, {80, 560, 320, 5, 80}},
  };
  // clang-format on
  int step = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    step += c.keys;
    Grid(app, c.keys, step);
    EXPECT_TRUE(Same(Open(app, c.x, c.y), MagnifierScreen(c.cell, pic, PALETA)));
    Close(app);
  }
  Grid(app, -step, 0);
  EXPECT_TRUE(Same(app.settle(), Alone(pic))) << "nothing changed";
}

TEST(Magnifier, PaintsPicksColoursAndBackspaceTakesAllOfItBack) {
  const MagnifiedCell c = {8, 328, 216, 50, 8};
  App app;
  Magnifier(app, 1);
  Open(app, 333, 222);
  Paint(app, c, 2, 3, CZARNY);
  app.click(12 * 2 + 6, 6);  // the strip's red
  Paint(app, c, 4, 4, CZERWONY);
  // A drag paints every pixel passed over.
  app.press(MagnifierX(c, 5), MagnifierY(c, 5));
  for (auto [ex, ey] : Points{{5, 5}, {6, 5}, {7, 6}}) {
    app.move(MagnifierX(c, ex), MagnifierY(c, ey));
    Await(
        app, [&](const Shot& s) { return s.at(220 + ex * 50, ey * 50) == CZERWONY; }, "a pixel");
  }
  app.release();
  Picture blank;
  std::vector<uint32_t> want = MagnifierScreen(c, blank, PALETA);
  MagnifierPaint(want, c, 2, 3, CZARNY);
  for (auto [ex, ey] : Points{{4, 4}, {5, 5}, {6, 5}, {7, 6}})
    MagnifierPaint(want, c, ex, ey, CZERWONY);
  EXPECT_TRUE(Same(app.settle(), want));

  Close(app);
  Grid(app, -1, 0);
  std::vector<uint32_t> pic = Alone(blank);
  pic[size_t(219) * 640 + 330] = CZARNY;
  for (auto [ex, ey] : Points{{4, 4}, {5, 5}, {6, 5}, {7, 6}})
    pic[size_t(216 + ey) * 640 + 328 + ex] = CZERWONY;
  EXPECT_TRUE(Same(app.settle(), pic)) << "only the cell's pixels are written back";

  app.key("BackSpace");
  Await(
      app, [](const Shot& s) { return s.at(330, 219) == BIALY; }, "the undo");
  EXPECT_TRUE(Same(app.settle(), Alone(blank))) << "every edit taken back at once";

  SwitchScreens(app);
  EXPECT_EQ(app.settle().at(426, 224), CZARNY) << "the colour chosen on the panel stays CZARNY";
}

TEST(Magnifier, CellReachingPastTheRightEdge) {
  const MagnifiedCell c = {48, 624, 0, 8, 50};
  App app;
  Magnifier(app, 6);
  Picture blank;
  EXPECT_TRUE(Same(Open(app, 630, 10), MagnifierScreen(c, blank, PALETA)));
  Paint(app, c, 5, 1, CZARNY);   // x 629
  Paint(app, c, 40, 2, CZARNY);  // x 664, past the picture's edge
  Paint(app, c, 47, 47, CZARNY);
  std::vector<uint32_t> want = MagnifierScreen(c, blank, PALETA);
  for (auto [ex, ey] : Points{{5, 1}, {40, 2}, {47, 47}}) MagnifierPaint(want, c, ex, ey, CZARNY);
  EXPECT_TRUE(Same(app.settle(), want));
  Close(app);
  Grid(app, -6, 0);
  Picture one;
  one.points = {{629, 1}};
  EXPECT_TRUE(Same(app.settle(), Alone(one))) << "only the part on the picture";
}
