// BMP files of every kind SDL reads and of many it refuses, made by netpbm, ImageMagick
// and field by field here, each loaded onto the picture and into the block. An accepted
// file becomes the block ImageMagick reads from it and the picture the renderer copies
// from SDL's surface of it; a refused one gives the alert, leaves picture and block as
// they were and allocates no more than a picture's worth; none crashes. Some headers ask
// for terabytes: this binary runs with the sanitizer's allocator returning null as
// malloc would.
#include <climits>
#include <string>
#include <vector>

#include "picfiles/picfiles.h"
#include "tests/picfiles/bmpmake.h"
#include "tests/picfiles/scene.h"
#include "tests/support/pnm.h"
#include "tests/support/run.h"

// Takes the place of the test build's own settings (tests/support/sanitizer_defaults.cpp,
// whose option it repeats): a header asking for terabytes must get a failed allocation,
// as it does outside the sanitizer, not an abort.
extern "C" const char* __asan_default_options() {
  return "allocator_may_return_null=1:intercept_tls_get_addr=0";
}

// The largest block this thread was given while `watching` (the sanitizer's allocator
// calls the hook for every allocation that succeeds, in any thread).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));
static thread_local bool watching = false;
static thread_local size_t largest = 0;
static void onMalloc(const volatile void*, size_t n) {
  if (watching && n > largest) largest = n;
}
static void onFree(const volatile void*) {}

namespace {

// A BMP built field by field: a 40-byte info header, optional channel masks after it,
// the palette (0xRRGGBB entries, their number in the header), then the stored pixels.
struct Fields {
  int32_t w = 0, h = 0;
  uint16_t bpp = 24;
  uint32_t compression = 0;
  std::vector<uint32_t> palette = {};
  std::vector<uint32_t> masks = {};
  std::vector<uint8_t> pixels = {};
};
std::vector<uint8_t> build(const Fields& f) {
  std::vector<uint8_t> b;
  auto le = [&b](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; i++) b.push_back(uint8_t(v >> (8 * i)));
  };
  uint32_t offset = 14 + 40 + 4 * uint32_t(f.masks.size() + f.palette.size());
  b.push_back('B'), b.push_back('M');
  le(offset + uint32_t(f.pixels.size()), 4), le(0, 4), le(offset, 4);
  le(40, 4), le(uint32_t(f.w), 4), le(uint32_t(f.h), 4), le(1, 2), le(f.bpp, 2);
  le(f.compression, 4), le(uint32_t(f.pixels.size()), 4), le(2835, 4), le(2835, 4);
  le(uint32_t(f.palette.size()), 4), le(0, 4);
  for (uint32_t m : f.masks) le(m, 4);
  for (uint32_t c : f.palette) le(c, 4);  // blue, green, red, 0
  b.insert(b.end(), f.pixels.begin(), f.pixels.end());
  return b;
}
std::vector<uint8_t> cut(std::vector<uint8_t> b, size_t n) {
  b.resize(n);
  return b;
}

// A 7x5 source image: odd rows to pad, a few colours, every pixel's neighbours differ.
RgbImage source(int colours) {
  static const uint32_t c[6] = {0xFF0000, 0x0000FF, 0x00FF00, 0xFFFFFF, 0x000000, 0x808000};
  RgbImage img{7, 5, std::vector<uint32_t>(35)};
  for (int i = 0; i < 35; i++) img.px[i] = c[(i % 7 + i / 7 * 2) % colours];
  return img;
}

enum Outcome { READ, REFUSED };
struct Row {
  std::string name;
  std::vector<uint8_t> file;  // empty: made by the command instead
  std::string command;        // writes OUT from the 7x5 image in IN (a PPM)
  Outcome outcome;
  int tolerance = 0;  // per channel, against ImageMagick's reading
};

class Corpus : public PicScene {};

