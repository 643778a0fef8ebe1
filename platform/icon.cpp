// The window's icon, apart from the title: the browser build has no window icon and
// leaves this file out (web/icon.cpp).
#include <vector>

#include "platform/platform.h"
#include "platform/window_core.h"

// The design at n times its size as ARGB pixels, as the icon property holds them.
static void iconPixels(const uint8_t* design, int n, std::vector<unsigned long>& out) {
  int side = IconSide * n;
  out.push_back((unsigned long)side);
  out.push_back((unsigned long)side);
  for (int y = 0; y < side; y++)
    for (int x = 0; x < side; x++) {
      uint32_t c = GEMColor[design[(y / n) * IconSide + x / n]];  // bytes r, g, b
      out.push_back(0xFF000000ul | (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF));
    }
}

void SDLIcon(SDL_Surface* font) {
  SDL_Surface* rgba = font ? SDL_ConvertSurfaceFormat(font, SDL_PIXELFORMAT_RGBA32, 0) : nullptr;
  uint8_t design[IconSide * IconSide];
  IconDesign(design, rgba ? (const uint8_t*)rgba->pixels : nullptr, rgba ? rgba->w : 0,
             rgba ? rgba->h : 0, rgba ? rgba->pitch : 0);
  if (rgba) SDL_FreeSurface(rgba);
  if (!SDLWindow) return;
  // On X the icon property takes several sizes, and the desktop picks the one it
  // shows without scaling: the design at 32x32, 64x64 and 128x128.
  std::vector<unsigned long> sizes;
  for (int n : {1, 2, 4}) iconPixels(design, n, sizes);
  if (SDLX11Property(SDLWindow, "_NET_WM_ICON", "CARDINAL", 32, sizes.data(), int(sizes.size())))
    return;
  // Elsewhere SDL's one size: twice the design's, pixel for pixel.
  const int n = 2, side = IconSide * n;
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, side, side, 32, SDL_PIXELFORMAT_ABGR8888);
  if (!icon) return;
  for (int y = 0; y < side; y++) {
    uint32_t* row = (uint32_t*)((uint8_t*)icon->pixels + size_t(y) * icon->pitch);
    for (int x = 0; x < side; x++)
      row[x] = GEMColor[design[(y / n) * IconSide + x / n]] | 0xFF000000u;
  }
  SDL_SetWindowIcon(SDLWindow, icon);
  SDL_FreeSurface(icon);
}
