// Pure rules of the recovery copy (the picture and the block kept on disk while they
// have changes not saved, offered again at the next start after a crash or a kill):
// its file names, when a copy is due, which left copy is offered first, and the file's
// form: a PNG of the picture with the block inside. No SDL here; paint/zapas.cpp is the
// paint program's shell, paint/zapas_dysk.cpp the desktop's storage and writer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "picfiles/pic_core.h"

// The time between two copies while changes go on, in ms.
inline constexpr uint32_t ZapasOkres = 30000;
// The longest period taken from TARKSEN_RECOVERY_MS, the tests' way to shorten it: an hour.
inline constexpr uint32_t ZapasOkresMax = 3600000;
// The period the text gives, decimal digits alone from 1 to ZapasOkresMax; 0 otherwise.
uint32_t ZapasOkresZTekstu(const char* s);

// A program's copy is "odzysk-<pid>-<id>.png" in the state directory, beside its lock
// "odzysk-<pid>-<id>.lock", which the living program holds (flock) for its whole run;
// id tells apart programs that had the same process id. ZapasNazwa gives the name
// without the extension.
std::string ZapasNazwa(int64_t pid, uint64_t id);
// Whether name is a copy's name ("odzysk-<pid>-<id>.png", both numbers in decimal
// without leading zeros); its name without ".png" into base.
bool ZapasZNazwy(const char* name, std::string& base);

// What a file of the state directory is to the clean-up at start. SKRAWEK: a scratch
// file of a write cut short by a kill or a crash (".tarksen-" or ".odzysk-" and six
// letters or digits), removed once older than ZapasSkrawekWiek seconds, which no write
// of a living program takes. ZAMEK: a copy's lock ("odzysk-<pid>-<id>.lock", its name
// without the extension in base), removed when no program holds it and its copy is gone
// (a program killed before it had anything to keep). NIC: anything else, left alone.
enum class ZapasSmiec : uint8_t { NIC, SKRAWEK, ZAMEK };
ZapasSmiec ZapasRodzaj(const char* name, std::string& base);
inline constexpr int64_t ZapasSkrawekWiek = 600;

// A copy left by a program no longer running: its name without the extension and the
// time it was last written (ns since the epoch).
struct ZapasPozostaly {
  std::string base;
  int64_t czas;
};
// Newest first, the one to offer first; copies written at the same time by name.
void ZapasKolejnosc(std::vector<ZapasPozostaly>& p);

// What the copy needs now, for a picture that niezapisany has changes not saved since
// its last load or save, nowy changed (with the block) since the last copy was handed
// on, jest the copy on disk: ZAPISZ now; CZEKAJ, due *za ms later; USUN, the picture
// being saved (or as it was loaded); NIC. The first copy after a change comes at once;
// then at most one every okres ms, counted from teraz - ostatni since the last.
enum class ZapasRuch : uint8_t { NIC, ZAPISZ, CZEKAJ, USUN };
ZapasRuch ZapasDecyzja(bool niezapisany, bool nowy, bool jest, uint64_t teraz, uint64_t ostatni,
                       uint32_t okres, uint32_t* za);

// One job for the copy's writer. blok: -1 the block as in the copy last written, 0 none,
// 1 the block in blokPx.
struct ZapasZlecenie {
  bool zapisz = false;          // write the copy; else remove it
  std::vector<uint32_t> obraz;  // 640x400 (pixels as the textures hold them) to write
  int8_t blok = -1;
  PicImage blokPx;
  std::string poprzednik;  // a left copy restored: removed once this job has succeeded
};
// A job given while the older one waits untaken replaces it; what the newer one takes
// over from it (the block it has not been given again, the copy to remove) moves into it.
void ZapasScal(ZapasZlecenie& starsze, ZapasZlecenie& nowsze);

// The copy's file: picture (640x400) as an 8-bit RGBA PNG, alpha kept, and when the
// block is given (blokPng, the block as an RGBA PNG: ZapasBlok) a private chunk "blOk"
// before the end holding that PNG. "" or the reason.
std::string ZapasBlok(const PicImage& blok, std::vector<uint8_t>& png);
std::string ZapasPlik(const uint32_t* obraz, const std::vector<uint8_t>* blokPng,
                      std::vector<uint8_t>& out);
// Reads a copy's file: a sound PNG of 640x400 into obraz, and the block (w 0 when the
// file holds none) into blok. A truncated or damaged file, a chunk whose checksum is
// wrong, a picture of another size or a block that is no sound PNG is refused with the
// reason; obraz and blok are then untouched.
std::string ZapasCzytaj(const uint8_t* data, size_t n, PicImage& obraz, PicImage& blok);
