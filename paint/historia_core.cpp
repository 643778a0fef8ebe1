#include "paint/historia_core.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

size_t KosztKroku(const Krok& k) { return sizeof(Krok) + k.px.capacity() * sizeof(uint32_t); }

void DodajKrok(Historia& h, Krok k) {
  while (h.kroki.size() > h.poz) {
    h.bajty -= KosztKroku(h.kroki.back());
    h.kroki.pop_back();
  }
  h.bajty += KosztKroku(k);
  h.kroki.push_back(std::move(k));
  h.poz = h.kroki.size();
  while (h.bajty > h.budzet && h.kroki.size() - h.pierwszy > 1) {
    h.bajty -= KosztKroku(h.kroki[h.pierwszy]);
    h.kroki[h.pierwszy++] = Krok();
  }
  if (h.pierwszy * 2 > h.kroki.size()) {
    h.kroki.erase(h.kroki.begin(), h.kroki.begin() + ptrdiff_t(h.pierwszy));
    h.poz -= h.pierwszy;
    h.pierwszy = 0;
  }
}

Krok* Wstecz(Historia& h) {
  if (h.poz == h.pierwszy) return nullptr;
  return &h.kroki[--h.poz];
}

Krok* Naprzod(Historia& h) {
  if (h.poz == h.kroki.size()) return nullptr;
  return &h.kroki[h.poz++];
}

Prostokat Suma(Prostokat a, Prostokat b) {
  if (!a.w || !a.h) return b;
  if (!b.w || !b.h) return a;
  int32_t x1 = std::min(a.x, b.x), y1 = std::min(a.y, b.y);
  int32_t x2 = std::max(a.x + a.w, b.x + b.w), y2 = std::max(a.y + a.h, b.y + b.h);
  return {x1, y1, x2 - x1, y2 - y1};
}

// The box from (x1, y1) to (x2, y2), in any order, widened by r on every side, cut to
// the picture. In 64 bits: a drag far past the window's edge must not wrap.
static Prostokat obok(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t r) {
  auto at = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, -1, CanvasW + CanvasH)); };
  return ProstokatBloku(at(std::min(x1, x2) - r), at(std::min(y1, y2) - r),
                        at(std::max(x1, x2) + r), at(std::max(y1, y2) + r));
}

Prostokat Pedzel(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t szer) {
  return obok(x1, y1, x2, y2, szer > 1 ? szer / 2 : 0);
}

Prostokat ObszarElipsy(int32_t xc, int32_t yc, int32_t a, int32_t b, uint8_t szer) {
  int64_t ax = std::abs(int64_t(a)), by = std::abs(int64_t(b));
  return obok(xc - ax, yc - by, xc + ax, yc + by, szer > 1 ? szer / 2 : 0);
}

Prostokat Roznica(const uint32_t* a, const uint32_t* b, int32_t pitch, Prostokat r) {
  int32_t x1 = r.w, x2 = -1, y1 = r.h, y2 = -1;
  for (int32_t y = 0; y < r.h; y++) {
    const size_t start = size_t(r.y + y) * pitch + r.x;
    const uint32_t *ra = a + start, *rb = b + start;
    if (std::memcmp(ra, rb, size_t(r.w) * sizeof(uint32_t)) == 0) continue;
    int32_t l = 0, p = r.w - 1;
    while (ra[l] == rb[l]) l++;
    while (ra[p] == rb[p]) p--;
    x1 = std::min(x1, l);
    x2 = std::max(x2, p);
    y1 = std::min(y1, y);
    y2 = y;
  }
  if (x2 < 0) return {0, 0, 0, 0};
  return {r.x + x1, r.y + y1, x2 - x1 + 1, y2 - y1 + 1};
}

void Kawalek(const uint32_t* src, int32_t w, Prostokat r, std::vector<uint32_t>& out) {
  // Row by row onto the end, so the pixels are written once: no zeroing first.
  out.clear();
  out.reserve(size_t(r.w) * r.h);
  for (int32_t y = 0; y < r.h; y++) {
    const uint32_t* row = src + size_t(r.y + y) * w + r.x;
    out.insert(out.end(), row, row + r.w);
  }
}

Kierunek KlawiszHistorii(int32_t key, bool ctrl, bool shift, bool alt) {
  if (!ctrl || alt) return ZADEN;
  if (key == 'z') return shift ? NAPRZOD : WSTECZ;
  if (key == 'y' && !shift) return NAPRZOD;
  return ZADEN;
}
