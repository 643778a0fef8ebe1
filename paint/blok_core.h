// Pure rules of the block tool and the magnifier: the rectangle two corners span, and
// the magnifier's layout (cell, zoom, enlarged square, the pixel under a click), over
// plain integers for the SDL shells in blok.cpp and powieksz.cpp.
#pragma once
#include <cstdint>

#include "raster/raster_core.h"

// A rectangle of the picture (x, y, w, h); w and h are 0 when it is empty.
using Prostokat = RasterRect;

// The rectangle with corners (x1, y1) and (x2, y2), picked in either order, both
// included, clipped to the 640x400 picture. w and h are 0 if none of it is on it.
Prostokat ProstokatBloku(int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// The magnifier on the grid cell under a click, for grid spacings krh x krv of 8..80.
struct Lupa {
  int32_t gx, gy;          // the cell's top-left on the picture; the cell is krh x krv
  int32_t zf;              // zoom factor: 400 div krv
  int32_t n;               // side of the enlarged square in picture pixels: 400 div zf
  int32_t cx, cy;          // the cell's top-left in the one-to-one view
  Prostokat okolica;       // the part of the picture shown one to one: 200x200 around the
                           // cell's centre, cut at the picture's edges
  int32_t ox, oy;          // where okolica lands on the magnifier screen
  Prostokat zrodlo;        // the part of the n x n square from (gx, gy) on the picture
  Prostokat powiekszenie;  // where zrodlo lands, each pixel a zf x zf square at
                           // (220, 0) + zf * (its offset in the square)
};
// The click (px, py) is taken within the picture first, so a drag past the window's
// edge still picks a cell of the picture.
Lupa UkladLupy(int32_t px, int32_t py, int32_t krh, int32_t krv);

// The colour strip: palette index of the 12x12 square under (px, py), or -1.
int32_t KolorPaska(int32_t px, int32_t py);
// The cell pixel (ex, ey) under (px, py) in the enlarged view of a krh x krv cell
// zoomed zf times; false outside the editable area, the krh*zf x krv*zf square at
// (220, 0).
bool PikselLupy(int32_t px, int32_t py, int32_t krh, int32_t krv, int32_t zf, int32_t& ex,
                int32_t& ey);
