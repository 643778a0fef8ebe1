// Netpbm images, the one reader and writer of them in the tests: netpbm's readers,
// ImageMagick and the screenshots of the e2e tier turn every picture the tests meet
// (PNG, BMP, Atari files, the window) into one of these, and fixtures for netpbm's
// writers are made in them. No gtest and no SDL here.
#pragma once
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

// How a pixel's 32 bits hold its colour.
enum class Layout {
  Abgr,  // bytes r, g, b, a in memory: r | g << 8 | b << 16 | a << 24 (textures, palette)
  Rgb,   // 0xRRGGBB (screenshots, ImageMagick's and the browser's pictures)
};

// A pixel of Layout::Abgr as 0xRRGGBB, alpha dropped; and 0xRRGGBB as Layout::Abgr.
constexpr uint32_t ToRgb(uint32_t abgr) {
  return (abgr & 0xFF) << 16 | (abgr & 0xFF00) | (abgr >> 16 & 0xFF);
}
constexpr uint32_t FromRgb(uint32_t rgb, uint8_t alpha) {
  return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16 | uint32_t(alpha) << 24;
}

// A netpbm image as pixels of one layout, alpha 0, whatever its kind (P4, P5, P6) and
// maxval; maxval is kept to tell how the levels were written.
struct Pnm {
  int w = 0, h = 0, maxval = 0;
  std::vector<uint32_t> px;
};

// Parses a binary PBM, PGM or PPM (comments allowed) into pixels of layout, each level
// scaled to 0..255; w stays 0 if it is none of them or is cut short.
inline Pnm ParsePnm(const uint8_t* f, size_t size, Layout layout = Layout::Abgr) {
  Pnm p;
  if (size < 3 || f[0] != 'P' || f[1] < '4' || f[1] > '6') return p;
  const char kind = char(f[1]);
  size_t pos = 2;
  int fields[3] = {0, 0, 0};
  const int count = kind == '4' ? 2 : 3;
  for (int i = 0; i < count; i++) {
    while (pos < size && (isspace(f[pos]) || f[pos] == '#')) {
      if (f[pos] == '#')
        while (pos < size && f[pos] != '\n') pos++;
      else
        pos++;
    }
    while (pos < size && isdigit(f[pos])) fields[i] = fields[i] * 10 + (f[pos++] - '0');
  }
  pos++;  // the one whitespace byte that ends the header
  p.w = fields[0], p.h = fields[1], p.maxval = kind == '4' ? 1 : fields[2];
  const size_t n = size_t(p.w) * p.h;
  if (p.maxval < 1 || p.maxval > 255) return Pnm();
  // Rounded, as netpbm scales: maxval 7 gives the widened 3-bit levels.
  auto scale = [&](int v) { return uint32_t((v * 255 + p.maxval / 2) / p.maxval); };
  const int red = layout == Layout::Abgr ? 0 : 16, blue = 16 - red;
  p.px.reserve(n);
  if (kind == '4') {
    const size_t stride = (size_t(p.w) + 7) / 8;
    if (size < pos + stride * p.h) return Pnm();
    for (int y = 0; y < p.h; y++)
      for (int x = 0; x < p.w; x++) {
        bool black = f[pos + y * stride + x / 8] >> (7 - x % 8) & 1;
        p.px.push_back(black ? 0 : 0xFFFFFF);
      }
  } else if (kind == '5') {
    if (size < pos + n) return Pnm();
    for (size_t i = 0; i < n; i++) p.px.push_back(scale(f[pos + i]) * 0x010101u);
  } else {
    if (size < pos + 3 * n) return Pnm();
    for (size_t i = 0; i < n; i++)
      p.px.push_back(scale(f[pos + 3 * i]) << red | scale(f[pos + 3 * i + 1]) << 8 |
                     scale(f[pos + 3 * i + 2]) << blue);
  }
  return p;
}
inline Pnm ParsePnm(const std::vector<uint8_t>& f, Layout layout = Layout::Abgr) {
  return ParsePnm(f.data(), f.size(), layout);
}
inline Pnm ParsePnm(const std::string& f, Layout layout = Layout::Abgr) {
  return ParsePnm(reinterpret_cast<const uint8_t*>(f.data()), f.size(), layout);
}

// The level of 0..maxval that a channel scaled to 0..255 was read from.
constexpr int Level(uint32_t channel, int maxval) { return int(channel * maxval + 127) / 255; }

// A PPM (P6) of pixels of layout, each channel written as it is: maxval tells their
// range when the levels are fewer than 256.
inline std::vector<uint8_t> Ppm(int w, int h, const std::vector<uint32_t>& px,
                                Layout layout = Layout::Abgr, int maxval = 255) {
  std::string head =
      "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n" + std::to_string(maxval) + "\n";
  std::vector<uint8_t> f(head.begin(), head.end());
  const int red = layout == Layout::Abgr ? 0 : 16, blue = 16 - red;
  for (uint32_t c : px) f.insert(f.end(), {uint8_t(c >> red), uint8_t(c >> 8), uint8_t(c >> blue)});
  return f;
}

// A PAM of pixels of Layout::Abgr, alpha kept.
inline std::vector<uint8_t> PamRgba(int w, int h, const std::vector<uint32_t>& px) {
  std::string head = "P7\nWIDTH " + std::to_string(w) + "\nHEIGHT " + std::to_string(h) +
                     "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
  std::vector<uint8_t> f(head.begin(), head.end());
  for (uint32_t c : px)
    f.insert(f.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), uint8_t(c >> 24)});
  return f;
}

// A PBM (P4) of pixel values, 1 black.
inline std::vector<uint8_t> Pbm(int w, int h, const std::vector<uint8_t>& values) {
  std::string head = "P4\n" + std::to_string(w) + " " + std::to_string(h) + "\n";
  std::vector<uint8_t> f(head.begin(), head.end());
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x += 8) {
      uint8_t b = 0;
      for (int i = 0; i < 8 && x + i < w; i++)
        if (values[size_t(y) * w + x + i]) b |= uint8_t(0x80 >> i);
      f.push_back(b);
    }
  return f;
}
