#include <cerrno>
#include <cstring>
#include <vector>

#include "picfiles/pic_core.h"
#include "picfiles/picfiles.h"
#include "picfiles/st_core.h"
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
  SDLSetBlock(t);
  return true;
}

bool PicReadFile(const char* path, size_t most, std::vector<uint8_t>& bytes) {
  SDLRWops = SDLOpenFile(path);
  if (!SDLRWops) return false;
  // A file longer than most is never read whole: one byte past it is enough to refuse it.
  Sint64 size = SDL_RWsize(SDLRWops);
  size_t want = size >= 0 && uint64_t(size) <= most ? size_t(size) : most + 1;
  bytes.resize(want);
  size_t n = 0, got;
  while (n < want && (got = SDL_RWread(SDLRWops, &bytes[n], 1, want - n)) > 0) n += got;
  bytes.resize(n);
  SDL_RWclose(SDLRWops);
  SDLRWops = nullptr;
  return true;
}

static bool badFormat() {
  GEMMessage(64, 100, "Niewłaściwy\nformat pliku", 0, "i|Powrót");
  return false;
}

// PicReadFile with LoadPIC's alert when the file cannot be read: something there that
// is not a file (a directory, a FIFO) is not a picture file.
static bool readPicture(const char* path, size_t most, std::vector<uint8_t>& file) {
  if (PicReadFile(path, most, file)) return true;
  if (errno == EISDIR || errno == ENOTSUP)
    badFormat();
  else
    GEMMessage(0, 100, "Nie ma takiego pliku", 0, "i|Powrót");
  return false;
}

bool LoadPIC(const char* path, int32_t planes) {
  std::vector<uint8_t> file;
  if (!readPicture(path, PicMaxFileBytes, file)) return false;
  PicImage img;
  bool ok = PicLoad(file.data(), file.size(), planes, GEMColor, img);
  if (ok && planes) {
    std::vector<uint32_t> picture;
    PicStretch(img, picture);
    ok = putPicture(picture.data());
  } else if (ok) {
    ok = putBlock(img.px.data(), img.w, img.h, img.w * 4);
  }
  return ok || badFormat();
}

// Every Atari picture file is far shorter.
static constexpr size_t AtariMaxBytes = size_t(1) << 20;

bool LoadAtari(const char* path) {
  std::vector<uint8_t> file;
  if (!readPicture(path, AtariMaxBytes, file)) return false;
  const char* slash = strrchr(path, '/');
  const std::string ext = StExtension(slash ? slash + 1 : path);
  StKind kind =
      file.size() > AtariMaxBytes ? StKind::Unknown : StDetect(file.data(), file.size(), ext);
  StPicture pic;
  PicImage img;
  bool ok = kind != StKind::Unknown && kind != StKind::Png && kind != StKind::Bmp &&
            kind != StKind::Gbf && StDecode(file.data(), file.size(), kind, ext, pic).empty();
  if (ok) {
    StShown(pic, GEMColor, img);
    ok = img.w == PicW && img.h == PicH && putPicture(img.px.data());
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
