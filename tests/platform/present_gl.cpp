// The scaled window: what SDLPresent puts on the real window at each size, how the
// window's input reaches the program, and the full-screen keys.
#include <thread>

#include "platform/platform.h"
#include "tests/support/gl.h"

// A 640x400 screen in which every pixel tells its place: no two neighbours alike, so
// a square shifted or stretched by one pixel shows.
static Image Pattern() {
  Image img(640, 400);
  for (int y = 0; y < 400; y++)
    for (int x = 0; x < 640; x++)
      img.at(x, y) = Px(uint8_t(x * 7), uint8_t(y * 5), uint8_t((x + y) * 3), 255);
  return img;
}

// The window as a user sees it: black, and img enlarged n times with its corner at (ox, oy).
static Image Shown(const Image& img, int w, int h, int n, int ox, int oy) {
  Image out(w, h, Px(0, 0, 0, 255));
  for (int y = 0; y < img.h * n; y++)
    for (int x = 0; x < img.w * n; x++)
      if (ox + x >= 0 && oy + y >= 0 && ox + x < w && oy + y < h)
        out.at(ox + x, oy + y) = img.at(x / n, y / n);
  return out;
}

// The real window's pixels, as the last present left them.
static Image ReadWindow() {
  SDL_Texture* old = SDL_GetRenderTarget(SDLRenderer);
  SDL_SetRenderTarget(SDLRenderer, nullptr);
  int w, h;
  SDL_GetRendererOutputSize(SDLRenderer, &w, &h);
  Image img(w, h);
  SDL_Rect r = {0, 0, w, h};
  SDL_RenderReadPixels(SDLRenderer, &r, SDL_PIXELFORMAT_ABGR8888, img.px.data(), w * 4);
  SDL_SetRenderTarget(SDLRenderer, old);
  return img;
}

// Gives the window a size for one test and the described 640x400 back afterwards.
class Scaled : public GLTest {
 protected:
  void resize(int w, int h) {
    SDL_SetWindowSize(SDLWindow, w, h);
    int gw, gh;
    SDL_GetWindowSize(SDLWindow, &gw, &gh);
    ASSERT_EQ(gw, w);
    ASSERT_EQ(gh, h);
    SDLPresent();  // what a size change shows; it also measures the window anew
    DrainEvents();
  }
  void TearDown() override {
    SDL_SetWindowSize(SDLWindow, 640, 400);
    SDLPresent();
    DrainEvents();
  }
};

TEST_F(Scaled, PresentShowsEveryPixelAsAWholeSquareCentredOnBlack) {
  struct {
    int w, h, n, ox, oy;
    // clang-format off
  } cases[] = {
      {640, 400, 1, 0, 0},    // the described window, exactly
      {700, 500, 1, 30, 50},  // larger, but not twice: centred
      {1280, 800, 2, 0, 0},
      {1400, 900, 2, 60, 50},
      {1920, 1200, 3, 0, 0},
  };
  // clang-format on
  Image img = Pattern();
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
    resize(c.w, c.h);
    SDL_UpdateTexture(SDLScreen, nullptr, img.px.data(), 640 * 4);
    SDL_SetRenderTarget(SDLRenderer, GEMScreen);
    SDL_SetRenderDrawColor(SDLRenderer, 1, 2, 3, 4);
    SDLPresent();
    EXPECT_EQ(SDL_GetRenderTarget(SDLRenderer), GEMScreen) << "the caller's target is back";
    Uint8 r, g, b, a;
    SDL_GetRenderDrawColor(SDLRenderer, &r, &g, &b, &a);
    EXPECT_EQ(Px(r, g, b, a), Px(1, 2, 3, 4)) << "and its draw colour";
    EXPECT_TRUE(SameImage(ReadWindow(), Shown(img, c.w, c.h, c.n, c.ox, c.oy), true));
    EXPECT_TRUE(SameImage(ReadPixels(SDLScreen), img)) << "the screen itself is untouched";
  }
}

TEST_F(Scaled, ASizeChangeShowsTheScreenAgain) {
  resize(1280, 800);
  Image img = Pattern();
  SDL_UpdateTexture(SDLScreen, nullptr, img.px.data(), 640 * 4);
  PushWindowEvent(SDL_WINDOWEVENT_SIZE_CHANGED);
  EXPECT_TRUE(SameImage(ReadWindow(), Shown(img, 1280, 800, 2, 0, 0), true));
}

