// The scaled window on the real program: the scale it opens at, every screen at scales
// 2, 3 and 4 against the same screen at scale 1 enlarged, drawing at scale 3 against
// drawing at scale 1 (the saved files), and full screen on and off under a window
// manager.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/e2e/drawing_e2e.h"
#include "tests/support/compare.h"
#include "tests/support/e2e.h"
#include "tests/support/screen.h"

namespace {

// Whether big's window shows exactly what one's shows, enlarged n times.
testing::AssertionResult SameEnlarged(App& one, App& big, int n) {
  return SameShot(big.windowShot(), Enlarged(one.windowShot(), n));
}

bool Magnifying(const Shot& s) { return s.at(205, 5) == CZARNY && s.at(625, 395) == CZARNY; }

// A right click from the drawing screen, or one that cancels what is going on there.
void BackToPanel(App& app) {
  app.click(630, 390, 3);
  Await(app, Panel, "the control screen");
  app.settle();
}

// A cut of the block between two corners, Escape first; then the block follows the
// pointer to (x, y).
void CutAndCarry(App& app, int x1, int y1, int x2, int y2, int x, int y) {
  app.move(400, 60);
  app.key("Escape");
  Await(
      app, [](const Shot& s) { return s.at(400, 5) == CZARNY; }, "the cross-hair");
  app.click(x1, y1);
  app.click(x2, y2);
  Await(
      app, [](const Shot& s) { return s.at(400, 5) != CZARNY; }, "the cut's end");
  app.move(x + 1, y);
  app.move(x, y);
  app.settle();
}

// What the user does on both programs alike, step by step; each step leaves both
// still. check runs after the steps that leave a screen worth comparing.
void Scenario(App& a, App& b, const std::function<void(const char*)>& check) {
  auto both = [&](const std::function<void(App&)>& step) {
    step(a);
    step(b);
    a.settle();
    b.settle();
  };
  check("the control screen");

  both([](App& app) {
    Choose(app, 108, 382);  // "Czyść"
    Await(app, AlertUp, "the alert");
  });
  check("an alert");
  both([](App& app) {
    app.key("Escape");  // "Nie"
    Await(app, Panel, "the control screen");
  });

  both([](App& app) {
    Choose(app, 312, 68);  // "BMP" under "Zapisz"
    Await(app, Dialog, "the file selector");
    app.key("Return");    // the name field's editing ends
    app.click(588, 228);  // "ROOT": the same list for both
  });
  check("the file selector");
  both([](App& app) {
    app.click(588, 388);  // "CANCEL"
    Await(app, Panel, "the control screen");
  });

  both([](App& app) {
    Choose(app, 490, 52);  // a fill pattern
    ChooseColour(app, 2);
    ChooseTool(app, 9);  // "Dysk"
    SwitchScreens(app);
    TwoPoints(app, 200, 200, 260, 240);
  });
  check("the drawing screen with a picture");

  both([](App& app) {
    app.click(400, 100);
    Shot before = app.shot();
    app.move(451, 130);
    app.move(450, 130);
    app.waitFor([&](const Shot& s) { return s.px != before.px; });
  });
  check("a rubber band mid-drag");
  both(BackToPanel);

  both([](App& app) {
    ChooseColour(app, 1);  // black: the cross-hair's colour
    ChooseTool(app, 10);   // "Blok"
    SwitchScreens(app);
    CutAndCarry(app, 190, 190, 270, 250, 300, 300);
  });
  check("the block's preview");
  both(BackToPanel);

  both([](App& app) {
    ChooseTool(app, 12);  // "Powiększenie"
    SwitchScreens(app);
    app.key("period");  // the grid at 8 pixels
    app.click(210, 210);
    Await(app, Magnifying, "the magnifier");
  });
  check("the magnifier");
}

class Scale : public testing::TestWithParam<int> {};

}  // namespace

TEST_P(Scale, EveryScreenIsTheScale1ScreenEnlarged) {
  int n = GetParam();
  App one;
  App big(Launch{"",
                 true,
                 true,
                 "",
                 {"--scale", std::to_string(n)},
                 std::to_string(640 * n + 40) + "x" + std::to_string(400 * n + 40)});
  ASSERT_EQ(one.width(), 640);
  ASSERT_EQ(big.width(), 640 * n);
  ASSERT_EQ(big.height(), 400 * n);
  Scenario(one, big, [&](const char* what) { EXPECT_TRUE(SameEnlarged(one, big, n)) << what; });
}

INSTANTIATE_TEST_SUITE_P(Scales, Scale, testing::Values(2, 3, 4),
                         [](const testing::TestParamInfo<int>& i) {
                           return "x" + std::to_string(i.param);
                         });

