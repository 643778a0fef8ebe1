#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "filesel/filesel.h"
#include "picfiles/files_core.h"
#include "picfiles/pic_core.h"
#include "picfiles/picfiles.h"
#include "picfiles/png_core.h"
#include "picfiles/st_core.h"
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
  bool ok = false, picture = c == 1;
  switch (kind.how) {
    case PicKind::PIC_PLANES:
      ok = LoadPIC(path, kind.planes);
      picture = kind.planes != 0;
      break;
    case PicKind::PIC_ATARI:
      ok = LoadAtari(path);
      picture = true;
      break;
    case PicKind::PIC_BMP: ok = LoadBMP(path, c); break;
    case PicKind::PIC_PNG: ok = LoadPNG(path, c); break;
    default: GEMMessage(16, 100, "Nieznany typ pliku", 0, "i|Powrót"); break;
  }
  if (ok) FSRemember(path);
  if (ok && picture) SDLTitle(path, false);
  return ok && picture;
}

// The alert of a BMP or PNG that could not be loaded: the reason, as it stands.
static void cannotLoad(const char* why) {
  // The alert's own drawing may set another error while it prints this one.
  char text[256];
  SDL_strlcpy(text, why, sizeof text);
  GEMMessage(0, 50, text, 0, "i|Powrót");
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
      PicStretchPixels(static_cast<const uint8_t*>(bgr->pixels), bgr->w, bgr->h, size_t(bgr->pitch),
                       lay, picture.get());
      ok = putPicture(picture.get());
    }
    if (bgr && bgr != SDLSurface) SDL_FreeSurface(bgr);
  } else if (SDLSurface) {
    SDL_Surface* abgr = SDL_ConvertSurfaceFormat(SDLSurface, SDL_PIXELFORMAT_ABGR8888, 0);
    ok = abgr && putBlock(abgr->pixels, abgr->w, abgr->h, abgr->pitch);
    if (abgr) SDL_FreeSurface(abgr);
  }
  if (!ok) cannotLoad(SDL_GetError());
  return ok;
}

bool LoadPNG(const char* path, int32_t dest) {
  std::string why;
  PicImage img;
  {
    std::vector<uint8_t> file;
    if (!PicReadFile(path, StMaxInputBytes, file))
      why = SDL_GetError();
    else if (file.size() > StMaxInputBytes)
      why = std::string(path) + ": larger than 256 MiB";
    else
      why = PngDecode(file.data(), file.size(), img);
  }
  if (why.empty()) {
    bool ok;
    if (dest == 1 && img.w == PicW && img.h == PicH) {
      ok = putPicture(img.px.data());  // the stretch would copy every pixel as it is
    } else if (dest == 1) {
      std::unique_ptr<uint32_t[]> picture(new uint32_t[size_t(PicW) * PicH]);
      PicStretchPixels(reinterpret_cast<const uint8_t*>(img.px.data()), img.w, img.h,
                       size_t(img.w) * 4, PicRgba, picture.get());
      ok = putPicture(picture.get());
    } else {
      ok = putBlock(img.px.data(), img.w, img.h, img.w * 4);
    }
    if (!ok) why = SDL_GetError();
  }
  if (why.empty()) return true;
  puts(why.c_str());
  cannotLoad(why.c_str());
  return false;
}
