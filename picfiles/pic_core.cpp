#include "picfiles/pic_core.h"

#include <algorithm>
#include <cstring>

void PicTable(int32_t planes, uint8_t T[16]) {
  static const uint8_t four[16] = {0, 2, 3, 6, 4, 7, 5, 8, 9, 10, 11, 14, 12, 15, 13, 1};
  memcpy(T, four, 16);
  if (planes == 2) T[3] = 1;
  if (planes == 1) T[1] = 1;
}

bool PicDetect(const uint8_t* file, size_t size, int32_t planes, PicLayout& lay) {
  PicLayout l;
  uint64_t n = size;
  if (const PicScreen* screen = PicScreenOf(planes)) {
    if (size == PicDegasBytes || size == PicDegasPlainBytes) {
      l.offset = PicDegasBodyAt;
      n = PicBodyBytes;
    }
    l.planes = planes;
    l.lineBytes = screen->lineBytes;
    l.rows = screen->rows;
  } else if (planes == 0) {
    if (size <= PicGbfHeaderBytes || size > PicBodyBytes + PicGbfHeaderBytes) return false;
    PicReader r{file, size, 0};
    uint32_t w = r.u16be();
    l.rows = int32_t(r.u16be()) + 1;
    l.planes = r.u16be();
    if (r.short_ || l.planes < 1 || l.planes > 4) return false;
    l.lineBytes = int32_t(2 * ((w + 15) / 16));
    l.offset = PicGbfHeaderBytes;
    n = size - PicGbfHeaderBytes;
  } else {
    return false;
  }
  // At most 8,192 x 65,536 x 4: no overflow in 64 bits.
  uint64_t body = uint64_t(l.lineBytes) * uint64_t(l.rows) * uint64_t(l.planes);
  if (n == 0 || body != n) return false;
  lay = l;
  return true;
}

bool PicDecode(const uint8_t* file, size_t size, const PicLayout& lay, const uint32_t* pal,
               PicImage& img) {
  const int32_t P = lay.planes, L = lay.lineBytes, rows = lay.rows;
  if (P < 1 || P > 4 || L <= 0 || L % 2 || rows <= 0 || lay.offset > size) return false;
  // The body must fit in the file before anything is allocated for it; that also
  // bounds the image to 8 pixels per body byte.
  uint64_t body = uint64_t(L) * uint64_t(rows) * uint64_t(P);
  if (body > size - lay.offset) return false;

  uint8_t T[16];
  PicTable(P, T);
  uint32_t colour[16];
  for (int v = 0; v < 16; v++) colour[v] = pal[T[v]];

  PicImage out;
  out.w = 8 * L;
  out.h = rows;
  size_t n = size_t(out.w) * size_t(out.h);
  std::vector<uint8_t> values(n);
  PicPlanes(file + lay.offset, L, rows, P, values.data());
  out.px.resize(n);
  for (size_t i = 0; i < n; i++) out.px[i] = colour[values[i]];
  img = std::move(out);
  return true;
}

// Byte b of a plane spread over eight pixel values, leftmost pixel (bit 7) in the low
// byte: value i (byte i of the result) is bit 7 - i of b.
static uint64_t spread(unsigned b) {
  uint64_t v = 0;
  for (int i = 0; i < 8; i++) v |= uint64_t(b >> (7 - i) & 1) << 8 * i;
  return v;
}

void PicPlanes(const uint8_t* body, int32_t L, int32_t rows, int32_t P, uint8_t* values) {
  static const struct Spread {
    uint64_t of[256];
    Spread() {
      for (unsigned b = 0; b < 256; b++) of[b] = spread(b);
    }
  } table;
  const size_t groups = size_t(L / 2) * size_t(rows);
  for (size_t g = 0; g < groups; g++, values += 16, body += 2 * P) {
    // Plane p adds 2^p to each pixel whose bit it has: the first byte of its word
    // holds pixels 0..7 of the group, the second 8..15.
    uint64_t left = 0, right = 0;
    for (int p = 0; p < P; p++) {
      left |= table.of[body[2 * p]] << p;
      right |= table.of[body[2 * p + 1]] << p;
    }
    for (int i = 0; i < 8; i++) {
      values[i] = uint8_t(left >> 8 * i);
      values[8 + i] = uint8_t(right >> 8 * i);
    }
  }
}

