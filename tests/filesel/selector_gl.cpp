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
#include "tests/support/alerts.h"
#include "tests/support/gl.h"
#include "tests/support/mounts.h"
#include "tests/support/scratch.h"

// This binary links with SDL_Delay and SDL_GetBasePath wrapped: the lever's passes are
// counted, and SDL can be made to know no base path.
static std::atomic<int> delays{0};
static bool noBasePath = false;
static std::string fakeBasePath;  // where SDL says the binary is, if not empty
extern "C" void __real_SDL_Delay(Uint32 ms);
extern "C" void __wrap_SDL_Delay(Uint32 ms) {
  delays++;
  __real_SDL_Delay(ms);
}
extern "C" char* __real_SDL_GetBasePath();
extern "C" char* __wrap_SDL_GetBasePath() {
  if (!fakeBasePath.empty()) return SDL_strdup(fakeBasePath.c_str());
  return noBasePath ? nullptr : __real_SDL_GetBasePath();
}
// The texts of the alerts shown.
static std::vector<std::string>& alerts = ShownAlerts();

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
  void TearDown() override {
    noBasePath = false;
    fakeBasePath.clear();
  }
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
  // One way through the dialog: where it starts, what the user does, what it returns
  // and leaves in the name buffer, and the texts of the alerts shown on the way.
  struct Ending {
    const char* name;
    std::string dir;
    std::vector<Step> steps;
    int32_t result;
    std::string want;
    std::vector<std::string> alerts = {};
    bool noBase = false;  // SDL knows no base path
  };
  void expectEndings(const std::vector<Ending>& cases) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      noBasePath = c.noBase;
      alerts.clear();
      EXPECT_EQ(run(c.dir, c.steps), c.result);
      noBasePath = false;
      EXPECT_EQ(std::string(name), c.want);
      EXPECT_EQ(alerts, c.alerts);
      EXPECT_EQ(SDL_GetRenderTarget(SDLRenderer), SDLScreen);
      EXPECT_EQ(Quit, strncmp(c.name, "quit", 4) == 0 ? 1 : 0) << "only a quit request is left";
      Quit = 0;
    }
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
  expectEndings({
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
      {"keypad Enter",
       d,
       {[] { press(SDLK_KP_ENTER); }, [] { press(SDLK_KP_ENTER); }},
       0,
       d + ".BMP"},
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
       {},
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
       d + "a.PI1",
       {"OPEN DIR ERROR"}},
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
  });
}

// Escape as "CANCEL", wherever the dialog waits; "~" as the home directory, here t's
// subdirectory "sub". HOME is set for the test.
TEST_F(Selector, EscapeCancelsAndATildeIsHome) {
  const std::string d = t.slash(), home = d + "sub";
  const char* oldHome = getenv("HOME");
  const std::string kept = oldHome ? oldHome : "";
  setenv("HOME", home.c_str(), 1);
  expectEndings({
      {"Escape while the name is edited",
       d,
       {[] { type("x"); }, [] { press(SDLK_ESCAPE); }},
       -1,
       ".BMP"},
      {"Escape after a file was picked",
       d,
       {[] { press(SDLK_RETURN); }, [] { click(100, rowY(1)); }, [] { press(SDLK_ESCAPE); }},
       -1,
       ".BMP"},
      {"Escape while the directory is edited",
       d,
       {[] { press(SDLK_RETURN); }, [] { click(100, 56); }, [] { press(SDLK_ESCAPE); }},
       -1,
       ".BMP"},
      {"a name in home, Enter",
       d,
       {[] { press(SDLK_HOME); }, [] { type("~/"); }, [] { press(SDLK_RETURN); },
        [] { press(SDLK_RETURN); }},
       0,
       home + "/.BMP"},
      {"a name in home, OK",
       d,
       {[] { type("~/kot"); }, [] { press(SDLK_RETURN); }, [] { click(okX, okY); }},
       0,
       home + "/kot.BMP"},
      {"~ alone as the name goes home, the name as offered",
       d,
       {[] { PushKey(SDLK_x, false, KMOD_CTRL); }, [] { type("~"); }, [] { press(SDLK_RETURN); },
        [] { press(SDLK_RETURN); }, [] { press(SDLK_RETURN); }},
       0,
       home + "/.BMP"},
      {"a directory typed as ~/",
       d,
       {[] { press(SDLK_RETURN); }, [] { click(100, 56); },
        [] { PushKey(SDLK_x, false, KMOD_CTRL); }, [] { type("~/"); }, [] { press(SDLK_RETURN); },
        [] { press(SDLK_RETURN); }},
       0,
       home + "/.BMP"},
  });
  if (oldHome)
    setenv("HOME", kept.c_str(), 1);
  else
    unsetenv("HOME");
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
    // clang-format off
  } cases[] = {
      {"40 below: two rows down", {270}, 2},
      {"15 below: still", {245}, 0},
      {"to the last page and no further", {390, 390, 390, 390, 390}, 40},
      {"down ten, then 33 above: two up", {390, 197}, 8},
      {"above the middle at the top", {100}, 0},
  };
  // clang-format on
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

