// Atari ST picture files as the converter reads and writes them: telling a file's kind
// from its content (or, where the content cannot tell, its extension); decoding DEGAS
// pictures of 32,034, 32,066 and 32,000 bytes, compressed DEGAS Elite (PC1, PC2, PC3),
// NEOchrome, Spectrum 512 (SPU, SPC), GBF blocks and Doodle files into pixel values and
// palette words; turning those into colours the way the machines showed them, or the
// way the paint program shows them; and writing DEGAS, PIC, Doodle and BMP files. Pure:
// bytes in, bytes out; convert/ is the shell. The bit-plane layout is pic_core's.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "picfiles/pic_core.h"

inline constexpr size_t StNeoBytes = 32128;  // NEOchrome: 128-byte header, body
inline constexpr size_t StNeoBodyAt = 128;
inline constexpr size_t StSpuBytes = 51104;      // Spectrum 512: body, 199 line palettes
inline constexpr int32_t StSpectrumLines = 199;  // lines 1..199 have palettes
inline constexpr int32_t StSpectrumWords = 48;   // palette words a line: three sets of 16
inline constexpr size_t StSpcHeaderBytes = 12;   // "SP", 0, two lengths
inline constexpr size_t StSpcPlaneBytes =        // one plane of lines 1..199 of the 4-plane screen
    size_t(StSpectrumLines) * size_t(PicScreenOf(4)->lineBytes);
inline constexpr size_t StMaxInputBytes = size_t(256) << 20;  // larger files are refused

enum class StKind : uint8_t {
  Unknown,
  Png,          // decoded by the shell (libpng)
  Bmp,          // decoded by the shell (SDL's BMP reader, as the paint program)
  Degas,        // 32,034 or 32,066 bytes: resolution word, 16 palette words, body
  DegasPacked,  // PC1/PC2/PC3: resolution word with bit 15 set, palette, PackBits lines
  Body,         // 32,000 bytes, no header (Doodle, raw screens): planes from the name
  Neo,          // 32,128 bytes
  Spu,          // 51,104 bytes
  Spc,          // "SP" header, packed planes and line palettes
  Gbf,          // GBF block, by its name only: its header has no signature
};

// An Atari picture as the machine held it.
struct StPicture {
  StKind kind = StKind::Unknown;
  int32_t w = 0, h = 0, planes = 0;
  std::vector<uint8_t> values;  // w * h pixel values 0..2^planes-1, row by row
  // 16 hardware palette words (0000 0rrr 0ggg 0bbb, the STE's extra low bit of each
  // channel in bit 3 of its nibble); for Spectrum 512 48 words for each of lines 1..199;
  // empty for files that carry none (32,000-byte bodies, Doodle, GBF).
  std::vector<uint16_t> palette;
};

// The extension of a file name (after its last '.', none when the name has none), in
// upper case: the converter matches extensions in any case.
std::string StExtension(const std::string& name);

// The kind of file: PNG and BMP by their signatures, GBF by the extension "GBF", SPC by
// its "SP" header, then SPU, NEO, DEGAS and bodies by their exact lengths (DEGAS with
// bit 15 of the resolution word clear, NEO with its flag word 0), a compressed DEGAS
// picture by bit 15 of its resolution word (also under the extensions "PC1" to "PC3"
// whatever its length). ext is StExtension of the name. Unknown when nothing fits, a
// body whose extension gives no plane count (PicNames) included; the resolution words
// are checked by the decoders, which name what is wrong.
StKind StDetect(const uint8_t* file, size_t size, const std::string& ext);

// Decodes a file of an Atari kind into pic (replaced only on success); "" on success,
// else a short reason for the user: the wrong length, a truncated or malformed body
// (naming the row), an unknown resolution. For Unknown the reason says what the file
// failed to be, from its extension; Png and Bmp are not decoded here.
std::string StDecode(const uint8_t* file, size_t size, StKind kind, const std::string& ext,
                     StPicture& pic);

