#include <gtest/gtest.h>

#include <vector>

#include "toolkit/toolkit_core.h"

static GEMBox box(uint8_t type, uint8_t flags, int32_t x, int32_t y, int32_t w, int32_t h,
                  const char* text = "", uint32_t param1 = 0, int32_t param2 = 0) {
  return GEMBox{text, flags, type, x, y, w, h, param1, param2, nullptr};
}

TEST(BoxColorsOf, FollowLookSelectionAndOwnColours) {
  const uint32_t palRed = 0x7F0000FF, blue = 0xFF0000;
  struct Case {
    const char* name;
    GEMBox b;
    BoxColors want;
    // clang-format off
  } cases[] = {
      {"raised 0x13", box(1, 0x13, 8, 8, 200, 24), {BoxMiddle, BoxLight, BoxDark, 0}},
      {"pressed 0x17", box(1, 0x17, 8, 8, 200, 24), {BoxDark, BoxMiddle, BoxLight, 0}},
      {"heading 0x02 dimmed", box(1, 0x02, 8, 8, 200, 24),
       {BoxMiddle, BoxLight, BoxDark, BoxDimmed}},
      {"own fill and text", box(0, 0x02, 0, 0, 9, 9, "", palRed, 1),
       {palRed, BoxLight, BoxDark, 1}},
      {"own text on a pressed box", box(9, 0x07, 0, 0, 9, 9, "", 0, (int32_t)blue),
       {BoxDark, BoxMiddle, BoxLight, blue}},
      {"sunken even when selected", box(11, 0x07, 0, 0, 9, 9), {BoxPale, BoxDark, BoxLight, 0}},
      {"sunken text black without ENABLED", box(19, 0x00, 0, 0, 9, 9),
       {BoxPale, BoxDark, BoxLight, 0}},
      {"sunken ignores own colours", box(10, 0x02, 0, 0, 9, 9, "", palRed, 1),
       {BoxPale, BoxDark, BoxLight, 0}},
      {"type 20 pressed when selected", box(20, 0x04, 0, 0, 9, 9),
       {BoxDark, BoxMiddle, BoxLight, 0}},
      {"type 30 ignores own colours", box(30, 0x02, 0, 0, 9, 9, "", palRed, 1),
       {BoxMiddle, BoxLight, BoxDark, 0}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BoxColors got = BoxColorsOf(c.b);
    EXPECT_EQ(got.fill, c.want.fill);
    EXPECT_EQ(got.topLeft, c.want.topLeft);
    EXPECT_EQ(got.bottomRight, c.want.bottomRight);
    EXPECT_EQ(got.text, c.want.text);
  }
}

TEST(BoxTextPrint, PlacesLabelsFieldsAndLists) {
  struct Case {
    const char* name;
    GEMBox b;
    bool prints;
    BoxPrint want;
    // clang-format off
  } cases[] = {
      {"label Punkt", box(1, 0x13, 8, 8, 200, 24, "Punkt"), true, {68, 12, 255, 1, 640, 400, 0}},
      {"label centred by characters", box(1, 0x13, 8, 8, 200, 24, "Łamana"), true,
       {60, 12, 255, 1, 640, 400, 0}},
      {"odd width and height halve down", box(0, 0x03, 0, 0, 35, 17, "abc"), true,
       {-7, 0, 255, 1, 640, 400, 0}},
      {"label wider than the box", box(0, 0x03, 100, 0, 20, 16, "abcd"), true,
       {78, 0, 255, 1, 640, 400, 0}},
      {"one line: 12 glyphs from x+4, y+4", box(11, 0x03, 8, 8, 200, 24, "x"), true,
       {12, 12, 12, 1, 192, 400, 1}},
      {"wrapped: columns x rows characters", box(12, 0x03, 0, 0, 100, 50, "x"), true,
       {2, 1, 18, 1, 84, 400, 0}},
      {"list: param1 rows, bottom limit y+h-16", box(13, 0x03, 10, 20, 200, 100, "x", 5, -1), true,
       {14, 22, 12, 5, 194, 104, 1}},
      {"field narrower than a glyph", box(11, 0x03, 0, 0, 10, 16, "x"), true,
       {5, 0, 0, 1, -6, 400, 1}},
      {"no label", box(1, 0x13, 8, 8, 200, 24, nullptr), false, {}},
      {"type 10", box(10, 0x03, 8, 8, 200, 24, "x"), false, {}},
      {"type 14", box(14, 0x03, 8, 8, 200, 24, "x"), false, {}},
      {"type 30", box(30, 0x03, 8, 8, 200, 24, "x"), false, {}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BoxPrint p{};
    ASSERT_EQ(BoxTextPrint(c.b, 16, 16, p), c.prints);
    if (!c.prints) continue;
    EXPECT_EQ(p.x, c.want.x);
    EXPECT_EQ(p.y, c.want.y);
    EXPECT_EQ(p.count, c.want.count);
    EXPECT_EQ(p.rows, c.want.rows);
    EXPECT_EQ(p.right, c.want.right);
    EXPECT_EQ(p.bottom, c.want.bottom);
    EXPECT_EQ(p.clip, c.want.clip);
  }
}

TEST(BoxListBar, CoversTheHighlightedRowOfAList) {
  int32_t bar[4];
  ASSERT_TRUE(BoxListBar(box(13, 0x03, 10, 20, 200, 100, "x", 5, 2), 16, 16, bar));
  EXPECT_EQ(bar[0], 10);
  EXPECT_EQ(bar[1], 20 + 2 + 2 * 16);  // margin 2, third row
  EXPECT_EQ(bar[2], 200);
  EXPECT_EQ(bar[3], 16);
  EXPECT_FALSE(BoxListBar(box(13, 0x03, 10, 20, 200, 100, "x", 5, -1), 16, 16, bar));
  EXPECT_FALSE(BoxListBar(box(12, 0x03, 10, 20, 200, 100, "x", 5, 2), 16, 16, bar));
}

TEST(BoxWaitStart, FindsTheLastSelectedRadioAndReleasesPushButtons) {
  struct Case {
    const char* name;
    std::vector<uint8_t> flags, after;
    int32_t want;
    // clang-format off
  } cases[] = {
      {"nothing selected", {0x03, 0x13, 0x0B}, {0x03, 0x13, 0x0B}, -1},
      {"last selected radio wins", {0x17, 0x13, 0x17}, {0x17, 0x13, 0x17}, 2},
      {"selected non-radio is no selection", {0x07, 0x13}, {0x07, 0x13}, -1},
      {"push button loses its mark", {0x0F, 0x17}, {0x0B, 0x17}, 1},
      {"momentary radio counts before it is released", {0x13, 0x1F}, {0x13, 0x1B}, 1},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<GEMBox> t;
    for (uint8_t f : c.flags) t.push_back(box(0, f, 0, 0, 10, 10));
    EXPECT_EQ(BoxWaitStart(t.data(), (int32_t)t.size()), c.want);
    for (size_t i = 0; i < t.size(); i++) EXPECT_EQ(t[i].flags, c.after[i]) << "box " << i;
  }
}

TEST(BoxClick, HitsInnerAreasOfClickableBoxesAndAppliesSelection) {
  // 0 plain, 1 heading 0x02, 2 enabled only, 3 and 4 radio, 5 toggle, 6 plain under 7 radio.
  // clang-format off
  const GEMBox table[] = {
      box(0, 0x03, 10, 10, 100, 20),  box(0, 0x02, 10, 40, 100, 20),  box(0, 0x01, 10, 70, 100, 20),
      box(0, 0x13, 200, 10, 50, 20),  box(0, 0x13, 200, 40, 50, 20),  box(0, 0x23, 300, 10, 50, 20),
      box(0, 0x03, 300, 40, 50, 20),  box(0, 0x13, 320, 40, 50, 20),
  };
  // clang-format on
  struct Case {
    const char* name;
    std::vector<std::pair<int, uint8_t>> entry;  // flags set before the click
    int32_t selection, x, y;
    bool hit;
    int32_t want;
    std::vector<std::pair<int, uint8_t>> changed;  // flags that differ from the table after
    // clang-format off
  } cases[] = {
      {"top-left inner pixel", {}, -1, 10, 10, true, 0, {{0, 0x07}}},
      {"bottom-right inner pixel", {}, -1, 109, 29, true, 0, {{0, 0x07}}},
      {"left rim", {}, -1, 9, 15, false, -1, {}},
      {"x + w", {}, -1, 110, 15, false, -1, {}},
      {"top rim", {}, -1, 50, 9, false, -1, {}},
      {"y + h", {}, -1, 50, 30, false, -1, {}},
      {"0x02 alone", {}, -1, 50, 45, false, -1, {}},
      {"0x01 alone", {}, -1, 50, 75, false, -1, {}},
      {"radio replaces radio", {{3, 0x17}}, 3, 220, 45, true, 4, {{4, 0x17}}},
      {"selected radio stays", {{3, 0x17}}, 3, 220, 15, true, 3, {{3, 0x17}}},
      {"plain box leaves the radio", {{3, 0x17}}, 3, 50, 15, true, 0, {{0, 0x07}, {3, 0x17}}},
      {"toggle on", {}, -1, 320, 15, true, 5, {{5, 0x27}}},
      {"toggle off", {{5, 0x27}}, -1, 320, 15, true, 5, {}},
      {"overlap: both set, last wins", {}, -1, 330, 45, true, 7, {{6, 0x07}, {7, 0x17}}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<GEMBox> t(std::begin(table), std::end(table));
    for (auto [i, f] : c.entry) t[i].flags = f;
    int32_t sel = c.selection;
    EXPECT_EQ(BoxClick(t.data(), (int32_t)t.size(), c.x, c.y, sel), c.hit);
    EXPECT_EQ(sel, c.hit ? c.want : c.selection);
    std::vector<uint8_t> want;
    for (const GEMBox& b : table) want.push_back(b.flags);
    for (auto [i, f] : c.changed) want[i] = f;
    for (size_t i = 0; i < t.size(); i++) EXPECT_EQ(t[i].flags, want[i]) << "box " << i;
  }
}
