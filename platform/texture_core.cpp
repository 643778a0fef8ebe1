#include "platform/texture_core.h"

#include <cstdio>

void InvertPixels(const uint32_t* src, int32_t w, int32_t h, void* dst, int32_t pitch) {
  for (int32_t y = 0; y < h; y++) {
    uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(dst) + int64_t(y) * pitch);
    const uint32_t* from = src + int64_t(y) * w;
    for (int32_t x = 0; x < w; x++) row[x] = ~from[x];
  }
}

void PictureTooLarge(uint64_t w, uint64_t h, char* out, size_t n) {
  snprintf(out, n, "too large: %llux%llu is more than 2^26 pixels", (unsigned long long)w,
           (unsigned long long)h);
}
