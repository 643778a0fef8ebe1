#include "paint/control_core.h"

#include <algorithm>
#include <vector>

#include "raster/raster_core.h"

// Flag combinations of the panel (see the box flags in toolkit.h).
static constexpr uint8_t NAPIS = 0x02;    // drawn, never hit
static constexpr uint8_t PRZYCISK = 0x0B; // push button
static constexpr uint8_t RADIO = 0x13;    // one of the tools
static constexpr uint8_t WYBRANY = 0x17;  // the tool selected at start

static const char* const etykiety[24] = {
    "Ładuj",  "Zapisz",    "DEGAS", "Doodle", "BMP",       "BMP",    "...blok",
    "...blok", "Punkt",    "Rysunek", "Linia", "Łamana",   "Ramka",  "Prostokąt",
    "Okrąg",  "Koło",      "Elipsa", "Dysk",  "Blok",      "Wypełnienie",
    "Powiększenie", nullptr, "Czyść", "Koniec"};

void UkladPol(Pole out[81], const char* mode, const uint32_t palette[16]) {
  for (int i = 0; i < 81; i++) out[i] = Pole{nullptr, PRZYCISK, 0, 0, 0, 0, 0, 0, 0};
  // Load and save columns, their headings first.
  for (int i = 0; i < 8; i++) out[i] = {etykiety[i], i < 2 ? NAPIS : PRZYCISK, 1,
                                        8 + 204 * (i % 2), 8 + 24 * (i / 2), 200, 24, 0, 0};
  // Tools 0..11 in two columns; box 8 + 2r + m is row r, column m.
  for (int i = 8; i < 20; i++)
    out[i] = {etykiety[i], RADIO, 1, 8 + 204 * (i % 2), 152 + 28 * ((i - 8) / 2), 200, 24, 0, 0};
  out[20] = {etykiety[20], RADIO, 1, 8, 116, 200, 24, 0, 0};
  out[21] = {mode, PRZYCISK, 1, 212, 116, 200, 24, 0, 0};
  out[22] = {etykiety[22], PRZYCISK, 1, 8, 370, 200, 24, 0, 0};
  out[23] = {etykiety[23], PRZYCISK, 1, 212, 370, 200, 24, 0, 0};
  // Pattern boxes: box 24 + 6r + m is row r, column m, under its sample.
  for (int i = 0; i < 36; i++)
    out[24 + i] = {nullptr, PRZYCISK, 0, 426 + 36 * (i % 6), 8 + 36 * (i / 6), 30, 28, 0, 0};
  // Black text (1, not 0, which would mean the standard dimmed colour) on pale green.
  out[60] = {"TARKSEN 2", NAPIS, 1, 426, 354, 210, 40, 0xAFFFAF, 1};
  out[61] = {nullptr, PRZYCISK, 0, 426, 264, 174, 52, 0, 0};
  out[62] = {nullptr, PRZYCISK, 0, 606, 264, 30, 52, 0, 0};
  out[63] = {nullptr, PRZYCISK, 0, 426, 320, 174, 30, 0, 0};
  out[64] = {nullptr, PRZYCISK, 0, 606, 320, 30, 30, 0, 0};
  for (int i = 0; i < 16; i++)
    out[65 + i] = {nullptr, PRZYCISK, 0, 8 + 25 * i, 320, 21, 22, palette[i], 1};
  out[9].flags = WYBRANY;
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
  for (int n = 0; n < 36; n++)
    for (int y = 0; y < 28; y++)
      std::fill_n(canvas + (8 + 36 * (n / 6) + y) * CanvasW + 36 * (n % 6), 30, 0xFFFFFFFFu);
  // Each fill stays inside its own white rectangle, so one work copy taken before the
  // first serves all 36 and the result is that of filling them one after another.
  std::vector<uint32_t> work(canvas, canvas + CanvasW * CanvasH);
  for (int n = 0; n < 36; n++)
    FillCanvas(canvas, work.data(), 36 * (n % 6) + 15, 36 * (n / 6) + 22, uint8_t(n), ink, paper);
}
