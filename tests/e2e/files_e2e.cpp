// Loading and saving as a user does it: a box under "Ładuj" or "Zapisz", the file
// selector, a name typed or picked; then the picture on the drawing screen and the
// files on disk, checked against pixels worked out here and ImageMagick's reading.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/files_e2e.h"
#include "tests/e2e/look.h"
#include "tests/picfiles/bmpmake.h"
#include "tests/picfiles/pic_expect.h"
#include "tests/picfiles/picmake.h"
#include "tests/picfiles/pngmake.h"
#include "tests/picfiles/stmake.h"
#include "tests/support/e2e.h"
#include "tests/support/pnm.h"
#include "tests/support/run.h"
#include "tests/support/scratch.h"
#include "tests/support/screen.h"

namespace {

// The colour pixel value v of a picture of `planes` planes shows in on the window.
uint32_t plany(int planes, uint8_t v) { return ToRgb(ShownColours(planes).at(v)); }

Obrazek zWartosci(const std::vector<uint8_t>& v, int w, int h, int planes) {
  Obrazek o{w, h, std::vector<uint32_t>(v.size())};
  for (size_t i = 0; i < v.size(); i++) o.px[i] = plany(planes, v[i]);
  return o;
}
Obrazek zRgb(const RgbImage& r) { return {r.w, r.h, r.px}; }

// The file selector as it should look, worked out from its layout: the background and
// two black frames, the title centred by bytes, "Dir:" and "Sel:", the sunken fields and
// list with their texts, the raised lever and buttons, and the lever's two arrows.
std::vector<uint32_t> wygladDialogu(const char* title, const char* filter, const std::string& dir,
                                    const std::vector<std::string>& entries) {
  std::vector<uint32_t> p(640 * 400, SRODEK);
  auto prost = [&p](int x, int y, int w, int h, uint32_t c) {
    for (int j = y; j < y + h; j++)
      for (int i = x; i < x + w; i++) p[size_t(j) * 640 + i] = c;
  };
  for (int i : {0, 2}) {
    prost(i, i, 640 - 2 * i, 1, CZARNY), prost(i, 399 - i, 640 - 2 * i, 1, CZARNY);
    prost(i, i, 1, 400 - 2 * i, CZARNY), prost(639 - i, i, 1, 400 - 2 * i, CZARNY);
  }
  const uint32_t nic = 0xFF000000;  // no colour a screenshot has
  auto napis = [&](const std::string& t, int x, int y) {
    auto f = Tekst({0, 0, 640, 400}, t.c_str(), x, y, 640, nic, CZARNY);
    for (int j = 0; j < 400; j++)
      for (int i = 0; i < 640; i++)
        if (f(i, j) != nic) p[size_t(j) * 640 + i] = CZARNY;
  };
  // A box: the rim one pixel outside r, its corners the fill's.
  auto skrzynka = [&](Rect r, bool wklesla) {
    prost(r.x - 1, r.y - 1, r.w + 2, r.h + 2, wklesla ? BLADY : SRODEK);
    uint32_t gora = wklesla ? CIEMNY : JASNY, dol = wklesla ? JASNY : CIEMNY;
    prost(r.x, r.y - 1, r.w, 1, gora), prost(r.x - 1, r.y, 1, r.h, gora);
    prost(r.x, r.y + r.h, r.w, 1, dol), prost(r.x + r.w, r.y, 1, r.h, dol);
  };
  napis(title, (640 - 16 * int(strlen(title))) / 2, 4);
  napis("Dir:", 8, 24);
  napis("Sel:", 320, 24);
  // Fields print whole glyphs centred in their width: 15, 39 and 15 of them.
  skrzynka(FILTR, true), napis(filter, 68 + 4, 24);
  skrzynka(KATALOG, true), napis(dir, 4 + 4, 48);
  skrzynka(NAZWA, true);
  // The list's 20 rows of 16 pixels leave 4, split above and below.
  skrzynka(LISTA, true);
  for (size_t i = 0; i < entries.size(); i++) napis(entries[i], 4, 70 + 16 * int(i));
  skrzynka(DZWIGNIA, false);
  // clang-format off
  const std::pair<Rect, const char*> buttons[] = {
      {UP, "UP"}, {BASE, "BASE"}, {ROOT, "ROOT"}, {OK, "OK"}, {CANCEL, "CANCEL"}};
  for (const auto& [r, label] : buttons) {
    skrzynka(r, false);
    napis(label, r.x + r.w / 2 - 8 * int(strlen(label)), r.y);
  }
  // clang-format on
  // The '^' glyph's ink (cell 62, columns 1..5, rows 1..6) doubled, once flipped below.
  for (int fy = 0; fy < 6; fy++)
    for (int fx = 0; fx < 5; fx++)
      if (font().ink(8 * 62 + 1 + fx, 1 + fy)) {
        prost(491 + 2 * fx, 199 + 2 * fy, 2, 2, CZARNY);
        prost(491 + 2 * fx, 249 + 2 * (5 - fy), 2, 2, CZARNY);
      }
  return p;
}

// With the control screen up and a block of w x h pixels: takes the tool "Blok", stamps
// the block at (100, 120) on the drawing screen, and tells whether it shows the block's
// colours, kolor(x, y) within the block.
testing::AssertionResult Stempluje(App& app, int w, int h,
                                   const std::function<uint32_t(int, int)>& kolor) {
  if (!Panel(app.waitFor(Panel))) return testing::AssertionFailure() << "no control screen";
  ChooseTool(app, 10);  // "Blok"
  Choose(app, 500, 250, 3);
  app.waitFor([](const Shot& s) { return s.at(0, 0) == 0xFFFFFF; });
  app.click(100, 120);
  return Widac(app, [&](const Shot& s) {
    return Obszar(s, {100, 120, w, h}, [&](int x, int y) { return kolor(x - 100, y - 120); });
  });
}

class Files : public testing::Test {
 protected:
  std::string path(const std::string& name) const { return app.dir() + "/" + name; }
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
    EXPECT_TRUE(WriteBytes(path(name), bytes));
    return path(name);
  }
  // Clicks a load or save box and waits for the file selector.
  void open(Rect box) {
    Choose(app, box);
    ASSERT_TRUE(bool(app.waitFor(Dialog).w)) << "no file selector";
    ASSERT_TRUE(Dialog(app.shot()));
  }
  // Replaces the directory field's text with dir, as a user types it, and lists it.
  void goTo(const std::string& dir) {
    Choose(app, KATALOG);
    app.key("ctrl+x");
    app.type(dir);
    app.key("Return");
  }
  // Opens the selector of the "BMP" load box, ends the name field's editing and lists dir.
  void openBmpIn(const std::string& dir) {
    open(LBMP);
    app.key("Return");
    goTo(dir);
  }
  // Types a name into the name field as the dialog opens and takes it with Enter, twice.
  void choose(const std::string& name) {
    app.type(name);
    app.key("Return");
    app.key("Return");
  }
  testing::AssertionResult shows(const Obrazek& o) { return Pokazuje(app, o); }
  App app;
};

}  // namespace

