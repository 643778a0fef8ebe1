#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "paint/zapas_core.h"
#include "tests/picfiles/pngmake.h"

TEST(ZapasOkres, DigitsAloneFromOneMillisecondToAnHour) {
  struct {
    const char* text;
    uint32_t want;
    // clang-format off
  } cases[] = {
      {"30000", 30000}, {"1", 1}, {"3600000", 3600000},
      {"3600001", 0}, {"0", 0}, {"", 0}, {nullptr, 0}, {"-5", 0}, {"5s", 0}, {" 5", 0},
      {"99999999999999999999999", 0},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text ? c.text : "(null)");
    EXPECT_EQ(ZapasOkresZTekstu(c.text), c.want);
  }
}

TEST(ZapasNazwy, OnlyACopysOwnNameIsTaken) {
  EXPECT_EQ(ZapasNazwa(4242, 1700000000), "odzysk-4242-1700000000");
  struct {
    const char* name;
    const char* base;  // null: not a copy's name
    // clang-format off
  } cases[] = {
      {"odzysk-4242-1700000000.png", "odzysk-4242-1700000000"},
      {"odzysk-1-0.png", "odzysk-1-0"},
      {"odzysk-4242-1700000000.lock", nullptr},  // the lock, not the copy
      {"odzysk-4242-1700000000.png.x", nullptr},
      {"odzysk-04242-1.png", nullptr},
      {"odzysk--1.png", nullptr},
      {"odzysk-1.png", nullptr},
      {"odzysk-1-2-3.png", nullptr},
      {"odzysk-1-x.png", nullptr},
      {"Odzysk-1-2.png", nullptr},
      {"odzysk-12345678901234567890-1.png", nullptr},  // 20 digits
      {".tarksen-AbC123", nullptr},  // a writer's scratch file
      {"katalog", nullptr},
      {"../odzysk-1-2.png", nullptr},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string base = "untouched";
    EXPECT_EQ(ZapasZNazwy(c.name, base), c.base != nullptr);
    if (c.base) {
      EXPECT_EQ(base, c.base);
    }
  }
}

TEST(ZapasRodzaj, OnlyScratchFilesAndCopiesLocksAreCleanedUp) {
  struct {
    const char* name;
    ZapasSmiec want;
    const char* base;  // a lock's copy
    // clang-format off
  } cases[] = {
      {".tarksen-AbC123", ZapasSmiec::SKRAWEK, ""},   // the replace-on-write's scratch file
      {".odzysk-zZ09aA", ZapasSmiec::SKRAWEK, ""},    // mkstemp's, for a lock
      {".tarksen-AbC12", ZapasSmiec::NIC, ""},         // five letters
      {".tarksen-AbC1234", ZapasSmiec::NIC, ""},       // seven
      {".tarksen-AbC-12", ZapasSmiec::NIC, ""},
      {".tarksen-", ZapasSmiec::NIC, ""},
      {"tarksen-AbC123", ZapasSmiec::NIC, ""},
      {".other-AbC123", ZapasSmiec::NIC, ""},
      {"odzysk-4242-17.lock", ZapasSmiec::ZAMEK, "odzysk-4242-17"},
      {"odzysk-4242-17.png", ZapasSmiec::NIC, ""},     // a copy is offered, not cleaned
      {"odzysk-04242-17.lock", ZapasSmiec::NIC, ""},
      {"odzysk-4242-17.lock.x", ZapasSmiec::NIC, ""},
      {".lock", ZapasSmiec::NIC, ""},
      {"notatki.txt", ZapasSmiec::NIC, ""},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string base;
    EXPECT_EQ(ZapasRodzaj(c.name, base), c.want);
    EXPECT_EQ(base, c.base);
  }
}

TEST(ZapasKolejnosc, NewestFirstThenByName) {
  std::vector<ZapasPozostaly> p = {{"odzysk-1-1", 100},
                                   {"odzysk-2-1", 300},
                                   {"odzysk-3-1", 200},
                                   {"odzysk-4-1", 300}};
  ZapasKolejnosc(p);
  std::vector<std::string> order;
  for (const auto& e : p) order.push_back(e.base);
  EXPECT_EQ(order,
            (std::vector<std::string>{"odzysk-4-1", "odzysk-2-1", "odzysk-3-1", "odzysk-1-1"}));
}

