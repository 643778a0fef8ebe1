#include <cstring>
#include <vector>

#include "filesel/filesel.h"
#include "paint/paint.h"
#include "picfiles/files_core.h"
#include "picfiles/pic_core.h"
#include "picfiles/picfiles.h"
#include "platform/platform.h"
#include "toolkit/toolkit.h"

void laduj(int32_t c) {
  char name[256];
  memset(name, 0, sizeof name);
  GEMFileSelector("Ładowanie", "", typ$[c], name);
  // A quit request leaves whatever the name field held: nothing was chosen.
  if (Quit) return;
  laduj_plik(name, c);
}

void laduj_plik(const char* path, int32_t c) {
  if (!path[0]) return;
  // The alerts' icon: a white "i" on a red disc.
  Color = 0xFFFFFFFF;
  ColorB = 0xFF;
  PicKind kind = PicKindOf(path);
  if (kind.how == PicKind::PIC_PLANES)
    LoadPIC(path, kind.planes);
  else if (kind.how == PicKind::PIC_BMP)
    LoadBMP(path, c);
  else
    GEMMessage(16, 100, "Nieznany typ pliku", 0, "i|Powrót");
}

void LoadBMP(const char* path, int32_t dest) {
  LoadSDLSurface(path, -1);
  // The file in the textures' layout is the scratch copy: picture and block change
  // only once it is complete.
  SDL_Surface* abgr =
      SDLSurface ? SDL_ConvertSurfaceFormat(SDLSurface, SDL_PIXELFORMAT_ABGR8888, 0) : nullptr;
  bool ok = false;
  if (abgr && dest == 1) {
    std::vector<uint32_t> picture(size_t(PicW) * PicH);
    PicStretchRows(static_cast<const uint32_t*>(abgr->pixels), abgr->w, abgr->h,
                   size_t(abgr->pitch) / 4, picture.data());
    ok = putPicture(picture.data());
  } else if (abgr) {
    ok = putBlock(abgr->pixels, abgr->w, abgr->h, abgr->pitch);
  }
  if (abgr) SDL_FreeSurface(abgr);
  if (!ok) {
    // The alert's own drawing may set another error while it prints this one.
    char error[256];
    SDL_strlcpy(error, SDL_GetError(), sizeof error);
    GEMMessage(0, 50, error, 0, "i|Powrót");
  }
}
