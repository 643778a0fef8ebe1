// The program as it is installed: cmake --install into a staging directory, and the
// Debian package of make package, each run from an empty working directory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/e2e.h"
#include "tests/support/run.h"
#include "tests/support/scratch.h"

namespace {

std::string Trim(std::string s) {
  s.erase(s.find_last_not_of(" \n") + 1);
  return s;
}

// The one file under dir whose path ends in suffix, or "".
std::string Find(const std::string& dir, const std::string& suffix) {
  return Trim(Sh("find '" + dir + "' -path '*" + suffix + "'"));
}

// Checks an installed tree under root (the prefix as it lies there): the binary,
// started from an empty directory, shows text with the installed font; the desktop
// entry validates; the manual page renders without warnings; the icons are PNGs of
// their sizes, the design scaled up; the MIME package names the DEGAS and Doodle
// patterns.
void CheckInstalledTree(const std::string& root) {
  std::string bin = root + "/bin/tarksen";
  ASSERT_EQ(Sh("test -x '" + bin + "' && echo yes"), "yes\n") << bin;
  EXPECT_NE(Sh("ls '" + root + "/share/tarksen/'"), "") << "the font is installed";
  {
    App app(Launch{bin, false, false, "", {}});
    EXPECT_TRUE(ShowsText(app.settle())) << "the installed font was not found";
    EXPECT_EQ(app.output(), "");
    app.closeWindow();
    EXPECT_EQ(app.waitExit(), 0);
  }

  std::string desktop = root + "/share/applications/tarksen.desktop";
  Ran valid = Shell("desktop-file-validate '" + desktop + "'");
  EXPECT_EQ(valid.code, 0);
  EXPECT_EQ(valid.out + valid.err, "") << "no hint or warning";
  std::string entry = ReadText(desktop);
  for (const char* line :
       {"Exec=tarksen %f",
        "MimeType=image/png;image/bmp;image/x-degas;image/x-doodle;image/x-neochrome;"
        "image/x-spectrum512;image/x-gbf;",
        "Name[pl]=TARKSEN 2", "GenericName[pl]=Program do rysowania",
        "Comment[pl]=Rysowanie myszą; otwiera obrazy PNG, BMP i Atari ST"})
    EXPECT_NE(entry.find(std::string("\n") + line + "\n"), std::string::npos) << line;

  std::string page = root + "/share/man/man1/tarksen.1.gz";
  for (const char* locale : {"C", "C.UTF-8"}) {
    SCOPED_TRACE(locale);
    std::string env = std::string("LC_ALL=") + locale + " MANWIDTH=80 ";
    Ran warned = Shell(env + "man --warnings -l '" + page + "' >/dev/null");
    EXPECT_EQ(warned.code, 0);
    EXPECT_EQ(warned.err, "") << "no warning";
    std::string text = Sh(env + "man -l '" + page + "' 2>/dev/null");
    for (const char* section : {"NAME", "SYNOPSIS", "DESCRIPTION", "THE CONTROL SCREEN",
                                "THE DRAWING SCREEN", "FILES", "EXIT STATUS"})
      EXPECT_NE(text.find(std::string("\n") + section + "\n"), std::string::npos) << section;
    // The Polish page, as man finds it for a Polish reader.
    std::string pl = env + "MANPATH='" + root + "/share/man' ";
    Ran polish = Shell(pl + "man --warnings -L pl tarksen >/dev/null");
    EXPECT_EQ(polish.code, 0);
    EXPECT_EQ(polish.err, "") << "no warning";
    std::string tekst = Sh(pl + "man -L pl tarksen 2>/dev/null");
    for (const char* section : {"NAZWA", "OPIS", "EKRAN STEROWANIA", "OKNO WYBORU PLIKU"}) {
      std::string plain = section;  // where the output has no Polish letters
      EXPECT_NE(tekst.find("\n" + plain + "\n"), std::string::npos) << section;
    }
  }

  // Each icon decodes whole (its image data is the generator's own deflate stream) to
  // the 32x32 one scaled up pixel for pixel, and stays small: its rows repeat.
  const std::string smallest = root + "/share/icons/hicolor/32x32/apps/tarksen.png";
  const std::string rgb = " -depth 8 rgb:- | md5sum";
  for (int n : {32, 64, 128, 256}) {
    std::string size = std::to_string(n) + "x" + std::to_string(n);
    std::string icon = root + "/share/icons/hicolor/" + size + "/apps/tarksen.png";
    EXPECT_EQ(Sh("identify -format '%m %wx%h' '" + icon + "' 2>&1"), "PNG " + size);
    EXPECT_EQ(Sh("convert '" + icon + "' -depth 8 rgb:- | wc -c"), std::to_string(n * n * 3) + "\n")
        << size;
    EXPECT_EQ(Sh("convert '" + icon + "'" + rgb),
              Sh("convert '" + smallest + "' -sample " + std::to_string(n * 100 / 32) + "%" + rgb))
        << size;
    EXPECT_LT(std::stoul(Sh("stat -c %s '" + icon + "'")), 4096u) << size;
  }

  // The MIME package as the desktop's database reads it.
  Scratch data("inst");
  const std::string mime = data / "mime";
  Sh("mkdir -p '" + mime + "/packages' && cp '" + root + "/share/mime/packages/tarksen.xml' '" +
     mime + "/packages/' && update-mime-database '" + mime + "'");
  // Every Atari name in the capitals the program reads, and in those alone (":cs").
  std::string globs = ReadText(mime + "/globs2");
  for (const char* g :
       {"image/x-degas:*.PI1:cs", "image/x-degas:*.PI2:cs", "image/x-degas:*.PI3:cs",
        "image/x-degas:*.PC1:cs", "image/x-degas:*.PC2:cs", "image/x-degas:*.PC3:cs",
        "image/x-doodle:*.PIC:cs", "image/x-doodle:*.DOO:cs", "image/x-neochrome:*.NEO:cs",
        "image/x-spectrum512:*.SPU:cs", "image/x-spectrum512:*.SPC:cs", "image/x-gbf:*.GBF:cs"})
    EXPECT_NE(globs.find(g), std::string::npos) << g << " in\n" << globs;
  // A file manager offers the program only for the names it opens.
  Scratch files("inst");
  struct {
    const char* name;
    bool ours;
  } names[] = {{"kot.PI1", true}, {"kot.PIC", true}, {"kot.pi1", false}, {"kot.pic", false}};
  for (const auto& n : names) {
    SCOPED_TRACE(n.name);
    ASSERT_TRUE(WriteText(files / n.name, ""));
    std::string type = Sh("XDG_DATA_HOME='" + data.path + "' XDG_DATA_DIRS=/usr/share " +
                          "xdg-mime query filetype '" + files / n.name + "' 2>/dev/null");
    bool atari = type.rfind("image/x-degas", 0) == 0 || type.rfind("image/x-doodle", 0) == 0;
    EXPECT_EQ(atari, n.ours) << type;
  }
}

}  // namespace

