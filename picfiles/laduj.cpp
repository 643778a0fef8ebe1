#include <cstring>
#include <memory>

#include "filesel/filesel.h"
#include "picfiles/files_core.h"
#include "picfiles/pic_core.h"
#include "picfiles/picfiles.h"
#include "platform/platform.h"
#include "toolkit/toolkit.h"

bool laduj(int32_t c) {
  char name[256], start[256];
  memset(name, 0, sizeof name);
  FSStartDir(start);
  GEMFileSelector("Ładowanie", start, typ$[c], name);
  // A quit request leaves whatever the name field held: nothing was chosen.
  if (Quit) return false;
  return laduj_plik(name, c);
}

bool laduj_plik(const char* path, int32_t c) {
  if (!path[0]) return false;
  GEMIconColors();
  PicKind kind = PicKindOf(path);
  bool ok = false, picture = false;
  if (kind.how == PicKind::PIC_PLANES) {
    ok = LoadPIC(path, kind.planes);
    picture = kind.planes != 0;
  } else if (kind.how == PicKind::PIC_BMP) {
    ok = LoadBMP(path, c);
    picture = c == 1;
  } else {
    GEMMessage(16, 100, "Nieznany typ pliku", 0, "i|Powrót");
  }
  if (ok) FSRemember(path);
  if (ok && picture) SDLTitle(path, false);
  return ok && picture;
}

// Bytes a pixel of a surface SDL read whose pixels are stored as blue, green, red (and
// alpha or padding), as 24- and 32-bit BMP files hold them; 0 for any other layout.
static int bgrBytes(const SDL_Surface* s) {
  uint32_t f = s->format->format;
  if (f == SDL_PIXELFORMAT_BGR24) return 3;
  return f == SDL_PIXELFORMAT_ARGB8888 || f == SDL_PIXELFORMAT_XRGB8888 ? 4 : 0;
}

bool LoadBMP(const char* path, int32_t dest) {
  LoadSDLSurface(path, -1);
  // The surface is the scratch copy: picture and block change only once it is complete.
  // The picture is stretched straight from the file's own layout where SDL kept it,
  // from a converted copy otherwise; the block takes the textures' layout.
  bool ok = false;
  if (SDLSurface && dest == 1) {
    int bytes = bgrBytes(SDLSurface);
    bool opaque = !SDL_ISPIXELFORMAT_ALPHA(SDLSurface->format->format);
    SDL_Surface* bgr =
        bytes ? SDLSurface : SDL_ConvertSurfaceFormat(SDLSurface, SDL_PIXELFORMAT_ARGB8888, 0);
    if (bgr) {
      std::unique_ptr<uint32_t[]> picture(new uint32_t[size_t(PicW) * PicH]);
      PicPixels lay = {bytes ? bytes : 4, 2, 1, 0, bytes != 3 && !opaque ? 3 : -1};
      PicStretchPixels(static_cast<const uint8_t*>(bgr->pixels), bgr->w, bgr->h,
                       size_t(bgr->pitch), lay, picture.get());
      ok = putPicture(picture.get());
    }
    if (bgr && bgr != SDLSurface) SDL_FreeSurface(bgr);
  } else if (SDLSurface) {
    SDL_Surface* abgr = SDL_ConvertSurfaceFormat(SDLSurface, SDL_PIXELFORMAT_ABGR8888, 0);
    ok = abgr && putBlock(abgr->pixels, abgr->w, abgr->h, abgr->pitch);
    if (abgr) SDL_FreeSurface(abgr);
  }
  if (!ok) {
    // The alert's own drawing may set another error while it prints this one.
    char error[256];
    SDL_strlcpy(error, SDL_GetError(), sizeof error);
    GEMMessage(0, 50, error, 0, "i|Powrót");
  }
  return ok;
}
