#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "paint/paint.h"
#include "platform/platform.h"
#include "tests/support/gl.h"
#include "toolkit/toolkit.h"

static const uint32_t blue = Px(0, 0, 255, 255);

static void pushCtrl(SDL_Keycode sym) { PushKey(sym, false, KMOD_LCTRL); }
static void pushKeys(SDL_Keycode sym, int n) {
  for (int i = 0; i < n; i++) PushKey(sym);
}

class Editor : public ScreenTest {
 protected:
  Editor() : ScreenTest(Px(0x30, 0x20, 0x10, 255)) {}
  // The field at (8, 8), 200 x 24: 12 columns, text from (12, 12).
  GEMBox field(uint8_t type = 11, int32_t param2 = 0) {
    return {buf, 0x03, type, 8, 8, 200, 24, 0, param2, nullptr};
  }
  void setText(const std::string& t) {
    memset(buf, 0, sizeof buf);
    memcpy(buf, t.data(), t.size());
  }
  // Runs the editor over b with the events already queued.
  int32_t edit(const GEMBox& b) {
    int32_t r = GEMEdit(b);
    EXPECT_FALSE(SDL_IsTextInputActive());
    return r;
  }
  // GEMScreen as it should be: the box as GEMDrawBox draws it with the text from byte
  // first, and the blue cursor at x.
  Image expected(GEMBox b, int first, int cursorX) {
    ClearTarget(GEMScreen, bg);
    SDL_SetRenderTarget(SDLRenderer, GEMScreen);
    b.text += first;
    GEMDrawBox(b);
    Image want = ReadPixels(GEMScreen);
    PaintRect(want, cursorX, 12, 2, 16, blue);
    return want;
  }
  char buf[256];
};

TEST_F(Editor, ScrollsTwentyCharactersInTwelveColumns) {
  struct {
    int rights, first, cursorX;
    // clang-format off
  } cases[] = {
      {10, 4, 12 + 16 * 6 - 1},  // characters 4..15, cursor after the sixth glyph
      {16, 8, 12 + 16 * 8 - 1},  // characters 8..19, cursor after the eighth
      {3, 0, 12 + 16 * 3 - 1},   // from character 0
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rights);
    setText("abcdefghijklmnopqrst");
    ClearTarget(GEMScreen, bg);
    pushKeys(SDLK_RIGHT, c.rights);
    PushKey(SDLK_RETURN);
    EXPECT_EQ(edit(field()), 0);
    EXPECT_EQ(SDL_GetRenderTarget(SDLRenderer), SDLScreen);
    Image got = ReadPixels(GEMScreen), window = ReadPixels(nullptr);
    EXPECT_TRUE(SameImage(got, expected(field(), c.first, c.cursorX)));
    EXPECT_TRUE(SameImage(window, got, true)) << "the window shows GEMScreen";
  }
}

TEST_F(Editor, KeysTextAndMouse) {
  struct {
    const char* name;
    std::string text;
    int32_t param2;
    std::function<void()> events;
    std::string want;
    int cursorX;
    // clang-format off
  } cases[] = {
      {"Backspace after ą removes both bytes", "", 0,
       [] {
         PushText("ą");
         PushKey(SDLK_BACKSPACE);
       },
       "", 11},
      {"Left over ą, then typing before it", "aąb", 1,
       [] {
         pushKeys(SDLK_LEFT, 2);
         PushText("x");
       },
       "axąb", 12 + 32 - 1},
      {"Backspace at the start", "abc", 0, [] { PushKey(SDLK_BACKSPACE); }, "abc", 11},
      {"Delete, Home, End", "abcd", 0,
       [] {
         PushKey(SDLK_DELETE);
         PushKey(SDLK_END);
         PushText("ż");
         PushKey(SDLK_HOME);
         PushText("Ł");
       },
       "Łbcdż", 12 + 16 - 1},
      {"254 bytes take a one-byte character", std::string(254, 'a'), 1, [] { PushText("x"); },
       std::string(254, 'a') + "x", 12 + 16 * 12 - 1},
      {"254 bytes drop a two-byte letter", std::string(254, 'a'), 1, [] { PushText("ą"); },
       std::string(254, 'a'), 12 + 16 * 12 - 1},
      {"a three-byte character is refused", "ab", 1, [] { PushText("€"); }, "ab", 12 + 32 - 1},
      {"a click right of a short text puts the cursor at its end", "ab", 0,
       [] {
         PushClick(SDL_BUTTON_LEFT, 180, 15);
         PushText("Z");
       },
       "abZ", 12 + 48 - 1},
      {"a click on the second glyph", "abcd", 0,
       [] {
         PushClick(SDL_BUTTON_RIGHT, 8 + 16 + 3, 30);
         PushText("-");
       },
       "a-bcd", 12 + 32 - 1},
      {"C, X and V without Ctrl do nothing", "ab", 0,
       [] {
         PushKey(SDLK_x);
         PushKey(SDLK_v);
         PushKey(SDLK_c);
       },
       "ab", 11},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    setText(c.text);
    ClearTarget(GEMScreen, bg);
    c.events();
    PushKey(SDLK_KP_ENTER);
    EXPECT_EQ(edit(field(11, c.param2)), 0);
    EXPECT_EQ(std::string(buf), c.want);
    // The cursor: both of its columns blue from y 12 to 27.
    SDL_Rect r = {c.cursorX, 12, 2, 16};
    Image cursor = ReadPixels(GEMScreen, &r);
    EXPECT_TRUE(SameImage(cursor, Image(2, 16, blue)));
  }
}

