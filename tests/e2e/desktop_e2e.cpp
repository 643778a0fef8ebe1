// The program on a desktop: the window's title and icon as the window manager reads
// them, the screen shown again when uncovered, the selector's wheel and keys, and
// where loads and saves open, run from the build tree and installed (cmake --install
// with DESTDIR, started with its own HOME, XDG_CONFIG_HOME and XDG_STATE_HOME).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/e2e/look.h"
#include "tests/support/e2e.h"
#include "tests/support/mounts.h"
#include "tests/support/run.h"
#include "tests/support/scratch.h"
#include "tests/support/screen.h"

namespace {

const std::string kDash = " \xE2\x80\x94 TARKSEN 2";
// A Doodle file: 32,000 bytes of one plane, all white.
const std::vector<uint8_t> kDoodle(32000, 0);

bool Exists(const std::string& p) { return access(p.c_str(), F_OK) == 0; }

// Saves the picture through "Zapisz" > "BMP" under name typed as the dialog opens and
// taken with Enter, and waits for the control screen.
void SaveBmp(App& app, const std::string& name) {
  Choose(app, ZBMP);
  app.waitFor(Dialog);
  app.type(name);
  app.key("Return");
  app.key("Return");
  app.waitFor(Panel);
}

// Loads path through "Ładuj" > "DEGAS", typed whole.
void LoadDegas(App& app, const std::string& path) {
  Choose(app, DEGAS);
  app.waitFor(Dialog);
  app.type(path);
  app.key("Return");
  app.key("Return");
  app.waitFor(Panel);
}

// The text of list row i as the selector shows it.
testing::AssertionResult RowShows(App& app, int i, const char* name) {
  Rect row = {4, 70 + 16 * i, 480, 16};
  return Widac(app, [&](const Shot& s) {
    return Obszar(s, row, Tekst(row, name, 4, row.y, 640, BLADY, CZARNY));
  });
}

}  // namespace

TEST(Desktop, TheTitleNamesThePictureAndMarksChangesTheIconIsThere) {
  Scratch d("pics");
  ASSERT_TRUE(WriteBytes(d / "kot.PIC", kDoodle));
  App app;
  EXPECT_EQ(app.titleOnceItIs("TARKSEN 2"), "TARKSEN 2");
  std::string icon = app.onDisplay("xprop -id " + app.window() + " _NET_WM_ICON");
  for (const char* size : {"Icon (32 x 32)", "Icon (64 x 64)", "Icon (128 x 128)"})
    EXPECT_NE(icon.find(size), std::string::npos) << size;

  LoadDegas(app, d / "kot.PIC");
  EXPECT_EQ(app.titleOnceItIs("kot.PIC" + kDash), "kot.PIC" + kDash);
  ChooseTool(app, 0);  // "Punkt"
  SwitchScreens(app);
  app.click(100, 100);
  SwitchScreens(app);
  EXPECT_EQ(app.titleOnceItIs("*kot.PIC" + kDash), "*kot.PIC" + kDash);
  SaveBmp(app, "nowy");
  EXPECT_TRUE(Exists(d / "nowy.BMP")) << "saved where the picture was loaded from";
  EXPECT_EQ(app.titleOnceItIs("nowy.BMP" + kDash), "nowy.BMP" + kDash);
}

// Unmapped and mapped again, or covered by another window and uncovered, the window
// shows what it showed, on every screen, with no input in between (Xvfb keeps nothing
// of a window's contents for it).
TEST(Desktop, ShownAgainAsItWasWhenUncovered) {
  App app;
  auto same = [&](const char* where) {
    SCOPED_TRACE(where);
    Shot before = app.settle();
    app.onDisplay("xdotool windowunmap --sync " + app.window() + " && xdotool windowmap --sync " +
                  app.window());
    EXPECT_TRUE(app.settle().px == before.px) << "unmapped and mapped again";
    app.onDisplay("(xmessage -geometry 300x200+" + std::to_string(app.left() + 40) + "+" +
                  std::to_string(app.top() + 40) + " over & sleep 1; kill $!)");
    EXPECT_TRUE(app.settle().px == before.px) << "covered and uncovered";
  };
  same("the control screen");
  ChooseTool(app, 0);
  SwitchScreens(app);
  app.click(200, 150);
  app.click(300, 250);
  same("the drawing screen with a picture");
  SwitchScreens(app);
  Choose(app, LBMP);
  app.waitFor(Dialog);
  same("the file selector");
  app.key("Escape");
  app.waitFor(Panel);
  Choose(app, CZYSC);
  app.waitFor(AlertUp);
  same("an alert");
  app.key("Escape");
  EXPECT_TRUE(Panel(app.waitFor(Panel)));
}

