#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/window_core.h"

TEST(WindowTitle, TheFilesNameAndTheMark) {
  struct {
    const char* path;
    bool changed;
    size_t n;
    const char* title;
    // clang-format off
  } cases[] = {
      {nullptr, false, 320, "TARKSEN 2"},
      {"", true, 320, "*TARKSEN 2"},
      {"/home/ola/Obrazy/kot.PI1", false, 320, "kot.PI1 \xE2\x80\x94 TARKSEN 2"},
      {"/home/ola/Obrazy/kot.PI1", true, 320, "*kot.PI1 \xE2\x80\x94 TARKSEN 2"},
      {"kot.PI1", false, 320, "kot.PI1 \xE2\x80\x94 TARKSEN 2"},
      {"/home/ola/zażółć.BMP", true, 320, "*zażółć.BMP \xE2\x80\x94 TARKSEN 2"},
      // Room for three bytes of the name: "ż" whole, never half of "ó".
      {"/x/żółw.PI1", false, 3 + 5 + 9 + 1, "ż \xE2\x80\x94 TARKSEN 2"},
      {"/x/żółw.PI1", true, 1 + 4 + 5 + 9 + 1, "*żó \xE2\x80\x94 TARKSEN 2"},
      {"kot.PI1", false, 9, ""},  // no room for the program's name
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path ? c.path : "(none)");
    char out[320];
    memset(out, 'x', sizeof out);
    WindowTitle(out, c.n, c.path, c.changed);
    EXPECT_STREQ(out, c.title);
  }
}

TEST(IconDesign, FrameBandPictureDiscFrameAndTheLetters) {
  // A font strip of 64 cells whose every cell is full of ink, and one too short for "T".
  const int w = 64 * 8, pitch = w * 4;
  std::vector<uint8_t> inked(size_t(pitch) * 8, 0xFF), shortStrip(size_t(40 * 8 * 4) * 8, 0xFF);
  struct {
    const char* name;
    const uint8_t* font;
    int w;
    bool letters;
  } fonts[] = {{"with the font", inked.data(), w, true},
               {"with no font", nullptr, 0, false},
               {"with a short strip", shortStrip.data(), 40 * 8, false}};
  struct {
    int x, y;
    uint8_t withLetters, without;
    // clang-format off
  } px[] = {
      {0, 0, 1, 1},     {31, 31, 1, 1},  // the black frame
      {1, 1, 11, 11},   {30, 10, 11, 11},  // the title band
      {8, 2, 1, 11},    {15, 9, 1, 11},    // 'T', a full cell here
      {16, 2, 1, 11},   {23, 9, 1, 11},    // '2'
      {24, 2, 11, 11},  {0, 11, 1, 1},     // beside the letters; the frame between band and picture
      {13, 23, 2, 2},   {7, 23, 2, 2},     // the red disc: centre, left edge
      {6, 23, 0, 0},    {30, 30, 0, 0},    // white picture
      {16, 14, 4, 4},   {28, 26, 4, 4},    // the blue frame's corners
      {22, 20, 0, 0},                      // inside it
  };
  // clang-format on
  for (const auto& f : fonts) {
    SCOPED_TRACE(f.name);
    uint8_t p[IconSide * IconSide];
    memset(p, 0xEE, sizeof p);
    EXPECT_EQ(IconDesign(p, f.font, f.w, 8, f.font == inked.data() ? pitch : 40 * 8 * 4),
              f.letters);
    for (const auto& c : px) {
      SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ")");
      EXPECT_EQ(p[c.y * IconSide + c.x], f.letters ? c.withLetters : c.without);
    }
    EXPECT_EQ(std::count(p, p + sizeof p, 0xEE), 0) << "every pixel drawn";
  }
}
