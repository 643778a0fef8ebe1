#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "toolkit/toolkit_core.h"

// A field over its own 256-byte buffer.
struct Field {
  char buf[256];
  GEMBox box;
  EditState e;
  Field(const std::string& text, uint8_t type = 11, int32_t w = 200, int32_t h = 24,
        int32_t atEnd = 0) {
    memset(buf, 0, sizeof buf);
    memcpy(buf, text.data(), text.size());
    box = {buf, 0x03, type, 8, 8, w, h, 0, atEnd, nullptr};
    EditStart(e, box, 16, 16);
  }
  std::string text() const { return buf; }
  // The cursor rectangle after scrolling, as the editor draws it.
  std::vector<int32_t> cursor() {
    EditScroll(e);
    int32_t r[4];
    EditCursorRect(e, box, 16, 16, r);
    return {r[0], r[1], r[2], r[3]};
  }
};

static const std::string twenty = "abcdefghijklmnopqrst";

TEST(EditScroll, KeepsTheCursorInTheTwelveColumnField) {
  struct {
    int32_t cursorIndex, first;
    int32_t cursorX;  // left edge: after the glyph before it
    // clang-format off
  } cases[] = {
      {10, 4, 12 + 16 * 6 - 1},  // centred: characters 4..15 shown, after the sixth glyph
      {16, 8, 12 + 16 * 8 - 1},  // near the end: 8..19, the end at the right edge
      {3, 0, 12 + 16 * 3 - 1},   // near the start: from character 0
      {0, 0, 12 - 1},           {20, 8, 12 + 16 * 12 - 1},
      {6, 0, 12 + 16 * 6 - 1},   // the first index at which it would centre: half is 6
      {14, 8, 12 + 16 * 6 - 1},  // 20 - 14 = 6 is not more than half: end at the edge
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cursorIndex);
    Field f(twenty);
    EXPECT_EQ(f.e.columns, 12);
    EXPECT_EQ(f.e.mx, 4);
    EXPECT_EQ(f.e.my, 4);
    for (int i = 0; i < c.cursorIndex; i++) EditRight(f.e);
    EXPECT_EQ(f.cursor(), (std::vector<int32_t>{c.cursorX, 12, 2, 16}));
    EXPECT_EQ(f.e.first, c.first);
    EXPECT_EQ(f.e.firstIndex, c.first);
  }
}

TEST(EditKeys, StepOverTwoByteLetters) {
  Field f("aąb");  // 61 C4 85 62
  EXPECT_EQ(f.e.length, 4);
  EXPECT_EQ(f.e.chars, 3);
  EditEnd(f.e);
  EditLeft(f.e);  // before b
  EXPECT_EQ(f.e.cursor, 3);
  EditLeft(f.e);  // over ą: two bytes, one character
  EXPECT_EQ(f.e.cursor, 1);
  EXPECT_EQ(f.e.cursorIndex, 1);
  EditRight(f.e);
  EXPECT_EQ(f.e.cursor, 3);
  EXPECT_EQ(f.e.cursorIndex, 2);
  EditBackspace(f.e);  // removes both bytes of ą
  EXPECT_EQ(f.text(), "ab");
  EXPECT_EQ(f.e.cursor, 1);
  EXPECT_EQ(f.e.cursorIndex, 1);
  EXPECT_EQ(f.e.chars, 2);
  EditHome(f.e);
  EditBackspace(f.e);  // at the start: nothing
  EXPECT_EQ(f.text(), "ab");
  EditDelete(f.e);
  EXPECT_EQ(f.text(), "b");
  EditEnd(f.e);
  EditDelete(f.e);  // at the end: nothing
  EXPECT_EQ(f.text(), "b");

  Field g("ńx");
  EditDelete(g.e);
  EXPECT_EQ(g.text(), "x");
  EXPECT_EQ(g.e.chars, 1);
}

TEST(EditKeys, StartAtTheEndWithParam2) {
  Field f("abc", 11, 200, 24, 1);
  EXPECT_EQ(f.e.cursor, 3);
  EXPECT_EQ(f.e.cursorIndex, 3);
}

