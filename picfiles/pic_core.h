// Pure rules of the bit-plane picture files (DEGAS pictures, headerless screen bodies
// such as Doodle files, GBF blocks): telling a file's layout from its length and header,
// decoding its body onto a palette, stretching a picture over 640x400, and encoding a
// picture as a Doodle body. No SDL here; picfiles/pic.cpp is the shell.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr int32_t PicW = 640, PicH = 400;          // the stored picture
inline constexpr size_t PicBodyBytes = 32000;             // a screen body; also a Doodle file
inline constexpr size_t PicDegasBytes = 32066;            // DEGAS with its colour-cycling tail
inline constexpr size_t PicDegasPlainBytes = 32034;       // DEGAS as DEGAS itself writes it
inline constexpr size_t PicDegasBodyAt = 34;              // after the resolution and palette words
inline constexpr size_t PicGbfHeaderBytes = 6;            // W, rows - 1, P: big-endian words
inline constexpr size_t PicMaxFileBytes = PicDegasBytes;  // no accepted file is longer

// The machine's three screens, each a PicBodyBytes body: the DEGAS resolution word
// (also the screen's index here), planes, bytes of one plane in one row (the screen is
// 8 times as many pixels wide) and rows.
struct PicScreen {
  uint16_t resolution;
  int32_t planes, lineBytes, rows;
  constexpr int32_t w() const { return 8 * lineBytes; }
};
inline constexpr PicScreen PicScreens[3] = {{0, 4, 40, 200}, {1, 2, 80, 200}, {2, 1, 80, 400}};
static_assert(
    [] {
      for (int i = 0; i < 3; i++)
        if (PicScreens[i].resolution != i ||
            size_t(PicScreens[i].lineBytes) * size_t(PicScreens[i].rows * PicScreens[i].planes) !=
                PicBodyBytes)
          return false;
      return true;
    }(),
    "each screen at its resolution word's index, a PicBodyBytes body");
// The screen of `planes` planes (1, 2 or 4); null for any other count.
constexpr const PicScreen* PicScreenOf(int32_t planes) {
  for (const PicScreen& s : PicScreens)
    if (s.planes == planes) return &s;
  return nullptr;
}

// Bit-plane picture files by the extension of their name, in upper case: the planes of
// a 32,000-byte body so named (0 for a GBF block, whose header gives them), the picture
// such a body is ("DEGAS" or "Doodle"; "GBF"), whether the paint program's load command
// reads the name with LoadPIC, and whether a DEGAS picture may carry it.
struct PicName {
  const char* ext;
  int32_t planes;
  const char* picture;
  bool paint, degas;
};
inline constexpr PicName PicNames[] = {
    {"PI1", 4, "DEGAS", true, true},   {"PI2", 2, "DEGAS", true, true},
    {"PI3", 1, "DEGAS", true, true},   {"PIC", 1, "Doodle", true, true},
    {"DOO", 1, "Doodle", true, false}, {"GBF", 0, "GBF", true, false},
};
// The entry of ext, matched exactly, case included; null for any other text.
constexpr const PicName* PicNameOf(const char* ext) {
  for (const PicName& n : PicNames) {
    const char *a = n.ext, *b = ext;
    while (*a && *a == *b) a++, b++;
    if (*a == *b) return &n;
  }
  return nullptr;
}

// Reads bytes from a buffer; past the end it gives 0 and sets `short_`, which stays
// set, so a parser checks once at the end instead of before every read.
struct PicReader {
  const uint8_t* p;
  size_t size, pos;
  bool short_ = false;

  uint8_t u8() {
    if (pos < size) return p[pos++];
    short_ = true;
    return 0;
  }
  uint16_t u16be() {
    uint16_t hi = u8();
    return uint16_t(hi << 8 | u8());
  }
  uint32_t u32be() {
    uint32_t hi = u16be();
    return hi << 16 | u16be();
  }
  // n bytes into to; past the end the rest is zero and short_ is set.
  void bytes(uint8_t* to, size_t n) {
    size_t have = pos < size ? size - pos : 0;
    if (have >= n)
      have = n;
    else
      short_ = true;
    for (size_t i = 0; i < have; i++) to[i] = p[pos + i];
    for (size_t i = have; i < n; i++) to[i] = 0;
    pos += have;
  }
};

