// The load command's choice of reader by name, the stretch of BMP rows over the
// picture, the room a BMP of a picture needs and the size a BMP or PNG header states.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "picfiles/files_core.h"
#include "picfiles/pic_core.h"
#include "picfiles/png_core.h"
#include "platform/bmp_core.h"

// Every name the load command knew before keeps its reader, and every name it refused
// for its capitals stays refused; the other Atari kinds are upper case only, PNG either.
TEST(FileKind, TheTextAfterTheLastDotOfTheWholePath) {
  struct {
    const char* path;
    PicKind::How how;
    int32_t planes;
    // clang-format off
  } rows[] = {
      {"x.PIC", PicKind::PIC_PLANES, 1},
      {"x.PI1", PicKind::PIC_PLANES, 4},
      {"x.PI2", PicKind::PIC_PLANES, 2},
      {"/a/b/x.PI3", PicKind::PIC_PLANES, 1},
      {"x.GBF", PicKind::PIC_PLANES, 0},
      {"x.bmp", PicKind::PIC_BMP, 0},
      {"x.BMP", PicKind::PIC_BMP, 0},
      {"x.Pi1", PicKind::PIC_UNKNOWN, 0},
      {"x.gbf", PicKind::PIC_UNKNOWN, 0},
      {"x.Bmp", PicKind::PIC_UNKNOWN, 0},
      {"x.PI1.txt", PicKind::PIC_UNKNOWN, 0},
      {"x.tar.BMP", PicKind::PIC_BMP, 0},
      {"pics.old/readme", PicKind::PIC_UNKNOWN, 0},
      {"/tmp/pics.BMP/readme", PicKind::PIC_UNKNOWN, 0},
      {"readme", PicKind::PIC_UNKNOWN, 0},
      {"x.", PicKind::PIC_UNKNOWN, 0},
      {".PIC", PicKind::PIC_PLANES, 1},
      {"x.PIC ", PicKind::PIC_UNKNOWN, 0},
      // The kinds the converter reads besides.
      {"x.DOO", PicKind::PIC_PLANES, 1},
      {"x.PC1", PicKind::PIC_ATARI, 0},
      {"x.PC2", PicKind::PIC_ATARI, 0},
      {"x.PC3", PicKind::PIC_ATARI, 0},
      {"x.NEO", PicKind::PIC_ATARI, 0},
      {"x.SPU", PicKind::PIC_ATARI, 0},
      {"/a/b.c/x.SPC", PicKind::PIC_ATARI, 0},
      {"x.png", PicKind::PIC_PNG, 0},
      {"x.PNG", PicKind::PIC_PNG, 0},
      {"x.doo", PicKind::PIC_UNKNOWN, 0},
      {"x.pc1", PicKind::PIC_UNKNOWN, 0},
      {"x.Neo", PicKind::PIC_UNKNOWN, 0},
      {"x.spu", PicKind::PIC_UNKNOWN, 0},
      {"x.Png", PicKind::PIC_UNKNOWN, 0},
      {"pics.png/readme", PicKind::PIC_UNKNOWN, 0},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.path);
    PicKind k = PicKindOf(r.path);
    EXPECT_EQ(k.how, r.how);
    if (r.how == PicKind::PIC_PLANES) {
      EXPECT_EQ(k.planes, r.planes);
    }
    EXPECT_EQ(PicSavesPng(r.path), r.how == PicKind::PIC_PNG) << "a save writes PNG";
  }
}

// Source pixel (x, y) as the picture should show it (bytes r, g, b, a): its coordinates
// in red, green and blue, so every source pixel is told apart, and alpha a.
static uint32_t at(int x, int y, uint8_t a) {
  return uint32_t((x >> 8) | (y >> 8) << 4) | uint32_t(x & 0xFF) << 8 | uint32_t(y & 0xFF) << 16 |
         uint32_t(a) << 24;
}

TEST(FileKind, BmpRowsStretchOverThePicture) {
  struct {
    const char* name;
    int w, h, bytes;
    size_t pitch;
    bool opaque;
    // Source pixel of picture pixels (0, 0), (639, 399) and (321, 201), worked by hand:
    // the one under each centre, column (2x + 1) * w / 1280 and row (2y + 1) * h / 800.
    int cx[3], cy[3];
    // clang-format off
  } rows[] = {
      {"320x200 of 3 bytes doubled", 320, 200, 3, 960, false, {0, 319, 160}, {0, 199, 100}},
      {"1024x768 shrunk, rows padded", 1024, 768, 3, 3076, false, {0, 1023, 514}, {0, 767, 386}},
      {"one pixel", 1, 1, 3, 4, false, {0, 0, 0}, {0, 0, 0}},
      {"a tall strip of 4 bytes", 3, 1000, 4, 12, false, {0, 2, 1}, {1, 998, 503}},
      {"4 bytes, alpha ignored", 3, 1000, 4, 16, true, {0, 2, 1}, {1, 998, 503}},
  };
  // clang-format on
  const int px[3] = {0, 639, 321}, py[3] = {0, 399, 201};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    std::vector<uint8_t> src(r.pitch * size_t(r.h), 0xEE);
    for (int y = 0; y < r.h; y++)
      for (int x = 0; x < r.w; x++) {
        uint32_t p = at(x, y, uint8_t(x + y));
        uint8_t* b = &src[size_t(y) * r.pitch + size_t(x) * r.bytes];
        b[0] = uint8_t(p >> 16), b[1] = uint8_t(p >> 8), b[2] = uint8_t(p);  // blue first
        if (r.bytes == 4) b[3] = uint8_t(p >> 24);
      }
    std::vector<uint32_t> out(640 * 400);
    bool alpha = r.bytes == 4 && !r.opaque;
    PicStretchPixels(src.data(), r.w, r.h, r.pitch, {r.bytes, 2, 1, 0, alpha ? 3 : -1}, out.data());
    for (int i = 0; i < 3; i++) {
      uint8_t a = alpha ? uint8_t(r.cx[i] + r.cy[i]) : 255;
      EXPECT_EQ(out[py[i] * 640 + px[i]], at(r.cx[i], r.cy[i], a)) << i;
    }
  }
}

