#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "picfiles/pic_core.h"
#include "tests/picfiles/pic_expect.h"
#include "tests/picfiles/picmake.h"

// Expected pixels of a row as letters: w white, k black, r red, g green, y yellow,
// d dark grey.
static std::vector<uint32_t> row(const std::string& letters) {
  static const std::map<char, uint32_t> c = {{'w', White}, {'k', Black},  {'r', Red},
                                             {'g', Green}, {'y', Yellow}, {'d', DarkGrey}};
  std::vector<uint32_t> out;
  for (char ch : letters) out.push_back(c.at(ch));
  return out;
}

static std::vector<uint32_t> rowOf(const PicImage& img, int y) {
  return std::vector<uint32_t>(img.px.begin() + size_t(y) * img.w,
                               img.px.begin() + size_t(y + 1) * img.w);
}

struct BitCase {
  const char* name;
  std::vector<uint8_t> file;
  std::vector<std::string> rows;
};

// Hand-made GBF blocks: word bytes big-endian, bit 15 the leftmost pixel, plane p worth 2^p.
TEST(PicDecode, ReadsWordsBigEndianLeftmostBitFirst) {
  // clang-format off
  const BitCase cases[] = {
      {"one plane, first and last pixel of a group", Gbf(16, 0, 1, {0x80, 0x01}),
       {"kwwwwwwwwwwwwwwk"}},
      {"two planes add up: 1 + 2 is black, 2 alone green", Gbf(16, 0, 2, {0x80, 0x00, 0xC0, 0x00}),
       {"kgwwwwwwwwwwwwww"}},
      {"plane 3 alone is value 8, dark grey", Gbf(16, 0, 4, {0, 0, 0, 0, 0, 0, 0x00, 0x80}),
       {"wwwwwwwwdwwwwwww"}},
      {"second group, second row", Gbf(32, 1, 1, {0, 0, 0x00, 0x01, 0x80, 0, 0, 0}),
       {"wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwk", "kwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww"}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PicImage img;
    ASSERT_TRUE(PicLoad(c.file.data(), c.file.size(), 0, TestPalette, img));
    ASSERT_EQ(img.h, int(c.rows.size()));
    for (int y = 0; y < img.h; y++) EXPECT_EQ(rowOf(img, y), row(c.rows[y])) << "row " << y;
  }
}

TEST(PicDecode, ShowsEachPixelValueInItsPaletteColour) {
  for (int planes : {4, 3, 2, 1}) {
    SCOPED_TRACE(testing::Message() << planes << " planes");
    const std::vector<uint32_t>& colours = ShownColours(planes);
    // One 16-pixel block: pixel i has the value i, repeated past 2^planes.
    std::vector<uint8_t> values(16);
    for (int i = 0; i < 16; i++) values[i] = uint8_t(i % colours.size());
    std::vector<uint8_t> file = Gbf(16, 0, uint16_t(planes), PlanesOf(values, 16, 1, planes));
    PicImage img;
    ASSERT_TRUE(PicLoad(file.data(), file.size(), 0, TestPalette, img));
    for (int i = 0; i < 16; i++)
      EXPECT_EQ(img.px[i], colours[values[i]]) << "value " << int(values[i]);
  }
}

TEST(PicLoad, DecodesEveryScreenLayoutAndStretchesIt) {
  for (const auto& c : ScreenLayouts) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> values = Pattern(c.w, c.h, c.planes);
    std::vector<uint8_t> body = PlanesOf(values, c.w, c.h, c.planes);
    ASSERT_EQ(body.size(), 32000u);
    std::vector<uint8_t> file = c.degas ? Degas(body) : body;
    ASSERT_EQ(file.size(), c.degas ? 32066u : 32000u);

    PicImage img;
    ASSERT_TRUE(PicLoad(file.data(), file.size(), c.planes, TestPalette, img));
    ASSERT_EQ(img.w, c.w);
    ASSERT_EQ(img.h, c.h);
    EXPECT_TRUE(SamePixels(img.px, ThroughTable(values, c.planes), c.w));

    std::vector<uint32_t> big;
    PicStretch(img, big);
    EXPECT_TRUE(SamePixels(big, Enlarged(img.px, c.w, c.sx, c.sy), 640)) << "stretched";
  }
}

struct FormatCase {
  const char* name;
  std::vector<uint8_t> file;
  int planes;
  int w, h;  // 0 when the file is rejected
};

static std::vector<uint8_t> bytes(size_t n) { return std::vector<uint8_t>(n, 0x55); }

