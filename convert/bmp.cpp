#include <SDL.h>

#include "convert/convert.h"
#include "platform/bmp_core.h"

std::string BmpDecode(const uint8_t* data, size_t size, PicImage& img) {
  // SDL makes the surface before it reads the pixels: refuse huge sizes from the
  // header first, so a small file cannot ask for gigabytes.
  uint64_t w, h;
  if (!BmpHeaderSize(data, size, w, h)) return "truncated BMP header";
  if (!PictureFits(w, h)) {
    char why[80];
    PictureTooLarge(w, h, why, sizeof why);
    return why;
  }

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