TEST_F(Editor, EndsOnAPressOutsideReturnOrQuit) {
  struct {
    const char* name;
    uint8_t flags, quitBefore;
    std::function<void()> events;
    int32_t result;
    uint8_t quitAfter;
    int left;  // events still queued afterwards
    // clang-format off
  } cases[] = {
      {"press outside", 0x03, 0, [] { PushClick(SDL_BUTTON_MIDDLE, 300, 100); }, 0, 0, 1},
      {"press on the rim", 0x03, 0, [] { PushButton(true, SDL_BUTTON_LEFT, 7, 10); }, 0, 0, 0},
      {"Return", 0x03, 0, [] { PushKey(SDLK_RETURN); }, 0, 0, 0},
      {"quit request", 0x03, 0, [] { PushQuit(); }, 1, 1, 0},
      {"flags 0: not edited", 0x00, 0, [] { PushKey(SDLK_RETURN); }, 0, 0, 1},
      {"enabled alone is edited", 0x01, 0, [] { PushKey(SDLK_RETURN); }, 0, 0, 0},
      {"Quit 4 at entry reads nothing", 0x03, 4, [] { PushKey(SDLK_RETURN); }, 0, 0, 1},
      {"Quit 1 at entry reads nothing", 0x03, 1, [] { PushKey(SDLK_RETURN); }, 1, 1, 1},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DrainEvents();
    setText("abc");
    c.events();
    Quit = c.quitBefore;
    GEMBox b = field();
    b.flags = c.flags;
    EXPECT_EQ(edit(b), c.result);
    EXPECT_EQ(Quit, c.quitAfter);
    EXPECT_EQ(SDL_PeepEvents(nullptr, 8, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT), c.left);
    EXPECT_STREQ(buf, "abc");
  }
  Quit = 0;
}

TEST_F(Editor, WithoutGEMScreenDrawsOnTheWindow) {
  SDL_Texture* screen = GEMScreen;
  GEMScreen = nullptr;
  ClearTarget(nullptr, bg);
  SDLTargetWindow();
  setText("abc");
  PushKey(SDLK_END);
  PushKey(SDLK_RETURN);
  EXPECT_EQ(edit(field()), 0);
  GEMScreen = screen;
  SDL_Rect r = {12 + 48 - 1, 12, 2, 16};
  EXPECT_TRUE(SameImage(ReadPixels(nullptr, &r), Image(2, 16, blue), true));
}

// Runs cmd in a thread while the main thread keeps SDL's X connection served (and its
// requests flushed), so SDL can answer the other client and its own requests reach the
// server. then() runs first, on the main thread. Returns cmd's output.
static std::string runServed(
    const std::string& cmd, const std::function<void()>& then = [] {}) {
  std::string out;
  std::atomic<bool> done{false};
  std::thread t([&] {
    if (FILE* p = popen(cmd.c_str(), "r")) {
      for (int ch; (ch = fgetc(p)) != EOF;) out += (char)ch;
      pclose(p);
    }
    done = true;
  });
  then();
  while (!done) {
    SDL_PumpEvents();
    SDL_Delay(1);
  }
  t.join();
  DrainEvents();
  return out;
}

// The X clipboard is one for the whole server: every test of it is here, so no other
// test process changes it meanwhile. Last, a round trip with another client (xclip).
TEST_F(Editor, CutCopyAndPasteThroughTheXClipboard) {
  setText("Zażółć");
  pushCtrl(SDLK_x);
  PushKey(SDLK_RETURN);
  EXPECT_EQ(edit(field()), 0);
  EXPECT_STREQ(buf, "");
  char* clip = SDL_GetClipboardText();
  EXPECT_STREQ(clip, "Zażółć");
  SDL_free(clip);

  PushKey(SDLK_v, false, KMOD_RCTRL);
  PushText("!");  // typed at the cursor, which the paste left at the end
  PushKey(SDLK_RETURN);
  EXPECT_EQ(edit(field()), 0);
  EXPECT_STREQ(buf, "Zażółć!");

  // A paste too long for the buffer is cut before the letter that does not fit.
  SDL_SetClipboardText((std::string(254, 'a') + "ąb").c_str());
  setText("old");
  pushCtrl(SDLK_v);
  PushKey(SDLK_RETURN);
  EXPECT_EQ(edit(field()), 0);
  EXPECT_EQ(std::string(buf), std::string(254, 'a'));

  // One holding a character of three bytes is refused whole.
  SDL_SetClipboardText("cena 5€");
  setText("old");
  pushCtrl(SDLK_v);
  PushKey(SDLK_RETURN);
  EXPECT_EQ(edit(field()), 0);
  EXPECT_STREQ(buf, "old");

  // Copy: another program reads what Ctrl+C put there.
  setText("Łódź.PI1");
  pushCtrl(SDLK_c);
  PushKey(SDLK_RETURN);
  EXPECT_EQ(edit(field()), 0);
  EXPECT_EQ(runServed("timeout 10 xclip -o -selection clipboard"), "Łódź.PI1");

  // Paste: another program owns the clipboard until we take it back, which ends it.
  runServed("printf 'żółw.BMP' | timeout 20 xclip -quiet -selection clipboard -i 2>&1", [&] {
    for (int i = 0; i < 5000; i++) {  // until the clipboard is the other program's
      char* now = SDL_GetClipboardText();
      bool theirs = now && strcmp(now, "żółw.BMP") == 0;
      SDL_free(now);
      if (theirs) break;
      SDL_Delay(2);
    }
    setText("old");
    pushCtrl(SDLK_v);
    PushKey(SDLK_RETURN);
    EXPECT_EQ(edit(field()), 0);
    EXPECT_STREQ(buf, "żółw.BMP");
    SDL_SetClipboardText("ours again");
  });
}
