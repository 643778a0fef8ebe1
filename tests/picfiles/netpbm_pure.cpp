// DEGAS files written by netpbm (ppmtopi1, pbmtopi3), padded to 32,066 bytes as DEGAS
// Elite writes them, must decode to the pixel values that netpbm's own readers
// (pi1toppm, pi3topbm) find in the same body; the BMP files the program and the
// converter write must read back in netpbm's bmptopnm with their pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "picfiles/pic_core.h"
#include "platform/bmp_core.h"
#include "tests/picfiles/pic_expect.h"
#include "tests/picfiles/picmake.h"
#include "tests/support/pnm.h"
#include "tests/support/run.h"
#include "tests/support/scratch.h"

class Netpbm : public testing::Test {
 protected:
  // Runs a netpbm tool from input to output in the scratch directory.
  void run(const char* tool, const char* in, const char* out) {
    Ran r = Shell(std::string(tool) + " '" + in + "' > '" + out + "'", dir.path);
    ASSERT_EQ(r.code, 0) << tool << ": " << r.err;
  }
  // Checks the decoded image against the values netpbm read, through the table.
  void expectValues(const std::vector<uint8_t>& degas, int planes,
                    const std::vector<uint8_t>& values, int w, int h) {
    std::vector<uint8_t> elite = degas;
    elite.resize(32066, 0);
    PicImage img;
    ASSERT_TRUE(PicLoad(elite.data(), elite.size(), planes, TestPalette, img));
    ASSERT_EQ(img.w, w);
    ASSERT_EQ(img.h, h);
    EXPECT_TRUE(SamePixels(img.px, ThroughTable(values, planes), w));
  }
  Scratch dir{"netpbm"};
};

TEST_F(Netpbm, Pi1DecodesAsPi1toppmReadsIt) {
  if (!HaveTool("ppmtopi1") || !HaveTool("pi1toppm")) GTEST_SKIP() << "netpbm is not installed";
  // 320x200 in 16 colours of the ST's eight levels a channel, in diagonal stripes.
  std::vector<uint32_t> levels;
  for (int y = 0; y < 200; y++)
    for (int x = 0; x < 320; x++) {
      uint32_t c = (x * 5 + y * 3 + x / 16) % 16;
      levels.push_back(c % 8 | c / 8 * 7 << 8 | (7 - c % 8) << 16);
    }
  dir.write("in.ppm", Ppm(320, 200, levels, Layout::Abgr, 7));
  run("ppmtopi1", "in.ppm", "made.pi1");
  std::vector<uint8_t> pi1 = dir.read("made.pi1");
  ASSERT_EQ(pi1.size(), 32034u);

  // Palette word v: red v % 8, green v / 8, blue 0, so each colour pi1toppm writes
  // names its value.
  for (int v = 0; v < 16; v++) {
    pi1[2 + 2 * v] = uint8_t(v % 8);
    pi1[3 + 2 * v] = uint8_t(v / 8 << 4);
  }
  dir.write("ours.pi1", pi1);
  run("pi1toppm", "ours.pi1", "out.ppm");
  Pnm out = ParsePnm(dir.read("out.ppm"));
  ASSERT_EQ(out.w, 320);
  ASSERT_EQ(out.h, 200);
  ASSERT_EQ(out.maxval, 7);
  std::vector<uint8_t> values(320 * 200);
  std::vector<int> seen(16);
  for (size_t i = 0; i < values.size(); i++) {
    values[i] = uint8_t(Level(out.px[i] & 0xFF, 7) + 8 * Level(out.px[i] >> 8 & 0xFF, 7));
    seen[values[i] & 15]++;
  }
  for (int v = 0; v < 16; v++) EXPECT_GT(seen[v], 0) << "value " << v << " never occurs";
  expectValues(pi1, 4, values, 320, 200);
}

TEST_F(Netpbm, Pi3DecodesAsPi3topbmReadsIt) {
  if (!HaveTool("pbmtopi3") || !HaveTool("pi3topbm")) GTEST_SKIP() << "netpbm is not installed";
  std::vector<uint8_t> bits;
  for (int y = 0; y < 400; y++)
    for (int x = 0; x < 640; x++)
      bits.push_back(uint8_t((x / 8 * 37 + y * 11) ^ (y & 8 ? 0xF0 : 0x0F)) >> (7 - x % 8) & 1);
  dir.write("in.pbm", Pbm(640, 400, bits));
  run("pbmtopi3", "in.pbm", "made.pi3");
  std::vector<uint8_t> pi3 = dir.read("made.pi3");
  ASSERT_EQ(pi3.size(), 32034u);

  // Value 0 white and 1 black: pi3topbm then writes each pixel's value as its bit.
  pi3[2] = 0x07, pi3[3] = 0x77, pi3[4] = 0x00, pi3[5] = 0x00;
  dir.write("ours.pi3", pi3);
  run("pi3topbm", "ours.pi3", "out.pbm");
  Pnm out = ParsePnm(dir.read("out.pbm"));
  ASSERT_EQ(out.w, 640);
  ASSERT_EQ(out.h, 400);
  std::vector<uint8_t> values(640 * 400);
  for (size_t i = 0; i < values.size(); i++) values[i] = out.px[i] == 0;  // black is 1
  expectValues(pi3, 1, values, 640, 400);
}

TEST_F(Netpbm, BmpFilesReadBackInBmptopnm) {
  if (!HaveTool("bmptopnm")) GTEST_SKIP() << "netpbm is not installed";
  // Widths of every padding (0 to 3 bytes a row), and source rows longer than the picture.
  const struct {
    int w, h;
    size_t pitch;
  } cases[] = {{1, 1, 4}, {2, 2, 8}, {3, 5, 12}, {4, 1, 16}, {37, 5, 148}, {5, 3, 28}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << ", rows " << c.pitch << " bytes apart");
    // Bytes r, g, b and a fourth to be dropped; every pixel and channel its own value.
    std::vector<uint8_t> px(c.pitch * size_t(c.h), 0xEE);
    for (int y = 0; y < c.h; y++)
      for (int x = 0; x < c.w; x++)
        for (int b = 0; b < 4; b++)
          px[size_t(y) * c.pitch + 4 * x + b] = uint8_t(y * 64 + x * 4 + b);
    std::vector<uint8_t> bmp(BmpRoom(c.w, c.h));
    BmpWrite(px.data(), c.w, c.h, c.pitch, bmp.data());
    dir.write("x.bmp", bmp);
    run("bmptopnm", "x.bmp", "x.ppm");
    Pnm out = ParsePnm(dir.read("x.ppm"));
    ASSERT_EQ(out.w, c.w);
    ASSERT_EQ(out.h, c.h);
    ASSERT_EQ(out.maxval, 255);
    for (int y = 0; y < c.h; y++)
      for (int x = 0; x < c.w; x++)
        for (int b = 0; b < 3; b++)
          EXPECT_EQ(out.px[size_t(y) * c.w + x] >> 8 * b & 0xFF,
                    uint32_t(uint8_t(y * 64 + x * 4 + b)))
              << "(" << x << ", " << y << ") channel " << b;
  }
}
