#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "filesel/filesel.h"
#include "platform/platform.h"
#include "tests/support/gl.h"
#include "tests/support/scratch.h"

using Names = std::vector<std::string>;

class Listing : public ScreenTest {
 protected:
  void SetUp() override {
    ScreenTest::SetUp();
    entries.assign(256 * DIRMaxEntries, '\x55');
    dirs.assign(DIRMaxEntries, 2);
  }
  // Lists dir with pattern, a key queued for an alert. Sets alerted when an alert took
  // it, and err to what went to stderr.
  int32_t list(std::string& dir, const char* pattern) {
    DrainEvents();
    PushKey(SDLK_RETURN);
    char path[256] = {};
    strncpy(path, dir.c_str(), 255);
    testing::internal::CaptureStderr();
    int32_t n = DIRarray(path, pattern, entries.data(), reinterpret_cast<bool*>(dirs.data()));
    err = testing::internal::GetCapturedStderr();
    alerted = SDL_PeepEvents(nullptr, 1, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYDOWN) == 0;
    DrainEvents();
    dir = path;
    return n;
  }
  // Entries 0..n-1, a directory (as dirs tells) shown by its name after the marker and
  // a '/'; a file's entry as it is.
  Names names(int32_t n) const {
    Names out;
    for (int32_t i = 0; i < n; i++) {
      const char* e = &entries[256 * (size_t)i];
      if (dirs[i] == 1) {
        EXPECT_EQ(e[0], DIRMarker) << "a directory is drawn with the marker";
        out.push_back(std::string(e + 1) + "/");
      } else {
        EXPECT_EQ(dirs[i], 0);
        out.push_back(e);
      }
    }
    return out;
  }
  // Does the window show the alert's text at (160 + dx, 100 + dy) on the panel's green?
  static testing::AssertionResult showsAlertText(const char* text, int dx, int dy) {
    SDL_Rect r = {160 + dx, 100 + dy, 16 * (int)strlen(text), 16};
    Image want(r.w, r.h, Px(0xAF, 0xCF, 0xAF, 255));
    PaintGlyphs(want, Px(0, 0, 0, 255), GlyphsOf(text, 0, 0));
    return SameImage(ReadPixels(nullptr, &r), want, true);
  }
  std::vector<char> entries;
  std::vector<uint8_t> dirs;  // the bools DIRarray writes; 2 where it wrote none
  bool alerted = false;
  std::string err;
};

TEST_F(Listing, FiltersFilesAndAlwaysListsDirectories) {
  Scratch t{"dir"};
  t.files({"A.PI1", "b.pi3", "c.pic.txt", "d.Pi1", "Z.PI1", "a.PI1", "B", "IMG1.BMP", "IMG2.bmp",
           "img3.BMP", "X.BMP", "ABCD", "xABC", "noext"});
  t.dir("sub");
  t.dir("Zeta.PI1");
  t.dir("ABC.dir");
  const Names dirs = {"ABC.dir/", "Zeta.PI1/", "sub/"};
  struct {
    const char* pattern;
    Names files;
    // clang-format off
  } cases[] = {
      {".PI", {"A.PI1", "Z.PI1", "a.PI1", "b.pi3", "c.pic.txt"}},
      {"*.PI*", {"A.PI1", "Z.PI1", "a.PI1", "b.pi3", "c.pic.txt"}},
      {".BMP", {"IMG1.BMP", "IMG2.bmp", "X.BMP", "img3.BMP"}},
      {"IMG*.BMP", {"IMG1.BMP", "IMG2.bmp"}},
      {"ABC", {"ABCD"}},
      {"*.*",
       {"A.PI1", "ABCD", "B", "IMG1.BMP", "IMG2.bmp", "X.BMP", "Z.PI1", "a.PI1", "b.pi3",
        "c.pic.txt", "d.Pi1", "img3.BMP", "noext", "xABC"}},
      {"",
       {"A.PI1", "ABCD", "B", "IMG1.BMP", "IMG2.bmp", "X.BMP", "Z.PI1", "a.PI1", "b.pi3",
        "c.pic.txt", "d.Pi1", "img3.BMP", "noext", "xABC"}},
      {"QQQ", {}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("pattern \"") + c.pattern + "\"");
    std::string dir = t.path;
    int32_t n = list(dir, c.pattern);
    Names want = dirs;
    want.insert(want.end(), c.files.begin(), c.files.end());
    EXPECT_EQ(names(n < 0 ? 0 : n), want);
    EXPECT_FALSE(alerted);
    EXPECT_EQ(dir, t.slash());
  }
}

TEST_F(Listing, EmptyDirectoryGivesNoEntries) {
  Scratch t{"dir"};
  std::string dir = t.path;
  EXPECT_EQ(list(dir, ""), 0);
  EXPECT_FALSE(alerted);
  EXPECT_EQ(entries[0], '\x55');
}

