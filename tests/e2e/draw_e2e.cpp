#include "tests/e2e/drawing_e2e.h"

TEST(Drawing, EveryToolPutsItsPixelsOnThePicture) {
  struct {
    const char* name;
    int co;
    void (*draw)(App&);
    Points want;
    int left, top, w, h;  // the area that must show exactly want
    // clang-format off
  } cases[] = {
      {"point", 0, [](App& a) { a.click(30, 30); }, {{30, 30}}, 20, 20, 20, 20},
      {"freehand", 1, [](App& a) { Stroke(a); },
       MaskAt(60, 30, {"#####################", "....................#", "....................#",
                       "....................#", "....................#", "....................#",
                       "....................#", "....................#", "....................#",
                       "....................#", "....................#"}),
       55, 25, 30, 20},
      {"line", 2, [](App& a) { TwoPoints(a, 100, 100, 110, 103); },
       MaskAt(100, 100, {"##.........", "..####.....", "......###..", ".........##"}), 95, 95,
       20, 12},
      {"frame, entered up and left", 4, [](App& a) { TwoPoints(a, 204, 102, 200, 100); },
       MaskAt(200, 100, {"#####", "#...#", "#####"}), 195, 95, 15, 12},
      {"filled rectangle", 5, [](App& a) { TwoPoints(a, 300, 100, 310, 106); },
       MaskAt(300, 100, {"###########", "###########", "###########", "###########",
                         "###########", "###########", "###########"}),
       295, 95, 20, 16},
      {"circle: offset (3, 3) is radius 4", 6, [](App& a) { TwoPoints(a, 100, 200, 103, 203); },
       MaskAt(96, 196, {"...###...", ".##...##.", "#.......#", "#.......#", "#.......#",
                        "#.......#", "#.......#", ".##...##.", "...###..."}),
       90, 190, 20, 20},
      {"disc", 7, [](App& a) { TwoPoints(a, 200, 200, 197, 197); },
       MaskAt(196, 196, {"...###...", ".#######.", "#########", "#########", "#########",
                         "#########", "#########", ".#######.", "...###..."}),
       190, 190, 20, 20},
      {"ellipse", 8, [](App& a) { TwoPoints(a, 300, 200, 303, 202); },
       MaskAt(297, 198, {"..###..", ".#...#.", "#.....#", ".#...#.", "..###.."}), 290, 190,
       20, 20},
      {"filled ellipse", 9, [](App& a) { TwoPoints(a, 400, 200, 397, 198); },
       MaskAt(397, 198, {"..###..", ".#####.", "#######", ".#####.", "..###.."}), 390, 190,
       20, 20},
  };
  // clang-format on
  App app;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChooseTool(app, c.co);
    SwitchScreens(app);
    c.draw(app);
    EXPECT_TRUE(Widac(app, [&](const Shot& s) {
      return Shows(s, c.want, CZARNY, c.left, c.top, c.w, c.h);
    }));
    SwitchScreens(app);
  }
}

TEST(Drawing, FillPaintsTheInsideOfAFrame) {
  App app;
  ChooseTool(app, 4);
  SwitchScreens(app);
  TwoPoints(app, 100, 100, 110, 106);
  SwitchScreens(app);
  ChooseTool(app, 11);
  ChooseColour(app, 3);
  SwitchScreens(app);
  app.click(105, 103);
  Points inside =
      MaskAt(101, 101, {"#########", "#########", "#########", "#########", "#########"});
  Shot s = app.waitFor([&](const Shot& s) { return s.at(105, 103) == 0x00FF00; });
  EXPECT_TRUE(Shows(s, inside, 0x00FF00, 101, 101, 9, 5));
  EXPECT_EQ(s.at(100, 100), CZARNY);
  EXPECT_EQ(s.at(99, 103), BIALY) << "the fill stays inside the frame";
}

