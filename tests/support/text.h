// Where the glyphs of one row of text land, worked out from the font's cell order on
// its own rather than with the toolkit's layout code, for the gl and e2e tiers.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "toolkit/toolkit_core.h"

// The glyph copies of text printed as one row of 16x16 glyphs from (x, y): character n
// of a line at (x + 16n, y), the codes 32 to 127 in cells 0 to 95, the Polish letters in
// cells 96 to 113. A line feed, or a glyph that would start right of `right`, goes on
// at x one line (16 pixels) lower. Text with any other character is a mistake in the test.
inline std::vector<GlyphDraw> GlyphsOf(const char* text, int x, int y, int right = 1 << 30) {
  static const char* const polish[18] = {"Ą", "Ć", "Ę", "Ł", "Ń", "Ó", "Ś", "Ź", "ą",
                                         "ć", "ę", "ł", "ń", "ó", "ś", "ź", "Ż", "ż"};
  std::vector<GlyphDraw> row;
  int penX = x, penY = y;
  for (const char* c = text; *c;) {
    if (penX > right) penX = x, penY += 16;
    if (*c == '\n') {
      penX = x, penY += 16, c++;
      continue;
    }
    int b = (unsigned char)*c, cell = -1, bytes = 1;
    if (b >= 32 && b <= 127) cell = b - 32;
    for (int i = 0; i < 18 && cell < 0; i++)
      if (strncmp(c, polish[i], 2) == 0) cell = 96 + i, bytes = 2;
    if (cell < 0) {
      ADD_FAILURE() << "no glyph for byte " << b << " of \"" << text << "\"";
      return row;
    }
    row.push_back({cell, penX, penY});
    penX += 16;
    c += bytes;
  }
  return row;
}
