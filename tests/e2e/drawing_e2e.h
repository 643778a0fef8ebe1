// Shared by the drawing-screen scenarios: a user's moves on the drawing screen of the
// real program, and checks of areas of a screenshot. The moves take any driver with
// App's methods: the browser tests play them too. The control screen's boxes and the
// clicks that choose them are in tests/support/screen.h.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <utility>

#include "tests/support/compare.h"
#include "tests/support/e2e.h"
#include "tests/support/screen.h"
#include "tests/support/shapes.h"

// Whether the area (left, top, w, h) of the shot shows ink at pts and white elsewhere.
inline testing::AssertionResult Shows(const Shot& s, const Points& pts, uint32_t ink, int left,
                                      int top, int w, int h) {
  std::set<std::pair<int, int>> at(pts.begin(), pts.end());
  return SameArea(GridOf(s, Layout::Rgb), left, top, w, h, [&](int x, int y) {
    return at.count({x, y}) ? ink : BIALY;
  });
}

// Whether got is want, pixel for pixel.
inline testing::AssertionResult SameShot(const Shot& got, const Shot& want) {
  return SameGrid(GridOf(got, Layout::Rgb), GridOf(want, Layout::Rgb));
}

// Waits for the window to show what pred looks for; a failure if it never does.
inline void Await(App& app, const std::function<bool(const Shot&)>& pred, const char* what) {
  EXPECT_TRUE(pred(app.waitFor(pred))) << "never shown: " << what;
}

// A freehand stroke from (60, 30) right to (80, 30) and down to (80, 40), each position
// drawn before the next comes (the tool drops what piles up); then the release and a
// motion past the end.
template <class A>
void Stroke(A& a) {
  a.press(60, 30);
  a.move(80, 30);
  a.waitFor([](const Shot& s) { return s.at(80, 30) == CZARNY; });
  a.move(80, 40);
  a.waitFor([](const Shot& s) { return s.at(80, 40) == CZARNY; });
  a.release();
  a.move(90, 60);
}

// Box box of the control screen, then name typed into its file selector and taken with
// Enter; the control screen again.
template <class A>
void ThroughSelector(A& app, Rect box, const std::string& name) {
  Choose(app, box);
  ASSERT_TRUE(Dialog(app.waitFor(Dialog))) << "no file selector";
  app.type(name);
  app.key("Return");
  app.key("Return");
  ASSERT_TRUE(Panel(app.waitFor(Panel)));
}

// Press, release, move, press: the two points of a shape. The press comes once the
// preview shows; the motion is given twice, as the wait for the first release may
// swallow a motion that comes too soon.
template <class A>
void TwoPoints(A& app, int x1, int y1, int x2, int y2) {
  app.click(x1, y1);
  Shot before = app.shot();
  app.move(x2 + 1, y2);
  app.move(x2, y2);
  app.waitFor([&](const Shot& s) { return s.px != before.px; });
  app.click(x2, y2);
}
