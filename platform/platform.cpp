#include "platform/platform.h"

#include <cstdio>
#include <cstring>

#include "strrt/strrt.h"
#include "toolkit/toolkit.h"

SDL_Window* SDLWindow = nullptr;
SDL_Renderer* SDLRenderer = nullptr;
SDL_DisplayMode Display;
SDL_Joystick* SDLJoystick[4] = {nullptr, nullptr, nullptr, nullptr};
SDL_TouchID SDLTouchID = 0;
SDL_Surface* SDLSurface = nullptr;
SDL_Texture* BASFont = nullptr;
SDL_Texture* SDLTexture = nullptr;
uint32_t Color = 0xFFFFFFFF;
SDL_Rect SRC, DST;

int32_t MouseX = 0, MouseY = 0;
uint32_t MouseK = 0;
int32_t InKey = 0;
uint16_t WindowEvent = 0;
uint8_t Quit = 0;
const Uint8* SDLKeyboardState = nullptr;
char* SDLTEXT$ = STRING$;

void SDLInit(uint32_t windowFlags) {
  // 0xF231: timer, audio, video, joystick, haptic, game controller, events, sensor.
  if (SDL_Init(0xF231) != 0) {
    puts(SDL_GetError());
    exit(1);
  }
  // Presents wait for the retrace: the redraw loops have no other pacing.
  SDL_SetHint("SDL_RENDER_VSYNC", "1");
  SDL_CreateWindowAndRenderer(640, 400, windowFlags, &SDLWindow, &SDLRenderer);
  SDL_RenderClear(SDLRenderer);
  SDL_StopTextInput();
  for (int i = 0; i < 4; i++)
    if (i < SDL_NumJoysticks()) SDLJoystick[i] = SDL_JoystickOpen(i);
  SDLTouchID = SDL_GetTouchDevice(0);
  SDL_GetCurrentDisplayMode(0, &Display);

  // Open the stream first so a missing file reports its name, not the reader's
  // complaint about a null stream.
  SDL_RWops* rw = SDL_RWFromFile("BASFont.bmp", "rb");
  SDLSurface = rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
  if (!SDLSurface) {
    puts(SDL_GetError());
    return;
  }
  SDL_SetColorKey(SDLSurface, SDL_TRUE, 0);
  BASFont = SDL_CreateTextureFromSurface(SDLRenderer, SDLSurface);
  GPR.font = BASFont;
}

void QuitSDL() {
  if (SDLSurface) SDL_FreeSurface(SDLSurface);
  if (BASFont) SDL_DestroyTexture(BASFont);
  if (SDLTexture) SDL_DestroyTexture(SDLTexture);
  if (SDLRenderer) SDL_DestroyRenderer(SDLRenderer);
  if (SDLWindow) SDL_DestroyWindow(SDLWindow);
  for (auto* j : SDLJoystick)
    if (SDL_JoystickGetAttached(j)) SDL_JoystickClose(j);
  SDL_Quit();
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
  SDL_Event e;
  while (SDL_PollEvent(&e)) {
    switch (e.type) {
      case SDL_QUIT:
        Quit = 1;
        break;
      case SDL_WINDOWEVENT:
        SDLNoteWindowEvent(e.window, id);
        break;
      case SDL_KEYDOWN:
        InKey = e.key.keysym.sym;
        break;
      case SDL_TEXTINPUT:
        SDLAppendText(SDLTEXT$, e.text.text);
        break;
      default:
        break;
    }
  }
  SDLKeyboardState = SDL_GetKeyboardState(nullptr);
  int mx, my;
  MouseK = SDL_GetMouseState(&mx, &my);
  MouseX = mx;
  MouseY = my;
}
