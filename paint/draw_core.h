// Pure rules of the drawing screen: the grid's lines and the radius of the round
// tools, over plain integers, for the SDL shells in draw.cpp, wsp.cpp and tools.cpp.
#pragma once
#include <cstdint>
#include <vector>

// A line from (x1, y1) to (x2, y2), as handed to SDL_RenderDrawLine.
struct Odcinek {
  int32_t x1, y1, x2, y2;
};

// The grid of krata, in drawing order: vertical lines (gx, 0)-(gx, 399) for gx = 0,
// krh, 2krh ... up to 639, then horizontal lines (0, gy)-(640, gy) for gy = 0, krv ...
// up to 399. A spacing of 0 or less gives no lines in that direction.
void linie_kraty(int32_t krh, int32_t krv, std::vector<Odcinek>& out);

// Radius of the round tools and of the circle preview: the distance between the
// points, truncated towards zero.
int32_t promien(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
