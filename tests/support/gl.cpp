#include "tests/support/gl.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "paint/paint.h"
#include "picfiles/picfiles.h"
#include "platform/platform.h"
#include "raster/raster.h"
#include "strrt/strrt.h"
#include "toolkit/toolkit.h"

// Whether this thread is inside SDL_PushEvent on behalf of a test.
static thread_local bool pushing = false;
// Set while a test drives the real X server (RealInput): its events get through.
static std::atomic<int> realInput{0};

// Drops input and window events that no test pushed. Other test binaries open and
// close windows on the same X display all the time; each time the pointer enters or
// leaves ours, or a window over it goes away, the server tells us, and SDL turns that
// into a motion, focus or expose event in the middle of a pushed sequence. SDL runs
// the filter in the thread that adds the event, so a push from a feeding thread is
// told apart from the X events the main thread pumps meanwhile.
static int SDLCALL onlyPushed(void*, SDL_Event* e) {
  switch (e->type) {
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_TEXTEDITING:
    case SDL_TEXTINPUT:
    case SDL_WINDOWEVENT:
      return pushing || realInput > 0;
    default:
      return 1;
  }
}

// One window, renderer and set of textures for the whole test binary.
class GLEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    SDLInit(0);
    SDL_RendererInfo info;
    if (!SDLRenderer || SDL_GetRendererInfo(SDLRenderer, &info) != 0 ||
        std::string(info.name) != "opengl") {
      fprintf(stderr,
              "\n*** FATAL: these tests need SDL's OpenGL renderer (under Xvfb with Mesa); got "
              "'%s'. The software renderer cannot do the \"Inwersja\" blend mode. ***\n\n",
              SDLRenderer ? info.name : "no renderer");
      exit(2);
    }
    przygotuj();
    SDL_SetEventFilter(onlyPushed, nullptr);
  }
};
static testing::Environment* const glEnv = testing::AddGlobalTestEnvironment(new GLEnvironment);

void ResetGlobals() {
  PLATFORM_GLOBALS(GLOBAL_RESET)
  RASTER_GLOBALS(GLOBAL_RESET)
  TOOLKIT_GLOBALS(GLOBAL_RESET)
  PICFILES_GLOBALS(GLOBAL_RESET)
  PAINT_GLOBALS(GLOBAL_RESET)
  zapomnij();  // the picture's history
  GEMInit();  // GPR.font, as start-up left it
}

void GLTest::SetUp() {
  ResetGlobals();
  DrainEvents();
  SDL_SetRenderTarget(SDLRenderer, nullptr);
  SDL_SetRenderDrawColor(SDLRenderer, 0, 0, 0, 255);
  SDL_SetRenderDrawBlendMode(SDLRenderer, SDL_BLENDMODE_NONE);
  if (BASFont) SDL_SetTextureColorMod(BASFont, 255, 255, 255);
}

void ScreenTest::SetUp() {
  GLTest::SetUp();
  ASSERT_NE(BASFont, nullptr) << "BASFont.bmp must be in the working directory";
  ClearTarget(GEMScreen, bg);
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
}

Image ReadPixels(SDL_Texture* t, const SDL_Rect* rect) {
  SDL_Texture* old = SDL_GetRenderTarget(SDLRenderer);
  SDL_SetRenderTarget(SDLRenderer, t);
  SDL_Rect r;
  if (rect) {
    r = *rect;
  } else if (t) {
    r.x = r.y = 0;
    SDL_QueryTexture(t, nullptr, nullptr, &r.w, &r.h);
  } else {
    r = {0, 0, 640, 400};
  }
  Image img(r.w, r.h);
  SDL_RenderReadPixels(SDLRenderer, &r, SDL_PIXELFORMAT_ABGR8888, img.px.data(), r.w * 4);
  SDL_SetRenderTarget(SDLRenderer, old);
  return img;
}

void ClearTarget(SDL_Texture* t, uint32_t c) {
  SDL_Texture* old = SDL_GetRenderTarget(SDLRenderer);
  SDL_SetRenderTarget(SDLRenderer, t);
  SDL_BlendMode m;
  SDL_GetRenderDrawBlendMode(SDLRenderer, &m);
  SDL_SetRenderDrawBlendMode(SDLRenderer, SDL_BLENDMODE_NONE);
  SDLDrawColor(c);
  SDL_RenderClear(SDLRenderer);
  SDL_SetRenderDrawBlendMode(SDLRenderer, m);
  SDL_SetRenderTarget(SDLRenderer, old);
}

static void saveImage(const Image& img, const std::string& name) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<uint32_t*>(img.px.data()), img.w, img.h, 32, img.w * 4, SDL_PIXELFORMAT_ABGR8888);
  if (!s) return;
  SDL_SaveBMP(s, name.c_str());
  SDL_FreeSurface(s);
}

