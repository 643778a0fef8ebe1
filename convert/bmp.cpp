#include <SDL.h>

#include "convert/convert.h"

static uint32_t le(const uint8_t* p, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; i--) v = v << 8 | p[i];
  return v;
}

std::string BmpDecode(const uint8_t* data, size_t size, PicImage& img) {
  // SDL makes the surface before it reads the pixels: refuse huge sizes from the
  // header first, so a small file cannot ask for gigabytes.
  if (size < 26) return "truncated BMP header";
  uint32_t info = le(data + 14, 4);
  int64_t w, h;
  if (info == 12) {
    w = le(data + 18, 2);
    h = le(data + 20, 2);
  } else {
    w = int32_t(le(data + 18, 4));
    h = int32_t(le(data + 22, 4));
  }
  if (w < 0) w = -w;
  if (h < 0) h = -h;
  if (w * h > StMaxPixels) return "too large: more than 2^26 pixels";

  SDL_RWops* rw = SDL_RWFromConstMem(data, int(size));
  SDL_Surface* s = rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
  if (!s) return SDL_GetError();
  SDL_Surface* c = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ABGR8888, 0);
  SDL_FreeSurface(s);
  if (!c) return SDL_GetError();
  PicImage out;
  out.w = c->w;
  out.h = c->h;
  out.px.resize(size_t(c->w) * size_t(c->h));
  // ABGR8888 is a 32-bit value with red in its low byte, as the core's colours.
  for (int y = 0; y < c->h; y++)
    SDL_memcpy(&out.px[size_t(y) * size_t(c->w)],
               static_cast<const uint8_t*>(c->pixels) + size_t(y) * size_t(c->pitch),
               size_t(c->w) * 4);
  SDL_FreeSurface(c);
  img = std::move(out);
  return "";
}
