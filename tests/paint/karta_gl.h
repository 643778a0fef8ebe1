// Shared by the block and magnifier gl tests: a picture whose every pixel differs from
// its neighbours, parts of images, and a comparison that allows the rounding of blending.
#pragma once
#include <cstdio>

#include "tests/paint/draw_gl.h"
#include "tests/support/blend.h"

// A picture of palette colours in which every pixel differs from its neighbours, so
// that a block cut or stamped one pixel off shows.
inline Image Karta() {
  Image img(640, 400);
  for (int py = 0; py < 400; py++)
    for (int px = 0; px < 640; px++) img.at(px, py) = GEMColor[(px * 3 + py * 7) % 16];
  return img;
}

inline Image Wycinek(const Image& img, int x, int y, int w, int h) {
  Image out(w, h);
  for (int py = 0; py < h; py++)
    for (int px = 0; px < w; px++) out.at(px, py) = img.at(x + px, y + py);
  return out;
}

// The block stamped over pic at (x, y) in mode, by the blend equations, cut at the edges.
inline void Naklej(Image& pic, const Image& b, int x, int y, int mode) {
  for (int py = 0; py < b.h; py++)
    for (int px = 0; px < b.w; px++)
      if (x + px < pic.w && y + py < pic.h)
        pic.at(x + px, y + py) = BlendPixel(mode, b.at(px, py), pic.at(x + px, y + py));
}

// got against want, each byte selected by mask within 1.
inline testing::AssertionResult Podobny(const Image& got, const Image& want,
                                        uint32_t mask = 0xFFFFFFFF) {
  if (got.w != want.w || got.h != want.h)
    return testing::AssertionFailure() << "size " << got.w << "x" << got.h;
  int wrong = 0, fx = 0, fy = 0;
  for (int py = 0; py < got.h; py++)
    for (int px = 0; px < got.w; px++)
      if (!NearPixel(got.at(px, py), want.at(px, py), 1, mask) && !wrong++) fx = px, fy = py;
  if (!wrong) return testing::AssertionSuccess();
  char buf[160];
  snprintf(buf, sizeof buf, "%d wrong pixels; first at (%d, %d): expected %08X, got %08X", wrong,
           fx, fy, want.at(fx, fy), got.at(fx, fy));
  return testing::AssertionFailure() << buf;
}


// Runs loop with the events pushed so far; a right press ends it once it waits with
// nothing queued, so that the last frame it shows is the one after every event.
inline void KoniecPrawym(void (*loop)()) {
  Player user({[] { PushButton(true, SDL_BUTTON_RIGHT, 5, 5); }});
  loop();
}

// The drawing screen over the picture Karta, in the undo copy too.
class NaKarcie : public DrawingScreen {
 protected:
  void SetUp() override {
    DrawingScreen::SetUp();
    // Mapped under the pointer, the window gets an enter that SDL reports as a motion
    // without buttons, which may come late on a busy machine and move a block or end
    // a loop: let it come, then drop it. (With the pointer elsewhere none comes.)
    for (int i = 0; i < 100 && SDL_GetMouseFocus() != SDLWindow; i++) {
      SDL_PumpEvents();
      SDL_Delay(10);
    }
    DrainEvents();
    karta = Karta();
    Pokaz(karta);
  }
  // Puts pic into the picture and its undo copy and takes up kolor and tryb.
  static void Pokaz(const Image& pic) {
    SDL_UpdateTexture(GEMScreen, nullptr, pic.px.data(), 640 * 4);
    SDL_UpdateTexture(rob_e$, nullptr, pic.px.data(), 640 * 4);
    Enter();
  }
  Image karta;
};
