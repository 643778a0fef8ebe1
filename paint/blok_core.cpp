#include "paint/blok_core.h"

#include <algorithm>

#include "raster/raster_core.h"

// [lo, hi] cut to [0, limit - 1], as a start and a length (0 when nothing is left).
static void przytnij(int32_t a, int32_t b, int32_t limit, int32_t& start, int32_t& len) {
  int64_t lo = std::max<int64_t>(std::min(a, b), 0);
  int64_t hi = std::min<int64_t>(std::max(a, b), limit - 1);
  start = int32_t(lo);
  len = hi >= lo ? int32_t(hi - lo + 1) : 0;
}

Prostokat ProstokatBloku(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  Prostokat r;
  przytnij(x1, x2, CanvasW, r.x, r.w);
  przytnij(y1, y2, CanvasH, r.y, r.h);
  if (!r.w || !r.h) return {0, 0, 0, 0};
  return r;
}

Lupa UkladLupy(int32_t px, int32_t py, int32_t krh, int32_t krv) {
  px = std::clamp(px, 0, CanvasW - 1);
  py = std::clamp(py, 0, CanvasH - 1);
  Lupa l;
  l.gx = krh * (px / krh);
  l.gy = krv * (py / krv);
  l.zf = 400 / krv;
  l.n = 400 / l.zf;
  l.cx = 100 - krh / 2;
  l.cy = 200 - krv / 2;

  // 200x200 around the cell's centre, shown from (0, 100); what falls left of or above
  // the picture moves the copy right or down so that the cell still lands at (cx, cy).
  int32_t left = l.gx + krh / 2 - 100, top = l.gy + krv / 2 - 100;
  l.ox = left < 0 ? -left : 0;
  l.oy = 100 + (top < 0 ? -top : 0);
  przytnij(left, left + 199, CanvasW, l.okolica.x, l.okolica.w);
  przytnij(top, top + 199, CanvasH, l.okolica.y, l.okolica.h);

  // The square is cut at the picture's edge rather than stretched: SDL would scale a
  // source cut by the texture's edge over the whole destination.
  l.zrodlo = {l.gx, l.gy, std::min(l.n, CanvasW - l.gx), std::min(l.n, CanvasH - l.gy)};
  l.powiekszenie = {220, 0, l.zrodlo.w * l.zf, l.zrodlo.h * l.zf};
  return l;
}

int32_t KolorPaska(int32_t px, int32_t py) {
  if (px < 0 || py < 0 || px > 191 || py > 11) return -1;
  return px / 12;
}

bool PikselLupy(int32_t px, int32_t py, int32_t krh, int32_t krv, int32_t zf, int32_t& ex,
                int32_t& ey) {
  if (px < 220 || px >= 220 + krh * zf || py < 0 || py >= krv * zf) return false;
  ex = (px - 220) / zf;
  ey = py / zf;
  return true;
}
