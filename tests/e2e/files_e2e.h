// Shared by the scenarios that load pictures: a picture as the drawing screen should
// show it, the check that it does, netpbm's reading of a PNG, and an alert's text.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/e2e/look.h"
#include "tests/support/e2e.h"
#include "tests/support/pnm.h"
#include "tests/support/run.h"
#include "tests/support/screen.h"

// A picture of w x h pixels shown over the whole drawing screen.
struct Obrazek {
  int w, h;
  std::vector<uint32_t> px;  // 0xRRGGBB
  uint32_t pod(int x, int y) const { return px[size_t(y * h / 400) * w + x * w / 640]; }
};

// The picture on the drawing screen, then back to the control screen.
inline testing::AssertionResult Pokazuje(App& app, const Obrazek& o) {
  if (!Panel(app.waitFor(Panel))) return testing::AssertionFailure() << "no control screen";
  Choose(app, 500, 250, 3);
  testing::AssertionResult a = Widac(app, [&](const Shot& s) {
    return Obszar(s, {0, 0, 640, 400}, [&](int x, int y) { return o.pod(x, y); });
  });
  Choose(app, 500, 250, 3);
  app.waitFor(Panel);
  return a;
}

// Is the alert up with text at (160 + dx, 100 + dy)?
inline testing::AssertionResult Alert(App& app, const char* text, int dx, int dy) {
  Rect r = {163, 100 + dy + 1, 314, 40};
  return Widac(app, [&](const Shot& s) {
    if (!AlertUp(s)) return testing::AssertionFailure() << "no alert";
    return Obszar(s, r, Tekst(r, text, 160 + dx, 100 + dy, 464, SRODEK, CZARNY));
  });
}

// A picture read back by netpbm's pngtopam, run in dir.
inline Obrazek PoPngtopam(const std::string& png, const std::string& dir) {
  Ran r = Shell("pngtopam '" + png + "'", dir);
  EXPECT_EQ(r.code, 0) << r.err;
  Pnm p = ParsePnm(r.out, Layout::Rgb);
  return Obrazek{p.w, p.h, p.px};
}

// What tarksen-convert --as-shown makes of file, read back by netpbm; the PNG it wrote
// is left in dir as shown.png.
inline Obrazek AsShown(const std::string& file, const std::string& dir) {
  Ran c =
      Shell("'" TARKSEN_CONVERT_BIN "' --as-shown --force -f png -o shown.png '" + file + "'", dir);
  EXPECT_EQ(c.code, 0) << c.err;
  return PoPngtopam("shown.png", dir);
}
