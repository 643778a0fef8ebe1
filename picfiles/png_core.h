// PNG files through libpng, the one PNG codec of the paint program and the converter:
// any PNG to 8-bit r, g, b, a; pictures to 8-bit RGB or indexed PNGs. No SDL here;
// picfiles/laduj.cpp and picfiles/zapisz.cpp are the paint program's shells,
// convert/job.cpp the converter's.
// The browser build has no libpng: web/png.cpp stands in for png_core.cpp there.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "picfiles/pic_core.h"

inline constexpr uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Signature, the IHDR chunk's length and type, width and height.
inline constexpr size_t PngHeadBytes = 24;

// The picture size the first n bytes of a PNG file state (IHDR's 32-bit width and
// height). False when they do not begin with the signature and an IHDR chunk, or end
// before the size. Defined in files_core.cpp, beside the other checks made before a
// file is read.
bool PngHeaderSize(const uint8_t* head, size_t n, uint64_t& w, uint64_t& h);

// Decodes any PNG (every bit depth, grey, palette, alpha, interlaced) into img: 16-bit
// channels cut to 8, grey and palettes expanded, alpha kept (255 where the file has
// none; a tRNS chunk becomes alpha). A size over PictureFits is refused from the header
// before anything is allocated for the pixels. "" on success, else the reason (libpng's,
// or "too large: WxH is more than 2^26 pixels"); img is replaced only on success.
std::string PngDecode(const uint8_t* data, size_t size, PicImage& img);
// An 8-bit RGB PNG of the w x h pixels at px, 4 bytes each (red, green, blue and one
// that is dropped, the textures' layout) with rows pitch bytes apart, into out: the
// pixels a BMP of them holds. "" or the reason.
std::string PngRgb(const uint8_t* px, int32_t w, int32_t h, size_t pitch,
                   std::vector<uint8_t>& out);
// The same with alpha kept: an 8-bit RGBA PNG, which PngDecode gives back exactly. For
// the recovery copy, where the picture's alpha matters to the drawing modes.
std::string PngRgba(const uint8_t* px, int32_t w, int32_t h, size_t pitch,
                    std::vector<uint8_t>& out);
// img (alpha dropped) as an indexed PNG of 1, 2, 4 or 8 bits when it has at most 256
// colours, else as 8-bit RGB.
std::string PngFile(const PicImage& img, std::vector<uint8_t>& out);
// The same for w x h pixel values shown as colours[v], without looking at each
// pixel's colour: the palette holds the colours of the values that occur.
std::string PngIndexed(int32_t w, int32_t h, const uint8_t* values, const uint32_t colours[16],
                       std::vector<uint8_t>& out);
