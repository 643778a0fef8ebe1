#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "filesel/filesel_core.h"

TEST(DIRPatternOf, FormsPrefixMarkAndLowerMark) {
  struct {
    const char* pattern;
    const char *prefix, *mark, *lower;
    // clang-format off
  } cases[] = {
      {".PI", "", ".PI", ".pi"},
      {".BMP", "", ".BMP", ".bmp"},
      {"*.*", "", "", ""},
      {"*.PI*", "", ".PI", ".pi"},
      {"IMG*.BMP", "IMG", ".BMP", ".bmp"},
      {"ABC", "ABC", "", ""},
      {"", "", "", ""},
      {"A.b.C", "A", ".C", ".c"},
      {"x.Ł*", "x.Ł", ".Ł", ".Ł"},
      {"*.PI*.*", "", "", ""},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("pattern \"") + c.pattern + "\"");
    DIRPattern p;
    DIRPatternOf(c.pattern, p);
    EXPECT_STREQ(p.prefix, c.prefix);
    EXPECT_STREQ(p.mark, c.mark);
    EXPECT_STREQ(p.lower, c.lower);
  }
  // A pattern longer than a buffer is read to 255 bytes.
  std::string longPattern = std::string(300, 'P');
  DIRPattern p;
  DIRPatternOf(longPattern.c_str(), p);
  EXPECT_EQ(std::string(p.prefix), std::string(255, 'P'));
}

TEST(DIRPatternPasses, PrefixAndEitherMark) {
  struct {
    const char* pattern;
    const char* name;
    bool passes;
    // clang-format off
  } cases[] = {
      {".PI", "A.PI1", true},
      {".PI", "b.pi3", true},
      {".PI", "c.pic.txt", true},
      {".PI", "d.Pi1", false},
      {".BMP", "x.bmp", true},
      {".BMP", "x.Bmp", false},
      {"*.*", "anything", true},
      {"", "anything", true},
      {"IMG*.BMP", "IMG1.BMP", true},
      {"IMG*.BMP", "IMG1.bmp", true},
      {"IMG*.BMP", "img1.BMP", false},
      {"IMG*.BMP", "IMG1.PI1", false},
      {"ABC", "ABCD", true},
      {"ABC", "xABC", false},
      {"ABC", "AB", false},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " / " + c.name);
    DIRPattern p;
    DIRPatternOf(c.pattern, p);
    EXPECT_EQ(DIRPatternPasses(p, c.name), c.passes);
  }
}

TEST(DIRfileCmp, DirectoriesFirstThenBytes) {
  // Items as a listing holds them, in the order they must sort to: the kind decides
  // first, whatever the entry's first byte (a file may be named with the marker).
  const std::vector<std::pair<std::string, bool>> sorted = {{"\x7F"
                                                             "A",
                                                             true},
                                                            {"\x7F"
                                                             "B",
                                                             true},
                                                            {"\x7F"
                                                             "a",
                                                             true},
                                                            {"B", false},
                                                            {"Z.PI1", false},
                                                            {"a.PI1", false},
                                                            {"b", false},
                                                            {"\x7F"
                                                             "0",
                                                             false},
                                                            {"\xC5\x81"
                                                             "ad",
                                                             false}};
  std::vector<DIRItem> items;
  for (size_t i : {6, 3, 1, 7, 0, 5, 2, 8, 4}) {
    DIRItem it = {};
    strcpy(it.entry, sorted[i].first.c_str());
    it.dir = sorted[i].second;
    items.push_back(it);
  }
  std::sort(items.begin(), items.end(),
            [](const DIRItem& a, const DIRItem& b) { return DIRfileCmp(&a, &b) < 0; });
  std::vector<std::pair<std::string, bool>> got;
  for (const DIRItem& it : items) got.push_back({it.entry, it.dir});
  EXPECT_EQ(got, sorted);
  DIRItem file =
              {"\x7F"
               "z",
               false},
          dir = {"a", true};
  EXPECT_EQ(DIRfileCmp(&file, &file), 0);
  EXPECT_EQ(DIRfileCmp(&dir, &file), -1);
  EXPECT_EQ(DIRfileCmp(&file, &dir), 1);
}

TEST(DIREntry, KeepsEveryEntryTerminated) {
  struct {
    const char* name;
    std::string given;
    bool dir;
    std::string want;
    // clang-format off
  } cases[] = {
      {"file", "a.PI1", false, "a.PI1"},
      {"directory", "sub", true, "\x7Fsub"},
      {"file of 255 bytes", std::string(255, 'f'), false, std::string(255, 'f')},
      {"directory of 255 bytes cut to 254", std::string(255, 'd'), true,
       "\x7F" + std::string(254, 'd')},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    char entry[257];
    memset(entry, 'x', sizeof entry);
    DIREntry(entry, c.given.c_str(), c.dir);
    EXPECT_EQ(std::string(entry), c.want);
    EXPECT_EQ(entry[256], 'x');
  }
}

