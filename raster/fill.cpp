#include <algorithm>
#include <vector>

#include "platform/platform.h"
#include "raster/raster.h"
#include "raster/raster_core.h"

std::vector<uint32_t> FillBefore, FillAfter;

void fill(int32_t x0, int32_t y0, uint8_t p) {
  // Outside the canvas nothing is painted and the canvas would be written back as read.
  if (x0 < 0 || x0 >= CanvasW || y0 < 0 || y0 >= CanvasH) {
    FillBox = {0, 0, 0, 0};
    SDL_SetRenderTarget(SDLRenderer, GEMScreen);
    return;
  }
  // Kept from fill to fill: the canvas as read, the one painted, and the work buffer
  // that starts as a second copy; one read-back serves all three.
  static std::vector<uint32_t> work;
  const int pitch = CanvasW * 4;
  FillBefore.resize(size_t(CanvasW) * CanvasH);
  SDL_Rect all = {0, 0, CanvasW, CanvasH};
  SDL_RenderReadPixels(SDLRenderer, &all, SDL_PIXELFORMAT_ABGR8888, FillBefore.data(), pitch);
  FillAfter = FillBefore;
  work = FillBefore;
  FillBox = FillCanvas(FillAfter.data(), work.data(), x0, y0, p, GEMColor[kolor], GEMColor[0]);
  SDL_UpdateTexture(GEMScreen, nullptr, FillAfter.data(), pitch);
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
  DrawRect(r.x, r.y, r.w, r.h);
  fill(x1 + (x2 - x1) / 2, y1 + (y2 - y1) / 2, wyp);
}
