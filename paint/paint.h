// The paint program: its start-up, its own state (drawing modes, the current tool,
// mode and grid, the drawing loop's event record), the control screen, the drawing
// screen and its tools. Every routine here works on the globals directly: these, the
// picture's textures and palette (platform/platform.h) and the pen settings
// (raster/raster.h).
#pragma once
#include <SDL.h>
#include <cstdint>

#include <string>
#include <vector>

#include "paint/blok_core.h"
#include "paint/zapas_core.h"
#include "platform/globals_core.h"
#include "toolkit/toolkit.h"

// Drawing modes: names on the mode box and their draw blend modes. tryb_b[4]
// ("Inwersja": white minus source) is composed by main; 0 until then.
inline constexpr const char* tryb$[5] = {"Wymiana", "Mieszanie", "Suma", "Iloczyn", "Inwersja"};
extern SDL_BlendMode tryb_b[5];

// The current tool, mode and grid (set on the control screen), the drawing loop's
// event record x, y, k, key, kmod, nacisk (the control screen sets x, y, k too before
// drawing), and the history's budget and the picture's version, as
// X(type, name, start value) (see platform/globals_core.h).
#define PAINT_GLOBALS(X)                                                                         \
  X(uint8_t, co, 1)      /* tool 0..12 (its box minus 8); 1 freehand */                          \
  X(uint8_t, tryb, 0)    /* drawing mode 0..4; 0 "Wymiana" */                                    \
  X(int32_t, kr, 0)      /* grid step in 8-pixel units, 0..10; negated while the panel is up */  \
  X(int32_t, krh, 0)     /* grid spacing in pixels across, 8 * kr */                             \
  X(int32_t, krv, 0)     /* grid spacing in pixels down, 8 * kr */                               \
  X(int32_t, x, 0)       /* pointer x of the last mouse event */                                 \
  X(int32_t, y, 0)       /* pointer y of the last mouse event */                                 \
  X(int32_t, k, 0)       /* press: button number; motion: low byte of the button mask; key: 0 */ \
  X(int32_t, key, 0)     /* key code of the last key-down, 0 after a mouse event */              \
  X(uint16_t, kmod, 0)   /* modifiers (KMOD_*) held at that key-down; 0 after a mouse event */   \
  X(bool, nacisk, false) /* the last mouse event was a press, not a motion */                    \
  X(uint32_t, historia_mb, 256)    /* the history's budget in MiB; 0 keeps no steps */           \
  X(uint64_t, wersja, 0)           /* the picture's state, numbered by the history below */      \
  X(uint64_t, wersja_pliku, 0)     /* wersja at the picture's last load or save */               \
  X(SDL_Texture*, obraz$, nullptr) /* which texture holds the picture now (zapas below) */
PAINT_GLOBALS(GLOBAL_EXTERN)

// Shows GEMScreen on the window, the grid over it while kr > 0, presents, and sets
// the render target back to GEMScreen. Brings the window's title up to date (tytul).
void ShowE();
// Names the window after the picture's file, marked while it has changes not saved
// since its last load or save (SDLTitle with wersja != wersja_pliku).
void tytul();
// Copies GEMScreen into rob_e$ exactly (no blending); target GEMScreen afterwards.
void zapamietaj();

// Start-up after SDLInit: gives the toolkit its font (GEMInit), creates the textures,
// clears the picture to white and composes the "Inwersja" mode. Leaves the render
// target on rob_e$.
void przygotuj();
// Destroys rob_e$, kra$, blok$, GEMScreen and Wypboxy, nulling each.
void sprzataj();

// Control screen.
extern GEMBox boxy[81];  // the panel's boxes, laid out once by uklad
// Lays out boxy and paints the 36 pattern samples into Wypboxy (start-up, once).
void uklad();
// Draws the panel into GEMScreen; does not present.
void menu();
// Draws the panel straight onto the window and presents it: the pixels menu() and
// ShowE() show (drawn through them when a pattern is chosen, whose sample needs
// GEMScreen); target GEMScreen afterwards. The page's first frame: software WebGL
// prepares each new combination of shader, blending and target at its first draw,
// and this one needs only the fills and the blended copies onto the canvas.
void pierwsza_klatka();
// The control screen loop; returns when the user ends the program or asks to quit.
// A file dropped on the window while it waits for a click loads as from the "BMP" box.
void sterownia();
// Loads a file dropped on the window (or named on the command line) as the "BMP" load
// box loads a chosen one, one step of the history, in the control screen's state
// (picture in rob_e$); a picture loaded is noted as the file's (wersja_pliku).
void upusc(const char* path);
// Puts the picture from rob_e$ on GEMScreen, sets colour and blend mode, shows it.
void do_ekranu();
// Stores the picture in rob_e$ again, blend mode none, grid hidden.
void do_menu();

