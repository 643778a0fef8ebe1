// The picture's history on the real program: ten actions of ten tools stepped back one
// by one with Ctrl+Z and forward again, a new action dropping the steps ahead, "Czyść"
// gone back from either screen, a load gone back (a block's making no step), a drag of
// points, 150 points, and a small budget; Backspace beside them as it always was.
#include <string>
#include <vector>

#include "tests/e2e/drawing_e2e.h"
#include "tests/picfiles/bmpmake.h"
#include "tests/picfiles/picmake.h"

namespace {

// The file name written with bytes in the program's directory, loaded through the load
// box box as a user types it; the control screen again.
void Load(App& app, Rect box, const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::string path = app.dir() + "/" + name;
  ASSERT_TRUE(WriteBytes(path, bytes));
  ThroughSelector(app, box, path);
}

// A key, then the window once it shows want (or the last shot after 5 s).
Shot After(App& app, const std::string& key, const Shot& want) {
  app.key(key);
  return app.waitFor([&](const Shot& s) { return s.px == want.px; });
}

// A key that must change nothing: the window settled after it.
Shot Unchanged(App& app, const std::string& key) {
  app.key(key);
  return app.settle();
}

// A line drawn on the drawing screen from the control screen; the drawing screen as it
// showed it, and the control screen again.
Shot Line(App& app) {
  ChooseTool(app, 2);
  SwitchScreens(app);
  TwoPoints(app, 100, 100, 200, 150);
  app.move(639, 399);
  Shot line = app.settle();
  SwitchScreens(app);
  return line;
}

// "Czyść", "Tak", and the control screen again.
void Czysc(App& app) {
  Choose(app, CZYSC);
  app.waitFor(AlertUp);
  Choose(app, TAK);
  app.waitFor(Panel);
}

}  // namespace

TEST(History, TenActionsGoBackOneByOneAndForwardAgain) {
  struct {
    int co;
    void (*draw)(App&);
    // clang-format off
  } actions[] = {
      {0, [](App& a) { a.click(30, 30); }},
      {1, [](App& a) { Stroke(a); }},
      {2, [](App& a) { TwoPoints(a, 100, 100, 140, 110); }},
      {3,
       [](App& a) {
         TwoPoints(a, 150, 100, 180, 130);
         Shot before = a.shot();
         a.move(201, 100);
         a.move(200, 100);
         a.waitFor([&](const Shot& s) { return s.px != before.px; });
         a.click(200, 100);
         a.click(230, 130, 3);  // ends the polyline on the drawing screen
       }},
      {4, [](App& a) { TwoPoints(a, 250, 50, 300, 90); }},
      {5, [](App& a) { TwoPoints(a, 320, 50, 360, 90); }},
      {6, [](App& a) { TwoPoints(a, 420, 80, 440, 80); }},
      {7, [](App& a) { TwoPoints(a, 520, 80, 535, 80); }},
      {8, [](App& a) { TwoPoints(a, 100, 250, 150, 280); }},
      {11, [](App& a) { a.click(270, 70); }},  // inside the frame
  };
  // clang-format on
  App app;
  std::vector<Shot> shots;  // the drawing screen before the first action and after each
  SwitchScreens(app);
  shots.push_back(app.settle());
  for (const auto& a : actions) {
    SwitchScreens(app);
    ChooseTool(app, a.co);
    SwitchScreens(app);
    a.draw(app);
    app.move(639, 399);  // away from any preview
    shots.push_back(app.settle());
    ASSERT_FALSE(SameShot(shots.back(), shots[shots.size() - 2])) << "tool " << a.co << " drew";
  }
  for (int i = 9; i >= 0; i--) {
    SCOPED_TRACE(testing::Message() << "back to before action " << i + 1);
    EXPECT_TRUE(SameShot(After(app, "ctrl+z", shots[i]), shots[i]));
    if (i == 5) {
      EXPECT_TRUE(SameShot(Unchanged(app, "BackSpace"), shots[i])) << "Backspace after Ctrl+Z";
    }
  }
  EXPECT_TRUE(SameShot(Unchanged(app, "ctrl+z"), shots[0])) << "nothing before the first";
  for (int i = 1; i <= 10; i++) {
    SCOPED_TRACE(testing::Message() << "forward to after action " << i);
    const char* key = i % 2 ? "ctrl+y" : "ctrl+shift+z";
    EXPECT_TRUE(SameShot(After(app, key, shots[i]), shots[i]));
  }
  EXPECT_TRUE(SameShot(Unchanged(app, "ctrl+y"), shots[10])) << "nothing after the last";
}

