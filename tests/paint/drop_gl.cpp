// Files dropped on the window, as pushed SDL_DROPFILE events: while the control screen
// or the drawing loop waits for input a picture lands on the picture and a GBF in the
// block, as from the "BMP" load box, the last of several; an alert or a tool that waits
// takes no drop. The event filter frees every dropped name (the leak check sees it).
#include <string>
#include <vector>

#include "paint/paint.h"
#include "platform/platform.h"
#include "tests/paint/draw_gl.h"
#include "tests/picfiles/pic_expect.h"
#include "tests/picfiles/picmake.h"
#include "tests/picfiles/pngmake.h"
#include "tests/support/gl.h"
#include "tests/support/scratch.h"

namespace {

// A file manager's drop of path on the window.
void PushDrop(const std::string& path) {
  SDL_Event e = {};
  e.type = SDL_DROPFILE;
  e.drop.file = SDL_strdup(path.c_str());
  e.drop.windowID = SDL_GetWindowID(SDLWindow);
  SDL_PushEvent(&e);
}

// A 4x2 PNG and a 16-colour PI1, with the pictures they give and a 32x1 GBF block.
struct DropFiles {
  Scratch dir{"drop"};
  const std::vector<uint32_t> rgb = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456,
                                     0xFFFFFF, 0x000000, 0x808080, 0xABCDEF};
  const std::string png = dir.write("a.png", PngRgbOf(4, 2, rgb));
  const std::string pi1 = dir.write("b.PI1", Degas(PlanesOf(Pattern(320, 200, 4), 320, 200, 4)));
  const std::string gbf = dir.write("c.GBF", Gbf(20, 0, 1, PlanesOf(Pattern(32, 1, 1), 32, 1, 1)));
  Image pngPicture{640, 400}, pi1Picture{640, 400}, gbfBlock{32, 1};
  DropFiles() {
    std::vector<uint32_t> values = ThroughTable(Pattern(320, 200, 4), 4);
    for (int y = 0; y < 400; y++)
      for (int x = 0; x < 640; x++) {
        uint32_t c = rgb[size_t(y / 200) * 4 + x / 160];
        pngPicture.at(x, y) = Px(uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c), 255);
        pi1Picture.at(x, y) = values[size_t(y / 2) * 320 + x / 2];
      }
    gbfBlock.px = ThroughTable(Pattern(32, 1, 1), 1);
  }
};

class Drop : public DrawingScreen {
 protected:
  void SetUp() override {
    DrawingScreen::SetUp();
    if (blok$) SDL_DestroyTexture(blok$);
    blok$ = nullptr;
  }
  DropFiles f;
};

}  // namespace

TEST_F(Drop, TheControlScreenLoadsWhatIsDroppedTheLastOfSeveral) {
  const struct {
    const char* name;
    std::vector<std::string> dropped;
    const Image* picture;  // what rob_e$ holds after, null: white as before
    const Image* block;    // what blok$ holds after, null: none
    // clang-format off
  } rows[] = {
      {"a PNG", {f.png}, &f.pngPicture, nullptr},
      {"a PI1", {f.pi1}, &f.pi1Picture, nullptr},
      {"a GBF goes into the block", {f.gbf}, nullptr, &f.gbfBlock},
      {"several: the last loads", {f.png, f.gbf, f.pi1}, &f.pi1Picture, nullptr},
  };
  // clang-format on
  uklad();
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Wipe();
    SDL_SetRenderDrawBlendMode(SDLRenderer, SDL_BLENDMODE_NONE);
    if (blok$) SDL_DestroyTexture(blok$);
    blok$ = nullptr;
    if (r.dropped.size() == 1) {
      Player p({[&] { PushDrop(r.dropped[0]); }, [] { PushQuit(); }});
      sterownia();
    } else {
      // The window system hands over all the names of one drop in one go, before the
      // wait reads the first: pushed here with the wait's DropWanted, all at once.
      DropWanted = 1;
      for (const std::string& d : r.dropped) PushDrop(d);
      Player p({[] { PushQuit(); }});
      sterownia();
    }
    Quit = 0;
    DrainEvents();
    EXPECT_TRUE(SameImage(ReadPixels(rob_e$), r.picture ? *r.picture : White()));
    if (r.block)
      EXPECT_TRUE(SameImage(ReadPixels(blok$), *r.block));
    else
      EXPECT_EQ(blok$, nullptr);
    EXPECT_EQ(SDLTakeDrop(), "") << "nothing left over";
  }
}

// The control screen's question "Wyczyścić ekran ?" stands while a file is dropped:
// the drop is lost, the answer "Nie" clears nothing, and nothing loads afterwards.
TEST_F(Drop, AnAlertTakesNoDrop) {
  uklad();
  SDL_SetRenderDrawBlendMode(SDLRenderer, SDL_BLENDMODE_NONE);
  {
    Player p({[] { PushClick(SDL_BUTTON_LEFT, 100, 380); },  // "Czyść"
              [&] {
                PushDrop(f.png);
                PushKey(SDLK_ESCAPE);
              },
              [] { PushQuit(); }});
    sterownia();
  }
  Quit = 0;
  DrainEvents();
  EXPECT_TRUE(SameImage(ReadPixels(rob_e$), White()));
  EXPECT_EQ(SDLTakeDrop(), "");
}

TEST_F(Drop, TheDrawingLoopLoadsADropButNotWhileAToolWaits) {
  {
    SCOPED_TRACE("waiting for input: the picture is replaced, and is the undo copy");
    co = 1;
    Enter();
    {
      Player p({[&] { PushDrop(f.png); }, [] { PushButton(true, SDL_BUTTON_RIGHT, 20, 20); }});
      pracownia();
    }
    DrainEvents();
    EXPECT_TRUE(SameImage(Picture(), f.pngPicture));
    EXPECT_TRUE(SameImage(ReadPixels(rob_e$), f.pngPicture));
    SDL_BlendMode m;
    SDL_GetRenderDrawBlendMode(SDLRenderer, &m);
    EXPECT_EQ(m, tryb_b[tryb]) << "the drawing mode again";
  }
  {
    SCOPED_TRACE("a line being drawn: the drop is lost");
    Wipe();
    co = 2;
    {
      Player p({[] { PushButton(true, SDL_BUTTON_LEFT, 10, 10); },
                [&] {
                  PushDrop(f.pi1);
                  PushButton(true, SDL_BUTTON_RIGHT, 30, 10);
                }});
      pracownia();
    }
    DrainEvents();
    EXPECT_TRUE(SameImage(Picture(), White()));
    EXPECT_EQ(SDLTakeDrop(), "");
  }
}