TEST(Desktop, TheSelectorsWheelAndKeysAndHome) {
  Scratch home("home"), l("list");
  for (int i = 0; i < 60; i++) {
    char n[16];
    snprintf(n, sizeof n, "f%02d.BMP", i);
    ASSERT_TRUE(WriteBytes(l / n, {}));
  }
  Launch how;
  how.env = {"HOME=" + home.path};
  App app(how);
  Choose(app, LBMP);
  app.waitFor(Dialog);
  app.key("Return");
  Choose(app, KATALOG);
  app.key("ctrl+x");
  app.type(l.path);
  app.key("Return");
  ASSERT_TRUE(RowShows(app, 0, "f00.BMP"));
  app.move(200, 200);
  app.onDisplay("xdotool click 5");  // the wheel a notch down
  EXPECT_TRUE(RowShows(app, 0, "f03.BMP"));
  app.key("Next");  // Page Down
  EXPECT_TRUE(RowShows(app, 0, "f23.BMP"));
  app.key("End");
  EXPECT_TRUE(RowShows(app, 19, "f59.BMP"));
  app.key("Escape");
  EXPECT_TRUE(Panel(app.waitFor(Panel))) << "Escape as CANCEL";

  SaveBmp(app, "~/domowy");
  EXPECT_TRUE(Exists(home / "domowy.BMP"));
}

// The binary alone in a directory with its font, as built or unpacked: with nothing
// remembered the first save lands there; "OK" with the offered name alone writes
// nothing anywhere and says so.
TEST(Desktop, BuiltTheFirstSaveLandsBesideTheProgram) {
  Scratch bin("bin");
  Sh("cp '" TARKSEN_BIN "' '" TARKSEN_FONT "' '" + bin.path + "/'");
  App app(Launch{bin / "tarksen", false, true, "", {}});
  for (Rect box : {DOODLE, ZBMP}) {
    Choose(app, box);
    app.waitFor(Dialog);
    app.key("Return");
    Choose(app, OK);
    EXPECT_TRUE(AlertUp(app.waitFor(AlertUp))) << "Brak nazwy pliku";
    app.key("Escape");
    EXPECT_TRUE(Dialog(app.waitFor(Dialog))) << "the dialog again";
    app.key("Escape");
    app.waitFor(Panel);
  }
  EXPECT_EQ(Sh("ls -A '" + bin.path + "' '" + app.dir() + "'"),
            bin.path + ":\nBASFont.bmp\ntarksen\n\n" + app.dir() + ":\nstderr.txt\nstdout.txt\n");
  SaveBmp(app, "pierwszy");
  EXPECT_TRUE(Exists(bin / "pierwszy.BMP"));
}