TEST(History, ANewActionAfterThreeStepsBackDropsTheRest) {
  App app;
  ChooseTool(app, 0);
  SwitchScreens(app);
  std::vector<Shot> shots = {app.settle()};
  for (int i = 0; i < 5; i++) {
    app.click(100 + 20 * i, 100);
    shots.push_back(app.waitFor([&](const Shot& s) { return s.at(100 + 20 * i, 100) == CZARNY; }));
  }
  for (int i = 4; i >= 2; i--) EXPECT_TRUE(SameShot(After(app, "ctrl+z", shots[i]), shots[i]));
  app.click(300, 300);
  Shot drawn = app.waitFor([](const Shot& s) { return s.at(300, 300) == CZARNY; });
  EXPECT_TRUE(Shows(drawn, {{100, 100}, {120, 100}, {300, 300}}, CZARNY, 0, 0, 640, 400));
  EXPECT_TRUE(SameShot(Unchanged(app, "ctrl+y"), drawn)) << "the steps ahead are gone";
  EXPECT_TRUE(SameShot(After(app, "ctrl+z", shots[2]), shots[2]));
  EXPECT_TRUE(SameShot(After(app, "ctrl+z", shots[1]), shots[1]));
}

// "Czyść" goes back with Ctrl+Z on the control screen (the drawing screen then shows
// the picture) and on the drawing screen, where Backspace first changes nothing: it
// gives the picture as the drawing screen was entered, the cleared one.
TEST(History, CzyscGoesBackFromEitherScreen) {
  App app;
  const Shot line = Line(app);
  Czysc(app);
  app.key("ctrl+z");
  SwitchScreens(app);
  EXPECT_TRUE(SameShot(app.settle(), line)) << "back from the control screen";

  SwitchScreens(app);
  Czysc(app);
  SwitchScreens(app);
  const Shot blank = app.settle();
  EXPECT_TRUE(Shows(blank, {}, CZARNY, 0, 0, 640, 400)) << "cleared";
  EXPECT_TRUE(SameShot(Unchanged(app, "BackSpace"), blank)) << "Backspace as described";
  EXPECT_TRUE(SameShot(After(app, "ctrl+z", line), line)) << "back from the drawing screen";
  EXPECT_TRUE(SameShot(After(app, "ctrl+y", blank), blank));
}

// A picture loaded is a step; a block loaded after it is none, so Ctrl+Z goes back
// past it to the picture before the load.
TEST(History, ALoadGoesBackAndABlockLoadIsNoStep) {
  App app;
  const Shot line = Line(app);
  // A 2x1 BMP: stretched over the picture, its left half red and its right half blue.
  Load(app, LBMP, "rb.BMP", Bmp24({2, 1, {CZERWONY, PALETA[4]}}));
  SwitchScreens(app);
  const Shot loaded = app.settle();
  EXPECT_TRUE(loaded.at(10, 10) == CZERWONY && loaded.at(630, 390) == PALETA[4]) << "loaded";
  SwitchScreens(app);
  // A 16x3 block of two planes, all colour 1.
  Load(app, LBLOK, "k.GBF", Gbf(16, 2, 2, PlanesOf(std::vector<uint8_t>(16 * 3, 1), 16, 3, 2)));
  SwitchScreens(app);
  EXPECT_TRUE(SameShot(app.settle(), loaded)) << "the block leaves the picture";
  EXPECT_TRUE(SameShot(After(app, "ctrl+z", line), line)) << "back";
  EXPECT_TRUE(SameShot(After(app, "ctrl+y", loaded), loaded)) << "forward";
}

