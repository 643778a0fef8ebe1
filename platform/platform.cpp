#include "platform/platform.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "strrt/strrt.h"

SDL_Window* SDLWindow = nullptr;
SDL_Renderer* SDLRenderer = nullptr;
SDL_Texture* SDLScreen = nullptr;
int32_t SDLScale = 1;
SDL_DisplayMode Display;
SDL_Joystick* SDLJoystick[4] = {nullptr, nullptr, nullptr, nullptr};
SDL_TouchID SDLTouchID = 0;
SDL_Surface* SDLSurface = nullptr;
SDL_Texture* BASFont = nullptr;
SDL_Texture* SDLTexture = nullptr;
SDL_Rect SRC, DST;

SDL_Texture* GEMScreen = nullptr;
SDL_Texture* rob_e$ = nullptr;
SDL_Texture* kra$ = nullptr;
SDL_Texture* Wypboxy = nullptr;
SDL_Texture* blok$ = nullptr;

PLATFORM_GLOBALS(GLOBAL_DEFINE)

#ifdef __EMSCRIPTEN__
// A page has its canvas, and no signals end it: neither start-up check applies there.
static void needWindowDriver(bool) {}
static void catchTermination() {}
#else
// A termination signal (SIGTERM, SIGINT, SIGHUP) ends the program from whatever loop
// or dialog is up, with exit code 0, as a quit from the control screen does. The
// handler only marks the signal and hands it to SDL's own handler, which has the next
// pump queue a quit event; every loop pumps, by SDL_WaitEvent or GetSDLEvents, and
// the watch below ends the process when that quit event is queued, outside the
// handler. A quit event without the mark is the window's close button, which each
// screen treats its own way.
static volatile sig_atomic_t terminating = 0;
static volatile sig_atomic_t ending = 0;  // exit has begun: the atexit work is running
static void (*sdlOnSignal)(int) = nullptr;
static int sdlSignal = 0;
static struct sigaction onTermination;

static void markTermination(int sig) {
  if (ending) {
    // A second signal while the end's own work runs: the user will not wait for it.
    struct sigaction byDefault = {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    sigaction(sig, &byDefault, nullptr);
    raise(sig);
    return;
  }
  int saved = errno;
  terminating = 1;
  sdlOnSignal(sdlSignal);
  sigaction(sdlSignal, &onTermination, nullptr);  // SDL's handler puts itself back in
  errno = saved;
}

static int endOnTermination(void*, SDL_Event* e) {
  if (e->type == SDL_QUIT && terminating) {
    ending = 1;
    exit(0);
  }
  return 0;
}

// After SDL_Init, which has put its handler on SIGINT and SIGTERM unless they were
// ignored. A signal ignored by whoever started the program (nohup, a background job)
// stays ignored.
static void catchTermination() {
  for (int s : {SIGTERM, SIGINT}) {
    struct sigaction a;
    sigaction(s, nullptr, &a);
    if (!(a.sa_flags & SA_SIGINFO) && a.sa_handler != SIG_DFL && a.sa_handler != SIG_IGN &&
        a.sa_handler != markTermination) {
      sdlOnSignal = a.sa_handler;
      sdlSignal = s;
      break;
    }
  }
  if (!sdlOnSignal) return;
  onTermination = {};
  onTermination.sa_handler = markTermination;
  sigemptyset(&onTermination.sa_mask);
  for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&onTermination.sa_mask, s);
  for (int s : {SIGTERM, SIGINT, SIGHUP}) {
    struct sigaction a;
    sigaction(s, nullptr, &a);
    if (a.sa_handler != SIG_IGN) sigaction(s, &onTermination, nullptr);
  }
  SDL_AddEventWatch(endOnTermination, nullptr);
}

static bool windowless() {
  const char* d = SDL_GetCurrentVideoDriver();
  return !d || strcmp(d, "offscreen") == 0 || strcmp(d, "dummy") == 0;
}

