// Netpbm images read back in the tests: netpbm's readers turn every picture format
// the tests meet (PNG, BMP, Atari files) into one of these.
#pragma once
#include <cctype>
#include <cstdint>
#include <vector>

// A netpbm image as RGB pixels (r | g << 8 | b << 16), whatever its kind (P4, P5, P6)
// and maxval; maxval is kept to tell how the levels were written.
struct Pnm {
  int w = 0, h = 0, maxval = 0;
  std::vector<uint32_t> px;
};

// Parses a binary PBM, PGM or PPM (comments allowed); w stays 0 if it is none of them.
inline Pnm ParsePnm(const std::vector<uint8_t>& f) {
  Pnm p;
  if (f.size() < 3 || f[0] != 'P' || f[1] < '4' || f[1] > '6') return p;
  const char kind = char(f[1]);
  size_t pos = 2;
  int fields[3] = {0, 0, 0};
  const int count = kind == '4' ? 2 : 3;
  for (int i = 0; i < count; i++) {
    while (pos < f.size() && (isspace(f[pos]) || f[pos] == '#')) {
      if (f[pos] == '#')
        while (pos < f.size() && f[pos] != '\n') pos++;
      else
        pos++;
    }
    while (pos < f.size() && isdigit(f[pos])) fields[i] = fields[i] * 10 + (f[pos++] - '0');
  }
  pos++;  // the one whitespace byte that ends the header
  p.w = fields[0], p.h = fields[1], p.maxval = kind == '4' ? 1 : fields[2];
  const size_t n = size_t(p.w) * p.h;
  if (p.maxval < 1 || p.maxval > 255) return Pnm();
  // Rounded, as netpbm scales: maxval 7 gives the widened 3-bit levels.
  auto scale = [&](int v) { return uint32_t((v * 255 + p.maxval / 2) / p.maxval); };
  if (kind == '4') {
    const size_t stride = (size_t(p.w) + 7) / 8;
    if (f.size() < pos + stride * p.h) return Pnm();
    for (int y = 0; y < p.h; y++)
      for (int x = 0; x < p.w; x++) {
        bool black = f[pos + y * stride + x / 8] >> (7 - x % 8) & 1;
        p.px.push_back(black ? 0 : 0xFFFFFF);
      }
  } else if (kind == '5') {
    if (f.size() < pos + n) return Pnm();
    for (size_t i = 0; i < n; i++) p.px.push_back(scale(f[pos + i]) * 0x010101u);
  } else {
    if (f.size() < pos + 3 * n) return Pnm();
    for (size_t i = 0; i < n; i++)
      p.px.push_back(scale(f[pos + 3 * i]) | scale(f[pos + 3 * i + 1]) << 8 |
                     scale(f[pos + 3 * i + 2]) << 16);
  }
  return p;
}
