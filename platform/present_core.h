// Pure rules of the scaled window: where the 640x400 screen lands in a window of any
// size, how a pointer position in the window becomes a picture position, and the
// scale a window opens at. Sizes and positions of the window's drawable are in its
// real pixels; pointer positions in the window's own units, which on a high-density
// display are several pixels each.
#pragma once
#include <cstdint>

inline constexpr int32_t ScreenW = 640, ScreenH = 400;
// The scales --scale and TARKSEN_SCALE accept.
inline constexpr int32_t MinScale = 1, MaxScale = 8;

// The screen shown at a whole scale n, its corner at (x, y) of the drawable.
struct ScreenView {
  int32_t n, x, y;
};
// The largest whole n with 640n x 400n within a drawable of w x h pixels, at least 1,
// centred (a drawable smaller than the screen shows its middle, cut equally).
ScreenView FitScreen(int32_t w, int32_t h);

// Where a pointer position lies: on the picture, in the window's black border around
// it, or off the window altogether (a drag that went on past the window's edge).
enum PointerPlace : uint8_t { ON_PICTURE, IN_BORDER, OFF_WINDOW };
// The picture position (*px, *py) of the window position (wx, wy), for a window of
// winW x winH units whose drawable is drawW x drawH pixels, showing v. A position in
// the border is clamped to the nearest edge pixel of the picture; one off the window
// is scaled as it is, so it stays outside the picture as it was. Rounds down, also
// left of and above the picture.
PointerPlace PictureFromWindow(const ScreenView& v, int32_t winW, int32_t winH, int32_t drawW,
                               int32_t drawH, int32_t wx, int32_t wy, int32_t* px, int32_t* py);

// The scale a window opens at on an area of usable w x h units, less a frame of
// frameW x frameH around the window: the largest n with 640n x 400n within it, at
// least 1.
int32_t StartScale(int32_t usableW, int32_t usableH, int32_t frameW, int32_t frameH);
// A scale as the user writes it: a whole number 1..8 in decimal digits alone; 0 for
// anything else (empty, a sign, spaces, letters, 0, 9 and up).
int32_t ScaleFromText(const char* s);
