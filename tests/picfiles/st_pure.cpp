// The converter's Atari codecs: detection, decoding with its errors, colours, writing.
// Expected values are worked by hand from the formats' descriptions; whole pictures
// are checked against netpbm in tests/convert.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "picfiles/pic_core.h"
#include "picfiles/st_core.h"
#include "tests/picfiles/pic_expect.h"
#include "tests/picfiles/picmake.h"
#include "tests/picfiles/stmake.h"

static constexpr uint32_t Opaque(uint8_t r, uint8_t g, uint8_t b) {
  return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16 | 0xFF000000u;
}

static StPicture decode(const std::vector<uint8_t>& file, const std::string& ext) {
  StPicture pic;
  StKind kind = StDetect(file.data(), file.size(), ext);
  std::string why = StDecode(file.data(), file.size(), kind, ext, pic);
  EXPECT_EQ(why, "");
  return pic;
}

static std::vector<uint32_t> colours(const StPicture& pic) {
  PicImage img;
  StColours(pic, TestPalette, img);
  return img.px;
}

struct WidenCase {
  uint16_t word;
  bool ste;
  uint32_t rgb;
};

TEST(StWiden, RepeatsTheBitsOfThreeOrFourBitLevels) {
  // clang-format off
  const WidenCase cases[] = {
      {0x0777, false, Opaque(255, 255, 255)}, {0x0000, false, Opaque(0, 0, 0)},
      {0x0123, false, Opaque(36, 73, 109)},   {0x0456, false, Opaque(146, 182, 219)},
      {0x0F0F, false, Opaque(255, 0, 255)},   // the ST ignores bit 3
      {0x0F00, true, Opaque(255, 0, 0)},      // nibble F: level 15
      {0x0800, true, Opaque(17, 0, 0)},       // bit 3 alone: level 1
      {0x0100, true, Opaque(34, 0, 0)},       // level 2
      {0x0777, true, Opaque(238, 238, 238)},  // level 14
      {0x0EEE, true, Opaque(221, 221, 221)},  // level 13
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.word << (c.ste ? " STE" : " ST"));
    EXPECT_EQ(StWiden(c.word, c.ste), c.rgb);
  }
}

TEST(StColours, ReadsTheWholePaletteAsSteWhenAnyEntryUsesTheFourthBit) {
  std::vector<uint8_t> values(320 * 200, 0);
  values[1] = 1;
  std::vector<uint8_t> body = PlanesOf(values, 320, 200, 4);
  // Word 0 is 0x0777: white on the ST, level 14 (below white) once the palette is STE.
  const struct {
    const char* name;
    uint16_t word1;
    uint32_t colour0, colour1;
    // clang-format off
  } cases[] = {
      {"every word an ST level", 0x0700, Opaque(255, 255, 255), Opaque(255, 0, 0)},
      {"every channel of a word with the fourth bit", 0x0FFF, Opaque(238, 238, 238),
       Opaque(255, 255, 255)},
      {"only a red level with the fourth bit", 0x0800, Opaque(238, 238, 238), Opaque(17, 0, 0)},
      {"only a green level with the fourth bit", 0x0080, Opaque(238, 238, 238), Opaque(0, 17, 0)},
      {"only a blue level with the fourth bit", 0x0008, Opaque(238, 238, 238), Opaque(0, 0, 17)},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint32_t> px = colours(decode(DegasOf(0, {0x0777, c.word1}, body), "PI1"));
    EXPECT_EQ(px[0], c.colour0);
    EXPECT_EQ(px[1], c.colour1);
  }
}