// Points, a line, a filled ellipse, a fill and a block stamp, drawn with the mouse at
// scale 3 and at scale 1, then saved as BMP files: the same bytes.
TEST(Scale, DrawingAtScale3GivesTheSamePicture) {
  App one;
  App big(Launch{"", true, true, "", {"--scale", "3"}, "1960x1240"});
  ASSERT_EQ(big.scale(), 3);
  for (App* app : {&one, &big}) {
    App& a = *app;
    ChooseTool(a, 0);  // "Punkt"
    ChooseWidth(a, 2);
    SwitchScreens(a);
    for (int x : {30, 50, 70}) {
      a.click(x, 40);
      Await(
          a, [&](const Shot& s) { return s.at(x, 40) == CZARNY; }, "a point");
    }
    SwitchScreens(a);
    ChooseTool(a, 2);  // "Linia"
    SwitchScreens(a);
    TwoPoints(a, 60, 80, 211, 143);
    Await(
        a, [](const Shot& s) { return s.at(211, 143) == CZARNY; }, "the line");
    SwitchScreens(a);
    ChooseTool(a, 9);  // "Dysk"
    ChooseColour(a, 2);
    SwitchScreens(a);
    TwoPoints(a, 330, 220, 390, 261);
    Await(
        a, [](const Shot& s) { return s.at(330, 220) == PALETA[2]; }, "the ellipse");
    SwitchScreens(a);
    ChooseTool(a, 11);  // "Wypełnienie"
    ChooseColour(a, 4);
    Choose(a, 530, 130);  // a fill pattern
    SwitchScreens(a);
    a.click(600, 30);
    Await(
        a,
        [](const Shot& s) {
          for (int x = 590; x < 610; x++)
            if (s.at(x, 30) != BIALY) return true;
          return false;
        },
        "the fill");
    SwitchScreens(a);
    ChooseColour(a, 1);  // black: the cross-hair's colour
    ChooseTool(a, 10);   // "Blok"
    SwitchScreens(a);
    CutAndCarry(a, 320, 210, 380, 250, 100, 250);
    a.click(100, 250);  // the stamp
    a.settle();
    BackToPanel(a);
    Choose(a, 312, 68);  // "BMP" under "Zapisz"
    Await(a, Dialog, "the file selector");
    a.type(a.dir() + "/obraz");  // in front of the offered ".BMP"
    a.key("Return");
    a.key("Return");
    Await(a, Panel, "the control screen");
  }
  std::string f1 = one.dir() + "/obraz.BMP", f3 = big.dir() + "/obraz.BMP";
  EXPECT_EQ(Sh("cmp '" + f1 + "' '" + f3 + "' && echo same"), "same\n");
  EXPECT_EQ(Sh("wc -c < '" + f1 + "'"), "768054\n");
}

TEST(Scale, OpensAtTheLargestThatFitsTheDisplay) {
  struct {
    const char* screen;
    int w, h;
  } rows[] = {{"1024x768", 640, 400}, {"1920x1080", 1280, 800}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.screen);
    App app(Launch{"", true, true, "", {}, r.screen});
    EXPECT_EQ(app.width(), r.w);
    EXPECT_EQ(app.height(), r.h);
  }
}

// Under a window manager on a 1920x1080 display: the window opens at scale 2 (with its
// frame it fits), F11 fills the display with the picture at scale 2 centred on black,
// F11 again gives the window back at its size and place; Alt+Enter the same. The
// picture is the same throughout, and the keys reach nothing else.
TEST(Scale, FullScreenAndBackUnderAWindowManager) {
  Launch how{"", true, true, "", {}, "1920x1080", true};
  App app(how);
  ASSERT_EQ(app.width(), 1280);
  ASSERT_EQ(app.height(), 800);
  ChooseTool(app, 9);  // "Dysk"
  SwitchScreens(app);
  TwoPoints(app, 200, 200, 260, 240);
  Shot picture = app.settle();
  Shot window = app.windowShot();
  int x = app.left(), y = app.top();
  // The keys, then the window's size read until it is w (or 5 s pass).
  auto press = [&](const char* keys, int w) {
    app.key(keys);
    for (int t = 0; t < 50 && app.width() != w; t++) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      app.locate();
    }
  };
  for (const char* keys : {"F11", "alt+Return"}) {
    SCOPED_TRACE(keys);
    press(keys, 1920);
    ASSERT_EQ(app.width(), 1920);
    ASSERT_EQ(app.height(), 1080);
    EXPECT_EQ(app.left(), 0);
    EXPECT_EQ(app.top(), 0);
    // The screen is shown again once the full-screen size has reached the program.
    Shot full = app.waitFor([&](const Shot& s) { return bool(SameShot(s, picture)); });
    EXPECT_TRUE(SameShot(full, picture)) << "the picture at scale 2";
    Shot all = app.windowShot();
    int border = 0;
    for (int py = 0; py < 1080; py++)
      for (int px = 0; px < 1920; px++)
        if ((px < 320 || px >= 1600 || py < 140 || py >= 940) && all.at(px, py)) border++;
    EXPECT_EQ(border, 0) << "black around it";

    press(keys, 1280);
    EXPECT_EQ(app.width(), 1280);
    EXPECT_EQ(app.height(), 800);
    EXPECT_EQ(app.left(), x);
    EXPECT_EQ(app.top(), y);
    app.settle();
    EXPECT_TRUE(SameShot(app.windowShot(), window)) << "the window as it was";
  }
}
