// Pure rules of the control screen: the layout of its 81 boxes, what a left click on
// a box chooses, and the image of the 36 fill-pattern samples. No SDL here; the
// routines of paint/control.cpp turn these into boxes, choices and one upload.
#pragma once
#include <cstdint>

#include "toolkit/toolkit_core.h"

// The 81 boxes of the panel as start-up lays them out: box 21 labelled with mode (the
// current mode's name), colour box 65 + i filled with palette[i], and the tool box 9
// ("Rysunek") selected. No box has an image.
void UkladPol(GEMBox out[81], const char* mode, const uint32_t palette[16]);

// The choices that a click on the panel can change.
struct Wybory {
  uint8_t co, kolor, wyp, lin_r, lin_szer, tryb;
};

// What a left click asks for besides a choice; nr is the format for LADUJ and ZAPISZ
// (0 DEGAS or Doodle, 1 BMP, 2 block).
enum Polecenie : uint8_t { BRAK, LADUJ, ZAPISZ, CZYSC, KONIEC };
struct Rozkaz {
  Polecenie cmd;
  int32_t nr;
};

// A single left click on box v with the pointer at column px: changes w as the box
// chooses and returns the command it stands for. The line style stays within 0..6:
// the right end of the style samples would otherwise give 7.
Rozkaz Wybierz(int32_t v, int32_t px, Wybory& w);

// The image of the 36 fill-pattern samples as start-up paints it, into a 640x400
// canvas: transparent black, and sample n = 6r + m a 30x28 rectangle at (36m, 8 + 36r)
// flood-filled with pattern n in ink, its gaps paper. The samples lie in the top-left
// 210x216, where each sits 426 pixels left of its pattern box.
void ProbkiWzorow(uint32_t* canvas, uint32_t ink, uint32_t paper);
