// Pure rules of the load command: which reader a file's name chooses, and the size a
// PNG header states (png_core.h declares it). No SDL here; picfiles/laduj.cpp and
// picfiles/zapisz.cpp are the shells.
#pragma once
#include <cstddef>
#include <cstdint>

// What the load command does with a file. planes is LoadPIC's plane count (0 for a
// GBF block) when how is PIC_PLANES.
struct PicKind {
  enum How : uint8_t { PIC_UNKNOWN, PIC_PLANES, PIC_BMP, PIC_PNG, PIC_ATARI } how;
  int32_t planes;
};
// From the text after the last '.' of the whole path, case included: a name of
// PicNames that the paint program reads with LoadPIC, with its planes ("GBF" a block,
// "DOO" a Doodle body); "bmp" or "BMP", a BMP file; "png" or "PNG", a PNG file; the
// other Atari pictures in upper case, "PC1", "PC2", "PC3", "NEO", "SPU" and "SPC"
// (LoadAtari); any other text, or no '.' at all (a dot in a directory's name counts),
// is unknown.
PicKind PicKindOf(const char* path);
// Whether a save under this name writes a PNG: it ends in ".png" or ".PNG".
bool PicSavesPng(const char* path);
