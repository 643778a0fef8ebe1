// mkicon - draws the program's icon from its own palette and font and writes it as
// PNG files for the desktop's icon theme: OUTDIR/<n>x<n>/apps/tarksen.png for n = 32,
// 64, 128 and 256, the 32x32 design scaled up pixel for pixel.
//
//   mkicon <BASFont.bmp> <OUTDIR>
//
// The design is the one the program gives its window (IconDesign). Each PNG holds the
// program's 16 colours as its palette; its image data is compressed by a small encoder
// of its own (one deflate block of fixed codes), so the same font always gives the same
// bytes, whichever zlib is at hand or none.
#include <SDL.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/texture_core.h"
#include "platform/window_core.h"

namespace {

constexpr int N = IconSide;
using Picture = std::vector<uint8_t>;  // N x N palette indices

uint32_t crc32(const uint8_t* d, size_t n, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < n; i++) {
    crc ^= d[i];
    for (int k = 0; k < 8; k++) crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void be32(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}

void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  be32(out, uint32_t(data.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  be32(out, crc32(out.data() + start, out.size() - start));
}

// Bits into a deflate stream, the first in the lowest bit of each byte.
struct Bits {
  std::vector<uint8_t>& out;
  uint32_t acc = 0;
  int n = 0;
  void put(uint32_t v, int bits) {  // v's low bits, lowest first
    for (int i = 0; i < bits; i++) {
      acc |= ((v >> i) & 1u) << n;
      if (++n == 8) {
        out.push_back(uint8_t(acc));
        acc = 0;
        n = 0;
      }
    }
  }
  void code(uint32_t c, int bits) {  // a Huffman code, its highest bit first
    for (int i = bits - 1; i >= 0; i--) put(c >> i, 1);
  }
  void flush() {
    if (n) out.push_back(uint8_t(acc));
    acc = 0;
    n = 0;
  }
};

// Symbol v of the fixed literal/length code.
void literal(Bits& b, int v) {
  if (v < 144)
    b.code(0x30 + v, 8);
  else if (v < 256)
    b.code(0x190 + v - 144, 9);
  else if (v < 280)
    b.code(v - 256, 7);
  else
    b.code(0xC0 + v - 280, 8);
}

// A copy of len (3 to 258) bytes from dist (1 to 32768) back.
void match(Bits& b, int len, int dist) {
  static const int lenBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  static const int lenExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  static const int distBase[] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                 33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
  int i = 28;
  while (lenBase[i] > len) i--;
  literal(b, 257 + i);
  b.put(uint32_t(len - lenBase[i]), lenExtra[i]);
  int d = 29;
  while (distBase[d] > dist) d--;
  b.code(uint32_t(d), 5);
  b.put(uint32_t(dist - distBase[d]), d < 4 ? 0 : d / 2 - 1);
}

// raw as one final deflate block of fixed codes: copies of the byte before (runs of a
// colour) or of the row before (a row scaled up repeats), the longer, else literals.
std::vector<uint8_t> deflate(const std::vector<uint8_t>& raw, int row) {
  std::vector<uint8_t> out;
  Bits b{out};
  b.put(1, 1);  // final block
  b.put(1, 2);  // fixed codes
  auto length = [&](size_t at, size_t dist) {
    size_t n = 0;
    while (at + n < raw.size() && n < 258 && raw[at + n] == raw[at + n - dist]) n++;
    return n;
  };
  for (size_t at = 0; at < raw.size();) {
    size_t byRun = at >= 1 ? length(at, 1) : 0;
    size_t byRow = at >= size_t(row) ? length(at, size_t(row)) : 0;
    size_t n = byRow >= byRun ? byRow : byRun;
    if (n >= 3) {
      match(b, int(n), byRow >= byRun ? row : 1);
      at += n;
    } else {
      literal(b, raw[at++]);
    }
  }
  literal(b, 256);  // end of block
  b.flush();
  return out;
}

// The picture scaled by s as a PNG of 8-bit palette indices, the palette GEMColor
// (alpha dropped: the window shows it opaque), its image data a zlib stream.
std::vector<uint8_t> png(const Picture& p, int s) {
  int w = N * s;
  std::vector<uint8_t> raw;
  for (int y = 0; y < w; y++) {
    raw.push_back(0);  // filter: none
    for (int x = 0; x < w; x++) raw.push_back(p[(y / s) * N + x / s]);
  }
  std::vector<uint8_t> z = {0x78, 0x01};
  std::vector<uint8_t> packed = deflate(raw, w + 1);
  z.insert(z.end(), packed.begin(), packed.end());
  uint32_t a = 1, b = 0;
  for (uint8_t v : raw) a = (a + v) % 65521, b = (b + a) % 65521;
  be32(z, b << 16 | a);

  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> ihdr;
  be32(ihdr, w);
  be32(ihdr, w);
  ihdr.insert(ihdr.end(), {8, 3, 0, 0, 0});  // 8 bits, palette, deflate, no filter, no interlace
  chunk(out, "IHDR", ihdr);
  std::vector<uint8_t> plte;
  for (uint32_t c : GEMColor)
    plte.insert(plte.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
  chunk(out, "PLTE", plte);
  chunk(out, "IDAT", z);
  chunk(out, "IEND", {});
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    fprintf(stderr, "usage: mkicon BASFont.bmp OUTDIR\n");
    return 2;
  }
  SDL_Surface* loaded = SDL_LoadBMP(argv[1]);
  SDL_Surface* font =
      loaded ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0) : nullptr;
  SDL_FreeSurface(loaded);
  if (!font) {
    fprintf(stderr, "mkicon: %s: %s\n", argv[1], SDL_GetError());
    return 1;
  }

  Picture p(N * N);
  bool ok = IconDesign(p.data(), (const uint8_t*)font->pixels, font->w, font->h, font->pitch);
  SDL_FreeSurface(font);
  if (!ok) {
    fprintf(stderr, "mkicon: %s: not the font strip\n", argv[1]);
    return 1;
  }

  for (int s : {1, 2, 4, 8}) {
    std::string dir =
        std::string(argv[2]) + "/" + std::to_string(N * s) + "x" + std::to_string(N * s);
    mkdir(argv[2], 0755);
    mkdir(dir.c_str(), 0755);
    mkdir((dir + "/apps").c_str(), 0755);
    std::string path = dir + "/apps/tarksen.png";
    std::vector<uint8_t> bytes = png(p, s);
    FILE* f = fopen(path.c_str(), "wb");
    if (!f || fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || fclose(f) != 0) {
      fprintf(stderr, "mkicon: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
