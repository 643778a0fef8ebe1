// Picture files: the load and save commands of the control screen, the BMP and PNG
// readers, the bit-plane reader (DEGAS pictures, headerless screen bodies such as Doodle
// files, GBF blocks), the reader of the other Atari pictures (compressed DEGAS,
// NEOchrome, Spectrum 512) and the Doodle and PNG writers. Loads change rob_e$ or blok$
// and nothing else of the picture state, and only once the whole file has been read.
#pragma once
#include <SDL.h>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/globals_core.h"

// The module's state, as X(type, name, start value) (see platform/globals_core.h).
#define PICFILES_GLOBALS(X) \
  X(SDL_RWops*, SDLRWops, nullptr) /* the open file of one bit-plane load; null otherwise */
PICFILES_GLOBALS(GLOBAL_EXTERN)

// Per command 0 ("DEGAS"/"Doodle"), 1 ("BMP") and 2 ("...blok"): the file selector's
// filter, and the start of the name a save offers.
inline constexpr const char* typ$[3] = {".PI", ".BMP", ".BMP"};

// The load command c: a file chosen in the file selector ("Ładowanie", opening where
// the user works: FSStartDir; filter typ$[c]) is read by laduj_plik, whose result it
// returns. CANCEL loads nothing; so does a quit request, which stays set for the
// control screen to end the program.
bool laduj(int32_t c);
// Loads the file at path as load command c does once it has the name, by the text
// after the last '.' of the whole path, case included (PicKindOf): "PIC", "PI1", "PI2",
// "PI3", "DOO" onto the picture and "GBF" into the block (LoadPIC); "PC1", "PC2",
// "PC3", "NEO", "SPU", "SPC" onto the picture (LoadAtari); "bmp"/"BMP" (LoadBMP) and
// "png"/"PNG" (LoadPNG) onto the picture for c = 1 and into the block otherwise; any
// other name gives the alert "Nieznany typ pliku". An empty path does nothing. Alerts
// show a white "i" on red. Also the load of a file named on the command line or
// dropped on the window, with c = 1. A file that loads is remembered (FSRemember); one
// that loads onto the picture names the window (SDLTitle, unchanged) and gives true:
// the picture is now that file's.
bool laduj_plik(const char* path, int32_t c);
// Reads the BMP file at path through LoadSDLSurface: dest 1 stretches it over the whole
// picture as the renderer copies it (PicStretchPixels: the pixel under each centre),
// any other value makes it the block at its own size. A
// file that cannot be read, or a block the renderer cannot hold, gives an alert with
// SDL's error text and false; picture and block are then as they were.
bool LoadBMP(const char* path, int32_t dest);
// Reads the PNG file at path (any depth and colour type; alpha kept, 255 where it has
// none) as LoadBMP reads a BMP: dest 1 stretches it over the picture by the same
// centres, any other value makes it the block. A header stating more pixels than
// PictureFits allows is refused before decoding. A file that cannot be opened, is
// longer than 256 MiB or is no sound PNG, or a block the renderer cannot hold, gives an
// alert with the reason (also printed on standard output) and false; picture and block
// are then as they were.
bool LoadPNG(const char* path, int32_t dest);
// The save command c: offers the name typ$[c] (".PIC" for c = 0) in the file selector
// ("Zapis", opening where the user works: FSStartDir) and writes the picture as a
// Doodle file (c = 0) or a BMP (1), or the block as a BMP (2), under the chosen name as
// it is; for c = 1 and 2 a name ending in ".png" or ".PNG" writes an 8-bit RGB PNG of
// the same pixels instead (SavePNG). A file there is replaced only by a
// complete new one; a name that cannot be written gives the alert "Błąd otwarcia pliku"
// and leaves any old file as it was. With no block, c = 2 shows "Brak bloku" and opens
// no selector. CANCEL or a quit request writes nothing (the quit request stays set). A
// name with nothing after its directory, or the offered name alone, writes nothing:
// the alert "Brak nazwy pliku", and the dialog again in that directory. A file
// written is remembered (FSRemember); a picture written names the window (SDLTitle,
// unchanged) and gives true: the picture is now that file's.
bool zapisz(int32_t c);

// Reads the regular file at path (SDLOpenFile, through SDLRWops) into bytes: all of
// it, or most + 1 bytes of a longer one, which tells the caller to refuse it. False
// when it cannot be opened, with errno and SDL's error set as SDLOpenFile leaves them.
bool PicReadFile(const char* path, size_t most, std::vector<uint8_t>& bytes);

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
// Reads a compressed DEGAS (PC1, PC2, PC3), NEOchrome or Spectrum 512 (SPU, SPC)
// picture, told by its content as tarksen-convert tells it, onto the whole of rob_e$ as
// tarksen-convert --as-shown shows it: its pixel values in the program's palette
// (StShown). Alerts and their conditions are LoadPIC's, and so is the result; any other
// content, or a file longer than 1 MiB, is of the wrong format.
bool LoadAtari(const char* path);
// Writes the 640x400 picture of the current render target (the caller makes it rob_e$)
// to path with WRITEFILE as a 32,000-byte Doodle body: pure white gives white, every
// other colour black. Returns 0 or WRITEFILE's errno.
int SaveDoodle(const char* path);
// Writes the w x h pixels at (0, 0) of the current render target to path with WRITEFILE
// as an 8-bit RGB PNG (alpha dropped, as SaveSurface's BMP drops it). 0, or -1 with
// SDL's error set to the reason.
int32_t SavePNG(int32_t w, int32_t h, const char* path);