TEST(StColours, MonochromeFollowsBitZeroOfTheFirstWord) {
  const struct {
    uint16_t word0;
    bool zeroIsWhite;
  } cases[] = {{0x0777, true},  {0x0001, true},  {0x0FFF, true},
               {0x0776, false}, {0x0000, false}, {0x0FFE, false}};
  std::vector<uint8_t> values(640 * 400, 0);
  values[5] = 1;
  std::vector<uint8_t> body = PlanesOf(values, 640, 400, 1);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "word 0 = " << std::hex << c.word0);
    std::vector<uint32_t> px = colours(decode(DegasOf(2, {c.word0, 0x0123}, body), "PI3"));
    const uint32_t white = Opaque(255, 255, 255), black = Opaque(0, 0, 0);
    EXPECT_EQ(px[0], c.zeroIsWhite ? white : black);
    EXPECT_EQ(px[5], c.zeroIsWhite ? black : white);
  }
}

TEST(StColours, FilesWithoutPaletteShowThePaintProgramsColours) {
  std::vector<uint8_t> values = Pattern(320, 200, 4);
  StPicture pic = decode(PlanesOf(values, 320, 200, 4), "PI1");
  std::vector<uint32_t> px = colours(pic), expected = ThroughTable(values, 4);
  for (uint32_t& c : expected) c |= 0xFF000000u;
  EXPECT_TRUE(SamePixels(px, expected, 320));
}

// Line y's palette word i is ((i / 8) << 4 | i % 8), so green and blue of a pixel tell
// which of the line's 48 words coloured it.
static int wordIndex(uint32_t rgb) {
  int g = 0, b = 0;
  for (int l = 0; l < 8; l++) {
    if (Level3[l] == (rgb >> 8 & 0xFF)) g = l;
    if (Level3[l] == (rgb >> 16 & 0xFF)) b = l;
  }
  return g * 8 + b;
}

TEST(StColours, SpectrumSwitchesEachValuesPaletteAtItsOwnColumn) {
  // Value c at column x, and the palette word that colours it, worked out from the
  // format's rule: value c takes set 1 from column 10c + 1 (even c) or 10c - 5 (odd c),
  // set 2 from 160 columns later.
  const struct {
    int x, c, index;
  } cases[] = {{0, 0, 0},     {1, 0, 16},    {160, 0, 16},  {161, 0, 32}, {4, 1, 1},
               {5, 1, 17},    {164, 1, 17},  {165, 1, 33},  {20, 2, 2},   {21, 2, 18},
               {144, 15, 15}, {145, 15, 31}, {305, 15, 47}, {319, 15, 47}};
  std::vector<uint16_t> words;
  for (int line = 1; line < 200; line++)
    for (int i = 0; i < 48; i++) words.push_back(uint16_t((i / 8) << 4 | i % 8));
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "x " << c.x << ", value " << c.c);
    std::vector<uint8_t> values(320 * 200, 0);
    for (int y = 0; y < 200; y++) values[size_t(y) * 320 + c.x] = uint8_t(c.c);
    std::vector<uint32_t> px = colours(decode(SpuOf(PlanesOf(values, 320, 200, 4), words), "SPU"));
    EXPECT_EQ(px[c.x], Opaque(0, 0, 0)) << "the first line is black";
    EXPECT_EQ(wordIndex(px[320 + c.x]), c.index);
    EXPECT_EQ(wordIndex(px[199 * 320 + c.x]), c.index);
  }
}

struct DetectCase {
  const char* name;
  std::vector<uint8_t> file;
  const char* ext;
  StKind kind;
};

static std::vector<uint8_t> sized(size_t n, std::vector<uint8_t> head) {
  head.resize(n, 0);
  return head;
}

