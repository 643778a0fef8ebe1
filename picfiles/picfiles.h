// Picture files: the load and save commands of the control screen, the BMP reader, the
// bit-plane reader (DEGAS pictures, headerless screen bodies such as Doodle files, GBF
// blocks) and the Doodle writer. Loads change rob_e$ or blok$ and nothing else of the
// picture state, and only once the whole file has been read.
#pragma once
#include <SDL.h>
#include <cstdint>

#include "platform/globals_core.h"

// The module's state, as X(type, name, start value) (see platform/globals_core.h).
#define PICFILES_GLOBALS(X) \
  X(SDL_RWops*, SDLRWops, nullptr)  /* the open file of one bit-plane load; null otherwise */
PICFILES_GLOBALS(GLOBAL_EXTERN)

// Per command 0 ("DEGAS"/"Doodle"), 1 ("BMP") and 2 ("...blok"): the file selector's
// filter, and the start of the name a save offers.
inline constexpr const char* typ$[3] = {".PI", ".BMP", ".BMP"};

// The load command c: a file chosen in the file selector ("Ładowanie", opening where
// the user works: FSStartDir; filter typ$[c]) is read by laduj_plik, whose result it
// returns. CANCEL loads nothing; so does a quit request, which stays set for the
// control screen to end the program.
bool laduj(int32_t c);
// Loads the file at path as load command c does once it has the name: by the text
// after the last '.' of the whole path, case included, "PIC", "PI1", "PI2", "PI3" onto
// the picture and "GBF" into the block (LoadPIC), "bmp" and "BMP" onto the picture for
// c = 1 and into the block otherwise (LoadBMP); any other name gives the alert
// "Nieznany typ pliku". An empty path does nothing. Alerts show a white "i" on red.
// A file that loads is remembered (FSRemember); one that loads onto the picture names
// the window (SDLTitle, unchanged) and gives true: the picture is now that file's.
bool laduj_plik(const char* path, int32_t c);
// Reads the BMP file at path through LoadSDLSurface: dest 1 stretches it over the whole
// picture as the renderer copies it (PicStretchPixels: the pixel under each centre),
// any other value makes it the block at its own size. A
// file that cannot be read, or a block the renderer cannot hold, gives an alert with
// SDL's error text and false; picture and block are then as they were.
bool LoadBMP(const char* path, int32_t dest);
// The save command c: offers the name typ$[c] (".PIC" for c = 0) in the file selector
// ("Zapis", opening where the user works: FSStartDir) and writes the picture as a Doodle file (c = 0) or a BMP (1), or the block
// as a BMP (2), under the chosen name as it is. A file there is replaced only by a
// complete new one; a name that cannot be written gives the alert "Błąd otwarcia pliku"
// and leaves any old file as it was. With no block, c = 2 shows "Brak bloku" and opens
// no selector. CANCEL or a quit request writes nothing (the quit request stays set). A
// name with nothing after its directory, or the offered name alone, writes nothing:
// the alert "Brak nazwy pliku", and the dialog again in that directory. A file
// written is remembered (FSRemember); a picture written names the window (SDLTitle,
// unchanged) and gives true: the picture is now that file's.
bool zapisz(int32_t c);

// The loaders' last step: px (640x400) becomes the picture in one upload; the w x h
// pixels px (rows pitch bytes apart) become the block, a render target. False (the
// renderer cannot take them) leaves picture or block as they were.
bool putPicture(const uint32_t* px);
bool putBlock(const void* px, int32_t w, int32_t h, int32_t pitch);

// Reads a bit-plane file. planes 1, 2 or 4 (from the extension: "PIC"/"PI3", "PI2",
// "PI1") take a 32,066-byte DEGAS picture or a 32,000-byte body, shown in the program's
// palette and stretched over the whole of rob_e$; planes 0 takes a GBF file, which
// becomes blok$ at its own size (the old block destroyed). A file that cannot be opened
// (SDLOpenFile) gives the alert "Nie ma takiego pliku"; a directory, FIFO or device of
// that name, a file of another form, or a block too large for the renderer,
// "Niewłaściwy\nformat pliku". After an alert (and false) picture and block are as
// they were. The render target is unchanged, unless an alert left it on the window.
bool LoadPIC(const char* path, int32_t planes);
// Writes the 640x400 picture of the current render target (the caller makes it rob_e$)
// to path with WRITEFILE as a 32,000-byte Doodle body: pure white gives white, every
// other colour black. Returns 0 or WRITEFILE's errno.
int SaveDoodle(const char* path);
