// The converter's decoder of compressed DEGAS Elite pictures (PC1, PC2, PC3) over any bytes, with
// the checks of st_check.h.
#include "tests/fuzz/st_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzDecode(data, size, StKind::DegasPacked, "PC1");
  return 0;
}
