#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/bmp_core.h"
#include "platform/platform.h"
#include "strrt/strrt.h"

SDL_RWops* SDLOpenFile(const char* path) {
  int fd = OPENFILE(path);
  FILE* f = fd >= 0 ? fdopen(fd, "rb") : nullptr;
  SDL_RWops* rw = f ? SDL_RWFromFP(f, SDL_TRUE) : nullptr;
  if (rw) return rw;
  int err = errno;
  if (f)
    fclose(f);
  else if (fd >= 0)
    close(fd);
  SDL_SetError("%s: %s", path, err == ENOTSUP ? "not a regular file" : strerror(err));
  errno = err;
  return nullptr;
}

// The stream of the BMP file at path, positioned at its start, when the size its header
// states fits the picture budget; null with SDL's error set otherwise. A header too
// short to state a size is left for SDL's reader to refuse.
static SDL_RWops* openBmp(const char* path) {
  SDL_RWops* rw = SDLOpenFile(path);
  if (!rw) return nullptr;
  uint8_t head[26];
  size_t n = SDL_RWread(rw, head, 1, sizeof head);
  uint64_t w, h;
  if (BmpHeaderSize(head, n, w, h) && !PictureFits(w, h)) {
    SDL_RWclose(rw);
    char why[80];
    PictureTooLarge(w, h, why, sizeof why);
    SDL_SetError("%s", why);
    return nullptr;
  }
  if (SDL_RWseek(rw, 0, RW_SEEK_SET) != 0) {
    SDL_RWclose(rw);
    return nullptr;
  }
  return rw;
}

void LoadSDLSurface(const char* path, int32_t key) {
  if (SDLSurface) SDL_FreeSurface(SDLSurface);
  SDL_RWops* rw = openBmp(path);
  SDLSurface = rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
  if (!SDLSurface) {
    puts(SDL_GetError());
    return;
  }
  if (key >= 0) {
    Color = uint32_t(key);
    SDL_SetColorKey(SDLSurface, SDL_TRUE,
                    SDL_MapRGB(SDLSurface->format, Color & 0xFF, (Color >> 8) & 0xFF,
                               (Color >> 16) & 0xFF));
  }
}

int32_t SaveSurface(int32_t x, int32_t y, int32_t w, int32_t h, const char* path) {
  if (SDLSurface) SDL_FreeSurface(SDLSurface);
  // XBGR8888 is the textures' byte order with the alpha byte ignored: the file holds
  // red, green and blue only. The surface owns its pixels.
  SDLSurface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_XBGR8888);
  if (!SDLSurface) return -1;
  SDL_Rect r = {x, y, w, h};
  if (SDL_RenderReadPixels(SDLRenderer, &r, SDL_PIXELFORMAT_ABGR8888, SDLSurface->pixels,
                           SDLSurface->pitch) != 0)
    return -1;
  // The whole file is made in memory and then written in one piece. The memory is
  // kept for the next save: fresh pages would cost more than the writing.
  static std::vector<uint8_t> bytes;
  size_t room = BmpRoom(w, h);
  if (!room) return SDL_OutOfMemory();
  try {
    if (bytes.size() < room) bytes.resize(room);
  } catch (const std::bad_alloc&) {
    return SDL_OutOfMemory();
  }
  BmpWrite(static_cast<const uint8_t*>(SDLSurface->pixels), w, h, size_t(SDLSurface->pitch),
           bytes.data());
  if (int err = WRITEFILE(path, bytes.data(), room))
    return SDL_SetError("%s: %s", path, strerror(err));
  return 0;
}
