// The browser version beside the desktop program: the same moves played on both,
// the browser's canvas compared pixel for pixel with the desktop window; and the
// page's picture folder, kept in the browser's storage, with its "Open…" control
// and downloads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/e2e/drawing_e2e.h"
#include "tests/e2e/look.h"
#include "tests/picfiles/bmpmake.h"
#include "tests/support/compare.h"
#include "tests/support/e2e.h"
#include "tests/support/scratch.h"
#include "tests/support/screen.h"
#include "tests/web/browser.h"

namespace {

// Whether the browser's canvas shows exactly the desktop window's pixels, blended
// ones included: SwiftShader's WebGL and Mesa's OpenGL round the same way.
testing::AssertionResult SamePixels(const Shot& desktop, const Shot& web, const std::string& name) {
  if (desktop.w != 640 || desktop.h != 400)
    return testing::AssertionFailure()
           << name << ": the desktop shot is " << desktop.w << "x" << desktop.h;
  return SameGrid(GridOf(web, Layout::Rgb), GridOf(desktop, Layout::Rgb)) << " (" << name << ")";
}

// Letters, digits, '.', '/' and '-' typed as keys, on both.
template <class A>
void Write(A& app, const std::string& text) {
  for (char c : text)
    app.key(c == '.' ? "period" : c == '/' ? "slash" : c == '-' ? "minus" : std::string(1, c));
}

// A click on a box that opens a dialog or an alert; the screen once it stands.
template <class A>
Shot OpenDialog(A& app, Rect box) {
  Shot before = app.shot();
  Choose(app, box);
  app.waitFor([&](const Shot& s) { return s.px != before.px; });
  return app.settle();
}

// The page had no error and tells of no problem.
void PageIsWell(Browser& b) {
  EXPECT_EQ(b.errors(), "");
  EXPECT_EQ(b.state(), "");
}

// Every scenario plays in each browser; the parameter is the browser's name.
class Web : public testing::TestWithParam<std::string> {};
INSTANTIATE_TEST_SUITE_P(In, Web, testing::Values("chromium", "firefox"),
                         [](const testing::TestParamInfo<std::string>& i) { return i.param; });

// Plays scenario(app, shots) on the desktop program and then in the browser; the
// shots it takes, one for each name, must be the same on both.
template <class S>
void OnBoth(const std::string& browser, const S& scenario, const std::vector<std::string>& names) {
  std::vector<Shot> desktop(names.size()), web(names.size());
  {
    App app;
    scenario(app, desktop.data());
  }
  Browser b(browser);
  scenario(b, web.data());
  for (size_t i = 0; i < names.size(); i++)
    EXPECT_TRUE(SamePixels(desktop[i], web[i], names[i] + "." + browser));
  PageIsWell(b);
}

TEST_P(Web, StartsOnTheDesktopProgramsControlScreen) {
  OnBoth(GetParam(), [](auto& app, Shot* shots) { shots[0] = app.settle(); }, {"web_start"});
}

// An alert is drawn over the last frame shown; the browser must still have that frame.
TEST_P(Web, AlertStandsOverThePanelAsOnTheDesktop) {
  OnBoth(GetParam(),
         [](auto& app, Shot* shots) {
           shots[0] = OpenDialog(app, CZYSC);
           app.click(srodekX(NIE), srodekY(NIE));
           shots[1] = app.settle();
         },
         {"web_alert", "web_alert_answered"});
}

// Tools, a pattern fill, blending, "Inwersja", undo and the grid: the drawing
// screen before and after an undo, and the control screen at the end. Each shape is
// waited for before the next move, so both programs see the same events.
template <class A>
void Drawing(A& app, Shot* shots) {
  // A red line with the 6-pixel pen, under a grid of 16 pixels; the grid is drawn
  // in "Wymiana" (drawn in another mode it would not show) and stays for the visits
  // that follow.
  ChooseColour(app, 2);
  ChooseWidth(app, 3);
  ChooseTool(app, 2);
  SwitchScreens(app);
  app.key("period");
  app.key("period");
  TwoPoints(app, 40, 40, 300, 120);
  app.settle();
  SwitchScreens(app);
  // A thin black frame, flood-filled with pattern 9 in blue.
  ChooseColour(app, 1);
  Choose(app, GRUBOSC);  // the thin pen
  ChooseTool(app, 4);
  SwitchScreens(app);
  TwoPoints(app, 60, 160, 200, 260);
  app.settle();
  SwitchScreens(app);
  Choose(app, wzorBox(9));
  ChooseColour(app, 4);
  ChooseTool(app, 11);
  SwitchScreens(app);
  app.click(130, 210);
  app.settle();
  SwitchScreens(app);
  // "Mieszanie": a green filled ellipse over the line and the frame.
  NextMode(app);
  ChooseColour(app, 3);
  ChooseTool(app, 9);
  SwitchScreens(app);
  TwoPoints(app, 200, 150, 280, 210);
  app.settle();
  SwitchScreens(app);
  // "Inwersja": two patterned discs in red, the second taken back with Backspace.
  for (int i = 0; i < 3; i++) NextMode(app);
  ChooseColour(app, 2);
  ChooseTool(app, 7);
  SwitchScreens(app);
  TwoPoints(app, 250, 180, 290, 180);
  app.settle();
  TwoPoints(app, 480, 300, 520, 300);
  shots[0] = app.settle();
  app.key("BackSpace");
  shots[1] = app.settle();
  SwitchScreens(app);
  shots[2] = app.settle();
}

TEST_P(Web, DrawingGivesTheDesktopProgramsPixels) {
  OnBoth(GetParam(), [](auto& app, Shot* shots) { Drawing(app, shots); },
         {"web_drawing", "web_drawing_undone", "web_drawing_panel"});
}

// The block tool and the magnifier: a block cut from a red line and stamped in
// "Mieszanie" and "Inwersja" over a grey rectangle; the magnifier's screen over a
// cell of the last stamp with one pixel painted; and the picture afterwards.
template <class A>
void BlockAndMagnifier(A& app, Shot* shots) {
  ChooseColour(app, 8);
  ChooseTool(app, 5);
  SwitchScreens(app);
  TwoPoints(app, 200, 200, 600, 300);
  app.settle();
  SwitchScreens(app);
  ChooseColour(app, 2);
  ChooseTool(app, 2);
  SwitchScreens(app);
  TwoPoints(app, 100, 100, 400, 250);
  app.settle();
  SwitchScreens(app);
  // Escape with the pointer on the picture starts a cut; two clicks give its corners.
  ChooseColour(app, 1);
  ChooseTool(app, 10);
  NextMode(app);
  SwitchScreens(app);
  app.move(400, 60);
  app.key("Escape");
  app.settle();
  for (auto [x, y] : {std::pair{150, 130}, {189, 169}, {260, 190}}) {
    app.click(x, y);
    app.settle();
  }
  shots[0] = app.settle();
  SwitchScreens(app);
  for (int i = 0; i < 3; i++) NextMode(app);
  SwitchScreens(app);
  app.click(360, 230);
  app.settle();
  SwitchScreens(app);
  // The magnifier over the 8-pixel cell at (376, 232), which the line crosses; its
  // view is 50 times larger. One of its pixels painted green.
  ChooseTool(app, 12);
  ChooseColour(app, 3);
  SwitchScreens(app);
  app.key("period");
  app.settle();
  app.click(380, 235);
  app.settle();
  app.click(220 + 1 * 50 + 25, 1 * 50 + 25);
  shots[1] = app.settle();
  app.click(630, 200, 3);
  shots[2] = app.settle();
}

TEST_P(Web, BlockAndMagnifierGiveTheDesktopProgramsPixels) {
  OnBoth(GetParam(), [](auto& app, Shot* shots) { BlockAndMagnifier(app, shots); },
         {"web_block", "web_magnifier", "web_magnified"});
}

// Touch: one finger draws what the mouse draws; two fingers tapped, and the page's
// button, are the right button; the page never moves under the finger (it is made
// taller than the window first, so that it could scroll). The stroke's rows are ones
// that a position scaled to 0..1 and back in single precision puts a row too high.
// The two fingers land in one touch event: one that lands alone first would draw if
// the second came later than the page waits for it.
TEST_P(Web, OneFingerDrawsAsTheMouseAndTwoFingersTapAsTheRightButton) {
  const std::vector<std::pair<int, int>> stroke = {{100, 53}, {153, 118}, {218, 210}, {231, 236}};
  Browser b(GetParam());
  b.eval("document.body.style.paddingBottom = '3000px'");
  ChooseColour(b, 2);
  ChooseTool(b, 1);
  SwitchScreens(b);
  b.press(stroke[0].first, stroke[0].second);
  for (size_t i = 1; i < stroke.size(); i++) b.move(stroke[i].first, stroke[i].second);
  b.release();
  b.move(500, 350);  // the pen's stroke ends at the next event
  Shot byMouse = b.settle();
  b.key("BackSpace");
  ASSERT_NE(b.settle().px, byMouse.px) << "the mouse drew nothing";
  for (auto p : stroke) b.touch({p});
  b.touch({});
  b.move(500, 350);
  Shot byFinger = b.settle();
  EXPECT_TRUE(SamePixels(byMouse, byFinger, "web_finger." + GetParam()));

  b.touch({{300, 300}, {360, 300}});
  b.touch({});
  EXPECT_TRUE(Panel(b.waitFor(Panel))) << "two fingers tapped did not leave the drawing screen";
  SwitchScreens(b);
  EXPECT_TRUE(SamePixels(byMouse, b.settle(), "web_tapped." + GetParam())) << "the tap drew";
  b.clickPage("right");
  EXPECT_TRUE(Panel(b.waitFor(Panel))) << "the page's button did not leave the drawing screen";
  EXPECT_EQ(b.eval("[scrollX, scrollY, visualViewport.scale]"), "[0,0,1]");
  PageIsWell(b);
}

// A 320x200 DEGAS picture of four planes (32,066 bytes): stripes of all 16 pixel values.
std::string Pi1() {
  std::string f(32066, '\0');
  for (int y = 0; y < 200; y++)
    for (int g = 0; g < 20; g++)
      for (int p = 0; p < 4; p++) {
        unsigned word = 0;
        for (int i = 0; i < 16; i++) {
          int x = 16 * g + i, v = (x / 20 + y / 25) % 16;
          word |= unsigned(v >> p & 1) << (15 - i);
        }
        size_t at = 34 + size_t(y) * 160 + g * 8 + p * 2;
        f[at] = char(word >> 8);
        f[at + 1] = char(word & 0xFF);
      }
  return f;
}

// In the file selector just opened: ends the editing of the name, picks the list's
// file in row (the first by default) and takes it with "OK", each step once the one
// before has shown (a click that comes while the program still waits for a button's
// release is lost).
void TakeFirstFile(Browser& b, int row = 0) {
  b.key("Return");
  b.settle();
  b.click(100, wiersz(row));
  b.settle();
  b.click(srodekX(OK), srodekY(OK));
  b.waitFor(Panel);
}

// Waits until the page no longer lists name and has stored the folder.
void AwaitGone(Browser& b, const std::string& name) {
  for (int t = 0; t < 100 && (b.files().find(name + "/") != std::string::npos || b.state() != "");
       t++)
    b.settle(200);
  EXPECT_EQ(b.files().find(name + "/"), std::string::npos) << b.files();
  EXPECT_EQ(b.state(), "");
}

// Waits until the page lists name and has stored the folder.
void AwaitStored(Browser& b, const std::string& name) {
  for (int t = 0; t < 100 && (b.files().find(name + "/") == std::string::npos || b.state() != "");
       t++)
    b.settle(200);
  EXPECT_NE(b.files().find(name + "/"), std::string::npos) << b.files();
  EXPECT_EQ(b.state(), "");
}

TEST_P(Web, OpenCopiesFilesIntoTheStoredFolderWhichDownloadsAndDeletesThem) {
  Browser b(GetParam());
  EXPECT_EQ(b.files(), "");
  std::string dir = b.dir(), pi1 = Pi1();
  ASSERT_TRUE(WriteText(dir + "/A.PI1", pi1) && WriteText(dir + "/b.bmp", "BM"));
  b.open(dir + "/b.bmp");
  b.open(dir + "/A.PI1");
  AwaitStored(b, "A.PI1");
  EXPECT_EQ(b.files(), "A.PI1/b.bmp/") << "in the file selector's order";
  b.reload();
  EXPECT_EQ(b.files(), "A.PI1/b.bmp/") << "kept over a reload";
  EXPECT_TRUE(b.download("A.PI1") == pi1) << "not downloaded byte for byte";
  b.remove("A.PI1");
  AwaitGone(b, "A.PI1");
  b.reload();
  EXPECT_EQ(b.files(), "b.bmp/") << "gone from the storage too";
  PageIsWell(b);
}

// "Open…" loads the picture it copies as a file dropped on the desktop window does.
// The desktop program is given the file in its working directory and its path typed
// into the file selector; the page, through "Open…", and the picture shows at once.
// A text file named .BMP, dropped on the page, gets the program's alert and leaves the
// picture as it was.
TEST_P(Web, OpenLoadsThePictureAsADroppedFileDoes) {
  std::string pi1 = Pi1();
  Shot desktop;
  {
    App app;
    ASSERT_TRUE(WriteText(app.dir() + "/STREIFEN.PI1", pi1));
    OpenDialog(app, DEGAS);
    Write(app, app.dir() + "/STREIFEN.PI1");
    app.key("Return");  // ends the editing of the name
    app.key("Return");  // ends the dialog with the name
    app.waitFor(Panel);
    SwitchScreens(app);
    desktop = app.settle();
  }
  Browser b(GetParam());
  ASSERT_TRUE(WriteText(b.dir() + "/STREIFEN.PI1", pi1));
  b.open(b.dir() + "/STREIFEN.PI1");
  AwaitStored(b, "STREIFEN.PI1");
  EXPECT_EQ(b.eval("document.querySelectorAll('#files li.saved').length"), "0")
      << "a copied file is marked as saved";
  SwitchScreens(b);
  EXPECT_TRUE(SamePixels(desktop, b.settle(), "web_pi1"));
  b.eval(
      "const t = new DataTransfer(); t.items.add(new File(['not a picture'], 'NOTIZ.BMP'));"
      "document.getElementById('canvas').dispatchEvent(new DragEvent('drop',"
      " {dataTransfer: t, bubbles: true, cancelable: true}))");
  AwaitStored(b, "NOTIZ.BMP");
  EXPECT_TRUE(AlertUp(b.waitFor(AlertUp))) << "no alert for a text file";
  b.key("Return");
  b.waitFor([&](const Shot& s) { return !AlertUp(s); });
  EXPECT_TRUE(SamePixels(desktop, b.settle(), "web_not_a_picture"));
  PageIsWell(b);
}

// A line (red by default) saved as OBRAZ.BMP or name.BMP, the name typed in front of
// the offered ".BMP": in the directory dir (ending in '/'), or where the file selector
// starts if empty.
template <class A>
Shot DrawAndSave(A& app, const std::string& dir, const std::string& name = "OBRAZ",
                 int colour = 2) {
  ChooseColour(app, colour);
  ChooseTool(app, 2);
  SwitchScreens(app);
  TwoPoints(app, 40, 40, 300, 120);
  Shot picture = app.settle();
  SwitchScreens(app);
  OpenDialog(app, ZBMP);
  Write(app, dir + name);
  app.key("Return");
  app.key("Return");
  app.waitFor(Panel);
  return picture;
}

TEST_P(Web, SavedPictureSurvivesAReloadAndDownloadsByteForByte) {
  Shot picture;
  std::string saved;
  {
    App app;
    picture = DrawAndSave(app, app.dir() + "/");
    saved = ReadText(app.dir() + "/OBRAZ.BMP");
  }
  ASSERT_GT(saved.size(), 54u) << "the desktop program saved no BMP";
  Browser b(GetParam());
  EXPECT_TRUE(SamePixels(picture, DrawAndSave(b, ""), "web_saved"));
  AwaitStored(b, "OBRAZ.BMP");
  // The saved file is marked in the list, and a note points to its Download button.
  EXPECT_EQ(b.eval("[...document.querySelectorAll('#files li.saved .name')].map((n) => "
                   "n.textContent).concat(document.getElementById('note').textContent)"),
            R"(["OBRAZ.BMP","Zapisano OBRAZ.BMP w /obrazy; przycisk „Pobierz” przy nim )"
            R"(zapisze go na tym komputerze."])");
  b.reload();
  EXPECT_EQ(b.files(), "OBRAZ.BMP/");
  EXPECT_TRUE(b.download("OBRAZ.BMP") == saved) << "the download differs from the desktop's file";
  // The program after the reload finds it too.
  OpenDialog(b, LBMP);
  TakeFirstFile(b);
  SwitchScreens(b);
  EXPECT_TRUE(SamePixels(picture, b.settle(), "web_reloaded"));
  PageIsWell(b);
}