// The wheel three rows a notch, Page Up and Page Down a page, Home and End outside a
// field to the first and the last page, within the list; the dialog's opening edit or
// a field's ends for them. Over the 60 files the last page starts at 40.
TEST_F(Lever, TheWheelAndThePageKeysScroll) {
  const Step enter = [] { press(SDLK_RETURN); };
  struct {
    const char* name;
    std::vector<Step> steps;
    int first;
    // clang-format off
  } cases[] = {
      {"a notch down", {enter, [] { PushWheel(-1); }}, 3},
      {"a notch down while the name is edited", {[] { PushWheel(-1); }}, 3},
      {"reported flipped", {enter, [] { PushWheel(-1, true); }}, 3},
      {"two notches in one turn, one back", {enter, [] { PushWheel(-2); }, [] { PushWheel(1); }}, 3},
      {"up at the top", {enter, [] { PushWheel(2); }}, 0},
      {"down past the end", {enter, [] { PushWheel(-30); }}, 40},
      {"Page Down", {enter, [] { press(SDLK_PAGEDOWN); }}, 20},
      {"Page Down while the name is edited", {[] { press(SDLK_PAGEDOWN); }}, 20},
      {"Page Down three times", {enter, [] { press(SDLK_PAGEDOWN); }, [] { press(SDLK_PAGEDOWN); },
                                 [] { press(SDLK_PAGEDOWN); }}, 40},
      {"Page Down, Page Up", {enter, [] { press(SDLK_PAGEDOWN); }, [] { press(SDLK_PAGEUP); }}, 0},
      {"End", {enter, [] { press(SDLK_END); }}, 40},
      {"End, Home", {enter, [] { press(SDLK_END); }, [] { press(SDLK_HOME); }}, 0},
      {"End in the name field moves its cursor only",
       {[] { press(SDLK_END); }, [] { type("x"); }, enter}, 0},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Step> steps = c.steps;
    steps.push_back([] { click(okX, cancelY); });
    EXPECT_EQ(run(l.path, steps, ""), -1);
    EXPECT_TRUE(SameImage(shown(), listAt(names, c.first)));
    EXPECT_FALSE(GEMHabits) << "the keys are the dialog's only";
  }
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
    // clang-format off
  } cases[] = {
      {"held below the middle", 230, 390, 8, 40},  // +10 a pass
      {"held above the middle", 390, 197, 8, 0},   // +10 once, then -2 a pass
      {"held near the middle", 390, 240, 8, 10},   // within 15 pixels: still
  };
  // clang-format on
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
  // clang-format off
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
  // clang-format on
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

