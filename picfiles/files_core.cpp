#include "picfiles/files_core.h"

#include <cstring>

#include "picfiles/pic_core.h"

PicKind PicKindOf(const char* path) {
  const char* dot = strrchr(path, '.');
  if (!dot) return {PicKind::PIC_UNKNOWN, 0};
  const char* ext = dot + 1;
  if (strcmp(ext, "bmp") == 0 || strcmp(ext, "BMP") == 0) return {PicKind::PIC_BMP, 0};
  const PicName* name = PicNameOf(ext);
  if (name && name->paint) return {PicKind::PIC_PLANES, name->planes};
  return {PicKind::PIC_UNKNOWN, 0};
}

void PicStretchBgr(const uint8_t* px, int32_t w, int32_t h, size_t pitch, int bytes, bool opaque,
                   uint32_t* out) {
  // Where each column of the picture is read from, worked once for all rows.
  size_t from[PicW];
  for (int32_t x = 0; x < PicW; x++) from[x] = size_t(int64_t(x) * w / PicW) * size_t(bytes);
  const uint32_t alpha = bytes == 4 && !opaque ? 0 : 0xFF000000u;
  const int a = bytes == 4 ? 3 : 0;  // the alpha byte; with none, read blue again and drop it
  for (int32_t y = 0; y < PicH; y++) {
    const uint8_t* row = px + size_t(int64_t(y) * h / PicH) * pitch;
    for (int32_t x = 0; x < PicW; x++) {
      const uint8_t* p = row + from[x];
      uint32_t aa = alpha ? alpha : uint32_t(p[a]) << 24;
      *out++ = uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16 | aa;
    }
  }
}

size_t BmpRoom(int32_t w, int32_t h) {
  // File header, the largest info header (124 bytes) with its masks, a full palette.
  const uint64_t headers = 14 + 124 + 16 + 256 * 4;
  if (w < 0 || h < 0) return 0;
  uint64_t row = (uint64_t(w) * 4 + 3) / 4 * 4;
  uint64_t all = headers + row * uint64_t(h);  // below 2^63: no overflow
  return all > SIZE_MAX / 2 ? 0 : size_t(all);
}
