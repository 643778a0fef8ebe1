// The load command's choice of reader by name, the stretch of BMP rows over the
// picture, and the room a BMP needs.
#include <gtest/gtest.h>

#include <vector>

#include "picfiles/files_core.h"

TEST(FileKind, TheTextAfterTheLastDotOfTheWholePath) {
  struct {
    const char* path;
    PicKind::How how;
    int32_t planes;
  } rows[] = {
      {"x.PIC", PicKind::PIC_PLANES, 1},
      {"x.PI1", PicKind::PIC_PLANES, 4},
      {"x.PI2", PicKind::PIC_PLANES, 2},
      {"/a/b/x.PI3", PicKind::PIC_PLANES, 1},
      {"x.GBF", PicKind::PIC_PLANES, 0},
      {"x.bmp", PicKind::PIC_BMP, 0},
      {"x.BMP", PicKind::PIC_BMP, 0},
      {"x.Pi1", PicKind::PIC_UNKNOWN, 0},
      {"x.gbf", PicKind::PIC_UNKNOWN, 0},
      {"x.Bmp", PicKind::PIC_UNKNOWN, 0},
      {"x.PI1.txt", PicKind::PIC_UNKNOWN, 0},
      {"x.tar.BMP", PicKind::PIC_BMP, 0},
      {"pics.old/readme", PicKind::PIC_UNKNOWN, 0},
      {"/tmp/pics.BMP/readme", PicKind::PIC_UNKNOWN, 0},
      {"readme", PicKind::PIC_UNKNOWN, 0},
      {"x.", PicKind::PIC_UNKNOWN, 0},
      {".PIC", PicKind::PIC_PLANES, 1},
      {"x.PIC ", PicKind::PIC_UNKNOWN, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.path);
    PicKind k = PicKindOf(r.path);
    EXPECT_EQ(k.how, r.how);
    if (r.how == PicKind::PIC_PLANES) {
      EXPECT_EQ(k.planes, r.planes);
    }
  }
}

// Pixel (x, y) of a w x h test image: its coordinates packed, so every source pixel
// is told apart.
static uint32_t at(int x, int y) { return uint32_t(y) << 16 | uint32_t(x); }

TEST(FileKind, RowsStretchOverThePicture) {
  struct {
    const char* name;
    int w, h, pitch;
    // Source pixel of picture pixels (0, 0), (639, 399) and (321, 201), worked by hand.
    int cx[3], cy[3];
  } rows[] = {
      {"320x200 doubled", 320, 200, 320, {0, 319, 160}, {0, 199, 100}},
      {"1024x768 shrunk, rows padded", 1024, 768, 1030, {0, 1022, 513}, {0, 766, 385}},
      {"one pixel", 1, 1, 1, {0, 0, 0}, {0, 0, 0}},
      {"a tall strip", 3, 1000, 4, {0, 2, 1}, {0, 997, 502}},
  };
  const int px[3] = {0, 639, 321}, py[3] = {0, 399, 201};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    std::vector<uint32_t> src(size_t(r.pitch) * r.h, 0xDEADBEEF);
    for (int y = 0; y < r.h; y++)
      for (int x = 0; x < r.w; x++) src[size_t(y) * r.pitch + x] = at(x, y);
    std::vector<uint32_t> out(640 * 400);
    PicStretchRows(src.data(), r.w, r.h, size_t(r.pitch), out.data());
    for (int i = 0; i < 3; i++) EXPECT_EQ(out[py[i] * 640 + px[i]], at(r.cx[i], r.cy[i])) << i;
    for (uint32_t p : out) ASSERT_NE(p, 0xDEADBEEF) << "a padding pixel was taken";
  }
}

TEST(FileKind, RoomForABmp) {
  // 24-bit rows of a 640x400 picture take 1,920 bytes; 32-bit ones 2,560, plus headers.
  EXPECT_GE(BmpRoom(640, 400), 54u + 1920u * 400u);
  EXPECT_GE(BmpRoom(640, 400), 14u + 124u + 2560u * 400u);
  EXPECT_GE(BmpRoom(37, 5), 14u + 124u + 12u + 148u * 5u);
  EXPECT_GE(BmpRoom(1, 1), 14u + 124u + 256u * 4u + 4u);
  EXPECT_EQ(BmpRoom(-1, 5), 0u);
}