TEST(FileKind, RoomForABmp) {
  // The two headers take 54 bytes, then rows of 3 bytes a pixel padded to 4.
  EXPECT_EQ(BmpRoom(640, 400), 54u + 1920u * 400u);
  EXPECT_EQ(BmpRoom(37, 5), 54u + 112u * 5u);
  EXPECT_EQ(BmpRoom(1, 1), 54u + 4u);
  EXPECT_EQ(BmpRoom(0, 0), 54u);
  EXPECT_EQ(BmpRoom(-1, 5), 0u);
  EXPECT_EQ(BmpRoom(65536, 65536), 0u) << "past the 4 GiB a BMP header can state";
}

// The size BMP and PNG headers state, read before anything is allocated for the pixels.
TEST(FileKind, TheSizeABmpOrPngHeaderStates) {
  // A file header and the start of an info header: its length, then width and height.
  auto head = [](uint32_t info, uint32_t w, uint32_t h, int fieldBytes, size_t keep) {
    std::vector<uint8_t> b = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
    for (int i = 0; i < 4; i++) b.push_back(uint8_t(info >> 8 * i));
    for (uint32_t v : {w, h})
      for (int i = 0; i < fieldBytes; i++) b.push_back(uint8_t(v >> 8 * i));
    b.resize(keep, 0);
    return b;
  };
  // The signature and the first chunk's length, type, width and height (big-endian).
  auto png = [](const char* type, uint32_t w, uint32_t h, size_t keep) {
    std::vector<uint8_t> b = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};
    b.insert(b.end(), type, type + 4);
    for (uint32_t v : {w, h})
      for (int i = 3; i >= 0; i--) b.push_back(uint8_t(v >> 8 * i));
    b.resize(keep, 0);
    return b;
  };
  using Reader = bool (*)(const uint8_t*, size_t, uint64_t&, uint64_t&);
  const Reader bmp = BmpHeaderSize, ihdr = PngHeaderSize;
  struct {
    const char* name;
    Reader read;
    std::vector<uint8_t> bytes;
    bool told;
    uint64_t w, h;
    // clang-format off
  } rows[] = {
      {"Windows header", bmp, head(40, 1024, 768, 4, 54), true, 1024, 768},
      {"rows stored top-down", bmp, head(40, 3, uint32_t(-2), 4, 26), true, 3, 2},
      {"a negative width", bmp, head(124, uint32_t(INT32_MIN), 1, 4, 26), true, 1u << 31, 1},
      {"asking for a gigabyte", bmp, head(40, 16384, 16384, 4, 26), true, 16384, 16384},
      {"OS/2 header, 16-bit fields", bmp, head(12, 65535, 300, 2, 22), true, 65535, 300},
      {"cut in the height", bmp, head(40, 7, 5, 4, 25), false, 0, 0},
      {"OS/2, cut in the height", bmp, head(12, 7, 5, 2, 21), false, 0, 0},
      {"not a BMP", bmp, {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0, 0,
                          40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}, false, 0, 0},
      {"PNG, full 32-bit fields", ihdr, png("IHDR", 0xFFFFFFFF, 70000, 33), true, 0xFFFFFFFF, 70000},
      {"PNG, its first 24 bytes are enough", ihdr, png("IHDR", 65535, 65535, 24), true, 65535, 65535},
      {"PNG, 23 bytes are not", ihdr, png("IHDR", 7, 5, 23), false, 0, 0},
      {"PNG whose first chunk is not IHDR", ihdr, png("IDAT", 7, 5, 33), false, 0, 0},
      {"a BMP is no PNG", ihdr, head(40, 7, 5, 4, 54), false, 0, 0},
      {"a PNG is no BMP", bmp, png("IHDR", 7, 5, 33), false, 0, 0},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    uint64_t w = 0, h = 0;
    EXPECT_EQ(r.read(r.bytes.data(), r.bytes.size(), w, h), r.told);
    if (r.told) {
      EXPECT_EQ(w, r.w);
      EXPECT_EQ(h, r.h);
    }
  }
}
