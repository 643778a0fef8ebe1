// The recovery copy on the real program: a picture ended by a signal, a kill, a crash
// of the state directory's disk or a close request comes back at the next start, once;
// copies of two programs, damaged copies, and what a save and "Koniec" leave behind.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "paint/zapas_core.h"
#include "tests/e2e/drawing_e2e.h"
#include "tests/e2e/look.h"
#include "tests/picfiles/bmpmake.h"
#include "tests/support/mounts.h"

namespace {

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
bool Exists(const std::string& p) { return access(p.c_str(), F_OK) == 0; }

// A program whose state directory is stan's, with a copy every ms when given.
Launch Jak(const Scratch& stan, std::vector<std::string> args = {}, const char* ms = nullptr) {
  Launch l;
  l.args = std::move(args);
  l.env = {"XDG_STATE_HOME=" + stan.path};
  if (ms) l.env.push_back(std::string("TARKSEN_RECOVERY_MS=") + ms);
  return l;
}

// The copies in stan's state directory, by name.
std::vector<std::string> Kopie(const Scratch& stan) {
  std::vector<std::string> k;
  std::string base;
  for (const std::string& n : Lines(Listing(stan / "tarksen")))
    if (ZapasZNazwy(n.c_str(), base)) k.push_back(n);
  return k;
}

// Waits up to ms for the copy of stan (the only one) to be written again: its inode
// changes with every copy, as the new file is renamed over the old. Its inode then.
ino_t NowaKopia(const Scratch& stan, ino_t stara, int ms = 10000) {
  for (int t = 0; t < ms; t += 50) {
    std::vector<std::string> k = Kopie(stan);
    struct stat st;
    if (k.size() == 1 && stat((stan / "tarksen/" + k[0]).c_str(), &st) == 0 && st.st_ino != stara)
      return st.st_ino;
    sleepMs(50);
  }
  return stara;
}

// A black horizontal line from (100, y) to (200, y), drawn from the control screen;
// the control screen again.
void Linia(App& app, int y) {
  ChooseTool(app, 2);
  SwitchScreens(app);
  TwoPoints(app, 100, y, 200, y);
  Await(
      app, [&](const Shot& s) { return s.at(150, y) == CZARNY; }, "the line");
  app.move(639, 399);
  SwitchScreens(app);
}

// The picture as the drawing screen shows it; the control screen again.
Shot Obraz(App& app) {
  SwitchScreens(app);
  app.move(639, 399);
  Shot s = app.settle();
  SwitchScreens(app);
  return s;
}

// The question answered with box b; the control screen again.
void Odpowiedz(App& app, Rect b) {
  ASSERT_TRUE(Pytanie(app.waitFor(Pytanie))) << "no question";
  Choose(app, b);
  ASSERT_TRUE(Panel(app.waitFor(Panel)));
}

// The picture saved as a.BMP in the program's directory through "Zapisz" > "BMP", the
// name typed before the one offered; the control screen again.
void Zapisz(App& app) {
  ThroughSelector(app, ZBMP, app.dir() + "/a");
  EXPECT_FALSE(ReadBytes(app.dir() + "/a.BMP").empty()) << "not saved";
}

// "Koniec", "Tak": the end that discards.
void Koniec(App& app) {
  Choose(app, KONIEC);
  app.waitFor(AlertUp);
  Choose(app, TAK);
  EXPECT_EQ(app.waitExit(), 0);
}

// An 8x8 block of four colours in quarters, as a BMP file in the program's directory,
// loaded through "...blok".
RgbImage LadujBlok(App& app) {
  RgbImage b{8, 8, std::vector<uint32_t>(64)};
  for (int i = 0; i < 64; i++) b.px[i] = PALETA[2 + (i % 8 / 4) + 2 * (i / 32)];
  const std::string path = app.dir() + "/b.BMP";
  EXPECT_TRUE(WriteBytes(path, Bmp24(b)));
  ThroughSelector(app, LBLOK, path);
  return b;
}

// Whether the drawing screen shows block b stamped at (300, 200) with the block tool.
testing::AssertionResult StempelBloku(App& app, const RgbImage& b) {
  ChooseTool(app, 10);
  SwitchScreens(app);
  app.click(300, 200);
  app.move(600, 380);
  Shot s = app.waitFor([&](const Shot& s) { return s.at(300, 200) == b.px[0]; });
  testing::AssertionResult r =
      Obszar(s, {300, 200, 8, 8}, [&](int x, int y) { return b.at(x - 300, y - 200); });
  SwitchScreens(app);
  return r;
}

}  // namespace

