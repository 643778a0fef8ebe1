// DEGAS files written by netpbm (ppmtopi1, pbmtopi3), padded to 32,066 bytes as DEGAS
// Elite writes them, must decode to the pixel values that netpbm's own readers
// (pi1toppm, pi3topbm) find in the same body; the BMP files the program and the
// converter write must read back in netpbm's bmptopnm with their pixels.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "picfiles/pic_core.h"
#include "platform/bmp_core.h"
#include "tests/picfiles/pic_expect.h"
#include "tests/picfiles/picmake.h"

static bool haveTool(const char* name) {
  return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

// A netpbm image: width, height, maxval and the raster after the header.
struct Pnm {
  int w = 0, h = 0, maxval = 1;
  std::vector<uint8_t> raster;
};

// Parses the binary P4 and P6 forms netpbm writes (no comments).
static Pnm parsePnm(const std::vector<uint8_t>& f) {
  Pnm p;
  std::string text(f.begin(), f.begin() + std::min<size_t>(f.size(), 64));
  int fields = text.compare(0, 2, "P4") == 0 ? 2 : 3;
  size_t pos = 2;
  int* dest[3] = {&p.w, &p.h, &p.maxval};
  for (int i = 0; i < fields; i++) {
    while (pos < text.size() && isspace(uint8_t(text[pos]))) pos++;
    size_t end = pos;
    while (end < text.size() && isdigit(uint8_t(text[end]))) end++;
    *dest[i] = std::stoi(text.substr(pos, end - pos));
    pos = end;
  }
  p.raster.assign(f.begin() + pos + 1, f.end());  // one whitespace byte ends the header
  return p;
}

class Netpbm : public testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tarksen-netpbm-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
  }
  void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }
  std::string path(const char* name) const { return dir + "/" + name; }
  // Runs a netpbm tool from input to output in the scratch directory.
  void run(const char* tool, const char* in, const char* out) {
    std::string cmd = std::string(tool) + " '" + path(in) + "' > '" + path(out) + "' 2>/dev/null";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
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
  std::string dir;
};

TEST_F(Netpbm, Pi1DecodesAsPi1toppmReadsIt) {
  if (!haveTool("ppmtopi1") || !haveTool("pi1toppm")) GTEST_SKIP() << "netpbm is not installed";
  // 320x200 in 16 colours of the ST's eight levels a channel, in diagonal stripes.
  std::vector<uint8_t> ppm;
  std::string head = "P6\n320 200\n7\n";
  ppm.assign(head.begin(), head.end());
  for (int y = 0; y < 200; y++)
    for (int x = 0; x < 320; x++) {
      int c = (x * 5 + y * 3 + x / 16) % 16;
      ppm.insert(ppm.end(), {uint8_t(c % 8), uint8_t(c / 8 * 7), uint8_t(7 - c % 8)});
    }
  ASSERT_TRUE(WriteBytes(path("in.ppm"), ppm));
  run("ppmtopi1", "in.ppm", "made.pi1");
  std::vector<uint8_t> pi1 = ReadBytes(path("made.pi1"));
  ASSERT_EQ(pi1.size(), 32034u);

  // Palette word v: red v % 8, green v / 8, blue 0, so each colour pi1toppm writes
  // names its value.
  for (int v = 0; v < 16; v++) {
    pi1[2 + 2 * v] = uint8_t(v % 8);
    pi1[3 + 2 * v] = uint8_t(v / 8 << 4);
  }
  ASSERT_TRUE(WriteBytes(path("ours.pi1"), pi1));
  run("pi1toppm", "ours.pi1", "out.ppm");
  Pnm out = parsePnm(ReadBytes(path("out.ppm")));
  ASSERT_EQ(out.w, 320);
  ASSERT_EQ(out.h, 200);
  ASSERT_EQ(out.maxval, 7);
  ASSERT_EQ(out.raster.size(), 320u * 200 * 3);
  std::vector<uint8_t> values(320 * 200);
  std::vector<int> seen(16);
  for (size_t i = 0; i < values.size(); i++) {
    values[i] = uint8_t(out.raster[3 * i] + 8 * out.raster[3 * i + 1]);
    seen[values[i] & 15]++;
  }
  for (int v = 0; v < 16; v++) EXPECT_GT(seen[v], 0) << "value " << v << " never occurs";
  expectValues(pi1, 4, values, 320, 200);
}

TEST_F(Netpbm, Pi3DecodesAsPi3topbmReadsIt) {
  if (!haveTool("pbmtopi3") || !haveTool("pi3topbm")) GTEST_SKIP() << "netpbm is not installed";
  std::vector<uint8_t> pbm;
  std::string head = "P4\n640 400\n";
  pbm.assign(head.begin(), head.end());
  for (int y = 0; y < 400; y++)
    for (int b = 0; b < 80; b++) pbm.push_back(uint8_t((b * 37 + y * 11) ^ (y & 8 ? 0xF0 : 0x0F)));
  ASSERT_TRUE(WriteBytes(path("in.pbm"), pbm));
  run("pbmtopi3", "in.pbm", "made.pi3");
  std::vector<uint8_t> pi3 = ReadBytes(path("made.pi3"));
  ASSERT_EQ(pi3.size(), 32034u);

  // Value 0 white and 1 black: pi3topbm then writes each pixel's value as its bit.
  pi3[2] = 0x07, pi3[3] = 0x77, pi3[4] = 0x00, pi3[5] = 0x00;
  ASSERT_TRUE(WriteBytes(path("ours.pi3"), pi3));
  run("pi3topbm", "ours.pi3", "out.pbm");
  Pnm out = parsePnm(ReadBytes(path("out.pbm")));
  ASSERT_EQ(out.w, 640);
  ASSERT_EQ(out.h, 400);
  ASSERT_EQ(out.raster.size(), 80u * 400);
  std::vector<uint8_t> values(640 * 400);
  for (size_t i = 0; i < values.size(); i++) values[i] = out.raster[i / 8] >> (7 - i % 8) & 1;
  expectValues(pi3, 1, values, 640, 400);
}

TEST_F(Netpbm, BmpFilesReadBackInBmptopnm) {
  if (!haveTool("bmptopnm")) GTEST_SKIP() << "netpbm is not installed";
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
        for (int b = 0; b < 4; b++) px[size_t(y) * c.pitch + 4 * x + b] = uint8_t(y * 64 + x * 4 + b);
    std::vector<uint8_t> bmp(BmpRoom(c.w, c.h));
    BmpWrite(px.data(), c.w, c.h, c.pitch, bmp.data());
    ASSERT_TRUE(WriteBytes(path("x.bmp"), bmp));
    run("bmptopnm", "x.bmp", "x.ppm");
    Pnm out = parsePnm(ReadBytes(path("x.ppm")));
    ASSERT_EQ(out.w, c.w);
    ASSERT_EQ(out.h, c.h);
    ASSERT_EQ(out.maxval, 255);
    ASSERT_EQ(out.raster.size(), size_t(c.w) * c.h * 3);
    for (int y = 0; y < c.h; y++)
      for (int x = 0; x < c.w; x++)
        for (int b = 0; b < 3; b++)
          EXPECT_EQ(out.raster[(size_t(y) * c.w + x) * 3 + b], uint8_t(y * 64 + x * 4 + b))
              << "(" << x << ", " << y << ") channel " << b;
  }
}