// Drawing screen.
// The drawing loop; returns on a press of a button other than the left one. A file
// dropped on the window while it waits (not while a tool runs) loads as on the control
// screen: do_menu, upusc, do_ekranu.
void pracownia();
// Waits for one key-down, motion or button-down and records it in x, y, k, key; with
// DropWanted set a dropped file also ends the wait, with k and key 0.
// Always leaves Quit 0: a quit request while drawing is discarded.
void cz_mysz();
void t_undo();  // Backspace: puts the undo copy back and shows it
// Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z: a step of the history, shown; the undo copy becomes the
// picture, so a Backspace right after changes nothing.
void t_historia();
void t_nawias();  // "," and ".": grid step down or up, redrawn
void krata();     // redraws the grid overlay kra$ and shows it
// Whether an event that cz_mysz acts on is queued already (the queue is not pumped):
// a loop that draws a frame for every event skips showing it then.
bool w_kolejce();
// Waits, pumping, until no mouse button is held or a quit is pending. Asks SDL for the
// buttons rather than MouseK, which cz_mysz leaves stale, so when the release has been
// read already nothing is pumped and the events queued behind it stay for cz_mysz.
void puszczenie();
// Rubber band: first point (x, y), then release, preview, press. Fills p with
// x1, y1, x2, y2; k is 1 when confirmed with the left button.
void wsp(int32_t* p);
// Tools; entered with k 1 and (x, y) the press, they leave k as the input ended.
void rysuj();    // freehand
void linia();    // line
void lamana();   // polyline; leaves k 0
void ramka();    // frame
void prostok();  // filled rectangle
void okrag();    // circle
void kolo();     // filled circle
void elipsa();   // ellipse
void dysk();     // filled ellipse

// Block tool. The loop: the block follows the pointer with its top-left corner as its
// own preview, combined with the picture in the current mode; each left press or drag
// event stamps it into the picture with its own undo copy. Escape cuts a new block.
// The pointer is hidden while there is a block. Called on any event; returns when k
// is 2 or more, with the pointer shown.
void blok();
// The cut: two corners picked with rog, each confirmed with a left click, in any
// order; the rectangle they span (both included) replaces blok$. Escape or another
// button cancels and keeps the old block.
void wytnij();
// One corner: a cross-hair across the window follows the pointer until a press, a drag
// or Escape; c holds the corner picked (x, y) and, in c[2], c[3], the one picked before,
// whose cross-hair stays shown ((-1, -1) for none). Hides the pointer.
void rog(int32_t* c);

// Magnifier, on a left click with the grid on: edits the grid cell under (x, y) pixel
// by pixel, enlarged, with a colour strip, and writes only the cell back. A right or
// middle press ends it; with the grid off it does nothing. Needs the undo copy in
// rob_e$ (the drawing loop makes it); waits for the buttons to be up and leaves k 0.
// A colour picked from the strip stays the draw colour afterwards; kolor stays.
void powieksz();
// The magnifier's editing loop over the screen powieksz built in GEMScreen: the cell
// at (cx, cy) in the one-to-one view, zoomed zf times from (220, 0).
void porys(int32_t cx, int32_t cy, int32_t zf);

// The picture's history: the steps of what actions changed, kept within historia_mb MiB
// (the oldest dropped first, but never the newest), gone through back with Ctrl+Z and
// forward with Ctrl+Y or Ctrl+Shift+Z; a new step drops the steps ahead. A step is one
// tool call on the drawing screen, except that the points or fills of one drag and the
// stamps of one block drag are one step from the press on; "Czyść" and every load onto
// the picture are steps too. A step is open while its action may go on, and is stored
// when the next one starts, at a history key and when the drawing screen is left, as
// the rectangle of the pixels it changed (a step that changed none is dropped).
// wersja is 0 at start; every change of the picture gives it a number never used
// before, and a step back or forward the number of the state it returns to: who notes
// it (at a save, at a copy) knows whether the picture has changed since.

// An event of the drawing screen is about to act; called before its zapamietaj. dalej:
// a later event of a drag, which joins the open step (keeping the step's start aside
// from rob_e$ first); otherwise the open step is stored and a new one starts.
void krok(bool dalej);
// The open step's action may have changed rectangle r of the picture.
void krok_obszar(Prostokat r);
// The open step's action was the fill just made: its box is FillBox, and while the
// fill is all the step holds, its pixels are taken from FillBefore and FillAfter.
void krok_wypelnienie();
// Backspace has put the undo copy back, inside the open step.
void krok_zmiana();
// Stores the open step, if any.
void krok_zamknij();
// On the control screen, before a command that may change the picture in rob_e$
// ("Czyść", a load): opens a step over all of it, which krok_zamknij stores after it.
void krok_menu();
// Key and modifiers (KMOD_*) of a key-down: if they are a history key, stores the open
// step and steps the picture in obraz (GEMScreen while drawing, rob_e$ on the control
// screen) back or forward, if there is a step that way. True for a history key.
bool historia_klawisz(int32_t key, uint16_t mod, SDL_Texture* obraz);
// Forgets every step, the open one too, and frees what the history holds.
void zapomnij();
// Rectangle r of texture t read back into px (r.w x r.h, rows r.w long); false if it
// cannot be read. The render target stays as it was.
bool czytaj(SDL_Texture* t, Prostokat r, std::vector<uint32_t>& px);

