// The PNG codec: every colour type and depth read to 8-bit r, g, b, a; hostile files
// refused with a reason and the caller's image untouched; the 8-bit RGB writer of the paint
// program's saves.
#include <gtest/gtest.h>
#include <zlib.h>

#include <vector>

#include "picfiles/png_core.h"
#include "tests/picfiles/pngmake.h"

namespace {

constexpr uint32_t rgba(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) {
  return r | g << 8 | b << 16 | a << 24;
}

// file with the 8 bytes of IHDR's width and height replaced and its CRC made good again.
std::vector<uint8_t> withSize(std::vector<uint8_t> file, uint32_t w, uint32_t h) {
  for (int i = 0; i < 4; i++) {
    file[16 + i] = uint8_t(w >> (24 - 8 * i));
    file[20 + i] = uint8_t(h >> (24 - 8 * i));
  }
  uint32_t crc = uint32_t(crc32(0, &file[12], 17));
  for (int i = 0; i < 4; i++) file[29 + i] = uint8_t(crc >> (24 - 8 * i));
  return file;
}

std::vector<uint8_t> flipped(std::vector<uint8_t> file, size_t at) {
  file[at] ^= 0x01;
  return file;
}

}  // namespace

TEST(PngDecode, EveryColourTypeAndDepthComesOutAs8BitRgba) {
  std::vector<uint32_t> nine(81), nineSamples;
  for (uint32_t i = 0; i < 81; i++) {
    nine[i] = rgba(i * 3, 255 - i, i * 7 % 256);
    nineSamples.insert(nineSamples.end(), {i * 3, 255 - i, i * 7 % 256});
  }
  const struct {
    const char* name;
    std::vector<uint8_t> file;
    int w, h;
    std::vector<uint32_t> px;
    // clang-format off
  } rows[] = {
      {"8-bit RGB, alpha 255",
       PngOf(3, 2, 8, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}), 3, 2,
       {rgba(1, 2, 3), rgba(4, 5, 6), rgba(7, 8, 9), rgba(10, 11, 12), rgba(13, 14, 15),
        rgba(16, 17, 18)}},
      {"16-bit RGBA keeps each high byte",
       PngOf(2, 1, 16, 6, {0x12FF, 0xAB00, 0xFFFF, 0x80FF, 0, 1, 0x00FF, 0xFF00}), 2, 1,
       {rgba(0x12, 0xAB, 0xFF, 0x80), rgba(0, 0, 0, 0xFF)}},
      {"2-bit palette, tRNS for its first two entries",
       PngOf(4, 1, 2, 3, {0, 1, 2, 3}, false, {10, 20, 30, 40, 50, 60, 70, 80, 90, 255, 0, 128},
             {0, 99}),
       4, 1, {rgba(10, 20, 30, 0), rgba(40, 50, 60, 99), rgba(70, 80, 90), rgba(255, 0, 128)}},
      {"8-bit grey with alpha", PngOf(2, 1, 8, 4, {0x40, 0x80, 0xFF, 0}), 2, 1,
       {rgba(0x40, 0x40, 0x40, 0x80), rgba(255, 255, 255, 0)}},
      {"1-bit grey, a row of 9 in two bytes", PngOf(9, 1, 1, 0, {0, 1, 1, 0, 0, 0, 0, 1, 1}), 9, 1,
       {rgba(0, 0, 0), rgba(255, 255, 255), rgba(255, 255, 255), rgba(0, 0, 0), rgba(0, 0, 0),
        rgba(0, 0, 0), rgba(0, 0, 0), rgba(255, 255, 255), rgba(255, 255, 255)}},
      {"interlaced RGB, every pass", PngOf(9, 9, 8, 2, nineSamples, true), 9, 9, nine},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    PicImage img;
    ASSERT_EQ(PngDecode(r.file.data(), r.file.size(), img), "");
    EXPECT_EQ(img.w, r.w);
    EXPECT_EQ(img.h, r.h);
    EXPECT_EQ(img.px, r.px);
  }
}

TEST(PngDecode, HostileFilesGiveAReasonAndLeaveTheImage) {
  const std::vector<uint8_t> good = PngRgbOf(4, 4, std::vector<uint32_t>(16, 0x336699));
  const size_t idat = 8 + 25;  // signature, IHDR: the IDAT chunk's length word
  const struct {
    const char* name;
    std::vector<uint8_t> file;
    const char* reason;  // the exact reason where it is the program's own; else any
    // clang-format off
  } rows[] = {
      {"a header of 65535x65535", withSize(good, 65535, 65535),
       "too large: 65535x65535 is more than 2^26 pixels"},
      {"a header just over the budget", withSize(good, 8193, 8192),
       "too large: 8193x8192 is more than 2^26 pixels"},
      {"truncated in its pixels", std::vector<uint8_t>(good.begin(), good.begin() + idat + 12),
       nullptr},
      {"truncated in its header", std::vector<uint8_t>(good.begin(), good.begin() + 20), nullptr},
      {"a bad CRC in IHDR", flipped(good, 29), nullptr},
      {"a bad CRC in IDAT", flipped(good, good.size() - 13), nullptr},
      {"a width of 0", withSize(good, 0, 4), nullptr},
      {"not a PNG", std::vector<uint8_t>(64, 'P'), nullptr},
      {"empty", {}, nullptr},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    PicImage img;
    img.w = 1, img.h = 1, img.px = {0x12345678};
    std::string why = PngDecode(r.file.data(), r.file.size(), img);
    if (r.reason)
      EXPECT_EQ(why, r.reason);
    else
      EXPECT_NE(why, "");
    EXPECT_EQ(img.w, 1);
    EXPECT_EQ(img.px, std::vector<uint32_t>{0x12345678});
  }
}

// What the paint program's PNG save writes: 8-bit RGB whatever the colours, the fourth
// byte of each pixel and the padding of the rows dropped. Read back by the decoder,
// whose every colour type is checked above against files made here.
TEST(PngRgb, WritesEightBitRgbOfThePixelsAlone) {
  const int w = 3, h = 2;
  const size_t pitch = 16;
  std::vector<uint8_t> px(pitch * h, 0xEE);
  std::vector<uint32_t> want;
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      uint8_t* p = &px[y * pitch + x * 4];
      p[0] = uint8_t(10 * x), p[1] = uint8_t(100 + y), p[2] = uint8_t(200 + x + y), p[3] = 7;
      want.push_back(rgba(p[0], p[1], p[2]));
    }
  std::vector<uint8_t> out;
  ASSERT_EQ(PngRgb(px.data(), w, h, pitch, out), "");
  ASSERT_GT(out.size(), 33u);
  EXPECT_EQ(out[24], 8) << "bit depth";
  EXPECT_EQ(out[25], 2) << "colour type RGB";
  EXPECT_EQ(out[28], 0) << "not interlaced";
  PicImage img;
  ASSERT_EQ(PngDecode(out.data(), out.size(), img), "");
  EXPECT_EQ(img.w, w);
  EXPECT_EQ(img.h, h);
  EXPECT_EQ(img.px, want);
}