// The points of one drag are one step: Backspace right after the drag takes back its
// last point only, Ctrl+Z the whole drag, and Ctrl+Y brings back what Backspace left.
TEST(History, ADragOfPointsIsOneStep) {
  App app;
  ChooseTool(app, 0);
  SwitchScreens(app);
  const Shot blank = app.settle();
  app.press(100, 100);
  for (int x : {110, 120, 130}) {
    app.move(x, 100);
    app.waitFor([&](const Shot& s) { return s.at(x, 100) == CZARNY; });
  }
  app.release();
  app.key("BackSpace");
  Shot s = app.waitFor([](const Shot& s) { return s.at(130, 100) == BIALY; });
  const Points three = {{100, 100}, {110, 100}, {120, 100}};
  EXPECT_TRUE(Shows(s, three, CZARNY, 0, 0, 640, 400)) << "Backspace: the last point";
  EXPECT_TRUE(SameShot(After(app, "ctrl+z", blank), blank)) << "Ctrl+Z: the whole drag";
  app.key("ctrl+y");
  s = app.waitFor([](const Shot& s) { return s.at(100, 100) == CZARNY; });
  EXPECT_TRUE(Shows(s, three, CZARNY, 0, 0, 640, 400)) << "Ctrl+Y";
}

// 150 single points all go back to the BIALY picture; one more Ctrl+Z changes nothing.
TEST(History, AHundredAndFiftyPointsAllGoBack) {
  App app;
  ChooseTool(app, 0);
  SwitchScreens(app);
  const Shot blank = app.settle();
  Points pts;
  for (int i = 0; i < 150; i++) pts.push_back({20 + 4 * i, 20 + 2 * i});
  app.clicks(pts);
  app.move(639, 399);
  EXPECT_TRUE(Shows(app.settle(), pts, CZARNY, 0, 0, 640, 400)) << "150 points";
  // Half of them back, one step a point, then the other half.
  const Points half(pts.begin(), pts.begin() + 75);
  app.keys("ctrl+z", 75);
  Shot s = app.waitFor([&](const Shot& s) { return Shows(s, half, CZARNY, 0, 0, 640, 400); });
  EXPECT_TRUE(Shows(s, half, CZARNY, 0, 0, 640, 400)) << "75 back";
  app.keys("ctrl+z", 75);
  s = app.waitFor([&](const Shot& s) { return s.px == blank.px; });
  EXPECT_TRUE(SameShot(s, blank)) << "150 back";
  EXPECT_TRUE(SameShot(Unchanged(app, "ctrl+z"), blank)) << "and one more";
}

// With a budget of 1 MiB, less than two whole pictures, the program keeps the last
// step and says nothing about it.
TEST(History, ABudgetOfOneMiBKeepsTheLastStepAndSaysNothing) {
  App app(Launch{"", true, true, "", {"--history-mb", "1"}});
  ChooseTool(app, 11);
  SwitchScreens(app);
  app.click(300, 200);  // CZARNY over all of it
  Shot black1 = app.waitFor([](const Shot& s) { return s.at(5, 5) == CZARNY; });
  SwitchScreens(app);
  ChooseColour(app, 2);
  SwitchScreens(app);
  app.click(300, 200);  // red over all of it
  Shot red = app.waitFor([](const Shot& s) { return s.at(5, 5) == CZERWONY; });
  EXPECT_TRUE(SameShot(After(app, "ctrl+z", black1), black1)) << "the last step goes back";
  EXPECT_TRUE(SameShot(Unchanged(app, "ctrl+z"), black1)) << "the one before is gone";
  EXPECT_TRUE(SameShot(After(app, "ctrl+y", red), red));
  EXPECT_EQ(app.output(), "");
  EXPECT_EQ(app.errors(), "");
}
