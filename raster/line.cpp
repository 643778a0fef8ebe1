#include <vector>

#include "platform/platform.h"
#include "raster/raster.h"
#include "raster/raster_core.h"

RASTER_GLOBALS(GLOBAL_DEFINE)

void plot(int32_t x, int32_t y) {
  if (lin_szer > 1)
    DrawCircleF(x, y, lin_szer / 2);
  else {
    // A pixel as a 1x1 rectangle rather than a point: the same pixel on every renderer,
    // drawn by the pipeline of the fills, where WebGL in software prepares one per
    // kind of primitive at its first use.
    SDL_Rect px = {x, y, 1, 1};
    SDL_RenderFillRect(SDLRenderer, &px);
  }
}

void line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t style) {
  static std::vector<RasterPoint> pts;
  pts.clear();
  LinePoints(x1, y1, x2, y2, LinePattern(style), pts);
  for (const RasterPoint& p : pts) plot(p.x, p.y);
}

void FillRasterRects(const std::vector<RasterRect>& rects) {
  for (const RasterRect& r : rects) {
    SDL_Rect q = {r.x, r.y, r.w, r.h};
    SDL_RenderFillRect(SDLRenderer, &q);
  }
}

// The rectangles of a thin line or a frame.
static std::vector<RasterRect> thin;

void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  thin.clear();
  ThinLineRects(x1, y1, x2, y2, thin);
  FillRasterRects(thin);
}

void DrawRect(int32_t x, int32_t y, int32_t w, int32_t h) {
  thin.clear();
  FrameRects(x, y, w, h, thin);
  FillRasterRects(thin);
}
