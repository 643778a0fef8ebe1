#include "platform/bmp_core.h"

#include <cstring>

static const size_t HeaderBytes = 14 + 40;

static size_t rowBytes(int32_t w) { return (size_t(w) * 3 + 3) & ~size_t(3); }

size_t BmpRoom(int32_t w, int32_t h) {
  if (w < 0 || h < 0) return 0;
  uint64_t all = HeaderBytes + uint64_t(rowBytes(w)) * uint64_t(h);  // below 2^63
  return all > UINT32_MAX ? 0 : size_t(all);
}

static void le(uint8_t* at, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; i++) at[i] = uint8_t(v >> 8 * i);
}

void BmpWrite(const uint8_t* px, int32_t w, int32_t h, size_t pitch, uint8_t* out) {
  const size_t stride = rowBytes(w), size = BmpRoom(w, h);
  memset(out, 0, HeaderBytes);
  out[0] = 'B', out[1] = 'M';
  le(out + 2, uint32_t(size), 4);
  le(out + 10, HeaderBytes, 4);  // where the pixels start
  le(out + 14, 40, 4);           // the info header's own length
  le(out + 18, uint32_t(w), 4);
  le(out + 22, uint32_t(h), 4);  // positive: rows bottom up
  le(out + 26, 1, 2);            // colour planes
  le(out + 28, 24, 2);           // bits a pixel
  le(out + 34, uint32_t(stride * size_t(h)), 4);
  uint8_t* row = out + HeaderBytes;
  for (int32_t y = h - 1; y >= 0; y--, row += stride) {
    const uint8_t* p = px + size_t(y) * pitch;
    uint8_t* o = row;
    for (int32_t x = 0; x < w; x++, p += 4, o += 3) {
      o[0] = p[2];
      o[1] = p[1];
      o[2] = p[0];
    }
    for (size_t pad = size_t(w) * 3; pad < stride; pad++) row[pad] = 0;
  }
}

bool BmpHeaderSize(const uint8_t* head, size_t n, uint64_t& w, uint64_t& h) {
  if (n < 22 || head[0] != 'B' || head[1] != 'M') return false;
  auto field = [head](size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; i--) v = v << 8 | head[at + i];
    return v;
  };
  if (field(14, 4) == 12) {
    w = field(18, 2);
    h = field(20, 2);
    return true;
  }
  if (n < 26) return false;
  auto magnitude = [](uint32_t v) { return uint64_t(v >> 31 ? -int64_t(int32_t(v)) : v); };
  w = magnitude(field(18, 4));
  h = magnitude(field(22, 4));
  return true;
}
