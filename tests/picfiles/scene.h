// Fixture of the picture-file gl tests: a scratch directory for the files of one test,
// and a picture and a 5x3 block in place that every load must replace or leave alone.
#pragma once
#include <cstdlib>
#include <string>
#include <vector>

#include "paint/paint.h"
#include "platform/platform.h"
#include "tests/picfiles/picmake.h"
#include "tests/support/gl.h"
#include "tests/support/mounts.h"

class PicScene : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    char tmpl[] = "/tmp/tarksen-pic-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    reset();
    picture = ReadPixels(rob_e$);
    block = ReadPixels(blok$);
  }
  void TearDown() override {
    Unmount(dir + "/m");
    std::system(("rm -rf '" + dir + "'").c_str());
  }
  // Red with a blue box; the block green.
  void reset() {
    ClearTarget(rob_e$, GEMColor[2]);
    SDL_SetRenderTarget(SDLRenderer, rob_e$);
    SDLDrawColor(GEMColor[4]);
    SDL_Rect r = {100, 50, 300, 200};
    SDL_RenderFillRect(SDLRenderer, &r);
    if (blok$) SDL_DestroyTexture(blok$);
    blok$ = SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET,
                              5, 3);
    ClearTarget(blok$, GEMColor[3]);
    SDLTargetWindow();
  }
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string p = dir + "/" + name;
    EXPECT_TRUE(WriteBytes(p, bytes)) << p;
    return p;
  }
  // Picture and block as reset() made them, pixel for pixel.
  testing::AssertionResult unchanged() {
    testing::AssertionResult a = SameImage(ReadPixels(rob_e$), picture);
    if (!a) return a << " (the picture)";
    a = SameImage(ReadPixels(blok$), block);
    if (!a) return a << " (the block)";
    return a;
  }
  std::string dir;
  Image picture, block;  // as reset() makes them
};
