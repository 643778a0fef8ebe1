#include <cerrno>
#include <vector>

#include "picfiles/pic_core.h"
#include "picfiles/picfiles.h"
#include "platform/platform.h"
#include "strrt/strrt.h"
#include "toolkit/toolkit.h"

PICFILES_GLOBALS(GLOBAL_DEFINE)

bool putPicture(const uint32_t* px) {
  // Drawing still queued for rob_e$ must land before the upload, not over it.
  SDL_RenderFlush(SDLRenderer);
  return SDL_UpdateTexture(rob_e$, nullptr, px, PicW * 4) == 0;
}

bool putBlock(const void* px, int32_t w, int32_t h, int32_t pitch) {
  SDL_Texture* t =
      SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET, w, h);
  if (!t) return false;
  if (SDL_UpdateTexture(t, nullptr, px, pitch) != 0) {
    SDL_DestroyTexture(t);
    return false;
  }
  if (blok$) SDL_DestroyTexture(blok$);
  blok$ = t;
  return true;
}

static bool badFormat() {
  GEMMessage(64, 100, "Niewłaściwy\nformat pliku", 0, "i|Powrót");
  return false;
}

bool LoadPIC(const char* path, int32_t planes) {
  SDLRWops = SDLOpenFile(path);
  // Something there that is not a file (a directory, a FIFO) is not a picture file.
  if (!SDLRWops && (errno == EISDIR || errno == ENOTSUP)) return badFormat();
  if (!SDLRWops) {
    GEMMessage(0, 100, "Nie ma takiego pliku", 0, "i|Powrót");
    return false;
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
  bool ok = PicLoad(file.data(), n, planes, GEMColor, img);
  if (ok && planes) {
    std::vector<uint32_t> picture;
    PicStretch(img, picture);
    ok = putPicture(picture.data());
  } else if (ok) {
    ok = putBlock(img.px.data(), img.w, img.h, img.w * 4);
  }
  return ok || badFormat();
}

int SaveDoodle(const char* path) {
  // Kept between saves: a fresh megabyte would cost more in page faults than the
  // read-back and the encoding together.
  static std::vector<uint8_t> rgba(size_t(PicW) * PicH * 4);
  SDL_Rect all = {0, 0, PicW, PicH};
  if (SDL_RenderReadPixels(SDLRenderer, &all, SDL_PIXELFORMAT_ABGR8888, rgba.data(), PicW * 4))
    return EIO;
  uint8_t body[PicBodyBytes];
  DoodleBody(rgba.data(), body);
  return WRITEFILE(path, body, sizeof body);
}