TEST(StDetect, TellsTheKindFromContentThenName) {
  // clang-format off
  const DetectCase cases[] = {
      {"PNG signature", sized(100, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}), "PI1", StKind::Png},
      {"BMP header", sized(100, {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40}), "", StKind::Bmp},
      {"'BM' without a BMP header size", sized(PicBodyBytes, {'B', 'M'}), "PI1", StKind::Body},
      {"GBF by name", sized(PicBodyBytes, {0x80, 0}), "GBF", StKind::Gbf},
      {"SPC header with lengths in the file", sized(40, {'S', 'P', 0, 0, 0, 0, 0, 10, 0, 0, 0, 8}), "",
       StKind::Spc},
      {"'SP' with lengths past the end", sized(40, {'S', 'P', 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}), "SPC",
       StKind::Unknown},
      {"51,104 bytes", sized(StSpuBytes, {}), "", StKind::Spu},
      {"32,128 bytes, resolution 0", sized(StNeoBytes, {0, 0, 0, 0}), "", StKind::Neo},
      {"32,128 bytes, resolution 7", sized(StNeoBytes, {0, 0, 0, 7}), "NEO", StKind::Unknown},
      {"32,034 bytes, resolution 0", sized(PicDegasPlainBytes, {0, 0}), "", StKind::Degas},
      {"32,066 bytes, resolution 2", sized(PicDegasBytes, {0, 2}), "DAT", StKind::Degas},
      {"32,034 bytes, other bits, no DEGAS name", sized(PicDegasPlainBytes, {0, 5}), "", StKind::Unknown},
      {"32,034 bytes, other bits, PI2 name", sized(PicDegasPlainBytes, {0, 5}), "PI2", StKind::Degas},
      {"32,066 bytes with bit 15: compressed", sized(PicDegasBytes, {0x80, 1}), "PI2",
       StKind::DegasPacked},
      {"32,000 bytes as PI1", sized(PicBodyBytes, {}), "PI1", StKind::Body},
      {"32,000 bytes as DOO", sized(PicBodyBytes, {}), "DOO", StKind::Body},
      {"32,000 bytes with no plane count", sized(PicBodyBytes, {}), "XYZ", StKind::Unknown},
      {"32,000 bytes as PC1 with bit 15", sized(PicBodyBytes, {0x80, 0}), "PC1", StKind::DegasPacked},
      {"PC1 name without bit 15", sized(1000, {0, 0}), "PC1", StKind::Unknown},
      {"compressed header, no name", sized(5000, {0x80, 1}), "", StKind::DegasPacked},
      {"other bits, no name", sized(5000, {0x80, 4}), "", StKind::Unknown},
      {"other bits, PC2 name", sized(5000, {0x80, 5}), "PC2", StKind::DegasPacked},
      {"empty", {}, "PI1", StKind::Unknown},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(int(StDetect(c.file.data(), c.file.size(), c.ext)), int(c.kind));
  }
}

// A PC1 file from its header and the packed rows given, the remaining rows all zero.
static std::vector<uint8_t> pc1(uint16_t res, std::vector<uint8_t> rows, int zeroRows) {
  std::vector<uint8_t> f;
  Put16(f, res);
  f.resize(34, 0);
  f.insert(f.end(), rows.begin(), rows.end());
  for (int i = 0; i < zeroRows * 4; i++) f.insert(f.end(), {uint8_t(257 - 40), 0});
  return f;
}

// SPC picture data of n zeros (the whole picture by default), in runs of up to 130.
static std::vector<uint8_t> spcZeros(size_t n = 4 * StSpcPlaneBytes) {
  std::vector<uint8_t> d;
  while (n) {
    size_t run = std::min<size_t>(n, 130);
    d.insert(d.end(), {uint8_t(258 - run), 0});
    n -= run;
  }
  return d;
}
static std::vector<uint8_t> spcBlackPalettes() { return std::vector<uint8_t>(597 * 2, 0); }

struct BadCase {
  const char* name;
  std::vector<uint8_t> file;
  const char* ext;
  const char* reason;
};

