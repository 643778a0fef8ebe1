// Test support for the gl tier: one real window on SDL's OpenGL renderer per test
// binary (under Xvfb), pushed SDL events, and exact pixel checks.
#pragma once
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/compare.h"
#include "tests/support/text.h"
#include "toolkit/toolkit_core.h"

// An image of ABGR8888 pixels (bytes r, g, b, a in memory order).
struct Image {
  int w = 0, h = 0;
  std::vector<uint32_t> px;
  Image() = default;
  Image(int w_, int h_, uint32_t fill = 0) : w(w_), h(h_), px(size_t(w_) * h_, fill) {}
  uint32_t& at(int x, int y) { return px[size_t(y) * w + x]; }
  uint32_t at(int x, int y) const { return px[size_t(y) * w + x]; }
};

// Pixel value from bytes, as a palette entry is written.
constexpr uint32_t Px(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16 | uint32_t(a) << 24;
}
// Red, green and blue of a pixel, alpha dropped (what a window shows).
constexpr uint32_t Rgb(uint32_t p) { return p & 0xFFFFFF; }

// Reads rect (whole target if null) of texture t and puts the previous render target
// back. For null, the window as the program draws on it (SDLScreen).
Image ReadPixels(SDL_Texture* t, const SDL_Rect* rect = nullptr);
// Clears texture t (the window's SDLScreen if null) to colour c with blend mode none.
void ClearTarget(SDL_Texture* t, uint32_t c);

// Compares actual with expected pixel by pixel (red, green and blue only when rgbOnly),
// or as near as m asks, with the comparator of tests/support/compare.h.
inline testing::AssertionResult SameImage(const Image& actual, const Image& expected, Match m) {
  return SameGrid(GridOf(actual, Layout::Abgr), GridOf(expected, Layout::Abgr), m);
}
inline testing::AssertionResult SameImage(const Image& actual, const Image& expected,
                                          bool rgbOnly = false) {
  return SameImage(actual, expected, Match{rgbOnly ? 0xFFFFFFu : 0xFFFFFFFFu, 0});
}

// Paints rectangle (x, y, w, h) of img in c, clipped to the image.
void PaintRect(Image& img, int x, int y, int w, int h, uint32_t c);
// Is pixel (x, y) of the font image, as loaded at start-up, glyph ink?
bool FontInk(int x, int y);
// Paints each glyph copy onto img in ink as the font draws it: its cell's ink pixels
// scaled by scale (2 for the 16x16 glyphs of SDLGPrint) from the copy's corner.
void PaintGlyphs(Image& img, uint32_t ink, const std::vector<GlyphDraw>& glyphs, int scale = 2);

// Events pushed onto SDL's queue as the devices would deliver them to our window,
// through the program's filter as those are.
// Only pushed input and window events reach the queue: those the X server sends (the
// pointer crossing our window as other test windows come and go) are dropped.
void PushMotion(int x, int y, uint32_t state = 0);
void PushButton(bool down, uint8_t button, int x, int y, uint8_t clicks = 1);
void PushClick(uint8_t button, int x, int y, uint8_t clicks = 1);      // press and release
void PushKey(SDL_Keycode sym, bool repeat = false, uint16_t mod = 0);  // mod: KMOD_* held
void PushText(const char* text);
// A turn of the wheel by notches (positive away from the user), as the device reports
// it, or reversed with flipped (SDL_MOUSEWHEEL_FLIPPED).
void PushWheel(int notches, bool flipped = false);
void PushQuit();
void PushWindowEvent(uint8_t event, uint32_t windowID = 0);  // 0: our window
// Only pushed input and window events reach the queue: real ones from the X server
// (the pointer crossing windows of other test programs) are dropped. A test that
// drives the real server on purpose holds a RealInput while it does.
struct RealInput {
  RealInput();
  ~RealInput();
};
// Empties SDL's queue.
void DrainEvents();
// The gl tests link with SDL_WaitEvent wrapped: how many waits the program has entered
// so far, and whether one is blocked now. A test thread that feeds events one at a
// time waits for a new blocking wait before each, so none is drained by the program's
// own event pumps.
uint64_t WaitsEntered();
bool WaitingForEvent();

// Base fixture: globals at their start values, queue drained, render target the
// window (SDLScreen), draw colour black, blend none.
class GLTest : public testing::Test {
 protected:
  void SetUp() override;
};
// Fixture for drawing into GEMScreen: the font loaded, GEMScreen cleared to bg and
// made the render target.
class ScreenTest : public GLTest {
 protected:
  explicit ScreenTest(uint32_t background = Px(0, 0, 0, 255)) : bg(background) {}
  void SetUp() override;
  const uint32_t bg;
};
// Sets the globals of every module's list back to their start values, and the font
// as start-up left it.
void ResetGlobals();
