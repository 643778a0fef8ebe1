// Pure rules of the window's name and icon: the title that names the picture's file and
// marks changes not saved (the browser page shows the same mark), and the icon's
// design in the program's palette and font.
#pragma once
#include <cstddef>
#include <cstdint>

// The program's name, the whole title while the picture belongs to no file.
inline constexpr const char* TitleName = "TARKSEN 2";

// The window's title into out (n bytes, always terminated): "TARKSEN 2", or after a load
// or a save the file's name (the part of path after its last '/') followed by " — "
// and "TARKSEN 2" (kot.PI1 — TARKSEN 2); with a '*' in front while changed. path may be
// null or empty (no file). A name too long for out is cut at a character's start.
void WindowTitle(char* out, size_t n, const char* path, bool changed);

// The icon's side in pixels; the design is drawn at whole multiples of it.
inline constexpr int IconSide = 32;
// The icon's design, IconSide x IconSide palette indices (GEMColor) into p: a black
// frame, a light green title band with "T2" in the font's glyphs, a white picture with
// a red disc and a blue frame. font: the font strip as RGBA bytes (w x h pixels, rows
// pitch bytes apart), or null; false when it holds no glyphs for "T2" (the icon is
// drawn without them).
bool IconDesign(uint8_t p[IconSide * IconSide], const uint8_t* font, int w, int h, int pitch);
