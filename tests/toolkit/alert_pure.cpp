#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/toolkit_core.h"

struct Button {
  std::string label;
  int32_t x, w;
  bool selected;
};

TEST(AlertButtons, CutsAnswersAndLaysOutTheRow) {
  struct Case {
    const char* name;
    std::string answers;
    uint8_t def;
    uint8_t icon;
    std::vector<Button> want;
    // clang-format off
  } cases[] = {
      {"question", "?| Tak | Nie ", 1, '?', {{" Tak ", 232, 82, false}, {" Nie ", 326, 82, true}}},
      {"width in bytes", "i|Powrót", 0, 'i', {{"Powrót", 264, 114, true}}},
      {"one short answer", "!|OK", 0, '!', {{"OK", 304, 34, true}}},
      {"leading bar: no icon", "| Tak | Nie ", 0, 0,
       {{" Tak ", 232, 82, true}, {" Nie ", 326, 82, false}}},
      {"icon without answers", "?|", 0, '?', {}},
      {"runs of bars count once", "?||A|||B|", 1, '?',
       {{"A", 264, 18, false}, {"B", 294, 18, true}}},
      {"icon piece longer than a byte", "ab|X", 0, 'a', {{"X", 312, 18, true}}},
      {"default names no button", "!|OK", 3, '!', {{"OK", 304, 34, false}}},
      {"no bar at all", "OK", 0, 'O', {}},
      {"empty", "", 0, 0, {}},
      {"eight answers fit", "!|1|2|3|4|5|6|7|8", 7, '!',
       {{"1", 200, 18, false}, {"2", 230, 18, false}, {"3", 260, 18, false}, {"4", 290, 18, false},
        {"5", 320, 18, false}, {"6", 350, 18, false}, {"7", 380, 18, false}, {"8", 410, 18, true}}},
      {"only 255 bytes are used", "!|" + std::string(300, 'A'), 0, '!',
       {{std::string(253, 'A'), 320 - 8 * 253, 16 * 253 + 2, true}}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    char work[256];
    GEMBox buttons[AlertMaxAnswers + 1];
    AlertLayout a = AlertButtons(c.answers.c_str(), c.def, 16, 16, work, buttons);
    EXPECT_EQ(a.icon, c.icon);
    EXPECT_FALSE(a.tooMany);
    ASSERT_EQ(a.count, (int32_t)c.want.size());
    for (size_t i = 0; i < c.want.size(); i++) {
      SCOPED_TRACE(i);
      const GEMBox& b = buttons[i];
      EXPECT_EQ(std::string(b.text), c.want[i].label);
      EXPECT_EQ(b.flags, c.want[i].selected ? 0x17 : 0x13);
      EXPECT_EQ(b.type, 1);
      EXPECT_EQ(b.x, c.want[i].x);
      EXPECT_EQ(b.y, 276);
      EXPECT_EQ(b.w, c.want[i].w);
      EXPECT_EQ(b.h, 18);
      EXPECT_EQ(b.param1, 0u);
      EXPECT_EQ(b.param2, 0);
      EXPECT_EQ(b.image, nullptr);
    }
    EXPECT_EQ(buttons[a.count].text, nullptr);
  }
}

// The table is exactly as large as the alert's: a write past it fails under ASan.
TEST(AlertButtons, DropsAnswersPastTheEighth) {
  char work[256];
  GEMBox buttons[AlertMaxAnswers + 1];
  AlertLayout a = AlertButtons("!|1|2|3|4|5|6|7|8|9|10|11", 0, 16, 16, work, buttons);
  EXPECT_TRUE(a.tooMany);
  ASSERT_EQ(a.count, 8);
  // The row still starts from all 23 bytes after the first bar.
  EXPECT_EQ(buttons[0].x, 320 - 8 * 23);
  EXPECT_EQ(std::string(buttons[7].text), "8");
  EXPECT_EQ(buttons[8].text, nullptr);
}
