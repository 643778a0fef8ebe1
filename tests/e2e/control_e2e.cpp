// The control screen as a user meets it: the panel at start, choices made by clicks,
// the two questions, and the ways into the drawing screen and out of the program.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "raster/raster.h"
#include "raster/raster_core.h"
#include "tests/e2e/look.h"
#include "tests/support/e2e.h"
#include "tests/support/screen.h"
#include "tests/support/shapes.h"
#include "tests/support/text.h"

namespace {

// Is pixel (x, y) a gap of fill pattern p? Pattern 0 has none.
bool przerwa(int x, int y, int p) { return p != 0 && FillPatternGap(x, y, uint8_t(p)); }

// A pixel of alpha 127 blended over dst, as the pattern samples land on their boxes.
uint32_t nad(uint32_t src, uint32_t dst) {
  uint32_t out = 0;
  for (int sh = 0; sh <= 16; sh += 8) {
    uint32_t s = src >> sh & 0xFF, d = dst >> sh & 0xFF;
    out |= (s * 127 + d * 128 + 127) / 255 << sh;
  }
  return out;
}

// Pattern box n with its sample blended over the box's fill.
testing::AssertionResult Wzor(const Shot& s, int n, bool wcisniety) {
  uint32_t fill = wcisniety ? CIEMNY : SRODEK;
  testing::AssertionResult a = Obrys(s, wzorBox(n), wcisniety, fill);
  if (!a) return a << " (rim of pattern box " << n << ")";
  a = Obszar(
      s, wzorBox(n),
      [&](int x, int y) { return nad(przerwa(x - 426, y, n) ? BIALY : CZARNY, fill); }, 1);
  if (!a) return a << " (sample of pattern " << n << ")";
  return a;
}

// The current fill sample: an outline in colour c around pattern p in c on white.
testing::AssertionResult Probka(const Shot& s, uint32_t c, int p) {
  Rect r = PROBKA;
  return Obszar(s, r, [&](int x, int y) {
    bool brzeg = x == r.x || y == r.y || x == r.x + r.w - 1 || y == r.y + r.h - 1;
    return !brzeg && przerwa(x, y, p) ? BIALY : c;
  });
}

// Fill of box 61..64 when box `wcisniety` (0 for none) shows pressed.
uint32_t tloBoxu(int box, int wcisniety) { return box == wcisniety ? CIEMNY : SRODEK; }

// The style samples 1..6 in box 61 and the current style in box 62, pen width 1.
testing::AssertionResult Style(const Shot& s, uint32_t c, int styl, int wcisniety = 0) {
  auto punkt = [&](int x, int y, int probkaX, int st) {
    int j = y - 268;
    return x == probkaX && j >= 0 && j <= 44 && (defline[st] >> (31 - j % 32) & 1);
  };
  testing::AssertionResult a = Obszar(s, STYLE, [&](int x, int y) {
    for (int i = 1; i <= 6; i++)
      if (punkt(x, y, 420 + 26 * i, i)) return c;
    return tloBoxu(61, wcisniety);
  });
  if (!a) return a << " (style samples)";
  a = Obszar(s, STYL,
             [&](int x, int y) { return punkt(x, y, 620, styl) ? c : tloBoxu(62, wcisniety); });
  if (!a) return a << " (current style " << styl << ")";
  return a;
}

// The width samples (discs of radius 1..6) in box 63 and the current width in box 64.
testing::AssertionResult Grubosci(const Shot& s, uint32_t c, int szer, int wcisniety = 0) {
  testing::AssertionResult a = Obszar(s, GRUBOSCI, [&](int x, int y) {
    for (int i = 0; i < 6; i++)
      if (InDisc(x - (446 + 26 * i), y - 335, i + 1)) return c;
    return tloBoxu(63, wcisniety);
  });
  if (!a) return a << " (width samples)";
  a = Obszar(s, GRUBOSC, [&](int x, int y) {
    return InDisc(x - 620, y - 335, szer / 2) ? c : tloBoxu(64, wcisniety);
  });
  if (!a) return a << " (current width " << szer << ")";
  return a;
}

const char* const TRYBY[5] = {"Wymiana", "Mieszanie", "Suma", "Iloczyn", "Inwersja"};

// The question of an alert: the text, a red disc behind the icon, and the answers
// " Tak " and " Nie ", the latter the default.
testing::AssertionResult Pytanie(const Shot& s, const char* text) {
  Rect r = {164, 196, 312, 24};
  testing::AssertionResult a = Obszar(s, r, Tekst(r, text, 184, 200, 464, SRODEK, CZARNY));
  if (!a) return a << " (question text)";
  for (int x : {301, 302, 338, 339})
    if (s.at(x, 130) != CZERWONY) return testing::AssertionFailure() << "no red disc at x " << x;
  a = Przycisk(s, TAK, " Tak ", false);
  return a ? Przycisk(s, NIE, " Nie ", true) : a;
}

// The drawing screen: a white picture with black where ink(x, y) holds.
testing::AssertionResult Obraz(const Shot& s, const std::function<bool(int, int)>& ink,
                               uint32_t c = CZARNY) {
  return Obszar(s, {0, 0, 640, 400}, [&](int x, int y) { return ink(x, y) ? c : BIALY; });
}
bool nic(int, int) { return false; }

}  // namespace

