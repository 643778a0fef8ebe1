#include <string>
#include <vector>

#include "paint/control_core.h"
#include "paint/paint.h"
#include "picfiles/picfiles.h"
#include "platform/platform.h"
#include "raster/raster.h"
#include "toolkit/toolkit.h"

GEMBox boxy[81];

void uklad() {
  UkladPol(boxy, tryb$[tryb], GEMColor);

  // The samples are painted once, in black on white, whatever colour is chosen later.
  std::vector<uint32_t> kanwa(640 * 400);
  ProbkiWzorow(kanwa.data(), GEMColor[1], GEMColor[0]);
  SDL_UpdateTexture(Wypboxy, nullptr, kanwa.data(), 640 * 4);
}

// The panel, drawn into the render target.
static void panel() {
  Color = BoxMiddle;
  SDLDrawColor(Color);
  SDL_RenderClear(SDLRenderer);
  GEMDrawBoxes(boxy, 81);
  SDLDrawColor(GEMColor[kolor]);

  SDL_Rect probki = {426, 0, 210, 216};
  SDL_RenderCopy(SDLRenderer, Wypboxy, nullptr, &probki);
  // The current fill sample. A solid one is the whole box in the current colour, which
  // one rectangle gives without the flood fill's read-back of the canvas.
  if (wyp == 0) {
    SDL_Rect probka = {426, 224, 211, 37};
    SDL_RenderFillRect(SDLRenderer, &probka);
  } else {
    pbox(426, 224, 636, 260);
  }
  for (int i = 1; i <= 6; i++) line(420 + 26 * i, 268, 420 + 26 * i, 312, uint8_t(i));
  line(620, 268, 620, 312, lin_r);
  for (int i = 0; i < 6; i++) DrawCircleF(446 + 26 * i, 335, i + 1);
  DrawCircleF(620, 335, lin_szer / 2);
}

void menu() {
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  panel();
}

void pierwsza_klatka() {
  // A pattern's sample is flood-filled, which only GEMScreen can take.
  if (wyp) {
    menu();
    ShowE();
    return;
  }
  SDLTargetWindow();
  panel();
  SDLPresent();
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
}

static void puscPrzyciski() {
  do {
    GetSDLEvents();
  } while (MouseK && !Quit);
}

void do_ekranu() {
  kr = -kr;
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  SDL_RenderCopy(SDLRenderer, rob_e$, nullptr, nullptr);
  SDLDrawColor(GEMColor[kolor]);
  SDL_SetRenderDrawBlendMode(SDLRenderer, tryb_b[tryb]);
  obraz$ = GEMScreen;
  ShowE();
}

void do_menu() {
  krok_zamknij();
  zapamietaj();
  obraz$ = rob_e$;
  SDL_SetRenderDrawBlendMode(SDLRenderer, SDL_BLENDMODE_NONE);
  kr = -kr;
}

static int32_t pytanie(const char* text) { return GEMMessage(24, 100, text, 1, "?| Tak | Nie "); }

// Whether a Ctrl key went down while the panel itself waited, with nothing since but
// modifiers and the history's keys. Any key answers an alert: the rest of a Ctrl+Z
// whose Ctrl did must not step the picture once the alert has gone.
static bool ctrlPanelu = false;

// The key the box wait or a pump left in InKey (a pump keeps the last key-down it
// drained, so a key is not lost to the waits for the buttons): the history's keys
// step the stored picture, which the drawing screen shows next.
static void klawiszPanelu() {
  if (InKey == SDLK_LCTRL || InKey == SDLK_RCTRL) ctrlPanelu = true;
  if (!ctrlPanelu || !InKey || (InKey >= SDLK_LCTRL && InKey <= SDLK_RGUI)) return;
  ctrlPanelu = historia_klawisz(InKey, InMod, rob_e$);
}

// A load on the control screen, one step of the history; a block load leaves the
// picture, and makes no step. load tells whether the picture is now a file's own, whose
// version is then noted as saved.
template <typename F>
static void wczytaj(F load) {
  krok_menu();
  bool plik = load();
  krok_zamknij();
  if (plik) wersja_pliku = wersja;
}

void upusc(const char* path) {
  wczytaj([&] { return laduj_plik(path, 1); });
}

void sterownia() {
  for (;;) {
    menu();
    ShowE();
    puscPrzyciski();
    klawiszPanelu();
    // A wake-up for the recovery copy makes it and waits again, with nothing redrawn.
    int32_t v;
    zapas_pora();
    for (;;) {
      DropWanted = WakeWanted = 1;
      v = GEMWaitBoxClick(boxy, 81, 0);
      DropWanted = WakeWanted = 0;
      if (!GEMWoken) break;
      zapas_pobudka();
    }
    k = int32_t(MouseK);
    x = MouseX;
    y = MouseY;
    std::string upuszczony = SDLTakeDrop();
    if (k == 0 && !upuszczony.empty()) upusc(upuszczony.c_str());

    if (k == 0)
      klawiszPanelu();
    else
      ctrlPanelu = false;
    if (k == 1) {
      Wybory w = {co, kolor, wyp, lin_r, lin_szer, tryb};
      Rozkaz r = Wybierz(v, x, w);
      co = w.co, kolor = w.kolor, wyp = w.wyp, lin_r = w.lin_r, lin_szer = w.lin_szer;
      tryb = w.tryb;
      boxy[21].text = tryb$[tryb];
      GEMIconColors();
      if (r.cmd == CZYSC && pytanie("Wyczyścić ekran ?") == 0) {
        krok_menu();
        SDL_SetRenderTarget(SDLRenderer, rob_e$);
        SDLDrawColor(GEMColor[0]);
        SDL_RenderClear(SDLRenderer);
        krok_zamknij();
      }
      if (r.cmd == KONIEC && pytanie("Koniec programu ?") == 0) return;
      if (r.cmd == LADUJ) wczytaj([&] { return laduj(r.nr); });
      if (r.cmd == ZAPISZ && zapisz(r.nr)) wersja_pliku = wersja;
    }
    // Right or middle button anywhere, or a double click on a box: draw.
    if (k > 1) {
      puscPrzyciski();
      do_ekranu();
      pracownia();
      do_menu();
    }
    GetSDLEvents();
    klawiszPanelu();
    if (Quit) return;
  }
}