// Colour of a palette word, bytes r, g, b and 255: each channel widened to 8 bits by
// repeating its bits, 3-bit (ST) or, when ste, 4-bit (STE, whose low bit is the
// nibble's bit 3).
uint32_t StWiden(uint16_t word, bool ste);
// A palette is read as STE, 4 bits a channel, when any of its words uses bit 3 of a
// nibble; else as ST. Deciding once for the whole palette keeps 0x0777 (ST white)
// brighter than 0x0EEE.
bool StIsSte(const uint16_t* words, size_t n);

// The colours of pic as its machine showed them, at its own size, alpha 255: palette
// words widened (ST or STE for the whole palette); one plane in black and white, value
// 0 white when bit 0 of palette word 0 is set and black when it is clear; Spectrum 512
// with each line's palettes, the first line black. A picture without palette shows
// value v as shown[PicTable(v)] (shown: the paint program's 16 colours).
void StColours(const StPicture& pic, const uint32_t* shown, PicImage& img);
// The colour of each pixel value 0..15 of a picture of `planes` planes with these 16
// palette words: one plane black and white by bit 0 of word 0, else the widened words.
void StWordColours(const uint16_t words[16], int32_t planes, uint32_t colour[16]);
// The colour of each pixel value of pic as StColours shows it; false for Spectrum 512,
// whose colours depend on the position.
bool StValueColours(const StPicture& pic, const uint32_t* shown, uint32_t colour[16]);
// What the paint program shows of pic's pixel values and plane count: value v as
// shown[PicTable(v)], stretched over 640x400 as its load does; a GBF block at its own
// size, as the block.
void StShown(const StPicture& pic, const uint32_t* shown, PicImage& img);

// The colours a target picture of `planes` planes may take, and the palette words it
// is written with: colour[v] is what value v shows, word[v] its palette word.
struct StPalette {
  int32_t n = 0;  // 2^planes
  uint32_t colour[16] = {};
  uint16_t word[16] = {};
};
// The palette of a file's 16 words for a target of `planes` planes: the widened words,
// or for one plane black and white by bit 0 of word 0. False when pic has no palette
// of its own (bodies, GBF, Spectrum).
bool StPaletteOf(const StPicture& pic, int32_t planes, StPalette& pal);
// The paint program's colours for `planes` planes (shown[PicTable(v)]), with the
// nearest palette words (StWords).
void StShownPalette(int32_t planes, const uint32_t* shown, StPalette& pal);
// Palette words for n colours, the rest 0: 3-bit (ST) when every channel of every
// colour is an ST level; else the nearest 4-bit (STE) words, unless none of them
// needs the fourth bit, in which case the file would read as ST and the nearest ST
// words are taken instead.
void StWords(const uint32_t* colours, int32_t n, uint16_t words[16]);

// Whether pic is written with `planes` planes as it is, values and palette words
// unchanged: it has its own 16-word palette, that plane count and that screen size.
bool StKeeps(const StPicture& pic, int32_t planes);
// The picture of a `format` file (its name, for messages) of `planes` planes from the
// colours of img (alpha ignored), into out (replaced only on success); "" or a reason.
// img must have the target's screen size, or be 640x400 and an exact enlargement of
// it (as the paint program shows it). With nearest, each colour takes the value of the
// nearest of nearest->colour (ties to the lower value) and the words are nearest's.
// Else img may hold at most 2^planes colours: when all are colours the paint program
// shows for that plane count they take its values, so that it shows them the same;
// otherwise values follow the colours' first appearance. Words from StWords. One plane
// holds only black (1) and white (0).
std::string StFromColours(const PicImage& img, const char* format, int32_t planes,
                          const StPalette* nearest, const uint32_t* shown, StPicture& out);

// img with each colour replaced by the nearest of pal's (ties to the lower value), as a
// picture is mapped onto a palette.
void StNearestColours(const PicImage& img, const StPalette& pal, PicImage& out);

// Files from pic (a screen of its planes, 16 palette words): a DEGAS picture of
// `size` bytes, PicDegasPlainBytes or PicDegasBytes (then with colour animation switched off);
// and a 32,000-byte body without header (PIC, Doodle).
void StDegasFile(const StPicture& pic, size_t size, std::vector<uint8_t>& out);
void StBodyFile(const StPicture& pic, std::vector<uint8_t>& out);
// The BMP of img as the paint program saves one (BmpWrite).
void BmpFile(const PicImage& img, std::vector<uint8_t>& out);
