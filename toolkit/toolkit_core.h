// Pure text rules of the toolkit, shared by the printer, the boxes and the editor:
// the simplified UTF-8 (one byte below 0x80, else two) and the glyph layout.
#pragma once
#include <cstdint>
#include <vector>

// The 18 Polish letters with a glyph of their own, two bytes each; letter i is cell 96 + i.
inline constexpr char FontLetters[] = "ĄĆĘŁŃÓŚŹąćęłńóśźŻż";
inline constexpr int FontLetterCount = 18;

// Characters beginning at byte offsets from..to (inclusive) before the first zero byte.
int32_t LenUTF(const char* text, int32_t from, int32_t to);
// Signed byte distance covered by moving n characters from offset from (backwards for
// n < 0, starting on the last byte of a character). Stops at a zero byte or offset -1.
int32_t LenChr(const char* text, int32_t from, int32_t n);

// One glyph copy: font cell and its top-left corner on the target.
struct GlyphDraw {
  int cell;
  int32_t x, y;
};
// Lays out a print of SDLGPrint (see there for the arguments) starting with the pen at
// (penX, penY), glyphs gw x gh on screen. Appends the glyph copies to out and leaves
// the final pen in penX, penY.
void GPrintLayout(const char* text, uint32_t count, int32_t rows, int32_t right, int32_t bottom,
                  uint8_t clip, int32_t& penX, int32_t& penY, int gw, int gh,
                  std::vector<GlyphDraw>& out);