// A directory and a name that together pass 255 bytes are never cut to fit: the dialog
// says so ("Za długa nazwa pliku") and stays, whether the name was to be returned or
// entered as a directory. L is a directory whose path takes 251 bytes with its '/'.
TEST_F(Selector, APathThatDoesNotFitIsRefusedNeverCut) {
  const std::string a(200, 'a'), L = t.slash() + a + "/" + std::string(25, 'b') + "/";
  ASSERT_EQ(L.size(), 251u);
  ASSERT_EQ(system(("mkdir -p '" + L + "sub' '" + L + "subdir' '" + t.slash() + a + "/" +
                    std::string(30, 'c') + "'")
                       .c_str()),
            0);
  t.file(a + "/" + std::string(25, 'b') + "/x.PI1");
  const std::string typedDir = a + "/" + std::string(30, 'c');  // 255 bytes after d
  ASSERT_EQ(t.slash().size() + typedDir.size(), 255u);
  const Step cancel = [] { click(okX, cancelY); }, answer = [] { press(SDLK_ESCAPE); };
  const std::vector<std::string> tooLong = {"Za długa nazwa pliku"};
  expectEndings({
      {"OK with a typed name",
       L,
       {[] { type("notes"); }, [] { press(SDLK_RETURN); }, [] { click(okX, okY); }, answer, cancel},
       -1,
       ".BMP",
       tooLong},
      {"Enter with a typed name",
       L,
       {[] { type("notes"); }, [] { press(SDLK_RETURN); }, [] { press(SDLK_RETURN); }, answer,
        cancel},
       -1,
       ".BMP",
       tooLong},
      {"a double click on a file",
       L,
       {[] { press(SDLK_RETURN); }, [] { click(100, rowY(2), 2); }, answer, cancel},
       -1,
       ".BMP",
       tooLong},
      {"a click on a subdirectory: the directory stays",
       L,
       {[] { press(SDLK_RETURN); }, [] { click(100, rowY(1)); }, answer, [] { click(okX, okY); }},
       0,
       L + ".BMP",
       tooLong},
      {"a directory typed that leaves no room for its '/'",
       t.slash(),
       {[] { press(SDLK_RETURN); }, [] { click(300, 55); }, [] { press(SDLK_END); },
        [&] {
          for (size_t i = 0; i < typedDir.size(); i += 31) type(typedDir.substr(i, 31).c_str());
        },
        [] { press(SDLK_RETURN); }, answer, [] { click(okX, okY); }},
       0,
       t.slash() + ".BMP",
       tooLong},
  });
}

// What an entry is comes from the directory, not from its first byte: a regular file
// whose name begins with 0x7F (the directories' marker, which it still shows) is a file.
TEST_F(Selector, AFileNamedWithTheMarkerIsAFile) {
  Scratch odd{"odd"};
  odd.dir("sub");
  odd.file(
      "\x7F"
      "odd.PI1");
  odd.file("z.PI1");
  alerts.clear();
  // Directories first: sub, then the files in byte order, z.PI1 before the 0x7F.
  EXPECT_EQ(run(odd.path, {[] { press(SDLK_RETURN); }, [] { click(100, rowY(2), 2); },
                           [] { click(okX, cancelY); }}),
            0);
  EXPECT_EQ(std::string(name), odd.slash() +
                                   "\x7F"
                                   "odd.PI1");
  EXPECT_EQ(alerts, std::vector<std::string>{});
}

