// The e2e tier's picture of the program's boxes, worked out independently of its code:
// their rims, and their labels in the font read from BASFont.bmp, checked over areas of
// a screenshot pixel by pixel. Where the boxes are is in tests/support/screen.h.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/compare.h"
#include "tests/support/e2e.h"
#include "tests/support/scratch.h"
#include "tests/support/screen.h"
#include "tests/support/text.h"
#include "toolkit/toolkit_core.h"

// Compares the shot over r with want(x, y); tol allows for the rounding of blending.
inline testing::AssertionResult Obszar(const Shot& s, Rect r,
                                       const std::function<uint32_t(int, int)>& want, int tol = 0) {
  return SameArea(GridOf(s, Layout::Rgb), r.x, r.y, r.w, r.h, want, {0xFFFFFF, tol});
}

// The font strip as the program loads it: 114 cells of 8x8 in a 24-bit BMP, ink non-zero.
class Font {
 public:
  Font() {
    const std::vector<uint8_t> b = ReadBytes(TARKSEN_FONT);
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

// The recovery copy's question at the start, its text as the font draws it over the
// alert's panel.
inline bool Pytanie(const Shot& s) {
  if (!AlertUp(s) || s.at(301, 130) != CZERWONY) return false;
  Rect r = {176, 192, 288, 32};
  return bool(
      Obszar(s, r, Tekst(r, "Przywrócić\nniezapisany obraz?", 176, 192, 464, SRODEK, CZARNY)));
}
