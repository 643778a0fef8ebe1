#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/platform.h"
#include "raster/raster.h"
#include "raster/raster_core.h"

void fill(int32_t x0, int32_t y0, uint8_t p) {
  // Outside the canvas nothing is painted and the canvas would be written back as read.
  if (x0 < 0 || x0 >= CanvasW || y0 < 0 || y0 >= CanvasH) {
    FillBox = {0, 0, 0, 0};
    SDL_SetRenderTarget(SDLRenderer, GEMScreen);
    return;
  }
  const size_t n = size_t(CanvasW) * CanvasH;
  const int pitch = CanvasW * 4;
  std::unique_ptr<uint32_t[]> out(new uint32_t[n]), work(new uint32_t[n]);
  SDL_Rect all = {0, 0, CanvasW, CanvasH};
  SDL_RenderReadPixels(SDLRenderer, &all, SDL_PIXELFORMAT_ABGR8888, out.get(), pitch);
  // The work buffer starts as a second copy of the canvas; one read-back serves both.
  std::memcpy(work.get(), out.get(), n * 4);
  FillBox = FillCanvas(out.get(), work.get(), x0, y0, p, GEMColor[kolor], GEMColor[0]);
  SDL_UpdateTexture(GEMScreen, nullptr, out.get(), pitch);
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
}

void pbox(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  // Corners in any order give the rectangle between them.
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  SDL_Rect r = {x1, y1, x2 - x1 + 1, y2 - y1 + 1};
  SDLDrawColor(GEMColor[0]);
  SDL_RenderFillRect(SDLRenderer, &r);
  SDLDrawColor(GEMColor[kolor]);
  SDL_RenderDrawRect(SDLRenderer, &r);
  fill(x1 + (x2 - x1) / 2, y1 + (y2 - y1) / 2, wyp);
}