// Two tabs of the site share its folder: a picture saved in each is listed in both
// at once and after a reload, and loads in each; a file deleted in one leaves the
// other's list. Of one name written in both, the later file is kept whole everywhere.
TEST_P(Web, TwoTabsShareTheFolderAndLoseNoFile) {
  Browser b(GetParam());
  std::vector<Shot> pictures = {DrawAndSave(b, "", "A", 2)};
  b.tab(1);
  pictures.push_back(DrawAndSave(b, "", "B", 4));
  AwaitStored(b, "B.BMP");
  AwaitStored(b, "A.BMP");
  b.tab(0);
  AwaitStored(b, "B.BMP");
  for (int t : {0, 1}) {
    b.tab(t);
    b.reload();
    EXPECT_EQ(b.files(), "A.BMP/B.BMP/") << "tab " << t;
    for (int row : {0, 1}) {
      OpenDialog(b, LBMP);
      TakeFirstFile(b, row);
      SwitchScreens(b);
      EXPECT_TRUE(SamePixels(pictures[row], b.settle(),
                             "web_tab" + std::to_string(t) + "_" + std::to_string(row)));
      SwitchScreens(b);
      b.waitFor(Panel);
    }
  }
  b.remove("A.BMP");
  b.tab(0);
  AwaitGone(b, "A.BMP");
  EXPECT_EQ(b.files(), "B.BMP/");

  // Tab 0 writes 300,000 bytes of 1, tab 1 then 200,000 of 2 under the same name.
  const std::string write = "FS.writeFile('/obrazy/C.BMP', new Uint8Array(";
  const std::string read =
      "(() => { const d = FS.readFile('/obrazy/C.BMP');"
      " return d.length + ' ' + d.every((v) => v === d[0]) + ' ' + d[0]; })()";
  b.eval(write + "300000).fill(1))");
  b.tab(1);
  b.eval(write + "200000).fill(2))");
  AwaitStored(b, "C.BMP");
  for (int t : {0, 1}) {
    b.tab(t);
    for (int i = 0; i < 50 && b.eval(read) != "\"200000 true 2\""; i++) b.settle(100);
    EXPECT_EQ(b.eval(read), "\"200000 true 2\"") << "tab " << t;
    b.reload();
    EXPECT_EQ(b.eval(read), "\"200000 true 2\"") << "tab " << t << ", reloaded";
  }
  PageIsWell(b);
}

