// The e2e tier's picture of the program's screens, worked out independently of its code:
// box colours, boxes and their labels in the font read from BASFont.bmp, areas of a
// screenshot compared pixel by pixel, and clicks paced as a user's.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/e2e.h"
#include "tests/support/text.h"
#include "toolkit/toolkit_core.h"

// Box colours as the window shows them.
inline constexpr uint32_t SRODEK = 0xAFCFAF;  // panel, box fill; rim of a pressed box
inline constexpr uint32_t JASNY = 0xCFFFCF;
inline constexpr uint32_t CIEMNY = 0x7FAF7F;  // rim; fill of a pressed box
inline constexpr uint32_t BLADY = 0xAFFFAF;   // the title box
inline constexpr uint32_t PRZYGASZONY = 0x8FBF8F;
inline constexpr uint32_t CZARNY = 0, BIALY = 0xFFFFFF, CZERWONY = 0xFF0000;
// The palette's red, green and blue.
inline constexpr uint32_t PALETA[16] = {0xFFFFFF, 0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x00FFFF,
                                        0xFFFF00, 0xFF00FF, 0x9C9C9C, 0x4E4E4E, 0xFF7F7F, 0x7FFF7F,
                                        0x7F7FFF, 0x7FFFFF, 0xFFFF7F, 0xFF7FFF};

struct Rect {
  int x, y, w, h;
};
inline int srodekX(Rect r) { return r.x + r.w / 2; }
inline int srodekY(Rect r) { return r.y + r.h / 2; }

inline bool blisko(uint32_t a, uint32_t b, int tol) {
  for (int sh = 0; sh <= 16; sh += 8)
    if (abs(int(a >> sh & 0xFF) - int(b >> sh & 0xFF)) > tol) return false;
  return true;
}

// Compares the shot over r with want(x, y); tol allows for the rounding of blending.
inline testing::AssertionResult Obszar(const Shot& s, Rect r,
                                       const std::function<uint32_t(int, int)>& want, int tol = 0) {
  if (s.w != 640 || s.h != 400) return testing::AssertionFailure() << "no screenshot";
  int wrong = 0, fx = 0, fy = 0;
  for (int y = r.y; y < r.y + r.h; y++)
    for (int x = r.x; x < r.x + r.w; x++)
      if (!blisko(s.at(x, y), want(x, y), tol) && !wrong++) fx = x, fy = y;
  if (!wrong) return testing::AssertionSuccess();
  char buf[160];
  snprintf(buf, sizeof buf,
           "%d wrong pixels in (%d, %d, %d x %d); first at (%d, %d): want %06X, got %06X", wrong,
           r.x, r.y, r.w, r.h, fx, fy, want(fx, fy), s.at(fx, fy));
  return testing::AssertionFailure() << buf;
}

// The font strip as the program loads it: 114 cells of 8x8 in a 24-bit BMP, ink non-zero.
class Font {
 public:
  Font() {
    FILE* f = fopen(TARKSEN_FONT, "rb");
    std::vector<unsigned char> b;
    if (f) {
      int c;
      while ((c = fgetc(f)) != EOF) b.push_back((unsigned char)c);
      fclose(f);
    }
    if (b.size() < 54) return;
    auto le = [&](int o) { return b[o] | b[o + 1] << 8 | b[o + 2] << 16 | b[o + 3] << 24; };
    int off = le(10), h = le(22);
    w_ = le(18);
    int pitch = (w_ * 3 + 3) & ~3;
    ink_.assign(size_t(w_) * 8, false);
    for (int y = 0; y < 8; y++)
      for (int x = 0; x < w_; x++) {
        size_t o = off + size_t(h > 0 ? h - 1 - y : y) * pitch + x * 3;
        ink_[y * w_ + x] = o + 2 < b.size() && (b[o] | b[o + 1] | b[o + 2]);
      }
  }
  bool ink(int x, int y) const { return x < w_ && ink_[y * w_ + x]; }

