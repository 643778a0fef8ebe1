#include <vector>

#include "paint/paint.h"
#include "picfiles/pic_core.h"
#include "picfiles/picfiles.h"
#include "platform/platform.h"
#include "toolkit/toolkit.h"

SDL_RWops* SDLRWops = nullptr;

// Replaces the picture in one upload; false leaves it as it was.
static bool putPicture(const PicImage& img) {
  std::vector<uint32_t> px;
  PicStretch(img, px);
  // Drawing still queued for rob_e$ must land before the upload, not over it.
  SDL_RenderFlush(SDLRenderer);
  return SDL_UpdateTexture(rob_e$, nullptr, px.data(), PicW * 4) == 0;
}

// Makes img the block; false (a size the renderer cannot hold) leaves the old block.
static bool putBlock(const PicImage& img) {
  SDL_Texture* t = SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888,
                                     SDL_TEXTUREACCESS_TARGET, img.w, img.h);
  if (!t) return false;
  if (SDL_UpdateTexture(t, nullptr, img.px.data(), img.w * 4) != 0) {
    SDL_DestroyTexture(t);
    return false;
  }
  if (blok$) SDL_DestroyTexture(blok$);
  blok$ = t;
  return true;
}

void LoadPIC(const char* path, int32_t planes) {
  SDLRWops = SDL_RWFromFile(path, "rb");
  if (!SDLRWops) {
    GEMMessage(0, 100, "Nie ma takiego pliku", 0, "i|Powrót");
    return;
  }
  // One byte past the longest accepted file is enough to reject any longer one, so a
  // huge file is never read whole.
  std::vector<uint8_t> file(PicMaxFileBytes + 1);
  size_t n = 0, got;
  while (n < file.size() && (got = SDL_RWread(SDLRWops, &file[n], 1, file.size() - n)) > 0)
    n += got;
  SDL_RWclose(SDLRWops);
  SDLRWops = nullptr;

  PicImage img;
  if (!PicLoad(file.data(), n, planes, GEMColor, img) ||
      !(planes ? putPicture(img) : putBlock(img)))
    GEMMessage(64, 100, "Niewłaściwy\nformat pliku", 0, "i|Powrót");
}

void SaveDoodle() {
  std::vector<uint8_t> rgba(size_t(PicW) * PicH * 4);
  SDL_Rect all = {0, 0, PicW, PicH};
  SDL_RenderReadPixels(SDLRenderer, &all, SDL_PIXELFORMAT_ABGR8888, rgba.data(), PicW * 4);
  uint8_t body[PicBodyBytes];
  DoodleBody(rgba.data(), body);
  if (SDLRWops) SDL_RWwrite(SDLRWops, body, 1, sizeof body);
}
