// The one pixel comparator of every tier: an image read back from a texture, a
// screenshot, a netpbm reading, or plain rows of pixels, against what is expected. On
// a difference it tells the count of wrong pixels, the largest difference in a channel,
// the first wrong pixel with expected and actual values, and saves both images beside
// the log (the test's working directory) as <suite>.<test>[.<n>].{actual,expected}.ppm,
// or .pam where alpha is compared. No SDL here.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/pnm.h"
#include "tests/support/scratch.h"

// w x h pixels of one layout, row by row, as the comparator reads them; (left, top)
// is where the first one stands in the picture they are part of, for the messages.
struct PixelGrid {
  int w = 0, h = 0;
  const uint32_t* px = nullptr;
  Layout layout = Layout::Abgr;
  int left = 0, top = 0;
  uint32_t at(int x, int y) const { return px[size_t(y) * w + x]; }
};
// The grid of any image with w, h and a vector px: Image, Shot, Pnm, RgbImage.
template <class I>
PixelGrid GridOf(const I& img, Layout layout) {
  return {img.w, img.h, img.px.data(), layout};
}

// How near two pixels must be: the bits compared, and how far each channel compared
// may be off (the rounding of blending allows 1).
struct Match {
  uint32_t mask = 0xFFFFFFFF;
  int tol = 0;
};

// The largest difference between a and b in a channel that mask selects.
inline int ChannelDistance(uint32_t a, uint32_t b, uint32_t mask) {
  int d = 0;
  for (int sh = 0; sh < 32; sh += 8)
    if (mask >> sh & 0xFF) d = std::max(d, std::abs(int(a >> sh & 0xFF) - int(b >> sh & 0xFF)));
  return d;
}

// While one stands, a failed comparison saves no images: a check polled until it
// holds fails on the way, and only its last result counts.
class Polling {
 public:
  Polling() { depth()++; }
  ~Polling() { depth()--; }
  static bool on() { return depth() > 0; }

 private:
  static int& depth() {
    static int d = 0;
    return d;
  }
};

// Saves the pixels of a failed comparison beside the log; returns the names' common part.
inline std::string SaveMismatch(const PixelGrid& actual, const PixelGrid& expected, uint32_t mask) {
  if (Polling::on()) return "not saved while polling";
  static std::string lastTest;
  static int count = 0;
  const testing::TestInfo* ti = testing::UnitTest::GetInstance()->current_test_info();
  std::string test = ti ? std::string(ti->test_suite_name()) + "." + ti->name() : "image";
  for (char& c : test)
    if (c == '/') c = '_';
  count = test == lastTest ? count + 1 : 1;
  lastTest = test;
  std::string base = count > 1 ? test + "." + std::to_string(count) : test;
  const bool alpha = expected.layout == Layout::Abgr && (mask >> 24);
  for (const auto& [grid, which] :
       {std::pair{&actual, "actual"}, std::pair{&expected, "expected"}}) {
    std::vector<uint32_t> px(grid->px, grid->px + size_t(grid->w) * grid->h);
    WriteBytes(base + "." + which + (alpha ? ".pam" : ".ppm"),
               alpha ? PamRgba(grid->w, grid->h, px) : Ppm(grid->w, grid->h, px, grid->layout));
  }
  return base + (alpha ? ".{actual,expected}.pam" : ".{actual,expected}.ppm");
}

// actual against expected, pixel for pixel (both of expected's layout); where names
// the part of the picture they are, if they are a part.
inline testing::AssertionResult SameGrid(const PixelGrid& actual, const PixelGrid& expected,
                                         Match m = {}, const std::string& where = "") {
  if (actual.w != expected.w || actual.h != expected.h)
    return testing::AssertionFailure() << "size " << actual.w << "x" << actual.h << ", expected "
                                       << expected.w << "x" << expected.h;
  size_t wrong = 0;
  int worst = 0, fx = -1, fy = -1;
  for (int y = 0; y < actual.h; y++)
    for (int x = 0; x < actual.w; x++) {
      int d = ChannelDistance(actual.at(x, y), expected.at(x, y), m.mask);
      if (d <= m.tol) continue;
      worst = std::max(worst, d);
      if (!wrong++) fx = x, fy = y;
    }
  if (!wrong) return testing::AssertionSuccess();
  char first[120];
  snprintf(first, sizeof first,
           expected.layout == Layout::Rgb ? "first at (%d, %d): expected %06X, got %06X"
                                          : "first at (%d, %d): expected %08X, got %08X",
           expected.left + fx, expected.top + fy, expected.at(fx, fy) & m.mask,
           actual.at(fx, fy) & m.mask);
  return testing::AssertionFailure()
         << wrong << " wrong pixels" << where << " (by up to " << worst << " in a channel); "
         << first << " (images saved as " << SaveMismatch(actual, expected, m.mask) << ")";
}

// The area (x, y, w, h) of actual against want(px, py), both in the coordinates of
// the picture actual is part of.
inline testing::AssertionResult SameArea(const PixelGrid& actual, int x, int y, int w, int h,
                                         const std::function<uint32_t(int, int)>& want,
                                         Match m = {}) {
  if (!actual.w) return testing::AssertionFailure() << "no picture";
  const int ax = x - actual.left, ay = y - actual.top;
  if (ax < 0 || ay < 0 || w < 0 || h < 0 || ax + w > actual.w || ay + h > actual.h)
    return testing::AssertionFailure()
           << "area (" << x << ", " << y << ", " << w << " x " << h << ") is not inside the "
           << actual.w << "x" << actual.h << " pixels at (" << actual.left << ", " << actual.top
           << ")";
  std::vector<uint32_t> got(size_t(w) * h), expected(size_t(w) * h);
  for (int py = 0; py < h; py++)
    for (int px = 0; px < w; px++) {
      got[size_t(py) * w + px] = actual.at(ax + px, ay + py);
      expected[size_t(py) * w + px] = want(x + px, y + py);
    }
  return SameGrid({w, h, got.data(), actual.layout, x, y},
                  {w, h, expected.data(), actual.layout, x, y}, m,
                  " in (" + std::to_string(x) + ", " + std::to_string(y) + ", " +
                      std::to_string(w) + " x " + std::to_string(h) + ")");
}

// Polls check on the screenshots of driver app (App, Browser) until it holds or the
// driver's wait gives up, and reports the result on the last one.
template <class A, class Check>
testing::AssertionResult Widac(A& app, const Check& check) {
  auto last = [&] {
    Polling quiet;
    return app.waitFor([&](const auto& s) { return bool(check(s)); });
  }();
  return check(last);
}
