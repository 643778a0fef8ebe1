// The texture utilities on the real renderer, their results read back.
#include <cstring>

#include "platform/platform.h"
#include "tests/support/gl.h"

namespace {

struct Rodzaj {
  Uint32 format;
  int access, w, h;
};

Rodzaj RodzajOf(SDL_Texture* t) {
  Rodzaj r{};
  SDL_QueryTexture(t, &r.format, &r.access, &r.w, &r.h);
  return r;
}

// The pixels of any texture, alpha included: copied unblended onto a target and read.
Image Zawartosc(SDL_Texture* t) {
  Rodzaj r = RodzajOf(t);
  SDL_Texture* old = SDL_GetRenderTarget(SDLRenderer);
  SDL_Texture* tmp =
      SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET, r.w, r.h);
  SDL_BlendMode m;
  SDL_GetTextureBlendMode(t, &m);
  SDL_SetTextureBlendMode(t, SDL_BLENDMODE_NONE);
  SDL_SetRenderTarget(SDLRenderer, tmp);
  SDL_RenderCopy(SDLRenderer, t, nullptr, nullptr);
  SDL_SetTextureBlendMode(t, m);
  Image img = ReadPixels(tmp);
  SDL_DestroyTexture(tmp);
  SDL_SetRenderTarget(SDLRenderer, old);
  return img;
}

// An image whose pixels all differ, alpha included.
Image Wzor(int w, int h, uint32_t seed) {
  Image img(w, h);
  for (int i = 0; i < w * h; i++) img.px[i] = (uint32_t(i) + seed) * 2654435761u;
  return img;
}

Image Dopelnienie(Image img) {
  for (uint32_t& p : img.px) p = ~p;
  return img;
}

class Tekstury : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    zrodlo = Wzor(64, 32, 1);
    cel =
        SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET, 64, 32);
    SDL_UpdateTexture(cel, nullptr, zrodlo.px.data(), 64 * 4);
    SDL_SetRenderTarget(SDLRenderer, cel);
  }
  void TearDown() override {
    SDLTargetWindow();
    for (SDL_Texture* t : {cel, t1})
      if (t) SDL_DestroyTexture(t);
  }
  Image Fragment(int x, int y, int w, int h) const {
    Image out(w, h, 0);
    for (int py = 0; py < h; py++)
      for (int px = 0; px < w; px++)
        if (x + px >= 0 && y + py >= 0 && x + px < 64 && y + py < 32)
          out.at(px, py) = zrodlo.at(x + px, y + py);
    return out;
  }
  Image zrodlo;
  SDL_Texture* cel = nullptr;  // the render target the reads come from
  SDL_Texture* t1 = nullptr;   // the handle under test
};

TEST_F(Tekstury, GetTextureMakesAStaticTextureOfTheTargetsPixels) {
  GetTexture(&t1, 5, 6, 10, 4);
  ASSERT_NE(t1, nullptr) << "a null handle gets a new texture";
  Rodzaj r = RodzajOf(t1);
  EXPECT_EQ(r.format, Uint32(SDL_PIXELFORMAT_ABGR8888));
  EXPECT_EQ(r.access, SDL_TEXTUREACCESS_STATIC);
  EXPECT_EQ(r.w, 10);
  EXPECT_EQ(r.h, 4);
  EXPECT_TRUE(SameImage(Zawartosc(t1), Fragment(5, 6, 10, 4)));
  EXPECT_EQ(SDL_GetRenderTarget(SDLRenderer), cel) << "reads the target, leaves it";

  // The same handle and size: refreshed in place.
  zrodlo = Wzor(64, 32, 99);
  SDL_UpdateTexture(cel, nullptr, zrodlo.px.data(), 64 * 4);
  SDL_Texture* made = t1;
  GetTexture(&t1, 20, 1, 10, 4);
  EXPECT_EQ(t1, made);
  EXPECT_TRUE(SameImage(Zawartosc(t1), Fragment(20, 1, 10, 4)));
}