// Draw, SIGTERM: the next start asks; "Tak" gives the same picture and block. Again,
// and "Nie" gives the white picture and no question the time after. --no-restore asks
// nothing and leaves the copy; a file named on the command line loads and still asks.
TEST(Odzysk, ASignalKeepsPictureAndBlockTakBringsThemBackNieForgetsThem) {
  Scratch stan{"stan"};
  Shot narysowany;
  RgbImage blok;
  {
    App app(Jak(stan));
    blok = LadujBlok(app);
    Linia(app, 100);  // copied at once
    Linia(app, 150);  // copied only by the signal's end, the period being 30 s
    narysowany = Obraz(app);
    app.signal(SIGTERM);
    EXPECT_EQ(app.waitExit(), 0);
    EXPECT_EQ(app.errors(), "");
  }
  ASSERT_EQ(Kopie(stan).size(), 1u);
  {
    App app(Jak(stan, {"--no-restore"}));
    EXPECT_TRUE(Panel(app.shot())) << "--no-restore asks nothing";
    Koniec(app);
  }
  ASSERT_EQ(Kopie(stan).size(), 1u) << "--no-restore leaves the copy";
  {
    App app(Jak(stan));
    Odpowiedz(app, TAK);
    EXPECT_TRUE(SameShot(Obraz(app), narysowany));
    EXPECT_TRUE(StempelBloku(app, blok));
    app.signal(SIGTERM);  // the restored picture, stamped, is not saved either
    EXPECT_EQ(app.waitExit(), 0);
  }
  EXPECT_EQ(Kopie(stan).size(), 1u) << "the restored copy gave way to the new one";
  {
    const std::string plik = stan / "kot.PIC";
    std::vector<uint8_t> doodle(32000, 0);
    std::fill(doodle.begin(), doodle.begin() + 80, 0xFF);  // its top row black
    ASSERT_TRUE(WriteBytes(plik, doodle));
    App app(Jak(stan, {plik}));
    Odpowiedz(app, NIE);
    Shot s = Obraz(app);
    EXPECT_EQ(s.at(320, 0), CZARNY) << "the file's picture";
    for (auto [x, y] : Points{{150, 100}, {150, 150}, {300, 200}, {639, 399}})
      EXPECT_EQ(s.at(x, y), BIALY) << x << "," << y;
    Koniec(app);
  }
  EXPECT_TRUE(Kopie(stan).empty());
  App app(Jak(stan));
  EXPECT_TRUE(Panel(app.shot())) << "nothing left to offer";
}

// Draw, a copy, draw more, wait past one period on the drawing screen, draw again at
// once, SIGKILL: the copy offered holds what was drawn before the last period's copy and
// not what came after it.
TEST(Odzysk, AfterAKillTheCopyOfTheLastPeriodIsOffered) {
  Scratch stan{"stan"};
  {
    App app(Jak(stan, {}, "4000"));
    Linia(app, 100);
    ino_t pierwsza = NowaKopia(stan, 0);
    ASSERT_NE(pierwsza, 0u) << "no copy after the first change";
    SwitchScreens(app);  // the line tool still chosen
    TwoPoints(app, 100, 150, 200, 150);
    ASSERT_NE(NowaKopia(stan, pierwsza), pierwsza) << "no copy a period later";
    // A second's work where the next copy is four seconds away.
    TwoPoints(app, 100, 200, 200, 200);
    Await(
        app, [](const Shot& s) { return s.at(150, 200) == CZARNY; }, "the last line");
    app.signal(SIGKILL);
    app.waitExit();
  }
  App app(Jak(stan));
  Odpowiedz(app, TAK);
  Shot s = Obraz(app);
  EXPECT_EQ(s.at(150, 100), CZARNY);
  EXPECT_EQ(s.at(150, 150), CZARNY);
  EXPECT_EQ(s.at(150, 200), BIALY) << "drawn after the last copy";
}

