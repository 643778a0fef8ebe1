// Pen shapes on the current render target: points, styled lines, circles, ellipses,
// flood fill and filled boxes, and the pen settings they read (set on the control
// screen). Everything but fill draws with the renderer's current draw colour and blend
// mode; fill writes pixels into GEMScreen and blends nothing.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/globals_core.h"
#include "raster/raster_core.h"

// Line styles, read from bit 31 down, one bit a point, period 32; 1 draws.
inline constexpr uint32_t defline[7] = {0xFFFFFFFF, 0xFFF0FFF0, 0xC0C0C0C0, 0xFF18FF18,
                                        0xFF00FF00, 0xF8C8F8C8, 0xFFC0C0C0};

// Pen settings, and what the last fill painted, as X(type, name, start value) (see
// platform/globals_core.h).
#define RASTER_GLOBALS(X)                                                                   \
  X(uint8_t, lin_r, 0)                 /* line style, index into defline (0..6); 0 solid */ \
  X(uint8_t, lin_szer, 1)              /* pen width in pixels; 0 and 1 are one pixel */     \
  X(uint8_t, kolor, 1)                 /* colour, index into GEMColor; 1 black */           \
  X(uint8_t, wyp, 0)                   /* fill pattern 0..35, as fill takes it; 0 solid */  \
  X(RasterRect, FillBox, {0, 0, 0, 0}) /* box of the pixels the last fill painted; w 0: none */
RASTER_GLOBALS(GLOBAL_EXTERN)

extern double VALUE;  // scratch cell through which line and ellipse swap integers

// The 640x400 canvas as the last fill read it from GEMScreen, and as it wrote it back
// (rows of 640 pixels); empty until a fill has painted. Who needs what a fill changed
// finds it here, without reading the renderer back.
extern std::vector<uint32_t> FillBefore, FillAfter;

// One pen point centred on (x, y): a pixel, or a disc of radius lin_szer / 2.
void plot(int32_t x, int32_t y);
// Bresenham line from (x1, y1) to (x2, y2), both ends included, one pen point per step
// gated by defline[style] (solid for a style past the table); the pattern restarts at
// every call.
void line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t style);
// SDL_RenderDrawLine from (x1, y1) to (x2, y2) and SDL_RenderDrawRect of the rectangle at
// (x, y), w x h, in the renderer's draw colour and blend mode: the same pixels, filled as
// the rectangles of ThinLineRects and FrameRects. Without SDL's line code, which the
// browser's download would carry, and through the pipeline of the fills.
void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void DrawRect(int32_t x, int32_t y, int32_t w, int32_t h);
// Fills the rectangles in order, one by one, in the renderer's draw colour and blend mode.
void FillRasterRects(const std::vector<RasterRect>& rects);
// One-pixel circle outline (eight-way walk); radius 0 is the centre, negative nothing.
void DrawCircle(int32_t xc, int32_t yc, int32_t r);
// Filled disc of horizontal lines, same walk as DrawCircle.
void DrawCircleF(int32_t xc, int32_t yc, int32_t r);
// Axis-parallel ellipse with semi-axes |a|, |b|: outline through plot with style lin_r,
// or filled with horizontal lines. A zero semi-axis draws nothing.
void ellipse(int32_t xc, int32_t yc, int32_t a, int32_t b, uint8_t filled);
// Flood-fills the region of GEMScreen around (x, y) with GEMColor[kolor] in pattern p
// (0 solid, 1..35 with GEMColor[0] gaps). GEMScreen must be the render target and
// stays it.
void fill(int32_t x, int32_t y, uint8_t p);
// Background rectangle between the corners, outlined in GEMColor[kolor], then filled
// inside with pattern wyp. Needs GEMScreen as the target; leaves the colour at kolor.
void pbox(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
