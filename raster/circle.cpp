#include <vector>

#include "platform/platform.h"
#include "raster/raster.h"
#include "raster/raster_core.h"

void DrawCircle(int32_t xc, int32_t yc, int32_t r) {
  static std::vector<RasterPoint> pts;
  pts.clear();
  CirclePoints(xc, yc, r, pts);
  // One call per step of eight pixels, as the walk produces them; 1x1 rectangles, as plot.
  for (size_t i = 0; i < pts.size(); i += 8) {
    SDL_Rect px[8];
    for (int k = 0; k < 8; k++) px[k] = {pts[i + k].x, pts[i + k].y, 1, 1};
    SDL_RenderFillRects(SDLRenderer, px, 8);
  }
}

void DrawCircleF(int32_t xc, int32_t yc, int32_t r) {
  static std::vector<RasterSpan> spans;
  spans.clear();
  DiscSpans(xc, yc, r, spans);
  for (const RasterSpan& s : spans) DrawLine(s.x1, s.y, s.x2, s.y);
}