// Two programs at once, each killed: the newest copy is offered first, the other at the
// next start.
TEST(Odzysk, TwoProgramsKilledLeaveTwoCopiesNewestOfferedFirst) {
  Scratch stan{"stan"};
  {
    App a(Jak(stan)), b(Jak(stan));
    Linia(a, 100);
    ASSERT_NE(NowaKopia(stan, 0), 0u);
    Linia(b, 200);
    for (int t = 0; t < 100 && Kopie(stan).size() < 2; t++) sleepMs(50);
    ASSERT_EQ(Kopie(stan).size(), 2u);
    a.signal(SIGKILL);
    b.signal(SIGKILL);
  }
  for (int linia : {200, 100}) {
    SCOPED_TRACE(linia);
    App app(Jak(stan));
    Odpowiedz(app, TAK);
    Shot s = Obraz(app);
    EXPECT_EQ(s.at(150, linia), CZARNY);
    EXPECT_EQ(s.at(150, 300 - linia), BIALY);
    Koniec(app);
  }
  EXPECT_TRUE(Kopie(stan).empty());
}

// A state directory that cannot be written (read-only, or full): the program draws and
// saves as ever, says so in one line on standard error, and shows no alert for it.
TEST(Odzysk, AStateDirectoryThatCannotBeWrittenIsOneLineAndNoAlert) {
  struct {
    const char* what;
    bool readOnly;
  } rows[] = {{"read-only", true}, {"full", false}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    Scratch stan{"stan"};
    std::string refused = MountTmpfs(stan.path, 64, r.readOnly);
    if (!refused.empty()) GTEST_SKIP() << refused;
    struct Odmontuj {
      std::string dir;
      ~Odmontuj() { Unmount(dir); }
    } odmontuj{stan.path};
    if (!r.readOnly) {
      Sh("mkdir -p '" + stan / "tarksen" + "'; head -c 1M /dev/zero >'" + stan / "pelny" +
         "' 2>/dev/null");
    }
    {
      App app(Jak(stan, {}, "200"));
      Linia(app, 100);
      sleepMs(400);
      Linia(app, 150);
      EXPECT_TRUE(Panel(app.settle())) << "no alert";
      Zapisz(app);
      Linia(app, 200);
      EXPECT_TRUE(Panel(app.settle()));
      std::string err = app.errors();
      EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
      EXPECT_NE(err.find("the picture is not kept for a restart"), std::string::npos) << err;
      Koniec(app);
    }
  }
}

// Damaged copies (cut short, garbage) are refused without a crash, removed with a line
// each, and the sound copy behind them is offered.
TEST(Odzysk, DamagedCopiesAreRefusedAndRemovedTheSoundOneOffered) {
  Scratch stan{"stan"};
  const std::string dir = stan.dir("tarksen");
  std::vector<uint32_t> obraz(640 * 400, 0x7FFFFFFF);
  for (int x = 100; x <= 200; x++) obraz[100 * 640 + x] = 0x7F000000;
  std::vector<uint8_t> dobry;
  ASSERT_EQ(ZapasPlik(obraz.data(), nullptr, dobry), "");
  ASSERT_TRUE(WriteBytes(dir + "/odzysk-7-1.png", dobry));
  struct timeval dawno[2] = {{1000000000, 0}, {1000000000, 0}};  // older than the rest
  utimes((dir + "/odzysk-7-1.png").c_str(), dawno);
  ASSERT_TRUE(WriteBytes(dir + "/odzysk-8-1.png",
                         std::vector<uint8_t>(dobry.begin(), dobry.begin() + dobry.size() / 2)));
  ASSERT_TRUE(WriteText(dir + "/odzysk-9-1.png", "not a picture at all"));

  App app(Jak(stan));
  Odpowiedz(app, TAK);
  EXPECT_EQ(Obraz(app).at(150, 100), CZARNY);
  std::string err = app.errors();
  EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << err;
  for (const char* n : {"odzysk-8-1.png", "odzysk-9-1.png"}) {
    EXPECT_NE(err.find(n), std::string::npos) << err;
    EXPECT_FALSE(Exists(dir + "/" + n)) << n << " is not offered again";
  }
}

