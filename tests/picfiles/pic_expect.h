// Expected pixels for the picture-file tests, and their comparison.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "tests/picfiles/picmake.h"

// The colour each pixel value shows in, by plane count: 16 colours for four planes
// (the first 8 of them for three), the red and green of those and black for two, and
// white and black for one.
inline const std::vector<uint32_t>& ShownColours(int planes) {
  static const std::vector<uint32_t> four = {
      White,    Red,      Green,      Yellow,      Blue,      Magenta,      Cyan,      LightGrey,
      DarkGrey, LightRed, LightGreen, LightYellow, LightBlue, LightMagenta, LightCyan, Black};
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

// Compares images w pixels wide: on failure the count of wrong pixels and the first.
inline testing::AssertionResult SamePixels(const std::vector<uint32_t>& actual,
                                           const std::vector<uint32_t>& expected, int w) {
  if (actual.size() != expected.size())
    return testing::AssertionFailure() << actual.size() << " pixels, expected " << expected.size();
  size_t wrong = 0, first = 0;
  for (size_t i = 0; i < actual.size(); i++)
    if (actual[i] != expected[i] && !wrong++) first = i;
  if (!wrong) return testing::AssertionSuccess();
  char buf[120];
  snprintf(buf, sizeof buf, "%zu wrong pixels; first at (%zu, %zu): expected %08X, got %08X",
           wrong, first % w, first / w, expected[first], actual[first]);
  return testing::AssertionFailure() << buf;
}
