#include <string>
#include <vector>

#include "paint/draw_core.h"
#include "paint/historia_core.h"
#include "paint/paint.h"
#include "picfiles/picfiles.h"
#include "platform/platform.h"
#include "raster/raster.h"

void cz_mysz() {
  k = 0;
  key = 0;
  kmod = 0;
  nacisk = false;
  SDL_Event e;
  // Quit is only this wait's end flag: an SDL_QUIT is dropped like any other event.
  while (!Quit && SDL_WaitEvent(&e)) {
    switch (e.type) {
      case SDL_KEYDOWN:
        key = e.key.keysym.sym;
        kmod = e.key.keysym.mod;
        Quit = 1;
        break;
      case SDL_MOUSEMOTION:
        x = e.motion.x;
        y = e.motion.y;
        k = e.motion.state & 0xFF;
        Quit = 1;
        break;
      case SDL_MOUSEBUTTONDOWN:
        x = e.button.x;
        y = e.button.y;
        k = e.button.button;
        nacisk = true;
        Quit = 1;
        break;
      case SDL_DROPFILE:
        if (DropWanted) Quit = 1;
        break;
      default:
        if (e.type == SDLWakeEvent && SDLWakeEvent && WakeWanted) zapas_pobudka();
        break;
    }
  }
  Quit = 0;
}

bool w_kolejce() {
  return SDL_HasEvent(SDL_KEYDOWN) || SDL_HasEvents(SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN);
}

void puszczenie() {
  while (!Quit && SDL_GetMouseState(nullptr, nullptr)) GetSDLEvents();
}

void t_undo() {
  if (key != SDLK_BACKSPACE) return;
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  SDL_RenderCopy(SDLRenderer, rob_e$, nullptr, nullptr);
  krok_zmiana();
  ShowE();
}

void t_historia() {
  if (!historia_klawisz(key, kmod, GEMScreen)) return;
  zapamietaj();
  ShowE();
}

void t_nawias() {
  if (key != SDLK_COMMA && key != SDLK_PERIOD) return;
  if (key == SDLK_PERIOD && kr <= 9) kr++;
  if (key == SDLK_COMMA && kr >= 1) kr--;
  krh = krv = 8 * kr;
  krata();
}

void krata() {
  SDL_SetRenderTarget(SDLRenderer, kra$);
  Color = 0;
  SDLDrawColor(Color);
  SDL_RenderClear(SDLRenderer);
  if (kr != 0) {
    static std::vector<RasterRect> linie;
    linie.clear();
    linie_kraty(krh, krv, linie);
    SDL_SetRenderDrawColor(SDLRenderer, 0, 0, 0, 128);
    FillRasterRects(linie);
  }
  ShowE();
  SDLDrawColor(GEMColor[kolor]);
}

void pracownia() {
  for (;;) {
    zapas_pora();
    DropWanted = WakeWanted = 1;
    cz_mysz();
    DropWanted = WakeWanted = 0;
    // A dropped file loads as on the control screen, by the same way there and back:
    // a picture replaces the one being drawn, a step of the history, and becomes the
    // undo copy.
    std::string upuszczony = SDLTakeDrop();
    if (k == 0 && key == 0 && !upuszczony.empty()) {
      do_menu();
      upusc(upuszczony.c_str());
      do_ekranu();
      continue;
    }
    t_undo();
    t_nawias();
    t_historia();
    // The block tool follows the pointer itself, so it sees every event.
    if (k == 0 && co != 10) continue;
    // Points and fills dragged with the left button make one step from the press on;
    // every other call of a tool is a step of its own. The block tool keeps its steps.
    if (k == 1 && co != 10)
      krok(!nacisk && (co == 0 || co == 11));
    else
      krok_zamknij();
    zapamietaj();
    if (k > 1) return;
    switch (co) {
      case 0:
        plot(x, y);
        krok_obszar(Pedzel(x, y, x, y, lin_szer));
        break;
      case 1: rysuj(); break;
      case 2: linia(); break;
      case 3: lamana(); break;
      case 4: ramka(); break;
      case 5: prostok(); break;
      case 6: okrag(); break;
      case 7: kolo(); break;
      case 8: elipsa(); break;
      case 9: dysk(); break;
      case 10: blok(); break;
      case 11:
        fill(x, y, wyp);
        krok_wypelnienie();
        break;
      case 12: powieksz(); break;
      default: break;
    }
    ShowE();
    if (k > 1) {
      puszczenie();
      return;
    }
  }
}
