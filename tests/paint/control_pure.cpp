#include <gtest/gtest.h>

#include <vector>

#include "paint/control_core.h"
#include "raster/raster_core.h"

static bool operator==(const Wybory& a, const Wybory& b) {
  return a.co == b.co && a.kolor == b.kolor && a.wyp == b.wyp && a.lin_r == b.lin_r &&
         a.lin_szer == b.lin_szer && a.tryb == b.tryb;
}
static std::ostream& operator<<(std::ostream& o, const Wybory& w) {
  return o << "{co " << +w.co << ", kolor " << +w.kolor << ", wyp " << +w.wyp << ", lin_r "
           << +w.lin_r << ", lin_szer " << +w.lin_szer << ", tryb " << +w.tryb << "}";
}

TEST(Wybierz, LeftClickOnEachKindOfBox) {
  // Choices before every click: none equal to what a row expects, so a row that
  // changes the wrong field shows.
  const Wybory przed = {3, 4, 5, 2, 6, 1};
  auto z = [&](auto zmiana) {
    Wybory w = przed;
    zmiana(w);
    return w;
  };
  struct {
    const char* name;
    int32_t v, px;
    Wybory want;
    Polecenie cmd;
    int32_t nr;
    // clang-format off
  } rows[] = {
      {"DEGAS loads format 0", 2, 100, przed, LADUJ, 0},
      {"BMP loads format 1", 4, 100, przed, LADUJ, 1},
      {"...blok loads format 2", 6, 100, przed, LADUJ, 2},
      {"Doodle saves format 0", 3, 300, przed, ZAPISZ, 0},
      {"BMP saves format 1", 5, 300, przed, ZAPISZ, 1},
      {"...blok saves format 2", 7, 300, przed, ZAPISZ, 2},
      {"Punkt is tool 0", 8, 100, z([](Wybory& w) { w.co = 0; }), BRAK, 0},
      {"Wypełnienie is tool 11", 19, 300, z([](Wybory& w) { w.co = 11; }), BRAK, 0},
      {"Powiększenie is tool 12", 20, 100, z([](Wybory& w) { w.co = 12; }), BRAK, 0},
      {"mode box moves to the next mode", 21, 300, z([](Wybory& w) { w.tryb = 2; }), BRAK, 0},
      {"Czyść asks to clear, choosing nothing", 22, 100, przed, CZYSC, 0},
      {"Koniec asks to end", 23, 300, przed, KONIEC, 0},
      {"box 24 is the solid pattern", 24, 440, z([](Wybory& w) { w.wyp = 0; }), BRAK, 0},
      {"box 59 is pattern 35", 59, 620, z([](Wybory& w) { w.wyp = 35; }), BRAK, 0},
      {"style box left of 432 gives solid", 61, 431, z([](Wybory& w) { w.lin_r = 0; }), BRAK, 0},
      {"style sample 1 starts at 432", 61, 432, z([](Wybory& w) { w.lin_r = 1; }), BRAK, 0},
      {"style sample 3 at x 498", 61, 498, z([](Wybory& w) { w.lin_r = 3; }), BRAK, 0},
      {"style sample 6 at x 576", 61, 576, z([](Wybory& w) { w.lin_r = 6; }), BRAK, 0},
      {"style sample 6 up to 587", 61, 587, z([](Wybory& w) { w.lin_r = 6; }), BRAK, 0},
      {"right of 587 stays at style 6", 61, 588, z([](Wybory& w) { w.lin_r = 6; }), BRAK, 0},
      {"right edge of the style box", 61, 599, z([](Wybory& w) { w.lin_r = 6; }), BRAK, 0},
      {"current style box chooses solid", 62, 620, z([](Wybory& w) { w.lin_r = 0; }), BRAK, 0},
      {"width box left of 432 gives 0", 63, 426, z([](Wybory& w) { w.lin_szer = 0; }), BRAK, 0},
      {"width sample 2 at x 446", 63, 446, z([](Wybory& w) { w.lin_szer = 2; }), BRAK, 0},
      {"width 12 up to 587", 63, 587, z([](Wybory& w) { w.lin_szer = 12; }), BRAK, 0},
      {"width 14 right of 587", 63, 599, z([](Wybory& w) { w.lin_szer = 14; }), BRAK, 0},
      {"current width box chooses 1", 64, 620, z([](Wybory& w) { w.lin_szer = 1; }), BRAK, 0},
      {"first colour box is white", 65, 10, z([](Wybory& w) { w.kolor = 0; }), BRAK, 0},
      {"last colour box is colour 15", 80, 390, z([](Wybory& w) { w.kolor = 15; }), BRAK, 0},
      {"heading is never reported", 0, 100, przed, BRAK, 0},
      {"title is never reported", 60, 500, przed, BRAK, 0},
      {"no box", -1, 0, przed, BRAK, 0},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Wybory w = przed;
    Rozkaz got = Wybierz(r.v, r.px, w);
    EXPECT_EQ(w, r.want);
    EXPECT_EQ(got.cmd, r.cmd);
    if (r.cmd == LADUJ || r.cmd == ZAPISZ) {
      EXPECT_EQ(got.nr, r.nr);
    }
  }
}

TEST(Wybierz, ModeBoxCyclesThroughTheFiveModes) {
  Wybory w = {1, 1, 0, 0, 1, 0};
  const uint8_t want[] = {1, 2, 3, 4, 0, 1};
  for (uint8_t t : want) {
    Wybierz(21, 300, w);
    EXPECT_EQ(w.tryb, t);
  }
}