// Detection and the whole load agree: an accepted file gives an image of its size,
// a rejected one leaves the caller's image as it was.
TEST(PicLoad, AcceptsOnlyTheExactLengthsAndHeaders) {
  std::vector<uint8_t> gbf32006 = Gbf(640, 399, 1, bytes(32000));
  std::vector<uint8_t> gbf32007 = gbf32006;
  gbf32007.push_back(0);
  // clang-format off
  const FormatCase cases[] = {
      {"DEGAS of 32,066 bytes", bytes(32066), 4, 320, 200},
      {"body of 32,000 bytes", bytes(32000), 2, 640, 200},
      {"DEGAS of 32,034 bytes, as DEGAS writes it", bytes(32034), 4, 320, 200},
      {"DEGAS of 32,034 bytes as a PI3", bytes(32034), 1, 640, 400},
      {"one byte short of that", bytes(32033), 4, 0, 0},
      {"one byte over that", bytes(32035), 4, 0, 0},
      {"one byte short of DEGAS", bytes(32065), 1, 0, 0},
      {"one byte over DEGAS", bytes(32067), 1, 0, 0},
      {"one byte over a body", bytes(32001), 1, 0, 0},
      {"empty, as a picture", {}, 1, 0, 0},
      {"empty, as a block", {}, 0, 0, 0},
      {"GBF of its header alone", Gbf(16, 0, 1, {}), 0, 0, 0},
      {"GBF shorter than its header", {0, 16, 0}, 0, 0, 0},
      {"GBF W = 20, one row, one plane: 10 bytes, 32 wide", Gbf(20, 0, 1, bytes(4)), 0, 32, 1},
      {"GBF of 32,006 bytes", gbf32006, 0, 640, 400},
      {"GBF of 32,007 bytes", gbf32007, 0, 0, 0},
      {"GBF of 3 planes", Gbf(16, 1, 3, bytes(12)), 0, 16, 2},
      {"GBF of 0 planes", Gbf(16, 0, 0, bytes(2)), 0, 0, 0},
      {"GBF of 5 planes", Gbf(16, 0, 5, bytes(10)), 0, 0, 0},
      {"GBF that claims a row more than it holds", Gbf(16, 1, 1, bytes(2)), 0, 0, 0},
      {"GBF that claims a wider row", Gbf(17, 0, 1, bytes(2)), 0, 0, 0},
      {"GBF of width 0", Gbf(0, 0, 1, bytes(2)), 0, 0, 0},
      {"GBF of the largest width", Gbf(65535, 0, 1, bytes(8192)), 0, 65536, 1},
      {"32,000 bytes with plane count 3", bytes(32000), 3, 0, 0},
      {"32,000 bytes with plane count 5", bytes(32000), 5, 0, 0},
      {"32,000 bytes with plane count -1", bytes(32000), -1, 0, 0},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PicImage img;
    img.w = img.h = 7;
    img.px.assign(49, 0xDEADBEEF);
    bool ok = PicLoad(c.file.data(), c.file.size(), c.planes, TestPalette, img);
    EXPECT_EQ(ok, c.w != 0);
    if (ok) {
      EXPECT_EQ(img.w, c.w);
      EXPECT_EQ(img.h, c.h);
      EXPECT_EQ(img.px.size(), size_t(c.w) * c.h);
    } else {
      EXPECT_EQ(img.w, 7);
      EXPECT_EQ(img.px, std::vector<uint32_t>(49, 0xDEADBEEF));
    }
  }
}

TEST(PicDecode, RefusesALayoutThatRunsPastTheFile) {
  std::vector<uint8_t> file = bytes(100);
  PicLayout lay;
  lay.planes = 1;
  lay.lineBytes = 10;
  lay.rows = 10;
  lay.offset = 1;  // 100 body bytes from offset 1: one too many
  PicImage img;
  EXPECT_FALSE(PicDecode(file.data(), file.size(), lay, TestPalette, img));
  lay.offset = 0;
  EXPECT_TRUE(PicDecode(file.data(), file.size(), lay, TestPalette, img));
  lay.lineBytes = 0x40000000;  // a size that overflows 32 bits
  lay.rows = 4;
  EXPECT_FALSE(PicDecode(file.data(), file.size(), lay, TestPalette, img));
  EXPECT_EQ(img.w, 80) << "untouched by the refusals";
}

// A 640x400 picture as bytes r, g, b, a.
struct Picture {
  std::vector<uint8_t> rgba = std::vector<uint8_t>(640 * 400 * 4, 255);
  void set(int x, int y, uint32_t c) {
    for (int i = 0; i < 4; i++) rgba[(size_t(y) * 640 + x) * 4 + i] = uint8_t(c >> 8 * i);
  }
};

TEST(DoodleBody, OnlyPureWhiteGivesBitZero) {
  struct {
    const char* name;
    uint32_t colour;
    int bit;
    // clang-format off
  } cases[] = {
      {"white of the palette", White, 0},
      {"white with alpha 0", 0x00FFFFFF, 0},
      {"white but one step of blue", PalRgb(255, 255, 254), 1},
      {"yellow", Yellow, 1},
      {"light grey", LightGrey, 1},
      {"light yellow", LightYellow, 1},
      {"black", Black, 1},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Picture pic;
    pic.set(9, 1, c.colour);  // row 1 starts at byte 80; pixel 9 is bit 6 of byte 81
    std::vector<uint8_t> body(32001, 0xEE);
    DoodleBody(pic.rgba.data(), body.data());
    EXPECT_EQ(body[81], c.bit << 6);
    EXPECT_EQ(body[32000], 0xEE) << "writes exactly 32,000 bytes";
    body[81] = 0;
    body.pop_back();
    EXPECT_EQ(body, std::vector<uint8_t>(32000, 0)) << "the rest is white";
  }
}

TEST(DoodleBody, ReadsBackAsPicInBlackAndWhite) {
  // A yellow line on white, and a stripe of every palette colour.
  Picture pic;
  for (int x = 10; x < 600; x++) pic.set(x, 200, Yellow);
  for (int x = 0; x < 640; x++)
    for (int y = 300; y < 310; y++) pic.set(x, y, TestPalette[x % 16]);
  std::vector<uint8_t> body(32000);
  DoodleBody(pic.rgba.data(), body.data());

  PicImage img;
  ASSERT_TRUE(PicLoad(body.data(), body.size(), 1, TestPalette, img));
  ASSERT_EQ(img.w, 640);
  ASSERT_EQ(img.h, 400);
  std::vector<uint32_t> expected(640 * 400);
  for (int y = 0; y < 400; y++)
    for (int x = 0; x < 640; x++) {
      bool white = (y != 200 || x < 10 || x >= 600) && (y < 300 || y >= 310 || x % 16 == 0);
      expected[size_t(y) * 640 + x] = white ? White : Black;
    }
  EXPECT_TRUE(SamePixels(img.px, expected, 640));
}
