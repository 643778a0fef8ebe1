#include "picfiles/files_core.h"

#include <cstring>

#include "picfiles/pic_core.h"
#include "picfiles/png_core.h"

static const char* const atariNames[] = {"PC1", "PC2", "PC3", "NEO", "SPU", "SPC"};

static bool anyCase(const char* ext, const char* lower, const char* upper) {
  return strcmp(ext, lower) == 0 || strcmp(ext, upper) == 0;
}

PicKind PicKindOf(const char* path) {
  const char* dot = strrchr(path, '.');
  if (!dot) return {PicKind::PIC_UNKNOWN, 0};
  const char* ext = dot + 1;
  if (anyCase(ext, "bmp", "BMP")) return {PicKind::PIC_BMP, 0};
  if (anyCase(ext, "png", "PNG")) return {PicKind::PIC_PNG, 0};
  const PicName* name = PicNameOf(ext);
  if (name && name->paint) return {PicKind::PIC_PLANES, name->planes};
  for (const char* a : atariNames)
    if (strcmp(ext, a) == 0) return {PicKind::PIC_ATARI, 0};
  return {PicKind::PIC_UNKNOWN, 0};
}

bool PicSavesPng(const char* path) { return PicKindOf(path).how == PicKind::PIC_PNG; }

bool PngHeaderSize(const uint8_t* head, size_t n, uint64_t& w, uint64_t& h) {
  if (n < PngHeadBytes || memcmp(head, PngSignature, 8) != 0 || memcmp(head + 12, "IHDR", 4) != 0)
    return false;
  w = h = 0;
  for (int i = 0; i < 4; i++) {
    w = w << 8 | head[16 + i];
    h = h << 8 | head[20 + i];
  }
  return true;
}