TEST_F(Tekstury, GetTextureGivenAnotherSizeMakesItAnew) {
  struct {
    const char* name;
    int x, y, w, h;
    // clang-format off
  } cases[] = {
      {"wider", 0, 0, 30, 4},
      {"shorter", 3, 3, 30, 2},
      {"partly outside the target: transparent black there", 60, 30, 8, 4},
  };
  // clang-format on
  GetTexture(&t1, 0, 0, 10, 4);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    GetTexture(&t1, c.x, c.y, c.w, c.h);
    Rodzaj r = RodzajOf(t1);
    EXPECT_EQ(r.w, c.w);
    EXPECT_EQ(r.h, c.h);
    EXPECT_EQ(r.access, SDL_TEXTUREACCESS_STATIC);
    EXPECT_TRUE(SameImage(Zawartosc(t1), Fragment(c.x, c.y, c.w, c.h)));
  }
}

TEST_F(Tekstury, GetTextureOfNothingLeavesTheHandle) {
  GetTexture(&t1, 0, 0, 0, 5);
  EXPECT_EQ(t1, nullptr);
  GetTexture(&t1, 0, 0, 4, 4);
  SDL_Texture* made = t1;
  for (auto [w, h] : std::vector<std::pair<int, int>>{{0, 4}, {4, -1}, {-3, -3}}) {
    GetTexture(&t1, 0, 0, w, h);
    EXPECT_EQ(t1, made);
    EXPECT_EQ(RodzajOf(t1).w, 4);
  }
}

TEST_F(Tekstury, InvertPixelsTextureComplementsEveryBit) {
  const uint32_t white = RGBA(255, 255, 255, 255);
  InvertPixelsTexture(&t1, &white, 1, 1);
  ASSERT_NE(t1, nullptr);
  EXPECT_EQ(Zawartosc(t1).at(0, 0), 0u) << "opaque white gives black with alpha 0";

  // A handle holding a texture gets a new streaming one of the new size.
  Image src = Wzor(37, 5, 7);  // a width whose rows the lock may pad
  InvertPixelsTexture(&t1, src.px.data(), 37, 5);
  Rodzaj r = RodzajOf(t1);
  EXPECT_EQ(r.access, SDL_TEXTUREACCESS_STREAMING);
  EXPECT_EQ(r.format, Uint32(SDL_PIXELFORMAT_ABGR8888));
  EXPECT_EQ(r.w, 37);
  EXPECT_EQ(r.h, 5);
  EXPECT_TRUE(SameImage(Zawartosc(t1), Dopelnienie(src)));

  SDL_Texture* made = t1;
  InvertPixelsTexture(&t1, nullptr, 3, 3);
  InvertPixelsTexture(&t1, src.px.data(), 0, 5);
  EXPECT_EQ(t1, made) << "nothing to invert: the handle stays";
}

TEST_F(Tekstury, InvertSurfaceTextureConvertsFirstAndLeavesTheSurface) {
  // Three-byte pixels blue, green, red in memory: converted they are opaque.
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 3, 2, 24, SDL_PIXELFORMAT_BGR24);
  ASSERT_NE(s, nullptr);
  const uint8_t bytes[2][9] = {{0, 0, 255, 0, 255, 0, 255, 0, 0},
                               {255, 255, 255, 0, 0, 0, 10, 20, 30}};
  for (int py = 0; py < 2; py++) memcpy((uint8_t*)s->pixels + py * s->pitch, bytes[py], 9);
  InvertSurfaceTexture(&t1, s);
  ASSERT_NE(t1, nullptr);
  Image want(3, 2);
  want.px = {RGBA(0, 255, 255, 0), RGBA(255, 0, 255, 0),   RGBA(255, 255, 0, 0),
             RGBA(0, 0, 0, 0),     RGBA(255, 255, 255, 0), RGBA(225, 235, 245, 0)};
  EXPECT_TRUE(SameImage(Zawartosc(t1), want));
  EXPECT_EQ(RodzajOf(t1).access, SDL_TEXTUREACCESS_STREAMING);
  for (int py = 0; py < 2; py++)
    EXPECT_EQ(memcmp((uint8_t*)s->pixels + py * s->pitch, bytes[py], 9), 0) << "row " << py;
  EXPECT_EQ(s->format->format, Uint32(SDL_PIXELFORMAT_BGR24));
  SDL_FreeSurface(s);
}

