// The load and save commands through the real file selector, fed with pushed events as
// a user types: the reader chosen by the name, what lands on the picture and in the
// block, every failure with its alert and nothing changed, and what saved files hold.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iostream>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "filesel/filesel.h"
#include "paint/paint.h"
#include "picfiles/picfiles.h"
#include "picfiles/png_core.h"
#include "platform/platform.h"
#include "tests/paint/draw_gl.h"
#include "tests/picfiles/bmpmake.h"
#include "tests/picfiles/pic_expect.h"
#include "tests/picfiles/picmake.h"
#include "tests/picfiles/pngmake.h"
#include "tests/picfiles/scene.h"
#include "tests/picfiles/stmake.h"
#include "tests/support/alerts.h"
#include "tests/support/gl.h"
#include "tests/support/mounts.h"
#include "tests/support/scratch.h"
#include "tests/support/users.h"

using Step = std::function<void()>;

// A user who types path into the name field as the dialog opens, deletes the offered
// name behind it (offered bytes), ends the editing with Enter and takes the name with a
// second Enter; then Escape for an alert, if one follows. Paths are ASCII here, typed
// in pieces that fit a text event.
static std::vector<Step> choose(const std::string& path, size_t offered = 0) {
  return {[=] {
            for (size_t i = 0; i < path.size(); i += 31) PushText(path.substr(i, 31).c_str());
            for (size_t i = 0; i < offered; i++) PushKey(SDLK_DELETE);
            PushKey(SDLK_RETURN);
          },
          [] { PushKey(SDLK_RETURN); }, [] { PushKey(SDLK_ESCAPE); }};
}

// The texts of the alerts shown.
static std::vector<std::string>& alerts = ShownAlerts();

// An image of 0xRRGGBB pixels as the textures hold it: opaque.
static Image opaque(const RgbImage& img) {
  Image out(img.w, img.h);
  for (size_t i = 0; i < img.px.size(); i++) out.px[i] = FromRgb(img.px[i], 255);
  return out;
}
// The window's pixels as 0xRRGGBB, to compare with what ImageMagick reads.
static RgbImage rgbOf(const Image& img) {
  RgbImage out{img.w, img.h, std::vector<uint32_t>(img.px.size())};
  for (size_t i = 0; i < img.px.size(); i++) out.px[i] = ToRgb(img.px[i]);
  return out;
}

class Commands : public PicScene {
 protected:
  // Runs a command (laduj or zapisz) as the user gives the steps, the window cleared
  // first so what it shows afterwards is the command's own.
  void run(const std::function<void()>& command, std::vector<Step> steps) {
    ClearTarget(nullptr, Px(0, 0, 64, 255));
    DrainEvents();
    Player p(std::move(steps));
    command();
  }
  // The alert panel as the toolkit draws it with the commands' icon colours.
  static Image alert(int dx, int dy, const char* text) {
    ClearTarget(nullptr, Px(0, 0, 64, 255));
    Color = 0xFFFFFFFF;
    ColorB = 0xFF;
    PushKey(SDLK_ESCAPE);
    GEMMessage(dx, dy, text, 0, "i|Powrót");
    return panel();
  }
  static Image panel() {
    SDL_Rect r = {AlertX, AlertY, AlertW, AlertH};
    return ReadPixels(nullptr, &r);
  }
};

// A 4x2 BMP whose every pixel differs.
static const RgbImage Small = {4,
                               2,
                               {0xFF0000, 0x00FF00, 0x0000FF, 0x123456,  //
                                0xFFFFFF, 0x000000, 0x808080, 0xABCDEF}};