// Leaving the page with a drawing not saved makes the browser ask first (the page's
// beforeunload handler cancels the leave); after a save, and with nothing drawn, it
// does not. The page's title carries the mark the desktop window's does.
TEST_P(Web, LeavingWithADrawingNotSavedIsAskedFirst) {
  Browser b(GetParam());
  const std::string asks =
      "(() => { const e = new Event('beforeunload', {cancelable: true});"
      " window.dispatchEvent(e); return [e.defaultPrevented, document.title]; })()";
  EXPECT_EQ(b.eval(asks), "[false,\"TARKSEN 2\"]") << "nothing drawn";
  ChooseColour(b, 2);
  ChooseTool(b, 2);
  SwitchScreens(b);
  TwoPoints(b, 40, 40, 300, 120);
  b.settle();
  EXPECT_EQ(b.eval(asks), "[true,\"*TARKSEN 2\"]") << "drawn";
  SwitchScreens(b);
  OpenDialog(b, ZBMP);
  Write(b, "OBRAZ");
  b.key("Return");
  b.key("Return");
  b.waitFor(Panel);
  AwaitStored(b, "OBRAZ.BMP");
  EXPECT_EQ(b.eval(asks), "[false,\"OBRAZ.BMP — TARKSEN 2\"]") << "saved";
  PageIsWell(b);
}

