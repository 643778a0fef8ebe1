// The browser version reads and writes no PNG: the loads and saves that would give
// the reason in their alerts.
#include "picfiles/png_core.h"

static const char noPng[] = "PNG needs the desktop version";

std::string PngDecode(const uint8_t*, size_t, PicImage&) { return noPng; }
std::string PngRgb(const uint8_t*, int32_t, int32_t, size_t, std::vector<uint8_t>&) {
  return noPng;
}
std::string PngRgba(const uint8_t*, int32_t, int32_t, size_t, std::vector<uint8_t>&) {
  return noPng;
}
