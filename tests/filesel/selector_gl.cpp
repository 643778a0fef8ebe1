#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "filesel/filesel.h"
#include "paint/paint.h"
#include "platform/platform.h"
#include "tests/paint/draw_gl.h"
#include "tests/support/gl.h"
#include "tests/support/scratch.h"

// This binary links with SDL_Delay and SDL_GetBasePath wrapped: the lever's passes are
// counted, and SDL can be made to know no base path.
static std::atomic<int> delays{0};
static bool noBasePath = false;
extern "C" void __real_SDL_Delay(Uint32 ms);
extern "C" void __wrap_SDL_Delay(Uint32 ms) {
  delays++;
  __real_SDL_Delay(ms);
}
extern "C" char* __real_SDL_GetBasePath();
extern "C" char* __wrap_SDL_GetBasePath() {
  return noBasePath ? nullptr : __real_SDL_GetBasePath();
}

// Where to click: the middle of a box, or a list row.
static const int okX = 580, okY = 368, cancelY = 388, upY = 76, baseY = 208, rootY = 228;
static int rowY(int row) { return 70 + 16 * row + 8; }

static void click(int x, int y, uint8_t clicks = 1) { PushClick(SDL_BUTTON_LEFT, x, y, clicks); }
static void type(const char* text) { PushText(text); }
static void press(SDL_Keycode k) { PushKey(k); }

using Step = std::function<void()>;

class Selector : public ScreenTest {
 protected:
  Selector() : ScreenTest(Px(0x12, 0x34, 0x56, 255)) {}
  void SetUp() override {
    ScreenTest::SetUp();
    t.dir("sub");
    t.file("sub/inner.PI1");
    t.files({"a.PI1", "b.PI1", "c.txt", "bad\xFF.PI1"});
  }
  void TearDown() override { noBasePath = false; }
  // Opens the dialog on dir with the steps fed one at a time, each when it waits for
  // input; returns its result, with the name buffer in name.
  int32_t run(const std::string& dir, const std::vector<Step>& steps, const char* pattern = ".PI",
              const char* offered = ".BMP") {
    memset(name, 0, sizeof name);
    strcpy(name, offered);
    DrainEvents();
    Player p(steps);
    return GEMFileSelector("Zapis", dir.c_str(), pattern, name);
  }
  Scratch t{"dir"};
  char name[256];
};

