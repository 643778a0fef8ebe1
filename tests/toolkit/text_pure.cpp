#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/toolkit_core.h"

TEST(FontLetters, AreTheEighteenPairsInCellOrder) {
  const unsigned char pairs[18][2] = {{0xC4, 0x84}, {0xC4, 0x86}, {0xC4, 0x98}, {0xC5, 0x81},
                                      {0xC5, 0x83}, {0xC3, 0x93}, {0xC5, 0x9A}, {0xC5, 0xB9},
                                      {0xC4, 0x85}, {0xC4, 0x87}, {0xC4, 0x99}, {0xC5, 0x82},
                                      {0xC5, 0x84}, {0xC3, 0xB3}, {0xC5, 0x9B}, {0xC5, 0xBA},
                                      {0xC5, 0xBB}, {0xC5, 0xBC}};
  ASSERT_EQ(sizeof FontLetters, 37u);
  for (int i = 0; i < 18; i++) {
    SCOPED_TRACE(i);
    EXPECT_EQ((unsigned char)FontLetters[2 * i], pairs[i][0]);
    EXPECT_EQ((unsigned char)FontLetters[2 * i + 1], pairs[i][1]);
  }
}

struct LenCase {
  const char* name;
  const char* text;
  int32_t from, arg, want;
};

TEST(LenUTF, CountsCharactersBetweenOffsets) {
  // clang-format off
  const LenCase cases[] = {
      {"Ładuj", "Ładuj", 0, 255, 5},
      {"one letter at 0..0", "Łx", 0, 0, 1},
      {"whole Łx", "Łx", 0, 255, 2},
      {"from the middle", "abcdef", 2, 3, 2},
      {"empty", "", 0, 255, 0},
      {"to before from", "abc", 2, 1, 0},
      {"stops at zero", "ab\0cd", 0, 255, 2},
      {"letter starting at to counts", "aŁ", 0, 1, 2},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LenUTF(c.text, c.from, c.arg), c.want);
  }
}

TEST(LenChr, StepsOverCharacters) {
  // clang-format off
  const LenCase cases[] = {
      {"forward over a two-byte letter", "aŁb", 0, 2, 3},
      {"backward from the second byte of Ł", "aŁb", 2, -1, -2},
      {"n = 0", "aŁb", 1, 0, 0},
      {"from -1", "aŁb", -1, 3, 0},
      {"backward past the start stops at -1", "ab", 1, -5, -2},
      {"forward stops at the zero byte", "ab", 0, 10, 2},
      {"forward over plain bytes", "abcdef", 1, 3, 3},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LenChr(c.text, c.from, c.arg), c.want);
  }
}

// A print laid out with the standard 16x16 glyphs.
struct Layout {
  std::vector<GlyphDraw> glyphs;
  int32_t penX, penY;
};
static Layout lay(const char* text, int32_t x, int32_t y, uint32_t count = 0xFFFFFFFF,
                  int32_t rows = 1, int32_t right = 640, int32_t bottom = 400, uint8_t clip = 0) {
  Layout l{{}, x, y};
  GPrintLayout(text, count, rows, right, bottom, clip, l.penX, l.penY, 16, 16, l.glyphs);
  return l;
}
static std::vector<int> cells(const Layout& l) {
  std::vector<int> c;
  for (const auto& g : l.glyphs) c.push_back(g.cell);
  return c;
}

TEST(GPrintLayout, ChoosesCells) {
  struct {
    const char* name;
    const char* text;
    uint32_t count;
    std::vector<int> want;
    // clang-format off
  } cases[] = {
      {"Ładuj", "Ładuj", 0xFFFFFFFF, {99, 65, 68, 85, 74}},
      {"every Polish letter", "ĄĆĘŁŃÓŚŹąćęłńóśźŻż", 0xFFFFFFFF,
       {96, 97, 98, 99, 100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, 113}},
      {"count 3 of abcdef", "abcdef", 3, {65, 66, 67}},
      {"count 3 counts ą once", "ąbcd", 3, {104, 66, 67}},
      {"unknown letter at the start is blank twice", "\xC3\xA9x", 0xFFFFFFFF, {0, 0, 88}},
      {"unknown letter repeats the last glyph", "x\xC3\xA9", 0xFFFFFFFF, {88, 88, 88}},
      {"tab repeats the last glyph", "a\tb", 0xFFFFFFFF, {65, 65, 66}},
      {"tab at the start is blank", "\t", 0xFFFFFFFF, {0}},
      {"space and DEL", " \x7F", 0xFFFFFFFF, {0, 95}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(cells(lay(c.text, 0, 0, c.count)), c.want);
  }
}

TEST(GPrintLayout, AdvancesThePen) {
  Layout l = lay("abc", 100, 50);
  EXPECT_EQ(l.penX, 148);
  EXPECT_EQ(l.penY, 50);
  ASSERT_EQ(l.glyphs.size(), 3u);
  EXPECT_EQ(l.glyphs[2].x, 132);
}

TEST(GPrintLayout, LineFeedReturnsToTheLineStartWhateverClipSays) {
  for (uint8_t clip : {0, 1}) {
    SCOPED_TRACE(int(clip));
    Layout l = lay("ab\ncd", 20, 10, 0xFFFFFFFF, 1, 640, 400, clip);
    ASSERT_EQ(l.glyphs.size(), 4u);
    EXPECT_EQ(l.glyphs[2].x, 20);
    EXPECT_EQ(l.glyphs[2].y, 26);
  }
}

TEST(GPrintLayout, WrapsOrClipsPastTheRightLimit) {
  // right = 32: glyphs may start at 0, 16 and 32; the fourth wraps or is dropped.
  Layout wrap = lay("abcde", 0, 0, 0xFFFFFFFF, 1, 32, 400, 0);
  ASSERT_EQ(wrap.glyphs.size(), 5u);
  EXPECT_EQ(wrap.glyphs[2].x, 32);
  EXPECT_EQ(wrap.glyphs[3].x, 0);
  EXPECT_EQ(wrap.glyphs[3].y, 16);

  Layout clip = lay("abcde", 0, 0, 0xFFFFFFFF, 1, 32, 400, 1);
  EXPECT_EQ(cells(clip), (std::vector<int>{65, 66, 67}));
}

TEST(GPrintLayout, ClippedRowDoesNotStopLaterRows) {
  char rows[2][256] = {"abcdef", "xy"};
  Layout l = lay(rows[0], 0, 0, 0xFFFFFFFF, 2, 16, 400, 1);
  EXPECT_EQ(cells(l), (std::vector<int>{65, 66, 88, 89}));
  EXPECT_EQ(l.glyphs[2].y, 16);
  EXPECT_EQ(l.penY, 32);
  EXPECT_EQ(l.penX, 0);
}

TEST(GPrintLayout, BottomLimitStopsFurtherRows) {
  char rows[3][256] = {"a", "b", "c"};
  Layout l = lay(rows[0], 0, 100, 0xFFFFFFFF, 3, 640, 116);
  ASSERT_EQ(l.glyphs.size(), 2u);
  EXPECT_EQ(l.glyphs[0].y, 100);
  EXPECT_EQ(l.glyphs[1].y, 116);
}

TEST(GPrintLayout, FirstRowAlwaysPrints) {
  Layout l = lay("a", 0, 500, 0xFFFFFFFF, 1, 640, 400);
  EXPECT_EQ(l.glyphs.size(), 1u);
}
