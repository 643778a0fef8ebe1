// tarksen-convert as a user runs it: round trips through every Atari format it writes,
// bad input (a one-line error naming the file, exit 1, the other files converted, no
// partial file), the command line, and the safety of its writes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <random>
#include <thread>

#include "picfiles/pic_core.h"
#include "picfiles/st_core.h"
#include "tests/convert/cli.h"
#include "tests/picfiles/pic_expect.h"
#include "tests/picfiles/stmake.h"

class Convert : public ConvertTest {
 protected:
  void SetUp() override {
    ConvertTest::SetUp();
    if (!HaveTool("pnmtopng") || !HaveTool("pngtopam")) GTEST_SKIP() << "netpbm is not installed";
  }
  // A PNG of RGB pixels, written by netpbm.
  void png(const std::string& name, int w, int h, const std::vector<uint32_t>& px) {
    write(name + ".ppm", Ppm(w, h, px));
    ASSERT_EQ(sh("pnmtopng '" + name + ".ppm' > '" + name + "' && rm '" + name + ".ppm'").code, 0);
  }
  std::mt19937 rng{7};
};

static std::vector<uint32_t> coloured(const std::vector<uint8_t>& values,
                                      const std::vector<uint32_t>& list) {
  std::vector<uint32_t> px;
  for (uint8_t v : values) px.push_back(list[v]);
  return px;
}

// n distinct colours on the STE's 4-bit grid, one of them on an odd step.
static std::vector<uint32_t> steColours(std::mt19937& rng, int n) {
  std::vector<uint32_t> list = {17u * 15 | 17u * 3 << 8};
  while (int(list.size()) < n) {
    uint32_t c = 17u * (rng() % 16) | 17u * (rng() % 16) << 8 | 17u * (rng() % 16) << 16;
    if (std::find(list.begin(), list.end(), c) == list.end()) list.push_back(c);
  }
  return list;
}

struct RoundTrip {
  const char* format;
  const char* ext;
  int w, h, colours;
  bool ste;
  size_t bytes;
};

TEST_F(Convert, PngThroughEveryAtariFormatComesBackTheSame) {
  // clang-format off
  const RoundTrip cases[] = {
      {"pi1", "PI1", 320, 200, 16, false, 32066}, {"pi1", "PI1", 320, 200, 16, true, 32066},
      {"pi2", "PI2", 640, 200, 4, false, 32066},  {"pi2", "PI2", 640, 200, 3, true, 32066},
      {"pi3", "PI3", 640, 400, 2, false, 32066},  {"pic", "PIC", 640, 400, 2, false, 32000},
      {"doodle", "DOO", 640, 400, 2, false, 32000},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.format << (c.ste ? " with STE colours" : ""));
    std::vector<uint32_t> list;
    if (c.colours == 2)
      list = {0xFFFFFF, 0x000000};
    else if (c.ste)
      list = steColours(rng, c.colours);
    else
      for (uint16_t w : RandomStWords(rng, c.colours)) list.push_back(RgbOf(w));
    std::vector<uint32_t> px = coloured(RandomValues(rng, c.w, c.h, c.colours), list);
    png("in.png", c.w, c.h, px);
    Ran to = convert(std::string("-f ") + c.format + " in.png");
    ASSERT_EQ(to.code, 0) << to.err;
    std::string atari = std::string("in.") + c.ext;
    EXPECT_EQ(read(atari).size(), c.bytes);
    Ran back = convert("-f png -o back.png " + atari);
    ASSERT_EQ(back.code, 0) << back.err;
    EXPECT_TRUE(SameRgb(netpbm("pngtopam back.png"), c.w, c.h, px));
    sh("rm -f in.png back.png " + atari);
  }
}

TEST_F(Convert, BmpInAndOutHasTheSamePixels) {
  if (!HaveTool("ppmtobmp") || !HaveTool("bmptopnm"))
    GTEST_SKIP() << "netpbm's BMP tools are missing";
  std::vector<uint32_t> px(37 * 5);
  for (auto& c : px) c = rng() & 0xFFFFFF;
  write("in.ppm", Ppm(37, 5, px));
  ASSERT_EQ(sh("ppmtobmp in.ppm > in.bmp").code, 0);
  Ran r = convert("-f png in.bmp");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(SameRgb(netpbm("pngtopam in.png"), 37, 5, px));
  r = convert("-f bmp -o out.bmp in.png");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(SameRgb(netpbm("bmptopnm out.bmp"), 37, 5, px));
}

