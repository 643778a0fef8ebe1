// Pure pixel rules of the raster primitives: the walks write points or spans into
// the caller's arrays, the flood fill paints plain 640x400 pixel buffers; the SDL
// shells in raster/ turn them into renderer calls or one texture upload.
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
// A rectangle of the canvas, as SDL_Rect holds one; w and h are 0 when it is empty.
struct RasterRect {
  int32_t x, y, w, h;
};

// The eight-way circle walk of DrawCircle: 8 points a step (duplicates included), in
// drawing order. Radius 0 gives the centre eight times; a negative radius nothing.
void CirclePoints(int32_t xc, int32_t yc, int32_t r, std::vector<RasterPoint>& out);
// The same walk as spans for DrawCircleF, in drawing order (rows drawn more than once
// appear more than once).
void DiscSpans(int32_t xc, int32_t yc, int32_t r, std::vector<RasterSpan>& out);

// The style pattern of line style index style; an index past the table is solid.
uint32_t LinePattern(uint8_t style);
// Exchanges a and b through the scratch cell VALUE, as line and ellipse do.
void SwapValue(int32_t& a, int32_t& b);
void SwapValue(int64_t& a, int64_t& b);
// The Bresenham walk of line: the pen points that pattern lets through, in drawing
// order, from (x1, y1) to (x2, y2) inclusive.
void LinePoints(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t pattern,
                std::vector<RasterPoint>& out);
// The pixels SDL's renderer draws at scale 1 for SDL_RenderDrawLine from (x1, y1) to
// (x2, y2) and for SDL_RenderDrawRect of the rectangle at (x, y), w x h (w or h below 1
// count back from x or y), as rectangles to fill in order. A line along a row or a
// column is one rectangle, any other the Bresenham walk of SDL, a 1x1 rectangle a
// pixel. A frame is its four sides from (x, y) round, each without its end, so that a
// pixel two sides share is covered twice only where SDL covers it twice (a frame one
// pixel wide or high), which shows under blending.
void ThinLineRects(int32_t x1, int32_t y1, int32_t x2, int32_t y2, std::vector<RasterRect>& out);
void FrameRects(int32_t x, int32_t y, int32_t w, int32_t h, std::vector<RasterRect>& out);
// The outline walk of ellipse: the points to plot, four mirrored ones per step that
// pattern lets through, in drawing order. Semi-axes as for ellipse.
void EllipsePoints(int32_t xc, int32_t yc, int32_t a, int32_t b, uint32_t pattern,
                   std::vector<RasterPoint>& out);
// The filled walk of ellipse: two spans per step, in drawing order.
void EllipseSpans(int32_t xc, int32_t yc, int32_t a, int32_t b, std::vector<RasterSpan>& out);

inline constexpr int32_t CanvasW = 640, CanvasH = 400;

// The first value msvcrt's rand returns after srand(seed).
inline uint32_t MsvcrtFirstRand(uint32_t seed) {
  return ((seed * 214013u + 2531011u) >> 16) & 0x7FFF;
}
// Fill pattern p at canvas pixel (x, y): true where it takes the background colour.
// Fixed to canvas positions, so neighbouring fills with one pattern join seamlessly.
inline bool FillPatternGap(int32_t x, int32_t y, uint8_t p) {
  uint32_t seed = (uint32_t(x) + 640u * uint32_t(y)) * p * 1000u;
  return MsvcrtFirstRand(seed) % 3 == 0;
}
// The span flood fill of fill over two CanvasW x CanvasH buffers holding the same
// canvas: from the seed (x0, y0), a downward then an upward chain of at most one span
// a row of pixels whose work value equals the seed's. Painted pixels become colour in
// work, and colour or (where FillPatternGap says so, p > 0) background in out. A seed
// outside the canvas paints nothing. Returns the box of the painted pixels (empty for
// none), so a caller knows what the fill may have changed without comparing canvases.
RasterRect FillCanvas(uint32_t* out, uint32_t* work, int32_t x0, int32_t y0, uint8_t p,
                      uint32_t colour, uint32_t background);
