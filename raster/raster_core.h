// Pure pixel rules of the raster primitives: the walks write points or spans into
// the caller's arrays; the SDL shells in raster/ turn them into renderer calls.
#pragma once
#include <cstdint>
#include <vector>

struct RasterPoint {
  int32_t x, y;
};
// A horizontal line from (x1, y) to (x2, y), as handed to SDL_RenderDrawLine.
struct RasterSpan {
  int32_t x1, x2, y;
};

// The eight-way circle walk of DrawCircle: 8 points a step (duplicates included), in
// drawing order. Radius 0 gives the centre eight times; a negative radius nothing.
void CirclePoints(int32_t xc, int32_t yc, int32_t r, std::vector<RasterPoint>& out);
// The same walk as spans for DrawCircleF, in drawing order (rows drawn more than once
// appear more than once).
void DiscSpans(int32_t xc, int32_t yc, int32_t r, std::vector<RasterSpan>& out);