TEST(StDecode, NamesWhatIsWrongWithABadFile) {
  std::vector<uint8_t> spcTrailingRun = spcZeros(4 * StSpcPlaneBytes - 2);
  spcTrailingRun.insert(spcTrailingRun.end(), {0xFD, 7});  // a run of 5 for the last 2
  std::vector<uint8_t> gbf = Gbf(20, 0, 1, {0, 0, 0, 0});
  gbf.push_back(0);
  // clang-format off
  const BadCase cases[] = {
      {"PI1 one byte short", sized(32033, {}), "PI1",
       "32,033 bytes: a DEGAS picture has 32,034 or 32,066, a screen without header 32,000"},
      {"PI1 one byte long", sized(32067, {}), "PI1", "32,067 bytes: a DEGAS picture has"},
      {"DEGAS resolution 3", sized(PicDegasPlainBytes, {0, 3}), "PI1", "unknown resolution word 0x0003"},
      {"PC1 ending in its first row", pc1(0x8000, {0xD9}, 0), "PC1", "truncated in row 0 of 200"},
      {"PC1 ending in its last row", pc1(0x8000, {}, 199), "PC1", "truncated in row 199 of 200"},
      {"PC1 run of 41 in a 40-byte plane row", pc1(0x8000, {257 - 41, 0}, 199), "PC1",
       "a PackBits run goes past the end of row 0, plane 0"},
      {"PC1 literal of 41", pc1(0x8000, sized(42, {40}), 199), "PC1",
       "a PackBits run goes past the end of row 0, plane 0"},
      {"PC1 run into the next plane", pc1(0x8000, {257 - 38, 0, 257 - 4, 0}, 199), "PC1",
       "a PackBits run goes past the end of row 0, plane 0"},
      {"PC1 header with PC3's 80-byte rows", pc1(0x8000, {257 - 80, 0}, 399), "PC1",
       "a PackBits run goes past the end of row 0, plane 0"},
      {"PC resolution 3", pc1(0x8003, {}, 200), "PC1",
       "unknown compressed DEGAS resolution word 0x8003"},
      {"PC1 name without compressed header", sized(4000, {0, 0}), "PC1",
       "no compressed DEGAS header (resolution word 0x0000)"},
      {"Spectrum too short", sized(51000, {}), "SPU", "51,000 bytes: a Spectrum 512 picture has 51,104"},
      {"SPC without header", sized(4000, {}), "SPC", "no Spectrum 512 header"},
      {"SPC lengths past the end", sized(40, {'S', 'P', 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}), "SPC",
       "truncated: the header's lengths run past the end of the file"},
      {"SPC picture data short", SpcFile({0x80, 0}, spcBlackPalettes()), "SPC",
       "picture data truncated in plane 0, line 4"},
      {"SPC run past the picture", SpcFile(spcTrailingRun, spcBlackPalettes()), "SPC",
       "a run goes past the end of the picture"},
      {"SPC palettes short", SpcFile(spcZeros(), {0, 2, 7}), "SPC", "colour data truncated in line 1"},
      {"NEO of another length", sized(32127, {}), "NEO", "32,127 bytes: a NEOchrome picture has 32,128"},
      {"NEO resolution 5", sized(StNeoBytes, {0, 0, 0, 5}), "NEO",
       "not a NEOchrome header (resolution word 5)"},
      {"GBF one byte long", gbf, "GBF", "the GBF header's size and planes do not match the file's 11 bytes"},
      {"GBF header only", sized(6, {}), "GBF", "truncated: no GBF header"},
      {"a body without plane count", sized(PicBodyBytes, {}), "",
       "32,000 bytes without header: name it .PI1, .PI2, .PI3, .PIC or .DOO to give its planes"},
      {"anything else", sized(100, {}), "TXT", "unknown file type"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StPicture pic;
    pic.w = 7;
    StKind kind = StDetect(c.file.data(), c.file.size(), c.ext);
    std::string why = StDecode(c.file.data(), c.file.size(), kind, c.ext, pic);
    EXPECT_EQ(why.substr(0, strlen(c.reason)), c.reason) << why;
    EXPECT_EQ(pic.w, 7) << "the picture is left alone";
  }
}

TEST(StDecode, UnpacksDegasEliteRowsPlaneByPlane) {
  // Row 0, plane 0: a no-op, literal AA BB, then 38 bytes FF; planes 1 to 3 zero.
  std::vector<uint8_t> row0 = {0x80, 0x01, 0xAA, 0xBB, 257 - 38, 0xFF};
  for (int p = 1; p < 4; p++) row0.insert(row0.end(), {257 - 40, 0});
  StPicture pic = decode(pc1(0x8000, row0, 199), "PC1");
  ASSERT_EQ(pic.w, 320);
  ASSERT_EQ(pic.h, 200);
  EXPECT_EQ(pic.planes, 4);
  // AA and BB are the first word of plane 0: pixels 0..15 are their bits.
  const std::string row = "1010101010111011";
  for (int x = 0; x < 320; x++) {
    EXPECT_EQ(pic.values[x], x < 16 ? row[x] - '0' : 1) << "x " << x;
    EXPECT_EQ(pic.values[320 + x], 0) << "x " << x;
  }
  StPicture high = decode(pc1(0x8002, {}, 200), "PC3");  // 400 rows of 80 bytes
  EXPECT_EQ(high.w, 640);
  EXPECT_EQ(high.h, 400);
  EXPECT_EQ(high.planes, 1);
}

TEST(StDecode, UnpacksSpectrumPlanesAndPalettes) {
  // Plane 0 of line 1 begins F0 F0 F0, the rest zero; every palette has entry 1 red.
  std::vector<uint8_t> data = {0xFF, 0xF0};  // 3 times F0
  size_t left = 4 * StSpcPlaneBytes - 3;
  while (left) {
    size_t n = std::min<size_t>(left, 130);
    data.insert(data.end(), {uint8_t(258 - n), 0});
    left -= n;
  }
  std::vector<uint8_t> palettes;
  for (int set = 0; set < 597; set++) palettes.insert(palettes.end(), {0x00, 0x02, 0x07, 0x00});
  std::vector<uint32_t> px = colours(decode(SpcFile(data, palettes), "SPC"));
  ASSERT_EQ(px.size(), 320u * 200);
  const uint32_t red = Opaque(255, 0, 0), black = Opaque(0, 0, 0);
  for (int x = 0; x < 320; x++) {
    // F0 F0 is the first group's word of plane 0, the third F0 starts the second group.
    bool set = x < 20 && (x / 4) % 2 == 0;
    EXPECT_EQ(px[320 + x], set ? red : black) << "x " << x;
    EXPECT_EQ(px[x], black);
  }
  // A present word for entry 15 is read like the others.
  palettes.assign({0x80, 0x01, 0x07, 0x00, 0x00, 0x70});
  for (int set = 1; set < 597; set++) palettes.insert(palettes.end(), {0, 0});
  StPicture pic = decode(SpcFile(spcZeros(), palettes), "SPC");
  EXPECT_EQ(pic.palette[0], 0x0700);
  EXPECT_EQ(pic.palette[15], 0x0070);
  EXPECT_EQ(pic.palette[16], 0);
}

TEST(StShown, IsThePaintProgramsReadingOfTheSameValues) {
  const struct { int planes, w, h; } cases[] = {{4, 320, 200}, {2, 640, 200}, {1, 640, 400}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.planes << " planes");
    std::vector<uint8_t> body = PlanesOf(Pattern(c.w, c.h, c.planes), c.w, c.h, c.planes);
    std::vector<uint8_t> elite = DegasOf(uint16_t(c.planes == 4   ? 0
                                                  : c.planes == 2 ? 1
                                                                  : 2),
                                         {0x0123}, body, PicDegasBytes);
    PicImage paint, shown;
    ASSERT_TRUE(PicLoad(elite.data(), elite.size(), c.planes, TestPalette, paint));
    std::vector<uint32_t> stretched;
    PicStretch(paint, stretched);
    // The common DEGAS form, which the paint program refuses, shows the same.
    StShown(decode(DegasOf(uint16_t(c.planes == 4   ? 0
                                    : c.planes == 2 ? 1
                                                    : 2),
                           {}, body),
                   ""),
            TestPalette, shown);
    EXPECT_EQ(shown.w, PicW);
    EXPECT_TRUE(SamePixels(shown.px, stretched, PicW));
  }
  std::vector<uint8_t> values = Pattern(48, 5, 3);
  std::vector<uint8_t> gbf = Gbf(40, 4, 3, PlanesOf(values, 48, 5, 3));
  PicImage block;
  StShown(decode(gbf, "GBF"), TestPalette, block);
  EXPECT_EQ(block.w, 48);
  EXPECT_EQ(block.h, 5);
  EXPECT_TRUE(SamePixels(block.px, ThroughTable(values, 3), 48));
}

