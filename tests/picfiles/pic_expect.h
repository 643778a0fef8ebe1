// Expected pixels for the picture-file tests, and their comparison.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "picfiles/pic_core.h"
#include "tests/picfiles/picmake.h"

// Pixel values as the reader shows them: value v of a body of `planes` planes in
// the palette colour the table gives it.
inline std::vector<uint32_t> ThroughTable(const std::vector<uint8_t>& values, int planes) {
  uint8_t T[16];
  PicTable(planes, T);
  std::vector<uint32_t> px(values.size());
  for (size_t i = 0; i < values.size(); i++) px[i] = TestPalette[T[values[i]]];
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