// Without a display SDL falls back to a driver that shows nothing, and the program
// would run on unseen; unless the user chose that driver, it is a failed start. A busy
// X server refuses a connection now and then (it would block, or is reset), so a
// display that is named gets a few more tries first, X alone.
static void needWindowDriver(bool userDriver) {
  if (userDriver || !windowless()) return;
  const char* display = getenv("DISPLAY");
  if (display && *display) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    for (int i = 0; i < 5 && windowless(); i++) {
      SDL_Delay(25);
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      SDL_InitSubSystem(SDL_INIT_VIDEO);
    }
    if (!windowless()) return;
  }
  if (display && *display)
    printf("Cannot open a window on display %s\n", display);
  else
    puts("Cannot open a window: DISPLAY is not set");
  exit(1);
}
#endif  // __EMSCRIPTEN__

// Set by the install rules: the data directory, absolute and as seen from the binary's
// directory, each ending in '/'.
#ifndef TARKSEN_DATA_DIR
#define TARKSEN_DATA_DIR nullptr
#define TARKSEN_DATA_FROM_BIN nullptr
#endif

// The font: the working directory first, then the directory of the binary, then the
// installed data directory, found from the binary (wherever the tree was installed
// or unpacked) or as configured. A missing file moves on to the next place; a file
// that is found is the font, readable or not. Missing everywhere: the error of the
// working directory.
static SDL_RWops* openFont() {
  SDL_RWops* rw = SDL_RWFromFile("BASFont.bmp", "rb");
  if (rw) return rw;
  char first[256];
  SDL_strlcpy(first, SDL_GetError(), sizeof first);
  char* base = SDL_GetBasePath();  // null if unknown
  const char* places[][2] = {{base, ""}, {base, TARKSEN_DATA_FROM_BIN}, {"", TARKSEN_DATA_DIR}};
  for (auto& p : places) {
    if (!p[0] || !p[1]) continue;
    char path[4096];
    snprintf(path, sizeof path, "%s%sBASFont.bmp", p[0], p[1]);
    if ((rw = SDL_RWFromFile(path, "rb"))) break;
  }
  SDL_free(base);
  if (!rw) SDL_SetError("%s", first);
  return rw;
}

bool SDLInstalled() {
  const char* fromBin = TARKSEN_DATA_FROM_BIN;
  if (!fromBin) return false;
  char* base = SDL_GetBasePath();
  if (!base) return false;
  char path[4096];
  snprintf(path, sizeof path, "%s%sBASFont.bmp", base, fromBin);
  SDL_free(base);
  return access(path, F_OK) == 0;
}

void SDLInit(uint32_t windowFlags) {
  // SDL turns termination signals into a quit event, which catchTermination builds on.
  SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "0", SDL_HINT_OVERRIDE);
  bool userDriver = SDL_GetHint(SDL_HINT_VIDEODRIVER) != nullptr;
  const Uint32 subsystems = SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK |
                            SDL_INIT_HAPTIC | SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS |
                            SDL_INIT_SENSOR;
  if (SDL_Init(subsystems) != 0) {
    puts(SDL_GetError());
    exit(1);
  }
  needWindowDriver(userDriver);
  catchTermination();
  SDLWakeEvent = SDL_RegisterEvents(1);
  if (SDLWakeEvent == Uint32(-1)) SDLWakeEvent = 0;
  // Presents wait for the retrace: the redraw loops have no other pacing.
  SDL_SetHint("SDL_RENDER_VSYNC", "1");
  SDLOpenWindow(windowFlags);
  SDL_RenderClear(SDLRenderer);
  SDLTargetWindow();
  SDL_RenderClear(SDLRenderer);
  SDL_StopTextInput();
  for (int i = 0; i < 4; i++)
    if (i < SDL_NumJoysticks()) SDLJoystick[i] = SDL_JoystickOpen(i);
  SDLTouchID = SDL_GetTouchDevice(0);
  SDL_GetCurrentDisplayMode(0, &Display);

  // Open the stream first so a missing file reports its name, not the reader's
  // complaint about a null stream.
  SDL_RWops* rw = openFont();
  SDLSurface = rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
  if (!SDLSurface) {
    puts(SDL_GetError());
    SDLIcon(nullptr);
    return;
  }
  SDLIcon(SDLSurface);
  SDL_SetColorKey(SDLSurface, SDL_TRUE, 0);
  // In the pixel order of every other texture (the key turned into alpha 0), so that
  // all copies share one shader: a renderer that prepares its pipelines at their first
  // use (WebGL in software) starts the panel with one fewer.
  SDL_Surface* abgr = SDL_ConvertSurfaceFormat(SDLSurface, SDL_PIXELFORMAT_ABGR8888, 0);
  BASFont = abgr ? SDL_CreateTextureFromSurface(SDLRenderer, abgr) : nullptr;
  SDL_FreeSurface(abgr);
  if (BASFont) SDL_SetTextureBlendMode(BASFont, SDL_BLENDMODE_BLEND);
}