// The recovery copies in the site's storage once the page has stored what it was
// given: [name, when written] each, as JSON.
std::string Copies(Browser& b) {
  for (int t = 0; t < 100 && b.eval("recovery.busy()") == "true"; t++) b.settle(100);
  return b.eval(
      "new Promise((done) => { const o = indexedDB.open('tarksen-odzysk');"
      " o.onsuccess = () => { const s = o.result.transaction('kopie').objectStore('kopie');"
      " const k = s.getAllKeys(), v = s.getAll(); v.onsuccess = () => {"
      " done(k.result.map((n, i) => [n, v.result[i].czas])); o.result.close(); }; }; })");
}

// Waits until the copies, as Copies gives them, satisfy pred; the last seen.
template <class P>
std::string AwaitCopies(Browser& b, const P& pred) {
  std::string c = Copies(b);
  for (int t = 0; t < 50 && !pred(c); t++) {
    b.settle(200);
    c = Copies(b);
  }
  EXPECT_TRUE(pred(c)) << c;
  return c;
}

// The picture as the drawing screen shows it; the control screen again.
Shot Picture(Browser& b) {
  SwitchScreens(b);
  b.move(639, 399);
  Shot s = b.settle();
  SwitchScreens(b);
  b.waitFor(Panel);
  return s;
}

