#include <png.h>
#include <setjmp.h>

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "picfiles/png_core.h"
#include "platform/texture_core.h"

// libpng reports errors by longjmp to the setjmp in the calling function. Everything
// that must survive the jump lives behind one pointer made before setjmp, and the
// code between setjmp and the jump has no objects with destructors to skip.
namespace {
struct PngState {
  const uint8_t* data = nullptr;
  size_t size = 0, pos = 0;
  std::vector<uint8_t> encoded;
  png_uint_32 w = 0, h = 0;    // of the picture to encode
  int depth = 8, colours = 0;  // colours: palette entries, 0 for RGB
  bool filler = false;         // RGB rows of 4 bytes a pixel, the fourth dropped
  bool alpha = false;          // RGBA rows of 4 bytes a pixel, all kept
  png_color palette[256];
  char why[200] = "";
  std::vector<uint8_t> raster;
  std::vector<png_bytep> rows;
};
}  // namespace

static void onError(png_structp png, png_const_charp msg) {
  PngState* s = static_cast<PngState*>(png_get_error_ptr(png));
  snprintf(s->why, sizeof s->why, "%s", msg);
  longjmp(png_jmpbuf(png), 1);
}
static void onWarning(png_structp, png_const_charp) {}

static void readData(png_structp png, png_bytep to, png_size_t n) {
  PngState* s = static_cast<PngState*>(png_get_io_ptr(png));
  if (n > s->size - s->pos) png_error(png, "truncated");
  memcpy(to, s->data + s->pos, n);
  s->pos += n;
}

static void writeData(png_structp png, png_bytep from, png_size_t n) {
  PngState* s = static_cast<PngState*>(png_get_io_ptr(png));
  s->encoded.insert(s->encoded.end(), from, from + n);
}
static void flushData(png_structp) {}

// Reads the header, sets the transforms to 8-bit RGBA and reads every row into px,
// which readAll sizes: w * h pixels whose bytes are r, g, b, a (the layout of PicImage
// on the little-endian machines the program runs on, as BmpFile takes it too).
static void readAll(png_structp png, png_infop info, PngState* s, std::vector<uint32_t>& px) {
  png_read_info(png, info);
  png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
  if (!PictureFits(w, h)) {
    PictureTooLarge(w, h, s->why, sizeof s->why);
    longjmp(png_jmpbuf(png), 1);
  }
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != size_t(w) * 4) png_error(png, "unexpected row layout");
  px.resize(size_t(w) * h);
  s->rows.resize(h);
  for (png_uint_32 y = 0; y < h; y++) s->rows[y] = reinterpret_cast<png_bytep>(&px[size_t(y) * w]);
  png_read_image(png, s->rows.data());
  png_read_end(png, nullptr);
}

std::string PngDecode(const uint8_t* data, size_t size, PicImage& img) {
  // The size the header states is checked before libpng reads on.
  uint64_t w, h;
  if (PngHeaderSize(data, size, w, h) && !PictureFits(w, h)) {
    char why[80];
    PictureTooLarge(w, h, why, sizeof why);
    return why;
  }
  std::unique_ptr<PngState> s(new PngState);
  s->data = data;
  s->size = size;
  PicImage out;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, s.get(), onError, onWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return "out of memory";
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return std::string(s->why);
  }
  png_set_read_fn(png, s.get(), readData);
  readAll(png, info, s.get(), out.px);
  out.w = int32_t(png_get_image_width(png, info));
  out.h = int32_t(png_get_image_height(png, info));
  png_destroy_read_struct(&png, &info, nullptr);
  img = std::move(out);
  return "";
}

// The palette of img when it has at most 256 colours (RGB), and each pixel's index.
static bool indexColours(const PicImage& img, std::vector<uint32_t>& palette,
                         std::vector<uint8_t>& index) {
  // Open addressing over 1,024 slots: at most 256 colours are ever stored.
  uint32_t key[1024];
  int16_t slot[1024];
  memset(slot, -1, sizeof slot);
  palette.clear();
  index.resize(img.px.size());
  uint32_t last = 0xFFFFFFFFu;
  uint8_t lastIndex = 0;
  for (size_t i = 0; i < img.px.size(); i++) {
    uint32_t c = img.px[i] & 0xFFFFFF;
    if (c != last) {
      uint32_t h = (c * 2654435761u) >> 22;
      while (slot[h] >= 0 && key[h] != c) h = (h + 1) & 1023;
      if (slot[h] < 0) {
        if (palette.size() == 256) return false;
        key[h] = c;
        slot[h] = int16_t(palette.size());
        palette.push_back(c);
      }
      last = c;
      lastIndex = uint8_t(slot[h]);
    }
    index[i] = lastIndex;
  }
  return true;
}