TEST(DIRNormalisePath, EndsInSlash) {
  struct {
    std::string given, want;
    bool fits = true;
    // clang-format off
  } cases[] = {
      {"/home/u", "/home/u/"},
      {"/home/u/", "/home/u/"},
      {"/home/u\\", "/home/u/"},
      {"/", "/"},
      {"C:\\", "C:/"},
      {"", "/"},
      {std::string(254, 'p'), std::string(254, 'p') + "/"},
      {std::string(255, 'p'), std::string(255, 'p'), false},  // no room: refused, not cut
      {std::string(254, 'p') + "/", std::string(254, 'p') + "/"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given);
    char path[256] = {};
    memcpy(path, c.given.data(), c.given.size());
    EXPECT_EQ(DIRNormalisePath(path), c.fits);
    EXPECT_EQ(std::string(path), c.want);
  }
}

TEST(FSLayout, TenBoxesAtTheirPlaces) {
  static const char entries[2][256] = {"a", "b"};
  char filter[256] = ".PI", path[256] = "/", name[256] = "x";
  GEMBox b[FS_BOXES];
  FSLayout(b, filter, path, name, entries[0], 16, 16);
  struct {
    uint8_t type;
    const char* text;
    int32_t x, y, w, h;
    // clang-format off
  } want[FS_BOXES] = {
      {0, nullptr, 488, 68, 16, 324},    {11, filter, 68, 24, 248, 16},
      {11, path, 4, 48, 632, 16},        {11, name, 384, 24, 252, 16},
      {13, entries[0], 4, 68, 480, 324}, {1, "UP", 540, 68, 96, 16},
      {1, "BASE", 540, 200, 96, 16},     {1, "ROOT", 540, 220, 96, 16},
      {1, "OK", 540, 360, 96, 16},       {1, "CANCEL", 540, 380, 96, 16},
  };
  // clang-format on
  for (int i = 0; i < FS_BOXES; i++) {
    SCOPED_TRACE(i);
    EXPECT_EQ(b[i].flags, 0x03);
    EXPECT_EQ(b[i].type, want[i].type);
    if (want[i].type == 1)
      EXPECT_STREQ(b[i].text, want[i].text);
    else
      EXPECT_EQ(b[i].text, want[i].text);
    EXPECT_EQ(b[i].x, want[i].x);
    EXPECT_EQ(b[i].y, want[i].y);
    EXPECT_EQ(b[i].w, want[i].w);
    EXPECT_EQ(b[i].h, want[i].h);
    EXPECT_EQ(b[i].param1, 0u);
    EXPECT_EQ(b[i].param2, i == FS_LIST ? -1 : 0);
    EXPECT_EQ(b[i].image, nullptr);
  }
  EXPECT_EQ(FSTitleX("Zapis", 16), 280);
  EXPECT_EQ(FSTitleX("Ładowanie", 16), 240);  // 10 bytes: half a cell left of centre
  int32_t arrow[4];
  FSArrowRect(b[FS_LEVER], arrow);
  EXPECT_EQ(std::vector<int32_t>(arrow, arrow + 4), (std::vector<int32_t>{491, 199, 10, 12}));
}

TEST(FSLeverStep, MovesARowPerSixteenPixelsFromTheMiddle) {
  const GEMBox lever = {nullptr, 3, 0, 488, 68, 16, 324, 0, 0, nullptr};  // middle at y 230
  struct {
    const char* name;
    int32_t offset, y, count, want;
    // clang-format off
  } cases[] = {
      {"within 15 below: still", 10, 245, 60, 10},   {"16 below: one down", 10, 246, 60, 11},
      {"40 below: two down", 10, 270, 60, 12},       {"within 15 above: still", 10, 215, 60, 10},
      {"16 above: one up", 10, 214, 60, 9},          {"33 above: two up", 10, 197, 60, 8},
      {"clamped at the last page", 39, 390, 60, 40}, {"clamped at the top", 1, 70, 60, 0},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FSLeverStep(lever, c.offset, c.y, c.count, 20, 16), c.want);
  }
}

