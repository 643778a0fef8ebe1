#include <cstring>

#include "platform/platform.h"
#include "strrt/strrt.h"
#include "tests/support/gl.h"

using Pump = GLTest;

TEST_F(Pump, KeepsOnlyTheLastKeyOfOnePump) {
  PushKey(SDLK_a);
  PushKey(SDLK_b);
  GetSDLEvents();
  EXPECT_EQ(InKey, SDLK_b);
  GetSDLEvents();
  EXPECT_EQ(InKey, 0) << "a pump without a key-down leaves InKey 0";
}

TEST_F(Pump, KeyRepeatsCountAsKeys) {
  PushKey(SDLK_BACKSPACE, true);
  GetSDLEvents();
  EXPECT_EQ(InKey, SDLK_BACKSPACE);
}

TEST_F(Pump, QuitStaysAcrossPumps) {
  PushQuit();
  GetSDLEvents();
  EXPECT_EQ(Quit, 1);
  GetSDLEvents();
  GetSDLEvents();
  EXPECT_EQ(Quit, 1);
}

TEST_F(Pump, WindowEventsOfOurWindowOnly) {
  PushWindowEvent(SDL_WINDOWEVENT_MOVED);
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  PushWindowEvent(SDL_WINDOWEVENT_RESIZED, 9999);
  GetSDLEvents();
  EXPECT_EQ(WindowEvent, (1u << SDL_WINDOWEVENT_MOVED) | (1u << SDL_WINDOWEVENT_FOCUS_GAINED));
  GetSDLEvents();
  EXPECT_EQ(WindowEvent, 0) << "cleared at the start of every pump";
}

TEST_F(Pump, ButtonPressedAndReleasedBetweenPumpsLeavesNoTrace) {
  PushClick(SDL_BUTTON_LEFT, 10, 10);
  PushMotion(20, 20, SDL_BUTTON_LMASK);
  GetSDLEvents();
  EXPECT_EQ(MouseK, 0u) << "the mask is sampled after draining, not taken from events";
  EXPECT_NE(SDLKeyboardState, nullptr);
}

TEST_F(Pump, TextInputIsCappedAt255Bytes) {
  struct {
    const char* name;
    size_t before;  // bytes already in the buffer
    const char* text;
    size_t want;
    // clang-format off
  } cases[] = {
      {"fits", 10, "abc", 13},
      {"cut to fit", 250, "abcdefghij", 255},
      {"full buffer takes nothing", 255, "x", 255},
      {"a two-byte letter may be cut", 254, "żż", 255},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    memset(STRING$, 0, sizeof STRING$);
    memset(STRING$, 'q', c.before);
    PushText(c.text);
    GetSDLEvents();
    EXPECT_EQ(strlen(STRING$), c.want);
  }
  memset(STRING$, 0, sizeof STRING$);
}