// Events pushed in window coordinates at scale 2 in a 1400x900 window, the picture's
// corner at (60, 50), as they come out of SDL's queue.
TEST_F(Scaled, PointerPositionsBecomePicturePositions) {
  resize(1400, 900);
  enum Kind { MOTION, DOWN, UP };
  struct {
    const char* what;
    Kind kind;
    uint8_t button;  // DOWN, UP: the button; MOTION: the mask held
    int x, y;
    bool through;  // reaches the queue
    int px = 0, py = 0;
    uint8_t mask = 0;  // MOTION: the mask the program sees
    // clang-format off
  } steps[] = {
      {"motion on the first square", MOTION, 0, 61, 51, true, 0, 0, 0},
      {"motion on the last square", MOTION, 0, 1339, 849, true, 639, 399, 0},
      {"motion in the border, left", MOTION, 0, 10, 300, true, 0, 125, 0},
      {"press in the border: dropped", DOWN, 1, 10, 300, false},
      {"a drag from there hides the button", MOTION, SDL_BUTTON_LMASK, 100, 100, true, 20, 25, 0},
      {"its release is dropped too", UP, 1, 100, 100, false},
      {"press on the picture", DOWN, 1, 100, 100, true, 20, 25},
      {"drag into the border: clamped", MOTION, SDL_BUTTON_LMASK, 1395, 60, true, 639, 5,
       SDL_BUTTON_LMASK},
      {"another press there, during the drag", DOWN, 3, 1395, 899, true, 639, 399},
      {"release in the border: clamped", UP, 3, 1395, 899, true, 639, 399},
      {"release of the drag's button", UP, 1, 0, 0, true, 0, 0},
      {"a lone press in the border again: dropped", DOWN, 3, 1399, 0, false},
      {"its release", UP, 3, 1399, 0, false},
  };
  // clang-format on
  for (const auto& s : steps) {
    SCOPED_TRACE(s.what);
    if (s.kind == MOTION)
      PushMotion(s.x, s.y, s.button);
    else
      PushButton(s.kind == DOWN, s.button, s.x, s.y);
    SDL_Event e;
    bool got = SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_MOUSEMOTION, SDL_MOUSEBUTTONUP) == 1;
    ASSERT_EQ(got, s.through);
    if (!got) continue;
    if (s.kind == MOTION) {
      EXPECT_EQ(e.motion.x, s.px);
      EXPECT_EQ(e.motion.y, s.py);
      EXPECT_EQ(e.motion.state, s.mask);
    } else {
      EXPECT_EQ(e.button.button, s.button);
      EXPECT_EQ(e.button.x, s.px);
      EXPECT_EQ(e.button.y, s.py);
    }
  }
}

using FullscreenKeys = GLTest;

TEST_F(FullscreenKeys, NeverReachTheProgram) {
  struct {
    SDL_Keycode sym;
    uint16_t mod;
    bool repeat;
    bool through;
    // clang-format off
  } keys[] = {
      {SDLK_F11, 0, false, false},
      {SDLK_F11, 0, true, false},  // held down: dropped, and switches nothing
      {SDLK_RETURN, KMOD_LALT, false, false},
      {SDLK_KP_ENTER, KMOD_RALT, false, false},
      {SDLK_F11, KMOD_LSHIFT, false, false},
      {SDLK_RETURN, 0, false, true},
      {SDLK_KP_ENTER, KMOD_LCTRL, false, true},
      {SDLK_F10, 0, false, true},
      {SDLK_a, KMOD_LALT, false, true},
  };
  // clang-format on
  for (const auto& k : keys) {
    SCOPED_TRACE(testing::Message()
                 << SDL_GetKeyName(k.sym) << " mod " << k.mod << (k.repeat ? " repeat" : ""));
    // From another thread, as a test's feeding thread pushes: the filter takes the keys
    // there too, but switches only from the window's own thread. Without a window
    // manager (as here) a switch would leave SDL's idea of the window's size wrong for
    // the tests after; the switch itself is the e2e tier's.
    std::thread([&] { PushKey(k.sym, k.repeat, k.mod); }).join();
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYUP), k.through ? 1 : 0);
    DrainEvents();
  }
  EXPECT_FALSE(SDL_GetWindowFlags(SDLWindow) & SDL_WINDOW_FULLSCREEN);
  int w, h;
  SDL_GetWindowSize(SDLWindow, &w, &h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 400);
  GetSDLEvents();
  EXPECT_EQ(InKey, 0);
}
