#include <mutex>

#include "platform/platform.h"

// What the window shows and how its pointer positions map onto the picture, as the
// last measure found them. Kept so that the filter, which SDL may run in a thread that
// pushes events, never asks the window or the renderer itself.
static ScreenView view = {1, 0, 0};
static int32_t winW = ScreenW, winH = ScreenH, drawW = ScreenW, drawH = ScreenH;
// Buttons held, as the events let through tell it, and buttons whose press the border
// dropped, kept from the program until released.
static Uint32 held = 0, ignored = 0;
static SDL_threadID mainThread = 0;
// The file dropped while a wait wanted one, until taken; the filter may run in a
// thread that pushes events.
static std::mutex droppedLock;
static std::string dropped;

static void measure() {
  if (!SDLWindow || !SDLRenderer) return;
  int ww = 0, wh = 0, dw = 0, dh = 0;
  SDL_GetWindowSize(SDLWindow, &ww, &wh);
  winW = ww;
  winH = wh;
  if (SDL_GetRendererOutputSize(SDLRenderer, &dw, &dh) == 0) {
    drawW = dw;
    drawH = dh;
  }
  view = FitScreen(drawW, drawH);
}

void SDLOpenWindow(uint32_t windowFlags) {
  mainThread = SDL_ThreadID();
  SDL_SetEventFilter(SDLFilterEvent, nullptr);
  // A window placed by the system opens on the first display, centred.
  SDL_Rect usable = {0, 0, ScreenW, ScreenH};
#ifdef __EMSCRIPTEN__
  const bool fit = false;  // the page sizes the canvas, and the window has no frame
#else
  bool fit = SDLScale < MinScale;
#endif
  if (fit && SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = {0, 0, ScreenW, ScreenH};
  int32_t n = fit ? StartScale(usable.w, usable.h, 0, 0) : SDLScale;
  // The window stays hidden until the renderer is made: an OpenGL renderer replaces the
  // window it is given by one of its own, and a shown window would flash on the screen
  // (and be found by whoever looks for the program's window) before it goes.
  SDLWindow = SDL_CreateWindow(TitleName, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                               ScreenW * n, ScreenH * n,
                               (windowFlags & ~uint32_t(SDL_WINDOW_SHOWN)) | SDL_WINDOW_HIDDEN);
  if (SDLWindow) SDLRenderer = SDL_CreateRenderer(SDLWindow, -1, 0);
  if (!SDLWindow || !SDLRenderer) return;
  if (!(windowFlags & SDL_WINDOW_HIDDEN)) SDL_ShowWindow(SDLWindow);
#ifndef __EMSCRIPTEN__
  SDL_SetWindowMinimumSize(SDLWindow, ScreenW, ScreenH);
#endif
  if (fit && n > 1) {
    // The window manager tells the frame once it has framed the window: a window
    // that would reach past the usable area with it opens a step smaller.
    SDL_PumpEvents();
    int top = 0, left = 0, bottom = 0, right = 0;
    SDL_GetWindowBordersSize(SDLWindow, &top, &left, &bottom, &right);
    int32_t framed = StartScale(usable.w, usable.h, left + right, top + bottom);
    if (framed < n) {
      n = framed;
      SDL_SetWindowSize(SDLWindow, ScreenW * n, ScreenH * n);
      SDL_SetWindowPosition(SDLWindow, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
  }
  SDLScale = n;
  // The screen texture, on the desktop only: a page's canvas is the picture's size (the
  // page scales it) and keeps what was drawn between frames, so there the program draws
  // straight onto it, a copy a frame spared.
#ifndef __EMSCRIPTEN__
  SDLScreen = SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET,
                                ScreenW, ScreenH);
  if (SDLScreen) {
    SDL_SetTextureBlendMode(SDLScreen, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(SDLScreen, SDL_ScaleModeNearest);
  }
#endif
  measure();
}

void SDLTargetWindow() { SDL_SetRenderTarget(SDLRenderer, SDLScreen); }

// SDL's present, which in a browser would also give the page its turn from inside the
// swap, behind calls through SDL's pointers: the browser build keeps no frames for
// those, so the turn is SDLPresent's own (SDLYield) and never SDL's.
static void renderPresent() {
  SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "0");
  SDL_RenderPresent(SDLRenderer);
  SDL_SetHint(SDL_HINT_EMSCRIPTEN_ASYNCIFY, "1");
}

// SDLPresent without the host's turn: the filter runs where an event is queued, which
// in a browser is the page's own event handler, where the program cannot sleep.
static void show() {
  if (!SDLScreen) {
    renderPresent();
    return;
  }
  SDL_Texture* target = SDL_GetRenderTarget(SDLRenderer);
  Uint8 r, g, b, a;
  SDL_GetRenderDrawColor(SDLRenderer, &r, &g, &b, &a);
  SDL_SetRenderTarget(SDLRenderer, nullptr);
  measure();
  SDL_RenderSetViewport(SDLRenderer, nullptr);  // the whole window, whatever its size now
  SDL_Rect shown = {view.x, view.y, ScreenW * view.n, ScreenH * view.n};
  // Black only where the picture leaves some: at a large scale the clear alone costs
  // as much as the copy on a renderer without a GPU.
  if (shown.x > 0 || shown.y > 0 || shown.w < drawW || shown.h < drawH) {
    SDL_SetRenderDrawColor(SDLRenderer, 0, 0, 0, 255);
    SDL_RenderClear(SDLRenderer);
  }
  SDL_RenderCopy(SDLRenderer, SDLScreen, nullptr, &shown);
  renderPresent();
  SDL_SetRenderTarget(SDLRenderer, target);
  SDL_SetRenderDrawColor(SDLRenderer, r, g, b, a);
}

void SDLPresent() {
  show();
  SDLYield();
}

void SDLToggleFullscreen() {
  bool full = SDL_GetWindowFlags(SDLWindow) & SDL_WINDOW_FULLSCREEN;
  SDL_SetWindowFullscreen(SDLWindow, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

static bool fullscreenKey(const SDL_Keysym& k) {
  return k.sym == SDLK_F11 ||
         ((k.sym == SDLK_RETURN || k.sym == SDLK_KP_ENTER) && (k.mod & KMOD_ALT));
}

static PointerPlace toPicture(Sint32* x, Sint32* y) {
  int32_t px, py;
  PointerPlace p = PictureFromWindow(view, winW, winH, drawW, drawH, *x, *y, &px, &py);
  *x = px;
  *y = py;
  return p;
}

// The window events after which the window's contents may be gone or of another size:
// shown again (mapped, restored, back from another workspace), exposed (uncovered, on
// a desktop without a compositor), moved, resized.
static bool contentsLost(Uint8 event) {
  switch (event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_MOVED:
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED: return true;
    default: return false;
  }
}

int SDLCALL SDLFilterEvent(void*, SDL_Event* e) {
  bool ours = SDLWindow && e->window.windowID == SDL_GetWindowID(SDLWindow);
  switch (e->type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      if (!fullscreenKey(e->key.keysym)) return 1;
      // SDL runs the filter where the event is queued: the window is switched only
      // from the thread that owns it.
      if (e->type == SDL_KEYDOWN && !e->key.repeat && SDL_ThreadID() == mainThread)
        SDLToggleFullscreen();
      return 0;
    case SDL_MOUSEMOTION:
      if (!ours) return 1;
      toPicture(&e->motion.x, &e->motion.y);
      e->motion.state &= ~ignored;
      held = e->motion.state;
      return 1;
    case SDL_MOUSEBUTTONDOWN: {
      if (!ours) return 1;
      Uint32 bit = SDL_BUTTON(e->button.button);
      if (toPicture(&e->button.x, &e->button.y) == IN_BORDER && !(held & ~bit)) {
        ignored |= bit;
        return 0;
      }
      held |= bit;
      return 1;
    }
    case SDL_MOUSEBUTTONUP: {
      if (!ours) return 1;
      Uint32 bit = SDL_BUTTON(e->button.button);
      held &= ~bit;
      if (ignored & bit) {
        ignored &= ~bit;
        return 0;
      }
      toPicture(&e->button.x, &e->button.y);
      return 1;
    }
    case SDL_MOUSEWHEEL:
      if (ours) toPicture(&e->wheel.mouseX, &e->wheel.mouseY);
      return 1;
    case SDL_WINDOWEVENT:
      if (ours && contentsLost(e->window.event) && SDL_ThreadID() == mainThread && SDLMayPresent())
        show();
      return 1;
    case SDL_DROPFILE:
    case SDL_DROPTEXT: {
      bool wanted = e->type == SDL_DROPFILE && DropWanted && e->drop.file;
      if (wanted) {
        std::lock_guard<std::mutex> hold(droppedLock);
        dropped = e->drop.file;
      }
      SDL_free(e->drop.file);
      e->drop.file = nullptr;
      return wanted;
    }
    default: return 1;
  }
}

std::string SDLTakeDrop() {
  std::string path;
  std::lock_guard<std::mutex> hold(droppedLock);
  path.swap(dropped);
  return path;
}

uint32_t SDLPointer(int32_t* x, int32_t* y) {
  int mx, my;
  Uint32 k = SDL_GetMouseState(&mx, &my) & ~ignored;
  PictureFromWindow(view, winW, winH, drawW, drawH, mx, my, x, y);
  return k;
}