TEST_F(Convert, DegasOf32034BytesBecomes32066KeepingItsBytes) {
  std::vector<uint8_t> values = RandomValues(rng, 320, 200, 16);
  // STE words and duplicates: kept as they are, not rebuilt from colours.
  std::vector<uint16_t> words = {0x0F00, 0x0888, 0x0123, 0x0123};
  for (int i = 4; i < 16; i++) words.push_back(uint16_t(0x0111 * (i % 8)));
  std::vector<uint8_t> common = DegasOf(0, words, PlanesOf(values, 320, 200, 4));
  write("a.PI1", common);
  Ran r = convert("-f pi1 -o b.PI1 a.PI1");
  ASSERT_EQ(r.code, 0) << r.err;
  std::vector<uint8_t> elite = read("b.PI1");
  ASSERT_EQ(elite.size(), 32066u);
  EXPECT_TRUE(std::equal(common.begin(), common.end(), elite.begin()));
  r = convert("-f pi1 --size 32034 -o c.PI1 b.PI1");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(read("c.PI1"), common);
}

TEST_F(Convert, NearestMapsOntoThePaintProgramsOrAFilesPalette) {
  // Near red, near black, near white and near green: the paint program's colours of
  // two planes are white, red, green and black for the values 0, 1, 2, 3.
  std::vector<uint8_t> values = RandomValues(rng, 640, 200, 4);
  png("in.png", 640, 200, coloured(values, {0x0A0AF0, 0x101010, 0xE0E0E0, 0x10D010}));
  Ran r = convert("-f pi2 --nearest in.png");
  ASSERT_EQ(r.code, 0) << r.err;
  std::vector<uint8_t> pi2 = read("in.PI2");
  PicImage shown;
  ASSERT_TRUE(PicLoad(pi2.data(), pi2.size(), 2, TestPalette, shown));
  const uint32_t expect[4] = {Red, Black, White, Green};
  std::vector<uint32_t> expected;
  for (uint8_t v : values) expected.push_back(expect[v]);
  EXPECT_TRUE(SamePixels(shown.px, expected, 640)) << "the paint program shows the nearest colours";

  // A palette file: its words go into the output, each pixel takes the nearest.
  std::vector<uint16_t> words = {0x0700, 0x0000, 0x0777, 0x0070};
  write("pal.PI2", DegasOf(1, words, std::vector<uint8_t>(32000)));
  r = convert("-f pi2 --palette pal.PI2 -o mapped.PI2 in.png");
  ASSERT_EQ(r.code, 0) << r.err;
  std::vector<uint8_t> mapped = read("mapped.PI2");
  EXPECT_EQ(std::vector<uint8_t>(mapped.begin() + 2, mapped.begin() + 10),
            (std::vector<uint8_t>{0x07, 0x00, 0x00, 0x00, 0x07, 0x77, 0x00, 0x70}));
  r = convert("-f png mapped.PI2");
  ASSERT_EQ(r.code, 0) << r.err;
  std::vector<uint32_t> byPalette;
  for (uint8_t v : values) byPalette.push_back(RgbOf(words[v]));
  EXPECT_TRUE(SameRgb(netpbm("pngtopam mapped.png"), 640, 200, byPalette));
}

// A good file to convert beside each bad one: a PI1 of 32,034 bytes.
static std::vector<uint8_t> goodPi1() {
  return DegasOf(0, {0x0777, 0x0700}, PlanesOf(Pattern(320, 200, 1), 320, 200, 4));
}

struct BadInput {
  const char* name;
  const char* file;
  std::vector<uint8_t> bytes;
  const char* format;
  const char* reason;  // after "tarksen-convert: <file>: "
};