TEST(FSListRow, RowsStartTwoPixelsBelowTheTop) {
  const GEMBox list = {nullptr, 3, 13, 4, 68, 480, 324, 0, -1, nullptr};
  struct {
    int32_t offset, y, want;
  } cases[] = {{0, 68, 0},   {0, 85, 0}, {0, 86, 1}, {0, 389, 19},
               {0, 390, -1}, {7, 70, 7}, {7, 102, 9}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.y);
    EXPECT_EQ(FSListRow(list, c.offset, c.y, 16), c.want);
  }
}

TEST(FSUpPath, CutsTheLastDirectory) {
  struct {
    const char *given, *want;
    bool changed;
  } cases[] = {{"/home/u/", "/home/", true}, {"/home/", "/", true}, {"/", "/", false},
               {"C:/", "C:/", false},        {"", "", false},       {"a/b/", "a/", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given);
    char path[256];
    strcpy(path, c.given);
    EXPECT_EQ(FSUpPath(path), c.changed);
    EXPECT_STREQ(path, c.want);
  }
}

TEST(FSResult, DirectoryAndNameOrAnAbsoluteName) {
  const std::string d200 = "/" + std::string(200, 'd') + "/";
  struct {
    const char* name;
    std::string dir, given, want;  // want "": refused, the output untouched
    // clang-format off
  } cases[] = {
      {"joined", "/home/u/", "obraz.PI1", "/home/u/obraz.PI1"},
      {"absolute name as it is", "/home/u/", "/tmp/a.BMP", "/tmp/a.BMP"},
      {"empty name", "/home/u/", "", "/home/u/"},
      {"255 bytes joined", d200, std::string(53, 'n'), d200 + std::string(53, 'n')},
      {"256 bytes joined: refused, not cut", d200, std::string(54, 'n'), ""},
      {"a long absolute name", d200, "/" + std::string(254, 'a'), "/" + std::string(254, 'a')},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    char out[256] = "untouched";
    EXPECT_EQ(FSResult(out, c.dir.c_str(), c.given.c_str()), !c.want.empty());
    EXPECT_EQ(std::string(out), c.want.empty() ? "untouched" : c.want);
  }
  // The name may be the output buffer itself, as the dialog's name field is.
  char name[256] = "x.BMP";
  EXPECT_TRUE(FSResult(name, "/d/", name));
  EXPECT_STREQ(name, "/d/x.BMP");
}

// The pictures folder as xdg-user-dir prints it for the same file (a shell sourcing
// it), with home /home/ola.
TEST(FSPicturesDir, ReadsTheFileAsTheShellDoes) {
  const std::string tooLong = "XDG_PICTURES_DIR=\"/" + std::string(255, 'a') + "\"\n";
  struct {
    const char* name;
    const char* file;
    const char* dir;  // null: none named
    // clang-format off
  } cases[] = {
      {"as xdg-user-dirs-update writes it",
       "# This file is written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Pulpit\"\n"
       "XDG_PICTURES_DIR=\"$HOME/Obrazy\"\nXDG_MUSIC_DIR=\"$HOME/Muzyka\"\n",
       "/home/ola/Obrazy"},
      {"braces and no quotes", "XDG_PICTURES_DIR=${HOME}/Zdjęcia\n", "/home/ola/Zdjęcia"},
      {"an absolute folder", "XDG_PICTURES_DIR=\"/srv/obrazy\"", "/srv/obrazy"},
      {"the home directory itself", "XDG_PICTURES_DIR=\"$HOME/\"\n", "/home/ola/"},
      {"escapes inside quotes", "XDG_PICTURES_DIR=\"$HOME/a \\\"b\\\" \\$c\"\n",
       "/home/ola/a \"b\" $c"},
      {"the last assignment wins",
       "XDG_PICTURES_DIR=\"$HOME/Stare\"\nXDG_PICTURES_DIR=\"$HOME/Nowe\"\n", "/home/ola/Nowe"},
      {"indented, a comment after", "  XDG_PICTURES_DIR=\"$HOME/O\"  # mine\n", "/home/ola/O"},
      {"a relative folder lies in home", "XDG_PICTURES_DIR=\"Obrazy\"\n", "/home/ola/Obrazy"},
      {"commented out", "#XDG_PICTURES_DIR=\"$HOME/Obrazy\"\n", nullptr},
      {"unset", "XDG_MUSIC_DIR=\"$HOME/Muzyka\"\n", nullptr},
      {"empty", "XDG_PICTURES_DIR=\"\"\n", nullptr},
      {"another variable", "XDG_PICTURES_DIR=\"$XDG_DATA_HOME/x\"\n", nullptr},
      {"$HOME not at a word's end", "XDG_PICTURES_DIR=\"$HOMEx/y\"\n", nullptr},
      {"no closing quote", "XDG_PICTURES_DIR=\"$HOME/Obrazy\n", nullptr},
      {"a command after it", "XDG_PICTURES_DIR=$HOME/a;rm x\n", nullptr},
      {"another key that ends alike", "MY_XDG_PICTURES_DIR=\"/x\"\n", nullptr},
      {"a backquote", "XDG_PICTURES_DIR=\"`id`\"\n", nullptr},
      {"longer than a path may be", tooLong.c_str(), nullptr},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    char out[256] = "untouched";
    EXPECT_EQ(FSPicturesDir(out, c.file, "/home/ola/"), c.dir != nullptr);
    EXPECT_STREQ(out, c.dir ? c.dir : "untouched");
  }
}

