// Pure pixel rules of the texture and surface utilities: packing a colour, complementing
// rows of pixels (for the SDL shells in platform/texture.cpp), the palette every layer
// and the command-line tools draw with, and the size budget of a picture read from a file.
#pragma once
#include <cstddef>
#include <cstdint>

// The four bytes packed in memory order red, green, blue, alpha (red the low byte):
// the layout of Color, of the palette entries and of an ABGR8888 pixel.
constexpr uint32_t RGBA(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16 | uint32_t(a) << 24;
}

// The paint program's 16 colours, indexed by kolor; all with alpha 127. Entry 0
// (white) is the background: a cleared picture and the gaps of the fill patterns.
inline constexpr uint32_t GEMColor[16] = {RGBA(255, 255, 255, 127), RGBA(0, 0, 0, 127),
                                          RGBA(255, 0, 0, 127),     RGBA(0, 255, 0, 127),
                                          RGBA(0, 0, 255, 127),     RGBA(0, 255, 255, 127),
                                          RGBA(255, 255, 0, 127),   RGBA(255, 0, 255, 127),
                                          RGBA(156, 156, 156, 127), RGBA(78, 78, 78, 127),
                                          RGBA(255, 127, 127, 127), RGBA(127, 255, 127, 127),
                                          RGBA(127, 127, 255, 127), RGBA(127, 255, 255, 127),
                                          RGBA(255, 255, 127, 127), RGBA(255, 127, 255, 127)};

// The most pixels a picture read from a file may have, 8,192 x 8,192: every reader
// (the program's BMP load, the converter's PNG and BMP) checks the size a file's header
// states against it before anything is allocated for the pixels, so a small file
// cannot ask for gigabytes.
inline constexpr uint64_t PictureMaxPixels = uint64_t(1) << 26;
// Whether a picture of w x h pixels, as a header states them, is within that budget.
constexpr bool PictureFits(uint64_t w, uint64_t h) { return h == 0 || w <= PictureMaxPixels / h; }
// The reason given for a picture that does not fit, into out (n bytes):
// "too large: WxH is more than 2^26 pixels".
void PictureTooLarge(uint64_t w, uint64_t h, char* out, size_t n);

// Writes the bitwise complement (alpha included) of the w x h pixels of src, rows w
// pixels long, into dst, whose rows start pitch bytes apart.
void InvertPixels(const uint32_t* src, int32_t w, int32_t h, void* dst, int32_t pitch);