TEST_F(Convert, BadInputIsOneLineNamingTheFileAndTheRestIsConverted) {
  std::vector<uint8_t> pc3OnPc1 = PcOf(2, {0x0777}, std::vector<uint8_t>(32000, 0));
  pc3OnPc1[1] = 0;  // the header of a low-resolution picture
  std::vector<uint8_t> runPastLine = PcOf(0, {}, std::vector<uint8_t>(32000, 0));
  runPastLine[34] = uint8_t(257 - 41);
  std::vector<uint8_t> pc1 = PcOf(0, {0x0777}, PlanesOf(Pattern(320, 200, 4), 320, 200, 4));
  std::vector<uint8_t> truncatedPc1(pc1.begin(), pc1.begin() + 3000);
  std::vector<uint8_t> oversized = goodPi1(), truncated = goodPi1();
  oversized.push_back(0);
  truncated.pop_back();
  std::vector<uint8_t> seventeen;
  {
    std::vector<uint32_t> px(320 * 200);
    for (size_t i = 0; i < px.size(); i++) px[i] = RgbOf(uint16_t((i % 17 / 8) << 4 | i % 17 % 8));
    write("17.ppm", Ppm(320, 200, px));
    ASSERT_EQ(sh("pnmtopng 17.ppm > 17.png && rm 17.ppm").code, 0);
    seventeen = read("17.png");
    sh("rm 17.png");
  }
  // clang-format off
  const BadInput cases[] = {
      {"truncated", "bad.PI1", truncated, "png",
       "32,033 bytes: a DEGAS picture has 32,034 or 32,066, a screen without header 32,000"},
      {"oversized", "bad.PI1", oversized, "png", "32,035 bytes: a DEGAS picture has 32,034 or 32,066"},
      {"a truncated compressed picture", "bad.PC1", truncatedPc1, "png", "truncated in row"},
      {"a PackBits run past the line", "bad.PC1", runPastLine, "png",
       "a PackBits run goes past the end of row 0, plane 0"},
      {"a PC1 header with PC3's bytes", "bad.PC1", pc3OnPc1, "png",
       "a PackBits run goes past the end of row 0, plane 0"},
      {"a Spectrum file too short", "bad.SPU", std::vector<uint8_t>(51103), "png",
       "51,103 bytes: a Spectrum 512 picture has 51,104"},
      {"a PNG with 17 colours to PI1", "bad.png", seventeen, "pi1",
       "17 colours; a PI1 picture holds 16 (use --nearest)"},
      {"a truncated PNG", "bad.png", std::vector<uint8_t>(seventeen.begin(), seventeen.begin() + 100),
       "pi1", "truncated"},
      {"not a picture", "bad.txt", {'h', 'e', 'l', 'l', 'o'}, "png", "unknown file type"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sh("rm -rf in out && mkdir in out");
    write(std::string("in/") + c.file, c.bytes);
    write("in/good.PI1", goodPi1());
    Ran r = convert(std::string("-f ") + c.format + " -o out in/" + c.file + " in/good.PI1");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "") << "nothing on standard output";
    std::vector<std::string> lines = r.errLines();
    ASSERT_EQ(lines.size(), 2u) << r.err;
    std::string prefix = std::string("tarksen-convert: in/") + c.file + ": ";
    EXPECT_EQ(lines[0].substr(0, prefix.size()), prefix);
    EXPECT_EQ(lines[0].substr(prefix.size(), strlen(c.reason)), c.reason) << lines[0];
    EXPECT_EQ(lines[1], "1 converted, 1 failed");
    std::string good = std::string("good.") + (std::string(c.format) == "png" ? "png" : "PI1");
    EXPECT_EQ(files("out"), std::vector<std::string>{good})
        << "the good file only, no partial file";
  }
}

TEST_F(Convert, AnExistingOutputStaysWithoutForce) {
  write("a.PI1", goodPi1());
  write("b.PI1", goodPi1());
  write("a.png", {'k', 'e', 'e', 'p'});
  Ran r = convert("-f png a.PI1 b.PI1");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.errLines(),
            (std::vector<std::string>{"tarksen-convert: a.PI1: a.png exists (--force replaces it)",
                                      "1 converted, 1 failed"}));
  EXPECT_EQ(read("a.png"), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
  r = convert("-f png --force a.PI1 b.PI1");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(netpbm("pngtopam a.png").w, 320);
  EXPECT_EQ(files(), (std::vector<std::string>{"a.PI1", "a.png", "b.PI1", "b.png"}));
}