testing::AssertionResult SameImage(const Image& actual, const Image& expected, bool rgbOnly) {
  if (actual.w != expected.w || actual.h != expected.h)
    return testing::AssertionFailure() << "size " << actual.w << "x" << actual.h
                                       << ", expected " << expected.w << "x" << expected.h;
  uint32_t mask = rgbOnly ? 0xFFFFFF : 0xFFFFFFFF;
  size_t wrong = 0;
  int fx = -1, fy = -1;
  for (int y = 0; y < actual.h; y++)
    for (int x = 0; x < actual.w; x++)
      if ((actual.at(x, y) & mask) != (expected.at(x, y) & mask)) {
        if (!wrong++) fx = x, fy = y;
      }
  if (!wrong) return testing::AssertionSuccess();
  const testing::TestInfo* ti = testing::UnitTest::GetInstance()->current_test_info();
  std::string base = std::string(ti ? ti->test_suite_name() : "image") + "." +
                     (ti ? ti->name() : "x");
  for (char& c : base)
    if (c == '/') c = '_';
  saveImage(actual, base + ".actual.bmp");
  saveImage(expected, base + ".expected.bmp");
  char buf[200];
  snprintf(buf, sizeof buf, "%zu wrong pixels; first at (%d, %d): expected %08X, got %08X",
           wrong, fx, fy, expected.at(fx, fy) & mask, actual.at(fx, fy) & mask);
  return testing::AssertionFailure() << buf << " (images saved as " << base
                                     << ".{actual,expected}.bmp)";
}

void PaintRect(Image& img, int x, int y, int w, int h, uint32_t c) {
  for (int py = y < 0 ? 0 : y; py < y + h && py < img.h; py++)
    for (int px = x < 0 ? 0 : x; px < x + w && px < img.w; px++) img.at(px, py) = c;
}

bool FontInk(int x, int y) {
  static Image font;
  static SDL_Surface* from = nullptr;
  if (from != SDLSurface) {
    from = SDLSurface;
    SDL_Surface* s = SDL_ConvertSurfaceFormat(SDLSurface, SDL_PIXELFORMAT_ABGR8888, 0);
    font = Image(s->w, s->h);
    for (int fy = 0; fy < s->h; fy++)
      memcpy(&font.at(0, fy), (uint8_t*)s->pixels + fy * s->pitch, size_t(s->w) * 4);
    SDL_FreeSurface(s);
  }
  return x >= 0 && y >= 0 && x < font.w && y < font.h && (font.at(x, y) & 0xFFFFFF) != 0;
}

void PaintGlyphs(Image& img, uint32_t ink, const std::vector<GlyphDraw>& glyphs, int scale) {
  for (const auto& g : glyphs)
    for (int fy = 0; fy < 8; fy++)
      for (int fx = 0; fx < 8; fx++)
        if (FontInk(8 * g.cell + fx, fy))
          PaintRect(img, g.x + scale * fx, g.y + scale * fy, scale, scale, ink);
}

static uint32_t ourWindow() { return SDL_GetWindowID(SDLWindow); }

static void push(SDL_Event& e) {
  e.common.timestamp = SDL_GetTicks();
  pushing = true;
  int pushed = SDL_PushEvent(&e);
  pushing = false;
  ASSERT_EQ(pushed, 1) << SDL_GetError();
}

void PushMotion(int x, int y, uint32_t state) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = ourWindow();
  e.motion.x = x;
  e.motion.y = y;
  e.motion.state = state;
  push(e);
}

void PushButton(bool down, uint8_t button, int x, int y, uint8_t clicks) {
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.windowID = ourWindow();
  e.button.button = button;
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = clicks;
  e.button.x = x;
  e.button.y = y;
  push(e);
}

void PushClick(uint8_t button, int x, int y, uint8_t clicks) {
  PushButton(true, button, x, y, clicks);
  PushButton(false, button, x, y, clicks);
}

void PushKey(SDL_Keycode sym, bool repeat, uint16_t mod) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.windowID = ourWindow();
  e.key.state = SDL_PRESSED;
  e.key.repeat = repeat;
  e.key.keysym.sym = sym;
  e.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
  e.key.keysym.mod = mod;
  push(e);
}

RealInput::RealInput() { realInput++; }
RealInput::~RealInput() { realInput--; }

void PushText(const char* text) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  e.text.windowID = ourWindow();
  SDL_strlcpy(e.text.text, text, sizeof e.text.text);
  push(e);
}

void PushQuit() {
  SDL_Event e{};
  e.type = SDL_QUIT;
  push(e);
}

void PushWindowEvent(uint8_t event, uint32_t windowID) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = windowID ? windowID : ourWindow();
  e.window.event = event;
  push(e);
}

static std::atomic<uint64_t> waitsEntered{0};
static std::atomic<int> waiting{0};

extern "C" int __real_SDL_WaitEvent(SDL_Event* e);
extern "C" int __wrap_SDL_WaitEvent(SDL_Event* e) {
  waiting++;
  waitsEntered++;
  int r = __real_SDL_WaitEvent(e);
  waiting--;
  return r;
}

uint64_t WaitsEntered() { return waitsEntered; }
bool WaitingForEvent() { return waiting > 0; }

void DrainEvents() {
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}
