#include <stdlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "paint/paint.h"
#include "picfiles/pic_core.h"
#include "picfiles/picfiles.h"
#include "platform/platform.h"
#include "tests/picfiles/pic_expect.h"
#include "tests/picfiles/picmake.h"
#include "tests/picfiles/scene.h"
#include "tests/support/gl.h"
#include "toolkit/toolkit.h"

using PicFiles = PicScene;

// The picture as stretched values: pixel (x, y) is value (x / sx, y / sy) of a w-wide
// pattern, in the colour the table gives it.
static Image expectedPicture(const std::vector<uint8_t>& values, int w, int planes, int sx,
                             int sy) {
  Image img(640, 400);
  img.px = Enlarged(ThroughTable(values, planes), w, sx, sy);
  return img;
}

// The expected pictures are built in TestPalette.
TEST_F(PicFiles, TestPaletteIsTheProgramsPalette) {
  EXPECT_EQ(memcmp(TestPalette, GEMColor, sizeof GEMColor), 0);
}

// A DEGAS layout also loads from the 32,034 bytes DEGAS itself writes: the same body
// at offset 34, without the colour-cycling tail.
TEST_F(PicFiles, LoadPutsEachScreenLayoutOverTheWholePicture) {
  SDL_Texture* block = blok$;
  for (const auto& c : ScreenLayouts) {
    std::vector<uint8_t> values = Pattern(c.w, c.h, c.planes);
    std::vector<uint8_t> body = PlanesOf(values, c.w, c.h, c.planes);
    std::vector<uint8_t> degas = Degas(body);
    std::vector<std::vector<uint8_t>> files = {c.degas ? degas : body};
    if (c.degas) files.emplace_back(degas.begin(), degas.begin() + 32034);
    for (const auto& file : files) {
      SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(file.size()) + " bytes");
      std::string path = write("x.PI", file);
      ClearTarget(rob_e$, GEMColor[2]);
      LoadPIC(path.c_str(), c.planes);
      EXPECT_TRUE(
          SameImage(ReadPixels(rob_e$), expectedPicture(values, c.w, c.planes, c.sx, c.sy)));
      EXPECT_EQ(blok$, block);
    }
  }
}

TEST_F(PicFiles, LoadReplacesDrawingStillQueuedForThePicture) {
  std::vector<uint8_t> values = Pattern(640, 400, 1);
  std::string path = write("x.PIC", PlanesOf(values, 640, 400, 1));
  SDL_SetRenderTarget(SDLRenderer, rob_e$);
  SDLDrawColor(GEMColor[6]);
  SDL_RenderClear(SDLRenderer);
  LoadPIC(path.c_str(), 1);
  EXPECT_EQ(SDL_GetRenderTarget(SDLRenderer), rob_e$) << "target left alone";
  EXPECT_TRUE(SameImage(ReadPixels(rob_e$), expectedPicture(values, 640, 1, 1, 1)));
}

struct BlockCase {
  const char* name;
  uint16_t w, rows, planes;
  int width;  // of the block: w rounded up to whole groups of 16
};

TEST_F(PicFiles, GbfBecomesTheBlockAtItsOwnSize) {
  // clang-format off
  const BlockCase cases[] = {
      {"W = 20, one row, one plane", 20, 1, 1, 32},
      {"three planes", 40, 7, 3, 48},
      {"a 32,006-byte file", 640, 400, 1, 640},
      {"four planes", 33, 5, 4, 48},
  };
  // clang-format on
  Image picture = ReadPixels(rob_e$);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> values = Pattern(c.width, c.rows, c.planes);
    std::string path = write("x.GBF", Gbf(c.w, uint16_t(c.rows - 1), c.planes,
                                          PlanesOf(values, c.width, c.rows, c.planes)));
    LoadPIC(path.c_str(), 0);
    ASSERT_NE(blok$, nullptr);
    int w = 0, h = 0, access = 0;
    SDL_QueryTexture(blok$, nullptr, &access, &w, &h);
    EXPECT_EQ(w, c.width);
    EXPECT_EQ(h, c.rows);
    EXPECT_EQ(access, SDL_TEXTUREACCESS_TARGET) << "saving the block reads it back as a target";
    Image expected(c.width, c.rows);
    expected.px = ThroughTable(values, c.planes);
    EXPECT_TRUE(SameImage(ReadPixels(blok$), expected));
    EXPECT_TRUE(SameImage(ReadPixels(rob_e$), picture)) << "the picture stays";
  }
}

