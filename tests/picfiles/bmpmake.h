// BMP files for the load and save tests, written and read without SDL: a plain 24-bit
// writer, and ImageMagick as the independent reader of what the program saved.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/pnm.h"
#include "tests/support/run.h"

// An image of 0xRRGGBB pixels, row by row from the top.
struct RgbImage {
  int w = 0, h = 0;
  std::vector<uint32_t> px;
  uint32_t at(int x, int y) const { return px[size_t(y) * w + x]; }
};

// A bottom-up 24-bit BMP (BITMAPINFOHEADER) of img.
inline std::vector<uint8_t> Bmp24(const RgbImage& img) {
  const uint32_t row = (uint32_t(img.w) * 3 + 3) / 4 * 4, size = 54 + row * uint32_t(img.h);
  std::vector<uint8_t> f(size, 0);
  auto le = [&f](size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; i++) f[at + i] = uint8_t(v >> (8 * i));
  };
  f[0] = 'B', f[1] = 'M';
  le(2, size, 4), le(10, 54, 4), le(14, 40, 4), le(18, uint32_t(img.w), 4);
  le(22, uint32_t(img.h), 4), le(26, 1, 2), le(28, 24, 2), le(34, row * uint32_t(img.h), 4);
  for (int y = 0; y < img.h; y++)
    for (int x = 0; x < img.w; x++) {
      uint32_t p = img.at(x, y);
      size_t at = 54 + size_t(img.h - 1 - y) * row + size_t(x) * 3;
      f[at] = uint8_t(p), f[at + 1] = uint8_t(p >> 8), f[at + 2] = uint8_t(p >> 16);
    }
  return f;
}

// The image ImageMagick reads from path (any format it knows), alpha dropped; w = 0 when
// it cannot read it.
inline RgbImage ReadWithImageMagick(const std::string& path) {
  Pnm p = ParsePnm(Shell("convert '" + path + "' -depth 8 ppm:-").out, Layout::Rgb);
  return RgbImage{p.w, p.h, std::move(p.px)};
}