TEST_F(Convert, ForceReplacesAsTheProgramsSavesDo) {
  // Through a link to the file it points to, which keeps its permissions.
  write("a.PI1", goodPi1());
  write("real.png", {'o', 'l', 'd'});
  sh("chmod 600 real.png && ln -s real.png a.png");
  Ran r = convert("-f png --force a.PI1");
  EXPECT_EQ(r.code, 0) << r.err;
  struct stat st;
  ASSERT_EQ(lstat(path("a.png").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays a link";
  ASSERT_EQ(stat(path("real.png").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(netpbm("pngtopam real.png").w, 320);
  EXPECT_EQ(files(), (std::vector<std::string>{"a.PI1", "a.png", "real.png"}));
}

TEST_F(Convert, InputsThatAreNotFilesAreRefused) {
  sh("mkdir dir.PI1 && mkfifo pipe.PI1");
  Ran r = convert("-f png dir.PI1 pipe.PI1 missing.PI1");
  EXPECT_EQ(r.code, 1);
  std::vector<std::string> lines = r.errLines();
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines,
            (std::vector<std::string>{"0 converted, 3 failed",
                                      "tarksen-convert: dir.PI1: is a directory",
                                      "tarksen-convert: missing.PI1: No such file or directory",
                                      "tarksen-convert: pipe.PI1: not a regular file"}));
}

TEST_F(Convert, AnUnwritableDirectoryFailsEachFile) {
  // Root writes anywhere it may; sysfs refuses new files even to root.
  std::string target = "ro";
  if (geteuid() == 0) {
    struct stat st;
    if (stat("/sys", &st) != 0) GTEST_SKIP() << "no directory root cannot write to";
    target = "/sys";
  } else {
    sh("mkdir ro && chmod 555 ro");
  }
  write("a.PI1", goodPi1());
  write("b.PI1", goodPi1());
  Ran r = convert("-f png -o " + target + " a.PI1 b.PI1");
  EXPECT_EQ(r.code, 1);
  std::vector<std::string> lines = r.errLines();
  ASSERT_EQ(lines.size(), 3u) << r.err;
  std::sort(lines.begin(), lines.end() - 1);
  EXPECT_EQ(lines[0],
            "tarksen-convert: a.PI1: cannot write " + target + "/a.png: Permission denied");
  EXPECT_EQ(lines[1],
            "tarksen-convert: b.PI1: cannot write " + target + "/b.png: Permission denied");
  EXPECT_EQ(lines[2], "0 converted, 2 failed");
}

struct UsageCase {
  const char* args;
  const char* message;  // the first line on standard error
};

TEST_F(Convert, UsageErrorsExit2AndConvertNothing) {
  write("a.PI1", goodPi1());
  write("b.PI1", goodPi1());
  // clang-format off
  const UsageCase cases[] = {
      {"", "tarksen-convert: no input files"},
      {"a.PI1", "tarksen-convert: no output format: give -f FORMAT"},
      {"-f gif a.PI1", "tarksen-convert: unknown format 'gif' (png, bmp, pi1, pi2, pi3, pic or doodle)"},
      {"-f pi1 --size 32000 a.PI1", "tarksen-convert: --size must be 32066 or 32034, not '32000'"},
      {"-f png --memory=lots a.PI1", "tarksen-convert: --memory must be a number of MiB, not 'lots'"},
      {"-o x.png a.PI1 b.PI1", "tarksen-convert: x.png: not a directory, and there are several files"},
      {"-o nodir/ a.PI1", "tarksen-convert: nodir/: no such directory"},
      {"-o a.xyz a.PI1", "tarksen-convert: a.xyz: the extension names no format; give -f"},
      {"-f png --palette none.PI1 a.PI1", "tarksen-convert: none.PI1: No such file or directory"},
      {"-f png --palette a.PI1.txt a.PI1", "tarksen-convert: a.PI1.txt: unknown file type"},
      {"--bogus a.PI1", "tarksen-convert: unrecognized option '--bogus'"},
  };
  // clang-format on
  write("a.PI1.txt", {'x'});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    Ran r = convert(c.args);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    std::vector<std::string> lines = r.errLines();
    ASSERT_EQ(lines.size(), 2u) << r.err;
    EXPECT_EQ(lines[0], c.message);
    EXPECT_EQ(lines[1], "Try 'tarksen-convert --help' for more information.");
  }
  EXPECT_EQ(files(), (std::vector<std::string>{"a.PI1", "a.PI1.txt", "b.PI1"}));
}

TEST_F(Convert, HelpAndVersionGoToStandardOutput) {
  Ran help = convert("--help");
  EXPECT_EQ(help.code, 0);
  EXPECT_EQ(help.out.substr(0, 43), "Usage: tarksen-convert [OPTION]... FILE... ");
  EXPECT_NE(help.out.find("--as-shown"), std::string::npos);
  EXPECT_EQ(help.err, "");
  Ran version = convert("-V");
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out, "tarksen-convert " TARKSEN_VERSION "\n");
}

TEST_F(Convert, OutputsTakeTheBaseNameAndTheFormatsExtension) {
  sh("mkdir sub out");
  write("sub/pic.pi1", goodPi1());
  write("sub/.PIC", std::vector<uint8_t>(32000));  // the paint program's unnamed Doodle save
  struct {
    const char* args;
    const char* made;
    // clang-format off
  } cases[] = {
      {"-f png sub/pic.pi1", "sub/pic.png"},     {"-f bmp sub/pic.pi1", "sub/pic.bmp"},
      {"-f pi1 sub/pic.pi1", "sub/pic.PI1"},     {"-f doodle sub/.PIC", "sub/.DOO"},
      {"-f pic -o out sub/.PIC", "out/.PIC"},    {"-o out/new.PI2 sub/pic.pi1", ""},
      {"-o out/x.Png sub/pic.pi1", "out/x.Png"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args);
    Ran r = convert(c.args);
    if (!*c.made) {
      // A PI1 does not fit a PI2: refused, nothing made.
      EXPECT_EQ(r.code, 1);
      EXPECT_NE(r.err.find("the picture is 320x200; a PI2 picture is 640x200"), std::string::npos)
          << r.err;
      continue;
    }
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "1 converted, 0 failed\n") << "no progress line on a pipe";
    struct stat st;
    EXPECT_EQ(stat(path(c.made).c_str(), &st), 0) << c.made;
  }
}

