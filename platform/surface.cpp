#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "picfiles/files_core.h"
#include "platform/platform.h"
#include "strrt/strrt.h"

void LoadSDLSurface(const char* path, int32_t key) {
  if (SDLSurface) SDL_FreeSurface(SDLSurface);
  // The stream first, so a file that cannot be opened is told by its name.
  SDL_RWops* rw = SDL_RWFromFile(path, "rb");
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
  // XBGR8888 is the textures' byte order with the alpha byte ignored, so SDL writes
  // red, green and blue only; the surface owns its pixels.
  SDLSurface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_XBGR8888);
  if (!SDLSurface) return -1;
  SDL_Rect r = {x, y, w, h};
  if (SDL_RenderReadPixels(SDLRenderer, &r, SDL_PIXELFORMAT_ABGR8888, SDLSurface->pixels,
                           SDLSurface->pitch) != 0)
    return -1;
  // The whole file is made in memory and then written in one piece. The memory is
  // kept for the next save: fresh pages would cost more than SDL's writer.
  static std::vector<uint8_t> bytes;
  size_t room = BmpRoom(w, h);
  if (!room) return SDL_OutOfMemory();
  try {
    if (bytes.size() < room) bytes.resize(room);
  } catch (const std::bad_alloc&) {
    return SDL_OutOfMemory();
  }
  SDL_RWops* rw = SDL_RWFromMem(bytes.data(), int(room < INT32_MAX ? room : INT32_MAX));
  int32_t result = -1;
  if (rw && SDL_SaveBMP_RW(SDLSurface, rw, 0) == 0) {
    size_t n = size_t(SDL_RWtell(rw));
    int err = WRITEFILE(path, bytes.data(), n);
    if (err)
      SDL_SetError("%s: %s", path, strerror(err));
    else
      result = 0;
  }
  if (rw) SDL_RWclose(rw);
  return result;
}
