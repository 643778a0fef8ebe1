// Pure rules of the picture's history (Ctrl+Z back, Ctrl+Y and Ctrl+Shift+Z forward):
// the steps kept within a memory budget, the boxes an action may have changed, the box
// of the pixels that really differ, and the keys. No SDL here; paint/historia.cpp reads
// the pixels back and writes them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "paint/blok_core.h"

// One step: the rectangle it changed and that rectangle's pixels in the picture's other
// state: as they were before the step while it is done, as the step left them while it
// is undone. Going back or forward swaps them with the picture's, so a step holds one
// copy of its rectangle.
struct Krok {
  Prostokat r;
  std::vector<uint32_t> px;  // r.w x r.h, rows r.w long
  uint64_t przed, po;        // the picture's version (wersja) before and after the step
};

// The steps, oldest first: kroki[pierwszy..] are kept, those before them are gone (their
// slots empty until they are half the vector, then closed up at once, so that dropping
// the oldest step is not a move of all the others). Of the kept steps those before
// kroki[poz] are done, the rest undone (forward redoes them).
struct Historia {
  std::vector<Krok> kroki;
  size_t pierwszy = 0;
  size_t poz = 0;
  size_t bajty = 0;   // what the steps cost, KosztKroku summed
  size_t budzet = 0;  // at most this, in bytes; but the newest step is always kept
};

// What a step costs in memory: its pixels and its record.
size_t KosztKroku(const Krok& k);
// A new step: the undone steps go, the new one comes last, done, and then the oldest go
// while the rest costs more than the budget.
void DodajKrok(Historia& h, Krok k);
// The step to take back (the last done, which becomes undone), or null if none.
Krok* Wstecz(Historia& h);
// The step to do again (the first undone, which becomes done), or null if none.
Krok* Naprzod(Historia& h);

// The smallest rectangle holding both; an empty one adds nothing.
Prostokat Suma(Prostokat a, Prostokat b);
// What pen points along (x1, y1)-(x2, y2) may cover with pen width szer (a disc of
// radius szer / 2 above 1), cut to the picture.
Prostokat Pedzel(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint8_t szer);
// What an ellipse around (xc, yc) with semi-axes |a| and |b| may cover, its outline
// drawn with pen width szer (a filled one as with width 1), cut to the picture.
Prostokat ObszarElipsy(int32_t xc, int32_t yc, int32_t a, int32_t b, uint8_t szer);
// The box of the pixels of rectangle r in which images a and b, whose rows are pitch
// long, differ; in their coordinates, empty if they are equal there.
Prostokat Roznica(const uint32_t* a, const uint32_t* b, int32_t pitch, Prostokat r);
// The pixels of rectangle r of the image src, whose rows are w long, into out.
void Kawalek(const uint32_t* src, int32_t w, Prostokat r, std::vector<uint32_t>& out);

enum Kierunek : int8_t { ZADEN = 0, WSTECZ = -1, NAPRZOD = 1 };
// The history's keys by key code (SDL's codes of the letters are their ASCII codes) and
// the modifiers held: Ctrl+Z back; Ctrl+Y and Ctrl+Shift+Z forward. Not with Alt, which
// with Ctrl types letters on some layouts.
Kierunek KlawiszHistorii(int32_t key, bool ctrl, bool shift, bool alt);
