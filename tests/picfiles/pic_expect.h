// Expected pixels for the picture-file tests, and their comparison.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/picfiles/picmake.h"
#include "tests/support/compare.h"

// The colour each pixel value shows in, by plane count: 16 colours for four planes
// (the first 8 of them for three), the red and green of those and black for two, and
// white and black for one.
inline const std::vector<uint32_t>& ShownColours(int planes) {
  static const std::vector<uint32_t> four = {White,     Red,          Green,      Yellow,
                                             Blue,      Magenta,      Cyan,       LightGrey,
                                             DarkGrey,  LightRed,     LightGreen, LightYellow,
                                             LightBlue, LightMagenta, LightCyan,  Black};
  static const std::vector<uint32_t> three(four.begin(), four.begin() + 8),
      two = {White, Red, Green, Black}, one = {White, Black};
  return planes == 4 ? four : planes == 3 ? three : planes == 2 ? two : one;
}

// Pixel values as the reader shows them: value v of a body of `planes` planes in the
// colour it stands for.
inline std::vector<uint32_t> ThroughTable(const std::vector<uint8_t>& values, int planes) {
  std::vector<uint32_t> px(values.size());
  for (size_t i = 0; i < values.size(); i++) px[i] = ShownColours(planes).at(values[i]);
  return px;
}

// Rows of pixels w wide enlarged over the 640x400 picture by whole factors, as the
// stretch does it: pixel (x, y) is pixel (x / sx, y / sy).
inline std::vector<uint32_t> Enlarged(const std::vector<uint32_t>& px, int w, int sx, int sy) {
  std::vector<uint32_t> big(640 * 400);
  for (int y = 0; y < 400; y++)
    for (int x = 0; x < 640; x++) big[size_t(y) * 640 + x] = px[size_t(y / sy) * w + x / sx];
  return big;
}

// The screen layouts of a picture file, each as a Pattern of its size and planes.
struct ScreenCase {
  const char* name;
  int planes, w, h;
  bool degas;  // 32,066 bytes with header and trailer, else the bare 32,000-byte body
  int sx, sy;  // how much the stretch enlarges it
};
// clang-format off
inline const ScreenCase ScreenLayouts[] = {
    {"PI1 of 32,066 bytes, doubled both ways", 4, 320, 200, true, 2, 2},
    {"PI1 of 32,000 bytes", 4, 320, 200, false, 2, 2},
    {"PI2 of 32,066 bytes, rows doubled", 2, 640, 200, true, 1, 2},
    {"PI2 of 32,000 bytes", 2, 640, 200, false, 1, 2},
    {"PI3 of 32,066 bytes, one to one", 1, 640, 400, true, 1, 1},
    {"PIC of 32,000 bytes", 1, 640, 400, false, 1, 1},
};
// clang-format on

// Compares rows of pixels w wide with the comparator of tests/support/compare.h.
inline testing::AssertionResult SamePixels(const std::vector<uint32_t>& actual,
                                           const std::vector<uint32_t>& expected, int w,
                                           Layout layout = Layout::Abgr) {
  if (actual.size() != expected.size())
    return testing::AssertionFailure() << actual.size() << " pixels, expected " << expected.size();
  const int h = w ? int(actual.size() / w) : 0;
  return SameGrid({w, h, actual.data(), layout}, {w, h, expected.data(), layout});
}
