// Shared by the block and magnifier gl tests: a picture whose every pixel differs from
// its neighbours, parts of images, and how near blended pixels must be.
#pragma once
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

// How many times pixels have been read back from the renderer so far: test_paint_gl
// links with SDL_RenderReadPixels wrapped (blok_gl.cpp) to count them.
int ReadBacks();

inline Image Wycinek(const Image& img, int x, int y, int w, int h) {
  Image out(w, h);
  for (int py = 0; py < h; py++)
    for (int px = 0; px < w; px++) out.at(px, py) = img.at(x + px, y + py);
  return out;
}

// The block tool's cut as a user makes it: Escape, then each corner reached with a
// motion and confirmed with a left click.
inline void PushCut(int x1, int y1, int x2, int y2) {
  PushKey(SDLK_ESCAPE);
  PushMotion(x1, y1);
  PushClick(SDL_BUTTON_LEFT, x1, y1);
  PushMotion(x2, y2);
  PushClick(SDL_BUTTON_LEFT, x2, y2);
}

// The block stamped over pic at (x, y) in mode, by the blend equations, cut at the edges.
inline void Naklej(Image& pic, const Image& b, int x, int y, int mode) {
  for (int py = 0; py < b.h; py++)
    for (int px = 0; px < b.w; px++)
      if (x + px >= 0 && y + py >= 0 && x + px < pic.w && y + py < pic.h)
        pic.at(x + px, y + py) = BlendPixel(mode, b.at(px, py), pic.at(x + px, y + py));
}

// Blending rounds: blended pixels are compared within 1 in each channel, in the
// window's red, green and blue only (it shows no alpha).
inline constexpr Match Blended{0xFFFFFFFF, 1}, BlendedShown{0xFFFFFF, 1};

// Runs loop over the events queued now; once it has read them all and waits for more
// with nothing queued, a right press ends it, so that the last frame it showed is the
// one after every event. Returns the pointer position that frame was drawn for.
// (cz_mysz enters one wait for every event it reads, those it drops included.)
inline std::pair<int, int> KoniecPrawym(void (*loop)()) {
  uint64_t start = WaitsEntered();
  int n = SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
  std::pair<int, int> at;
  std::thread user([&] {
    while (WaitsEntered() <= start + n || !WaitingForEvent() ||
           SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT))
      SDL_Delay(1);
    at = {x, y};
    PushButton(true, SDL_BUTTON_RIGHT, 5, 5);
  });
  loop();
  user.join();
  return at;
}

// The drawing screen over the picture Karta, in the undo copy too.
class NaKarcie : public DrawingScreen {
 protected:
  void SetUp() override {
    DrawingScreen::SetUp();
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
