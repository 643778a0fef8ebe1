// Starting and ending the program: the window, the font, the command line, a missing
// display, termination signals, and the optimized program as users get it.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <string>

#include "tests/support/e2e.h"
#include "tests/support/run.h"
#include "tests/support/scratch.h"
#include "tests/support/screen.h"

namespace {

// Runs a shell command in a fresh empty directory.
Ran RunCmd(const std::string& cmd) {
  Scratch empty("run");
  return Shell(cmd, empty.path);
}

// The binary copied alone into a fresh directory, with a font beside it if asked.
struct Alone {
  explicit Alone(bool fontBeside) {
    Sh("cp '" TARKSEN_BIN "' '" + dir.path + "/'");
    if (fontBeside) Sh("cp '" TARKSEN_FONT "' '" + dir.path + "/'");
  }
  Scratch dir{"bin"};
  const std::string bin = dir / "tarksen";
};

const char kUsage[] =
    "Usage: tarksen [-h | --help | --version] [--scale N] [--history-mb N] [--no-restore] "
    "[FILE]\n";

}  // namespace

TEST(Startup, OpensTheWindowAndEndsWithExitCode0WhenClosed) {
  App app;
  Shot s = app.shot();
  ASSERT_EQ(s.w, 640);
  ASSERT_EQ(s.h, 400);
  app.closeWindow();
  EXPECT_EQ(app.waitExit(), 0);
}

// The font is looked for in the working directory, then beside the binary (then in
// the installed data directory: see install_e2e.cpp). Missing everywhere, one line
// is printed, at once, and the program runs without text. A font file that is
// there but unreadable is the one taken: it is reported, not passed over.
TEST(Startup, FontFromTheWorkingDirectoryOrBesideTheBinaryElseOneLine) {
  struct {
    const char* name;
    bool inWorkingDir, besideBinary, brokenInWorkingDir;
    const char* out;  // null: one line of SDL's about the broken file
    // clang-format off
  } rows[] = {
      {"in the working directory", true, false, false, ""},
      {"beside the binary", false, true, false, ""},
      {"in both", true, true, false, ""},
      {"nowhere", false, false, false, "Couldn't open BASFont.bmp\n"},
      {"unreadable in the working directory, good beside", false, true, true, nullptr},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Alone alone(r.besideBinary);
    App app(Launch{alone.bin,
                   r.inWorkingDir || r.brokenInWorkingDir,
                   true,
                   r.brokenInWorkingDir ? TARKSEN_SOURCE "/README.md" : "",
                   {}});
    EXPECT_EQ(ShowsText(app.settle()), r.out && !*r.out);
    // Complete while the program runs: nothing waits in a buffer.
    std::string out = app.output();
    if (r.out)
      EXPECT_EQ(out, r.out);
    else
      EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
    EXPECT_TRUE(app.running());
    app.closeWindow();
    EXPECT_EQ(app.waitExit(), 0);
  }
}

TEST(Startup, FailingSDLInitPrintsSDLsErrorAndExits1) {
  Ran r = RunCmd("SDL_VIDEODRIVER=nonexistent '" TARKSEN_BIN "'");
  EXPECT_EQ(r.out, "nonexistent not available\n");
  EXPECT_EQ(r.code, 1);
}

// Without a display SDL would fall back to a driver that shows nothing; the program
// says it has no window instead, unless the user chose the driver. It does not wait for
// one: exit code 1, not timeout's 124, shows it ended by itself.
TEST(Startup, WithoutADisplayItSaysSoAndExits1) {
  ASSERT_NE(access("/tmp/.X11-unix/X59999", F_OK), 0) << "display :59999 should be unused";
  struct {
    const char* env;
    const char* out;
    // clang-format off
  } rows[] = {
      {"-u DISPLAY", "Cannot open a window: DISPLAY is not set\n"},
      {"DISPLAY=", "Cannot open a window: DISPLAY is not set\n"},
      {"DISPLAY=:59999", "Cannot open a window on display :59999\n"},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.env);
    Ran ran = RunCmd(std::string("env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ") + r.env +
                     " timeout 10 '" TARKSEN_BIN "'");
    EXPECT_EQ(ran.out, r.out);
    EXPECT_EQ(ran.code, 1);
  }
}

// SDL's window-less driver, chosen by the user, is used as it is: the program runs
// (unseen) until it is told to end.
TEST(Startup, AVideoDriverTheUserChoseIsUsedWithoutADisplay) {
  Ran ran = RunCmd("env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=offscreen '" TARKSEN_BIN
                   "' & p=$!; sleep 1; kill -0 $p && echo running; kill -TERM $p; wait $p; "
                   "echo \"exit=$?\"");
  EXPECT_EQ(ran.out, "running\nexit=0\n");
}

