// The recovery copy's storage in the browser: the site's storage, kept by the page
// (web/recovery.js). Its jobs are stored in the page's turns, in the order given; the
// program never waits for them.
#include <emscripten.h>

#include <string>
#include <utility>
#include <vector>

#include "paint/paint.h"

static std::string wlasnaKopia;  // this tab's copy, named by the page

bool zapas_miejsce(std::string& katalog, std::string& wlasna, std::string& why) {
  katalog = "odzysk";  // what the messages name
  char nazwa[64], powod[256];
  EM_ASM(
      {
        stringToUTF8(recovery.own(), $0, 64);
        stringToUTF8(recovery.why(), $1, 256);
      },
      nazwa, powod);
  std::string b;
  wlasna = nazwa;
  why = powod;
  if (!ZapasZNazwy((wlasna + ".png").c_str(), b)) return false;
  wlasnaKopia = wlasna;
  return true;
}

std::vector<ZapasPozostaly> zapas_pozostale(const std::string&, const std::string& wlasna) {
  std::vector<ZapasPozostaly> p;
  const int n = EM_ASM_INT({
    Module.recoveryLeft = recovery.left();
    return Module.recoveryLeft.length;
  });
  for (int i = 0; i < n; i++) {
    char nazwa[64];
    const double czas = EM_ASM_DOUBLE(
        {
          const c = Module.recoveryLeft[$0];
          stringToUTF8(c.base, $1, 64);
          return c.czas;
        },
        i, nazwa);
    std::string base;
    if (!ZapasZNazwy((std::string(nazwa) + ".png").c_str(), base) || base == wlasna) continue;
    p.push_back({base, int64_t(czas) * 1000000});
  }
  // The page gives them in ZapasKolejnosc's order: a sort here would add its code to
  // the download.
  return p;
}

bool zapas_przejmij(const std::string&, const std::string& base) {
  return EM_ASM_INT({ return recovery.take(UTF8ToString($0)) ? 1 : 0; }, base.c_str()) != 0;
}

std::string zapas_czytaj(const std::string& katalog, const std::string& base, PicImage& obraz,
                         PicImage& blok) {
  // The sizes first: the picture's bytes and the block's sides.
  int32_t rozmiar[3] = {};
  EM_ASM({ HEAP32.set(recovery.sizes(UTF8ToString($0)), $1 >> 2); }, base.c_str(), rozmiar);
  const std::string nazwa = katalog + "/" + base;
  if (rozmiar[0] < 0) return nazwa + ": damaged";
  if (rozmiar[0] != 640 * 400 * 4) return nazwa + ": not a 640x400 picture";
  PicImage o, b;
  o.w = 640;
  o.h = 400;
  o.px.resize(size_t(640) * 400);
  b.w = rozmiar[1];
  b.h = rozmiar[2];
  b.px.resize(size_t(b.w) * b.h);
  EM_ASM(
      {
        const c = recovery.copy(UTF8ToString($0));
        HEAPU8.set(c.picture, $1);
        if (c.block) HEAPU8.set(c.block.px, $2);
      },
      base.c_str(), o.px.data(), b.px.data());
  obraz = std::move(o);
  blok = std::move(b);
  return "";
}

void zapas_usun(const std::string&, const std::string& base) {
  EM_ASM({ recovery.remove(UTF8ToString($0)); }, base.c_str());
}

void zapas_zlec(ZapasZlecenie&& z) {
  if (!z.zapisz) {
    EM_ASM({ recovery.remove(UTF8ToString($0), UTF8ToString($1)); }, wlasnaKopia.c_str(),
           z.poprzednik.c_str());
    return;
  }
  if (z.obraz.size() != size_t(640) * 400) return;
  if (z.blok == 1 && z.blokPx.px.size() != size_t(z.blokPx.w) * z.blokPx.h) z.blok = -1;
  // The page copies the pixels out of the program's memory before it returns.
  EM_ASM({ recovery.write($0, $1, $2, $3, $4, UTF8ToString($5)); }, z.obraz.data(), z.blok,
         z.blokPx.px.data(), z.blokPx.w, z.blokPx.h, z.poprzednik.c_str());
}

// The page stores the jobs in its own turns; there is nothing to wait for here.
void zapas_czekaj() {}
// The lock goes with the tab: while the page stays, its copy is no one else's to offer.
void zapas_oddaj(const std::string&, const std::string&, bool) {}