TEST_F(Convert, AProgressLineShowsOnATerminalOnly) {
  if (!HaveTool("script")) GTEST_SKIP() << "script (util-linux) is missing";
  write("a.PI1", goodPi1());
  write("b.PI1", goodPi1());
  // script gives the converter a terminal and records what it wrote there.
  Ran r = sh("script -qec \"" + ConvertCommand("-f png a.PI1 b.PI1") + "\" /dev/null");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\r\033[K2/2 "), std::string::npos) << r.out;
  const std::string last = "\r\033[K2 converted, 0 failed\r\n";
  ASSERT_GE(r.out.size(), last.size());
  EXPECT_EQ(r.out.substr(r.out.size() - last.size()), last) << "the progress line is cleared";
}

TEST_F(Convert, ContentDecidesTheKindWhatEverTheName) {
  write("degas.dat", goodPi1());
  write("packed.xyz", PcOf(0, {0x0777, 0x0700}, PlanesOf(Pattern(320, 200, 1), 320, 200, 4)));
  Ran r = convert("-f png degas.dat packed.xyz");
  ASSERT_EQ(r.code, 0) << r.err;
  Pnm a = netpbm("pngtopam degas.png"), b = netpbm("pngtopam packed.png");
  EXPECT_TRUE(SameRgb(a, 320, 200, b.px));
}

TEST_F(Convert, ManyFilesAreConvertedInOneRun) {
  std::vector<std::string> names;
  std::string args = "-f png -o out";
  sh("mkdir out");
  for (int i = 0; i < 40; i++) {
    std::vector<uint16_t> words = RandomStWords(rng, 16);
    std::string name = "p" + std::to_string(i) + ".PI1";
    write(name, DegasOf(0, words, PlanesOf(RandomValues(rng, 320, 200, 16), 320, 200, 4)));
    args += " " + name;
    names.push_back(name);
  }
  Ran r = convert(args);
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.err, "40 converted, 0 failed\n");
  for (int i = 0; i < 40; i += 13) {
    SCOPED_TRACE(names[i]);
    std::string png = "out/p" + std::to_string(i) + ".png";
    EXPECT_TRUE(SameRgb(netpbm("pngtopam " + png), 320, 200, netpbm("pi1toppm " + names[i]).px));
  }
}

