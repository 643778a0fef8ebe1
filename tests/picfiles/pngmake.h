// PNG files made here, chunk by chunk with zlib, for the readers' tests: the pixels
// come from the test, the bytes from this writer, never from the codec under test.
#pragma once
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pngmake {

inline void be32(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}

inline void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  be32(out, uint32_t(data.size()));
  size_t at = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  be32(out, uint32_t(crc32(0, &out[at], uInt(out.size() - at))));
}

}  // namespace pngmake

// A PNG of w x h samples: colour type ct (0 grey, 2 RGB, 3 palette, 4 grey and alpha,
// 6 RGBA) at depth bits a sample; samples holds each pixel's samples row by row (16-bit
// ones as values up to 65535), packed here into filter-0 rows, by Adam7 passes when
// interlaced. plte and trns, when not empty, become their chunks.
inline std::vector<uint8_t> PngOf(uint32_t w, uint32_t h, int depth, int ct,
                                  const std::vector<uint32_t>& samples, bool interlaced = false,
                                  const std::vector<uint8_t>& plte = {},
                                  const std::vector<uint8_t>& trns = {}) {
  const int channels = ct == 2 ? 3 : ct == 4 ? 2 : ct == 6 ? 4 : 1;
  std::vector<uint8_t> raw;
  // One pass: the pixels from (x0, y0) every dx, dy.
  auto pass = [&](uint32_t x0, uint32_t y0, uint32_t dx, uint32_t dy) {
    if (x0 >= w || y0 >= h) return;
    for (uint32_t y = y0; y < h; y += dy) {
      raw.push_back(0);
      uint32_t bits = 0, acc = 0;
      for (uint32_t x = x0; x < w; x += dx)
        for (int c = 0; c < channels; c++) {
          uint32_t v = samples[(size_t(y) * w + x) * channels + c];
          if (depth == 16) {
            raw.push_back(uint8_t(v >> 8));
            raw.push_back(uint8_t(v));
          } else if (depth == 8) {
            raw.push_back(uint8_t(v));
          } else {
            acc = acc << depth | v;
            bits += depth;
            if (bits == 8) raw.push_back(uint8_t(acc)), bits = 0, acc = 0;
          }
        }
      if (bits) raw.push_back(uint8_t(acc << (8 - bits)));
    }
  };
  if (interlaced) {
    const uint32_t adam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                  {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    for (const auto& p : adam7) pass(p[0], p[1], p[2], p[3]);
  } else {
    pass(0, 0, 1, 1);
  }
  std::vector<uint8_t> z(compressBound(uLong(raw.size())));
  uLongf zn = uLongf(z.size());
  compress(z.data(), &zn, raw.data(), uLong(raw.size()));
  z.resize(zn);

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, ihdr;
  pngmake::be32(ihdr, w);
  pngmake::be32(ihdr, h);
  ihdr.insert(ihdr.end(), {uint8_t(depth), uint8_t(ct), 0, 0, uint8_t(interlaced)});
  pngmake::chunk(out, "IHDR", ihdr);
  if (!plte.empty()) pngmake::chunk(out, "PLTE", plte);
  if (!trns.empty()) pngmake::chunk(out, "tRNS", trns);
  pngmake::chunk(out, "IDAT", z);
  pngmake::chunk(out, "IEND", {});
  return out;
}

// An 8-bit RGB PNG of px (0xRRGGBB values, row by row).
inline std::vector<uint8_t> PngRgbOf(uint32_t w, uint32_t h, const std::vector<uint32_t>& px,
                                     bool interlaced = false) {
  std::vector<uint32_t> s;
  for (uint32_t c : px) s.insert(s.end(), {c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF});
  return PngOf(w, h, 8, 2, s, interlaced);
}
