// Dialog toolkit: text in the bitmap font, boxes, the modal wait for a box click,
// and alerts. Draws on the current render target; callers present.
#pragma once
#include <SDL.h>
#include <cstdint>

#include "toolkit/toolkit_core.h"

// Text-print parameters: font texture, pen, glyph cell in the font image, glyph on screen.
struct GPRRecord {
  SDL_Texture* font;  // the font texture; SDLInit sets it to BASFont
  int32_t x;          // pen x: left edge of the next glyph, and where new lines return to
  int32_t y;          // pen y: top edge of the current line
  uint8_t cell_w;     // 8: glyph cell width in the font image
  uint8_t cell_h;     // 8: glyph cell height in the font image
  uint16_t w;         // 16: glyph width on screen and the advance to the next glyph
  uint16_t h;         // 16: glyph height on screen and the advance to the next line
};
extern GPRRecord GPR;

// Prints text rows (row r starts 256*r bytes after text) at (GPR.x, GPR.y), one render
// copy per character, at most count characters a row (0xFFFFFFFF: no limit). A glyph
// may start at pen x <= right; past it the row is cut (clip != 0) or wrapped. Printing
// stops when the pen y passes bottom after a row. Leaves the pen in GPR.x, GPR.y.
// Colour comes from the font texture's colour modulation.
void SDLGPrint(const char* text, uint32_t count, int32_t rows, int32_t right, int32_t bottom,
               uint8_t clip);

// Box flags.
inline constexpr uint8_t BOX_ENABLED = 0x01;     // label black; with SELECTABLE the box reacts
inline constexpr uint8_t BOX_SELECTABLE = 0x02;  // reacts to a click when ENABLED too
inline constexpr uint8_t BOX_SELECTED = 0x04;    // drawn pressed (types other than 10..19)
inline constexpr uint8_t BOX_MOMENTARY = 0x08;   // the next wait clears its selection
inline constexpr uint8_t BOX_RADIO = 0x10;       // selecting it deselects the other radio box
inline constexpr uint8_t BOX_TOGGLE = 0x20;      // a click flips the selection

// One entry of a box table. Types 0..9 raised with a centred label, image and
// colours; 10..19 sunken (11 one line, 12 wrapped text, 13 a list); 20..255 raised.
struct GEMBox {
  const char* text;  // label, edited text, or first list row (rows of 256 bytes); not owned
  uint8_t flags;
  uint8_t type;
  int32_t x, y, w, h;    // inner area; the rim lies one pixel outside it
  uint32_t param1;       // types 0..9: fill colour (0 standard); type 13: rows to print
  int32_t param2;        // types 0..9: text colour (0 standard); type 13: highlighted row
  SDL_Texture* image;    // types 0..9: stretched over the inner area; not owned
};

extern uint32_t ColorC;  // text colour being set (bytes r,g,b,a)
extern uint32_t ColorB;  // colour of an alert's icon disc

// Draws one box on the current render target. Leaves Color, ColorC, the pen and DST
// as it last set them.
void GEMDrawBox(GEMBox box);
// Draws count records from the last to the first, so record 0 ends on top.
void GEMDrawBoxes(const GEMBox* table, uint32_t count);

// Blocks until a left click on an enabled selectable box (result: its index; MouseK 1,
// or 0x21 for a double click), a key (InKey), another button (MouseK its number, +0x20
// for a double click), a quit request, or any window event when windowEnds != 0. Other
// endings return the radio box selected at entry, or -1. Applies push, radio and toggle
// selection to the flags; draws nothing. Quit is 1 afterwards only for a quit request.
int32_t GEMWaitBoxClick(GEMBox* table, int32_t count, int32_t windowEnds);

// Shows an alert on the window: panel, optional icon (first byte of answers unless it is
// '|'; disc in ColorB, glyph in Color), text at (160 + dx, 100 + dy), and one button per
// answer between bars. Returns the clicked answer, else the default (-1 if no such
// button). InKey is 0 and the render target is the window afterwards.
int32_t GEMMessage(int32_t dx, int32_t dy, const char* text, uint8_t def, const char* answers);