// Index of the box that a left click at (px, py) hits, by the box wait's rule; -1 if none.
static int trafiony(const GEMBox* p, int px, int py) {
  std::vector<GEMBox> kopia(p, p + 81);
  int32_t sel = -1;
  return BoxClick(kopia.data(), 81, px, py, sel) ? sel : -1;
}

class Uklad : public testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 16; i++) paleta[i] = 0x7F000000u | uint32_t(i + 1);
    UkladPol(p, "Suma", paleta);
  }
  uint32_t paleta[16];
  GEMBox p[81];
};

TEST_F(Uklad, EveryPixelOfTheWindowHitsAtMostOneBox) {
  for (int py = 0; py < 400; py++)
    for (int px = 0; px < 640; px++) {
      int n = 0;
      for (int i = 0; i < 81; i++)
        n += (p[i].flags & 3) == 3 && px >= p[i].x && px < p[i].x + p[i].w && py >= p[i].y &&
             py < p[i].y + p[i].h;
      ASSERT_LE(n, 1) << "at (" << px << ", " << py << ")";
    }
  // Boxes and their rims lie inside the window.
  for (int i = 0; i < 81; i++) {
    SCOPED_TRACE(i);
    EXPECT_GE(p[i].x - 1, 0);
    EXPECT_GE(p[i].y - 1, 0);
    EXPECT_LE(p[i].x + p[i].w, 639);
    EXPECT_LE(p[i].y + p[i].h, 399);
  }
}

TEST_F(Uklad, ClicksAtWorkedPositions) {
  struct {
    const char* name;
    int px, py, box;
    // clang-format off
  } rows[] = {
      {"heading Ładuj cannot be hit", 100, 20, -1},
      {"DEGAS, first pixel", 8, 32, 2},
      {"DEGAS, rim left of it", 7, 40, -1},
      {"...blok save, last pixel", 411, 103, 7},
      {"Powiększenie", 100, 120, 20},
      {"mode box", 300, 120, 21},
      {"Punkt: row 0, column 0", 8, 152, 8},
      {"Rysunek: row 0, column 1", 212, 152, 9},
      {"Łamana: row 1, column 1", 300, 190, 11},
      {"Wypełnienie: row 5, column 1, last pixel", 411, 315, 19},
      {"below the tools", 100, 318, -1},
      {"Czyść", 8, 370, 22},
      {"Koniec, last pixel", 411, 393, 23},
      {"pattern 0", 426, 8, 24},
      {"pattern 5: row 0, column 5, last pixel", 635, 35, 29},
      {"pattern 6: row 1, column 0", 426, 44, 30},
      {"pattern 35, last pixel", 635, 215, 59},
      {"between pattern boxes", 456, 20, -1},
      {"current fill sample is not a box", 500, 240, -1},
      {"style samples", 446, 290, 61},
      {"current style", 620, 290, 62},
      {"width samples", 599, 349, 63},
      {"current width", 606, 320, 64},
      {"title", 500, 370, -1},
      {"colour 0", 8, 320, 65},
      {"colour 0, last pixel", 28, 341, 65},
      {"gap after colour 0", 29, 330, -1},
      {"colour 1", 33, 330, 66},
      {"colour 15, last pixel", 403, 341, 80},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(trafiony(p, r.px, r.py), r.box);
  }
}

TEST_F(Uklad, LabelsFlagsAndColoursThatShow) {
  EXPECT_STREQ(p[21].text, "Suma");
  EXPECT_STREQ(p[9].text, "Rysunek");
  EXPECT_STREQ(p[20].text, "Powiększenie");
  // Rysunek is the one tool selected at start; the other tools are its radio group.
  for (int i = 8; i <= 20; i++) {
    SCOPED_TRACE(i);
    EXPECT_EQ(p[i].flags, i == 9 ? 0x17 : 0x13);
  }
  EXPECT_STREQ(p[60].text, "TARKSEN 2");
  EXPECT_EQ(p[60].param1, 0xAFFFAFu);
  EXPECT_EQ(p[60].param2, 1) << "black text on a box that is not enabled";
  for (int i = 0; i < 16; i++) {
    SCOPED_TRACE(i);
    EXPECT_EQ(p[65 + i].param1, paleta[i]);
    EXPECT_EQ(p[65 + i].param2, 1);
  }
}

TEST(ProbkiWzorow, ThirtySixSamplesOnTransparentBlack) {
  const uint32_t ink = 0x7F000000, paper = 0x7FFFFFFF;
  std::vector<uint32_t> kanwa(640 * 400, 0x12345678);
  ProbkiWzorow(kanwa.data(), ink, paper);
  int wrong = 0;
  for (int y = 0; y < 400; y++)
    for (int x = 0; x < 640; x++) {
      // Sample n = 6r + m covers 30x28 pixels at (36m, 8 + 36r).
      int m = x / 36, r = (y - 8) / 36;
      bool inside = y >= 8 && m < 6 && r < 6 && x % 36 < 30 && (y - 8) % 36 < 28;
      int n = 6 * r + m;
      uint32_t want = !inside ? 0 : n > 0 && FillPatternGap(x, y, uint8_t(n)) ? paper : ink;
      if (kanwa[y * 640 + x] != want && !wrong++)
        ADD_FAILURE() << "first wrong pixel at (" << x << ", " << y << "): " << std::hex
                      << kanwa[y * 640 + x] << ", want " << want;
    }
  EXPECT_EQ(wrong, 0);
}