TEST(ControlScreen, StartUpLook) {
  App app;
  Shot s = app.shot();
  ASSERT_EQ(s.w, 640);
  EXPECT_TRUE(Obszar(s, {0, 0, 640, 7}, [](int, int) { return SRODEK; })) << "panel background";
  EXPECT_TRUE(Obszar(s, {0, 396, 640, 4}, [](int, int) { return SRODEK; })) << "panel background";

  EXPECT_TRUE(Obrys(s, TYTUL, false, BLADY));
  EXPECT_TRUE(Obszar(s, TYTUL, Etykieta(TYTUL, "TARKSEN 2", BLADY, 0x010000)))
      << "text colour 1: red 1, green and blue 0";
  EXPECT_TRUE(Przycisk(s, LADUJ, "Ładuj", false, PRZYGASZONY)) << "a heading is dimmed";
  EXPECT_TRUE(Przycisk(s, RYSUNEK, "Rysunek", true)) << "the tool at start";
  EXPECT_TRUE(Przycisk(s, PUNKT, "Punkt", false));
  EXPECT_TRUE(Przycisk(s, POWIEKSZENIE, "Powiększenie", false));
  EXPECT_TRUE(Przycisk(s, TRYB, "Wymiana", false));
  EXPECT_TRUE(Przycisk(s, CZYSC, "Czyść", false));
  EXPECT_TRUE(Przycisk(s, KONIEC, "Koniec", false));

  for (int i = 0; i < 16; i++) {
    SCOPED_TRACE("colour box " + std::to_string(i));
    EXPECT_TRUE(Obrys(s, kolorBox(i), false, PALETA[i]));
    EXPECT_TRUE(Obszar(s, kolorBox(i), [&](int, int) { return PALETA[i]; }));
  }
  for (int n = 0; n < 36; n++) EXPECT_TRUE(Wzor(s, n, false));
  EXPECT_TRUE(Probka(s, CZARNY, 0)) << "solid black";
  EXPECT_TRUE(Style(s, CZARNY, 0));
  EXPECT_TRUE(Grubosci(s, CZARNY, 1));
}

TEST(ControlScreen, ChoicesByLeftClicks) {
  App app;
  {
    SCOPED_TRACE("tool Punkt");
    Choose(app, PUNKT);
    EXPECT_TRUE(Widac(app, [](const Shot& s) { return Przycisk(s, PUNKT, "Punkt", true); }));
    EXPECT_TRUE(Przycisk(app.shot(), RYSUNEK, "Rysunek", false)) << "one tool at a time";
  }
  {
    SCOPED_TRACE("colour 2, red");
    Choose(app, kolorBox(2));
    EXPECT_TRUE(Widac(app, [](const Shot& s) { return Probka(s, CZERWONY, 0); }));
    Shot s = app.shot();
    EXPECT_TRUE(Style(s, CZERWONY, 0));
    EXPECT_TRUE(Grubosci(s, CZERWONY, 1));
    EXPECT_TRUE(Obrys(s, kolorBox(2), true, CZERWONY)) << "shown pressed until the next click";
    EXPECT_TRUE(Wzor(s, 0, false)) << "the samples stay black";
  }
  {
    SCOPED_TRACE("pattern 7");
    Choose(app, wzorBox(7));
    EXPECT_TRUE(Widac(app, [](const Shot& s) { return Probka(s, CZERWONY, 7); }));
    Shot s = app.shot();
    EXPECT_TRUE(Wzor(s, 7, true));
    EXPECT_TRUE(Obrys(s, kolorBox(2), false, CZERWONY)) << "no longer pressed";
  }
  struct {
    const char* name;
    int x, y;  // where to click: in box 61, 62, 63 or 64
    int box, styl, szer;
    // clang-format off
  } rows[] = {
      {"style sample 3", 498, 290, 61, 3, 1},
      {"right end of the style samples gives the last style", 595, 290, 61, 6, 1},
      {"current style box: solid", 620, 290, 62, 0, 1},
      {"width sample 10", 550, 335, 63, 0, 10},
      {"current width box: 1", 620, 335, 64, 0, 1},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Choose(app, r.x, r.y);
    EXPECT_TRUE(Widac(app, [&](const Shot& s) {
      // A wide pen widens the style samples too; those are left unchecked then.
      testing::AssertionResult a =
          r.szer > 1 ? testing::AssertionSuccess() : Style(s, CZERWONY, r.styl, r.box);
      return a ? Grubosci(s, CZERWONY, r.szer, r.box) : a;
    }));
  }
  EXPECT_TRUE(app.running());
}

