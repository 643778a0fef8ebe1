// Files dropped on the window as a file manager drops them, by XDND (the drag source is
// tests/support/xdnddrop.cpp): on the control screen or the drawing screen a picture
// loads as through the "BMP" box, the last of several; a file that cannot be loaded
// gives the selector's alert, and a drop while an alert is up changes nothing. Each
// drop returns once the program has answered it; each load is awaited by the window's
// title, which names the picture once it is in.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/e2e/files_e2e.h"
#include "tests/e2e/look.h"
#include "tests/picfiles/pngmake.h"
#include "tests/picfiles/stmake.h"
#include "tests/support/e2e.h"
#include "tests/support/run.h"
#include "tests/support/scratch.h"
#include "tests/support/screen.h"

namespace {

class XdndDrop : public testing::Test {
 protected:
  void SetUp() override {
    if (!HaveTool("pngtopam")) GTEST_SKIP() << "netpbm is not installed";
  }
  // Drops files off the boxes; true once the program has finished with the drop.
  testing::AssertionResult drop(const std::vector<std::string>& files) {
    Ran r = app.drop(POZA_X, POZA_Y, files);
    if (r.code != 0) return testing::AssertionFailure() << "the drop: " << r.err;
    return testing::AssertionSuccess();
  }
  // Whether the window's title names file as loaded (and unchanged).
  testing::AssertionResult titled(const std::string& file) {
    const std::string want = file.substr(file.rfind('/') + 1) + " \xE2\x80\x94 TARKSEN 2";
    std::string shown = app.titleOnceItIs(want);
    if (shown == want) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "the title reads \"" << shown << "\"";
  }
  // A picture as the converter shows it.
  Obrazek shown(const std::string& file) { return AsShown(file, dir.path); }

  Scratch dir{"drop"};
  // Names with spaces and Polish letters, as a file manager sends them: percent-encoded.
  const std::string photos = dir.dir("zdjęcia z wakacji");
  std::mt19937 rng{24};
  const std::string pi1 =
      dir.write("zdjęcia z wakacji/mój obraz.PI1",
                DegasOf(0, RandomStWords(rng, 16),
                        PlanesOf(RandomValues(rng, 320, 200, 16), 320, 200, 4)));
  const std::string pi1b =
      dir.write("b.PI1", DegasOf(0, RandomStWords(rng, 16),
                                 PlanesOf(RandomValues(rng, 320, 200, 16), 320, 200, 4), 32066));
  const std::string png = dir.write("c.png", [this] {
    std::vector<uint32_t> px(7 * 3);
    for (uint32_t& c : px) c = rng() & 0xFFFFFF;
    return PngRgbOf(7, 3, px);
  }());
  App app;
};

}  // namespace

TEST_F(XdndDrop, APictureDroppedLoadsTheLastOfSeveral) {
  struct {
    const char* name;
    bool drawingScreen;
    std::vector<std::string> files;
    std::string loaded;
    // clang-format off
  } rows[] = {
      {"a PI1 in a folder, both named with spaces and Polish letters", false, {pi1}, pi1},
      {"a PNG and a PI1 at once: the PI1", false, {png, pi1b}, pi1b},
      {"a PI1 and a PNG on the drawing screen: the PNG", true, {pi1, png}, png},
  };
  // clang-format on
  for (auto& r : rows) {
    SCOPED_TRACE(r.name);
    const Obrazek expected = shown(r.loaded);
    if (!r.drawingScreen) {
      ASSERT_TRUE(drop(r.files));
      EXPECT_TRUE(titled(r.loaded));
      EXPECT_TRUE(Pokazuje(app, expected));
      continue;
    }
    SwitchScreens(app);
    ASSERT_TRUE(drop(r.files));
    EXPECT_TRUE(titled(r.loaded));
    EXPECT_TRUE(Widac(app, [&](const Shot& s) {
      return Obszar(s, {0, 0, 640, 400}, [&](int x, int y) { return expected.pod(x, y); });
    })) << "the drawing screen shows the picture dropped";
    SwitchScreens(app);
  }
}

TEST_F(XdndDrop, AFileThatCannotLoadGivesItsAlertAndADropOnTheAlertIsIgnored) {
  ASSERT_TRUE(drop({pi1}));
  ASSERT_TRUE(titled(pi1));
  // The title changes during the load; a drop is taken once the panel is drawn again and
  // waits for input, so the next one waits for the panel.
  ASSERT_TRUE(Pokazuje(app, shown(pi1)));
  ASSERT_TRUE(drop({dir.file("notatki.txt", "not a picture")}));
  ASSERT_TRUE(Alert(app, "Nieznany typ pliku", 16, 100));

  // The program answers the drop (it is done with it) and leaves it.
  ASSERT_TRUE(drop({png}));
  EXPECT_TRUE(Alert(app, "Nieznany typ pliku", 16, 100));
  app.key("Return");
  // A key on the control screen would take a drop kept back for later: none may be.
  app.key("space");
  EXPECT_TRUE(titled(pi1));
  EXPECT_TRUE(Pokazuje(app, shown(pi1))) << "the picture as it was";

  SCOPED_TRACE("the next drop loads");
  ASSERT_TRUE(drop({png}));
  EXPECT_TRUE(titled(png));
  EXPECT_TRUE(Pokazuje(app, shown(png)));
}
