// The one BMP writer, for the program's saves and the converter: pixels in, file bytes
// out, no SDL. The file is what SDL's own writer makes of a surface without alpha: the
// 14-byte file header, the 40-byte info header (no resolution, no palette), then 24-bit
// rows of blue, green and red, bottom row first, each padded to 4 bytes. Beside it the
// size a BMP file's header states, which readers check before SDL reads the file.
#pragma once
#include <cstddef>
#include <cstdint>

// The length of the BMP file of a w x h picture; 0 when w or h is negative or the file
// would pass the 4 GiB its header can state.
size_t BmpRoom(int32_t w, int32_t h);
// Writes the BMP file of the w x h pixels at px into out, which holds BmpRoom(w, h)
// bytes. Each pixel is 4 bytes, red, green, blue and one that is dropped (the textures'
// layout); rows start pitch bytes apart.
void BmpWrite(const uint8_t* px, int32_t w, int32_t h, size_t pitch, uint8_t* out);

// The picture size the first n bytes of a BMP file state, as magnitudes (a negative
// height marks rows stored top-down): 16-bit fields after a 12-byte OS/2 info header,
// else 32-bit ones. False when the bytes do not begin with "BM" or end before the size
// (26 bytes hold it in every header).
bool BmpHeaderSize(const uint8_t* head, size_t n, uint64_t& w, uint64_t& h);