TEST(EditInsert, KeepsTheTextWithin255Bytes) {
  struct {
    const char* name;
    size_t before;
    const char* typed;
    bool taken;
    // clang-format off
  } cases[] = {
      {"one byte at 254", 254, "x", true},
      {"two-byte letter at 254", 254, "ą", false},
      {"two-byte letter at 253", 253, "ą", true},
      {"nothing past 255", 255, "x", false},
      {"three-byte character", 0, "€", false},
      {"four-byte character", 0, "\xF0\x9F\x98\x80", false},
      {"a three-byte one among others refuses all", 0, "ab€c", false},
      {"stray continuation byte", 0, "\x85", false},
      {"Polish letters", 0, "żółw", true},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Field f(std::string(c.before, 'a'));
    EditEnd(f.e);
    EXPECT_EQ(EditInsert(f.e, c.typed), c.taken);
    std::string want = std::string(c.before, 'a') + (c.taken ? c.typed : "");
    EXPECT_EQ(f.text(), want);
    EXPECT_EQ(f.e.length, (int32_t)want.size());
    EXPECT_EQ(f.e.cursor, (int32_t)want.size());
  }
  Field f("ac");
  EditRight(f.e);
  EXPECT_TRUE(EditInsert(f.e, "ł"));
  EXPECT_EQ(f.text(), "ałc");
  EXPECT_EQ(f.e.cursorIndex, 2);
  EXPECT_EQ(f.e.chars, 3);
}

TEST(EditReplace, CutsAPasteAtACharacterBoundary) {
  struct {
    const char* name;
    std::string pasted, want;
    bool taken;
    // clang-format off
  } cases[] = {
      {"fits", "Zażółć", "Zażółć", true},
      {"cut inside a two-byte letter", std::string(254, 'a') + "ąb", std::string(254, 'a'), true},
      {"cut after a two-byte letter", std::string(253, 'a') + "ąb", std::string(253, 'a') + "ą",
       true},
      {"cut between one-byte characters", std::string(300, 'p'), std::string(255, 'p'), true},
      {"holding a three-byte character", "ab€", "old", false},
      {"empty clipboard", "", "old", false},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Field f("old");
    EXPECT_EQ(EditReplace(f.e, c.pasted.c_str()), c.taken);
    EXPECT_EQ(f.text(), c.want);
    EXPECT_EQ(f.e.cursor, c.taken ? (int32_t)c.want.size() : 0);
  }
  Field f("abc");
  EditRight(f.e);
  EditClear(f.e);
  EXPECT_EQ(f.text(), "");
  EXPECT_EQ(f.e.cursor, 0);
  EXPECT_EQ(f.e.chars, 0);
}

TEST(EditPlace, PutsTheCursorUnderThePress) {
  struct {
    const char* name;
    std::string text;
    uint8_t type;
    int32_t w, h, px, py, cursor;
    // clang-format off
  } cases[] = {
      {"third column", "abcdef", 11, 200, 24, 8 + 2 * 16 + 5, 10, 2},
      {"right of a short text: its end", "ab", 11, 200, 24, 180, 10, 2},
      {"margin not subtracted", "abcdef", 11, 200, 24, 8 + 15, 10, 0},
      {"over a two-byte letter", "łłł", 11, 200, 24, 8 + 2 * 16, 10, 4},
      {"second line of a wrapped field", twenty, 12, 100, 40, 8 + 16, 8 + 16, 7},
      {"a lone last byte ends it", "ab\xC5", 11, 200, 24, 190, 10, 3},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Field f(c.text, c.type, c.w, c.h);
    EditPlace(f.e, f.box, c.px, c.py, 16, 16);
    EXPECT_EQ(f.e.cursor, c.cursor);
  }
}

TEST(EditCursorRect, AfterAFullLineOfAWrappedField) {
  Field f(twenty, 12, 200, 40);  // 12 columns, 2 rows
  for (int i = 0; i < 12; i++) EditRight(f.e);
  // At the right end of the first line, not the start of the second.
  EXPECT_EQ(f.cursor(), (std::vector<int32_t>{12 + 16 * 11 + 15, 12, 2, 16}));
  EditRight(f.e);
  EXPECT_EQ(f.cursor(), (std::vector<int32_t>{12 + 15, 12 + 16, 2, 16}));
  EditHome(f.e);
  EXPECT_EQ(f.cursor(), (std::vector<int32_t>{12 - 1, 12, 2, 16}));
}

TEST(EditKeys, StrayBytesNeverLeadPastTheText) {
  // A name that is not UTF-8, as a directory may hold: the editor stays inside it.
  std::string text = std::string(254, 'a') + "\xFF";
  Field f(text);
  EXPECT_EQ(f.e.length, 255);
  for (int i = 0; i < 300; i++) EditRight(f.e);
  EXPECT_EQ(f.e.cursor, 255);
  EXPECT_EQ(f.e.cursorIndex, f.e.chars);
  EditLeft(f.e);
  EXPECT_EQ(f.e.cursor, 253);  // the model takes 'a' 0xFF for one letter
  EditDelete(f.e);
  EXPECT_EQ(f.text(), std::string(253, 'a') + "\xFF");
  Field g("\xC5");
  EditDelete(g.e);
  EXPECT_EQ(g.text(), "");
  Field h("\xC5");
  EditEnd(h.e);
  EditBackspace(h.e);
  EXPECT_EQ(h.text(), "");
}
