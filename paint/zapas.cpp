#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "paint/paint.h"
#include "paint/zapas_core.h"
#include "picfiles/picfiles.h"
#include "platform/platform.h"
#include "toolkit/toolkit.h"

// This program's place for its copy, set by zapas_start.
static std::string katalog, wlasna;

// The main thread's view of the copy.
static bool aktywny = false;         // a copy is kept: zapas_start found its place
static uint32_t okres = ZapasOkres;  // ms between copies
static bool jest = false;            // the copy is on disk, or handed on to be written
static bool zrobiona = false;        // a copy has been handed on in this run
static uint64_t kopiaWersja = 0;     // wersja of the picture in the last copy handed on
static uint64_t kopiaBlok = 0;       // BlockVersion of the block in it
static uint64_t ostatni = 0;         // when it was handed on (SDL_GetTicks64)
static uint64_t budzik = 0;          // when the wake-up queued is due; 0 none
static bool pilne = false;           // a copy is wanted without waiting for the period
static std::string poprzednik;       // a left copy restored, to go once ours holds it

// Whether a failure of the copy was told.
static std::atomic<bool> powiedziane{false};

void zapas_powiedz(const std::string& path, const std::string& why) {
  if (powiedziane.exchange(true)) return;
  fprintf(stderr, "tarksen: %s: %s; the picture is not kept for a restart\n", path.c_str(),
          why.c_str());
}

void zapas_start(uint32_t o) {
  okres = o;
  std::string why;
  aktywny = zapas_miejsce(katalog, wlasna, why);
  if (!aktywny && !why.empty()) zapas_powiedz(katalog, why);
  // A signal ends the program through exit: its copy first.
  if (aktywny) atexit([] { zapas_koniec(true); });
}

bool zapas_niezapisany() { return wersja != wersja_pliku; }

// Hands on a copy of the picture in t, and of the block when it is new; false when the
// picture cannot be read back.
static bool kopiuj(SDL_Texture* t) {
  ZapasZlecenie z;
  z.zapisz = true;
  if (!t || !czytaj(t, {0, 0, 640, 400}, z.obraz)) return false;
  uint64_t blok = BlockVersion;
  if (!zrobiona || blok != kopiaBlok) {
    z.blok = 0;
    if (blok$) {
      SDL_QueryTexture(blok$, nullptr, nullptr, &z.blokPx.w, &z.blokPx.h);
      z.blok = czytaj(blok$, {0, 0, z.blokPx.w, z.blokPx.h}, z.blokPx.px) ? 1 : -1;
      if (z.blok < 0) blok = kopiaBlok;  // tried again with the next copy
    }
  }
  z.poprzednik = std::move(poprzednik);
  poprzednik.clear();
  zapas_zlec(std::move(z));
  jest = zrobiona = true;
  kopiaWersja = wersja;
  kopiaBlok = blok;
  ostatni = SDL_GetTicks64();
  return true;
}

static void usunWlasna() {
  ZapasZlecenie z;
  z.poprzednik = std::move(poprzednik);
  poprzednik.clear();
  zapas_zlec(std::move(z));
  jest = false;
}

// Has the picture or the block changed since the last copy handed on (or none was)?
static bool nowy() { return !zrobiona || wersja != kopiaWersja || BlockVersion != kopiaBlok; }

void zapas_pora() {
  if (!aktywny) return;
  const uint64_t teraz = SDL_GetTicks64();
  if (budzik && teraz >= budzik) budzik = 0;  // taken by a loop that does not copy
  uint32_t za = 0;
  const uint32_t o = pilne ? 0 : okres;
  pilne = false;
  switch (ZapasDecyzja(zapas_niezapisany(), nowy(), jest, teraz, ostatni, o, &za)) {
    case ZapasRuch::ZAPISZ: kopiuj(obraz$); break;
    case ZapasRuch::USUN: usunWlasna(); break;
    case ZapasRuch::CZEKAJ:
      if (!budzik) {
        SDLWakeAt(za);
        budzik = teraz + za;
      }
      break;
    case ZapasRuch::NIC: break;
  }
}

void zapas_pobudka() {
  budzik = 0;
  zapas_pora();
}

void zapas_pilnie() {
  if (!aktywny) return;
  pilne = true;
  // Due at once: a wait takes the wake-up; a loop that does not copy leaves it to the
  // next wait that does.
  budzik = SDL_GetTicks64();
  SDLWakeAt(0);
}

void zapas_teraz() {
  if (!aktywny) return;
  if (!zapas_niezapisany()) {
    if (jest) usunWlasna();
  } else if (nowy() || !jest) {
    // In the magnifier the picture as it was when it started is the best there is.
    kopiuj(obraz$ ? obraz$ : rob_e$);
  }
  zapas_czekaj();
}

void zapas_koniec(bool zachowaj) {
  if (!aktywny) return;
  if (zachowaj && zapas_niezapisany()) {
    zapas_teraz();
  } else {
    usunWlasna();
    zapas_czekaj();
  }
  aktywny = false;
  // The lock file goes with the copy; beside a copy kept it stays, free, for the next start.
  zapas_oddaj(katalog, wlasna, !jest);
}

void zapas_oferuj() {
  if (katalog.empty()) return;
  for (const ZapasPozostaly& p : zapas_pozostale(katalog, wlasna)) {
    if (!zapas_przejmij(katalog, p.base)) continue;
    PicImage obraz, blok;
    const std::string why = zapas_czytaj(katalog, p.base, obraz, blok);
    if (!why.empty()) {
      fprintf(stderr, "tarksen: %s; this recovery copy is removed\n", why.c_str());
      zapas_usun(katalog, p.base);
      continue;
    }
    menu();
    ShowE();
    GEMIconColors();
    int32_t odp = GEMMessage(16, 92, "Przywrócić\nniezapisany obraz?", 0, "?| Tak | Nie ");
    if (Quit) return;  // the window closed over the question: offered again next time
    if (odp != 0) {
      zapas_usun(katalog, p.base);
      return;
    }
    krok_menu();
    bool wzial = putPicture(obraz.px.data());
    krok_zamknij();
    if (blok.w) putBlock(blok.px.data(), blok.w, blok.h, blok.w * 4);
    if (!wzial) return;  // the renderer took nothing: the copy stays for the next start
    // The picture is no file's now: the title names none, and marks it changed.
    SDLTitle("", true);
    // A picture that the copy leaves as it was needs no copy of ours to take its place.
    if (!aktywny || zapas_niezapisany())
      poprzednik = p.base;
    else
      zapas_usun(katalog, p.base);
    return;
  }
}