TEST(ControlScreen, ModeBoxCyclesThroughTheFiveModes) {
  App app;
  for (int i = 1; i <= 5; i++) {
    SCOPED_TRACE(TRYBY[i % 5]);
    Choose(app, TRYB);
    // Pressed until the next click, with the new name.
    EXPECT_TRUE(Widac(app, [&](const Shot& s) { return Przycisk(s, TRYB, TRYBY[i % 5], true); }));
  }
}

TEST(ControlScreen, KoniecAnsweredNieByClickOrKeyThenTak) {
  App app;
  for (bool byKey : {false, true}) {
    SCOPED_TRACE(byKey ? "Escape gives the default, Nie" : "Nie clicked");
    Choose(app, KONIEC);
    ASSERT_TRUE(Widac(app, [](const Shot& s) { return Pytanie(s, "Koniec programu ?"); }));
    if (byKey)
      app.key("Escape");
    else
      Choose(app, NIE);
    // The panel again, with Koniec pressed until the next click.
    EXPECT_TRUE(Widac(app, [](const Shot& s) { return Przycisk(s, KONIEC, "Koniec", true); }));
    EXPECT_TRUE(app.running());
  }
  Choose(app, KONIEC);
  ASSERT_TRUE(Widac(app, [](const Shot& s) { return Pytanie(s, "Koniec programu ?"); }));
  Choose(app, TAK);
  EXPECT_EQ(app.waitExit(), 0);
}

TEST(ControlScreen, RightClickEntersTheDrawingScreenAndRightClickThereReturns) {
  App app;
  Choose(app, 500, 250, 3);
  EXPECT_TRUE(Widac(app, [](const Shot& s) { return Obraz(s, nic); })) << "the white picture";
  Choose(app, 100, 100, 3);
  EXPECT_TRUE(Widac(app, [](const Shot& s) { return Przycisk(s, RYSUNEK, "Rysunek", true); }));
}

TEST(ControlScreen, DoubleClickOnAToolPicksItAndEntersTheDrawingScreen) {
  App app;
  app.doubleClick(srodekX(PUNKT), srodekY(PUNKT));
  ASSERT_TRUE(Widac(app, [](const Shot& s) { return Obraz(s, nic); }));
  Choose(app, 300, 200);
  auto punkt = [](int x, int y) { return x == 300 && y == 200; };
  EXPECT_TRUE(Widac(app, [&](const Shot& s) { return Obraz(s, punkt); })) << "one point: Punkt";
}

TEST(ControlScreen, CzyscAnsweredNieKeepsThePictureTakClearsIt) {
  App app;
  auto punkt = [](int x, int y) { return x == 300 && y == 200; };
  Choose(app, PUNKT);
  Choose(app, 500, 250, 3);
  ASSERT_TRUE(Widac(app, [](const Shot& s) { return Obraz(s, nic); }));
  Choose(app, 300, 200);
  ASSERT_TRUE(Widac(app, [&](const Shot& s) { return Obraz(s, punkt); }));
  Choose(app, 500, 250, 3);

  struct {
    const char* name;
    Rect answer;
    std::function<bool(int, int)> picture;
  } rows[] = {{"Nie", NIE, punkt}, {"Tak", TAK, nic}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    ASSERT_TRUE(Widac(app, [](const Shot& s) { return Przycisk(s, PUNKT, "Punkt", true); }));
    Choose(app, CZYSC);
    ASSERT_TRUE(Widac(app, [](const Shot& s) { return Pytanie(s, "Wyczyścić ekran ?"); }));
    Choose(app, r.answer);
    EXPECT_TRUE(Widac(app, [](const Shot& s) { return Przycisk(s, CZYSC, "Czyść", true); }));
    Choose(app, 500, 250, 3);
    EXPECT_TRUE(Widac(app, [&](const Shot& s) { return Obraz(s, r.picture); }));
    Choose(app, 500, 250, 3);
  }
}