// "UP" goes to the parent of the directory the path leads to, and shows it: a path
// through ".." or a link is resolved first, not cut as text.
TEST_F(Selector, UpGoesToTheParentOfTheResolvedDirectory) {
  t.link("/usr/share", "shared");
  char* real = realpath(t.path.c_str(), nullptr);
  ASSERT_NE(real, nullptr);
  std::string parent = real;
  free(real);
  parent.erase(parent.rfind('/') + 1);
  struct {
    const char* name;
    std::string dir, want;
    // clang-format off
  } cases[] = {
      {"through ..", t.slash() + "sub/../", parent + ".BMP"},
      {"through a link", t.slash() + "shared/", "/usr/.BMP"},
      {"a plain path", t.slash() + "sub/", t.slash() + ".BMP"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(run(c.dir,
                  {[] { press(SDLK_RETURN); }, [] { click(okX, upY); }, [] { click(okX, okY); }}),
              0);
    EXPECT_EQ(std::string(name), c.want);
  }
}

// Where a load or a save opens, with the environment a desktop gives: HOME,
// XDG_CONFIG_HOME and XDG_STATE_HOME in a scratch home, the binary where the build put
// it or in an installed tree (bin/ beside share/tarksen/ with the font).
class Opens : public Selector {
 protected:
  void SetUp() override {
    Selector::SetUp();
    for (const char* v : {"HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME"}) {
      const char* e = getenv(v);
      saved.push_back({v, e ? e : "", e != nullptr});
    }
    setenv("HOME", h.path.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (h / ".config").c_str(), 1);
    setenv("XDG_STATE_HOME", (h / "state").c_str(), 1);
    h.dir(".config");
    h.dir("Obrazy");
    h.dir("inne");
    inst.dir("bin");
    inst.dir("share");
    inst.dir("share/tarksen");
    inst.file("share/tarksen/BASFont.bmp");
  }
  void TearDown() override {
    for (const auto& v : saved)
      if (v.set)
        setenv(v.name, v.value.c_str(), 1);
      else
        unsetenv(v.name);
    Selector::TearDown();
  }
  std::string start() {
    char d[256];
    FSStartDir(d);
    return d;
  }
  struct Var {
    const char* name;
    std::string value;
    bool set;
  };
  std::vector<Var> saved;
  Scratch h{"home"}, inst{"inst"};
};

TEST_F(Opens, TheBaseDirectoryBuiltOrInstalled) {
  char* sdlBase = SDL_GetBasePath();
  const std::string built = sdlBase;
  SDL_free(sdlBase);
  const std::string home = h.slash(), pictures = home + "Obrazy/";
  struct {
    const char* name;
    bool installed;
    const char* userDirs;  // null: no file
    std::string base;
    // clang-format off
  } cases[] = {
      {"built, pictures named", false, "XDG_PICTURES_DIR=\"$HOME/Obrazy\"\n", built},
      {"installed, pictures named", true, "XDG_PICTURES_DIR=\"$HOME/Obrazy\"\n", pictures},
      {"installed, no user-dirs.dirs", true, nullptr, home},
      {"installed, pictures named but missing", true, "XDG_PICTURES_DIR=\"$HOME/Brak\"\n", home},
      {"installed, a file named as pictures", true, "XDG_PICTURES_DIR=\"$HOME/.config/user-dirs.dirs\"\n",
       home},
      {"installed, garbled", true, "\x01\x02XDG_PICTURES_DIR\n\xFF", home},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fakeBasePath = c.installed ? inst.slash() + "bin/" : "";
    remove((h / ".config/user-dirs.dirs").c_str());
    if (c.userDirs) {
      ASSERT_TRUE(WriteText(h / ".config/user-dirs.dirs", c.userDirs));
    }
    char base[256];
    FSBaseDir(base);
    EXPECT_EQ(std::string(base), c.base);
    FSLastRunRead = false;
    EXPECT_EQ(start(), c.base) << "nothing remembered: the dialogs open there";
  }
}

TEST_F(Opens, ThisRunsDirectoryElseTheLastRunsElseTheBase) {
  fakeBasePath = inst.slash() + "bin/";
  const std::string home = h.slash(), other = home + "inne/", pictures = home + "Obrazy/";
  ASSERT_TRUE(WriteText(h / ".config/user-dirs.dirs", "XDG_PICTURES_DIR=\"$HOME/Obrazy\"\n"));
  const std::string state = h / "state/tarksen/katalog";

  FSRemember((other + "kot.PI1").c_str());
  EXPECT_EQ(start(), other);
  EXPECT_EQ(ReadText(state), other + "\n") << "kept, the state directories made";
  char cwd[256];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(chdir(pictures.c_str()), 0);
  FSRemember("rel/kot.PI1");
  EXPECT_EQ(std::string(FSLastDir.s), pictures + "rel/") << "relative to the working directory";
  ASSERT_EQ(chdir(cwd), 0);

  struct {
    const char* name;
    std::string thisRun, kept;  // kept: the state file's bytes, "-" none
    std::string opens;
    // clang-format off
  } cases[] = {
      {"this run's", other, pictures + "\n", other},
      {"this run's gone: the last run's", home + "gone/", other + "\n", other},
      {"nothing this run: the last run's", "", other + "\n", other},
      {"the last run's gone: the base", "", home + "gone/\n", pictures},
      {"garbled: the base", "", "\x89PNG\r\n", pictures},
      {"no file: the base", "", "-", pictures},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FILESEL_GLOBALS(GLOBAL_RESET)
    SDL_strlcpy(FSLastDir.s, c.thisRun.c_str(), sizeof FSLastDir.s);
    remove(state.c_str());
    if (c.kept != "-") {
      ASSERT_TRUE(WriteText(state, c.kept));
    }
    EXPECT_EQ(start(), c.opens);
  }

  // A state directory that cannot be written changes nothing else.
  FILESEL_GLOBALS(GLOBAL_RESET)
  remove(state.c_str());
  rmdir((h / "state/tarksen").c_str());
  std::string refused = MountTmpfs(h / "state", 64, true);
  if (!refused.empty()) GTEST_SKIP() << refused;
  FSRemember((other + "kot.PI1").c_str());
  EXPECT_EQ(start(), other);
  EXPECT_NE(access((h / "state/tarksen").c_str(), F_OK), 0);
  Unmount(h / "state");
}