// The installed program: the staged tree is made once for the suite.
class Installed : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (access(TARKSEN_PROGRAM_BUILD "/cmake_install.cmake", F_OK) != 0) return;
    stage = new Scratch("inst");
    Ran r = Shell("DESTDIR='" + stage->path + "' cmake --install '" TARKSEN_PROGRAM_BUILD "'");
    std::string b = Sh("find '" + stage->path + "' -path '*/bin/tarksen'");
    if (r.code == 0 && !b.empty()) bin = b.substr(0, b.find('\n'));
    if (!bin.empty()) installed = binDir();
  }
  static void TearDownTestSuite() {
    delete stage;
    stage = nullptr;
  }
  void SetUp() override {
    if (bin.empty()) GTEST_SKIP() << "no optimized build in " TARKSEN_PROGRAM_BUILD ": make build";
    for (const char* d : {".config", ".local/state", "Obrazy", "inne"})
      Sh("mkdir -p '" + h / d + "'");
    pictures("$HOME/Obrazy");
  }
  void TearDown() override {
    if (!bin.empty()) {
      EXPECT_EQ(binDir(), installed) << "nothing written beside the binary";
    }
  }
  static std::string binDir() { return Sh("ls -A '" + bin.substr(0, bin.rfind('/')) + "'"); }
  void pictures(const char* value) {
    WriteText(h / ".config/user-dirs.dirs", std::string("XDG_PICTURES_DIR=\"") + value + "\"\n");
  }
  Launch how(std::vector<std::string> args = {}) {
    Launch l{bin, false, false, "", std::move(args)};
    l.env = {"HOME=" + h.path, "XDG_CONFIG_HOME=" + h / ".config",
             "XDG_STATE_HOME=" + h / ".local/state"};
    return l;
  }
  // Starts the program, saves a bare name, and quits; says nothing on its way.
  void saveOnce(const std::string& name, std::vector<std::string> args = {}) {
    App app(how(std::move(args)));
    SaveBmp(app, name);
    EXPECT_EQ(app.output(), "");
    app.closeWindow();
    EXPECT_EQ(app.waitExit(), 0);
  }
  void forget() { remove((h / ".local/state/tarksen/katalog").c_str()); }
  static Scratch* stage;
  static std::string bin, installed;  // the binary; what its directory held at first
  Scratch h{"home"};
};
Scratch* Installed::stage = nullptr;
std::string Installed::bin, Installed::installed;

TEST_F(Installed, TheFirstSaveLandsInThePicturesFolderElseHome) {
  saveOnce("a");
  EXPECT_TRUE(Exists(h / "Obrazy/a.BMP"));
  forget();
  remove((h / ".config/user-dirs.dirs").c_str());
  saveOnce("b");
  EXPECT_TRUE(Exists(h / "b.BMP")) << "no user-dirs.dirs";
  forget();
  pictures("$HOME/Brak");
  saveOnce("c");
  EXPECT_TRUE(Exists(h / "c.BMP")) << "the pictures folder named is missing";
}

TEST_F(Installed, SavesFollowTheLastLoadAcrossRunsUntilItsFolderIsGone) {
  ASSERT_TRUE(WriteBytes(h / "inne/kot.PIC", kDoodle));
  {
    App app(how());
    LoadDegas(app, h / "inne/kot.PIC");
    SaveBmp(app, "d");
    EXPECT_TRUE(Exists(h / "inne/d.BMP"));
    app.closeWindow();
    EXPECT_EQ(app.waitExit(), 0);
  }
  saveOnce("e");
  EXPECT_TRUE(Exists(h / "inne/e.BMP")) << "remembered from the last run";
  Sh("rm -r '" + h / "inne" + "'");
  App app(how());
  SaveBmp(app, "f");
  EXPECT_TRUE(Exists(h / "Obrazy/f.BMP")) << "the remembered folder is gone";
  // "BASE" from elsewhere, a name, "OK".
  Choose(app, ZBMP);
  app.waitFor(Dialog);
  app.key("Return");
  Choose(app, UP);
  Choose(app, BASE);
  Choose(app, NAZWA);
  app.type("g");
  app.key("Return");
  Choose(app, OK);
  app.waitFor(Panel);
  EXPECT_TRUE(Exists(h / "Obrazy/g.BMP"));
}

TEST_F(Installed, AFileOnTheCommandLineAGarbledOrUnwritableStateSayNothing) {
  Sh("mkdir -p '" + h / "x" + "'");
  ASSERT_TRUE(WriteBytes(h / "x/kot.PIC", kDoodle));
  saveOnce("h", {h / "x/kot.PIC"});
  EXPECT_TRUE(Exists(h / "x/h.BMP")) << "beside the file named on the command line";

  ASSERT_TRUE(WriteText(h / ".local/state/tarksen/katalog", "\x89 not a directory\n\n"));
  saveOnce("i");
  EXPECT_TRUE(Exists(h / "Obrazy/i.BMP")) << "a garbled state file is ignored";

  forget();
  std::string refused = MountTmpfs(h / ".local/state", 64, true);
  if (!refused.empty()) GTEST_SKIP() << refused;
  saveOnce("j");
  EXPECT_TRUE(Exists(h / "Obrazy/j.BMP")) << "a read-only state directory";
  saveOnce("k");
  EXPECT_TRUE(Exists(h / "Obrazy/k.BMP"));
  Unmount(h / ".local/state");
}
