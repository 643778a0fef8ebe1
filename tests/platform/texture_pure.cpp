#include <gtest/gtest.h>

#include <vector>

#include "platform/texture_core.h"

TEST(RGBA, PacksRedIntoTheLowByte) {
  struct {
    uint8_t r, g, b, a;
    uint32_t want;
    // clang-format off
  } cases[] = {
      {255, 0, 0, 255, 0xFF0000FF},
      {0x12, 0x34, 0x56, 0x78, 0x78563412},
      {255, 255, 255, 127, 0x7FFFFFFF},  // palette entry 0
      {0, 0, 0, 0, 0},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.want);
    EXPECT_EQ(RGBA(c.r, c.g, c.b, c.a), c.want);
  }
  uint32_t red = RGBA(255, 0, 0, 255);
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&red);
  EXPECT_EQ(bytes[0], 255) << "red first in memory";
  EXPECT_EQ(bytes[3], 255) << "alpha last";
}

TEST(InvertPixels, ComplementsEveryBitRowByRowAtThePitch) {
  const uint32_t src[6] = {0xFFFFFFFF, 0x00000000, 0x7F0000FF, 0x12345678, 0xFF000000, 0x00FFFFFF};
  // Two rows of three pixels into rows of five, the spare words left alone.
  std::vector<uint32_t> dst(10, 0xDEADBEEF);
  InvertPixels(src, 3, 2, dst.data(), 5 * 4);
  const uint32_t want[10] = {0x00000000, 0xFFFFFFFF, 0x80FFFF00, 0xDEADBEEF, 0xDEADBEEF,
                             0xEDCBA987, 0x00FFFFFF, 0xFF000000, 0xDEADBEEF, 0xDEADBEEF};
  for (int i = 0; i < 10; i++) EXPECT_EQ(dst[i], want[i]) << "word " << i;
}

TEST(PictureFits, AtMostTwoToThe26Pixels) {
  struct {
    uint64_t w, h;
    bool fits;
    // clang-format off
  } cases[] = {
      {8192, 8192, true},        {8192, 8193, false},
      {1, 1u << 26, true},       {(1u << 26) + 1, 1, false},
      {640, 400, true},          {0, 1000000000, true},
      {1000000000, 0, true},     {0xFFFFFFFF, 0xFFFFFFFF, false},  // no overflow
      {16384, 16384, false},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
    EXPECT_EQ(PictureFits(c.w, c.h), c.fits);
  }
  char why[80];
  PictureTooLarge(16384, 16384, why, sizeof why);
  EXPECT_STREQ(why, "too large: 16384x16384 is more than 2^26 pixels");
}