TEST_F(Commands, TheNameChoosesTheReader) {
  const std::vector<uint8_t> pi1 = Degas(PlanesOf(Pattern(320, 200, 4), 320, 200, 4));
  const std::vector<uint8_t> gbf = Gbf(20, 0, 1, PlanesOf(Pattern(32, 1, 1), 32, 1, 1));
  const std::vector<uint8_t> bmp = Bmp24(Small);
  const std::vector<uint8_t> png = PngRgbOf(4, 2, Small.px);
  // The other Atari kinds of the same 16-colour picture, each with its own palette,
  // which the program does not show.
  const std::vector<uint8_t> body4 = PlanesOf(Pattern(320, 200, 4), 320, 200, 4);
  const std::vector<uint16_t> words(16, 0x0123);
  const std::vector<uint8_t> pc1 = PcOf(0, words, body4), neo = NeoOf(0, words, body4),
                             spu = SpuOf(body4, std::vector<uint16_t>(199 * 48, 0x0456)),
                             spc = SpcOf(body4, std::vector<uint16_t>(199 * 48, 0x0456)),
                             doodle = PlanesOf(Pattern(640, 400, 1), 640, 400, 1);
  ASSERT_EQ(mkdir((dir + "/pics.old").c_str(), 0755), 0);

  Image pi1Picture(640, 400), bmpPicture(640, 400), gbfBlock(32, 1);
  std::vector<uint32_t> values = ThroughTable(Pattern(320, 200, 4), 4);
  for (int y = 0; y < 400; y++)
    for (int x = 0; x < 640; x++) {
      pi1Picture.at(x, y) = values[size_t(y / 2) * 320 + x / 2];
      bmpPicture.at(x, y) = opaque(Small).at(x / 160, y / 200);
    }
  gbfBlock.px = ThroughTable(Pattern(32, 1, 1), 1);
  const Image smallBlock = opaque(Small);
  Image doodlePicture(640, 400);
  doodlePicture.px = ThroughTable(Pattern(640, 400, 1), 1);
  // A Spectrum 512 file compressed holds no first line: it shows in value 0, white.
  Image spcPicture = pi1Picture;
  for (int y = 0; y < 2; y++)
    for (int x = 0; x < 640; x++) spcPicture.at(x, y) = GEMColor[0];

  enum Outcome { UNKNOWN, PICTURE, BLOCK };
  struct {
    const char* name;
    const std::vector<uint8_t>& file;
    int32_t command;
    Outcome outcome;
    const Image& expected;
    // clang-format off
  } rows[] = {
      {"x.Pi1", pi1, 0, UNKNOWN, picture},
      {"x.gbf", gbf, 2, UNKNOWN, picture},
      {"x.Bmp", bmp, 1, UNKNOWN, picture},
      {"pics.old/readme", bmp, 1, UNKNOWN, picture},
      {"x.PI1", pi1, 0, PICTURE, pi1Picture},
      {"x.PI1", pi1, 2, PICTURE, pi1Picture},
      {"x.bmp", bmp, 1, PICTURE, bmpPicture},
      {"x.BMP", bmp, 1, PICTURE, bmpPicture},
      {"x.BMP", bmp, 0, BLOCK, smallBlock},
      {"x.bmp", bmp, 2, BLOCK, smallBlock},
      {"x.GBF", gbf, 1, BLOCK, gbfBlock},
      {"x.png", png, 1, PICTURE, bmpPicture},
      {"x.PNG", png, 1, PICTURE, bmpPicture},
      {"x.PNG", png, 0, BLOCK, smallBlock},
      {"x.png", png, 2, BLOCK, smallBlock},
      {"x.DOO", doodle, 0, PICTURE, doodlePicture},
      {"x.PC1", pc1, 2, PICTURE, pi1Picture},
      {"x.NEO", neo, 0, PICTURE, pi1Picture},
      {"x.SPU", spu, 1, PICTURE, pi1Picture},
      {"x.SPC", spc, 0, PICTURE, spcPicture},
      {"x.Png", png, 1, UNKNOWN, picture},
      {"x.pc1", pc1, 0, UNKNOWN, picture},
      {"x.Neo", neo, 0, UNKNOWN, picture},
      {"x.doo", doodle, 0, UNKNOWN, picture},
  };
  // clang-format on
  const Image unknown = alert(16, 100, "Nieznany typ pliku");
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.name) + " with load command " + std::to_string(r.command));
    reset();
    std::string path = write(r.name, r.file);
    run([&] { laduj(r.command); }, choose(path));
    if (r.outcome == UNKNOWN) {
      EXPECT_TRUE(SameImage(panel(), unknown));
      EXPECT_TRUE(unchanged());
    } else if (r.outcome == PICTURE) {
      EXPECT_TRUE(SameImage(ReadPixels(rob_e$), r.expected));
      EXPECT_TRUE(SameImage(ReadPixels(blok$), block)) << "the block stays";
    } else {
      EXPECT_TRUE(SameImage(ReadPixels(blok$), r.expected));
      EXPECT_TRUE(SameImage(ReadPixels(rob_e$), picture)) << "the picture stays";
    }
    remove(path.c_str());
  }
}

// SDL's own error for what it is asked to do, as the alert should quote it.
static std::string sdlError(bool ok) { return ok ? "(no error)" : SDL_GetError(); }

