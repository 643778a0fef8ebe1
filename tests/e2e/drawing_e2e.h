// Shared by the drawing-screen scenarios: a user's moves on the control screen and
// the drawing screen of the real program, and checks of areas of a screenshot. The
// moves take any driver with App's methods: the browser tests play them too.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/e2e.h"
#include "tests/support/shapes.h"

inline constexpr uint32_t white = 0xFFFFFF, black = 0x000000;
// The palette's red, green and blue.
inline constexpr uint32_t palette[16] = {
    0xFFFFFF, 0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x00FFFF, 0xFFFF00, 0xFF00FF,
    0x9C9C9C, 0x4E4E4E, 0xFF7F7F, 0x7FFF7F, 0x7F7FFF, 0x7FFFFF, 0xFFFF7F, 0xFF7FFF};

// A single left click on the control screen: kept apart from the click before, as
// two clicks within half a second and 32 pixels make a double click, which leaves
// for the drawing screen.
template <class A>
void Choose(A& app, int x, int y) {
  std::this_thread::sleep_for(std::chrono::milliseconds(550));
  app.click(x, y);
}
// Tools 0 to 11 stand in two columns; "Powiększenie" (12) above them on the left.
template <class A>
void ChooseTool(A& app, int co) {
  if (co == 12)
    Choose(app, 108, 128);
  else
    Choose(app, 108 + 204 * (co % 2), 164 + 28 * (co / 2));
}
template <class A>
void ChooseColour(A& app, int i) { Choose(app, 18 + 25 * i, 331); }
template <class A>
void NextMode(A& app) { Choose(app, 312, 128); }
// Box 63, the width sample for width 2n (n = 1..6).
template <class A>
void ChooseWidth(A& app, int n) { Choose(app, 406 + 26 * n + 13, 335); }
// A right click anywhere switches screens (this spot is on no box). Waits for the
// other screen: what the user does before it is up may be taken by the screen left.
template <class A>
void SwitchScreens(A& app) {
  Shot before = app.shot();
  app.click(418, 240, 3);
  app.waitFor([&](const Shot& s) { return s.px != before.px; });
  app.settle();
}

// Whether the area (left, top, w, h) of the shot shows ink at pts and white elsewhere.
inline testing::AssertionResult Shows(const Shot& s, const Points& pts, uint32_t ink, int left,
                                      int top, int w, int h) {
  if (s.w != 640 || s.h != 400) return testing::AssertionFailure() << "no screenshot";
  std::set<std::pair<int, int>> at(pts.begin(), pts.end());
  int wrong = 0;
  std::string first;
  for (int y = top; y < top + h; y++)
    for (int x = left; x < left + w; x++) {
      uint32_t want = at.count({x, y}) ? ink : white;
      if (s.at(x, y) != want && !wrong++) {
        char buf[100];
        snprintf(buf, sizeof buf, "first at (%d, %d): expected %06X, got %06X", x, y, want,
                 s.at(x, y));
        first = buf;
      }
    }
  if (!wrong) return testing::AssertionSuccess();
  return testing::AssertionFailure() << wrong << " wrong pixels; " << first;
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
  a.waitFor([](const Shot& s) { return s.at(80, 30) == black; });
  a.move(80, 40);
  a.waitFor([](const Shot& s) { return s.at(80, 40) == black; });
  a.release();
  a.move(90, 60);
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