TEST(ZapasDecyzja, TheFirstChangeAtOnceThenOnePerPeriod) {
  struct {
    const char* what;
    bool niezapisany, nowy, jest;
    uint64_t teraz, ostatni;
    ZapasRuch want;
    uint32_t za = 0;
    // clang-format off
  } cases[] = {
      {"nothing changed",                false, false, false, 50000, 0, ZapasRuch::NIC},
      {"saved, no copy left",            false, true,  false, 50000, 0, ZapasRuch::NIC},
      {"saved after a copy",             false, false, true,  50000, 40000, ZapasRuch::USUN},
      {"the first change",               true,  true,  false, 1000, 0, ZapasRuch::ZAPISZ},
      {"first change after a save",      true,  true,  false, 50000, 49000, ZapasRuch::ZAPISZ},
      {"copied, nothing new",            true,  false, true,  90000, 0, ZapasRuch::NIC},
      {"new, too soon",                  true,  true,  true,  50000, 40000, ZapasRuch::CZEKAJ, 20000},
      {"new, 1 ms too soon",             true,  true,  true,  69999, 40000, ZapasRuch::CZEKAJ, 1},
      {"new, a period on",               true,  true,  true,  70000, 40000, ZapasRuch::ZAPISZ},
      {"new, long after",                true,  true,  true,  900000, 40000, ZapasRuch::ZAPISZ},
      {"clock behind the last copy",     true,  true,  true,  1000, 5000, ZapasRuch::CZEKAJ, 30000},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    uint32_t za = 0;
    EXPECT_EQ(ZapasDecyzja(c.niezapisany, c.nowy, c.jest, c.teraz, c.ostatni, 30000, &za), c.want);
    if (c.want == ZapasRuch::CZEKAJ) {
      EXPECT_EQ(za, c.za);
    }
  }
}

TEST(ZapasScal, TheNewerJobKeepsWhatTheOlderOneStillHadToDo) {
  ZapasZlecenie blokiem;
  blokiem.zapisz = true;
  blokiem.blok = 1;
  blokiem.blokPx = {2, 1, {7, 8}};
  blokiem.poprzednik = "odzysk-9-9";

  ZapasZlecenie bez;  // the block as last written: the older job's new block must not go
  bez.zapisz = true;
  ZapasScal(blokiem, bez);
  EXPECT_EQ(bez.blok, 1);
  EXPECT_EQ(bez.blokPx.px, (std::vector<uint32_t>{7, 8}));
  EXPECT_EQ(bez.poprzednik, "odzysk-9-9");

  ZapasZlecenie starsze = {true, {}, 1, {1, 1, {5}}, "odzysk-1-1"};
  ZapasZlecenie brakBloku;  // its own news wins: no block now, its own copy to remove
  brakBloku.blok = 0;
  brakBloku.poprzednik = "odzysk-2-2";
  ZapasScal(starsze, brakBloku);
  EXPECT_EQ(brakBloku.blok, 0);
  EXPECT_TRUE(brakBloku.blokPx.px.empty());
  EXPECT_EQ(brakBloku.poprzednik, "odzysk-2-2");
}

namespace {

// A picture with every kind of pixel the program makes: palette colours at alpha 127,
// opaque and clear ones, and a few mixes.
std::vector<uint32_t> Obraz() {
  std::vector<uint32_t> px(640 * 400);
  for (size_t i = 0; i < px.size(); i++) {
    const uint32_t rodzaje[] = {0x7FFFFFFF, 0x7F000000, 0xFF0000FF, 0x00000000, 0xBE3F7F10};
    px[i] = i % 641 < 5 ? rodzaje[i % 641] : rodzaje[(i / 640) % 2];
  }
  return px;
}

// The copy's file made here, chunk by chunk: the picture as an RGBA PNG and, when given,
// the block's PNG in a "blOk" chunk before IEND.
std::vector<uint8_t> Plik(const std::vector<uint32_t>& px, const std::vector<uint8_t>* blokPng) {
  std::vector<uint32_t> samples;
  for (uint32_t p : px)
    for (int s = 0; s < 32; s += 8) samples.push_back(p >> s & 0xFF);
  std::vector<uint8_t> f = PngOf(640, 400, 8, 6, samples);
  if (!blokPng) return f;
  std::vector<uint8_t> end(f.end() - 12, f.end());
  f.resize(f.size() - 12);
  pngmake::chunk(f, "blOk", *blokPng);
  f.insert(f.end(), end.begin(), end.end());
  return f;
}

std::vector<uint8_t> BlokPng(const PicImage& b) {
  std::vector<uint32_t> samples;
  for (uint32_t p : b.px)
    for (int s = 0; s < 32; s += 8) samples.push_back(p >> s & 0xFF);
  return PngOf(uint32_t(b.w), uint32_t(b.h), 8, 6, samples);
}

}  // namespace

