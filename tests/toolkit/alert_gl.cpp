#include <cstdio>
#include <string>
#include <vector>

#include "paint/paint.h"
#include "platform/platform.h"
#include "tests/support/gl.h"
#include "tests/support/shapes.h"
#include "toolkit/toolkit.h"

static const uint32_t panelGreen = Px(0xAF, 0xCF, 0xAF, 255), black = Px(0, 0, 0, 255),
                      white = Px(255, 255, 255, 255), red = Px(255, 0, 0, 255);

struct Button {
  const char* label;
  int32_t x, w;
  bool selected;
};
struct Line {
  const char* text;
  int x, y;
};
enum class In { Key, Escape, Return, Click, DoubleClick, RightClick, MiddleClick, Window, Quit };
struct Input {
  In kind;
  int x = 0, y = 0;
};

static void push(const Input& in) {
  switch (in.kind) {
    case In::Key: PushKey('x'); break;
    case In::Escape: PushKey(SDLK_ESCAPE); break;
    case In::Return: PushKey(SDLK_RETURN); break;
    case In::Click: PushClick(SDL_BUTTON_LEFT, in.x, in.y); break;
    case In::DoubleClick: PushClick(SDL_BUTTON_LEFT, in.x, in.y, 2); break;
    case In::RightClick: PushClick(SDL_BUTTON_RIGHT, in.x, in.y); break;
    case In::MiddleClick: PushClick(SDL_BUTTON_MIDDLE, in.x, in.y); break;
    case In::Window: PushWindowEvent(SDL_WINDOWEVENT_MOVED); break;
    case In::Quit: PushQuit(); break;
  }
}

static void paintOutline(Image& img, int x, int y, int w, int h, uint32_t c) {
  PaintRect(img, x, y, w, 1, c);
  PaintRect(img, x, y + h - 1, w, 1, c);
  PaintRect(img, x, y, 1, h, c);
  PaintRect(img, x + w - 1, y, 1, h, c);
}

class Alerts : public ScreenTest {
 protected:
  Alerts() : ScreenTest(Px(0x10, 0x20, 0x30, 255)) {}
  // Shows the alert as the control screen does (a white icon on a red disc, blending
  // off) over a window cleared to bg, with the inputs already queued and GEMScreen as
  // the render target; returns its answer and what it wrote to stdout.
  int32_t show(int32_t dx, int32_t dy, const char* text, uint8_t def, const char* answers,
               const std::vector<Input>& inputs, std::string& out) {
    DrainEvents();
    ClearTarget(nullptr, bg);
    SDL_SetRenderTarget(SDLRenderer, GEMScreen);
    Color = 0xFFFFFFFF;
    ColorB = 0xFF;
    InKey = 99;
    for (const Input& in : inputs) push(in);
    testing::internal::CaptureStdout();
    int32_t answer = GEMMessage(dx, dy, text, def, answers);
    fflush(stdout);
    out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(InKey, 0);
    EXPECT_EQ(SDL_GetRenderTarget(SDLRenderer), SDLScreen);
    return answer;
  }
};