struct WordsCase {
  const char* name;
  std::vector<uint32_t> colours;
  std::vector<uint16_t> words;
};

TEST(StWords, PicksStUnlessAColourNeedsTheFourthBit) {
  // clang-format off
  const WordsCase cases[] = {
      {"white and black", {Opaque(255, 255, 255), Opaque(0, 0, 0)}, {0x0777, 0x0000}},
      {"ST levels", {Opaque(36, 73, 109)}, {0x0123}},
      {"an STE level with an odd step", {Opaque(255, 0, 0), Opaque(34, 0, 0)}, {0x0F00, 0x0100}},
      {"only even STE steps: read as ST, so written as the nearest ST",
       {Opaque(34, 34, 34), Opaque(68, 0, 0)}, {0x0111, 0x0200}},
      {"the paint program's light grey", {Opaque(156, 156, 156)}, {0x0CCC}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    uint16_t words[16];
    StWords(c.colours.data(), int32_t(c.colours.size()), words);
    for (size_t i = 0; i < 16; i++)
      EXPECT_EQ(words[i], i < c.words.size() ? c.words[i] : 0) << "entry " << i;
  }
}

static PicImage image(int w, int h, const std::vector<uint32_t>& px) {
  PicImage img;
  img.w = w;
  img.h = h;
  img.px = px;
  return img;
}

// A w x h picture of n colours, pixel i in colour i % n of the list.
static PicImage striped(int w, int h, const std::vector<uint32_t>& list, size_t n) {
  std::vector<uint32_t> px(size_t(w) * h);
  for (size_t i = 0; i < px.size(); i++) px[i] = list[i % n];
  return image(w, h, px);
}

TEST(StFromColours, RefusesWhatTheFormatCannotHold) {
  std::vector<uint32_t> many;
  for (int i = 0; i < 17; i++) many.push_back(Opaque(uint8_t(i), 0, 0));
  const struct {
    const char* name;
    PicImage img;
    const char* format;
    int planes;
    const char* reason;
    // clang-format off
  } cases[] = {
      {"17 colours", striped(320, 200, many, 17), "PI1", 4,
       "17 colours; a PI1 picture holds 16 (use --nearest)"},
      {"5 colours", striped(640, 200, many, 5), "PI2", 2, "5 colours; a PI2 picture holds 4 (use --nearest)"},
      {"3 colours", striped(640, 400, {White, Black, Red}, 3), "PI3", 1,
       "3 colours; a PI3 picture holds 2, black and white (use --nearest)"},
      {"red and black", striped(640, 400, {Red, Black}, 2), "Doodle", 1,
       "colours other than black and white; a Doodle picture holds only those (use --nearest)"},
      {"another size", striped(100, 100, many, 2), "PI1", 4, "the picture is 100x100; a PI1 picture is 320x200"},
      {"640x400 not enlarged", striped(640, 400, many, 2), "PI1", 4,
       "the picture is 640x400; a PI1 picture is 320x200, and this is not one enlarged"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    StPicture out;
    EXPECT_EQ(StFromColours(c.img, c.format, c.planes, nullptr, TestPalette, out), c.reason);
    EXPECT_TRUE(out.values.empty());
  }
}

TEST(StFromColours, KeepsThePaintProgramsValuesForItsColours) {
  const struct {
    int planes, w, h;
    bool enlarged;
  } cases[] = {{4, 320, 200, false},
               {4, 320, 200, true},
               {2, 640, 200, false},
               {2, 640, 200, true},
               {1, 640, 400, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.planes << " planes" << (c.enlarged ? ", enlarged" : ""));
    std::vector<uint8_t> values = Pattern(c.w, c.h, c.planes);
    PicImage img = image(c.w, c.h, ThroughTable(values, c.planes));
    if (c.enlarged) {
      PicImage big = image(PicW, PicH, {});
      PicStretch(img, big.px);
      img = big;
    }
    StPicture out;
    ASSERT_EQ(StFromColours(img, "X", c.planes, nullptr, TestPalette, out), "");
    EXPECT_EQ(out.w, c.w);
    EXPECT_EQ(out.h, c.h);
    EXPECT_EQ(out.values, values);
  }
}

TEST(StFromColours, OtherColoursTakeValuesInOrderOfAppearance) {
  const uint32_t a = Opaque(36, 0, 0), b = Opaque(0, 73, 0), c = Opaque(255, 255, 0);
  StPicture out;
  ASSERT_EQ(StFromColours(striped(640, 200, {b, b, c, a}, 4), "PI2", 2, nullptr, TestPalette, out),
            "");
  EXPECT_EQ(std::vector<uint8_t>(out.values.begin(), out.values.begin() + 4),
            (std::vector<uint8_t>{0, 0, 1, 2}));
  EXPECT_EQ(std::vector<uint16_t>(out.palette.begin(), out.palette.begin() + 4),
            (std::vector<uint16_t>{0x0020, 0x0770, 0x0100, 0x0000}));
}

TEST(StFromColours, NearestTakesTheClosestColourAndItsWords) {
  StPalette pal;
  pal.n = 4;
  const uint32_t list[4] = {Opaque(0, 0, 0), Opaque(2, 0, 0), Opaque(255, 255, 255),
                            Opaque(0, 0, 200)};
  const uint16_t words[4] = {0x0000, 0x0800, 0x0777, 0x0006};
  for (int i = 0; i < 4; i++) pal.colour[i] = list[i], pal.word[i] = words[i];
  // (1,0,0) is as near to 0 as to 1: the lower value wins.
  PicImage img =
      striped(640, 200,
              {Opaque(1, 0, 0), Opaque(200, 200, 200), Opaque(10, 10, 150), Opaque(3, 0, 0)}, 4);
  StPicture out;
  ASSERT_EQ(StFromColours(img, "PI2", 2, &pal, TestPalette, out), "");
  EXPECT_EQ(std::vector<uint8_t>(out.values.begin(), out.values.begin() + 4),
            (std::vector<uint8_t>{0, 2, 3, 1}));
  EXPECT_EQ(out.palette[1], 0x0800);
  PicImage mapped;
  StNearestColours(img, pal, mapped);
  EXPECT_EQ(mapped.px[1], Opaque(255, 255, 255));
  EXPECT_EQ(mapped.px[3], Opaque(2, 0, 0));
}

TEST(StWriters, DegasFilesHoldResolutionPaletteBodyAndAnimation) {
  const struct {
    int planes, w, h;
    uint16_t res;
  } cases[] = {{4, 320, 200, 0}, {2, 640, 200, 1}, {1, 640, 400, 2}};
  for (const auto& c : cases) {
    for (size_t size : {PicDegasPlainBytes, PicDegasBytes}) {
      SCOPED_TRACE(testing::Message() << c.planes << " planes, " << size << " bytes");
      StPicture pic;
      pic.planes = c.planes, pic.w = c.w, pic.h = c.h;
      pic.values = Pattern(c.w, c.h, c.planes);
      for (int i = 0; i < 16; i++) pic.palette.push_back(uint16_t(0x0111 * (i % 8)));
      std::vector<uint8_t> file;
      StDegasFile(pic, size, file);
      ASSERT_EQ(file.size(), size);
      std::vector<uint8_t> expected =
          DegasOf(c.res, pic.palette, PlanesOf(pic.values, c.w, c.h, c.planes), size);
      if (size == PicDegasBytes)
        for (int ch = 0; ch < 4; ch++) expected[32051 + 2 * ch] = 1;  // direction: off
      EXPECT_EQ(file, expected);
      StPicture back = decode(file, "PI1");
      EXPECT_EQ(back.values, pic.values);
      EXPECT_EQ(back.palette, pic.palette);
    }
  }
}

TEST(StWriters, APicBodyIsThePaintProgramsDoodle) {
  std::vector<uint8_t> values = Pattern(640, 400, 1);
  std::vector<uint32_t> px = ThroughTable(values, 1);
  StPicture pic;
  ASSERT_EQ(StFromColours(image(640, 400, px), "PIC", 1, nullptr, TestPalette, pic), "");
  std::vector<uint8_t> body;
  StBodyFile(pic, body);
  std::vector<uint8_t> rgba(px.size() * 4), doodle(PicBodyBytes);
  for (size_t i = 0; i < px.size(); i++)
    for (int b = 0; b < 4; b++) rgba[4 * i + b] = uint8_t(px[i] >> 8 * b);
  DoodleBody(rgba.data(), doodle.data());
  EXPECT_EQ(body, doodle);
}

TEST(StWriters, BmpRowsRunBottomUpInBlueGreenRed) {
  std::vector<uint8_t> bmp;
  BmpFile(image(2, 2, {Opaque(1, 2, 3), Opaque(4, 5, 6), Opaque(7, 8, 9), Opaque(10, 11, 12)}),
          bmp);
  // The header SDL's writer gives a surface without alpha: no resolution, no palette.
  const std::vector<uint8_t> expected = {
      'B', 'M', 70, 0, 0,  0, 0, 0, 0, 0, 54, 0,  0,  0,         // file header
      40,  0,   0,  0, 2,  0, 0, 0, 2, 0, 0,  0,  1,  0, 24, 0,  // size, planes, 24 bits
      0,   0,   0,  0, 16, 0, 0, 0, 0, 0, 0,  0,  0,  0, 0,  0, 0,
      0,   0,   0,  0, 0,  0, 0, 9, 8, 7, 12, 11, 10, 0, 0,  // the bottom row first, padded to 4
                                                             // bytes
      3,   2,   1,  6, 5,  4, 0, 0};
  EXPECT_EQ(bmp, expected);
}

TEST(PicStretchCentres, SamplesUnderEachPixelsCentre) {
  // Source pixel value = its x + 2,048 y, so the sample tells its coordinates.
  PicImage big = image(1024, 768, {});
  for (int y = 0; y < 768; y++)
    for (int x = 0; x < 1024; x++) big.px.push_back(uint32_t(x + 2048 * y));
  std::vector<uint32_t> out;
  PicStretch(big, out);
  // x' = (2x + 1) * 1024 / 1280, y' = (2y + 1) * 768 / 800; x = 2 falls on the border
  // of columns 3 and 4 and takes 4.
  const struct {
    int x, y, sx, sy;
  } cases[] = {{0, 0, 0, 0}, {1, 1, 2, 2},          {2, 2, 4, 4},
               {3, 3, 5, 6}, {639, 399, 1023, 767}, {320, 200, 512, 384}};
  for (const auto& c : cases)
    EXPECT_EQ(out[size_t(c.y) * PicW + c.x], uint32_t(c.sx + 2048 * c.sy)) << c.x << ", " << c.y;
  // An Atari screen is enlarged evenly: each pixel doubled, or each row.
  for (int w : {320, 640}) {
    PicImage small = image(w, 200, std::vector<uint32_t>(size_t(w) * 200));
    for (size_t i = 0; i < small.px.size(); i++) small.px[i] = uint32_t(i);
    std::vector<uint32_t> stretched;
    PicStretch(small, stretched);
    size_t wrong = 0;
    for (int y = 0; y < 400; y++)
      for (int x = 0; x < 640; x++)
        wrong += stretched[size_t(y) * 640 + x] != small.px[size_t(y / 2) * w + x * w / 640];
    EXPECT_EQ(wrong, 0u) << "width " << w;
  }
}