// A tab closed with a drawing not saved leaves its recovery copy in the site's
// storage, offered at the next visit: "Tak" brings the picture back, "Nie" forgets it.
// A tab still open keeps its copy to itself; a page hidden brings its copy up to date
// without waiting for the period.
TEST_P(Web, ATabClosedWithADrawingNotSavedOffersItAtTheNextVisit) {
  Browser b(GetParam());
  const Shot start = b.settle();
  auto line = [&](int y) {
    ChooseTool(b, 2);
    SwitchScreens(b);
    TwoPoints(b, 100, y, 300, y);
    b.settle();
    SwitchScreens(b);
    b.waitFor(Panel);
  };
  auto count = [](size_t n) {
    return
        [n](const std::string& c) { return size_t(std::count(c.begin(), c.end(), '[')) == n + 1; };
  };
  ChooseColour(b, 2);
  line(100);
  const std::string first = AwaitCopies(b, count(1));
  line(200);
  const Shot drawn = Picture(b);
  EXPECT_EQ(Copies(b), first) << "a second copy within the period";
  b.eval(
      "Object.defineProperty(document, 'visibilityState', {value: 'hidden', configurable: true}),"
      " document.dispatchEvent(new Event('visibilitychange'))");
  AwaitCopies(b, [&](const std::string& c) { return c != first && count(1)(c); });

  b.tab(1);
  EXPECT_TRUE(SamePixels(start, b.settle(), "web_odzysk_open")) << "another tab's copy offered";
  b.tab(0);
  b.closeTab();
  b.tab(1);
  ASSERT_TRUE(Pytanie(b.waitFor(Pytanie))) << "the closed tab's picture was not offered";
  Choose(b, TAK);
  b.waitFor(Panel);
  EXPECT_TRUE(SamePixels(drawn, Picture(b), "web_odzysk_tak"));
  // The closed tab's copy goes once this tab's own holds the picture.
  const std::string own = b.eval("recovery.own()");
  AwaitCopies(b, [&](const std::string& c) { return count(1)(c) && c.find(own) != c.npos; });

  // Reloaded without a save it is offered again; "Nie" forgets it.
  b.reload();
  ASSERT_TRUE(Pytanie(b.waitFor(Pytanie))) << "not offered after a reload";
  Choose(b, NIE);
  b.waitFor(Panel);
  AwaitCopies(b, count(0));
  b.reload();
  EXPECT_TRUE(SamePixels(start, b.settle(), "web_odzysk_nie")) << "offered again after Nie";
  PageIsWell(b);
}

