// The program's screens as the e2e and web tiers see them, worked out from their
// layout rather than from the program's code: where the boxes are, the colours the
// window shows (0xRRGGBB), the tell-tale pixels of each screen, and a user's pace, so
// the program takes each step as meant. The moves take any driver (tests/support/e2e.h:
// App, the web tier's Browser). No gtest here: tools/ may use it too.
#pragma once
#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

// A screenshot of the 640x400 window: pixels 0xRRGGBB.
struct Shot {
  int w = 0, h = 0;
  std::vector<uint32_t> px;
  uint32_t at(int x, int y) const { return px[size_t(y) * w + x]; }
};

// An area of the window; for a box, its inside (the rim lies one pixel around it).
struct Rect {
  int x, y, w, h;
};
inline int srodekX(Rect r) { return r.x + r.w / 2; }
inline int srodekY(Rect r) { return r.y + r.h / 2; }

// Box colours as the window shows them.
inline constexpr uint32_t SRODEK = 0xAFCFAF;  // panel, box fill; rim of a pressed box
inline constexpr uint32_t JASNY = 0xCFFFCF;
inline constexpr uint32_t CIEMNY = 0x7FAF7F;  // rim; fill of a pressed box
inline constexpr uint32_t BLADY = 0xAFFFAF;   // the title box
inline constexpr uint32_t PRZYGASZONY = 0x8FBF8F;
// The palette's colours by index, and the three the tests name.
inline constexpr uint32_t PALETA[16] = {0xFFFFFF, 0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x00FFFF,
                                        0xFFFF00, 0xFF00FF, 0x9C9C9C, 0x4E4E4E, 0xFF7F7F, 0x7FFF7F,
                                        0x7F7FFF, 0x7FFFFF, 0xFFFF7F, 0xFF7FFF};
inline constexpr uint32_t BIALY = PALETA[0], CZARNY = PALETA[1], CZERWONY = PALETA[2];

// The control screen: the boxes of the left columns (headings, load and save, tools,
// the two questions), the samples on the right, and the title.
inline constexpr Rect LADUJ = {8, 8, 200, 24};
inline constexpr Rect DEGAS = {8, 32, 200, 24}, LBMP = {8, 56, 200, 24}, LBLOK = {8, 80, 200, 24};
inline constexpr Rect DOODLE = {212, 32, 200, 24}, ZBMP = {212, 56, 200, 24},
                      ZBLOK = {212, 80, 200, 24};
inline constexpr Rect POWIEKSZENIE = {8, 116, 200, 24}, TRYB = {212, 116, 200, 24};
// Tools 0 to 11 in two columns under them; "Powiększenie" (12) is the one above.
inline constexpr Rect Narzedzie(int co) {
  return co == 12 ? POWIEKSZENIE : Rect{8 + 204 * (co % 2), 152 + 28 * (co / 2), 200, 24};
}
inline constexpr Rect PUNKT = Narzedzie(0), RYSUNEK = Narzedzie(1);
inline constexpr Rect CZYSC = {8, 370, 200, 24}, KONIEC = {212, 370, 200, 24};
inline constexpr Rect TYTUL = {426, 354, 210, 40};
inline constexpr Rect kolorBox(int i) { return {8 + 25 * i, 320, 21, 22}; }
inline constexpr Rect wzorBox(int n) { return {426 + 36 * (n % 6), 8 + 36 * (n / 6), 30, 28}; }
inline constexpr Rect STYLE = {426, 264, 174, 52}, STYL = {606, 264, 30, 52};
inline constexpr Rect GRUBOSCI = {426, 320, 174, 30}, GRUBOSC = {606, 320, 30, 30};
inline constexpr Rect PROBKA = {426, 224, 211, 37};  // the current fill sample, outline included
// The middle of the width sample for width 2n (n = 1..6) in GRUBOSCI.
inline constexpr int GruboscX(int n) { return 406 + 26 * n + 13; }
// A spot on no box, where a right click only switches screens.
inline constexpr int POZA_X = 418, POZA_Y = 240;

// An alert's answers, " Tak " and " Nie ".
inline constexpr Rect TAK = {232, 276, 82, 18}, NIE = {326, 276, 82, 18};

// The file selector's buttons and fields.
inline constexpr Rect UP = {540, 68, 96, 16}, BASE = {540, 200, 96, 16}, ROOT = {540, 220, 96, 16};
inline constexpr Rect OK = {540, 360, 96, 16}, CANCEL = {540, 380, 96, 16};
inline constexpr Rect FILTR = {68, 24, 248, 16}, KATALOG = {4, 48, 632, 16},
                      NAZWA = {384, 24, 252, 16};
inline constexpr Rect LISTA = {4, 68, 480, 324}, DZWIGNIA = {488, 68, 16, 324};
inline constexpr int wiersz(int i) { return 70 + 16 * i + 8; }  // middle of list row i

// Which screen is up, told by a few pixels of a screenshot.
inline bool Panel(const Shot& s) {  // the control screen: its corner and the pale title box
  return s.w == 640 && s.at(0, 0) == SRODEK && s.at(430, 358) == BLADY;
}
inline bool Dialog(const Shot& s) {  // the file selector: two black frames
  return s.w == 640 && s.at(0, 0) == CZARNY && s.at(1, 1) == SRODEK && s.at(2, 2) == CZARNY;
}
inline bool AlertUp(const Shot& s) {  // an alert's frame
  return s.w == 640 && s.at(160, 100) == CZARNY && s.at(161, 101) == SRODEK &&
         s.at(162, 102) == CZARNY && s.at(478, 298) == SRODEK;
}

// A user's pace, in ms: how long a driver waits after a motion, a click, a press or
// release, and a key, so the program has taken it before the next step; and how long a
// click meant as a single one waits after the one before, as two clicks of a button
// within half a second and 32 pixels make a double click, which on the control screen
// leaves for the drawing screen.
struct Tempo {
  static constexpr int ruch = 30, klik = 60, przycisk = 40, klawisz = 60, pojedynczy = 550;
};

template <class A>
void Choose(A& app, int x, int y, int button = 1) {
  std::this_thread::sleep_for(std::chrono::milliseconds(Tempo::pojedynczy));
  app.click(x, y, button);
}
template <class A>
void Choose(A& app, Rect r, int button = 1) {
  Choose(app, srodekX(r), srodekY(r), button);
}
template <class A>
void ChooseTool(A& app, int co) {
  Choose(app, Narzedzie(co));
}
template <class A>
void ChooseColour(A& app, int i) {
  Choose(app, kolorBox(i));
}
template <class A>
void NextMode(A& app) {
  Choose(app, TRYB);
}
template <class A>
void ChooseWidth(A& app, int n) {
  Choose(app, GruboscX(n), srodekY(GRUBOSCI));
}
// A right click off the boxes switches screens. Waits for the other screen: what the
// user does before it is up may be taken by the screen left.
template <class A>
void SwitchScreens(A& app) {
  Shot before = app.shot();
  app.click(POZA_X, POZA_Y, 3);
  app.waitFor([&](const Shot& s) { return s.px != before.px; });
  app.settle();
}
