// The bit-plane reader over any bytes. The first byte is the plane count the caller
// passes (as a signed byte), the rest the file. Besides the sanitizers' checks, an
// accepted file must give an image of the size its layout says, and a one-plane
// picture must encode back to the very body it was read from.
#include <cstdlib>
#include <vector>

#include "picfiles/pic_core.h"

// Pure white, then colours that are all not white.
static const uint32_t pal[16] = {0x7FFFFFFF, 0x7F000000, 0x7F0000FF, 0x7F00FF00,
                                 0x7FFF0000, 0x7FFFFF00, 0x7F00FFFF, 0x7FFF00FF,
                                 0x7F9C9C9C, 0x7F4E4E4E, 0x7F7F7FFF, 0x7F7FFF7F,
                                 0x7FFF7F7F, 0x7FFFFF7F, 0x7F7FFFFF, 0x7FFF7FFF};

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  int32_t planes = int8_t(data[0]);
  const uint8_t* file = data + 1;
  size_t n = size - 1;

  PicLayout lay;
  bool known = PicDetect(file, n, planes, lay);
  PicImage img;
  bool ok = PicLoad(file, n, planes, pal, img);
  if (ok != known) abort();
  if (!ok) {
    if (img.w || img.h || !img.px.empty()) abort();
    return 0;
  }
  if (img.w != 8 * lay.lineBytes || img.h != lay.rows ||
      img.px.size() != size_t(img.w) * size_t(img.h))
    abort();
  if (planes == 0) return 0;

  std::vector<uint32_t> big;
  PicStretch(img, big);
  if (big.size() != size_t(PicW) * PicH) abort();
  if (planes == 1) {
    std::vector<uint8_t> rgba(big.size() * 4);
    for (size_t i = 0; i < big.size(); i++)
      for (int b = 0; b < 4; b++) rgba[4 * i + b] = uint8_t(big[i] >> 8 * b);
    std::vector<uint8_t> body(PicBodyBytes);
    DoodleBody(rgba.data(), body.data());
    for (size_t i = 0; i < PicBodyBytes; i++)
      if (body[i] != file[lay.offset + i]) abort();
  }
  return 0;
}
