// The paint program: its shared state (textures, palette, drawing modes, current
// choices, the drawing loop's event record), the control screen, the drawing screen
// and its tools. Every routine here works on these globals directly.
#pragma once
#include <SDL.h>
#include <cstdint>

#include "toolkit/toolkit.h"

// Textures, ABGR8888 render targets, created by main and kept for the whole run.
extern SDL_Texture* GEMScreen;  // 640x400: what ShowE shows; the panel or the picture
extern SDL_Texture* rob_e$;     // 640x400: the stored picture, or the undo copy while drawing
extern SDL_Texture* kra$;       // 640x400, blended: the grid overlay
extern SDL_Texture* Wypboxy;    // 210x216, blended: the 36 fill-pattern samples
extern SDL_Texture* blok$;      // the block (clipboard), any size; null until made

// Palette, bytes r,g,b,a in memory order; entry 0 (white) is the background.
inline constexpr uint32_t GEMColor[16] = {
    0x7FFFFFFF, 0x7F000000, 0x7F0000FF, 0x7F00FF00, 0x7FFF0000, 0x7FFFFF00,
    0x7F00FFFF, 0x7FFF00FF, 0x7F9C9C9C, 0x7F4E4E4E, 0x7F7F7FFF, 0x7F7FFF7F,
    0x7FFF7F7F, 0x7FFFFF7F, 0x7F7FFFFF, 0x7FFF7FFF};
// Drawing modes: names on the mode box and their draw blend modes. tryb_b[4]
// ("Inwersja": white minus source) is composed by main; 0 until then.
inline constexpr const char* tryb$[5] = {"Wymiana", "Mieszanie", "Suma", "Iloczyn", "Inwersja"};
extern SDL_BlendMode tryb_b[5];

// Current choices, set on the control screen.
extern uint8_t co;     // tool 0..12 (its box minus 8); 1, freehand
extern uint8_t kolor;  // colour, index into GEMColor; 1, black
extern uint8_t wyp;    // fill pattern 0..35; 0, solid
extern uint8_t tryb;   // drawing mode 0..4; 0, "Wymiana"
extern int32_t kr;     // grid step in 8-pixel units, 0..10; negated while the panel is up
extern int32_t krh, krv;  // grid spacing in pixels, both 8 * kr

// The drawing loop's event record, also set by the control screen before drawing.
extern int32_t x, y;   // pointer position of the last mouse event
extern int32_t k;      // press: button number; motion: low byte of the button mask; key: 0
extern int32_t key;    // key code of the last key-down, 0 after a mouse event

// Shows GEMScreen on the window, the grid over it while kr > 0, presents, and sets
// the render target back to GEMScreen.
void ShowE();
// Copies GEMScreen into rob_e$ exactly (no blending); target GEMScreen afterwards.
void zapamietaj();

// Start-up after SDLInit: creates the textures, clears the picture to white and
// composes the "Inwersja" mode. Leaves the render target on rob_e$.
void przygotuj();
// Destroys rob_e$, kra$, blok$, GEMScreen and Wypboxy, nulling each.
void sprzataj();