TEST_F(Convert, AnInterruptedRunLeavesNoPartialFile) {
  // Whenever the signal comes, every output present is whole, no temporary file is
  // left, and the count says how many were put in place: files never started are not
  // "converted".
  std::string args = "-f png -o out";
  write("p.PI1", goodPi1());
  sh("for i in $(seq 0 399); do ln p.PI1 p$i.PI1; done");
  for (int i = 0; i < 400; i++) args += " p" + std::to_string(i) + ".PI1";
  for (const char* sig : {"TERM", "INT"}) {
    SCOPED_TRACE(sig);
    sh("rm -rf out pid err && mkdir out");
    Ran started = sh("(" + ConvertCommand(args) +
                     " 2>err & echo $! > pid; wait) >/dev/null 2>&1 & "
                     "while [ ! -s pid ] || [ -z \"$(ls out)\" ]; do sleep 0.01; done; kill -" +
                     sig + " $(cat pid)");
    ASSERT_EQ(started.code, 0) << started.err;
    sh("while kill -0 $(cat pid) 2>/dev/null; do sleep 0.01; done");
    std::vector<std::string> made = files("out");
    ASSERT_FALSE(made.empty());
    for (const std::string& f : made) {
      ASSERT_NE(f[0], '.') << "temporary file left: " << f;
      EXPECT_EQ(netpbm("pngtopam out/" + f).w, 320) << f;
    }
    std::vector<uint8_t> err = read("err");
    std::string text(err.begin(), err.end());
    std::string last = text.substr(text.rfind('\n', text.size() - 2) + 1);
    EXPECT_EQ(last.substr(0, last.find(' ')), std::to_string(made.size())) << text;
  }
}

TEST_F(Convert, OneOutputSpeltTwoWaysIsWrittenOnce) {
  struct {
    const char* name;
    std::vector<std::string> inputs;  // made in the scratch directory, dd a directory
    std::string args, first, second, out;
    // clang-format off
  } rows[] = {
      {"a doubled slash", {"dd/q.PI1", "dd/q.pi1"}, "dd/q.PI1 dd//q.pi1", "dd/q.PI1", "dd//q.pi1",
       "dd//q.png"},
      {"./ before the name", {"x.pi1", "x.PI1"}, "./x.pi1 x.PI1", "./x.pi1", "x.PI1", "x.png"},
      {"a link to the directory", {"dd/q.PI1"}, "dd/q.PI1 ln/q.PI1", "dd/q.PI1", "ln/q.PI1",
       "ln/q.png"},
      {"into one directory with -o", {"dd/q.PI1", "q.pi1"}, "-o dd dd/q.PI1 q.pi1", "dd/q.PI1",
       "q.pi1", "dd/q.png"},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    sh("rm -rf dd ln x.* q.* && mkdir dd && ln -s dd ln");
    for (const std::string& in : r.inputs) write(in, goodPi1());
    Ran ran = convert("-f png --force " + r.args);
    EXPECT_EQ(ran.code, 1);
    EXPECT_EQ(ran.errLines(),
              (std::vector<std::string>{"tarksen-convert: " + r.second + ": same output " + r.out +
                                            " as " + r.first,
                                        "1 converted, 1 failed"}));
  }
}

// Runs the converter as the user nobody (the tests run as root, who may write anything).
static const std::string AsNobody = "setpriv --reuid=65534 --regid=65534 --clear-groups ";