void QuitSDL() {
  if (SDLSurface) SDL_FreeSurface(SDLSurface);
  if (BASFont) SDL_DestroyTexture(BASFont);
  if (SDLTexture) SDL_DestroyTexture(SDLTexture);
  if (SDLScreen) SDL_DestroyTexture(SDLScreen);
  if (SDLRenderer) SDL_DestroyRenderer(SDLRenderer);
  if (SDLWindow) SDL_DestroyWindow(SDLWindow);
  for (auto* j : SDLJoystick)
    if (SDL_JoystickGetAttached(j)) SDL_JoystickClose(j);
  SDL_Quit();
}

Uint32 SDLWakeEvent = 0;
static SDL_TimerID wakeTimer = 0;

static Uint32 SDLCALL queueWake(Uint32, void*) {
  SDL_Event e = {};
  e.type = SDLWakeEvent;
  SDL_PushEvent(&e);
  return 0;  // once
}

void SDLWakeAt(uint32_t ms) {
  if (wakeTimer) SDL_RemoveTimer(wakeTimer);
  wakeTimer = SDLWakeEvent ? SDL_AddTimer(ms ? ms : 1, queueWake, nullptr) : 0;
}

void SDLSetBlock(SDL_Texture* t) {
  if (blok$) SDL_DestroyTexture(blok$);
  blok$ = t;
  BlockVersion++;
}

void SDLDrawColor(uint32_t c) {
  SDL_SetRenderDrawColor(SDLRenderer, c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF, c >> 24);
}

void SDLNoteWindowEvent(const SDL_WindowEvent& w, Uint32 ourWindow) {
  if (ourWindow != 0 && w.windowID == ourWindow && w.event < 16)
    WindowEvent |= uint16_t(1u << w.event);
}

void SDLAppendText(char* buf, const char* text) {
  size_t len = strlen(buf);
  if (len >= 255) return;
  size_t room = 255 - len;
  size_t n = strlen(text);
  if (n > room) n = room;
  memcpy(buf + len, text, n);
  buf[len + n] = 0;
}

void GetSDLEvents() {
  SDLYield();
  Uint32 id = SDL_GetWindowID(SDLWindow);
  WindowEvent = 0;
  InKey = 0;
  InMod = 0;
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    switch (e.type) {
      case SDL_QUIT: Quit = 1; break;
      case SDL_WINDOWEVENT: SDLNoteWindowEvent(e.window, id); break;
      case SDL_KEYDOWN:
        InKey = e.key.keysym.sym;
        InMod = e.key.keysym.mod;
        break;
      case SDL_TEXTINPUT: SDLAppendText(SDLTEXT$, e.text.text); break;
      default: break;
    }
  }
  SDLKeyboardState = SDL_GetKeyboardState(nullptr);
  MouseK = SDLPointer(&MouseX, &MouseY);
}