TEST_F(Tekstury, InvertSurfaceTextureThatCannotConvertLeavesTheHandle) {
  // A surface whose converted copy would have rows longer than SDL allows.
  static uint8_t pixels[16];
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(pixels, 600000000, 1, 8, 600000000,
                                                      SDL_PIXELFORMAT_INDEX8);
  ASSERT_NE(s, nullptr);
  SDL_Surface* c = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ABGR8888, 0);
  ASSERT_EQ(c, nullptr) << "the case needs a conversion that fails";
  const uint32_t px = RGBA(1, 2, 3, 4);
  InvertPixelsTexture(&t1, &px, 1, 1);
  SDL_Texture* made = t1;
  InvertSurfaceTexture(&t1, s);
  EXPECT_EQ(t1, made);
  EXPECT_EQ(Zawartosc(t1).at(0, 0), ~px);
  InvertSurfaceTexture(&t1, nullptr);
  EXPECT_EQ(t1, made);
  SDL_FreeSurface(s);
}

TEST_F(Tekstury, InvertTextureSubtractsFromOpaqueWhiteKeepingAlpha) {
  struct {
    const char* name;
    uint32_t src, want;
    // clang-format off
  } cases[] = {
      {"opaque black gives opaque white", RGBA(0, 0, 0, 255), RGBA(255, 255, 255, 255)},
      {"opaque white gives opaque black", RGBA(255, 255, 255, 255), RGBA(0, 0, 0, 255)},
      {"a palette red", RGBA(255, 0, 0, 127), RGBA(0, 255, 255, 127)},
      {"a colour", RGBA(10, 20, 30, 200), RGBA(245, 235, 225, 200)},
      {"transparent", RGBA(0, 0, 0, 0), RGBA(255, 255, 255, 0)},
  };
  // clang-format on
  SDL_Texture* src =
      SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, 5, 1);
  uint32_t px[5];
  Image want(5, 1);
  for (int i = 0; i < 5; i++) px[i] = cases[i].src, want.px[i] = cases[i].want;
  SDL_UpdateTexture(src, nullptr, px, 5 * 4);
  SDL_SetRenderDrawColor(SDLRenderer, 1, 2, 3, 4);
  InvertTexture(&t1, src);
  ASSERT_NE(t1, nullptr);
  Image got = Zawartosc(t1);
  for (int i = 0; i < 5; i++) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(got.px[i], want.px[i]);
  }
  Rodzaj r = RodzajOf(t1);
  EXPECT_EQ(r.access, SDL_TEXTUREACCESS_TARGET);
  EXPECT_EQ(r.w, 5);
  EXPECT_EQ(r.h, 1);
  EXPECT_EQ(SDL_GetRenderTarget(SDLRenderer), t1) << "the target is left on the new texture";
  Uint8 c[4];
  SDL_GetRenderDrawColor(SDLRenderer, &c[0], &c[1], &c[2], &c[3]);
  EXPECT_EQ(RGBA(c[0], c[1], c[2], c[3]), RGBA(1, 2, 3, 4)) << "the draw colour is kept";
  SDL_BlendMode m;
  SDL_GetTextureBlendMode(src, &m);
  EXPECT_NE(m, SDL_BLENDMODE_NONE) << "the source keeps the mode that inverted it";

  // Inverted in place, and back again.
  InvertTexture(&src, src);
  EXPECT_TRUE(SameImage(Zawartosc(src), want));
  InvertTexture(&src, src);
  Image twice(5, 1);
  twice.px.assign(px, px + 5);
  EXPECT_TRUE(SameImage(Zawartosc(src), twice)) << "inverting twice gives the colours back";
  SDL_DestroyTexture(src);

  SDL_Texture* made = t1;
  InvertTexture(&t1, nullptr);
  EXPECT_EQ(t1, made) << "no source: the handle stays";
}

}  // namespace