// Encodes the rows of s into s->encoded; "" or the reason.
static std::string encode(PngState* s) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, s, onError, onWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return "out of memory";
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return std::string("cannot encode PNG: ") + s->why;
  }
  png_set_write_fn(png, s, writeData, flushData);
  // Pictures of few colours, and the painted picture a recovery copy holds, are mostly
  // runs: run-length matching packs their rows smaller than the default search does, in
  // less than half the time.
  if (s->colours || s->alpha) png_set_compression_strategy(png, Z_RLE);
  png_set_IHDR(png, info, s->w, s->h, s->depth,
               s->colours ? PNG_COLOR_TYPE_PALETTE
               : s->alpha ? PNG_COLOR_TYPE_RGBA
                          : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (s->colours) png_set_PLTE(png, info, s->palette, s->colours);
  png_write_info(png, info);
  // The fourth byte of each RGB pixel is dropped as the rows are written.
  if (s->filler) png_set_filler(png, 0, PNG_FILLER_AFTER);
  png_write_image(png, s->rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return "";
}

// The rows of a w x h picture into s: indexed (index[i] into colours, at most 256,
// packed into as few bits as they need) when index is not null, else 8-bit RGB of the
// 4-byte pixels px, rows pitch bytes apart, which libpng reads in place.
static void rows(PngState* s, int32_t w, int32_t h, const uint8_t* index,
                 const std::vector<uint32_t>& colours, const uint8_t* px, size_t pitch) {
  int depth = 8;
  if (index)
    depth = colours.size() <= 2 ? 1 : colours.size() <= 4 ? 2 : colours.size() <= 16 ? 4 : 8;
  const size_t rowBytes = (size_t(w) * depth + 7) / 8;
  if (index) s->raster.assign(rowBytes * size_t(h), 0);
  s->rows.resize(size_t(h));
  for (int32_t y = 0; y < h; y++) {
    if (!index) {
      s->rows[y] = const_cast<png_bytep>(px + pitch * size_t(y));
      continue;
    }
    uint8_t* row = &s->raster[rowBytes * size_t(y)];
    s->rows[y] = row;
    const uint8_t* ix = index + size_t(y) * size_t(w);
    const int perByte = 8 / depth;
    for (int32_t x = 0; x < w; x++)
      row[x / perByte] |= uint8_t(ix[x] << (8 - depth * (x % perByte + 1)));
  }
  s->w = png_uint_32(w);
  s->h = png_uint_32(h);
  s->depth = depth;
  s->colours = index ? int(colours.size()) : 0;
  s->filler = !index;
  for (size_t i = 0; i < colours.size(); i++)
    s->palette[i] = {uint8_t(colours[i]), uint8_t(colours[i] >> 8), uint8_t(colours[i] >> 16)};
  s->encoded.reserve(size_t(w) * size_t(h) / 2 + 1024);
}

// Encodes the rows into out; "" or the reason.
static std::string encodeInto(PngState* s, std::vector<uint8_t>& out) {
  std::string why = encode(s);
  if (why.empty()) out = std::move(s->encoded);
  return why;
}

std::string PngRgb(const uint8_t* px, int32_t w, int32_t h, size_t pitch,
                   std::vector<uint8_t>& out) {
  std::unique_ptr<PngState> s(new PngState);
  rows(s.get(), w, h, nullptr, {}, px, pitch);
  return encodeInto(s.get(), out);
}

std::string PngRgba(const uint8_t* px, int32_t w, int32_t h, size_t pitch,
                    std::vector<uint8_t>& out) {
  std::unique_ptr<PngState> s(new PngState);
  rows(s.get(), w, h, nullptr, {}, px, pitch);
  s->filler = false;
  s->alpha = true;
  return encodeInto(s.get(), out);
}

std::string PngFile(const PicImage& img, std::vector<uint8_t>& out) {
  std::unique_ptr<PngState> s(new PngState);
  std::vector<uint32_t> palette;
  std::vector<uint8_t> index;
  const bool indexed = indexColours(img, palette, index);
  rows(s.get(), img.w, img.h, indexed ? index.data() : nullptr, palette,
       reinterpret_cast<const uint8_t*>(img.px.data()), size_t(img.w) * 4);
  return encodeInto(s.get(), out);
}

std::string PngIndexed(int32_t w, int32_t h, const uint8_t* values, const uint32_t colours[16],
                       std::vector<uint8_t>& out) {
  // The palette holds the colours of the values that occur, each once.
  const size_t n = size_t(w) * size_t(h);
  bool used[16] = {};
  for (size_t i = 0; i < n; i++) used[values[i] & 15] = true;
  std::vector<uint32_t> palette;
  uint8_t indexOf[16] = {};
  for (int v = 0; v < 16; v++) {
    if (!used[v]) continue;
    uint32_t c = colours[v] & 0xFFFFFF;
    size_t i = std::find(palette.begin(), palette.end(), c) - palette.begin();
    if (i == palette.size()) palette.push_back(c);
    indexOf[v] = uint8_t(i);
  }
  std::vector<uint8_t> index(n);
  for (size_t i = 0; i < n; i++) index[i] = indexOf[values[i] & 15];
  std::unique_ptr<PngState> s(new PngState);
  rows(s.get(), w, h, index.data(), palette, nullptr, 0);
  return encodeInto(s.get(), out);
}
