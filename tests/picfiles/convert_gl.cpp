// tarksen-convert beside the paint program: --as-shown gives the picture the paint
// program holds after loading the same file (LoadPIC, or the load by name for the
// kinds only the converter's reader knew before), and the converter's DEGAS files open
// in it.
#include <stdlib.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "paint/paint.h"
#include "picfiles/pic_core.h"
#include "picfiles/picfiles.h"
#include "platform/platform.h"
#include "tests/convert/cli.h"
#include "tests/picfiles/pic_expect.h"
#include "tests/picfiles/picmake.h"
#include "tests/picfiles/stmake.h"
#include "tests/support/gl.h"

class ConvertShown : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    if (!HaveTool("pngtopam")) GTEST_SKIP() << "netpbm is not installed";
    ClearTarget(rob_e$, GEMColor[2]);
  }
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
    return scratch.write(name, bytes);
  }
  // The converter's --as-shown picture of a file, as PNG (read by netpbm) and as BMP
  // (read by SDL); both must agree.
  Image shown(const std::string& name) {
    Ran r = Shell(ConvertCommand("--as-shown --force -f png -o shown.png '" + name + "'") + " && " +
                      ConvertCommand("--as-shown --force -f bmp -o shown.bmp '" + name + "'"),
                  dir);
    EXPECT_EQ(r.code, 0) << r.err;
    Pnm png = Netpbm(dir, "pngtopam shown.png");
    Image img(png.w, png.h);
    img.px = png.px;
    SDL_Surface* bmp = SDL_LoadBMP((dir + "/shown.bmp").c_str());
    EXPECT_NE(bmp, nullptr);
    if (bmp) {
      SDL_Surface* c = SDL_ConvertSurfaceFormat(bmp, SDL_PIXELFORMAT_ABGR8888, 0);
      Image fromBmp(c->w, c->h);
      for (int y = 0; y < c->h; y++)
        memcpy(&fromBmp.at(0, y), static_cast<uint8_t*>(c->pixels) + y * c->pitch,
               size_t(c->w) * 4);
      EXPECT_TRUE(SameImage(fromBmp, img, true)) << "the BMP holds the PNG's pixels";
      SDL_FreeSurface(c);
      SDL_FreeSurface(bmp);
    }
    return img;
  }
  Scratch scratch{"shown"};
  const std::string& dir = scratch.path;
  std::mt19937 rng{99};
};

struct ShownCase {
  const char* name;
  const char* file;  // the file converted
  int planes;        // the paint program's plane count for the reference
  bool sameFile;     // the reference is the file itself, else `reference`
  std::vector<uint8_t> bytes, reference;
  // Also written with --as-shown as this Atari format (-f): the file must be what the
  // shown picture itself converts to, not the input's palette and values kept.
  const char* atari = nullptr;
};

TEST_F(ConvertShown, AsShownIsThePictureThePaintProgramLoads) {
  auto body = [&](int w, int h, int planes) {
    return PlanesOf(RandomValues(rng, w, h, 1 << planes), w, h, planes);
  };
  std::vector<uint8_t> low = body(320, 200, 4), medium = body(640, 200, 2),
                       high = body(640, 400, 1);
  std::vector<uint16_t> words = RandomStWords(rng, 16);
  std::vector<uint8_t> spu = SpuOf(low, std::vector<uint16_t>(199 * 48, 0x0123));
  // A compressed Spectrum 512 file has no first line: its values are 0.
  std::vector<uint8_t> lowNoTop = low;
  std::fill(lowNoTop.begin(), lowNoTop.begin() + 160, 0);
  // clang-format off
  const ShownCase cases[] = {
      {"PI1", "x.PI1", 4, true, DegasOf(0, words, low, PicDegasBytes), {}},
      {"PI1 as PI1", "x.PI1", 4, true, DegasOf(0, words, low, PicDegasBytes), {}, "pi1"},
      {"PI2", "x.PI2", 2, true, DegasOf(1, words, medium, PicDegasBytes), {}},
      {"PI3", "x.PI3", 1, true, DegasOf(2, words, high, PicDegasBytes), {}},
      {"a 16-colour picture named PI3", "x.PI3", 1, true, DegasOf(0, words, low, PicDegasBytes), {}},
      {"PIC of 32,000 bytes", "x.PIC", 1, true, high, {}},
      {"GBF block", "x.GBF", 0, true, Gbf(37, 4, 3, PlanesOf(RandomValues(rng, 48, 5, 8), 48, 5, 3)), {}},
      {"PI1 of 32,034 bytes", "y.PI1", 4, false, DegasOf(0, words, low), low},
      {"PC1", "y.PC1", 4, false, PcOf(0, words, low), low},
      {"PC2", "y.PC2", 2, false, PcOf(1, words, medium), medium},
      {"NEO", "y.NEO", 4, false, NeoOf(0, words, low), low},
      {"SPU", "y.SPU", 4, false, spu, low},
      {"PC3", "y.PC3", 1, false, PcOf(2, words, high), high},
      {"SPC", "y.SPC", 4, false, SpcOf(lowNoTop, std::vector<uint16_t>(199 * 48, 0x0123)), lowNoTop},
      {"Doodle", "y.DOO", 1, false, high, high},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = write(c.file, c.bytes);
    std::string ref = c.sameFile ? path : write("ref.PI", c.reference);
    ClearTarget(rob_e$, GEMColor[2]);
    LoadPIC(ref.c_str(), c.planes);
    Image paint = ReadPixels(c.planes ? rob_e$ : blok$);
    const Image converted = shown(c.file);
    EXPECT_TRUE(SameImage(converted, paint, true));
    if (!c.sameFile) {
      // The program reads the file itself as well, by its name, and shows the same.
      ClearTarget(rob_e$, GEMColor[2]);
      laduj_plik(path.c_str(), 1);
      EXPECT_TRUE(SameImage(converted, ReadPixels(rob_e$), true)) << "the file itself";
    }
    if (c.atari) {
      std::string f = std::string(" --force -f ") + c.atari;
      Ran r = Shell(ConvertCommand("--as-shown" + f + " -o out.atari '" + c.file + "'") + " && " +
                        ConvertCommand(f + " -o png.atari shown.png"),
                    dir);
      ASSERT_EQ(r.code, 0) << r.err;
      std::vector<uint8_t> out = ReadBytes(dir + "/out.atari");
      EXPECT_EQ(out.size(), PicDegasBytes);
      EXPECT_TRUE(out == ReadBytes(dir + "/png.atari")) << "the shown picture's file";
    }
  }
}