TEST_F(Selector, EndsAsTheUserAsks) {
  char cwd[256];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  char* sdlBase = SDL_GetBasePath();
  const std::string base = sdlBase;
  SDL_free(sdlBase);
  const std::string d = t.slash();
  struct {
    const char* name;
    std::string dir;
    std::vector<Step> steps;
    int32_t result;
    std::string want;
    bool noBase = false;
  } cases[] = {
      {"a name typed at once goes before the offered one; OK",
       d,
       {[] { type("obraz"); }, [] { press(SDLK_RETURN); }, [] { click(okX, okY); }},
       0,
       d + "obraz.BMP"},
      {"first Enter ends the editing, the second returns directory and name",
       d,
       {[] { press(SDLK_RETURN); }, [] { press(SDLK_RETURN); }},
       0,
       d + ".BMP"},
      {"keypad Enter", d, {[] { press(SDLK_KP_ENTER); }, [] { press(SDLK_KP_ENTER); }}, 0, d + ".BMP"},
      {"a click while editing only ends the edit",
       d,
       {[] { click(okX, cancelY); }, [] { press(SDLK_RETURN); }},
       0,
       d + ".BMP"},
      {"an absolute name is returned as it is (Enter)",
       d,
       {[] { type("/tmp/x"); }, [] { press(SDLK_RETURN); }, [] { press(SDLK_RETURN); }},
       0,
       "/tmp/x.BMP"},
      {"an absolute name is returned as it is (OK)",
       d,
       {[] { type("/tmp/y"); }, [] { press(SDLK_RETURN); }, [] { click(okX, okY); }},
       0,
       "/tmp/y.BMP"},
      {"double click on a file",
       d,
       {[] { press(SDLK_RETURN); }, [] { click(100, rowY(1), 2); }},
       0,
       d + "a.PI1"},
      {"double click on a name that is not UTF-8",
       d,
       {[] { press(SDLK_RETURN); }, [] { click(100, rowY(3), 2); }},
       0,
       d + "bad\xFF.PI1"},
      {"single click puts the name in the field; OK",
       d,
       {[] { press(SDLK_RETURN); }, [] { click(100, rowY(2)); }, [] { click(okX, okY); }},
       0,
       d + "b.PI1"},
      {"CANCEL after picking a file restores the offered name",
       d,
       {[] { press(SDLK_RETURN); }, [] { click(100, rowY(3)); }, [] { click(okX, cancelY); }},
       -1,
       ".BMP"},
      {"one click enters a directory",
       d,
       {[] { press(SDLK_RETURN); }, [] { click(100, rowY(0)); }, [] { click(100, rowY(0), 2); }},
       0,
       d + "sub/inner.PI1"},
      {"a click past the last entry does nothing",
       d,
       {[] { press(SDLK_RETURN); }, [] { click(100, rowY(10), 2); }, [] { click(100, rowY(19)); },
        [] { click(okX, okY); }},
       0,
       d + ".BMP"},
      {"UP",
       d + "sub/",
       {[] { press(SDLK_RETURN); }, [] { click(okX, upY); }, [] { click(okX, okY); }},
       0,
       d + ".BMP"},
      {"UP at the root",
       "/",
       {[] { press(SDLK_RETURN); }, [] { click(okX, upY); }, [] { click(okX, okY); }},
       0,
       "/.BMP"},
      {"ROOT",
       d,
       {[] { press(SDLK_RETURN); }, [] { click(okX, rootY); }, [] { click(okX, okY); }},
       0,
       "/.BMP"},
      {"BASE",
       d,
       {[] { press(SDLK_RETURN); }, [] { click(okX, baseY); }, [] { click(okX, okY); }},
       0,
       base + ".BMP"},
      {"empty start directory: the base",
       "",
       {[] { press(SDLK_RETURN); }, [] { click(okX, okY); }},
       0,
       base + ".BMP"},
      {"no base path from SDL: the working directory",
       "",
       {[] { press(SDLK_RETURN); }, [] { click(okX, okY); }},
       0,
       std::string(cwd) + "/.BMP",
       true},
      {"the filter edited to empty lists every file",
       d,
       {[] { press(SDLK_RETURN); }, [] { click(150, 30); }, [] { press(SDLK_DELETE); },
        [] { press(SDLK_DELETE); }, [] { press(SDLK_DELETE); }, [] { press(SDLK_RETURN); },
        [] { click(100, rowY(4), 2); }},
       0,
       d + "c.txt"},
      {"an edited path that cannot be listed gives the old one back",
       d,
       {[] { press(SDLK_RETURN); }, [] { click(300, 55); }, [] { press(SDLK_END); },
        [] { type("none"); }, [] { press(SDLK_RETURN); }, [] { press('q'); },
        [] { click(100, rowY(1), 2); }},
       0,
       d + "a.PI1"},
      {"an edited path that can be listed",
       d,
       {[] { press(SDLK_RETURN); }, [] { click(300, 55); }, [] { press(SDLK_END); },
        [] { type("sub"); }, [] { press(SDLK_RETURN); }, [] { click(okX, okY); }},
       0,
       d + "sub/.BMP"},
      {"quit while editing the name", d, {[] { PushQuit(); }}, -1, ".BMP"},
      {"quit while editing the filter: that box's number",
       d,
       {[] { press(SDLK_RETURN); }, [] { click(150, 30); }, [] { PushQuit(); }},
       1,
       ".BMP"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    noBasePath = c.noBase;
    EXPECT_EQ(run(c.dir, c.steps), c.result);
    noBasePath = false;
    EXPECT_EQ(std::string(name), c.want);
    EXPECT_EQ(SDL_GetRenderTarget(SDLRenderer), SDLScreen);
    EXPECT_EQ(Quit, strncmp(c.name, "quit", 4) == 0 ? 1 : 0) << "only a quit request is left";
    Quit = 0;
  }
}

TEST_F(Selector, StartDirectoryThatCannotBeListed) {
  ClearTarget(GEMScreen, bg);
  strcpy(name, ".BMP");
  PushKey('q');  // answers the alert
  testing::internal::CaptureStderr();
  EXPECT_EQ(GEMFileSelector("Zapis", (t / "none").c_str(), ".PI", name), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "opendir: No such file or directory\n");
  EXPECT_STREQ(name, ".BMP");
  EXPECT_TRUE(SameImage(ReadPixels(GEMScreen), Image(640, 400, bg))) << "nothing drawn";
}

// The list as the dialog's last frame shows it: entries from first on.
static Image listAt(const std::vector<std::string>& names, int first) {
  static char rows[60][256];
  for (size_t i = 0; i < names.size(); i++) strcpy(rows[i], names[i].c_str());
  ClearTarget(GEMScreen, 0);
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  GEMDrawBox({rows[first], 0x03, 13, 4, 68, 480, 324, uint32_t(names.size() - first), -1, nullptr});
  SDL_Rect r = {3, 67, 482, 326};
  return ReadPixels(GEMScreen, &r);
}

class Lever : public Selector {
 protected:
  void SetUp() override {
    Selector::SetUp();
    for (int i = 0; i < 60; i++) {
      char n[8];
      snprintf(n, sizeof n, "f%02d", i);
      l.file(n);
      names.push_back(n);
    }
  }
  Image shown() {
    SDL_Rect r = {3, 67, 482, 326};
    return ReadPixels(GEMScreen, &r);
  }
  Scratch l{"dir"};
  std::vector<std::string> names;
};

// The lever's middle is at y 230; a press is held there for one step, then released.
TEST_F(Lever, PressesAboveAndBelowTheMiddle) {
  struct {
    const char* name;
    std::vector<int> presses;
    int first;
  } cases[] = {
      {"40 below: two rows down", {270}, 2},
      {"15 below: still", {245}, 0},
      {"to the last page and no further", {390, 390, 390, 390, 390}, 40},
      {"down ten, then 33 above: two up", {390, 197}, 8},
      {"above the middle at the top", {100}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Step> steps = {[] { press(SDLK_RETURN); }};
    for (int y : c.presses) steps.push_back([y] { click(496, y); });
    steps.push_back([] { click(okX, cancelY); });
    EXPECT_EQ(run(l.path, steps, ""), -1);
    EXPECT_TRUE(SameImage(shown(), listAt(names, c.first)));
  }
  // With no more entries than a page the lever does nothing.
  EXPECT_EQ(run(t.path, {[] { press(SDLK_RETURN); }, [] { click(496, 390); },
                         [] { click(100, rowY(1), 2); }}),
            0);
  EXPECT_EQ(std::string(name), t.slash() + "a.PI1");
}

// A press held on the real X server (xdotool) scrolls a row per pass for every full 16
// pixels from the middle until the button is let go; held long enough, it reaches the
// end of the list either way. The press goes to whichever window is under the pointer,
// and other test programs open their windows on the same server at its top left: this
// one moves to the bottom right corner, where none of theirs reaches, for the test.
TEST_F(Lever, HeldOnTheXServer) {
  RealInput real;
  int oldX, oldY, wx, wy;
  SDL_GetWindowPosition(SDLWindow, &oldX, &oldY);
  SDL_DisplayMode mode;
  ASSERT_EQ(SDL_GetCurrentDisplayMode(0, &mode), 0);
  ASSERT_GE(mode.w - 640 + 488, 640) << "the lever would lie under other windows";
  SDL_SetWindowPosition(SDLWindow, mode.w - 640, mode.h - 400);
  SDL_RaiseWindow(SDLWindow);
  SDL_PumpEvents();
  SDL_GetWindowPosition(SDLWindow, &wx, &wy);
  ASSERT_EQ(wx, mode.w - 640);
  struct {
    const char* name;
    int pushedY, heldY, passes, first;
  } cases[] = {
      {"held below the middle", 230, 390, 8, 40},  // +10 a pass
      {"held above the middle", 390, 197, 8, 0},   // +10 once, then -2 a pass
      {"held near the middle", 390, 240, 8, 10},   // within 15 pixels: still
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int pushedY = c.pushedY;
    std::string hold = "xdotool mousemove " + std::to_string(wx + 496) + " " +
                       std::to_string(wy + c.heldY) + " mousedown 1";
    int passes = c.passes;
    std::vector<Step> steps = {
        [] { press(SDLK_RETURN); },
        [pushedY] { click(496, pushedY); },
        [hold, passes] {
          int from = delays;
          ASSERT_EQ(system(hold.c_str()), 0);
          while (delays < from + passes) SDL_Delay(1);
          ASSERT_EQ(system("xdotool mouseup 1"), 0);
        },
        [] { click(okX, cancelY); },
    };
    EXPECT_EQ(run(l.path, steps, ""), -1);
    EXPECT_TRUE(SameImage(shown(), listAt(names, c.first)));
  }
  SDL_SetWindowPosition(SDLWindow, oldX, oldY);
}

// The dialog's frame for a fixed directory, against pieces drawn independently: the
// background and frames, glyphs at hand-computed places, the boxes as the toolkit draws
// such records, and the arrows from the font sheet.
TEST_F(Selector, DrawsTheWholeDialog) {
  EXPECT_EQ(run(t.path, {[] { press(SDLK_RETURN); }, [] { click(okX, cancelY); }}), -1);
  Image got = ReadPixels(GEMScreen);
  EXPECT_TRUE(SameImage(ReadPixels(nullptr), got, true)) << "the window shows it";

  const uint32_t green = Px(175, 207, 175, 255), black = Px(0, 0, 0, 255);
  Image want(640, 400, green);
  for (int i : {0, 2}) {
    PaintRect(want, i, i, 640 - 2 * i, 1, black);
    PaintRect(want, i, 399 - i, 640 - 2 * i, 1, black);
    PaintRect(want, i, i, 1, 400 - 2 * i, black);
    PaintRect(want, 639 - i, i, 1, 400 - 2 * i, black);
  }
  PaintGlyphs(want, black, GlyphsOf("Zapis", 280, 4));
  PaintGlyphs(want, black, GlyphsOf("Dir:", 8, 24));
  PaintGlyphs(want, black, GlyphsOf("Sel:", 320, 24));

  static char filter[256] = ".PI", path[256], offered[256] = ".BMP";
  static char rows[4][256] = {"\x7Fsub", "a.PI1", "b.PI1", "bad\xFF.PI1"};
  strcpy(path, t.slash().c_str());
  const GEMBox boxes[] = {
      {nullptr, 3, 0, 488, 68, 16, 324, 0, 0, nullptr},
      {filter, 3, 11, 68, 24, 248, 16, 0, 0, nullptr},
      {path, 3, 11, 4, 48, 632, 16, 0, 0, nullptr},
      {offered, 3, 11, 384, 24, 252, 16, 0, 0, nullptr},
      {rows[0], 3, 13, 4, 68, 480, 324, 4, -1, nullptr},
      {"UP", 3, 1, 540, 68, 96, 16, 0, 0, nullptr},
      {"BASE", 3, 1, 540, 200, 96, 16, 0, 0, nullptr},
      {"ROOT", 3, 1, 540, 220, 96, 16, 0, 0, nullptr},
      {"OK", 3, 1, 540, 360, 96, 16, 0, 0, nullptr},
      {"CANCEL", 3, 1, 540, 380, 96, 16, 0, 0, nullptr},
  };
  for (const GEMBox& b : boxes) {
    ClearTarget(GEMScreen, 0);
    SDL_SetRenderTarget(SDLRenderer, GEMScreen);
    GEMDrawBox(b);
    Image one = ReadPixels(GEMScreen);
    for (int y = b.y - 1; y <= b.y + b.h; y++)
      for (int x = b.x - 1; x <= b.x + b.w; x++) want.at(x, y) = one.at(x, y);
  }
  // The arrow: the '^' cell's ink at columns 1..5, rows 1..6, doubled; flipped below.
  for (int fy = 0; fy < 6; fy++)
    for (int fx = 0; fx < 5; fx++)
      if (FontInk(8 * 62 + 1 + fx, 1 + fy)) {
        PaintRect(want, 491 + 2 * fx, 199 + 2 * fy, 2, 2, black);
        PaintRect(want, 491 + 2 * fx, 249 + 2 * (5 - fy), 2, 2, black);
      }
  EXPECT_TRUE(SameImage(got, want));
}
