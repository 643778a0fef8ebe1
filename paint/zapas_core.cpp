#include "paint/zapas_core.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "picfiles/png_core.h"

uint32_t ZapasOkresZTekstu(const char* s) {
  if (!s || !*s) return 0;
  uint64_t n = 0;
  for (; *s; s++) {
    if (*s < '0' || *s > '9') return 0;
    n = n * 10 + uint64_t(*s - '0');
    if (n > ZapasOkresMax) return 0;
  }
  return uint32_t(n);
}

static const char przedrostek[] = "odzysk-";

std::string ZapasNazwa(int64_t pid, uint64_t id) {
  return przedrostek + std::to_string(pid) + "-" + std::to_string(id);
}

// A decimal number without leading zeros (0 alone is one) at *s, up to 19 digits;
// moves *s past it.
static bool liczba(const char*& s) {
  const char* p = s;
  while (*p >= '0' && *p <= '9') p++;
  size_t n = size_t(p - s);
  if (n == 0 || n > 19 || (n > 1 && *s == '0')) return false;
  s = p;
  return true;
}

bool ZapasZNazwy(const char* name, std::string& base) {
  const size_t dl = sizeof przedrostek - 1;
  if (strncmp(name, przedrostek, dl) != 0) return false;
  const char* s = name + dl;
  if (!liczba(s) || *s++ != '-' || !liczba(s) || strcmp(s, ".png") != 0) return false;
  base.assign(name, size_t(s - name));
  return true;
}

ZapasSmiec ZapasRodzaj(const char* name, std::string& base) {
  for (const char* p : {".tarksen-", ".odzysk-"}) {
    const size_t dl = strlen(p);
    if (strncmp(name, p, dl) != 0 || strlen(name) != dl + 6) continue;
    for (const char* c = name + dl; *c; c++)
      if (!((*c >= '0' && *c <= '9') || (*c >= 'A' && *c <= 'Z') || (*c >= 'a' && *c <= 'z')))
        return ZapasSmiec::NIC;
    return ZapasSmiec::SKRAWEK;
  }
  const size_t n = strlen(name);
  if (n < 5 || strcmp(name + n - 5, ".lock") != 0) return ZapasSmiec::NIC;
  std::string png(name, n - 5);
  if (!ZapasZNazwy((png + ".png").c_str(), base)) return ZapasSmiec::NIC;
  return ZapasSmiec::ZAMEK;
}

void ZapasKolejnosc(std::vector<ZapasPozostaly>& p) {
  std::sort(p.begin(), p.end(), [](const ZapasPozostaly& a, const ZapasPozostaly& b) {
    return a.czas != b.czas ? a.czas > b.czas : a.base > b.base;
  });
}

ZapasRuch ZapasDecyzja(bool niezapisany, bool nowy, bool jest, uint64_t teraz, uint64_t ostatni,
                       uint32_t okres, uint32_t* za) {
  if (!niezapisany) return jest ? ZapasRuch::USUN : ZapasRuch::NIC;
  if (jest && !nowy) return ZapasRuch::NIC;
  if (!jest) return ZapasRuch::ZAPISZ;
  uint64_t minelo = teraz >= ostatni ? teraz - ostatni : 0;
  if (minelo >= okres) return ZapasRuch::ZAPISZ;
  *za = uint32_t(okres - minelo);
  return ZapasRuch::CZEKAJ;
}

void ZapasScal(ZapasZlecenie& starsze, ZapasZlecenie& nowsze) {
  if (nowsze.blok < 0 && starsze.blok >= 0) {
    nowsze.blok = starsze.blok;
    nowsze.blokPx = std::move(starsze.blokPx);
  }
  if (nowsze.poprzednik.empty()) nowsze.poprzednik = std::move(starsze.poprzednik);
}

// CRC-32 of PNG chunks (ISO 3309), a byte at a time through a table made once (the
// writer's thread and the main thread may both be first).
static uint32_t crc32(uint32_t crc, const uint8_t* p, size_t n) {
  static const std::array<uint32_t, 256> tabela = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; i++) {
      uint32_t c = i;
      for (int b = 0; b < 8; b++) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < n; i++) crc = tabela[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

static uint32_t be32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}
static void putBe32(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(uint8_t(v >> s));
}

// Ancillary, private, safe to copy: a viewer shows the picture and skips it.
static const uint8_t typBloku[4] = {'b', 'l', 'O', 'k'};
static const uint8_t typKonca[4] = {'I', 'E', 'N', 'D'};
static const size_t koniecBajtow = 12;  // IEND: length, type, checksum

std::string ZapasBlok(const PicImage& blok, std::vector<uint8_t>& png) {
  return PngRgba(reinterpret_cast<const uint8_t*>(blok.px.data()), blok.w, blok.h,
                 size_t(blok.w) * 4, png);
}

std::string ZapasPlik(const uint32_t* obraz, const std::vector<uint8_t>* blokPng,
                      std::vector<uint8_t>& out) {
  std::string why = PngRgba(reinterpret_cast<const uint8_t*>(obraz), 640, 400, 640 * 4, out);
  if (!why.empty() || !blokPng) return why;
  if (out.size() < koniecBajtow || blokPng->size() > 0x7FFFFFFFu) return "no room for the block";
  // The block's chunk goes in front of IEND, which libpng writes last.
  std::vector<uint8_t> koniec(out.end() - koniecBajtow, out.end());
  out.resize(out.size() - koniecBajtow);
  putBe32(out, uint32_t(blokPng->size()));
  size_t od = out.size();
  out.insert(out.end(), typBloku, typBloku + 4);
  out.insert(out.end(), blokPng->begin(), blokPng->end());
  putBe32(out, crc32(0, &out[od], out.size() - od));
  out.insert(out.end(), koniec.begin(), koniec.end());
  return "";
}

std::string ZapasCzytaj(const uint8_t* data, size_t n, PicImage& obraz, PicImage& blok) {
  if (n < 8 || memcmp(data, PngSignature, 8) != 0) return "not a PNG file";
  // The chunks walked to IEND: each whole, the block's checked and kept aside.
  const uint8_t* blokPng = nullptr;
  size_t blokBajtow = 0;
  bool koniec = false;
  for (size_t p = 8; !koniec;) {
    if (n - p < 12) return "truncated";
    size_t dl = be32(data + p);
    if (dl > n - p - 12) return "truncated";
    const uint8_t* typ = data + p + 4;
    if (memcmp(typ, typBloku, 4) == 0) {
      if (crc32(0, typ, dl + 4) != be32(typ + 4 + dl)) return "the block's checksum is wrong";
      blokPng = typ + 4;
      blokBajtow = dl;
    }
    koniec = memcmp(typ, typKonca, 4) == 0;
    p += 12 + dl;
  }
  PicImage o, b;
  std::string why = PngDecode(data, n, o);
  if (!why.empty()) return why;
  if (o.w != 640 || o.h != 400) return "not a 640x400 picture";
  if (blokPng) {
    why = PngDecode(blokPng, blokBajtow, b);
    if (!why.empty()) return "the block: " + why;
  }
  obraz = std::move(o);
  blok = std::move(b);
  return "";
}
