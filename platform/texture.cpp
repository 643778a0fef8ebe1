#include <vector>

#include "platform/platform.h"

// On every failure below the handle is left as it was: a new texture replaces the old
// one only once it holds its pixels.

void GetTexture(SDL_Texture** t, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (w <= 0 || h <= 0) return;
  Uint32 format = 0;
  int tw = 0, th = 0;
  if (*t) SDL_QueryTexture(*t, &format, nullptr, &tw, &th);
  SDL_Texture* nowa = nullptr;
  if (!*t || format != SDL_PIXELFORMAT_ABGR8888 || tw != w || th != h) {
    nowa = SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, w, h);
    if (!nowa) return;
  }
  SRC = {x, y, w, h};
  // Zeroed: what lies outside the render target comes out transparent black.
  std::vector<uint32_t> px(size_t(w) * size_t(h));
  if (SDL_RenderReadPixels(SDLRenderer, &SRC, SDL_PIXELFORMAT_ABGR8888, px.data(), w * 4) != 0) {
    if (nowa) SDL_DestroyTexture(nowa);
    return;
  }
  if (nowa) {
    if (*t) SDL_DestroyTexture(*t);
    *t = nowa;
  }
  SDL_UpdateTexture(*t, nullptr, px.data(), w * 4);
}

void InvertPixelsTexture(SDL_Texture** t, const uint32_t* px, int32_t w, int32_t h) {
  if (!px || w <= 0 || h <= 0) return;
  SDL_Texture* nowa =
      SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STREAMING, w, h);
  if (!nowa) return;
  void* dst;
  int pitch;
  if (SDL_LockTexture(nowa, nullptr, &dst, &pitch) != 0) {
    SDL_DestroyTexture(nowa);
    return;
  }
  InvertPixels(px, w, h, dst, pitch);
  SDL_UnlockTexture(nowa);
  if (*t) SDL_DestroyTexture(*t);
  *t = nowa;
}

void InvertSurfaceTexture(SDL_Texture** t, SDL_Surface* s) {
  if (!s) return;
  SDL_Surface* c = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ABGR8888, 0);
  if (!c) return;
  // Rows of a 32-bit surface are exactly w pixels long.
  InvertPixelsTexture(t, static_cast<const uint32_t*>(c->pixels), c->w, c->h);
  SDL_FreeSurface(c);
}

void InvertTexture(SDL_Texture** t, SDL_Texture* src) {
  int w, h;
  if (!src || SDL_QueryTexture(src, nullptr, nullptr, &w, &h) != 0) return;
  // Colour: white minus the source. Alpha: white's 255 times the source's alpha, so an
  // opaque picture stays opaque. The renderer takes one operation for both.
  SDL_SetTextureBlendMode(src, SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE,
                                                          SDL_BLENDOPERATION_REV_SUBTRACT,
                                                          SDL_BLENDFACTOR_ZERO,
                                                          SDL_BLENDFACTOR_SRC_ALPHA,
                                                          SDL_BLENDOPERATION_REV_SUBTRACT));
  SDL_Texture* nowa =
      SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET, w, h);
  if (!nowa) return;
  Uint8 r, g, b, a;
  SDL_GetRenderDrawColor(SDLRenderer, &r, &g, &b, &a);
  SDL_SetRenderTarget(SDLRenderer, nowa);
  SDL_SetRenderDrawColor(SDLRenderer, 255, 255, 255, 255);
  SDL_RenderClear(SDLRenderer);
  SDL_SetRenderDrawColor(SDLRenderer, r, g, b, a);
  SDL_RenderCopy(SDLRenderer, src, nullptr, nullptr);
  // src may be the texture being replaced: it goes only after the copy.
  if (*t) SDL_DestroyTexture(*t);
  *t = nowa;
}