TEST_F(Commands, AFailedLoadShowsItsAlertAndChangesNothing) {
  std::string missingBmp = dir + "/none.BMP", malformed = write("bad.BMP", {'B', 'M', 1, 2, 3});
  std::string directory = dir + "/sub.BMP";
  ASSERT_EQ(mkdir(directory.c_str(), 0755), 0);
  SDL_RendererInfo info;
  SDL_GetRendererInfo(SDLRenderer, &info);
  RgbImage wide{info.max_texture_width + 1, 1,
                std::vector<uint32_t>(info.max_texture_width + 1u, 0)};
  std::string tooWide = write("wide.BMP", Bmp24(wide));

  auto loadError = [](const std::string& p) {
    SDL_RWops* rw = SDL_RWFromFile(p.c_str(), "rb");
    SDL_Surface* s = rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
    if (s) SDL_FreeSurface(s);
    return sdlError(s);
  };
  SDL_Texture* t =
      SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET, wide.w, 1);
  std::string textureError = sdlError(t);
  if (t) SDL_DestroyTexture(t);

  struct {
    const char* name;
    std::string path;
    int32_t command;
    int dx, dy;
    std::string text;
    // clang-format off
  } rows[] = {
      {"a missing picture", dir + "/none.PI1", 0, 0, 100, "Nie ma takiego pliku"},
      {"a missing BMP", missingBmp, 1, 0, 50, missingBmp + ": No such file or directory"},
      {"a malformed BMP", malformed, 1, 0, 50, loadError(malformed)},
      {"a directory named as a BMP", directory, 2, 0, 50, directory + ": Is a directory"},
      {"a block too wide for a texture", tooWide, 2, 0, 50, textureError},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Image expected = alert(r.dx, r.dy, r.text.c_str());
    run([&] { laduj(r.command); }, choose(r.path));
    EXPECT_TRUE(SameImage(panel(), expected)) << r.text;
    EXPECT_TRUE(unchanged());
  }
  // The same wide file fits the picture, which is stretched in memory.
  run([&] { laduj(1); }, choose(tooWide));
  EXPECT_TRUE(SameImage(ReadPixels(rob_e$), Image(640, 400, Px(0, 0, 0, 255))));
}

// PNGs of every odd kind: those libpng reads land on the picture as a BMP would, each
// of the 4x2 pixels over a 160x200 area with its alpha; the others give the reason in
// the alert and change nothing.
TEST_F(Commands, OddAndHostilePngsLoadOrGiveTheirAlert) {
  auto px = [](uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) {
    return Px(uint8_t(r), uint8_t(g), uint8_t(b), uint8_t(a));
  };
  std::vector<uint32_t> grey, rgba16, rgb;
  std::vector<uint32_t> greyPx, rgbaPx, rgbPx, palettePx;
  for (uint32_t i = 0; i < 8; i++) {
    grey.insert(grey.end(), {i * 30, 255 - i * 30});
    greyPx.push_back(px(i * 30, i * 30, i * 30, 255 - i * 30));
    rgba16.insert(rgba16.end(), {i * 0x2000 + 0xFF, 0x1234, 0xFFFF - i, i * 0x1000});
    rgbaPx.push_back(px(i * 0x20, 0x12, 0xFF, i * 0x10));
    rgb.insert(rgb.end(), {i, 2 * i, 255 - i});
    rgbPx.push_back(px(i, 2 * i, 255 - i));
    palettePx.push_back(i % 3 == 0 ? px(10, 20, 30, 40) : px(50, 60, 70));
  }
  const std::vector<uint8_t> good = PngRgbOf(4, 2, Small.px);
  std::vector<uint8_t> badCrc = good, huge = good;
  badCrc[29] ^= 1;
  huge[18] = huge[19] = huge[22] = huge[23] = 0xFF;  // 65535 x 65535, CRC not made good
  struct {
    const char* name;
    std::vector<uint8_t> file;
    std::vector<uint32_t> loaded;  // 4x2, or empty for a refusal
    // clang-format off
  } rows[] = {
      {"16-bit RGBA", PngOf(4, 2, 16, 6, rgba16), rgbaPx},
      {"palette with tRNS",
       PngOf(4, 2, 8, 3, {0, 1, 1, 0, 1, 1, 0, 1}, false, {10, 20, 30, 50, 60, 70}, {40}), palettePx},
      {"grey with alpha", PngOf(4, 2, 8, 4, grey), greyPx},
      {"interlaced", PngOf(4, 2, 8, 2, rgb, true), rgbPx},
      {"truncated", std::vector<uint8_t>(good.begin(), good.end() - 20), {}},
      {"a header of 65535x65535", huge, {}},
      {"a bad CRC", badCrc, {}},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    reset();
    std::string path = write("odd.png", r.file);
    PicImage decoded;
    std::string why = PngDecode(r.file.data(), r.file.size(), decoded);
    if (r.loaded.empty()) {
      ASSERT_NE(why, "");
      Image expected = alert(0, 50, why.c_str());
      run([&] { laduj(1); }, choose(path));
      EXPECT_TRUE(SameImage(panel(), expected)) << why;
      EXPECT_TRUE(unchanged());
      continue;
    }
    run([&] { laduj(1); }, choose(path));
    Image want(640, 400);
    for (int y = 0; y < 400; y++)
      for (int x = 0; x < 640; x++) want.at(x, y) = r.loaded[size_t(y / 200) * 4 + x / 160];
    EXPECT_TRUE(SameImage(ReadPixels(rob_e$), want));
    EXPECT_TRUE(SameImage(ReadPixels(blok$), block)) << "the block stays";
  }
}

