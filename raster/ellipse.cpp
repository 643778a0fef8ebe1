#include <vector>

#include "platform/platform.h"
#include "raster/raster.h"
#include "raster/raster_core.h"

void ellipse(int32_t xc, int32_t yc, int32_t a, int32_t b, uint8_t filled) {
  if (filled) {
    static std::vector<RasterSpan> spans;
    spans.clear();
    EllipseSpans(xc, yc, a, b, spans);
    for (const RasterSpan& s : spans) DrawLine(s.x1, s.y, s.x2, s.y);
  } else {
    static std::vector<RasterPoint> pts;
    pts.clear();
    EllipsePoints(xc, yc, a, b, LinePattern(lin_r), pts);
    for (const RasterPoint& p : pts) plot(p.x, p.y);
  }
}