// The recovery copy (paint/zapas.cpp, its rules in paint/zapas_core.h): while the
// picture has changes not saved since its last load or save, it and the block are kept
// in a file of this program's own in the state directory: after the first change, then
// at most once a period while changes go on, and at the end unless the user discarded
// them. A copy takes one read-back here; a thread of its own compresses and writes it,
// so the screens never wait for the disk. A save, or a load, of the picture removes it.
// obraz$ says where the picture is: rob_e$ on the control screen (do_menu), GEMScreen
// while drawing (do_ekranu), null in the magnifier, whose screen is not the picture.

// Start-up, after przygotuj: takes this program's own place for its copy (its lock held
// for the run), period okres ms. Without one (a state directory that cannot be written)
// one line on standard error says so and no copy is kept; the program goes on as ever.
void zapas_start(uint32_t okres);
// At a point where obraz$ holds the whole picture as wersja numbers it (the control
// screen's and the drawing loop's waits): hands a copy on if one is due, else has a
// wake-up queued for when it will be (SDLWakeAt); removes the copy once the picture is
// saved. A wait that took the wake-up (WakeWanted set) calls zapas_pobudka instead.
void zapas_pora();
void zapas_pobudka();
// Asks for a copy at the next of those points, without waiting for the period: the
// picture is about to be out of the user's sight (the browser's tab hidden), where it
// may be ended without a word. Safe to call while the program waits for input.
void zapas_pilnie();
// Does the picture have changes not saved since its last load or save?
bool zapas_niezapisany();
// Makes the copy on disk hold the picture now, if it is older than the last change,
// and waits until it is written: the end's own copy.
void zapas_teraz();
// On the control screen at start: offers the newest copy left by a program no longer
// running with the question "Przywrócić niezapisany obraz?". "Tak" puts it on the picture
// (and its block), one step of the history, and removes it once this program's own copy
// holds it; "Nie" removes it. A damaged copy is removed with a line on standard error
// and the next is tried. One copy a start; a quit request during the question leaves it.
void zapas_oferuj();
// The end: zachowaj (a close request) keeps the picture's changes not saved in the copy
// (zapas_teraz), otherwise ("Koniec", "Tak") the copy goes; with nothing unsaved it goes
// either way. Waits for the writer. What SIGTERM, SIGINT and SIGHUP run too, as exit ends
// the program (with zachowaj).
void zapas_koniec(bool zachowaj);

// The copy's storage, one shell per platform: paint/zapas_dysk.cpp on the desktop,
// web/zapas.cpp in the browser (the site's storage).
// This program's own place: the state directory (FSStateDir) into katalog, and a name
// there (ZapasNazwa) whose lock it takes and holds for the whole run. False, with the
// reason in why ("" for none worth telling), when that cannot be.
bool zapas_miejsce(std::string& katalog, std::string& wlasna, std::string& why);
// The copies in katalog, other than wlasna's, whose programs no longer run (their
// locks free), newest first.
std::vector<ZapasPozostaly> zapas_pozostale(const std::string& katalog, const std::string& wlasna);
// Takes the lock of the left copy base for this program, so that no other one offers it
// meanwhile; false when another program holds it.
bool zapas_przejmij(const std::string& katalog, const std::string& base);
// Reads the left copy base (ZapasCzytaj's rules): "" and the picture and block, or the
// reason it cannot be had, naming the copy.
std::string zapas_czytaj(const std::string& katalog, const std::string& base, PicImage& obraz,
                         PicImage& blok);
// Removes the left copy base and lets its lock go (the picture before the lock: a copy
// is never left without its lock while it is still offered).
void zapas_usun(const std::string& katalog, const std::string& base);
// Hands job z on to the writer (the desktop's runs zapas_wykonaj on a thread of its own;
// the browser's, the page's script), and returns at once.
void zapas_zlec(ZapasZlecenie&& z);
// Waits until the writer has done every job handed on.
void zapas_czekaj();
// Lets this program's own lock go at the end, removing the lock file with usun.
void zapas_oddaj(const std::string& katalog, const std::string& wlasna, bool usun);
// The desktop writer's work on one job (paint/zapas_dysk.cpp): encodes and writes the
// copy, or removes it, then the left copy the job names. On the writer's thread.
void zapas_wykonaj(ZapasZlecenie& z);
// Tells on standard error, once a run, that the copy cannot be kept (path, why): the
// program goes on as before without it. Any thread.
void zapas_powiedz(const std::string& path, const std::string& why);