TEST_F(Commands, AQuitRequestInTheSelectorEndsTheCommandWithNothingDone) {
  for (int32_t c : {0, 1, 2}) {
    SCOPED_TRACE("load command " + std::to_string(c));
    // The name typed so far is a file that would load.
    std::string path = write("x.BMP", Bmp24(Small));
    run([&] { laduj(c); }, {[&] { PushText(path.substr(0, 31).c_str()); }, [] { PushQuit(); }});
    EXPECT_EQ(Quit, 1) << "left set for the control screen";
    Quit = 0;
    EXPECT_TRUE(unchanged());
  }
  for (int32_t c : {0, 1, 2}) {
    SCOPED_TRACE("save command " + std::to_string(c));
    std::string path = dir + "/saved";
    run([&] { zapisz(c); }, {[&] { PushText(path.c_str()); }, [] { PushQuit(); }});
    EXPECT_EQ(Quit, 1);
    Quit = 0;
    EXPECT_NE(access((path + typ$[c]).c_str(), F_OK), 0) << "nothing written";
    EXPECT_NE(access((path + ".PIC").c_str(), F_OK), 0);
  }
}

TEST_F(Commands, SavedFilesHoldThePictureAndTheBlock) {
  // A picture of white, a yellow line, a grey box, a red line and a blue box.
  lineAndBox();
  SDLDrawColor(GEMColor[2]);
  SDL_RenderDrawLine(SDLRenderer, 20, 40, 500, 40);
  SDLDrawColor(GEMColor[4]);
  SDL_Rect blue = {0, 0, 7, 9};
  SDL_RenderFillRect(SDLRenderer, &blue);
  const Image drawn = ReadPixels(rob_e$);
  // A 37x5 block of the palette's colours.
  SDL_DestroyTexture(blok$);
  blok$ = SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET, 37, 5);
  Image blockPixels(37, 5);
  for (int i = 0; i < 37 * 5; i++) blockPixels.px[i] = GEMColor[i % 16];
  SDL_UpdateTexture(blok$, nullptr, blockPixels.px.data(), 37 * 4);

  {
    SCOPED_TRACE("Doodle: only pure white stays white");
    run([&] { zapisz(0); }, choose(dir + "/d"));
    EXPECT_EQ(ReadBytes(dir + "/d.PIC").size(), 32000u);
    run([&] { laduj(0); }, choose(dir + "/d.PIC"));
    Image bw(640, 400, GEMColor[0]);
    for (int i = 0; i < 640 * 400; i++)
      if (Rgb(drawn.px[i]) != 0xFFFFFF) bw.px[i] = GEMColor[1];
    EXPECT_TRUE(SameImage(ReadPixels(rob_e$), bw));
  }
  SDL_UpdateTexture(rob_e$, nullptr, drawn.px.data(), 640 * 4);
  {
    SCOPED_TRACE("BMP of the picture: its red, green and blue");
    run([&] { zapisz(1); }, choose(dir + "/p"));
    RgbImage file = ReadWithImageMagick(dir + "/p.BMP");
    ASSERT_EQ(file.w, 640);
    EXPECT_TRUE(SamePixels(file.px, rgbOf(drawn).px, 640, Layout::Rgb));
    ClearTarget(rob_e$, GEMColor[5]);
    run([&] { laduj(1); }, choose(dir + "/p.BMP"));
    EXPECT_TRUE(SameImage(ReadPixels(rob_e$), drawn, true));
  }
  {
    SCOPED_TRACE("BMP of a 37x5 block, loaded back into the block");
    run([&] { zapisz(2); }, choose(dir + "/b"));
    RgbImage file = ReadWithImageMagick(dir + "/b.BMP");
    ASSERT_EQ(file.w, 37);
    ASSERT_EQ(file.h, 5);
    EXPECT_TRUE(SamePixels(file.px, rgbOf(blockPixels).px, 37, Layout::Rgb));
    reset();
    run([&] { laduj(2); }, choose(dir + "/b.BMP"));
    EXPECT_TRUE(SameImage(ReadPixels(blok$), blockPixels, true));
  }
  {
    SCOPED_TRACE("PNG of the picture and of the block: the pixels the BMPs hold");
    SDL_UpdateTexture(rob_e$, nullptr, drawn.px.data(), 640 * 4);
    run([&] { zapisz(1); }, choose(dir + "/p.png", 4));
    RgbImage file = ReadWithImageMagick(dir + "/p.png");
    ASSERT_EQ(file.w, 640);
    EXPECT_TRUE(SamePixels(file.px, rgbOf(drawn).px, 640, Layout::Rgb));
    ClearTarget(rob_e$, GEMColor[5]);
    run([&] { laduj(1); }, choose(dir + "/p.png", 4));
    EXPECT_TRUE(SameImage(ReadPixels(rob_e$), drawn, true)) << "a 640x400 PNG loads 1:1";
    run([&] { zapisz(2); }, choose(dir + "/b.PNG", 4));
    file = ReadWithImageMagick(dir + "/b.PNG");
    ASSERT_EQ(file.w, 37);
    EXPECT_TRUE(SamePixels(file.px, ReadWithImageMagick(dir + "/b.BMP").px, 37, Layout::Rgb));
    EXPECT_EQ(ReadBytes(dir + "/p.png").at(25), 2) << "8-bit RGB, never indexed";
    run([&] { zapisz(2); }, choose(dir + "/b.Png", 4));
    EXPECT_EQ(ReadBytes(dir + "/b.Png").at(0), 'B') << "any other name writes a BMP";
  }
  {
    SCOPED_TRACE("a file there is replaced and keeps its mode");
    std::string old = write("old.BMP", {1, 2, 3});
    ASSERT_EQ(chmod(old.c_str(), 0640), 0);
    run([&] { zapisz(2); }, choose(dir + "/old"));
    EXPECT_EQ(ReadWithImageMagick(old).w, 37);
    struct stat st;
    ASSERT_EQ(stat(old.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
  }
  EXPECT_EQ(Quit, 0);
}

// The BMP writer stands in for SDL's: for any rectangle of the render target the file
// is SDL_SaveBMP's of the same read-back, byte for byte.
TEST_F(PicScene, BmpSavesAreWhatSdlsWriterMakesOfTheSamePixels) {
  // Every pixel its own colour and alpha, so a swapped channel or row shows.
  Image all(640, 400);
  for (size_t i = 0; i < all.px.size(); i++) all.px[i] = uint32_t(i * 2654435761u);
  SDL_UpdateTexture(rob_e$, nullptr, all.px.data(), 640 * 4);
  const SDL_Rect rects[] = {{0, 0, 640, 400}, {0, 0, 1, 1},    {5, 7, 2, 3},
                            {13, 390, 3, 10}, {600, 2, 37, 5}, {1, 1, 4, 4}};
  SDL_SetRenderTarget(SDLRenderer, rob_e$);
  for (const SDL_Rect& r : rects) {
    SCOPED_TRACE(testing::Message() << r.w << "x" << r.h << " at " << r.x << ", " << r.y);
    std::string ours = dir + "/ours.bmp", sdls = dir + "/sdls.bmp";
    ASSERT_EQ(SaveSurface(r.x, r.y, r.w, r.h, ours.c_str()), 0) << SDL_GetError();
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, r.w, r.h, 32, SDL_PIXELFORMAT_XBGR8888);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(SDL_RenderReadPixels(SDLRenderer, &r, SDL_PIXELFORMAT_ABGR8888, s->pixels, s->pitch),
              0);
    ASSERT_EQ(SDL_SaveBMP(s, sdls.c_str()), 0);
    SDL_FreeSurface(s);
    std::vector<uint8_t> a = ReadBytes(ours), b = ReadBytes(sdls);
    ASSERT_EQ(a.size(), b.size());
    size_t first = std::mismatch(a.begin(), a.end(), b.begin()).first - a.begin();
    EXPECT_EQ(first, a.size()) << "first differing byte";
  }
}