TEST_F(Listing, PathIsMadeToEndInSlash) {
  Scratch t{"dir"};
  t.file("f");
  struct {
    const char* name;
    std::string given, want;
    // clang-format off
  } cases[] = {
      {"no slash: appended", t.path, t.slash()},
      {"slash: unchanged", t.slash(), t.slash()},
      {"backslash: replaced", t.path + "\\", t.slash()},
      {"root", "/", "/"},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string dir = c.given;
    EXPECT_GE(list(dir, ""), 0);
    EXPECT_EQ(dir, c.want);
  }
}

TEST_F(Listing, OneThousandEntriesAreTheLimit) {
  struct {
    int files, dirs;
    int32_t listed;
    bool alert;
  } cases[] = {{999, 0, 999, false}, {990, 10, 1000, true}, {1001, 0, 1000, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.files) + " files, " + std::to_string(c.dirs) + " dirs");
    Scratch t{"dir"};
    for (int i = 0; i < c.files; i++) t.file("f" + std::to_string(i));
    for (int i = 0; i < c.dirs; i++) t.dir("d" + std::to_string(i));
    std::string dir = t.path;
    int32_t n = list(dir, "");
    EXPECT_EQ(n, c.listed);
    EXPECT_EQ(alerted, c.alert);
    if (c.alert) {
      EXPECT_TRUE(showsAlertText("MAX FILES REACHED", 32, 100));
    }
    // Sorted, directories first, and each a name of the directory.
    Names got = names(n);
    for (size_t i = 1; i < got.size(); i++) {
      DIRItem a = {}, b = {};
      memcpy(a.entry, &entries[256 * (i - 1)], 256);
      memcpy(b.entry, &entries[256 * i], 256);
      a.dir = dirs[i - 1];
      b.dir = dirs[i];
      EXPECT_LT(DIRfileCmp(&a, &b), 0) << i;
    }
    int dirsSeen = 0;
    for (const auto& g : got) dirsSeen += g.back() == '/';
    EXPECT_EQ(dirsSeen, c.dirs);
  }
}

// The tests run as root, who may open any directory: the listing is then done with the
// effective user dropped to nobody for the call. As another user the directory's own
// permissions already refuse it.
TEST_F(Listing, DirectoryThatCannotBeOpenedLeavesPathAndEntries) {
  Scratch t{"dir"};
  t.dir("locked");
  t.file("locked/inside");
  ASSERT_EQ(chmod((t / "locked").c_str(), 0), 0);
  ASSERT_EQ(chmod(t.path.c_str(), 0755), 0);
  struct {
    const char* name;
    std::string path, reason;
    // clang-format off
  } cases[] = {
      {"no permission", t / "locked", "Permission denied"},
      {"no such directory", t / "none", "No such file or directory"},
  };
  // clang-format on
  std::string file = t / "plain";
  t.file("plain");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string dir = c.path;
    bool root = geteuid() == 0;
    if (root) {
      ASSERT_EQ(seteuid(65534), 0);
    }
    int32_t n = list(dir, "");
    if (root) {
      ASSERT_EQ(seteuid(0), 0);
    }
    EXPECT_EQ(n, -1);
    EXPECT_EQ(dir, c.path) << "the path buffer is untouched";
    EXPECT_EQ(entries[0], '\x55') << "the entries are untouched";
    EXPECT_EQ(err, "opendir: " + c.reason + "\n");
    EXPECT_TRUE(alerted);
    EXPECT_TRUE(showsAlertText("OPEN DIR ERROR", 48, 100));
  }
  std::string dir = file;
  EXPECT_EQ(list(dir, ""), -1);
  EXPECT_EQ(err, "opendir: Not a directory\n");
  chmod((t / "locked").c_str(), 0700);
}

TEST_F(Listing, LinksLongAndOddNames) {
  Scratch t{"dir"};
  std::string long255(255, 'n'), dirName(255, 'd');
  t.file(long255);
  t.dir(dirName);
  t.dir("real");
  t.file("target.PI1");
  t.link("real", "linkdir");
  t.link(t / "target.PI1", "linkfile.PI1");
  t.link("nowhere", "broken.PI1");
  ASSERT_EQ(mkfifo((t / "fifo.PI1").c_str(), 0644), 0);
  const std::string odd = "bad\xFF\xFE\xC5.PI1";  // not valid UTF-8
  t.file(odd);
  t.file(
      "\x7F"
      "marked.PI1");  // a file, though it begins with the directories' marker
  std::string dir = t.path;
  int32_t n = list(dir, ".PI");
  EXPECT_EQ(names(n), (Names{std::string(254, 'd') + "/", "linkdir/", "real/",
                             "bad\xFF\xFE\xC5.PI1", "linkfile.PI1", "target.PI1",
                             "\x7F"
                             "marked.PI1"}));
  // The long file name is filtered out by ".PI"; unfiltered it keeps all 255 bytes.
  dir = t.path;
  n = list(dir, "");
  Names all = names(n);
  ASSERT_EQ(n, 8);
  EXPECT_EQ(all[5], long255);
  EXPECT_EQ(entries[256 * 5 + 255], 0);
  EXPECT_EQ(entries[255], 0) << "the cut directory name stays terminated";
}