TEST_F(Alerts, ShowPanelIconButtonsAndText) {
  struct Case {
    const char* name;
    int32_t dx, dy;
    const char* text;
    uint8_t def;
    const char* answers;
    char icon;  // 0: none
    std::vector<Button> buttons;
    std::vector<Line> lines;
    std::vector<Input> inputs;
    int32_t answer;
    bool tooMany;
    // clang-format off
  } cases[] = {
      {"question", 24, 100, "Wyczyścić ekran ?", 1, "?| Tak | Nie ", '?',
       {{" Tak ", 232, 82, false}, {" Nie ", 326, 82, true}}, {{"Wyczyścić ekran ?", 184, 200}},
       {{In::Return}}, 1, false},
      {"file error on two lines", 64, 100, "Niewłaściwy\nformat pliku", 0, "i|Powrót", 'i',
       {{"Powrót", 264, 114, true}}, {{"Niewłaściwy", 224, 200}, {"format pliku", 224, 216}},
       {{In::Escape}}, 0, false},
      {"directory error", 8, 40, "OPEN DIR ERROR", 0, "!|OK", '!', {{"OK", 304, 34, true}},
       {{"OPEN DIR ERROR", 168, 140}}, {{In::RightClick, 10, 10}}, 0, false},
      {"leading bar: no icon, no disc", 24, 100, "Bez ikony", 0, "| Tak | Nie ", 0,
       {{" Tak ", 232, 82, true}, {" Nie ", 326, 82, false}}, {{"Bez ikony", 184, 200}},
       {{In::Key}}, 0, false},
      {"icon without answers: only a key ends it", 24, 60, "Czekam", 0, "?|", '?', {},
       {{"Czekam", 184, 160}}, {{In::Click, 320, 284}, {In::Key}}, -1, false},
      {"text wraps past x 464", 0, 40, "xxxxxxxxxxxxxxxxxxxxxxxxx", 0, "!|OK", '!',
       {{"OK", 304, 34, true}}, {{"xxxxxxxxxxxxxxxxxxxx", 160, 140}, {"xxxxx", 160, 156}},
       {{In::Key}}, 0, false},
      // The ninth and tenth answers are dropped: not drawn, not clickable.
      {"ten answers", 24, 40, "Dużo", 0, "!|1|2|3|4|5|6|7|8|9|10", '!',
       {{"1", 160, 18, true}, {"2", 190, 18, false}, {"3", 220, 18, false}, {"4", 250, 18, false},
        {"5", 280, 18, false}, {"6", 310, 18, false}, {"7", 340, 18, false}, {"8", 370, 18, false}},
       {{"Dużo", 184, 140}}, {{In::Click, 405, 284}, {In::Click, 440, 284}, {In::Key}}, 0, true},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string out;
    EXPECT_EQ(show(c.dx, c.dy, c.text, c.def, c.answers, c.inputs, out), c.answer);
    EXPECT_EQ(out, c.tooMany ? "GEMMessage: Too many answers.\n" : "");
    Image got = ReadPixels(nullptr);

    // The buttons as GEMDrawBox draws such records on the panel's green.
    ClearTarget(GEMScreen, panelGreen);
    SDL_SetRenderTarget(SDLRenderer, GEMScreen);
    for (const Button& b : c.buttons)
      GEMDrawBox({b.label, uint8_t(b.selected ? 0x17 : 0x13), 1, b.x, 276, b.w, 18, 0, 0, nullptr});
    Image buttons = ReadPixels(GEMScreen);

    Image want(640, 400, bg);
    PaintRect(want, 160, 100, 320, 200, panelGreen);
    paintOutline(want, 160, 100, 320, 200, black);
    paintOutline(want, 162, 102, 316, 196, black);
    if (c.icon) {
      for (int y = 109; y <= 151; y++)
        for (int x = 299; x <= 341; x++)
          if (InDisc(x - 320, y - 130, 20)) want.at(x, y) = red;
      PaintGlyphs(want, white, {{c.icon - 32, 305, 115}}, 4);
    }
    for (const Button& b : c.buttons)
      for (int y = 275; y <= 294; y++)
        for (int x = b.x - 1; x <= b.x + b.w; x++) want.at(x, y) = buttons.at(x, y);
    for (const Line& l : c.lines) PaintGlyphs(want, black, GlyphsOf(l.text, l.x, l.y));
    EXPECT_TRUE(SameImage(got, want, true));
  }
}

TEST_F(Alerts, QuestionAnswers) {
  struct Case {
    const char* name;
    std::vector<Input> inputs;
    int32_t answer;
    uint8_t quit;
    // clang-format off
  } cases[] = {
      {"Return", {{In::Return}}, 1, 0},
      {"Escape", {{In::Escape}}, 1, 0},
      {"any other key", {{In::Key}}, 1, 0},
      {"right click on Tak", {{In::RightClick, 240, 280}}, 1, 0},
      {"middle click", {{In::MiddleClick, 240, 280}}, 1, 0},
      {"left click on Tak", {{In::Click, 240, 280}}, 0, 0},
      {"double click on Tak", {{In::DoubleClick, 313, 293}}, 0, 0},
      {"left click on Nie", {{In::Click, 330, 280}}, 1, 0},
      {"left click between the buttons", {{In::Click, 320, 280}, {In::Key}}, 1, 0},
      {"left clicks on the rim of Tak",
       {{In::Click, 231, 280}, {In::Click, 240, 294}, {In::Key}}, 1, 0},
      {"window events do not end it", {{In::Window}, {In::Click, 240, 280}}, 0, 0},
      {"quit request", {{In::Quit}}, 1, 1},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Quit = 0;
    std::string out;
    EXPECT_EQ(show(24, 100, "Koniec programu ?", 1, "?| Tak | Nie ", c.inputs, out), c.answer);
    EXPECT_EQ(Quit, c.quit);
    EXPECT_EQ(out, "");
  }
}