TEST_F(Commands, CancelSavesNothing) {
  char* base = SDL_GetBasePath();
  std::string offered = std::string(base) + ".PIC";
  SDL_free(base);
  remove(offered.c_str());
  run([] { zapisz(0); },
      {[] { PushKey(SDLK_RETURN); }, [] { PushClick(SDL_BUTTON_LEFT, 580, 388); }});
  EXPECT_NE(access(offered.c_str(), F_OK), 0) << "the offered .PIC was not written";
}

TEST_F(Commands, AFailedSaveShowsItsAlertAndKeepsTheOldFile) {
  const Image cannotWrite = alert(8, 100, "Błąd otwarcia pliku");
  std::string m = dir + "/m";
  ASSERT_EQ(mkdir(m.c_str(), 0755), 0);
  ASSERT_EQ(mkdir((dir + "/sub.BMP").c_str(), 0755), 0);
  const std::vector<uint8_t> old = {'o', 'l', 'd'};
  struct {
    const char* name;
    int32_t command;
    std::string path;  // typed, the offered name kept behind it
    int kib = 0;       // a tmpfs of this size on m, holding m/old.BMP and m/old.PIC
    bool readOnly = false;
    mode_t oldMode = 0;  // m/old.BMP made this mode and saved as the user nobody
    uid_t oldOwner = 0;
    // clang-format off
  } rows[] = {
      {"BMP into a read-only directory", 1, m + "/old", 64, true},
      {"Doodle into a read-only directory", 0, m + "/new", 64, true},
      {"BMP on a disk that fills up", 1, m + "/old", 16},
      {"block on a disk that fills up", 2, m + "/new", 12},
      {"Doodle on a disk that fills up", 0, m + "/old", 16},
      {"a directory", 1, dir + "/sub"},
      {"a device", 1, "/dev/full"},
      {"a device for the Doodle", 0, "/dev/full"},
      {"a read-only file of the user's", 1, m + "/old", 64, false, 0444, OtherUid},
      {"another user's file in a shared directory", 1, m + "/old", 64, false, 0644, 0},
  };
  // clang-format on
  // The block needs more than a page: 100x20 pixels, 6 KiB as a BMP.
  SDL_DestroyTexture(blok$);
  blok$ =
      SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET, 100, 20);
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    if (r.kib) {
      Unmount(m);
      std::string why = MountTmpfs(m, r.kib);
      if (why.empty()) {
        WriteBytes(m + "/old.BMP", old);
        WriteBytes(m + "/old.PIC", old);
        // The disk-full rows leave one page free: the write starts, then runs out.
        if (!r.readOnly && r.kib > 12) WriteBytes(m + "/filler", std::vector<uint8_t>(4096));
        if (r.readOnly) why = MountTmpfs(m, r.kib, true);
        if (r.oldMode) {
          chmod(dir.c_str(), 0755);
          chmod(m.c_str(), 0777);
          chown((m + "/old.BMP").c_str(), r.oldOwner, r.oldOwner);
          chmod((m + "/old.BMP").c_str(), r.oldMode);
        }
      }
      if (!why.empty()) GTEST_SKIP() << why;
    }
    bool device = r.path == "/dev/full";
    {
      std::optional<AsOtherUser> user;
      if (r.oldMode && !user.emplace().ok) GTEST_SKIP() << "needs root to act as another user";
      run([&] { zapisz(r.command); }, choose(r.path, device ? 4 : 0));
    }
    EXPECT_TRUE(SameImage(panel(), cannotWrite));
    if (r.kib) {
      EXPECT_EQ(ReadBytes(m + "/old.BMP"), old);
      EXPECT_EQ(ReadBytes(m + "/old.PIC"), old);
      std::string names = Listing(m);
      EXPECT_TRUE(names == "filler\nold.BMP\nold.PIC\n" || names == "old.BMP\nold.PIC\n")
          << "no scratch file or new file left: " << names;
    }
  }
  struct stat st;
  ASSERT_EQ(stat("/dev/full", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  ASSERT_EQ(stat((dir + "/sub.BMP").c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST_F(Commands, SavingWithNoBlockSaysSoAndOpensNoSelector) {
  const Image noBlock = alert(80, 100, "Brak bloku");
  SDL_DestroyTexture(blok$);
  blok$ = nullptr;
  run([] { zapisz(2); }, {[] { PushKey(SDLK_ESCAPE); }});
  EXPECT_TRUE(SameImage(panel(), noBlock));
}

// A picture loaded with "BMP" covers the whole picture as the renderer copies SDL's
// surface of the file: each picture pixel takes the source pixel under its centre,
// floor((x + 0.5) * w / 640). Where a centre falls exactly on the border of two source
// pixels ((2x + 1) * w a multiple of 1,280, or (2y + 1) * h of 800: widths that are
// multiples of 256, heights of 32) renderers may round either way; there the expected
// pixel is the rule's, the right or lower one, and how many of those ties the renderer
// here rounded the other way is reported.
TEST_F(Commands, ABmpIsStretchedAsTheRendererCopiesIt) {
  std::mt19937 rng(20);
  for (auto [w, h] : {std::pair{1, 1}, {3, 5}, {127, 64}, {641, 401}, {1024, 768}}) {
    SCOPED_TRACE(testing::Message() << w << "x" << h);
    RgbImage src{w, h, std::vector<uint32_t>(size_t(w) * h)};
    for (uint32_t& p : src.px) p = rng() & 0xFFFFFF;
    std::string path = write("s.BMP", Bmp24(src));
    run([] { laduj(1); }, choose(path));
    Image expected = RendererCopy(path);
    ASSERT_EQ(expected.w, 640);
    size_t ties = 0, otherWay = 0;
    const Image source = opaque(src);
    for (int y = 0; y < 400; y++)
      for (int x = 0; x < 640; x++) {
        if ((2 * x + 1) * w % 1280 && (2 * y + 1) * h % 800) continue;
        uint32_t rule = source.at((2 * x + 1) * w / 1280, (2 * y + 1) * h / 800);
        ties++;
        otherWay += expected.at(x, y) != rule;
        expected.at(x, y) = rule;
      }
    EXPECT_TRUE(SameImage(ReadPixels(rob_e$), expected));
    if (ties)
      std::cout << w << "x" << h << ": " << ties << " pixels on a tie, " << otherWay
                << " of them rounded the other way by this renderer\n";
  }
}

// A FIFO named as a picture, typed in the selector or given on the command line, is
// refused at once: a load never waits for something to write into it. If one did, a
// watchdog writes nothing into the FIFO after five seconds, which ends the wait.
TEST_F(Commands, AFifoNamedAsAPictureIsRefusedWithoutWaiting) {
  const Image badFormat = alert(64, 100, "Niewłaściwy\nformat pliku");
  struct {
    const char* name;
    int32_t command;
    bool typed;
    // clang-format off
  } rows[] = {
      {"x.PI1", 0, true}, {"x.GBF", 2, true}, {"x.BMP", 1, true},
      {"x.BMP", 2, false}, {"x.PI3", 1, false},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.name) + (r.typed ? ", typed" : ", on the command line"));
    std::string path = dir + "/" + r.name;
    ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    std::mutex m;
    std::condition_variable cv;
    bool done = false, waited = false;
    std::thread watchdog([&] {
      std::unique_lock<std::mutex> lock(m);
      if (cv.wait_for(lock, std::chrono::seconds(5), [&] { return done; })) return;
      waited = true;
      close(open(path.c_str(), O_WRONLY | O_NONBLOCK));
    });
    Image expected =
        strstr(r.name, "BMP") ? alert(0, 50, (path + ": not a regular file").c_str()) : badFormat;
    if (r.typed) {
      run([&] { laduj(r.command); }, choose(path));
    } else {
      run([&] { laduj_plik(path.c_str(), r.command); }, {[] { PushKey(SDLK_ESCAPE); }});
    }
    {
      std::lock_guard<std::mutex> lock(m);
      done = true;
    }
    cv.notify_one();
    watchdog.join();
    EXPECT_FALSE(waited) << "the load waited for a writer";
    EXPECT_TRUE(SameImage(panel(), expected));
    EXPECT_TRUE(unchanged());
    unlink(path.c_str());
  }
}

// A save that would pass 255 bytes once the directory and the name are joined writes
// nothing: not the file under a cut name, not anything else. Here the user goes to a
// directory whose path takes 251 bytes and names the file "notes.BMP".
TEST_F(Commands, ASaveWhosePathDoesNotFitWritesNothing) {
  const std::string longDir =
      dir + "/" + std::string(200, 'a') + "/" + std::string(250 - dir.size() - 202, 'b') + "/";
  ASSERT_EQ(longDir.size(), 251u);
  ASSERT_EQ(std::system(("mkdir -p '" + longDir + "'").c_str()), 0);
  run([] { zapisz(1); }, {[] { PushKey(SDLK_RETURN); },                 // ends the name's editing
                          [] { PushClick(SDL_BUTTON_LEFT, 300, 55); },  // the directory field
                          [=] {
                            PushKey(SDLK_x, false, KMOD_LCTRL);  // its text cut away
                            for (size_t i = 0; i < longDir.size(); i += 31)
                              PushText(longDir.substr(i, 31).c_str());
                            PushKey(SDLK_RETURN);
                          },
                          [] { PushClick(SDL_BUTTON_LEFT, 500, 30); },  // the name field
                          [] {
                            PushText("notes");
                            PushKey(SDLK_RETURN);
                          },
                          [] { PushClick(SDL_BUTTON_LEFT, 580, 368); },    // OK
                          [] { PushKey(SDLK_ESCAPE); },                    // the alert
                          [] { PushClick(SDL_BUTTON_LEFT, 580, 388); }});  // CANCEL
  EXPECT_EQ(Listing(longDir), "") << "nothing written there";
  EXPECT_EQ(Listing(dir + "/" + std::string(200, 'a')),
            std::string(250 - dir.size() - 202, 'b') + "\n");
}

// Each load and save opens where the last one that worked was, blocks included; one
// that fails moves nothing; the directory is kept for the next run. A picture loaded or
// saved names the window. A name with nothing but the offered extension is refused,
// and the dialog comes again. Names typed bare (no directory) land in the directory
// the dialog opened on.
TEST_F(Commands, DialogsOpenWhereTheLastLoadOrSaveWorked) {
  const std::string a = dir + "/a/", b = dir + "/b/";
  ASSERT_EQ(mkdir(a.c_str(), 0755), 0);
  ASSERT_EQ(mkdir(b.c_str(), 0755), 0);
  ASSERT_EQ(mkdir((b + "sub.BMP").c_str(), 0755), 0);
  ASSERT_TRUE(WriteBytes(a + "x.BMP", Bmp24(Small)));
  ASSERT_TRUE(WriteBytes(b + "y.BMP", Bmp24(Small)));
  auto title = [] { return std::string(SDL_GetWindowTitle(SDLWindow)); };
  auto exists = [](const std::string& p) { return access(p.c_str(), F_OK) == 0; };
  const std::string dash = " \xE2\x80\x94 TARKSEN 2";

  alerts.clear();
  run([] { laduj(1); }, choose(a + "x.BMP"));
  EXPECT_EQ(title(), "x.BMP" + dash);
  run([] { zapisz(1); }, choose("n"));
  EXPECT_TRUE(exists(a + "n.BMP")) << "the save opened where the load was";
  EXPECT_EQ(title(), "n.BMP" + dash);

  run([] { laduj(1); }, choose(b + "missing.BMP"));
  run([] { zapisz(1); }, choose(b + "sub"));
  EXPECT_EQ(alerts, (std::vector<std::string>{b + "missing.BMP: No such file or directory",
                                              "Błąd otwarcia pliku"}));
  EXPECT_EQ(title(), "n.BMP" + dash) << "a failed load or save names nothing";
  run([] { zapisz(1); }, choose("m"));
  EXPECT_TRUE(exists(a + "m.BMP")) << "neither failure moved it";

  run([] { laduj(2); }, choose(b + "y.BMP"));
  EXPECT_EQ(title(), "m.BMP" + dash) << "a block is not the picture's file";
  run([] { zapisz(0); }, choose("d"));
  EXPECT_TRUE(exists(b + "d.PIC")) << "the block's load moved it";
  char state[256];
  snprintf(state, sizeof state, "%s/tarksen/katalog", getenv("XDG_STATE_HOME"));
  EXPECT_EQ(ReadText(state), b + "\n");

  alerts.clear();
  for (const Step& take : std::vector<Step>{[] { PushKey(SDLK_RETURN); },
                                            [] { PushClick(SDL_BUTTON_LEFT, 580, 368); }}) {
    run([] { zapisz(0); }, {[] { PushKey(SDLK_RETURN); }, take, [] { PushKey(SDLK_ESCAPE); },
                            [] { PushKey(SDLK_ESCAPE); }});
    EXPECT_FALSE(exists(b + ".PIC"));
  }
  EXPECT_EQ(alerts, (std::vector<std::string>{"Brak nazwy pliku", "Brak nazwy pliku"}));
  run([] { zapisz(1); },
      {[] { PushKey(SDLK_RETURN); }, [] { PushClick(SDL_BUTTON_LEFT, 580, 368); },
       [] { PushKey(SDLK_ESCAPE); }, [] { PushText("e"); }, [] { PushKey(SDLK_RETURN); },
       [] { PushKey(SDLK_RETURN); }});
  EXPECT_TRUE(exists(b + "e.BMP")) << "the dialog came again where it was";
}
