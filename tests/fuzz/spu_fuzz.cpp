// The converter's decoder of uncompressed Spectrum 512 pictures over any bytes, with the checks of
// st_check.h.
#include "tests/fuzz/st_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzDecode(data, size, StKind::Spu, "SPU");
  return 0;
}
