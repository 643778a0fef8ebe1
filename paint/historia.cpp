#include <algorithm>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "paint/historia_core.h"
#include "paint/paint.h"
#include "platform/platform.h"
#include "raster/raster.h"

static Historia historia;
static uint64_t wydane = 0;  // the last version number given out

// The open step: where its picture is, what its actions may have changed, and where
// the picture as it was at its start is: in rob_e$ until a drag's second event would
// overwrite that, then in the side copy.
static bool otwarty = false;
static SDL_Texture* obraz = nullptr;
static Prostokat obszar = {0, 0, 0, 0};
static bool na_boku = false;
static SDL_Texture* bok$ = nullptr;
static uint64_t przed = 0;  // the version the step started from
// The open step is one fill and nothing else: FillBefore and FillAfter hold it.
static bool wypelnienie = false;

static bool wlaczona() { return historia_mb > 0; }

bool czytaj(SDL_Texture* t, Prostokat r, std::vector<uint32_t>& px) {
  px.resize(size_t(r.w) * r.h);
  SDL_Texture* cel = SDL_GetRenderTarget(SDLRenderer);
  SDL_SetRenderTarget(SDLRenderer, t);
  SDL_Rect rect = {r.x, r.y, r.w, r.h};
  int wynik =
      SDL_RenderReadPixels(SDLRenderer, &rect, SDL_PIXELFORMAT_ABGR8888, px.data(), r.w * 4);
  SDL_SetRenderTarget(SDLRenderer, cel);
  return wynik == 0;
}

// The whole of texture t copied into the side copy, made when first needed.
static bool odloz(SDL_Texture* t) {
  if (!bok$)
    bok$ = SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET, 640,
                             400);
  if (!bok$) return false;
  SDL_Texture* cel = SDL_GetRenderTarget(SDLRenderer);
  SDL_SetRenderTarget(SDLRenderer, bok$);
  bool ok = SDL_RenderCopy(SDLRenderer, t, nullptr, nullptr) == 0;
  SDL_SetRenderTarget(SDLRenderer, cel);
  return ok;
}

static void otworz(SDL_Texture* t, Prostokat r) {
  otwarty = true;
  obraz = t;
  obszar = r;
  na_boku = false;
  wypelnienie = false;
  przed = wersja;
  wersja = ++wydane;
}

void krok(bool dalej) {
  if (dalej && otwarty && obraz == GEMScreen) {
    wersja = ++wydane;
    wypelnienie = false;
    if (!wlaczona() || na_boku) return;
    na_boku = odloz(rob_e$);
    if (na_boku) return;
    // Without a side copy the drag goes on as steps of one event each.
  }
  krok_zamknij();
  otworz(GEMScreen, {0, 0, 0, 0});
}

void krok_obszar(Prostokat r) {
  if (!otwarty) return;
  obszar = Suma(obszar, r);
  wypelnienie = false;
}

void krok_wypelnienie() {
  bool sam = otwarty && !na_boku && !obszar.w;
  krok_obszar(FillBox);
  wypelnienie = sam;
}

void krok_zmiana() {
  if (!otwarty) return;
  wersja = ++wydane;
  wypelnienie = false;
}

void krok_menu() {
  krok_zamknij();
  otworz(rob_e$, {0, 0, 640, 400});
  if (wlaczona()) na_boku = odloz(rob_e$);
  // Without the picture as it was the change cannot be a step; it is still a change.
  if (!na_boku) otwarty = false;
}

void krok_zamknij() {
  if (!otwarty) return;
  otwarty = false;
  if (!wlaczona()) return;
  if (!obszar.w || !obszar.h) {
    wersja = przed;
    return;
  }
  // The picture before and after the step, over obszar read back, or whole from the fill.
  static std::vector<uint32_t> bylo, jest;
  const uint32_t *a = FillBefore.data(), *b = FillAfter.data();
  int32_t pitch = CanvasW;
  Prostokat r = obszar;
  if (!wypelnienie || FillBefore.size() != size_t(CanvasW) * CanvasH) {
    if (!czytaj(na_boku ? bok$ : rob_e$, obszar, bylo) || !czytaj(obraz, obszar, jest)) {
      // A step that cannot be kept leaves the ones before it wrong where it overlaps them.
      zapomnij();
      return;
    }
    a = bylo.data(), b = jest.data();
    pitch = obszar.w;
    r = {0, 0, obszar.w, obszar.h};
  }
  Prostokat d = Roznica(a, b, pitch, r);
  if (!d.w) {
    wersja = przed;
    return;
  }
  try {
    Krok k{{obszar.x + d.x - r.x, obszar.y + d.y - r.y, d.w, d.h}, {}, przed, wersja};
    if (a == bylo.data() && d.w == r.w && d.h == r.h)
      k.px.swap(bylo);  // all it read: the buffer itself becomes the step's
    else
      Kawalek(a, pitch, d, k.px);
    // In 64 bits: the browser's size_t has 32, and a budget past it is no limit there.
    historia.budzet = size_t(std::min<uint64_t>(uint64_t(historia_mb) << 20, SIZE_MAX));
    DodajKrok(historia, std::move(k));
  } catch (const std::bad_alloc&) {
    // Out of memory: the picture matters more than its past.
    zapomnij();
  }
}

bool historia_klawisz(int32_t key, uint16_t mod, SDL_Texture* t) {
  Kierunek kierunek = KlawiszHistorii(key, mod & KMOD_CTRL, mod & KMOD_SHIFT, mod & KMOD_ALT);
  if (kierunek == ZADEN) return false;
  krok_zamknij();
  Krok* k = kierunek == WSTECZ ? Wstecz(historia) : Naprzod(historia);
  if (!k) return true;
  // The picture's pixels there go into the step, the step's into the picture.
  std::vector<uint32_t> teraz;
  SDL_Rect r = {k->r.x, k->r.y, k->r.w, k->r.h};
  if (!czytaj(t, k->r, teraz) || SDL_UpdateTexture(t, &r, k->px.data(), k->r.w * 4) != 0) {
    // The picture is as it was, so the step stays where it was too.
    if (kierunek == WSTECZ)
      Naprzod(historia);
    else
      Wstecz(historia);
    return true;
  }
  k->px.swap(teraz);
  wersja = kierunek == WSTECZ ? k->przed : k->po;
  return true;
}

void zapomnij() {
  historia = Historia();
  otwarty = false;
  na_boku = false;
  if (bok$) SDL_DestroyTexture(bok$);
  bok$ = nullptr;
}