// Keys reach the program only while the picture has the focus: at the start and after
// a click on it. The browser keeps its own keys wherever the focus is; the page's
// controls take Tab and Enter (and Space); Backspace never takes the page back.
TEST_P(Web, KeysReachTheProgramOnlyWhileThePictureHasTheFocus) {
  Browser b(GetParam());
  const std::string focused = "document.activeElement.id || document.activeElement.textContent";
  EXPECT_EQ(b.eval(focused), "\"canvas\"") << "at the start";
  b.eval("FS.writeFile('/obrazy/A.PI1', new Uint8Array(32066))");
  AwaitStored(b, "A.PI1");

  // Whether the page cancels a key pressed on the element of that id (the browser then
  // does nothing with it).
  auto cancelled = [&](const std::string& id, const std::string& key, const std::string& code,
                       bool ctrl) {
    return b.eval("!document.getElementById('" + id + "').dispatchEvent(new KeyboardEvent(" +
                  "'keydown', {key: '" + key + "', code: '" + code + "', ctrlKey: " +
                  (ctrl ? "true" : "false") + ", bubbles: true, cancelable: true}))");
  };
  struct Key {
    const char *key, *code;
    bool ctrl;
  };
  // clang-format off
  const Key browsers[] = {
    {"F5", "F5", false}, {"r", "KeyR", true}, {"l", "KeyL", true}, {"t", "KeyT", true},
    {"w", "KeyW", true}, {"f", "KeyF", true}, {"p", "KeyP", true}, {"+", "Equal", true},
    {"-", "Minus", true}, {"0", "Digit0", true}, {"F11", "F11", false}, {"F12", "F12", false},
    {"Tab", "Tab", false},
  };
  // clang-format on
  for (const char* id : {"canvas", "open"})
    for (const Key& k : browsers)
      EXPECT_EQ(cancelled(id, k.key, k.code, k.ctrl), "false")
          << (k.ctrl ? "Ctrl+" : "") << k.key << " on " << id;
  EXPECT_EQ(cancelled("canvas", "Backspace", "Backspace", false), "true");

  // Tab leads from the picture through the page's controls, a file's Download and
  // Delete among them; Enter presses them. (Firefox driven over WebDriver BiDi presses
  // no button with a key, not even on a bare page: there the buttons are clicked.)
  const bool keysPress = GetParam() == "chromium";
  std::vector<std::string> reached;
  for (int i = 0; i < 8 && reached.size() < 3; i++) {
    b.key("Tab");
    std::string now = b.eval(focused);
    if (now == "\"open\"" || now == "\"Pobierz\"" || now == "\"Usuń\"") reached.push_back(now);
    if (now == "\"Pobierz\"") EXPECT_EQ(b.download("A.PI1", keysPress).size(), 32066u);
  }
  EXPECT_EQ(reached, (std::vector<std::string>{"\"open\"", "\"Pobierz\"", "\"Usuń\""}));
  if (keysPress) {
    b.confirm();
    b.key("Return");
  } else {
    b.remove("A.PI1");
  }
  AwaitGone(b, "A.PI1");

  // Away from the picture "." does not reach the program; on it, it shows the grid.
  // Backspace there takes back a step, and the page stays where it is.
  ChooseColour(b, 2);
  ChooseTool(b, 2);
  SwitchScreens(b);
  TwoPoints(b, 40, 40, 300, 120);
  Shot line = b.settle();
  b.eval("document.getElementById('open').focus()");
  b.key("period");
  EXPECT_TRUE(b.settle().px == line.px) << "a key away from the picture reached the program";
  b.eval("history.pushState(null, '', '#here'); document.getElementById('canvas').focus()");
  b.key("period");
  EXPECT_FALSE(b.settle().px == line.px) << "no grid";
  b.key("period");
  b.key("BackSpace");
  EXPECT_FALSE(b.settle().px == line.px) << "the line was not taken back";
  EXPECT_EQ(b.eval("location.hash"), "\"#here\"");
  // Space presses the page's button for the right button, which leaves the drawing screen.
  b.eval("document.getElementById('right').focus()");
  if (keysPress)
    b.key("space");
  else
    b.clickPage("right");
  EXPECT_TRUE(Panel(b.waitFor(Panel)));

  // Firefox takes keys from its window as from a user: F5 reloads, from the picture
  // too, Ctrl+plus zooms. (Chromium headless has no window to press them on.)
  if (GetParam() == "firefox") {
    b.eval("document.getElementById('open').focus()");
    b.xkey("ctrl+plus");
    EXPECT_NE(b.eval("devicePixelRatio"), "1") << "Ctrl+plus did not zoom";
    b.xkey("ctrl+0");
    EXPECT_EQ(b.eval("devicePixelRatio"), "1");
    for (const char* id : {"open", "canvas"}) {
      b.eval(std::string("window.before = 1; document.getElementById('") + id + "').focus()");
      b.xkey("F5");
      // Reloaded once the page runs the program again without the mark.
      std::string after;
      for (int t = 0; t < 100 && after != "true"; t++) {
        b.settle(100);
        try {
          after = b.eval(
              "typeof window.before === 'undefined' && typeof Module === 'object' &&"
              " !!Module.calledRun && document.getElementById('state').textContent === ''");
        } catch (const std::runtime_error&) {  // between the two pages
        }
      }
      EXPECT_EQ(after, "true") << "F5 on " << id << " did not reload";
    }
  }
  PageIsWell(b);
}

// The picture takes the largest whole multiple of 640x400 the window leaves beside the
// page's controls, however many files the list holds, and the page does not scroll. On
// a phone it is scaled down to the window's width, and a click reaches the picture
// pixel under it.
TEST_P(Web, PictureTakesTheLargestScaleTheWindowAllows) {
  Browser b(GetParam());
  const std::string layout =
      "(() => { const r = document.getElementById('canvas').getBoundingClientRect();"
      " const e = document.documentElement; return [r.width, r.height, r.bottom <= innerHeight,"
      " e.scrollWidth <= innerWidth && e.scrollHeight <= innerHeight]; })()";
  struct Row {
    int w, h, files;
    const char* expected;
  };
  // clang-format off
  const Row rows[] = {
    {1920, 960, 0, "[1280,800,true,true]"},
    {1920, 960, 30, "[1280,800,true,true]"},
    {1366, 768, 30, "[640,400,true,true]"},
    {2200, 900, 30, "[1280,800,true,true]"},  // beside the controls: below, only 1x
    {390, 844, 30, "[374,233.75,true,true]"},
  };
  // clang-format on
  for (const Row& r : rows) {
    SCOPED_TRACE(std::to_string(r.w) + "x" + std::to_string(r.h) + ", " + std::to_string(r.files) +
                 " files");
    if (r.files)
      b.eval("for (let i = 10; i < 40; i++) FS.writeFile('/obrazy/PLIK' + i + '.BMP', 'x')");
    b.viewport(r.w, r.h);
    EXPECT_EQ(b.eval(layout), r.expected);
  }

  // At 374/640 of its size, the CSS pixel (187, 117) on the picture is its pixel (320, 200).
  b.viewport(1000, 700);
  ChooseTool(b, 1);
  SwitchScreens(b);
  Shot blank = b.settle();
  b.viewport(390, 844);
  b.click(187, 117);
  b.viewport(1000, 700);
  Shot dot = b.settle();
  std::vector<std::pair<int, int>> drawn;
  for (int y = 0; y < 400; y++)
    for (int x = 0; x < 640; x++)
      if (dot.at(x, y) != blank.at(x, y)) drawn.push_back({x, y});
  EXPECT_EQ(drawn, (std::vector<std::pair<int, int>>{{320, 200}}));
  PageIsWell(b);
}

