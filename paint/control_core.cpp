#include "paint/control_core.h"

#include <algorithm>

#include "raster/raster_core.h"

// Flag combinations of the panel.
static constexpr uint8_t NAPIS = BOX_SELECTABLE;  // drawn, never hit
static constexpr uint8_t PRZYCISK = BOX_ENABLED | BOX_SELECTABLE | BOX_MOMENTARY;
static constexpr uint8_t RADIO = BOX_ENABLED | BOX_SELECTABLE | BOX_RADIO;  // the tools

static const char* const etykiety[24] = {"Ładuj",        "Zapisz",    "DEGAS",   "Doodle",
                                         "BMP",          "BMP",       "...blok", "...blok",
                                         "Punkt",        "Rysunek",   "Linia",   "Łamana",
                                         "Ramka",        "Prostokąt", "Okrąg",   "Koło",
                                         "Elipsa",       "Dysk",      "Blok",    "Wypełnienie",
                                         "Powiększenie", nullptr,     "Czyść",   "Koniec"};

static GEMBox box(const char* text, uint8_t flags, uint8_t type, int32_t x, int32_t y, int32_t w,
                  int32_t h, uint32_t fill = 0, int32_t textColor = 0) {
  return {text, flags, type, x, y, w, h, fill, textColor, nullptr};
}

void UkladPol(GEMBox out[81], const char* mode, const uint32_t palette[16]) {
  // Load and save columns, their headings first.
  for (int i = 0; i < 8; i++)
    out[i] =
        box(etykiety[i], i < 2 ? NAPIS : PRZYCISK, 1, 8 + 204 * (i % 2), 8 + 24 * (i / 2), 200, 24);
  // Tools 0..11 in two columns; box 8 + 2r + m is row r, column m.
  for (int i = 8; i < 20; i++)
    out[i] = box(etykiety[i], RADIO, 1, 8 + 204 * (i % 2), 152 + 28 * ((i - 8) / 2), 200, 24);
  out[20] = box(etykiety[20], RADIO, 1, 8, 116, 200, 24);
  out[21] = box(mode, PRZYCISK, 1, 212, 116, 200, 24);
  out[22] = box(etykiety[22], PRZYCISK, 1, 8, 370, 200, 24);
  out[23] = box(etykiety[23], PRZYCISK, 1, 212, 370, 200, 24);
  // Pattern boxes: box 24 + 6r + m is row r, column m, under its sample.
  for (int i = 0; i < 36; i++)
    out[24 + i] = box(nullptr, PRZYCISK, 0, 426 + 36 * (i % 6), 8 + 36 * (i / 6), 30, 28);
  // Text colour 1 (red 1, green and blue 0): 0 would give the dimmed standard text.
  out[60] = box("TARKSEN 2", NAPIS, 1, 426, 354, 210, 40, BoxPale, 1);
  out[61] = box(nullptr, PRZYCISK, 0, 426, 264, 174, 52);
  out[62] = box(nullptr, PRZYCISK, 0, 606, 264, 30, 52);
  out[63] = box(nullptr, PRZYCISK, 0, 426, 320, 174, 30);
  out[64] = box(nullptr, PRZYCISK, 0, 606, 320, 30, 30);
  for (int i = 0; i < 16; i++)
    out[65 + i] = box(nullptr, PRZYCISK, 0, 8 + 25 * i, 320, 21, 22, palette[i], 1);
  out[9].flags |= BOX_SELECTED;
}

// The samples of boxes 61 and 63 stand every 26 pixels from x = 446 (sample 1); each
// answers for the 26 columns that begin 14 left of it.
static int32_t probka(int32_t px) { return (px - 406) / 26; }

Rozkaz Wybierz(int32_t v, int32_t px, Wybory& w) {
  if (v >= 2 && v <= 7) return {v % 2 ? ZAPISZ : LADUJ, (v - 2) / 2};
  if (v >= 8 && v <= 20) w.co = uint8_t(v - 8);
  if (v == 21) w.tryb = uint8_t((w.tryb + 1) % 5);
  if (v == 22) return {CZYSC, 0};
  if (v == 23) return {KONIEC, 0};
  if (v >= 24 && v <= 59) w.wyp = uint8_t(v - 24);
  if (v == 61) {
    int32_t s = probka(px);
    w.lin_r = uint8_t(s < 0 ? 0 : s > 6 ? 6 : s);
  }
  if (v == 62) w.lin_r = 0;
  if (v == 63) w.lin_szer = uint8_t(2 * probka(px));
  if (v == 64) w.lin_szer = 1;
  if (v >= 65 && v <= 80) w.kolor = uint8_t(v - 65);
  return {BRAK, 0};
}

void ProbkiWzorow(uint32_t* canvas, uint32_t ink, uint32_t paper) {
  std::fill(canvas, canvas + CanvasW * CanvasH, 0u);
  // Each sample is a white rectangle on transparent black, so its flood fill reaches
  // every pixel of the rectangle and no other: the pattern is painted over it directly.
  for (int n = 0; n < 36; n++)
    for (int y = 8 + 36 * (n / 6); y < 8 + 36 * (n / 6) + 28; y++)
      for (int x = 36 * (n % 6); x < 36 * (n % 6) + 30; x++)
        canvas[y * CanvasW + x] = n > 0 && FillPatternGap(x, y, uint8_t(n)) ? paper : ink;
}