TEST_F(Files, EveryKindOfPictureLoadsThroughTheSelector) {
  const std::vector<uint8_t> v4 = Pattern(320, 200, 4), v2 = Pattern(640, 200, 2),
                             v1 = Pattern(640, 400, 1);
  std::vector<uint8_t> vd = v1;
  for (uint8_t& v : vd) v ^= uint8_t((&v - vd.data()) % 7 == 0);
  RgbImage bmp{8, 5, {}};
  for (int i = 0; i < 40; i++) bmp.px.push_back(plany(4, uint8_t(i % 16)) ^ uint32_t(i));
  struct {
    const char* name;
    std::vector<uint8_t> file;
    Rect box;
    Obrazek expected;
    // clang-format off
  } rows[] = {
      {"a.PI1", Degas(PlanesOf(v4, 320, 200, 4)), DEGAS, zWartosci(v4, 320, 200, 4)},
      {"b.PI2", Degas(PlanesOf(v2, 640, 200, 2)), DEGAS, zWartosci(v2, 640, 200, 2)},
      {"c.PI3", Degas(PlanesOf(v1, 640, 400, 1)), DEGAS, zWartosci(v1, 640, 400, 1)},
      {"d.PIC", Degas(PlanesOf(v1, 640, 400, 1)), DEGAS, zWartosci(v1, 640, 400, 1)},
      {"doodle.PIC", PlanesOf(vd, 640, 400, 1), DEGAS, zWartosci(vd, 640, 400, 1)},
      {"e.BMP", Bmp24(bmp), LBMP, zRgb(bmp)},
  };
  // clang-format on
  for (auto& r : rows) {
    SCOPED_TRACE(r.name);
    open(r.box);
    choose(write(r.name, r.file));
    EXPECT_TRUE(shows(r.expected));
  }
}

