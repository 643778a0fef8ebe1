#include <string>
#include <vector>

#include "platform/platform.h"
#include "tests/support/gl.h"
#include "toolkit/toolkit.h"

// One input as the devices deliver it.
struct Ev {
  enum Kind { Click, Double, Triple, Right, MiddleDouble, Key, Window, ForeignWindow, Quit, Other };
  Kind kind;
  int a = 0, b = 0;
};

static void push(const Ev& e) {
  switch (e.kind) {
    case Ev::Click: PushClick(SDL_BUTTON_LEFT, e.a, e.b); break;
    case Ev::Double: PushClick(SDL_BUTTON_LEFT, e.a, e.b, 2); break;
    case Ev::Triple: PushClick(SDL_BUTTON_LEFT, e.a, e.b, 3); break;
    case Ev::Right: PushClick(SDL_BUTTON_RIGHT, e.a, e.b); break;
    case Ev::MiddleDouble: PushClick(SDL_BUTTON_MIDDLE, e.a, e.b, 2); break;
    case Ev::Key: PushKey(e.a); break;
    case Ev::Window: PushWindowEvent(uint8_t(e.a)); break;
    case Ev::ForeignWindow: PushWindowEvent(uint8_t(e.a), 9999); break;
    case Ev::Quit: PushQuit(); break;
    case Ev::Other:  // motion, a lone release and text, all dropped
      PushMotion(50, 15, SDL_BUTTON_LMASK);
      PushButton(false, SDL_BUTTON_LEFT, 50, 15);
      PushText("a");
      break;
  }
}

// 0 plain, 1 heading (0x02), 2 enabled only (0x01), 3 push button, 4 toggle,
// 5 and 6 radio buttons, 6 selected.
// clang-format off
static const GEMBox panel[] = {
    {"A", 0x03, 1, 10, 10, 100, 20, 0, 0, nullptr},
    {"B", 0x02, 1, 10, 40, 100, 20, 0, 0, nullptr},
    {"C", 0x01, 1, 10, 70, 100, 20, 0, 0, nullptr},
    {"D", 0x0B, 1, 10, 100, 100, 20, 0, 0, nullptr},
    {"E", 0x23, 1, 10, 130, 100, 20, 0, 0, nullptr},
    {"8", 0x13, 1, 200, 10, 100, 20, 0, 0, nullptr},
    {"9", 0x17, 1, 200, 40, 100, 20, 0, 0, nullptr},
};
// clang-format on
constexpr int panelCount = sizeof panel / sizeof panel[0];

using BoxClickWait = GLTest;

