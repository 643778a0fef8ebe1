// Checks shared by the converter's fuzz targets: what an accepted picture must satisfy,
// and that a refused one leaves the picture alone.
#pragma once
#include <cstdlib>
#include <string>
#include <vector>

#include "picfiles/st_core.h"

// Pure white, then colours that are all not white, for pictures without palette.
static const uint32_t FuzzShown[16] = {0x7FFFFFFF, 0x7F000000, 0x7F0000FF, 0x7F00FF00,
                                       0x7FFF0000, 0x7FFFFF00, 0x7F00FFFF, 0x7FFF00FF,
                                       0x7F9C9C9C, 0x7F4E4E4E, 0x7F7F7FFF, 0x7F7FFF7F,
                                       0x7FFF7F7F, 0x7FFFFF7F, 0x7F7FFFFF, 0x7FFF7FFF};

// Decodes data as kind under ext and checks the result: values of the right count and
// range, colours and the paint program's view of the right sizes, and a screen that
// DEGAS can hold written and read back unchanged.
inline void FuzzDecode(const uint8_t* data, size_t size, StKind kind, const std::string& ext) {
  StPicture pic;
  pic.w = -1;
  std::string why = StDecode(data, size, kind, ext, pic);
  if (!why.empty()) {
    if (pic.w != -1 || !pic.values.empty()) abort();
    return;
  }
  if (pic.w <= 0 || pic.h <= 0 || pic.planes < 1 || pic.planes > 4 ||
      pic.values.size() != size_t(pic.w) * size_t(pic.h))
    abort();
  for (uint8_t v : pic.values)
    if (v >> pic.planes) abort();
  PicImage img, shown;
  StColours(pic, FuzzShown, img);
  if (img.w != pic.w || img.h != pic.h || img.px.size() != pic.values.size()) abort();
  StShown(pic, FuzzShown, shown);
  if (shown.px.size() != size_t(shown.w) * size_t(shown.h)) abort();
  if (StKeeps(pic, pic.planes)) {
    std::vector<uint8_t> file;
    StDegasFile(pic, PicDegasBytes, file);
    StPicture back;
    if (!StDecode(file.data(), file.size(), StKind::Degas, "PI1", back).empty() ||
        back.values != pic.values || back.palette != pic.palette)
      abort();
  }
}