TEST_F(Convert, ForceWritesWhatTheUserMayAsTheProgramsSavesDo) {
  if (geteuid() != 0 || !HaveTool("setpriv")) GTEST_SKIP() << "needs root and setpriv";
  ASSERT_EQ(chmod(dir.c_str(), 0777), 0);
  write("a.PI1", goodPi1());
  struct {
    const char* name;
    uid_t uid;
    mode_t mode;
    bool written;
    // clang-format off
  } rows[] = {
      {"root's file nobody may write: written in place, root's still", 0, 0666, true},
      {"root's file nobody may only read", 0, 0644, false},
      {"nobody's own read-only file", 65534, 0444, false},
      {"nobody's own file", 65534, 0640, true},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    write("a.png", {'o', 'l', 'd'});
    ASSERT_EQ(chown(path("a.png").c_str(), r.uid, r.uid), 0);
    ASSERT_EQ(chmod(path("a.png").c_str(), r.mode), 0);
    Ran ran = sh(AsNobody + ConvertCommand("-f png --force a.PI1"));
    struct stat st;
    ASSERT_EQ(stat(path("a.png").c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, r.uid);
    EXPECT_EQ(st.st_gid, r.uid);
    EXPECT_EQ(st.st_mode & 07777, r.mode);
    if (r.written) {
      EXPECT_EQ(ran.code, 0) << ran.err;
      EXPECT_EQ(netpbm("pngtopam a.png").w, 320);
    } else {
      EXPECT_EQ(ran.errLines(), (std::vector<std::string>{
                                    "tarksen-convert: a.PI1: cannot write a.png: Permission denied",
                                    "0 converted, 1 failed"}));
      EXPECT_EQ(read("a.png"), (std::vector<uint8_t>{'o', 'l', 'd'}));
    }
    EXPECT_EQ(files(), (std::vector<std::string>{"a.PI1", "a.png"})) << "no scratch file left";
  }
  // The longest name a directory holds: the scratch file beside it has a short name.
  std::string longest(251, 'n');
  write(longest + ".PI1", goodPi1());
  Ran ran = convert("-f png " + longest + ".PI1");
  EXPECT_EQ(ran.code, 0) << ran.err;
  EXPECT_EQ(netpbm("pngtopam " + longest + ".png").w, 320);
}

// The peak resident memory (KiB) of the converter run with args in dir, the sanitizer
// keeping no freed memory back, and its exit code.
static std::pair<long, int> peakOf(const std::string& dir, const std::vector<std::string>& args) {
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(127);
    setenv("ASAN_OPTIONS", "quarantine_size_mb=0:intercept_tls_get_addr=0", 1);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    std::vector<char*> argv = {const_cast<char*>(TARKSEN_CONVERT_BIN)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  struct rusage use = {};
  wait4(pid, &status, 0, &use);
  return {use.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST_F(Convert, FilesConvertedAtOnceShareOneMemoryBudget) {
  // Six small PNGs of 4096x4096 pixels, each 64 MiB as the RGBA picture it decodes to.
  sh("mkdir out");
  std::vector<std::string> args = {"-f", "bmp", "-o", "out", "--memory=450"};
  for (int i = 0; i < 6; i++) {
    std::string name = "big" + std::to_string(i) + ".png";
    ASSERT_EQ(sh("pgmmake 0 4096 4096 | pnmtopng > " + name).code, 0);
    args.push_back(name);
  }
  write("small.PI1", goodPi1());
  long base = peakOf(dir, {"-f", "bmp", "-o", "out", "small.PI1"}).first;
  auto [peak, code] = peakOf(dir, args);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(files("out").size(), 7u);
  EXPECT_LE(peak, base + 450 * 1024) << "KiB at the peak, beyond " << base << " KiB of its own";

  // A file that needs more than the whole budget fails; the others are converted.
  Ran ran = convert("-f bmp -o out --force --memory=100 big0.png small.PI1");
  EXPECT_EQ(ran.code, 1);
  std::vector<std::string> lines = ran.errLines();
  ASSERT_EQ(lines.size(), 2u) << ran.err;
  EXPECT_EQ(lines[0].rfind("tarksen-convert: big0.png: needs ", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find(" MiB, more than the memory budget of 100 MiB"), std::string::npos)
      << lines[0];
  EXPECT_EQ(lines[1], "1 converted, 1 failed");

  Ran help = convert("--help");
  EXPECT_NE(help.out.find("--memory=MIB"), std::string::npos);
  EXPECT_NE(help.out.find("half the machine's memory, here "), std::string::npos);
}