TEST(FSTilde, HomeForATypedTilde) {
  const std::string longHome = "/" + std::string(250, 'h');
  struct {
    const char *text, *home;
    int32_t result;
    const char* out;  // null: untouched
    // clang-format off
  } cases[] = {
      {"~", "/home/ola", 1, "/home/ola"},
      {"~/", "/home/ola/", 1, "/home/ola"},
      {"~/kot.PI1", "/home/ola", 1, "/home/ola/kot.PI1"},
      {"~/a/b/", "/", 1, "/a/b/"},
      {"~ola/kot.PI1", "/home/ola", 0, nullptr},  // another user's home is not ours to guess
      {"a/~/b", "/home/ola", 0, nullptr},
      {"", "/home/ola", 0, nullptr},
      {"~/123456", longHome.c_str(), -1, nullptr},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    char out[256] = "untouched";
    EXPECT_EQ(FSTilde(out, c.text, c.home), c.result);
    EXPECT_STREQ(out, c.out ? c.out : "untouched");
  }
}

TEST(FSDirOf, TheDirectoryOfAFileAbsolute) {
  const std::string longCwd = "/" + std::string(254, 'c');
  struct {
    const char *path, *cwd, *dir;  // dir null: refused
    // clang-format off
  } cases[] = {
      {"/home/ola/Obrazy/kot.PI1", "/tmp", "/home/ola/Obrazy/"},
      {"/kot.PI1", "/tmp", "/"},
      {"kot.PI1", "/home/ola", "/home/ola/"},
      {"kot.PI1", "/", "/"},
      {"inne/kot.PI1", "/home/ola/", "/home/ola/inne/"},
      {"kot.PI1", longCwd.c_str(), nullptr},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    char out[256] = "untouched";
    EXPECT_EQ(FSDirOf(out, c.path, c.cwd), c.dir != nullptr);
    EXPECT_STREQ(out, c.dir ? c.dir : "untouched");
  }
}

TEST(FSKeptDir, OneAbsoluteDirectoryAndALineFeedOrNothing) {
  struct {
    std::string bytes;
    const char* dir;  // null: ignored
    // clang-format off
  } cases[] = {
      {"/home/ola/Obrazy/\n", "/home/ola/Obrazy/"},
      {"/\n", nullptr},  // too short to be one the program writes: a directory and '/'
      {"", nullptr},
      {"/home/ola/Obrazy/", nullptr},       // cut before its line feed
      {"/home/ola/Obrazy\n", nullptr},      // not as written: no '/' at the end
      {"home/ola/\n", nullptr},             // relative
      {"/a/\n/b/\n", nullptr},              // two lines
      {std::string("/a\0b/\n", 6), nullptr},  // a zero byte
      {"/" + std::string(254, 'k') + "/\n", nullptr},  // longer than a path may be
      {"\x89PNG\r\n\x1a\n", nullptr},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    char out[256] = "untouched";
    EXPECT_EQ(FSKeptDir(out, c.bytes.data(), c.bytes.size()), c.dir != nullptr);
    EXPECT_STREQ(out, c.dir ? c.dir : "untouched");
  }
}

TEST(FSNameless, NothingOrTheOfferedNameAlone) {
  struct {
    const char *path, *offered;
    bool nameless;
    // clang-format off
  } cases[] = {
      {"/home/ola/", ".BMP", true},
      {"/home/ola/.BMP", ".BMP", true},
      {"/home/ola/.bmp", ".BMP", true},
      {"/home/ola/.PIC", ".PIC", true},
      {"", ".PIC", true},
      {"/home/ola/kot.BMP", ".BMP", false},
      {"/home/ola/.PIC", ".BMP", false},  // a name the user typed, not the one offered
      {"/home/ola/.BMP.BMP", ".BMP", false},
      {"/home/ola/x", ".PIC", false},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FSNameless(c.path, c.offered), c.nameless);
  }
}
