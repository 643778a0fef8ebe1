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