TEST_F(ConvertShown, CommonDegasConvertedOpensInThePaintProgram) {
  const struct {
    const char* name;
    int planes, w, h, sx, sy;
    uint16_t res;
  } cases[] = {{"PI1", 4, 320, 200, 2, 2, 0},
               {"PI2", 2, 640, 200, 1, 2, 1},
               {"PI3", 1, 640, 400, 1, 1, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> values = RandomValues(rng, c.w, c.h, 1 << c.planes);
    write(std::string("common.") + c.name,
          DegasOf(c.res, RandomStWords(rng, 16), PlanesOf(values, c.w, c.h, c.planes)));
    std::string out = std::string("elite.") + c.name;
    Ran r = Shell(ConvertCommand(std::string("-o ") + out + " common." + c.name), dir);
    ASSERT_EQ(r.code, 0) << r.err;
    ClearTarget(rob_e$, GEMColor[2]);
    LoadPIC((dir + "/" + out).c_str(), c.planes);
    // Each value in the colour the paint program's table gives it, enlarged.
    Image expected(640, 400);
    expected.px = Enlarged(ThroughTable(values, c.planes), c.w, c.sx, c.sy);
    EXPECT_TRUE(SameImage(ReadPixels(rob_e$), expected));
  }
}

// A BMP goes onto the picture as the renderer copies a texture over 640x400 with
// nearest-neighbour sampling; --as-shown stretches PNG and BMP files the same way.
// Sizes whose samples fall exactly on pixel borders (a width that is a multiple of
// 256, a height of 32) are left out: renderers round those either way.
TEST_F(ConvertShown, StretchOfABmpIsTheRenderersCopy) {
  for (auto [w, h] : {std::pair{1000, 700}, {100, 37}, {320, 200}, {641, 401}, {1920, 1080}}) {
    SCOPED_TRACE(testing::Message() << w << "x" << h);
    PicImage img;
    img.w = w;
    img.h = h;
    for (int i = 0; i < w * h; i++) img.px.push_back((rng() & 0xFFFFFF) | 0xFF000000u);
    SDL_Texture* t =
        SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, w, h);
    ASSERT_NE(t, nullptr);
    SDL_UpdateTexture(t, nullptr, img.px.data(), w * 4);
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(t, SDL_ScaleModeNearest);
    SDL_SetRenderTarget(SDLRenderer, rob_e$);
    SDL_RenderCopy(SDLRenderer, t, nullptr, nullptr);
    SDL_DestroyTexture(t);
    Image copied = ReadPixels(rob_e$);
    Image expected(640, 400);
    PicStretch(img, expected.px);
    EXPECT_TRUE(SameImage(copied, expected, true));

    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(img.px.data(), w, h, 32, w * 4,
                                                        SDL_PIXELFORMAT_ABGR8888);
    ASSERT_EQ(SDL_SaveBMP(s, (dir + "/in.bmp").c_str()), 0);
    SDL_FreeSurface(s);
    EXPECT_TRUE(SameImage(shown("in.bmp"), copied, true));
  }
}