TEST_F(Files, BlocksLoadAndSaveThroughTheSelector) {
  const std::vector<uint8_t> v = Pattern(32, 3, 2);
  RgbImage k{3, 2, {0x102030, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000}};
  std::string gbf = write("x.GBF", Gbf(20, 2, 2, PlanesOf(v, 32, 3, 2)));
  std::string bmp = write("k.BMP", Bmp24(k));
  std::string pi1 = write("a.PI1", Degas(PlanesOf(Pattern(320, 200, 4), 320, 200, 4)));
  struct {
    const char* name;
    Rect load;
    std::string file;
    RgbImage expected;
    // clang-format off
  } rows[] = {
      {"a GBF block through \"...blok\"", LBLOK, gbf, {32, 3, zWartosci(v, 32, 3, 2).px}},
      {"a BMP through \"DEGAS\" goes into the block", DEGAS, bmp, k},
  };
  // clang-format on
  for (auto& r : rows) {
    SCOPED_TRACE(r.name);
    open(r.load);
    choose(r.file);
    ASSERT_TRUE(Panel(app.waitFor(Panel)));
    std::string saved = path("blok");
    remove((saved + ".BMP").c_str());
    open(ZBLOK);
    choose(saved);  // the offered ".BMP" stays behind the name
    ASSERT_TRUE(Panel(app.waitFor(Panel)));
    RgbImage file = ReadWithImageMagick(saved + ".BMP");
    EXPECT_EQ(file.w, r.expected.w);
    EXPECT_EQ(file.h, r.expected.h);
    EXPECT_EQ(file.px, r.expected.px);
  }
  SCOPED_TRACE("a PI1 through \"...blok\" goes onto the picture");
  open(LBLOK);
  choose(pi1);
  EXPECT_TRUE(shows(zWartosci(Pattern(320, 200, 4), 320, 200, 4)));
}

TEST_F(Files, SavedPicturesLoadBack) {
  const std::vector<uint8_t> v4 = Pattern(320, 200, 4);
  const Obrazek pi1 = zWartosci(v4, 320, 200, 4);
  open(DEGAS);
  choose(write("a.PI1", Degas(PlanesOf(v4, 320, 200, 4))));
  ASSERT_TRUE(shows(pi1));
  open(DOODLE);
  choose(path("d"));  // saved as d.PIC, the offered name behind the typed one
  ASSERT_TRUE(Panel(app.waitFor(Panel)));
  open(ZBMP);
  choose(path("p"));
  ASSERT_TRUE(Panel(app.waitFor(Panel)));
  EXPECT_EQ(ReadBytes(path("d.PIC")).size(), 32000u);
  RgbImage p = ReadWithImageMagick(path("p.BMP"));
  ASSERT_EQ(p.w, 640);
  ASSERT_EQ(p.h, 400);
  for (int y = 0; y < 400; y += 7)
    for (int x = 0; x < 640; x += 3) ASSERT_EQ(p.at(x, y), pi1.pod(x, y)) << x << ", " << y;

  Choose(app, CZYSC);
  ASSERT_TRUE(AlertUp(app.waitFor(AlertUp)));
  Choose(app, TAK);
  ASSERT_TRUE(shows(Obrazek{1, 1, {0xFFFFFF}})) << "cleared";
  open(LBMP);
  choose(path("p.BMP"));
  EXPECT_TRUE(shows(pi1)) << "the BMP";
  open(DEGAS);
  choose(path("d.PIC"));
  Obrazek bw = pi1;
  for (uint32_t& c : bw.px) c = c == 0xFFFFFF ? c : 0;
  EXPECT_TRUE(shows(bw)) << "the Doodle: only white stays white";
}

// Files of the kinds the converter reads besides those of old.
struct Kinds {
  std::mt19937 rng{24};
  const std::vector<uint8_t> v4 = RandomValues(rng, 320, 200, 16),
                             v2 = RandomValues(rng, 640, 200, 4),
                             v1 = RandomValues(rng, 640, 400, 2);
  const std::vector<uint16_t> words = RandomStWords(rng, 16);
  const std::vector<uint8_t> b4 = PlanesOf(v4, 320, 200, 4);
  // Spectrum 512's 48 palette words for each of lines 1..199, all kinds of them.
  std::vector<uint16_t> lines = [] {
    std::vector<uint16_t> w(199 * 48);
    for (size_t i = 0; i < w.size(); i++) w[i] = uint16_t(i * 37 & 0x0FFF);
    return w;
  }();
  std::vector<uint32_t> colours = [this] {
    std::vector<uint32_t> c(7 * 3);
    for (uint32_t& v : c) v = rng() & 0xFFFFFF;
    return c;
  }();
};