// make test builds both trees first; a plain build of the tests has neither, and the
// tests of them say so.
TEST(Install, StagedInstallRunsFromAnEmptyDirectoryWithEverythingInPlace) {
  if (access(TARKSEN_PROGRAM_BUILD "/cmake_install.cmake", F_OK) != 0)
    GTEST_SKIP() << "no optimized build in " TARKSEN_PROGRAM_BUILD ": make build makes it";
  Scratch stage("inst");
  Ran installed = Shell("DESTDIR='" + stage.path + "' cmake --install '" TARKSEN_PROGRAM_BUILD "'");
  ASSERT_EQ(installed.code, 0) << installed.err;
  std::string bin = Find(stage.path, "/bin/tarksen");
  ASSERT_NE(bin, "");
  CheckInstalledTree(bin.substr(0, bin.size() - 12));
}

TEST(Install, DebianPackageHoldsTheProgramUnderUsrAndRunsUnpacked) {
  std::string deb = Trim(Sh("ls " TARKSEN_PACKAGE_BUILD "/tarksen_*.deb 2>/dev/null"));
  if (deb.empty())
    GTEST_SKIP() << "no package in " TARKSEN_PACKAGE_BUILD ": make build-package makes it";
  ASSERT_EQ(deb.find('\n'), std::string::npos) << "more than one package: " << deb;
  auto field = [&](const char* f) { return Trim(Sh("dpkg-deb -f '" + deb + "' " + f)); };
  EXPECT_EQ(field("Package"), "tarksen");
  EXPECT_EQ(field("Version"), TARKSEN_VERSION);
  EXPECT_EQ(field("Architecture"), Trim(Sh("dpkg --print-architecture")));
  EXPECT_NE(field("Depends").find("libsdl2-2.0-0"), std::string::npos) << field("Depends");

  std::string files = Sh("dpkg-deb -c '" + deb + "' | awk '{print $6}'");
  for (const char* f :
       {"./usr/bin/tarksen", "./usr/share/tarksen/BASFont.bmp",
        "./usr/share/applications/tarksen.desktop", "./usr/share/man/man1/tarksen.1.gz",
        "./usr/share/mime/packages/tarksen.xml",
        "./usr/share/icons/hicolor/64x64/apps/tarksen.png"})
    EXPECT_NE(files.find(std::string(f) + "\n"), std::string::npos) << f << " in\n" << files;
  EXPECT_EQ(files.find("/usr/local"), std::string::npos) << files;

  Scratch root("inst");
  Ran unpacked = Shell("dpkg-deb -x '" + deb + "' '" + root.path + "'");
  ASSERT_EQ(unpacked.code, 0) << unpacked.err;
  EXPECT_EQ(unpacked.out, "");
  EXPECT_NE(Sh("file '" + root.path + "/usr/bin/tarksen'").find(", stripped"), std::string::npos);
  CheckInstalledTree(root.path + "/usr");
}
