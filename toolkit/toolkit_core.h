// Pure rules of the toolkit: the simplified UTF-8 (one byte below 0x80, else two) and
// the glyph layout shared by the printer, the boxes and the editor; the box record with
// its colours, text placement and click rules; the alert's buttons.
#pragma once
#include <cstdint>
#include <vector>

// Only carried by a box record here; the SDL shells draw it.
struct SDL_Texture;

// The 18 Polish letters with a glyph of their own, two bytes each; letter i is cell 96 + i.
inline constexpr char FontLetters[] = "ĄĆĘŁŃÓŚŹąćęłńóśźŻż";
inline constexpr int FontLetterCount = 18;

// Characters beginning at byte offsets from..to (inclusive) before the first zero byte.
int32_t LenUTF(const char* text, int32_t from, int32_t to);
// Signed byte distance covered by moving n characters from offset from (backwards for
// n < 0, starting on the last byte of a character). Stops at a zero byte or offset -1.
int32_t LenChr(const char* text, int32_t from, int32_t n);

// One glyph copy: font cell and its top-left corner on the target.
struct GlyphDraw {
  int cell;
  int32_t x, y;
};
// Lays out a print of SDLGPrint (see there for the arguments) starting with the pen at
// (penX, penY), glyphs gw x gh on screen. Appends the glyph copies to out and leaves
// the final pen in penX, penY.
void GPrintLayout(const char* text, uint32_t count, int32_t rows, int32_t right, int32_t bottom,
                  uint8_t clip, int32_t& penX, int32_t& penY, int gw, int gh,
                  std::vector<GlyphDraw>& out);

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
  int32_t x, y, w, h;  // inner area; the rim lies one pixel outside it
  uint32_t param1;     // types 0..9: fill colour (0 standard); type 13: rows to print
  int32_t param2;      // types 0..9: text colour (0 standard); type 13: highlighted row
  SDL_Texture* image;  // types 0..9: stretched over the inner area; not owned
};

// The fixed box colours (bytes r,g,b,a in memory order, alpha 0).
inline constexpr uint32_t BoxLight = 0xCFFFCF;
inline constexpr uint32_t BoxMiddle = 0xAFCFAF;
inline constexpr uint32_t BoxDark = 0x7FAF7F;
inline constexpr uint32_t BoxPale = 0xAFFFAF;
inline constexpr uint32_t BoxDimmed = 0x8FBF8F;

struct BoxColors {
  uint32_t fill, topLeft, bottomRight, text;
};
// Fill, rims and text colour of a box: sunken for types 10..19, pressed when selected,
// text dimmed without BOX_ENABLED; types 0..9 take non-zero param1 and param2 instead.
BoxColors BoxColorsOf(const GEMBox& b);

// The one SDLGPrint of a box's text: pen start and the print's arguments.
struct BoxPrint {
  int32_t x, y;
  uint32_t count;
  int32_t rows, right, bottom;
  uint8_t clip;
};
// How the text of b is printed with glyphs gw x gh: a label centred by characters
// (types 0..9), a line, wrapped text or list rows inside the margins (11, 12, 13).
// False when nothing is printed (no label; types 10, 14..255).
bool BoxTextPrint(const GEMBox& b, int gw, int gh, BoxPrint& p);
// The highlight bar of a type 13 list as x, y, w, h; false when param2 is negative or
// the box is no list.
bool BoxListBar(const GEMBox& b, int gw, int gh, int32_t bar[4]);

// Start of a box-click wait: clears BOX_SELECTED of momentary boxes and returns the
// last selected radio box in table order, or -1.
int32_t BoxWaitStart(GEMBox* table, int32_t count);
// A left press at (x, y): every enabled selectable box whose inner area holds it is
// set (flipped with BOX_TOGGLE), deselects the previous radio selection when both are
// radio, and becomes the selection, in index order. True when any box was hit.
bool BoxClick(GEMBox* table, int32_t count, int32_t x, int32_t y, int32_t& selection);

// The alert panel in window pixels.
inline constexpr int32_t AlertX = 160, AlertY = 100, AlertW = 320, AlertH = 200;
// Buttons an alert has room for; further answers are dropped.
inline constexpr int AlertMaxAnswers = 8;

struct AlertLayout {
  uint8_t icon;   // the icon character, 0 for none
  int32_t count;  // buttons filled in
  bool tooMany;   // more than AlertMaxAnswers answers were given
};
// Copies at most 255 bytes of answers into work, cuts it at bars and fills the button
// records (type 1, flags 0x13, the default one selected) laid out in a row under the
// panel with glyphs gw x gh. Labels point into work. buttons[count] gets a null text.
AlertLayout AlertButtons(const char* answers, uint8_t def, int gw, int gh, char (&work)[256],
                         GEMBox (&buttons)[AlertMaxAnswers + 1]);

// One line editor over a box's text buffer (256 bytes: at most 255 bytes and a zero).
// Offsets are bytes; indexes are characters of the simplified UTF-8.
struct EditState {
  char* text;
  int32_t length, chars;          // the text in bytes and in characters
  int32_t cursor, cursorIndex;    // the cursor as a byte offset and a character index
  int32_t first, firstIndex;      // the first visible character
  int32_t columns, rows, mx, my;  // whole glyphs that fit, and the margins around them
  int32_t capacity;               // characters shown: columns, or columns x rows for type 12
  uint8_t type;
};
// The most text bytes an edited buffer holds.
inline constexpr int32_t EditMax = 255;
// Starts editing b's text with glyphs gw x gh: the cursor at the start, or at the end
// when b.param2 is non-zero.
void EditStart(EditState& e, const GEMBox& b, int gw, int gh);
// The bytes of a text that the editor accepts: characters of one byte, or two bytes (a
// lead from 0xC0 to 0xDF and a byte from 0x80 to 0xBF). -1 when the text holds anything
// else (characters of three or four bytes, stray bytes).
int32_t EditAcceptable(const char* text);
// The keys: each does nothing where there is nothing to do.
void EditBackspace(EditState& e);
void EditDelete(EditState& e);
void EditLeft(EditState& e);
void EditRight(EditState& e);
void EditHome(EditState& e);
void EditEnd(EditState& e);
// Inserts typed text at the cursor; refused whole (false) when not acceptable or when
// it would make the text longer than EditMax bytes.
bool EditInsert(EditState& e, const char* typed);
// Replaces the whole text with pasted text, cut to EditMax bytes at a character
// boundary, and puts the cursor at its end; refused whole (false) when not acceptable.
// An empty paste (nothing on the clipboard) changes nothing.
bool EditReplace(EditState& e, const char* pasted);
// Empties the text; every position 0.
void EditClear(EditState& e);
// A press at (px, py) inside box b: the cursor goes to the character under it, counted
// from the first visible one, or the end of the text.
void EditPlace(EditState& e, const GEMBox& b, int32_t px, int32_t py, int gw, int gh);
// Moves first so the cursor stays visible: from the start while the cursor is in the
// first half, else centred, else with the text's end at the field's right edge.
void EditScroll(EditState& e);
// The cursor's 2 x gh rectangle (x, y, w, h) in box b.
void EditCursorRect(const EditState& e, const GEMBox& b, int gw, int gh, int32_t rect[4]);