TEST_F(Corpus, EveryFileLoadsOrIsRefusedWithTheAlert) {
  ASSERT_NE(__sanitizer_install_malloc_and_free_hooks(onMalloc, onFree), 0);
  std::string in = write("in.ppm", Ppm(7, 5, source(6).px, Layout::Rgb));
  Shell("ppmtopgm '" + in + "' | pgmtopbm -threshold > '" + dir + "/in.pbm'");

  const std::vector<uint8_t> bmp24 = Bmp24(source(6));
  Fields topDown{3, -2, 24};
  topDown.pixels = {0,   0,   255, 0, 255, 0, 255, 0,   0,   0, 0, 0,  // top row: red, green, blue
                    255, 255, 255, 0, 0,   0, 128, 128, 128, 0, 0, 0};
  Fields bgrx{2, 2, 32, 3};
  bgrx.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
  bgrx.pixels = {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 10, 20, 30, 0};
  Fields rgbx = bgrx;
  rgbx.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
  // RLE4: four rows of encoded runs, one absolute run, the end of the bitmap.
  Fields rle4{7, 5, 4, 2, {0xFF0000, 0x0000FF, 0x00FF00}, {}, {}};
  rle4.pixels = {7, 0x01, 0, 0, 7, 0x12, 0,    0,    7,    0x20, 0, 0, 3, 0x11,
                 4, 0x22, 0, 0, 0, 7,    0x01, 0x21, 0x02, 0x10, 0, 0, 0, 1};
  // 8 bits with a palette of two entries, one row padded to four bytes.
  Fields shortPalette{3, 1, 8, 0, {0x000000, 0xFFFFFF}, {}, {1, 0, 1, 0}};
  Fields pastPalette = shortPalette;
  pastPalette.pixels = {1, 5, 1, 0};
  Fields wide{INT32_MIN, 1, 24, 0, {}, {}, std::vector<uint8_t>(16)};
  Fields tall{1, INT32_MIN, 24, 0, {}, {}, std::vector<uint8_t>(16)};
  Fields terabytes{1000000, 1000000, 24, 0, {}, {}, std::vector<uint8_t>(64)};
  Fields gigabyte{16384, 16384, 32, 0, {}, {}, std::vector<uint8_t>(64)};  // 118 bytes
  Fields oddDepth{7, 5, 7, 0, {}, {}, std::vector<uint8_t>(40)};

  const std::string netpbm = "ppmtobmp ", magick = "convert IN ";
  // clang-format off
  const Row rows[] = {
      {"1 bit (netpbm)", {}, "ppmtobmp -bpp=1 " + dir + "/in.pbm > OUT", READ},
      {"4 bits (netpbm)", {}, netpbm + "-bpp=4 IN > OUT", READ},
      {"8 bits (netpbm)", {}, netpbm + "-bpp=8 IN > OUT", READ},
      {"24 bits (netpbm)", {}, netpbm + "-bpp=24 IN > OUT", READ},
      {"24 bits, OS/2 header (netpbm)", {}, netpbm + "-os2 -bpp=24 IN > OUT", READ},
      // SDL widens a full 6-bit green to 254 where ImageMagick gives 255.
      {"16 bits 5-6-5 bit fields (ImageMagick)", {}, magick + "-define bmp:subtype=RGB565 BMP:OUT",
       READ, 1},
      {"16 bits 5-5-5 (ImageMagick)", {}, magick + "-define bmp:subtype=RGB555 BMP:OUT", READ},
      {"32 bits with alpha (ImageMagick)", {},
       magick + "-alpha set -channel A -evaluate set 50% +channel BMP:OUT", READ},
      {"RLE8 (ImageMagick)", {}, magick + "-type palette -compress RLE BMP3:OUT", READ},
      {"RLE4", build(rle4), "", READ},
      {"top-down 24 bits", build(topDown), "", READ},
      {"32 bits, bit fields BGRX", build(bgrx), "", READ},
      {"32 bits, bit fields RGBX", build(rgbx), "", READ},
      {"8 bits, palette of two entries", build(shortPalette), "", READ},
      {"8 bits, a pixel past the palette", build(pastPalette), "", REFUSED},
      {"header cut after 2 bytes", cut(bmp24, 2), "", REFUSED},
      {"header cut after 14 bytes", cut(bmp24, 14), "", REFUSED},
      {"header cut after 30 bytes", cut(bmp24, 30), "", REFUSED},
      {"body cut in half", cut(bmp24, 54 + 60), "", REFUSED},
      {"width 2^31", build(wide), "", REFUSED},
      {"height 2^31", build(tall), "", REFUSED},
      {"a header asking for terabytes", build(terabytes), "", REFUSED},
      {"a header of 118 bytes asking for a gigabyte", build(gigabyte), "", REFUSED},
      {"7 bits a pixel", build(oddDepth), "", REFUSED},
      {"not a BMP", {'G', 'I', 'F', '8', '9', 'a', 0, 0}, "", REFUSED},
      {"empty", {}, "", REFUSED},
  };
  // clang-format on
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    std::string path = dir + "/x.bmp";
    remove(path.c_str());
    if (r.command.empty()) {
      write("x.bmp", r.file);
    } else {
      std::string cmd = r.command;
      cmd.replace(cmd.find("OUT"), 3, "'" + path + "'");
      if (cmd.find("IN") != std::string::npos) cmd.replace(cmd.find("IN"), 2, "'" + in + "'");
      Ran made = Shell(cmd);
      ASSERT_EQ(made.code, 0) << cmd << ": " << made.err;
    }
    RgbImage want = ReadWithImageMagick(path);
    if (r.outcome == READ) {
      ASSERT_GT(want.w, 0) << "ImageMagick cannot read it";
    }
    for (int32_t dest : {1, 2}) {
      SCOPED_TRACE(dest == 1 ? "onto the picture" : "into the block");
      reset();
      DrainEvents();
      PushKey(SDLK_ESCAPE);  // answers the alert, if there is one
      largest = 0;
      watching = true;
      LoadBMP(path.c_str(), dest);
      watching = false;
      bool alerted = SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYDOWN) == 0;
      if (r.outcome == REFUSED) {
        EXPECT_TRUE(alerted) << "no alert";
        EXPECT_TRUE(unchanged());
        // No more than a whole picture's worth, whatever the header asks for.
        EXPECT_LE(largest, size_t(640 * 400 * 4)) << "allocated for a refused file";
        continue;
      }
      EXPECT_FALSE(alerted) << "alert: " << SDL_GetError();
      if (dest == 1) {
        // What the renderer copies of SDL's surface of the file: no size here puts a
        // pixel's centre on a border, so the copy is exact everywhere.
        EXPECT_TRUE(SameImage(ReadPixels(rob_e$), RendererCopy(path)));
        EXPECT_TRUE(SameImage(ReadPixels(blok$), block)) << "the block stays";
      } else {
        // ImageMagick's pixels, at the file's own size.
        Image expected(want.w, want.h);
        for (size_t i = 0; i < want.px.size(); i++) expected.px[i] = FromRgb(want.px[i], 0);
        EXPECT_TRUE(SameImage(ReadPixels(blok$), expected, {0xFFFFFF, r.tolerance}));
        EXPECT_TRUE(SameImage(ReadPixels(rob_e$), picture)) << "the picture stays";
      }
    }
  }
}

}  // namespace
