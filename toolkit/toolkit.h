// Dialog toolkit: text in the bitmap font, boxes, the modal wait for a box click,
// alerts, and the line editor. Draws on the current render target; callers present
// (alerts and the editor excepted).
#pragma once
#include <SDL.h>
#include <cstdint>

#include "platform/globals_core.h"
// The box record GEMBox and its BOX_* flags live there, beside the pure rules.
#include "toolkit/toolkit_core.h"

// Text-print parameters: font texture, pen, glyph cell in the font image, glyph on screen.
struct GPRRecord {
  SDL_Texture* font;  // the font texture; GEMInit sets it to BASFont
  int32_t x;          // pen x: left edge of the next glyph, and where new lines return to
  int32_t y;          // pen y: top edge of the current line
  uint8_t cell_w;     // 8: glyph cell width in the font image
  uint8_t cell_h;     // 8: glyph cell height in the font image
  uint16_t w;         // 16: glyph width on screen and the advance to the next glyph
  uint16_t h;         // 16: glyph height on screen and the advance to the next line
};

// The toolkit's state, as X(type, name, start value) (see platform/globals_core.h).
#define TOOLKIT_GLOBALS(X)                                                               \
  X(uint32_t, ColorC, 0) /* text colour being set (bytes r,g,b,a) */                     \
  X(uint32_t, ColorB, 0) /* colour of an alert's icon disc, set by the alert's caller */ \
  X(GPRRecord, GPR, {nullptr, 0, 0, 8, 8, 16, 16}) /* the text-print parameters above */ \
  X(bool, GEMHabits, false) /* the dialog's own keys end the waits: see GEMHabitKey */   \
  X(int32_t, GEMWheel, 0)   /* notches of the wheel turn that ended a wait, + upwards */ \
  X(bool, GEMWoken, false)  /* the last box wait ended on a wake-up (WakeWanted) */
TOOLKIT_GLOBALS(GLOBAL_EXTERN)

// While GEMHabits is set (the file selector sets it for its life) a wheel turn ends
// GEMWaitBoxClick and GEMEdit, with GEMWheel its notches (positive away from the user,
// as the list scrolls up) and InKey 0, and Escape, Page Up and Page Down end GEMEdit
// too, with InKey the key; the caller acts on them. Else they are dropped, as ever.
bool GEMHabitKey(SDL_Keycode key);
// The notches of a wheel event, positive away from the user whichever way the device
// reports them.
int32_t GEMWheelNotches(const SDL_MouseWheelEvent& w);

// Gives the text routines the platform's font: GPR.font = BASFont. Start-up calls it
// once SDLInit has loaded the font (przygotuj does).
void GEMInit();

// Prints text rows (row r starts 256*r bytes after text) at (GPR.x, GPR.y), one render
// copy per character, at most count characters a row (0xFFFFFFFF: no limit). A glyph
// may start at pen x <= right; past it the row is cut (clip != 0) or wrapped. Printing
// stops when the pen y passes bottom after a row. Leaves the pen in GPR.x, GPR.y.
// Colour comes from the font texture's colour modulation.
void SDLGPrint(const char* text, uint32_t count, int32_t rows, int32_t right, int32_t bottom,
               uint8_t clip);

// Makes c the text colour: ColorC = c, and the font's colour modulation its first three bytes.
void GEMTextColor(uint32_t c);

// Draws one box on the current render target. Leaves Color, ColorC, the pen and DST
// as it last set them.
void GEMDrawBox(GEMBox box);
// Draws count records from the last to the first, so record 0 ends on top.
void GEMDrawBoxes(const GEMBox* table, uint32_t count);

// Blocks until a left click on an enabled selectable box (result: its index; MouseK 1,
// or 0x21 for a double click), a key (InKey, its modifiers in InMod), another button
// (MouseK its number, +0x20 for a double click), a quit request, any window event when
// windowEnds != 0, a wheel turn while GEMHabits is set (GEMWheel; MouseK and InKey 0),
// a file dropped on the window while DropWanted is set (SDLTakeDrop gives it), or a
// wake-up of SDLWakeAt while WakeWanted is set (GEMWoken; MouseK and InKey 0). Other
// endings return the radio box selected at entry, or -1. Applies push, radio and toggle
// selection to the flags; draws nothing. A left press that hits no box is dropped and
// leaves MouseX, MouseY and MouseK at 0. Quit is 1 afterwards only for a quit request; a
// call made while Quit is set reads no event.
int32_t GEMWaitBoxClick(GEMBox* table, int32_t count, int32_t windowEnds);

// Shows an alert on the window and presents it: panel, optional icon (first byte of
// answers unless it is '|'; disc in ColorB, glyph in Color), text at (160 + dx, 100 + dy),
// and one button per answer between bars, at most 8 (more print "GEMMessage: Too many
// answers." and are dropped). Returns the clicked answer, else the default (-1 if no
// such button). Saves nothing: the caller redraws. InKey is 0 and the render target is
// the window afterwards.
int32_t GEMMessage(int32_t dx, int32_t dy, const char* text, uint8_t def, const char* answers);
// The icon of the program's own alerts, a white glyph on a red disc: Color opaque
// white, ColorB red (bytes 0xFF, 0, 0, 0).
void GEMIconColors();

// Edits the text of box b (type 11 one line, 12 several) in place in its 256-byte
// buffer, with text input on: typing, Backspace, Delete, Left, Right, Home, End, a
// press inside placing the cursor, Ctrl+C, Ctrl+X, Ctrl+V with the system clipboard
// (the modifiers as the key event gives them). Input of more than 255 bytes, or holding
// characters of three or four bytes, is refused whole; a paste is cut to 255 bytes at
// a character boundary. Ends on Return or keypad Enter, a press outside the box, a
// habit of GEMHabits (InKey or GEMWheel set), or a quit request: returns 1 for a quit request (Quit
// 1), else 0. Without BOX_ENABLED and BOX_SELECTABLE returns 0 at once. Draws into GEMScreen and
// shows it after every event; leaves the render target on the window.
int32_t GEMEdit(GEMBox b);
