// The converter's reading of any file: the first byte picks the name's extension, the
// rest is the file; detection, then the decoder it chooses, with the checks of
// st_check.h, and a picture of the right size written back through its colours.
#include "tests/fuzz/st_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const char* const exts[] = {"",    "PI1", "PI2", "PI3", "PIC", "DOO", "PC1", "PC2",
                                     "PC3", "NEO", "SPU", "SPC", "GBF", "PNG", "BMP", "TXT"};
  if (size < 1) return 0;
  const std::string ext = exts[data[0] % 16];
  StKind kind = StDetect(data + 1, size - 1, ext);
  if (kind == StKind::Png || kind == StKind::Bmp) return 0;
  FuzzDecode(data + 1, size - 1, kind, ext);

  StPicture pic;
  if (!StDecode(data + 1, size - 1, kind, ext, pic).empty() || kind == StKind::Gbf) return 0;
  PicImage img;
  StShown(pic, FuzzShown, img);
  StPicture out;
  // The paint program's view of a screen holds its values again, at any plane count.
  if (!StFromColours(img, "X", pic.planes, nullptr, FuzzShown, out).empty() ||
      out.values != pic.values)
    abort();
  return 0;
}