TEST(Drawing, BackspaceTakesBackTheLastActionOnly) {
  App app;
  ChooseTool(app, 2);
  SwitchScreens(app);
  TwoPoints(app, 100, 100, 140, 100);
  TwoPoints(app, 100, 120, 140, 120);
  app.waitFor([](const Shot& s) { return s.at(120, 120) == CZARNY; });
  app.key("BackSpace");
  Shot s = app.waitFor([](const Shot& s) { return s.at(120, 120) == BIALY; });
  EXPECT_EQ(s.at(120, 120), BIALY) << "the second line is gone";
  EXPECT_EQ(s.at(120, 100), CZARNY) << "the first stays";
  app.key("BackSpace");
  s = app.settle();
  EXPECT_EQ(s.at(120, 100), CZARNY) << "one level only";
}

TEST(Drawing, PreviewIsThinAndSolidAndLeavesNoTrace) {
  App app;
  ChooseTool(app, 2);
  ChooseWidth(app, 3);  // width 6: a disc of radius 3 for every point
  SwitchScreens(app);
  app.click(100, 100);
  app.move(141, 100);
  app.move(140, 100);
  Shot s = app.waitFor([](const Shot& s) { return s.at(140, 100) == CZARNY; });
  Points thin;
  for (int x = 100; x <= 140; x++) thin.push_back({x, 100});
  EXPECT_TRUE(Shows(s, thin, CZARNY, 90, 90, 60, 20)) << "the preview";

  // A right click cancels the line and leaves the drawing screen; back there, the
  // picture has no trace of the preview.
  SwitchScreens(app);
  SwitchScreens(app);
  EXPECT_TRUE(Shows(app.settle(), {}, CZARNY, 90, 90, 60, 20));

  TwoPoints(app, 100, 100, 140, 100);
  s = app.waitFor([](const Shot& s) { return s.at(120, 103) == CZARNY; });
  EXPECT_EQ(s.at(120, 103), CZARNY) << "the committed line has the width 6 pen";
  EXPECT_EQ(s.at(120, 97), CZARNY);
  EXPECT_EQ(s.at(120, 104), BIALY);
}

TEST(Drawing, GridIsShownOverThePictureOnlyWhileDrawing) {
  const uint32_t grid = 0x7F7F7F;  // half-transparent black over white
  App app;
  ChooseTool(app, 0);
  SwitchScreens(app);
  app.key("period");
  app.key("period");
  app.click(100, 100);
  Shot s = app.waitFor([&](const Shot& s) { return s.at(100, 100) == CZARNY; });
  for (auto [x, y] : Points{{16, 5}, {5, 32}, {624, 390}, {0, 0}})
    EXPECT_EQ(s.at(x, y), grid) << x << "," << y;
  for (auto [x, y] : Points{{15, 5}, {17, 5}, {5, 31}, {639, 399}})
    EXPECT_EQ(s.at(x, y), BIALY) << x << "," << y;

  // The close request is ignored while drawing.
  app.closeWindow();
  app.settle();
  EXPECT_TRUE(app.running());

  // The grid survives a visit to the control screen.
  SwitchScreens(app);
  EXPECT_NE(app.shot().at(16, 5), grid);
  SwitchScreens(app);
  EXPECT_EQ(app.settle().at(16, 5), grid);

  app.key("period");  // step 3: 24 pixels
  s = app.waitFor([&](const Shot& s) { return s.at(24, 5) == grid; });
  EXPECT_EQ(s.at(24, 5), grid);
  EXPECT_EQ(s.at(16, 5), BIALY);

  for (int i = 0; i < 3; i++) app.key("comma");
  s = app.waitFor([](const Shot& s) { return s.at(0, 0) == BIALY; });
  EXPECT_TRUE(Shows(s, {{100, 100}}, CZARNY, 0, 0, 640, 400)) << "no grid left in the picture";
}

TEST(Drawing, InversionTurnsRedOnWhiteIntoCyan) {
  App app;
  for (int i = 0; i < 4; i++) NextMode(app);  // "Wymiana" to "Inwersja"
  ChooseColour(app, 2);
  ChooseTool(app, 0);
  SwitchScreens(app);
  app.click(300, 200);
  Shot s = app.waitFor([](const Shot& s) { return s.at(300, 200) != BIALY; });
  EXPECT_TRUE(Shows(s, {{300, 200}}, 0x00FFFF, 290, 190, 20, 20));
}
