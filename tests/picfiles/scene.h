// Fixture of the picture-file gl tests: a scratch directory for the files of one test,
// and a picture and a 5x3 block in place that every load must replace or leave alone.
#pragma once
#include <string>
#include <vector>

#include "paint/paint.h"
#include "platform/platform.h"
#include "tests/picfiles/picmake.h"
#include "tests/support/gl.h"
#include "tests/support/mounts.h"
#include "tests/support/scratch.h"

class PicScene : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    reset();
    picture = ReadPixels(rob_e$);
    block = ReadPixels(blok$);
  }
  void TearDown() override { Unmount(dir + "/m"); }
  // Red with a blue box; the block green.
  void reset() {
    ClearTarget(rob_e$, GEMColor[2]);
    SDL_SetRenderTarget(SDLRenderer, rob_e$);
    SDLDrawColor(GEMColor[4]);
    SDL_Rect r = {100, 50, 300, 200};
    SDL_RenderFillRect(SDLRenderer, &r);
    if (blok$) SDL_DestroyTexture(blok$);
    blok$ =
        SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET, 5, 3);
    ClearTarget(blok$, GEMColor[3]);
    SDLTargetWindow();
  }
  // A white picture with a yellow line from (20, 30) to (500, 30) and a grey box of
  // 40x10 at (600, 390) in its corner, left as the render target.
  static void lineAndBox() {
    ClearTarget(rob_e$, GEMColor[0]);
    SDL_SetRenderTarget(SDLRenderer, rob_e$);
    SDLDrawColor(GEMColor[6]);
    SDL_RenderDrawLine(SDLRenderer, 20, 30, 500, 30);
    SDLDrawColor(GEMColor[8]);
    SDL_Rect grey = {600, 390, 40, 10};
    SDL_RenderFillRect(SDLRenderer, &grey);
  }
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
    return scratch.write(name, bytes);
  }
  // Picture and block as reset() made them, pixel for pixel.
  testing::AssertionResult unchanged() {
    testing::AssertionResult a = SameImage(ReadPixels(rob_e$), picture);
    if (!a) return a << " (the picture)";
    a = SameImage(ReadPixels(blok$), block);
    if (!a) return a << " (the block)";
    return a;
  }
  // What the renderer makes of the BMP file at path over the whole picture: SDL's own
  // surface of it as a texture, copied onto a 640x400 target with nearest-neighbour
  // sampling and no blending. The picture and the render target are left alone.
  static Image RendererCopy(const std::string& path) {
    Image out;
    SDL_Surface* s = SDL_LoadBMP(path.c_str());
    EXPECT_NE(s, nullptr) << SDL_GetError();
    SDL_Texture* from = s ? SDL_CreateTextureFromSurface(SDLRenderer, s) : nullptr;
    SDL_Texture* to = SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888,
                                        SDL_TEXTUREACCESS_TARGET, 640, 400);
    if (from && to) {
      SDL_SetTextureBlendMode(from, SDL_BLENDMODE_NONE);
      SDL_SetTextureScaleMode(from, SDL_ScaleModeNearest);
      SDL_Texture* target = SDL_GetRenderTarget(SDLRenderer);
      SDL_SetRenderTarget(SDLRenderer, to);
      SDL_RenderCopy(SDLRenderer, from, nullptr, nullptr);
      SDL_SetRenderTarget(SDLRenderer, target);
      out = ReadPixels(to);
    }
    if (from) SDL_DestroyTexture(from);
    if (to) SDL_DestroyTexture(to);
    if (s) SDL_FreeSurface(s);
    return out;
  }
  Scratch scratch{"pic"};
  const std::string& dir = scratch.path;
  Image picture, block;  // as reset() makes them
};
