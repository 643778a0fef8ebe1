#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/bmp_core.h"
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