// Each file, chosen through the "BMP" box, shows what tarksen-convert --as-shown makes
// of it, pixel for pixel. Two tests share the kinds, each within the time of one.
class NewKinds : public Files {
 protected:
  void loadEach(const std::vector<std::pair<const char*, std::vector<uint8_t>>>& rows) {
    for (const auto& [name, bytes] : rows) {
      SCOPED_TRACE(name);
      open(LBMP);
      std::string file = write(name, bytes);
      choose(file);
      EXPECT_TRUE(shows(AsShown(file, app.dir())));
    }
  }
  void SetUp() override {
    if (!HaveTool("pngtopam")) GTEST_SKIP() << "netpbm is not installed";
  }
  Kinds k;
};

TEST_F(NewKinds, CompressedDegasAndNeochromeLoadAsTheConverterShowsThem) {
  loadEach({{"a.PC1", PcOf(0, k.words, k.b4)},
            {"b.PC2", PcOf(1, k.words, PlanesOf(k.v2, 640, 200, 2))},
            {"c.PC3", PcOf(2, k.words, PlanesOf(k.v1, 640, 400, 1))},
            {"d.NEO", NeoOf(0, k.words, k.b4)}});
}

TEST_F(NewKinds, SpectrumDoodleDegasOf32034AndPngLoadAsTheConverterShowsThem) {
  loadEach({{"e.SPU", SpuOf(k.b4, k.lines)},
            {"f.SPC", SpcOf(k.b4, k.lines)},
            {"g.DOO", PlanesOf(k.v1, 640, 400, 1)},
            {"h.PI1", DegasOf(0, k.words, k.b4)},  // 32,034 bytes, as DEGAS writes it
            {"i.png", PngRgbOf(7, 3, k.colours)}});
}

// A PNG saved from the picture holds what the drawing screen shows, one saved from the
// block what the block's BMP holds (both read by netpbm); a PNG in the block stamps.
TEST_F(Files, PngsLoadIntoTheBlockAndSaveFromPictureAndBlock) {
  if (!HaveTool("pngtopam")) GTEST_SKIP() << "netpbm is not installed";
  // Through a box: the name typed, the offered ".BMP" behind it deleted unless kept,
  // and back on the control screen.
  auto take = [&](Rect box, const std::string& name, bool keepOffered = false) {
    open(box);
    app.type(name);
    for (int i = 0; i < (keepOffered ? 0 : 4); i++) app.key("Delete");
    app.key("Return");
    app.key("Return");
    return Panel(app.waitFor(Panel));
  };
  std::mt19937 rng{24};
  std::vector<uint32_t> colours(7 * 3);
  for (uint32_t& c : colours) c = rng() & 0xFFFFFF;
  const std::string png = write("i.png", PngRgbOf(7, 3, colours));
  ASSERT_TRUE(take(LBMP, png));
  ASSERT_TRUE(take(ZBMP, path("p.png")));
  const Obrazek p = PoPngtopam(path("p.png"), app.dir());
  ASSERT_EQ(p.w, 640);
  EXPECT_TRUE(shows(p)) << "the drawing screen";
  // The PNG it came from, each pixel the file's pixel under its centre.
  Obrazek stretched{640, 400, std::vector<uint32_t>(640 * 400)};
  for (int y = 0; y < 400; y++)
    for (int x = 0; x < 640; x++)
      stretched.px[size_t(y) * 640 + x] =
          colours[size_t((2 * y + 1) * 3 / 800) * 7 + (2 * x + 1) * 7 / 1280];
  EXPECT_TRUE(SamePixels(p.px, stretched.px, 640, Layout::Rgb)) << "the stretched PNG";

  ASSERT_TRUE(take(LBLOK, png));
  ASSERT_TRUE(take(ZBLOK, path("b.PNG")));
  ASSERT_TRUE(take(ZBLOK, path("b"), true));  // b.BMP
  const Obrazek b = PoPngtopam(path("b.PNG"), app.dir());
  EXPECT_EQ(b.w, 7);
  EXPECT_EQ(b.px, colours);
  EXPECT_EQ(b.px, ReadWithImageMagick(path("b.BMP")).px);
  EXPECT_TRUE(Stempluje(app, 7, 3, [&](int x, int y) { return colours[size_t(y) * 7 + x]; }));
}

