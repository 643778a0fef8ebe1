// The five drawing modes' blend equations written out, for expected pixels in the gl
// and e2e tiers: a source pixel copied over a destination pixel, both with bytes r, g,
// b, a in memory order. The renderer works in fractions of 255 and rounds, so compare
// with a tolerance of 1.
#pragma once
#include <cmath>
#include <cstdint>

// mode: 0 "Wymiana", 1 "Mieszanie", 2 "Suma", 3 "Iloczyn", 4 "Inwersja".
inline uint32_t BlendPixel(int mode, uint32_t src, uint32_t dst) {
  auto ch = [](uint32_t p, int i) { return double(p >> (8 * i) & 0xFF) / 255.0; };
  double sa = ch(src, 3), da = ch(dst, 3);
  uint32_t out = 0;
  for (int i = 0; i < 4; i++) {
    double s = ch(src, i), d = ch(dst, i), v;
    bool alpha = i == 3;
    switch (mode) {
      case 0: v = s; break;
      case 1: v = alpha ? sa + da * (1 - sa) : s * sa + d * (1 - sa); break;
      case 2: v = alpha ? da : s * sa + d; break;
      case 3: v = alpha ? da : s * d; break;
      default: v = d - s; break;  // destination minus source, alpha alike
    }
    v = v < 0 ? 0 : v > 1 ? 1 : v;
    out |= uint32_t(std::lround(v * 255)) << (8 * i);
  }
  return out;
}