// A BMP larger than the picture: "BMP" stretches it over the picture as the desktop
// program does, pixel for pixel, and "Open…" (a drop) loads it the same way.
TEST_P(Web, LargeBmpGivesTheDesktopProgramsPicture) {
  const std::vector<std::pair<int, int>> sizes = {{1024, 768}, {700, 450}};
  std::vector<std::string> files;
  for (auto [w, h] : sizes) {  // smooth ramps with a fine texture, as a photo has
    RgbImage img{w, h, std::vector<uint32_t>(size_t(w) * h)};
    for (int y = 0; y < h; y++)
      for (int x = 0; x < w; x++)
        img.px[size_t(y) * w + x] = uint32_t(x * 255 / w) << 16 | uint32_t(y * 255 / h) << 8 |
                                    uint32_t((x * 7 ^ y * 13) & 255);
    std::vector<uint8_t> f = Bmp24(img);
    files.emplace_back(f.begin(), f.end());
  }
  auto name = [](size_t i) { return "GROSS" + std::to_string(i) + ".BMP"; };
  std::vector<Shot> desktop;
  {
    App app;
    for (size_t i = 0; i < files.size(); i++) {
      ASSERT_TRUE(WriteText(app.dir() + "/" + name(i), files[i]));
      OpenDialog(app, LBMP);
      Write(app, app.dir() + "/" + name(i));
      app.key("Return");
      app.key("Return");
      app.waitFor(Panel);
      SwitchScreens(app);
      desktop.push_back(app.settle());
      ASSERT_FALSE(AlertUp(desktop.back())) << "the desktop program did not load " << name(i);
      SwitchScreens(app);
    }
  }
  Browser b(GetParam());
  for (size_t i = 0; i < files.size(); i++) {
    SCOPED_TRACE(name(i));
    ASSERT_TRUE(WriteText(b.dir() + "/" + name(i), files[i]));
    b.open(b.dir() + "/" + name(i));
    AwaitStored(b, name(i));
    SwitchScreens(b);
    EXPECT_TRUE(SamePixels(desktop[i], b.settle(), "web_bmp_opened"));
    SwitchScreens(b);
    OpenDialog(b, CZYSC);  // a clean picture, so that the load below must draw it all
    b.click(srodekX(TAK), srodekY(TAK));
    b.waitFor(Panel);
    OpenDialog(b, LBMP);
    TakeFirstFile(b, int(i));
    SwitchScreens(b);
    EXPECT_TRUE(SamePixels(desktop[i], b.settle(), "web_bmp_loaded"));
    SwitchScreens(b);
  }
  PageIsWell(b);
}

// A browser that keeps no storage for the page, its IndexedDB refused (as in some
// browsers' private windows) or missing: the program runs with its folder in memory,
// and the page keeps saying so after a finger has touched the picture and a picture
// was saved there.
TEST_P(Web, WithoutStorageTheFolderIsKeptInMemoryAndThePageSaysSo) {
  const std::string unkept =
      "Ta przeglądarka nie daje stronie pamięci: pliki w /obrazy przetrwają tylko do zamknięcia "
      "strony.";
  for (const char* storage : {"refused", "absent"}) {
    SCOPED_TRACE(storage);
    Browser b(GetParam(), storage);
    EXPECT_EQ(b.state(), unkept);
    b.touch({{POZA_X, POZA_Y}});
    b.touch({});
    DrawAndSave(b, "");
    EXPECT_EQ(b.files(), "OBRAZ.BMP/");
    EXPECT_EQ(b.state(), unkept);
    EXPECT_EQ(b.errors(), "");
  }
}

// A browser without WebGL or WebAssembly: the page says what it lacks and what to try,
// and nothing on the page claims the program runs.
TEST_P(Web, WithoutWebGlOrWebAssemblyThePageSaysWhatTheBrowserLacks) {
  const std::pair<const char*, const char*> rows[] = {
      {"nowebgl",
       "Ta przeglądarka nie daje stronie WebGL, którym program rysuje, więc program nie został "
       "uruchomiony. Włącz WebGL (lub przyspieszenie sprzętowe) w ustawieniach przeglądarki "
       "albo otwórz stronę w innej przeglądarce."},
      {"nowasm",
       "Ta przeglądarka nie obsługuje WebAssembly, w którym działa program. Otwórz stronę w "
       "nowszej przeglądarce albo włącz WebAssembly w jej ustawieniach."},
  };
  for (auto [lacks, message] : rows) {
    SCOPED_TRACE(lacks);
    Browser b(GetParam(), lacks);
    EXPECT_EQ(b.state(), message);
    EXPECT_EQ(b.eval("[!!Module.calledRun && !Module.noInitialRun, "
                     "document.getElementById('cover').hidden]"),
              "[false,true]");
  }
}

