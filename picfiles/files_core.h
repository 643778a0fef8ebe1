// Pure rules of the load command: which reader a file's name chooses.
// No SDL here; picfiles/laduj.cpp and picfiles/zapisz.cpp are the shells.
#pragma once
#include <cstddef>
#include <cstdint>

// What the load command does with a file. planes is LoadPIC's plane count (0 for a
// GBF block) when how is PIC_PLANES.
struct PicKind {
  enum How : uint8_t { PIC_UNKNOWN, PIC_PLANES, PIC_BMP } how;
  int32_t planes;
};
// From the text after the last '.' of the whole path, case included: a name of
// PicNames that the paint program reads, with its planes ("GBF" a block), or "bmp" or
// "BMP", a BMP file; any other text, or no '.' at all (a dot in a directory's name
// counts), is unknown.
PicKind PicKindOf(const char* path);
