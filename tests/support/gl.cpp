#include "tests/support/gl.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "filesel/filesel.h"
#include "paint/paint.h"
#include "picfiles/picfiles.h"
#include "platform/platform.h"
#include "raster/raster.h"
#include "strrt/strrt.h"
#include "tests/support/scratch.h"
#include "toolkit/toolkit.h"

// Whether this thread is inside SDL_PushEvent on behalf of a test.
static thread_local bool pushing = false;
// Set while a test drives the real X server (RealInput): its events get through.
static std::atomic<int> realInput{0};
// The program's own filter (the platform's), which what gets through meets in turn.
static SDL_EventFilter programFilter = nullptr;
static void* programFilterData = nullptr;

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
      if (!pushing && realInput == 0) return 0;
      break;
    default: break;
  }
  return programFilter ? programFilter(programFilterData, e) : 1;
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
    // Where the program keeps what it remembers between runs: the test binary's own.
    setenv("XDG_STATE_HOME", state.path.c_str(), 1);
    SDL_GetEventFilter(&programFilter, &programFilterData);
    SDL_SetEventFilter(onlyPushed, nullptr);
  }
  Scratch state{"state"};
};
static testing::Environment* const glEnv = testing::AddGlobalTestEnvironment(new GLEnvironment);

void ResetGlobals() {
  PLATFORM_GLOBALS(GLOBAL_RESET)
  RASTER_GLOBALS(GLOBAL_RESET)
  TOOLKIT_GLOBALS(GLOBAL_RESET)
  FILESEL_GLOBALS(GLOBAL_RESET)
  PICFILES_GLOBALS(GLOBAL_RESET)
  PAINT_GLOBALS(GLOBAL_RESET)
  zapomnij();  // the picture's history
  GEMInit();   // GPR.font, as start-up left it
}

void GLTest::SetUp() {
  ResetGlobals();
  DrainEvents();
  SDLTargetWindow();
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
  if (!t) t = SDLScreen;
  SDL_Texture* old = SDL_GetRenderTarget(SDLRenderer);
  SDL_SetRenderTarget(SDLRenderer, t);
  SDL_Rect r;
  if (rect) {
    r = *rect;
  } else {
    r.x = r.y = 0;
    SDL_QueryTexture(t, nullptr, nullptr, &r.w, &r.h);
  }
  Image img(r.w, r.h);
  SDL_RenderReadPixels(SDLRenderer, &r, SDL_PIXELFORMAT_ABGR8888, img.px.data(), r.w * 4);
  SDL_SetRenderTarget(SDLRenderer, old);
  return img;
}

void ClearTarget(SDL_Texture* t, uint32_t c) {
  if (!t) t = SDLScreen;
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
  // 0: the program's filter took the event (a full-screen key, a press in the border).
  ASSERT_GE(pushed, 0) << SDL_GetError();
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

void PushWheel(int notches, bool flipped) {
  SDL_Event e{};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.windowID = ourWindow();
  e.wheel.y = flipped ? -notches : notches;
  e.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
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
