// Builds bit-plane files from pixel values for the picture-file tests and benchmark:
// the inverse of the reader, written the plain way, one pixel at a time.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Palette entry with alpha 127, from red, green and blue.
constexpr uint32_t PalRgb(uint8_t r, uint8_t g, uint8_t b) {
  return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16 | 127u << 24;
}
inline constexpr uint32_t White = PalRgb(255, 255, 255), Black = PalRgb(0, 0, 0),
                          Red = PalRgb(255, 0, 0), Green = PalRgb(0, 255, 0),
                          Blue = PalRgb(0, 0, 255), Cyan = PalRgb(0, 255, 255),
                          Yellow = PalRgb(255, 255, 0), Magenta = PalRgb(255, 0, 255),
                          LightGrey = PalRgb(156, 156, 156), DarkGrey = PalRgb(78, 78, 78),
                          LightRed = PalRgb(255, 127, 127), LightGreen = PalRgb(127, 255, 127),
                          LightBlue = PalRgb(127, 127, 255), LightCyan = PalRgb(127, 255, 255),
                          LightYellow = PalRgb(255, 255, 127), LightMagenta = PalRgb(255, 127, 255);
// The program's palette by colour name (the gl tests check it against GEMColor; the
// pure tests cannot see that header).
// clang-format off
inline constexpr uint32_t TestPalette[16] = {
    White,     Black,    Red,      Green,      Blue,      Cyan,       Yellow,      Magenta,
    LightGrey, DarkGrey, LightRed, LightGreen, LightBlue, LightCyan, LightYellow, LightMagenta};

// Interleaved bit-planes of w x h values (w a multiple of 16), row by row.
inline std::vector<uint8_t> PlanesOf(const std::vector<uint8_t>& values, int w, int h,
                                     int planes) {
  std::vector<uint8_t> body;
  for (int y = 0; y < h; y++)
    for (int gx = 0; gx < w; gx += 16)
      for (int p = 0; p < planes; p++) {
        uint16_t word = 0;
        for (int i = 0; i < 16; i++)
          if (values[size_t(y) * w + gx + i] >> p & 1) word |= uint16_t(0x8000 >> i);
        body.push_back(uint8_t(word >> 8));
        body.push_back(uint8_t(word));
      }
  return body;
}
// clang-format on

// A value for every pixel that gives every value 0..2^planes-1 at every bit position.
inline std::vector<uint8_t> Pattern(int w, int h, int planes) {
  std::vector<uint8_t> v(size_t(w) * h);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++)
      v[size_t(y) * w + x] = uint8_t((x * 5 + y * 3 + x / 16) % (1 << planes));
  return v;
}

// A DEGAS picture around body: resolution and palette words and the trailing 32 bytes
// all set to junk, which the reader must never take for pixels.
inline std::vector<uint8_t> Degas(const std::vector<uint8_t>& body) {
  std::vector<uint8_t> f(34 + body.size() + 32, 0x5A);
  std::fill(f.begin(), f.begin() + 34, 0xA5);
  std::copy(body.begin(), body.end(), f.begin() + 34);
  return f;
}

// A GBF file: width, rows - 1 and plane count as big-endian words, then body.
inline std::vector<uint8_t> Gbf(uint16_t w, uint16_t rows1, uint16_t planes,
                                const std::vector<uint8_t>& body) {
  std::vector<uint8_t> f(6 + body.size());
  const uint16_t head[3] = {w, rows1, planes};
  for (int i = 0; i < 3; i++) f[2 * i] = uint8_t(head[i] >> 8), f[2 * i + 1] = uint8_t(head[i]);
  std::copy(body.begin(), body.end(), f.begin() + 6);
  return f;
}
