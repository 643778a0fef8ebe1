#include <cstring>

#include "toolkit/toolkit_core.h"

int32_t LenUTF(const char* text, int32_t from, int32_t to) {
  int32_t count = 0;
  for (int32_t p = from; p <= to && text[p] != 0; count++) p += (uint8_t)text[p] >= 0x80 ? 2 : 1;
  return count;
}

int32_t LenChr(const char* text, int32_t from, int32_t n) {
  int32_t step = n > 0 ? 1 : n < 0 ? -1 : 0;
  int32_t p = from;
  while (n != 0 && p >= 0 && text[p] != 0) {
    n -= step;
    p += (uint8_t)text[p] >= 0x80 ? 2 * step : step;
  }
  return p - from;
}

// The cell for the character at t, or -1 when the font lacks it; sets len to the
// bytes it takes (two for a letter of the table, else one).
static int glyphCell(const char* t, int& len) {
  uint8_t b = (uint8_t)t[0];
  len = 1;
  if (b >= 32 && b <= 127) return b - 32;
  for (int i = 0; i < FontLetterCount; i++)
    if (t[0] == FontLetters[2 * i] && t[1] == FontLetters[2 * i + 1]) {
      len = 2;
      return 96 + i;
    }
  return -1;
}

void GPrintLayout(const char* text, uint32_t count, int32_t rows, int32_t right, int32_t bottom,
                  uint8_t clip, int32_t& penX, int32_t& penY, int gw, int gh,
                  std::vector<GlyphDraw>& out) {
  const int32_t lineStart = penX;
  int cell = 0;  // an unknown character repeats the cell drawn last
  for (int32_t r = 0; r < rows; r++) {
    const char* p = text + 256 * (size_t)r;
    for (uint32_t left = count; left != 0 && *p != 0; left--) {
      if (penX > right) {
        if (clip) break;
        penX = lineStart;
        penY += gh;
      }
      if (*p == 10) {
        penX = lineStart;
        penY += gh;
        p++;
        continue;
      }
      int len;
      int c = glyphCell(p, len);
      if (c >= 0) cell = c;
      p += len;
      out.push_back({cell, penX, penY});
      penX += gw;
    }
    if (rows > 1) {
      penX = lineStart;
      penY += gh;
    }
    if (penY > bottom) break;
  }
}