 private:
  int w_ = 0;
  std::vector<bool> ink_;
};
inline const Font& font() {
  static Font f;
  return f;
}

// Area r showing text printed as one row from pen (px, py), wrapped where a glyph would
// start right of `right`, in glyphs of 16x16 (each font pixel doubled) in colour ink, on
// fill.
inline std::function<uint32_t(int, int)> Tekst(Rect r, const char* text, int32_t px, int32_t py,
                                               int32_t right, uint32_t fill, uint32_t ink) {
  auto img = std::make_shared<std::vector<uint32_t>>(size_t(r.w) * r.h, fill);
  for (const GlyphDraw& g : GlyphsOf(text, px, py, right))
    for (int fy = 0; fy < 8; fy++)
      for (int fx = 0; fx < 8; fx++)
        if (font().ink(8 * g.cell + fx, fy))
          for (int d = 0; d < 4; d++) {
            int x = g.x + 2 * fx + d % 2 - r.x, y = g.y + 2 * fy + d / 2 - r.y;
            if (x >= 0 && y >= 0 && x < r.w && y < r.h) (*img)[size_t(y) * r.w + x] = ink;
          }
  return [img, r](int x, int y) { return (*img)[size_t(y - r.y) * r.w + (x - r.x)]; };
}

// The inner area of a raised box: fill, and the label centred by characters.
inline std::function<uint32_t(int, int)> Etykieta(Rect r, const char* label, uint32_t fill,
                                                  uint32_t ink) {
  int chars = int(GlyphsOf(label, 0, 0).size());
  return Tekst(r, label, r.x + r.w / 2 - chars * 16 / 2, r.y + r.h / 2 - 8, 640, fill, ink);
}

// The rim one pixel around r: top and left light and bottom and right dark when the
// box is up, middle and light when it is pressed; the corners keep the fill.
inline testing::AssertionResult Obrys(const Shot& s, Rect r, bool wcisniety, uint32_t fill) {
  uint32_t gora = wcisniety ? SRODEK : JASNY, dol = wcisniety ? JASNY : CIEMNY;
  return Obszar(s, {r.x - 1, r.y - 1, r.w + 2, r.h + 2}, [&](int x, int y) {
    bool lewo = x == r.x - 1, prawo = x == r.x + r.w, wyzej = y == r.y - 1, nizej = y == r.y + r.h;
    if ((lewo || prawo) && (wyzej || nizej)) return fill;
    if (wyzej || lewo) return gora;
    if (nizej || prawo) return dol;
    return s.at(x, y);  // the inside is checked elsewhere
  });
}

inline testing::AssertionResult Przycisk(const Shot& s, Rect r, const char* label, bool wcisniety,
                                         uint32_t text = CZARNY) {
  uint32_t fill = wcisniety ? CIEMNY : SRODEK;
  testing::AssertionResult a = Obrys(s, r, wcisniety, fill);
  if (!a) return a << " (rim of \"" << label << "\")";
  a = Obszar(s, r, Etykieta(r, label, fill, text));
  if (!a) return a << " (inside of \"" << label << "\")";
  return a;
}

// Waits until check holds on the window (or 5 s pass) and reports the last result.
inline testing::AssertionResult Widac(
    App& app, const std::function<testing::AssertionResult(const Shot&)>& check) {
  Shot s = app.waitFor([&](const Shot& s) { return bool(check(s)); });
  return check(s);
}

// A single click: two clicks of a button within half a second and 32 pixels of each
// other make a double click, which leaves the control screen for the drawing screen.
inline void klik(App& app, int x, int y, int button = 1) {
  std::this_thread::sleep_for(std::chrono::milliseconds(550));
  app.click(x, y, button);
}
inline void klik(App& app, Rect r, int button = 1) { klik(app, srodekX(r), srodekY(r), button); }