// A quit request while the selector is up ends the command and the program, exit code
// 0, with nothing written or loaded: the name field's text is not acted on.
TEST(FileSelector, AQuitRequestInItEndsTheProgramWithNothingDone) {
  struct {
    const char* name;
    Rect box;
    std::string typed;
    // clang-format off
  } rows[] = {
      {"save", ZBMP, "saved"},
      {"load of a name that is not there", LBMP, "none.BMP"},
  };
  // clang-format on
  for (auto& r : rows) {
    SCOPED_TRACE(r.name);
    App a;
    Choose(a, r.box);
    ASSERT_TRUE(Dialog(a.waitFor(Dialog)));
    a.type(a.dir() + "/" + r.typed);
    a.closeWindow();
    EXPECT_EQ(a.waitExit(), 0);
    EXPECT_EQ(a.output(), "") << "a load of the name would have told SDL's error";
    EXPECT_EQ(Listing(a.dir()), "BASFont.bmp\nstderr.txt\nstdout.txt\n");
  }
}

// The dialog for a fixed directory, pixel for pixel, after its path was typed in.
TEST_F(Files, TheSelectorOnAFixedDirectoryLooksExactlySo) {
  ASSERT_EQ(mkdir(path("fixed").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(path("fixed/sub").c_str(), 0755), 0);
  for (const char* n : {"b.bmp", "a.BMP", "c.txt", "d.Bmp"}) write(std::string("fixed/") + n, {});
  openBmpIn(path("fixed"));
  const std::vector<uint32_t> want =
      wygladDialogu("Ładowanie", ".BMP", path("fixed/"), {"\x7Fsub", "a.BMP", "b.bmp"});
  EXPECT_TRUE(Widac(app, [&](const Shot& s) {
    return Obszar(s, {0, 0, 640, 400}, [&](int x, int y) { return want[size_t(y) * 640 + x]; });
  }));
  Choose(app, CANCEL);
  EXPECT_TRUE(Panel(app.waitFor(Panel)));
}

// The directory field showing text.
testing::AssertionResult katalog(const Shot& s, const std::string& text) {
  return Obszar(s, KATALOG, Tekst(KATALOG, text.c_str(), 8, 48, 640, BLADY, CZARNY));
}

TEST_F(Files, TheSelectorAsAUserWalksIt) {
  std::string bin = TARKSEN_BIN, base = bin.substr(0, bin.rfind('/') + 1);
  std::string parent = base.substr(0, base.rfind('/', base.size() - 2) + 1);
  ASSERT_EQ(mkdir(path("long").c_str(), 0755), 0);
  auto kolor = [](int i) { return uint32_t(0x030507 * (i + 1)); };
  for (int i = 0; i < 60; i++) {
    char n[16];
    snprintf(n, sizeof n, "long/f%02d.BMP", i);
    write(n, Bmp24(RgbImage{1, 1, {kolor(i)}}));
  }
  {
    SCOPED_TRACE("a save: a Polish name typed at once, then UP, BASE, ROOT and a typed path");
    open(ZBMP);
    app.type("zażółć gęślą");
    app.key("Return");
    EXPECT_TRUE(Widac(app, [&](const Shot& s) { return katalog(s, base); })) << "starts in BASE";
    Choose(app, UP);
    EXPECT_TRUE(Widac(app, [&](const Shot& s) { return katalog(s, parent); }));
    Choose(app, ROOT);
    EXPECT_TRUE(Widac(app, [&](const Shot& s) { return katalog(s, "/"); }));
    Choose(app, BASE);
    EXPECT_TRUE(Widac(app, [&](const Shot& s) { return katalog(s, base); }));
    goTo(app.dir());
    EXPECT_TRUE(Widac(app, [&](const Shot& s) { return katalog(s, app.dir() + "/"); }));
    Choose(app, OK);
    ASSERT_TRUE(Panel(app.waitFor(Panel)));
    EXPECT_EQ(ReadWithImageMagick(path("zażółć gęślą.BMP")).w, 640) << "saved under that name";
  }
  {
    SCOPED_TRACE("a load: the lever held down to the end of 60 files, a double click");
    openBmpIn(path("long"));
    Rect last = {4, 70 + 16 * 19, 480, 16};
    auto shown = [&](const char* name) {
      return [&, name](const Shot& s) {
        return Obszar(s, last, Tekst(last, name, 4, last.y, 640, BLADY, CZARNY));
      };
    };
    ASSERT_TRUE(Widac(app, shown("f19.BMP")));
    app.press(496, 390);
    EXPECT_TRUE(Widac(app, shown("f59.BMP"))) << "scrolled to the end";
    app.release();
    app.doubleClick(100, wiersz(19));
    EXPECT_TRUE(shows(Obrazek{1, 1, {kolor(59)}}));
  }
  {
    SCOPED_TRACE("CANCEL after picking a file loads nothing");
    openBmpIn(path("long"));
    Choose(app, 100, wiersz(0));
    Choose(app, CANCEL);
    EXPECT_TRUE(shows(Obrazek{1, 1, {kolor(59)}}));
  }
}

TEST_F(Files, AFailedLoadShowsItsAlertAndLeavesThePicture) {
  struct {
    const char* name;
    Rect box;
    std::string file;
    const char* text;
    int dx, dy;
    // clang-format off
  } rows[] = {
      {"a missing picture", DEGAS, path("none.PI1"), "Nie ma takiego pliku", 0, 100},
      {"a malformed BMP: SDL's words", LBMP, write("junk.BMP", {'h', 'e', 'l', 'l', 'o', '!'}),
       "File is not a Windows BMP file", 0, 50},
      {"an unknown kind", LBMP, write("x.Bmp", Bmp24(RgbImage{1, 1, {0}})), "Nieznany typ pliku",
       16, 100},
  };
  // clang-format on
  for (auto& r : rows) {
    SCOPED_TRACE(r.name);
    open(r.box);
    choose(r.file);
    EXPECT_TRUE(Alert(app, r.text, r.dx, r.dy));
    app.key("Return");
    EXPECT_TRUE(shows(Obrazek{1, 1, {0xFFFFFF}})) << "the picture as it was";
  }
}

// A file named on the command line is loaded at start as the "BMP" load box loads it;
// one that cannot be loaded gives the load command's alert over the control screen,
// and the picture stays white.
TEST(CommandLine, AFileNamedIsLoadedAtStart) {
  Scratch dir("args");
  auto fifo = [&](const std::string& name) {
    EXPECT_EQ(mkfifo((dir / name).c_str(), 0644), 0);
    return dir / name;
  };
  // A 118-byte BMP whose header asks for 16384x16384 pixels of 32 bits, a gigabyte.
  std::vector<uint8_t> gigabyte = Bmp24(RgbImage{1, 1, {0}});
  gigabyte.resize(118, 0);
  for (int i = 0; i < 4; i++) gigabyte[18 + i] = gigabyte[22 + i] = uint8_t(16384 >> 8 * i);
  gigabyte[28] = 32;
  const std::vector<uint8_t> v4 = Pattern(320, 200, 4);
  RgbImage bmp{4, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0x102030, 0, 0xFFFFFF, 0x808080, 0x7F7FFF}};
  const Obrazek bialy{1, 1, {0xFFFFFF}};
  struct {
    const char* name;
    std::string file;
    Obrazek picture;
    const char* alertText;  // null: no alert
    int dx, dy;
    // clang-format off
  } rows[] = {
      {"a PI1", dir.write("a.PI1", Degas(PlanesOf(v4, 320, 200, 4))), zWartosci(v4, 320, 200, 4),
       nullptr, 0, 0},
      {"a BMP onto the picture", dir.write("b.BMP", Bmp24(bmp)), zRgb(bmp), nullptr, 0, 0},
      {"a missing file", dir / "none.PI1", bialy, "Nie ma takiego pliku", 0, 100},
      {"a malformed BMP", dir.write("junk.bmp", {'h', 'e', 'l', 'l', 'o', '!'}), bialy,
       "File is not a Windows BMP file", 0, 50},
      {"an unknown kind", dir.write("c.txt", {1}), bialy, "Nieznany typ pliku", 16, 100},
      {"a FIFO named as a picture: refused, not waited on", fifo("p.PI1"), bialy,
       "Niewłaściwy\nformat pliku", 64, 100},
      {"a BMP header asking for a gigabyte", dir.write("g.BMP", gigabyte), bialy,
       "too large: 16384x16384 is more than 2^26 pixels", 0, 50},
  };
  // clang-format on
  for (auto& r : rows) {
    SCOPED_TRACE(r.name);
    App app(Launch{"", true, true, "", {r.file}});
    if (r.alertText) {
      EXPECT_TRUE(Alert(app, r.alertText, r.dx, r.dy));
      app.key("Return");
    }
    EXPECT_TRUE(Pokazuje(app, r.picture));
  }

  SCOPED_TRACE("a GBF block, stamped with the block tool");
  const std::vector<uint8_t> v = Pattern(16, 3, 2);
  App app(Launch{"", true, true, "", {dir.write("k.GBF", Gbf(16, 2, 2, PlanesOf(v, 16, 3, 2)))}});
  EXPECT_TRUE(Stempluje(app, 16, 3, [&](int x, int y) { return plany(2, v[size_t(y) * 16 + x]); }));
}