// What kills and crashes leave in the state directory goes at the next start: scratch
// files of writes cut short once old, locks of programs gone that left no copy. A
// fresh scratch file, a lock a living program holds and files of no one's are kept.
TEST(Odzysk, StartCleansUpScratchFilesAndLocksLeftBehind) {
  Scratch stan{"stan"};
  const std::string dir = stan.dir("tarksen");
  struct {
    const char* name;
    bool old, kept;
  } files[] = {
      {".tarksen-AbC123", true, false},      {".odzysk-xY09zZ", true, false},
      {".tarksen-Fresh1", false, true},      {"odzysk-999999-1.lock", false, false},
      {"odzysk-999998-1.lock", false, true},  // held below
      {".tarksen-AbC12", true, true},        {"notatki.txt", true, true},
  };
  struct timeval dawno[2] = {{1000000000, 0}, {1000000000, 0}};
  for (const auto& f : files) {
    ASSERT_TRUE(WriteText(dir + "/" + f.name, ""));
    if (f.old) utimes((dir + "/" + f.name).c_str(), dawno);
  }
  // A living program's lock: this process holds it.
  int held = open((dir + "/odzysk-999998-1.lock").c_str(), O_RDONLY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(flock(held, LOCK_EX), 0);
  {
    App app(Jak(stan));
    EXPECT_TRUE(Panel(app.settle())) << "nothing to offer";
    for (const auto& f : files) EXPECT_EQ(Exists(dir + "/" + f.name), f.kept) << f.name;
    EXPECT_EQ(app.errors(), "");
    Koniec(app);
  }
  close(held);
}

// A close request with changes not saved, on the control screen and in the file
// selector, ends the program with exit code 0 and keeps the picture for the next start;
// after a save and no change a close leaves nothing to offer.
TEST(Odzysk, ACloseRequestKeepsUnsavedWorkAndAfterASaveLeavesNothing) {
  struct {
    const char* where;
    bool otworzSelektor;
  } rows[] = {{"control screen", false}, {"file selector", true}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.where);
    Scratch stan{"stan"};
    {
      App app(Jak(stan));
      Linia(app, 100);  // copied at once
      Linia(app, 150);  // copied only by the close, the period being 30 s
      if (r.otworzSelektor) {
        Choose(app, ZBMP);
        ASSERT_TRUE(Dialog(app.waitFor(Dialog)));
      }
      app.closeWindow();
      EXPECT_EQ(app.waitExit(), 0);
    }
    App app(Jak(stan));
    Odpowiedz(app, TAK);
    Shot s = Obraz(app);
    EXPECT_EQ(s.at(150, 100), CZARNY);
    EXPECT_EQ(s.at(150, 150), CZARNY);
  }
  Scratch stan{"stan"};
  {
    App app(Jak(stan));
    Linia(app, 100);
    Zapisz(app);
    app.closeWindow();
    EXPECT_EQ(app.waitExit(), 0);
  }
  EXPECT_TRUE(Kopie(stan).empty());
  App app(Jak(stan));
  EXPECT_TRUE(Panel(app.shot())) << "nothing to offer";
}