// Writes the picture through SaveDoodle as the save command does, and gives the file.
static std::vector<uint8_t> saveDoodle(const std::string& path) {
  SDL_SetRenderTarget(SDLRenderer, rob_e$);
  EXPECT_EQ(SaveDoodle(path.c_str()), 0);
  return ReadBytes(path);
}

TEST_F(PicFiles, DoodleOfAYellowLineReadsBackBlackOnWhite) {
  lineAndBox();
  std::string path = dir + "/x.PIC";
  EXPECT_EQ(saveDoodle(path).size(), 32000u);

  ClearTarget(rob_e$, GEMColor[2]);
  LoadPIC(path.c_str(), 1);
  Image expected(640, 400, GEMColor[0]);
  for (int x = 20; x <= 500; x++) expected.at(x, 30) = GEMColor[1];
  for (int y = 390; y < 400; y++)
    for (int x = 600; x < 640; x++) expected.at(x, y) = GEMColor[1];
  EXPECT_TRUE(SameImage(ReadPixels(rob_e$), expected));
}

TEST_F(PicFiles, DoodleIsAlways32000Bytes) {
  std::string path = dir + "/x.PIC";
  ClearTarget(rob_e$, GEMColor[0]);
  EXPECT_EQ(saveDoodle(path), std::vector<uint8_t>(32000, 0)) << "all white";
  ClearTarget(rob_e$, GEMColor[14]);
  EXPECT_EQ(saveDoodle(path), std::vector<uint8_t>(32000, 0xFF)) << "all light yellow";
}

// The window while the alert stands, dismissed by a key pushed beforehand; the key
// must have been taken by the alert. Every alert starts from the same globals, since
// the icon takes its colours from them and the buttons change them.
template <typename F>
static Image windowDuringAlert(F show) {
  ResetGlobals();
  ClearTarget(nullptr, Px(0, 0, 64, 255));
  PushKey(SDLK_RETURN);
  show();
  EXPECT_EQ(SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYDOWN), 0)
      << "no alert took the key";
  EXPECT_EQ(InKey, 0);
  return ReadPixels(nullptr);
}

struct RejectCase {
  const char* name;
  std::vector<uint8_t> file;
  int planes;
  enum { File, Missing, Directory } kind = File;
};

TEST_F(PicFiles, RejectedFileShowsItsAlertAndChangesNothing) {
  const Image noFile =
      windowDuringAlert([] { GEMMessage(0, 100, "Nie ma takiego pliku", 0, "i|Powrót"); });
  const Image badFormat =
      windowDuringAlert([] { GEMMessage(64, 100, "Niewłaściwy\nformat pliku", 0, "i|Powrót"); });

  SDL_RendererInfo info;
  SDL_GetRendererInfo(SDLRenderer, &info);
  ASSERT_LT(info.max_texture_width, 65536) << "the too-wide block would fit";
  std::vector<uint8_t> gbf32007 = Gbf(640, 399, 1, std::vector<uint8_t>(32001));
  // clang-format off
  const RejectCase cases[] = {
      {"no such file", {}, 4, RejectCase::Missing},
      {"a directory", {}, 4, RejectCase::Directory},
      {"DEGAS one byte short of 32,034", std::vector<uint8_t>(32033), 4},
      {"empty picture", {}, 1},
      {"empty block", {}, 0},
      {"GBF of 6 bytes", Gbf(16, 0, 1, {}), 0},
      {"GBF of 32,007 bytes", gbf32007, 0},
      {"GBF of 0 planes", Gbf(16, 0, 0, {0, 0}), 0},
      {"GBF of 5 planes", Gbf(16, 0, 5, std::vector<uint8_t>(10)), 0},
      {"GBF whose header claims more rows", Gbf(16, 2, 1, std::vector<uint8_t>(4)), 0},
      {"GBF block wider than the largest texture", Gbf(65535, 0, 1, std::vector<uint8_t>(8192)),
       0},
  };
  // clang-format on
  const Image picture = ReadPixels(rob_e$);
  SDL_Texture* const block = blok$;
  const Image blockPixels = ReadPixels(blok$);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = c.kind == RejectCase::Missing     ? dir + "/none.PI1"
                       : c.kind == RejectCase::Directory ? dir
                                                         : write("x.PI", c.file);
    Image window = windowDuringAlert([&] { LoadPIC(path.c_str(), c.planes); });
    EXPECT_TRUE(SameImage(window, c.kind == RejectCase::Missing ? noFile : badFormat));
    EXPECT_TRUE(SameImage(ReadPixels(rob_e$), picture));
    EXPECT_EQ(blok$, block);
    EXPECT_TRUE(SameImage(ReadPixels(blok$), blockPixels));
  }
}
