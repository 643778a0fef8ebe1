// Pure rules of the drawing screen: the grid's lines and the radius of the round
// tools, over plain integers, for the SDL shells in draw.cpp, wsp.cpp and tools.cpp.
#pragma once
#include <cstdint>
#include <vector>

#include "raster/raster_core.h"

// The grid of krata, in drawing order, as the rectangles of its one-pixel lines (what
// SDL_RenderDrawLine fills for a line along a column or a row): the columns (gx, 0) to
// (gx, 399) for gx = 0, krh, 2krh ... up to 639, then the rows (0, gy) to (640, gy) for
// gy = 0, krv ... up to 399. A spacing of 0 or less gives no lines in that direction.
void linie_kraty(int32_t krh, int32_t krv, std::vector<RasterRect>& out);

// Radius of the round tools and of the circle preview: the distance between the
// points, truncated towards zero.
int32_t promien(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
