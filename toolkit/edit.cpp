#include "platform/platform.h"
#include "toolkit/toolkit.h"

// The stem of the vertical bar's glyph in the font image, stretched into the cursor.
static const SDL_Rect CSRC = {740, 1, 1, 6};

static void redraw(GEMBox b, const EditState& e) {
  b.text = e.text + e.first;
  GEMDrawBox(b);
  int32_t r[4];
  EditCursorRect(e, b, GPR.w, GPR.h, r);
  DST = {r[0], r[1], r[2], r[3]};
  ColorC = 0xFF0000;  // blue
  SDL_SetTextureColorMod(BASFont, 0, 0, 255);
  SDL_RenderCopy(SDLRenderer, BASFont, &CSRC, &DST);
  if (GEMScreen) {
    SDLTargetWindow();
    SDL_RenderCopy(SDLRenderer, GEMScreen, nullptr, nullptr);
  }
  SDLPresent();
}

static void editKey(EditState& e, const SDL_Keysym& k) {
  // The modifiers as they were when the key went down.
  bool ctrl = (k.mod & KMOD_CTRL) != 0;
  switch (k.sym) {
    case SDLK_BACKSPACE: EditBackspace(e); break;
    case SDLK_DELETE: EditDelete(e); break;
    case SDLK_LEFT: EditLeft(e); break;
    case SDLK_RIGHT: EditRight(e); break;
    case SDLK_HOME: EditHome(e); break;
    case SDLK_END: EditEnd(e); break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: Quit = 3; break;
    case SDLK_c:
      if (ctrl) SDL_SetClipboardText(e.text);
      break;
    case SDLK_x:
      if (ctrl) {
        SDL_SetClipboardText(e.text);
        EditClear(e);
      }
      break;
    case SDLK_v:
      if (ctrl) {
        if (char* pasted = SDL_GetClipboardText()) {
          EditReplace(e, pasted);
          SDL_free(pasted);
        }
      }
      break;
    default: break;
  }
}

int32_t GEMEdit(GEMBox b) {
  if (!(b.flags & (BOX_ENABLED | BOX_SELECTABLE))) return 0;
  EditState e;
  EditStart(e, b, GPR.w, GPR.h);
  GEMWheel = 0;
  SDL_StartTextInput();
  // Quit holds the end code: 1 quit, 2 a press outside the box, 3 Return, 7 a habit
  // of GEMHabits the caller takes.
  SDL_Event ev;
  while (Quit == 0) {
    if (!SDL_WaitEvent(&ev)) {
      Quit = 3;
      break;
    }
    if (GEMScreen) SDL_SetRenderTarget(SDLRenderer, GEMScreen);
    switch (ev.type) {
      case SDL_QUIT: Quit = 1; break;
      case SDL_KEYDOWN:
        if (GEMHabitKey(ev.key.keysym.sym)) {
          InKey = ev.key.keysym.sym;
          Quit = 7;
        } else {
          editKey(e, ev.key.keysym);
        }
        break;
      case SDL_MOUSEWHEEL:
        if (GEMHabits && GEMWheelNotches(ev.wheel)) {
          GEMWheel = GEMWheelNotches(ev.wheel);
          Quit = 7;
        }
        break;
      case SDL_TEXTINPUT: EditInsert(e, ev.text.text); break;
      case SDL_MOUSEBUTTONDOWN: {
        int32_t mx = ev.button.x, my = ev.button.y;
        if (mx >= b.x && mx < b.x + b.w && my >= b.y && my < b.y + b.h)
          EditPlace(e, b, mx, my, GPR.w, GPR.h);
        else
          Quit = 2;
        break;
      }
      default: break;
    }
    EditScroll(e);
    redraw(b, e);
  }
  SDL_StopTextInput();
  Quit = Quit == 1 ? 1 : 0;
  return Quit;
}