void PicEncode(const uint8_t* values, int32_t L, int32_t rows, int32_t P, uint8_t* body) {
  const size_t groups = size_t(L / 2) * size_t(rows);
  for (size_t g = 0; g < groups; g++, values += 16, body += 2 * P) {
    for (int p = 0; p < P; p++) {
      unsigned hi = 0, lo = 0;
      for (int i = 0; i < 8; i++) {
        hi |= ((values[7 - i] >> p) & 1u) << i;
        lo |= ((values[15 - i] >> p) & 1u) << i;
      }
      body[2 * p] = uint8_t(hi);
      body[2 * p + 1] = uint8_t(lo);
    }
  }
}

bool PicLoad(const uint8_t* file, size_t size, int32_t planes, const uint32_t* pal, PicImage& img) {
  PicLayout lay;
  return PicDetect(file, size, planes, lay) && PicDecode(file, size, lay, pal, img);
}

// The source row or column under the centre of picture row or column i of `of`, in an
// image of n.
static size_t sampled(int32_t i, int32_t n, int32_t of) {
  return size_t((2 * int64_t(i) + 1) * n / (2 * int64_t(of)));
}

void PicStretchPixels(const uint8_t* px, int32_t w, int32_t h, size_t pitch, PicPixels lay,
                      uint32_t* out) {
  if (w <= 0 || h <= 0) {
    std::fill(out, out + size_t(PicW) * PicH, 0u);
    return;
  }
  // Where each column of the picture is read from, worked once for all rows.
  size_t from[PicW];
  for (int32_t x = 0; x < PicW; x++) from[x] = sampled(x, w, PicW) * size_t(lay.bytes);
  const bool rgba = lay.bytes == 4 && lay.r == 0 && lay.g == 1 && lay.b == 2 && lay.a == 3;
  const int a = lay.a < 0 ? 0 : lay.a;  // with no alpha, read any byte and drop it
  const uint32_t opaque = lay.a < 0 ? 0xFF000000u : 0;
  for (int32_t y = 0; y < PicH; y++) {
    const uint8_t* row = px + sampled(y, h, PicH) * pitch;
    if (rgba) {
      for (int32_t x = 0; x < PicW; x++) memcpy(out++, row + from[x], 4);
      continue;
    }
    for (int32_t x = 0; x < PicW; x++) {
      const uint8_t* p = row + from[x];
      uint32_t alpha = opaque ? opaque : uint32_t(p[a]) << 24;
      *out++ = uint32_t(p[lay.r]) | uint32_t(p[lay.g]) << 8 | uint32_t(p[lay.b]) << 16 | alpha;
    }
  }
}

void PicStretch(const PicImage& img, std::vector<uint32_t>& out) {
  out.resize(size_t(PicW) * PicH);
  bool whole = img.w > 0 && img.h > 0 && img.px.size() >= size_t(img.w) * size_t(img.h);
  PicStretchPixels(reinterpret_cast<const uint8_t*>(img.px.data()), whole ? img.w : 0, img.h,
                   size_t(img.w) * 4, PicRgba, out.data());
}

void DoodleBody(const uint8_t* rgba, uint8_t* body) {
  for (size_t i = 0; i < PicBodyBytes; i++) {
    uint8_t b = 0;
    for (int bit = 7; bit >= 0; bit--, rgba += 4)
      if ((rgba[0] & rgba[1] & rgba[2]) != 255) b |= uint8_t(1 << bit);
    body[i] = b;
  }
}