TEST_F(BoxClickWait, EndsAndReportsAsTheInputAsks) {
  const int moved = SDL_WINDOWEVENT_MOVED, resized = SDL_WINDOWEVENT_RESIZED;
  const uint16_t movedBit = 1 << moved, resizedBit = 1 << resized;
  using Flags = std::vector<std::pair<int, uint8_t>>;  // box index, flags
  struct Outcome {
    int32_t result;
    uint32_t mouseK;
    int32_t mouseX, mouseY, inKey;
    uint8_t quit;
    uint16_t windowEvent;
    Flags changed;  // flags that differ from the panel's afterwards
    int keysLeft;   // key events still queued
  };
  struct Case {
    const char* name;
    Flags entry;  // flags changed before the wait
    uint8_t quitAtEntry;
    int32_t windowEnds;
    std::vector<Ev> events;
    Outcome want;
    // clang-format off
  } cases[] = {
      {"rims and x + w miss, the wait goes on", {}, 0, 0,
       {{Ev::Click, 9, 15}, {Ev::Click, 110, 15}, {Ev::Click, 50, 9}, {Ev::Click, 50, 30},
        {Ev::Click, 10, 10}},
       {0, 1, 10, 10, 0, 0, 0, {{0, 0x07}}, 0}},
      {"0x02 and 0x01 alone miss", {}, 0, 0,
       {{Ev::Click, 50, 45}, {Ev::Click, 50, 75}, {Ev::Key, 'a'}},
       {6, 0, 0, 0, 'a', 0, 0, {}, 0}},
      {"radio 8 replaces radio 9", {}, 0, 0, {{Ev::Click, 250, 15}},
       {5, 1, 250, 15, 0, 0, 0, {{5, 0x17}, {6, 0x13}}, 0}},
      {"selected radio stays selected", {}, 0, 0, {{Ev::Click, 250, 45}},
       {6, 1, 250, 45, 0, 0, 0, {}, 0}},
      {"toggle switched on", {}, 0, 0, {{Ev::Click, 50, 135}},
       {4, 1, 50, 135, 0, 0, 0, {{4, 0x27}}, 0}},
      {"toggle switched off", {{4, 0x27}}, 0, 0, {{Ev::Click, 50, 135}},
       {4, 1, 50, 135, 0, 0, 0, {}, 0}},
      {"push button keeps its mark on return", {}, 0, 0, {{Ev::Click, 50, 105}},
       {3, 1, 50, 105, 0, 0, 0, {{3, 0x0F}}, 0}},
      {"push button loses its mark at the next wait", {{3, 0x0F}}, 0, 0, {{Ev::Key, SDLK_ESCAPE}},
       {6, 0, 0, 0, SDLK_ESCAPE, 0, 0, {}, 0}},
      {"key with no radio selected", {{6, 0x13}}, 0, 0, {{Ev::Key, SDLK_RETURN}},
       {-1, 0, 0, 0, SDLK_RETURN, 0, 0, {{6, 0x13}}, 0}},
      {"modifier key ends too", {}, 0, 0, {{Ev::Key, SDLK_LSHIFT}},
       {6, 0, 0, 0, SDLK_LSHIFT, 0, 0, {}, 0}},
      {"motion, release and text are dropped", {}, 0, 0, {{Ev::Other}, {Ev::Key, 'q'}},
       {6, 0, 0, 0, 'q', 0, 0, {}, 0}},
      {"right click anywhere", {}, 0, 0, {{Ev::Right, 400, 300}},
       {6, 3, 400, 300, 0, 0, 0, {}, 0}},
      {"right click on a box selects nothing", {}, 0, 0, {{Ev::Right, 50, 15}},
       {6, 3, 50, 15, 0, 0, 0, {}, 0}},
      {"middle double click", {}, 0, 0, {{Ev::MiddleDouble, 5, 6}},
       {6, 0x22, 5, 6, 0, 0, 0, {}, 0}},
      {"double click on a box", {}, 0, 0, {{Ev::Double, 50, 15}},
       {0, 0x21, 50, 15, 0, 0, 0, {{0, 0x07}}, 0}},
      {"triple click is a single click", {}, 0, 0, {{Ev::Triple, 50, 15}},
       {0, 1, 50, 15, 0, 0, 0, {{0, 0x07}}, 0}},
      {"missed click leaves no trace", {}, 0, 0, {{Ev::Double, 400, 300}, {Ev::Key, 'a'}},
       {6, 0, 0, 0, 'a', 0, 0, {}, 0}},
      {"window events only recorded", {}, 0, 0,
       {{Ev::Window, moved}, {Ev::Window, resized}, {Ev::Key, 'a'}},
       {6, 0, 0, 0, 'a', 0, uint16_t(movedBit | resizedBit), {}, 0}},
      {"window event ends with windowEnds", {}, 0, 1, {{Ev::Window, moved}, {Ev::Key, 'a'}},
       {6, 0, 0, 0, 0, 0, movedBit, {}, 1}},
      {"another window's event ends unrecorded", {}, 0, 1, {{Ev::ForeignWindow, moved}},
       {6, 0, 0, 0, 0, 0, 0, {}, 0}},
      {"event ids from 16 up leave no mark", {}, 0, 1, {{Ev::Window, 17}},
       {6, 0, 0, 0, 0, 0, 0, {}, 0}},
      {"quit request", {}, 0, 0, {{Ev::Other}, {Ev::Quit}},
       {6, 0, 0, 0, 0, 1, 0, {}, 0}},
      {"quit after a missed click", {}, 0, 0, {{Ev::Click, 400, 300}, {Ev::Quit}},
       {6, 0, 0, 0, 0, 1, 0, {}, 0}},
      {"called with Quit 4 reads nothing", {{3, 0x0F}}, 4, 0, {{Ev::Key, 'a'}},
       {6, 0, 0, 0, 0, 0, 0, {}, 1}},
      {"called with Quit 1 keeps it", {}, 1, 0, {{Ev::Click, 50, 15}},
       {6, 0, 0, 0, 0, 1, 0, {}, 0}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ResetGlobals();
    DrainEvents();
    std::vector<GEMBox> t(panel, panel + panelCount);
    for (auto [i, f] : c.entry) t[i].flags = f;
    Quit = c.quitAtEntry;
    MouseX = MouseY = 77;  // stale values from an earlier pump
    MouseK = InKey = 5;
    WindowEvent = 0x100;
    for (const Ev& e : c.events) push(e);
    const Outcome& w = c.want;
    EXPECT_EQ(GEMWaitBoxClick(t.data(), panelCount, c.windowEnds), w.result);
    EXPECT_EQ(MouseK, w.mouseK);
    EXPECT_EQ(MouseX, w.mouseX);
    EXPECT_EQ(MouseY, w.mouseY);
    EXPECT_EQ(InKey, w.inKey);
    EXPECT_EQ(Quit, w.quit);
    EXPECT_EQ(WindowEvent, w.windowEvent);
    std::vector<uint8_t> flags;
    for (const GEMBox& b : panel) flags.push_back(b.flags);
    for (auto [i, f] : w.changed) flags[i] = f;
    for (int i = 0; i < panelCount; i++) EXPECT_EQ(t[i].flags, flags[i]) << "box " << i;
    SDL_PumpEvents();
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYDOWN), w.keysLeft);
  }
}
