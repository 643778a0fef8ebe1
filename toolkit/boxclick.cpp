#include "platform/platform.h"
#include "toolkit/toolkit.h"

int32_t GEMWaitBoxClick(GEMBox* table, int32_t count, int32_t windowEnds) {
  Uint32 window = SDL_GetWindowID(SDLWindow);
  WindowEvent = 0;
  InKey = 0;
  InMod = 0;
  MouseX = MouseY = 0;
  MouseK = 0;
  GEMWheel = 0;
  GEMWoken = false;
  int32_t selection = BoxWaitStart(table, count);

  // Quit holds the end code: 1 quit, 2 box, 4 key, 5 window event, 6 other button,
  // 7 a wheel turn the caller takes, 8 a file dropped while DropWanted is set, 9 a
  // wake-up while WakeWanted is set.
  SDL_Event e;
  while (Quit == 0 && SDL_WaitEvent(&e)) {
    switch (e.type) {
      case SDL_QUIT: Quit = 1; break;
      case SDL_WINDOWEVENT:
        SDLNoteWindowEvent(e.window, window);
        if (windowEnds) Quit = 5;
        break;
      case SDL_KEYDOWN:
        InKey = e.key.keysym.sym;
        InMod = e.key.keysym.mod;
        Quit = 4;
        break;
      case SDL_DROPFILE:
        if (DropWanted) Quit = 8;
        break;
      case SDL_MOUSEBUTTONDOWN:
        MouseX = e.button.x;
        MouseY = e.button.y;
        MouseK = e.button.button + (e.button.clicks == 2 ? 0x20 : 0);
        if (MouseK != 1 && MouseK != 0x21) {
          Quit = 6;
        } else if (BoxClick(table, count, MouseX, MouseY, selection)) {
          Quit = 2;
        } else {
          // A press that hits nothing is no ending: leave no trace of it, so that a
          // later key or quit does not look like a left click to the caller.
          MouseX = MouseY = 0;
          MouseK = 0;
        }
        break;
      case SDL_MOUSEWHEEL:
        if (GEMHabits && GEMWheelNotches(e.wheel)) {
          GEMWheel = GEMWheelNotches(e.wheel);
          Quit = 7;
        }
        break;
      default:
        if (e.type == SDLWakeEvent && SDLWakeEvent && WakeWanted) Quit = 9;
        break;
    }
  }
  GEMWoken = Quit == 9;
  Quit = Quit == 1 ? 1 : 0;
  return selection;
}

bool GEMHabitKey(SDL_Keycode key) {
  return GEMHabits && (key == SDLK_ESCAPE || key == SDLK_PAGEUP || key == SDLK_PAGEDOWN);
}

int32_t GEMWheelNotches(const SDL_MouseWheelEvent& w) {
  return w.direction == SDL_MOUSEWHEEL_FLIPPED ? -w.y : w.y;
}