// Whether the page runs under its build's offline copy, stored whole: the service
// worker controls the page, and the only store is the one of the page's version
// (a worker removes the older ones once its own is complete). Waits for it.
bool AwaitOfflineCopy(Browser& b) {
  const char* ready =
      "(async () => { const v = document.querySelector('script[src*=\"tarksen.js\"]').src"
      ".split('v=')[1]; const names = await caches.keys(); return !!navigator.serviceWorker"
      ".controller && names.length === 1 && names[0] === 'tarksen-' + v; })()";
  for (int t = 0; t < 100; t++) {
    if (b.eval(ready) == "true") return true;
    b.settle(200);
  }
  return false;
}

// After a first visit the page starts without the server, its pictures still there;
// a rebuilt site served again runs at the next visit and is the copy then kept.
TEST_P(Web, StartsOfflineAfterTheFirstVisitAndTakesANewBuildAtTheNext) {
  Browser b(GetParam());
  Shot picture = DrawAndSave(b, "");
  AwaitStored(b, "OBRAZ.BMP");
  ASSERT_TRUE(AwaitOfflineCopy(b)) << "no offline copy after the first visit";
  b.serve();  // the network is gone
  b.reload();
  EXPECT_EQ(b.files(), "OBRAZ.BMP/");
  OpenDialog(b, LBMP);
  TakeFirstFile(b);
  SwitchScreens(b);
  EXPECT_TRUE(SamePixels(picture, b.settle(), "web_offline." + GetParam()));

  // The same site with a program that says it is another build, stamped anew.
  std::string site = b.dir() + "/rebuilt";
  ASSERT_EQ(Sh("cp -r '" TARKSEN_WEB_SITE "' '" + site +
               "' && echo 'self.build = \"rebuilt\";' >>'" + site +
               "/tarksen.js' && cmake -DSITE='" + site +
               "' -P '" TARKSEN_WEB_STAMP "' && echo stamped"),
            "stamped\n");
  b.serve(site);
  b.reload();
  EXPECT_EQ(b.eval("self.build"), "\"rebuilt\"") << "the stored build ran";
  EXPECT_TRUE(AwaitOfflineCopy(b)) << "the new build was not stored";
  b.serve();
  b.reload();
  EXPECT_EQ(b.eval("self.build"), "\"rebuilt\"") << "offline, the old build ran";
  EXPECT_EQ(b.files(), "OBRAZ.BMP/") << "the update touched the pictures";
  PageIsWell(b);
}

// The web app's manifest: the name, a window of its own, the panel's green, and the
// desktop's icons (the same generator's files), each loading at its stated size.
// Chromium would offer to install the page; Firefox offers no such thing on Linux.
TEST_P(Web, IsAWebAppABrowserOffersToInstall) {
  Browser b(GetParam());
  EXPECT_EQ(b.eval(R"((async () => {
    const link = document.querySelector('link[rel=manifest]');
    const m = await (await fetch(link.href)).json();
    const sizes = await Promise.all(m.icons.map((i) => new Promise((done) => {
      const img = new Image();
      img.onload = () => done(img.naturalWidth + 'x' + img.naturalHeight + ' ' + i.sizes);
      img.onerror = () => done('no ' + i.src);
      img.src = new URL(i.src, link.href);
    })));
    return [m.name, m.display, m.theme_color, m.start_url, ...sizes];
  })())"),
            R"(["TARKSEN 2","standalone","#afcfaf","./","32x32 32x32","64x64 64x64",)"
            R"("128x128 128x128","256x256 256x256"])");
  for (int n : {32, 64, 128, 256}) {
    std::string desktop = ReadText(TARKSEN_ICONS "/" + std::to_string(n) + "x" + std::to_string(n) +
                                   "/apps/tarksen.png");
    EXPECT_FALSE(desktop.empty());
    EXPECT_TRUE(ReadText(TARKSEN_WEB_SITE "/icons/" + std::to_string(n) + ".png") == desktop)
        << "the " << n << "-pixel icon is not the desktop's";
  }
  if (GetParam() == "chromium") EXPECT_EQ(b.installable(), "[]");
  PageIsWell(b);
}

// "Koniec": the page says so and covers the picture with a note whose button starts
// the program again.
TEST_P(Web, EndingTheProgramCoversThePictureWithAButtonThatStartsItAgain) {
  Browser b(GetParam());
  OpenDialog(b, KONIEC);
  b.click(srodekX(TAK), srodekY(TAK));
  std::string state;
  for (int t = 0; t < 50 && (state = b.state()).empty(); t++) b.settle(200);
  EXPECT_EQ(state, "Program zakończył pracę.");
  EXPECT_EQ(b.eval("[document.getElementById('cover').hidden, document.activeElement.id]"),
            R"([false,"restart"])");
  b.reloadBy("restart");
  EXPECT_EQ(b.state(), "");
  EXPECT_TRUE(Panel(b.waitFor(Panel)));
  EXPECT_EQ(b.eval("document.getElementById('cover').hidden"), "true");
  EXPECT_EQ(b.errors(), "");
}

// The page speaks Polish; its short help can be hidden and stays hidden.
TEST_P(Web, HelpCanBeHiddenAndStaysHidden) {
  Browser b(GetParam());
  const std::string shown = "[document.documentElement.lang, document.getElementById('help').open]";
  EXPECT_EQ(b.eval(shown), R"(["pl",true])");
  b.eval("document.querySelector('#help summary').click()");
  EXPECT_EQ(b.eval(shown), R"(["pl",false])");
  b.reload();
  EXPECT_EQ(b.eval(shown), R"(["pl",false])") << "shown again after a reload";
  PageIsWell(b);
}

}  // namespace
