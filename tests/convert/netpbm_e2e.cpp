// tarksen-convert against netpbm on the same files, pixel for pixel: netpbm's readers
// (pi1toppm, pi3topbm, pc1toppm, neotoppm, sputoppm, spctoppm) beside ours, and its
// writers (ppmtopi1, pbmtopi3, ppmtoneo) as the source of files to read back. The
// pictures are random, of the colour counts each format holds.
#include <gtest/gtest.h>

#include <random>

#include "tests/convert/cli.h"
#include "tests/picfiles/stmake.h"

class Netpbm : public ConvertTest {
 protected:
  void SetUp() override {
    ConvertTest::SetUp();
    for (const char* tool : {"pngtopam", "pi1toppm", "pi3topbm", "pc1toppm", "neotoppm", "sputoppm",
                             "spctoppm", "ppmtopi1", "pbmtopi3", "ppmtoneo"})
      if (!HaveTool(tool)) GTEST_SKIP() << tool << " (netpbm) is not installed";
  }
  // Our reading of a file: converted to PNG and read back by netpbm.
  Pnm ours(const std::string& name) {
    Ran r = convert("-f png --force '" + name + "'");
    EXPECT_EQ(r.code, 0) << r.err;
    return netpbm("pngtopam '" + name.substr(0, name.rfind('.')) + ".png'");
  }
  std::mt19937 rng{20240611};
};

// Pixels coloured by palette words.
static std::vector<uint32_t> paint(const std::vector<uint8_t>& values,
                                   const std::vector<uint16_t>& words) {
  std::vector<uint32_t> px;
  for (uint8_t v : values) px.push_back(RgbOf(words[v]));
  return px;
}

TEST_F(Netpbm, SixteenColourFilesFromNetpbmReadAsNetpbmAndTheSourceSay) {
  const struct {
    const char *writer, *file, *reader;
    size_t size;
  } cases[] = {{"ppmtopi1", "pic.PI1", "pi1toppm", 32034},
               {"ppmtoneo", "pic.NEO", "neotoppm", 32128}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    std::vector<uint16_t> words = RandomStWords(rng, 16);
    std::vector<uint32_t> px = paint(RandomValues(rng, 320, 200, 16), words);
    write("in.ppm", Ppm(320, 200, px));
    ASSERT_EQ(sh(std::string(c.writer) + " in.ppm > " + c.file).code, 0);
    ASSERT_EQ(read(c.file).size(), c.size);
    Pnm mine = ours(c.file);
    EXPECT_TRUE(SameRgb(mine, 320, 200, netpbm(std::string(c.reader) + " " + c.file).px));
    EXPECT_TRUE(SameRgb(mine, 320, 200, px)) << "the source picture";
  }
}

TEST_F(Netpbm, Pi3FromPbmtopi3ReadsAsPi3topbmInBothPolarities) {
  std::vector<uint8_t> values = RandomValues(rng, 640, 400, 2);
  std::vector<uint32_t> px = paint(values, {0x0777, 0x0000});
  write("in.pbm", Pbm(640, 400, values));
  ASSERT_EQ(sh("pbmtopi3 in.pbm > pic.PI3").code, 0);
  Pnm mine = ours("pic.PI3");
  EXPECT_TRUE(SameRgb(mine, 640, 400, netpbm("pi3topbm pic.PI3").px));
  EXPECT_TRUE(SameRgb(mine, 640, 400, px)) << "the source picture";
  // Palette word 0 of 0 shows value 0 black.
  std::vector<uint8_t> inverted = DegasOf(2, {0x0000, 0x0777}, PlanesOf(values, 640, 400, 1));
  write("inv.PI3", inverted);
  Pnm mineInv = ours("inv.PI3");
  EXPECT_TRUE(SameRgb(mineInv, 640, 400, netpbm("pi3topbm inv.PI3").px));
  EXPECT_TRUE(SameRgb(mineInv, 640, 400, paint(values, {0x0000, 0x0777})));
}

TEST_F(Netpbm, Pc1ReadsAsPc1toppm) {
  std::vector<uint16_t> words = RandomStWords(rng, 16);
  std::vector<uint8_t> values = RandomValues(rng, 320, 200, 16);
  write("pic.PC1", PcOf(0, words, PlanesOf(values, 320, 200, 4)));
  Pnm mine = ours("pic.PC1");
  EXPECT_TRUE(SameRgb(mine, 320, 200, netpbm("pc1toppm pic.PC1").px));
  EXPECT_TRUE(SameRgb(mine, 320, 200, paint(values, words)));
}

TEST_F(Netpbm, Pc3ReadsAsPi3topbmReadsTheSameBody) {
  std::vector<uint8_t> values = RandomValues(rng, 640, 400, 2);
  std::vector<uint8_t> body = PlanesOf(values, 640, 400, 1);
  write("pic.PC3", PcOf(2, {0x0777}, body));
  write("same.PI3", DegasOf(2, {0x0777}, body));
  EXPECT_TRUE(SameRgb(ours("pic.PC3"), 640, 400, netpbm("pi3topbm same.PI3").px));
}

TEST_F(Netpbm, Pc2ReadsAsTheSameBodyUncompressed) {
  // netpbm has no reader for medium resolution; the uncompressed file is the reference.
  std::vector<uint16_t> words = RandomStWords(rng, 4);
  std::vector<uint8_t> values = RandomValues(rng, 640, 200, 4);
  std::vector<uint8_t> body = PlanesOf(values, 640, 200, 2);
  write("pic.PC2", PcOf(1, words, body));
  EXPECT_TRUE(SameRgb(ours("pic.PC2"), 640, 200, paint(values, words)));
}

// 199 lines of three random 16-word ST palettes; entries 0 and 15 of each black, as
// Spectrum 512 leaves them.
static std::vector<uint16_t> spectrumWords(std::mt19937& rng) {
  std::vector<uint16_t> words(199 * 48);
  for (size_t i = 0; i < words.size(); i++)
    if (i % 16 != 0 && i % 16 != 15) words[i] = uint16_t(rng() & 0x777);
  return words;
}

TEST_F(Netpbm, SpuReadsAsSputoppm) {
  std::vector<uint8_t> body = PlanesOf(RandomValues(rng, 320, 200, 16), 320, 200, 4);
  std::fill(body.begin(), body.begin() + 160, 0);
  write("pic.SPU", SpuOf(body, spectrumWords(rng)));
  EXPECT_TRUE(SameRgb(ours("pic.SPU"), 320, 200, netpbm("sputoppm pic.SPU").px));
}

TEST_F(Netpbm, SpcReadsAsSpctoppmAndAsTheSameSpu) {
  std::vector<uint8_t> body = PlanesOf(RandomValues(rng, 320, 200, 16), 320, 200, 4);
  std::fill(body.begin(), body.begin() + 160, 0);
  std::vector<uint16_t> words = spectrumWords(rng);
  write("pic.SPC", SpcOf(body, words));
  write("same.SPU", SpuOf(body, words));
  Pnm mine = ours("pic.SPC");
  EXPECT_TRUE(SameRgb(mine, 320, 200, netpbm("spctoppm pic.SPC").px));
  EXPECT_TRUE(SameRgb(mine, 320, 200, ours("same.SPU").px));
}