TEST(ZapasPlik, PictureAndBlockComeBackExactlyAlphaIncluded) {
  const std::vector<uint32_t> obraz = Obraz();
  const PicImage blok = {3, 2, {0x7F0000FF, 0x00FFFFFF, 0xFF123456, 0x7FFFFFFF, 1, 0x80808080}};
  for (bool zBlokiem : {true, false}) {
    SCOPED_TRACE(zBlokiem ? "with a block" : "without a block");
    std::vector<uint8_t> blokPng, plik;
    ASSERT_EQ(ZapasBlok(blok, blokPng), "");
    ASSERT_EQ(ZapasPlik(obraz.data(), zBlokiem ? &blokPng : nullptr, plik), "");
    PicImage o, b;
    ASSERT_EQ(ZapasCzytaj(plik.data(), plik.size(), o, b), "");
    EXPECT_EQ(o.w, 640);
    EXPECT_EQ(o.h, 400);
    EXPECT_TRUE(o.px == obraz) << "the picture";
    EXPECT_EQ(b.w, zBlokiem ? 3 : 0);
    if (zBlokiem) {
      EXPECT_EQ(b.px, blok.px);
    }
  }
}

TEST(ZapasCzytaj, AFileMadeElsewhereInTheSameFormIsRead) {
  const std::vector<uint32_t> obraz = Obraz();
  const PicImage blok = {2, 2, {0x7F00FF00, 0xFFFFFFFF, 0, 0x7F7F7F7F}};
  const std::vector<uint8_t> blokPng = BlokPng(blok), plik = Plik(obraz, &blokPng);
  PicImage o, b;
  ASSERT_EQ(ZapasCzytaj(plik.data(), plik.size(), o, b), "");
  EXPECT_TRUE(o.px == obraz);
  EXPECT_EQ(b.px, blok.px);
}

TEST(ZapasCzytaj, DamagedOrForeignFilesAreRefusedAndLeaveBothAsTheyWere) {
  const std::vector<uint32_t> obraz = Obraz();
  const PicImage blok = {2, 1, {0x7F00FF00, 0xFFFFFFFF}};
  const std::vector<uint8_t> blokPng = BlokPng(blok), dobry = Plik(obraz, &blokPng);
  const size_t blokOd = dobry.size() - 12 - 4 - blokPng.size() - 4;  // its type's first byte
  auto cut = [&](size_t n) { return std::vector<uint8_t>(dobry.begin(), dobry.begin() + n); };
  auto flip = [&](size_t at) {
    std::vector<uint8_t> f = dobry;
    f[at] ^= 0x40;
    return f;
  };
  std::vector<uint8_t> smieci(20, 0xAB);
  const std::vector<uint8_t> zlyBlok = Plik(obraz, &smieci);
  std::vector<uint32_t> maly(320 * 200 * 4, 0x7F);
  struct {
    const char* what;
    std::vector<uint8_t> bytes;
    // clang-format off
  } cases[] = {
      {"empty", {}},
      {"half a signature", cut(4)},
      {"the signature alone", cut(8)},
      {"cut in the header", cut(20)},
      {"cut in the pixels", cut(dobry.size() / 2)},
      {"cut in the block", cut(blokOd + 10)},
      {"cut before the end", cut(dobry.size() - 12)},
      {"a byte of the pixels changed", flip(60)},
      {"a byte of the block changed", flip(blokOd + 20)},
      {"a block that is no PNG", zlyBlok},
      {"a picture of another size", PngOf(320, 200, 8, 6, maly)},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PicImage o = {1, 1, {42}}, b = {1, 1, {43}};
    EXPECT_NE(ZapasCzytaj(c.bytes.data(), c.bytes.size(), o, b), "");
    EXPECT_EQ(o.px, std::vector<uint32_t>{42});
    EXPECT_EQ(b.px, std::vector<uint32_t>{43});
  }
}