// What tarksen-convert --as-shown makes of a file is what the program shows after
// loading it; and a DEGAS file of the common 32,034 bytes, converted to the 32,066 the
// program reads, opens with the picture it holds.
TEST(CommandLine, FilesShowWhatTheConverterSaysTheProgramShows) {
  if (!HaveTool("pngtopam")) GTEST_SKIP() << "netpbm is not installed";
  Scratch dir("shown");
  auto shown = [&](const std::string& path) { return AsShown(path, dir.path); };
  // Whether a picture of 640x400 shows b, pixel for pixel.
  auto same = [](const Obrazek& a, const Obrazek& b) {
    return SameArea(GridOf(a, Layout::Rgb), 0, 0, 640, 400,
                    [&](int x, int y) { return b.pod(x, y); });
  };

  std::mt19937 rng{5};
  const std::vector<uint8_t> v4 = RandomValues(rng, 320, 200, 16),
                             v2 = RandomValues(rng, 640, 200, 4),
                             v1 = RandomValues(rng, 640, 400, 2);
  const std::vector<uint16_t> words = RandomStWords(rng, 16);
  const std::string common = dir.write("common.PI1", DegasOf(0, words, PlanesOf(v4, 320, 200, 4)));
  EXPECT_EQ(Shell("'" TARKSEN_CONVERT_BIN "' -f pi1 -o opens.PI1 common.PI1", dir.path).code, 0);
  struct {
    const char* name;
    std::string file;     // what the program is started with
    std::string convert;  // what the converter reads
    Obrazek values;       // the pixel values in the program's fixed colours
    // clang-format off
  } rows[] = {
      {"a PI1", dir.write("a.PI1", DegasOf(0, words, PlanesOf(v4, 320, 200, 4), 32066)), "",
       zWartosci(v4, 320, 200, 4)},
      {"a PI2", dir.write("b.PI2", DegasOf(1, words, PlanesOf(v2, 640, 200, 2), 32066)), "",
       zWartosci(v2, 640, 200, 2)},
      {"a PI3", dir.write("c.PI3", DegasOf(2, words, PlanesOf(v1, 640, 400, 1), 32066)), "",
       zWartosci(v1, 640, 400, 1)},
      {"a PI1 of 32,034 bytes converted to 32,066", dir / "opens.PI1", common,
       zWartosci(v4, 320, 200, 4)},
  };
  // clang-format on
  for (auto& r : rows) {
    SCOPED_TRACE(r.name);
    Obrazek converted = shown(r.convert.empty() ? r.file : r.convert);
    EXPECT_TRUE(same(converted, r.values));
    App app(Launch{"", true, true, "", {r.file}});
    EXPECT_TRUE(Pokazuje(app, converted));
  }

  SCOPED_TRACE("a GBF block, stamped with the block tool");
  const std::vector<uint8_t> v = RandomValues(rng, 16, 3, 4);
  const std::string gbf = dir.write("k.GBF", Gbf(16, 2, 2, PlanesOf(v, 16, 3, 2)));
  const Obrazek block = shown(gbf);
  ASSERT_EQ(block.w, 16);
  ASSERT_EQ(block.h, 3);
  for (size_t i = 0; i < v.size(); i++) EXPECT_EQ(block.px[i], plany(2, v[i])) << i;
  App app(Launch{"", true, true, "", {gbf}});
  EXPECT_TRUE(Stempluje(app, 16, 3, [&](int x, int y) { return block.px[size_t(y) * 16 + x]; }));
}
