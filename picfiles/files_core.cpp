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

size_t BmpRoom(int32_t w, int32_t h) {
  // File header, the largest info header (124 bytes) with its masks, a full palette.
  const uint64_t headers = 14 + 124 + 16 + 256 * 4;
  if (w < 0 || h < 0) return 0;
  uint64_t row = (uint64_t(w) * 4 + 3) / 4 * 4;
  uint64_t all = headers + row * uint64_t(h);  // below 2^63: no overflow
  return all > SIZE_MAX / 2 ? 0 : size_t(all);
}