TEST(Startup, CommandLine) {
  struct {
    const char* args;
    int code;
    bool helpOut;  // the help on standard output
    const char* out;
    const char* err;
    bool usage = true;  // a usage error prints the usage after its line
    // clang-format off
  } rows[] = {
      {"--help", 0, true, "", ""},
      {"--version", 0, false, "tarksen " TARKSEN_VERSION "\n", ""},
      {"--bogus", 2, false, "", "tarksen: unexpected argument '--bogus'\n"},
      {"-h", 0, true, "", ""},
      {"-v", 2, false, "", "tarksen: unexpected argument '-v'\n"},
      {"--version --help", 0, false, "tarksen " TARKSEN_VERSION "\n", ""},
      {"a.PI1 b.PI1", 2, false, "", "tarksen: unexpected argument 'b.PI1'\n"},
      // A scale or a budget that is none is one line.
      {"--scale 9", 2, false, "", "tarksen: --scale: '9' is not a whole number from 1 to 8\n",
       false},
      {"--scale 0", 2, false, "", "tarksen: --scale: '0' is not a whole number from 1 to 8\n",
       false},
      {"--scale x", 2, false, "", "tarksen: --scale: 'x' is not a whole number from 1 to 8\n",
       false},
      {"--scale", 2, false, "", "tarksen: --scale needs a whole number from 1 to 8\n", false},
      {"--history-mb 64 --version", 0, false, "tarksen " TARKSEN_VERSION "\n", ""},
      {"--history-mb 0", 2, false, "",
       "tarksen: --history-mb: '0' is not a whole number of MiB from 1 to 1048576\n", false},
      {"--history-mb=lots", 2, false, "",
       "tarksen: --history-mb: 'lots' is not a whole number of MiB from 1 to 1048576\n", false},
      {"--history-mb", 2, false, "",
       "tarksen: --history-mb needs a whole number of MiB from 1 to 1048576\n", false},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.args);
    // No display: none of these may open a window.
    Ran ran = RunCmd(std::string("env -u DISPLAY '" TARKSEN_BIN "' ") + r.args);
    EXPECT_EQ(ran.code, r.code);
    if (r.helpOut) {
      EXPECT_EQ(ran.out.rfind(kUsage, 0), 0u) << ran.out;
      EXPECT_NE(ran.out.find("--version"), std::string::npos) << ran.out;
      EXPECT_NE(ran.out.find("--history-mb N"), std::string::npos) << ran.out;
    } else {
      EXPECT_EQ(ran.out, r.out);
    }
    EXPECT_EQ(ran.err, r.code == 2 ? std::string(r.err) + (r.usage ? kUsage : "") : "");
  }
}

namespace {

bool Shown(App& app, const std::function<bool(const Shot&)>& pred) {
  return pred(app.waitFor(pred));
}
void Drawing(App& app) {
  app.click(POZA_X, POZA_Y, 3);
  ASSERT_TRUE(Shown(app, [](const Shot& s) { return s.at(2, 2) == BIALY; }));
}
void RubberBand(App& app) {
  ChooseTool(app, 4);  // "Ramka"
  Drawing(app);
  app.click(100, 100);
  app.move(141, 100);
  app.move(140, 100);
  ASSERT_TRUE(Shown(app, [](const Shot& s) { return s.at(140, 100) == CZARNY; }));
}
void Question(App& app) {
  Choose(app, KONIEC);
  ASSERT_TRUE(Shown(app, [](const Shot& s) { return s.at(301, 130) == CZERWONY; }));
}

}  // namespace

// SIGTERM, SIGINT and SIGHUP end the program at once with exit code 0, whatever is up:
// also the drawing screen, where the window's close button is ignored.
TEST(Startup, TerminationSignalsEndTheProgramFromEveryScreenWithExitCode0) {
  struct {
    const char* where;
    std::function<void(App&)> getThere;
    int sig;
    // clang-format off
  } rows[] = {
      {"control screen", [](App&) {}, SIGTERM},
      {"control screen", [](App&) {}, SIGINT},
      {"control screen", [](App&) {}, SIGHUP},
      {"drawing screen", Drawing, SIGTERM},
      {"drawing screen", Drawing, SIGHUP},
      {"rubber band", RubberBand, SIGTERM},
      {"question", Question, SIGTERM},
      {"question", Question, SIGINT},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(std::string(r.where) + ", " + strsignal(r.sig));
    App app;
    r.getThere(app);
    if (testing::Test::HasFatalFailure()) return;
    app.signal(r.sig);
    EXPECT_EQ(app.waitExit(1000), 0);
    EXPECT_EQ(app.errors(), "");
  }
}

// The program of make run's build, optimized and without sanitizers, started directly
// with no sanitizer options: it ends after "Koniec", "Tak" with exit code 0 and prints
// nothing.
TEST(Startup, TheOptimizedProgramEndsQuietlyAfterKoniecTak) {
  if (access(TARKSEN_RELEASE_BIN, X_OK) != 0)
    GTEST_SKIP() << TARKSEN_RELEASE_BIN " is missing: make build makes it";
  EXPECT_EQ(Sh("grep -c __asan_init '" TARKSEN_RELEASE_BIN "'"), "0\n") << "a sanitizer build";
  App app(Launch{TARKSEN_RELEASE_BIN, true, false, "", {}});
  EXPECT_TRUE(ShowsText(app.shot()));
  Question(app);
  Choose(app, TAK);
  EXPECT_EQ(app.waitExit(), 0);
  EXPECT_EQ(app.output(), "");
  EXPECT_EQ(app.errors(), "");
}