// Where a body lies in a file and how it is laid out: rows top first, each row
// lineBytes / 2 groups of 16 pixels, each group `planes` big-endian words, plane 0 first.
struct PicLayout {
  int32_t planes = 0;     // P, 1..4
  int32_t lineBytes = 0;  // L: bytes of one plane in one row, even; the image is 8 * L wide
  int32_t rows = 0;
  size_t offset = 0;  // first body byte in the file
};

// A decoded image: w * h pixels row by row, each a palette entry.
struct PicImage {
  int32_t w = 0, h = 0;
  std::vector<uint32_t> px;
};

// The palette entry shown for each pixel value 0..15 of a body of `planes` planes
// (1..4; with 3 planes only the first 8 entries occur).
void PicTable(int32_t planes, uint8_t T[16]);

// Detection from the length and header alone. planes is the caller's plane count:
// 1, 2 or 4 take a DEGAS picture of 32,066 or 32,034 bytes or a 32,000-byte body (640x400 with one
// plane, 640x200 with two, 320x200 with four); 0 takes a GBF file, whose header gives
// the layout. False (lay untouched) for any other length, a header whose layout does
// not fill the rest of the file exactly, a GBF plane count outside 1..4, or another
// planes value.
bool PicDetect(const uint8_t* file, size_t size, int32_t planes, PicLayout& lay);

// Decodes the body described by lay, showing pixel value v as pal[T[v]] (pal has 16
// entries). False (img untouched) if lay is impossible or the file ends before the body.
bool PicDecode(const uint8_t* file, size_t size, const PicLayout& lay, const uint32_t* pal,
               PicImage& img);

// The pixel values 0..2^P-1 of a body of L bytes a plane a row, `rows` rows and P planes
// (1..4) at body, which holds L * rows * P bytes: 8 * L * rows values, row by row.
void PicPlanes(const uint8_t* body, int32_t L, int32_t rows, int32_t P, uint8_t* values);
// The inverse: the body of 8 * L * rows values below 2^P (higher bits are dropped).
void PicEncode(const uint8_t* values, int32_t L, int32_t rows, int32_t P, uint8_t* body);

// PicDetect then PicDecode: the whole reading of one file. False means "wrong format";
// img is replaced only on success.
bool PicLoad(const uint8_t* file, size_t size, int32_t planes, const uint32_t* pal, PicImage& img);

// How an image's pixels lie in memory: bytes a pixel (3, or 4 as a little-endian 32-bit
// value), and which of them holds red, green, blue and alpha; alpha -1 for none, 255 then.
struct PicPixels {
  int32_t bytes, r, g, b, a;
};
inline constexpr PicPixels PicRgba = {4, 0, 1, 2, 3};  // PicImage's, and the textures'

// Nearest-neighbour stretch of a w x h image (rows pitch bytes apart, pixels laid out
// as lay) over PicW x PicH pixels into out (256,000 of them, r | g << 8 | b << 16 |
// a << 24), as the renderer copies a texture: picture pixel (x, y) takes the source
// pixel under its centre, column floor((x + 0.5) * w / PicW) and row
// floor((y + 0.5) * h / PicH). A centre exactly on the border of two source pixels (w a
// multiple of 256, h of 32) takes the right or lower one; renderers round such ties
// either way. The one stretch of every load onto the picture and of the converter's
// --as-shown. An empty image gives all zeros.
void PicStretchPixels(const uint8_t* px, int32_t w, int32_t h, size_t pitch, PicPixels lay,
                      uint32_t* out);
// The same for img, into out (resized).
void PicStretch(const PicImage& img, std::vector<uint32_t>& out);

// The Doodle body of a PicW x PicH picture given as bytes r, g, b, a (rows of 2,560
// bytes): one bit a pixel, row-major, bit 7 first; 0 for pure white (r = g = b = 255,
// alpha ignored), 1 for anything else. Writes exactly PicBodyBytes bytes.
void DoodleBody(const uint8_t* rgba, uint8_t* body);
