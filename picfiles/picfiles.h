// Picture files: the bit-plane reader (DEGAS pictures, headerless screen bodies such as
// Doodle files, GBF blocks) and the Doodle writer. The load and save commands call
// them; they change rob_e$ and blok$ and nothing else of the picture state.
#pragma once
#include <SDL.h>
#include <cstdint>

extern SDL_RWops* SDLRWops;  // the open file of one load or Doodle save; null otherwise

// Reads a bit-plane file. planes 1, 2 or 4 (from the extension: "PIC"/"PI3", "PI2",
// "PI1") take a 32,066-byte DEGAS picture or a 32,000-byte body, shown in the program's
// palette and stretched over the whole of rob_e$; planes 0 takes a GBF file, which
// becomes blok$ at its own size (the old block destroyed). A file that cannot be opened
// gives the alert "Nie ma takiego pliku"; one of another form, or a block too large for
// the renderer, "Niewłaściwy\nformat pliku". After an alert picture and block are as
// they were. The render target is unchanged, unless an alert left it on the window.
void LoadPIC(const char* path, int32_t planes);
// Writes the 640x400 picture of the current render target (the caller makes it rob_e$)
// to SDLRWops, which the caller opened for writing and closes, as a 32,000-byte Doodle
// body: pure white gives white, every other colour black. Write errors are not reported.
void SaveDoodle();
