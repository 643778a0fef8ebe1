#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "strrt/strrt.h"
#include "tests/support/mounts.h"
#include "tests/support/scratch.h"
#include "tests/support/users.h"

// Runs f with standard output captured and returns what it printed.
template <class F>
static std::string printed(F f) {
  testing::internal::CaptureStdout();
  f();
  fflush(stdout);
  return testing::internal::GetCapturedStdout();
}

// A string buffer holding n bytes of c with its length byte.
static void fillBuffer(char (&b)[256], size_t n, char c) {
  memset(b, 0, sizeof b);
  memset(b, c, n);
  b[255] = (char)n;
}

static uint8_t lengthByte(const char* buffer) { return (uint8_t)buffer[255]; }

TEST(Str, FormatsWithSixteenDigits) {
  struct {
    double v;
    const char* want;
  } cases[] = {{2, "2"},        {0.1, "0.1"},
               {1e20, "1E+20"}, {1.0 / 3, "0.3333333333333333"},
               {-2.5, "-2.5"},  {0, "0"},
               {1e-5, "1E-05"}, {123456789012345678.0, "1.234567890123457E+17"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.want);
    EXPECT_STREQ(Str$(c.v), c.want);
    EXPECT_EQ(lengthByte(STRING$), strlen(c.want));
  }
}

TEST(AddStr, AppendsWithinTheLimit) {
  struct {
    size_t l1, l2, appended;
    const char* message;
  } cases[] = {{200, 10, 10, ""},
               {250, 10, 4, "Add$: too long text\n"},
               {244, 10, 10, ""},
               {0, 254, 254, ""},
               {254, 1, 0, "Add$: too long text\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.l1) + " + " + std::to_string(c.l2));
    char a[256], b[256];
    fillBuffer(a, c.l1, 'a');
    fillBuffer(b, c.l2, 'b');
    EXPECT_EQ(printed([&] { ADD$(a, b); }), c.message);
    EXPECT_EQ(lengthByte(a), c.l1 + c.appended);
    EXPECT_EQ(std::string(a), std::string(c.l1, 'a') + std::string(c.appended, 'b'));
  }
}

TEST(CatStr, JoinsIntoTheStringBuffer) {
  std::string t250(250, 'x'), t10(10, 'y');
  std::string out = printed([&] { Cat$(t250.c_str(), t10.c_str()); });
  EXPECT_EQ(out, "Cat$: too long text\n");
  EXPECT_EQ(std::string(STRING$), t250 + "yyyy");
  EXPECT_EQ(lengthByte(STRING$), 254);

  EXPECT_EQ(printed([] { Cat$("ab", "cd"); }), "");
  EXPECT_STREQ(STRING$, "abcd");
  EXPECT_EQ(lengthByte(STRING$), 4);

  // The first text may be the buffer itself.
  Mk$("Ład");
  EXPECT_STREQ(Cat$(STRING$, "uj"), "Ładuj");
  EXPECT_EQ(lengthByte(STRING$), 6);
}

TEST(ChrStr, IsAOneByteTextAtTheBufferEnd) {
  char* c = Chr$('Q');
  EXPECT_EQ(c, STRING$ + 253);
  EXPECT_STREQ(c, "Q");
  EXPECT_EQ(lengthByte(STRING$), 1);
  EXPECT_STREQ(Chr$(0), "");
  EXPECT_EQ(lengthByte(STRING$), 0);

  // Cat$ of a 252-byte text and Chr$ appends the one character.
  std::string t252(252, 't');
  EXPECT_EQ(printed([&] { Cat$(t252.c_str(), Chr$('z')); }), "");
  EXPECT_EQ(std::string(STRING$), t252 + "z");
  EXPECT_EQ(lengthByte(STRING$), 253);
  // Even a 253-byte first text keeps the character, which lies where the text goes.
  std::string t253(253, 't');
  Cat$(t253.c_str(), Chr$('z'));
  EXPECT_EQ(std::string(STRING$), t253 + "z");
}

TEST(MidStr, CopiesARangeAndWarnsPastTheEnd) {
  struct {
    const char* name;
    uint32_t start, count;
    std::string want;
    const char* message;
    // clang-format off
  } cases[] = {
      {"last two bytes", 3, 2, "de", ""},
      {"one past the end: the terminator comes along", 3, 3, std::string("de\0", 3),
       "Mid$: range exceeded\n"},
      {"start at the end", 5, 0, "", "Mid$: range exceeded\n"},
      {"whole text", 0, 5, "abcde", ""},
  };
  // clang-format on
  static const char text[16] = "abcde";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(printed([&] { Mid$(text, c.start, c.count); }), c.message);
    EXPECT_EQ(std::string(STRING$, c.count), c.want);
    EXPECT_EQ(STRING$[c.count], 0);
    EXPECT_EQ(lengthByte(STRING$), c.count);
  }
}

TEST(LetMidStr, CopiesBetweenStringBuffers) {
  char src[256], dst[256];
  fillBuffer(src, 0, 0);
  strcpy(src, "abcde");
  src[255] = 5;
  fillBuffer(dst, 20, 'q');
  EXPECT_EQ(printed([&] { LETMID$(dst, src, 1, 3); }), "");
  EXPECT_STREQ(dst, "bcd");
  EXPECT_EQ(lengthByte(dst), 3);
  EXPECT_EQ(printed([&] { LETMID$(dst, src, 4, 2); }), "LetMid$: range exceeded\n");
  EXPECT_EQ(std::string(dst, 2), std::string("e\0", 2));
  EXPECT_EQ(lengthByte(dst), 2);
  // A start past the source's 256 bytes copies zeros, not memory beyond it.
  EXPECT_EQ(printed([&] { LETMID$(dst, src, 300, 4); }), "LetMid$: range exceeded\n");
  EXPECT_EQ(std::string(dst, 5), std::string(5, '\0'));
}

TEST(MkStr, CopiesAndClearsTheRest) {
  memset(STRING$, 'z', sizeof STRING$);
  Mk$("Ładuj.BMP");
  EXPECT_STREQ(STRING$, "Ładuj.BMP");
  EXPECT_EQ(lengthByte(STRING$), 10);
  for (int i = 10; i < 255; i++) EXPECT_EQ(STRING$[i], 0) << i;
}

TEST(CaseChange, TouchesOnlyAsciiLetters) {
  char a[] = "Ładuj.BMP", b[] = "Ładuj.bmp ż[]@`{";
  LowerCase(a);
  EXPECT_STREQ(a, "Ładuj.bmp");
  UpperCase(b);
  EXPECT_STREQ(b, "ŁADUJ.BMP ż[]@`{");
}

TEST(RoundFC, RoundsWithThresholds) {
  struct {
    double v;
    float up, down;
    int32_t want;
  } cases[] = {{2.6, 0.5f, 0.5f, 3},
               {2.5, 0.5f, 0.5f, 2},
               {-2.6, 0.5f, 0.5f, -3},
               {-2.5, 0.5f, 0.5f, -2},
               {2.1, 0, 0, 3},
               {2.0, 0, 0, 2},
               {-2.1, 0, 0, -3},
               {1e12, 0.5f, 0.5f, INT32_MAX},
               {-1e12, 0.5f, 0.5f, INT32_MIN}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.v);
    EXPECT_EQ(ROUNDFC(c.v, c.up, c.down), c.want);
  }
}

// Bytes and their packed form, which is also what a packed file of them holds.
static const struct {
  const char* name;
  std::vector<uint8_t> bytes, packed;
  // clang-format off
} pakCases[] = {
    {"7 7 7 9", {7, 7, 7, 9}, {0x07, 0x02, 0x09, 0x00}},
    {"300 zeros", std::vector<uint8_t>(300, 0), {0x00, 0xFF, 0x00, 0x2B}},
    {"exactly 256", std::vector<uint8_t>(256, 5), {0x05, 0xFF}},
    {"257", std::vector<uint8_t>(257, 5), {0x05, 0xFF, 0x05, 0x00}},
    {"no runs", {1, 2, 1}, {1, 0, 2, 0, 1, 0}},
    {"one byte", {0xAB}, {0xAB, 0}},
    {"nothing", {}, {}},
};
// clang-format on

TEST(PakCoding, EncodesRunsInPairsOfAtMost256) {
  for (const auto& c : pakCases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> packed;
    PakEncode(c.bytes.data(), c.bytes.size(), packed);
    EXPECT_EQ(packed, c.packed);
    std::vector<uint8_t> back(c.bytes.size() + 8, 0xEE);
    bool overrun;
    EXPECT_EQ(PakDecode(packed.data(), packed.size(), back.data(), c.bytes.size(), overrun),
              c.bytes.size());
    EXPECT_FALSE(overrun);
    EXPECT_EQ(std::vector<uint8_t>(back.begin(), back.begin() + c.bytes.size()), c.bytes);
    EXPECT_EQ(back[c.bytes.size()], 0xEE);
  }
}

TEST(PakCoding, DecodingStopsAtTheArraySize) {
  const uint8_t data[] = {1, 3, 2, 255, 9};  // 4 ones, 256 twos, a lone byte
  uint8_t out[12];
  memset(out, 0xEE, sizeof out);
  bool overrun;
  EXPECT_EQ(PakDecode(data, sizeof data, out, 10, overrun), 10u);
  EXPECT_TRUE(overrun);
  const uint8_t want[12] = {1, 1, 1, 1, 2, 2, 2, 2, 2, 2, 0xEE, 0xEE};
  EXPECT_EQ(memcmp(out, want, sizeof out), 0);
  // The lone last byte is ignored.
  std::vector<uint8_t> room(1000);
  EXPECT_EQ(PakDecode(data, sizeof data, room.data(), room.size(), overrun), 260u);
  EXPECT_FALSE(overrun);
}

class PakFiles : public testing::Test {
 protected:
  void writeBytes(const std::string& path, const std::vector<uint8_t>& b) {
    ASSERT_TRUE(WriteBytes(path, b)) << path;
  }
  // The names in d (the test's directory if empty), one a line.
  std::string listing(const std::string& d = "") { return Listing(d.empty() ? dir : d); }
  Scratch scratch{"pak"};
  const std::string& dir = scratch.path;
};

TEST_F(PakFiles, RoundTrips) {
  for (const auto& c : pakCases) {
    SCOPED_TRACE(c.name);
    std::string path = dir + "/a.pak";
    EXPECT_EQ(printed([&] { WRITEPAKFILE(path.c_str(), c.bytes.data(), c.bytes.size()); }), "");
    EXPECT_EQ(ReadBytes(path), c.packed);
    EXPECT_EQ(listing(), "a.pak\n");  // no scratch file left beside it
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_NE(st.st_mode & 0044, 0u) << "readable like any new file";
    std::vector<uint8_t> back(c.bytes.size(), 0xEE);
    EXPECT_EQ(printed([&] { READPAKFILE(path.c_str(), back.data(), back.size()); }), "");
    EXPECT_EQ(back, c.bytes);
    EXPECT_EQ(BASFILE, nullptr);
  }
}

TEST_F(PakFiles, AFileThatUnpacksPastTheArrayIsCutAndReported) {
  std::string path = dir + "/big.pak";
  writeBytes(path, {0x41, 0xFF, 0x42, 0xFF});  // 512 bytes unpacked
  std::vector<uint8_t> arr(300 + 16, 0xEE);
  std::string out = printed([&] { READPAKFILE(path.c_str(), arr.data(), 300); });
  EXPECT_EQ(out, "ReadPakFile: " + path + " holds more than 300 bytes\n");
  for (int i = 0; i < 256; i++) ASSERT_EQ(arr[i], 0x41) << i;
  for (int i = 256; i < 300; i++) ASSERT_EQ(arr[i], 0x42) << i;
  for (int i = 300; i < 316; i++) ASSERT_EQ(arr[i], 0xEE) << "written past the array at " << i;
}

TEST_F(PakFiles, FailuresAreToldInOneLine) {
  std::vector<uint8_t> arr(4, 0xEE);
  std::string missing = dir + "/none.pak";
  EXPECT_EQ(printed([&] { READPAKFILE(missing.c_str(), arr.data(), arr.size()); }),
            "ReadPakFile: cannot open " + missing + ": No such file or directory\n");
  EXPECT_EQ(arr, std::vector<uint8_t>(4, 0xEE));

  // Writing into a directory that does not exist creates nothing.
  std::string bad = dir + "/no/such/dir.pak";
  const uint8_t bytes[] = {1, 2};
  EXPECT_EQ(printed([&] { WRITEPAKFILE(bad.c_str(), bytes, 2); }),
            "WritePakFile: cannot write " + bad + ": No such file or directory\n");
  // A directory in the way of the target: the old entry stays, no scratch file is left.
  std::string sub = dir + "/sub";
  ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);
  EXPECT_EQ(printed([&] { WRITEPAKFILE(sub.c_str(), bytes, 2); }),
            "WritePakFile: cannot write " + sub + ": Is a directory\n");
  EXPECT_EQ(listing(), "sub\n");
  EXPECT_EQ(BASFILE, nullptr);
}

TEST_F(PakFiles, SizeFileKeepsThePosition) {
  std::string path = dir + "/s";
  writeBytes(path, std::vector<uint8_t>(1234, 1));
  FILE* f = fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  fseek(f, 100, SEEK_SET);
  EXPECT_EQ(SIZEFILE(f), 1234);
  EXPECT_EQ(ftell(f), 100);
  fclose(f);
}

// WRITEFILE, which every save of the program goes through.
class WholeFiles : public PakFiles {
 protected:
  void TearDown() override { Unmount(dir + "/m"); }
  // A tmpfs of kib KiB at dir/m holding the file old with the bytes given, read-only
  // when asked; skips the test where mounting is not allowed.
  std::string mountWithOld(int kib, bool readOnly, const std::vector<uint8_t>& old) {
    std::string m = dir + "/m";
    mkdir(m.c_str(), 0755);
    std::string why = MountTmpfs(m, kib);
    if (!why.empty()) return why;
    writeBytes(m + "/old", old);
    return readOnly ? MountTmpfs(m, kib, true) : "";
  }
};

TEST_F(WholeFiles, ReplacesKeepingModeAndFollowingLinks) {
  std::string a = dir + "/a", link = dir + "/link", rel = dir + "/rel";
  writeBytes(a, {1, 2, 3});
  ASSERT_EQ(chmod(a.c_str(), 0604), 0);
  ASSERT_EQ(symlink(a.c_str(), link.c_str()), 0);
  ASSERT_EQ(symlink("link", rel.c_str()), 0);  // relative, and a link to a link

  const uint8_t bytes[] = {9, 8};
  EXPECT_EQ(WRITEFILE(rel.c_str(), bytes, 2), 0);
  EXPECT_EQ(ReadBytes(a), std::vector<uint8_t>({9, 8}));
  struct stat st;
  ASSERT_EQ(lstat(rel.c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays a link";
  ASSERT_EQ(lstat(a.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0604u) << "the replaced file keeps its mode";
  EXPECT_EQ(listing(), "a\nlink\nrel\n") << "no scratch file left";

  // A link to a file not there yet creates that file.
  std::string dangling = dir + "/dangling";
  ASSERT_EQ(symlink("made", dangling.c_str()), 0);
  EXPECT_EQ(WRITEFILE(dangling.c_str(), bytes, 0), 0);
  EXPECT_EQ(lstat((dir + "/made").c_str(), &st), 0);
  std::string loop = dir + "/loop";
  ASSERT_EQ(symlink("loop", loop.c_str()), 0);
  EXPECT_EQ(WRITEFILE(loop.c_str(), bytes, 2), ELOOP);
}

TEST_F(WholeFiles, RefusesWhatIsNotARegularFile) {
  std::string fifo = dir + "/fifo", sub = dir + "/sub";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);
  std::string toFull = dir + "/full";
  ASSERT_EQ(symlink("/dev/full", toFull.c_str()), 0);
  const uint8_t bytes[] = {1};
  struct {
    const char* name;
    std::string path;
    int err;
    // clang-format off
  } cases[] = {
      {"a directory", sub, EISDIR},
      {"a FIFO", fifo, ENOTSUP},
      {"a device", "/dev/full", ENOTSUP},
      {"a link to a device", toFull, ENOTSUP},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(WRITEFILE(c.path.c_str(), bytes, 1), c.err);
    EXPECT_EQ(listing(), "fifo\nfull\nsub\n") << "nothing written or renamed";
  }
  struct stat st;
  ASSERT_EQ(stat("/dev/full", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode)) << "the device is still a device";
}

TEST_F(WholeFiles, LeavesAFileThereWhenNotToReplaceAndStopsWhenAsked) {
  const std::vector<uint8_t> old = {7, 7}, bytes = {1, 2, 3};
  std::string file = dir + "/file", link = dir + "/link", fresh = dir + "/fresh";
  mode_t mask = umask(022);
  umask(mask);
  struct {
    const char* name;
    std::string path;
    bool replace;
    sig_atomic_t stop;
    int err;
    std::string changed;  // the file that then holds the new bytes; "" for none
    // clang-format off
  } cases[] = {
      {"a new name, not replacing", fresh, false, 0, 0, fresh},
      {"a file there, not replacing", file, false, 0, EEXIST, ""},
      {"a link to a file, not replacing", link, false, 0, EEXIST, ""},
      {"asked to stop", file, true, 1, ECANCELED, ""},
      {"asked to stop, a new name", fresh, true, 1, ECANCELED, ""},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    unlink(fresh.c_str());
    writeBytes(file, old);
    unlink(link.c_str());
    ASSERT_EQ(symlink("file", link.c_str()), 0);
    EXPECT_EQ(WRITEFILE(c.path.c_str(), bytes.data(), bytes.size(), c.replace, &c.stop), c.err);
    EXPECT_EQ(ReadBytes(file), c.changed == file ? bytes : old);
    if (c.changed == fresh) {
      EXPECT_EQ(ReadBytes(fresh), bytes);
      struct stat st;
      ASSERT_EQ(stat(fresh.c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 07777, 0666 & ~mask) << "a new file's mode, as the umask gives it";
      EXPECT_EQ(listing(), "file\nfresh\nlink\n") << "no scratch file left";
    } else {
      EXPECT_EQ(listing(), "file\nlink\n") << "nothing new, no scratch file left";
    }
  }
}

TEST_F(WholeFiles, AFailedWriteLeavesTheOldFileAndNoScratch) {
  const std::vector<uint8_t> old = {7, 7, 7};
  struct {
    const char* name;
    int kib;
    bool readOnly;
    size_t bytes;
    int err;
    // clang-format off
  } cases[] = {
      {"a read-only file system", 64, true, 10, EROFS},
      {"the disk fills up during the write", 64, false, 200 * 1024, ENOSPC},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string why = mountWithOld(c.kib, c.readOnly, old);
    if (!why.empty()) GTEST_SKIP() << why;
    std::vector<uint8_t> bytes(c.bytes, 0x55);
    std::string m = dir + "/m";
    EXPECT_EQ(WRITEFILE((m + "/old").c_str(), bytes.data(), bytes.size()), c.err);
    EXPECT_EQ(WRITEFILE((m + "/new").c_str(), bytes.data(), bytes.size()), c.err);
    EXPECT_EQ(ReadBytes(m + "/old"), old);
    EXPECT_EQ(listing(m), "old\n");
    Unmount(m);
  }
}

// What a save may write as an ordinary user: exactly the files it could open for writing
// itself, and a file written keeps its owner, group and mode, in place when a new file
// beside it could not keep them. Each row is a directory of its own with one file in it.
TEST_F(WholeFiles, WritesOnlyWhatTheUserMayAndKeepsOwnerGroupAndMode) {
  const uid_t me = OtherUid, someone = 1234;
  const gid_t mine = OtherGid, shared = 4321, notMine = 4322;
  const std::vector<uint8_t> old = {7, 7, 7, 7}, bytes = {1, 2};
  enum Outcome { REFUSED, BESIDE, IN_PLACE };  // BESIDE: a new file renamed over it
  struct {
    const char* name;
    mode_t dirMode;
    uid_t uid;
    gid_t gid;
    mode_t mode;
    bool viaLink;  // the save names a symbolic link to the file
    Outcome outcome;
    // clang-format off
  } rows[] = {
      {"own file", 0755, me, mine, 0640, false, BESIDE},
      {"own file in a group of the user's", 0755, me, shared, 0640, false, BESIDE},
      {"own file in a group the user has left", 0755, me, notMine, 0640, false, IN_PLACE},
      {"own read-only file", 0755, me, mine, 0444, false, REFUSED},
      {"own read-only file through a link", 0755, me, mine, 0444, true, REFUSED},
      {"another user's file in a shared directory", 0777, someone, someone, 0644, false, REFUSED},
      {"another user's file the group may write", 0777, someone, shared, 0660, false, IN_PLACE},
      {"the same through a link", 0777, someone, shared, 0660, true, IN_PLACE},
      {"another user's writable file, sticky directory", 01777, someone, someone, 0666, false,
       IN_PLACE},
      {"writable file in a read-only directory", 0555, me, mine, 0644, false, IN_PLACE},
      {"read-only file in a read-only directory", 0555, me, mine, 0444, false, REFUSED},
  };
  // clang-format on
  ASSERT_EQ(chmod(dir.c_str(), 0755), 0);
  int i = 0;
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    std::string d = dir + "/" + std::to_string(i++), file = d + "/f", link = d + "/link";
    ASSERT_EQ(mkdir(d.c_str(), 0755), 0);
    writeBytes(file, old);
    ASSERT_EQ(chown(file.c_str(), r.uid, r.gid), 0);
    ASSERT_EQ(chmod(file.c_str(), r.mode), 0);
    ASSERT_EQ(symlink("f", link.c_str()), 0);
    // The user's own directories are 0755; the shared and read-only ones are root's.
    ASSERT_EQ(chown(d.c_str(), r.dirMode == 0755 ? me : 0, r.dirMode == 0755 ? mine : 0), 0);
    ASSERT_EQ(chmod(d.c_str(), r.dirMode), 0);
    struct stat before, after;
    ASSERT_EQ(stat(file.c_str(), &before), 0);
    int err;
    {
      AsOtherUser user({shared});
      if (!user.ok) GTEST_SKIP() << "needs root to act as another user";
      err = WRITEFILE((r.viaLink ? link : file).c_str(), bytes.data(), bytes.size());
    }
    EXPECT_EQ(err, r.outcome == REFUSED ? EACCES : 0);
    EXPECT_EQ(ReadBytes(file), r.outcome == REFUSED ? old : bytes);
    ASSERT_EQ(lstat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, r.uid);
    EXPECT_EQ(after.st_gid, r.gid);
    EXPECT_EQ(after.st_mode & 07777, r.mode);
    if (r.outcome != REFUSED) {
      EXPECT_EQ(after.st_ino == before.st_ino, r.outcome == IN_PLACE)
          << (r.outcome == IN_PLACE ? "written in place" : "a new file renamed over it");
    }
    EXPECT_EQ(listing(d), "f\nlink\n") << "no scratch file left";
  }
}

TEST_F(WholeFiles, AFullDiskRefusesAWriteInPlaceBeforeTheOldBytesGo) {
  // The user may write the file but not the directory: the write goes in place.
  const std::vector<uint8_t> old(1000, 7), bytes(64 * 1024, 1);
  std::string why = mountWithOld(32, false, old);
  if (!why.empty()) GTEST_SKIP() << why;
  std::string m = dir + "/m", file = m + "/old";
  ASSERT_EQ(chmod(dir.c_str(), 0755), 0);
  ASSERT_EQ(chown(file.c_str(), OtherUid, OtherGid), 0);
  ASSERT_EQ(chmod(m.c_str(), 0555), 0);
  int err;
  {
    AsOtherUser user;
    if (!user.ok) GTEST_SKIP() << "needs root to act as another user";
    err = WRITEFILE(file.c_str(), bytes.data(), bytes.size());
  }
  EXPECT_EQ(err, ENOSPC);
  EXPECT_EQ(ReadBytes(file), old);
}

// This binary links with fsync wrapped: flushes of directories are counted, and can be
// made to fail as a failing disk would.
static int dirSyncs = 0;
static bool dirSyncFails = false;
extern "C" int __real_fsync(int fd);
extern "C" int __wrap_fsync(int fd) {
  struct stat st;
  if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    dirSyncs++;
    if (dirSyncFails) {
      errno = EIO;
      return -1;
    }
  }
  return __real_fsync(fd);
}

TEST_F(WholeFiles, ANewNameReachesTheDiskWithItsDirectory) {
  const uint8_t bytes[] = {1, 2, 3};
  std::string file = dir + "/f";
  struct {
    const char* name;
    bool exists, replace, fails;
    int err;
    // clang-format off
  } rows[] = {
      {"a new file", false, true, false, 0},
      {"a new file, not replacing", false, false, false, 0},
      {"a file replaced", true, true, false, 0},
      {"the directory cannot be flushed", true, true, true, EIO},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    unlink(file.c_str());
    if (r.exists) writeBytes(file, {9});
    dirSyncs = 0;
    dirSyncFails = r.fails;
    EXPECT_EQ(WRITEFILE(file.c_str(), bytes, sizeof bytes, r.replace), r.err);
    dirSyncFails = false;
    EXPECT_EQ(dirSyncs, 1);
    EXPECT_EQ(ReadBytes(file), std::vector<uint8_t>(bytes, bytes + 3))
        << "in place, if not yet on the disk";
  }
}

TEST_F(PakFiles, OpenFileOpensOnlyARegularFileAndNeverWaits) {
  std::string file = dir + "/f", fifo = dir + "/fifo", locked = dir + "/locked";
  writeBytes(file, {1, 2, 3});
  writeBytes(locked, {4});
  ASSERT_EQ(chmod(locked.c_str(), 0600), 0);
  ASSERT_EQ(chmod(dir.c_str(), 0755), 0);
  ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
  ASSERT_EQ(symlink("f", (dir + "/toFile").c_str()), 0);
  ASSERT_EQ(symlink("fifo", (dir + "/toFifo").c_str()), 0);
  struct {
    const char* name;
    std::string path;
    int err;  // 0: opened
    bool asOther = false;
    // clang-format off
  } rows[] = {
      {"a regular file", file, 0},
      {"a link to one", dir + "/toFile", 0},
      {"a directory", dir, EISDIR},
      {"a FIFO with no writer", fifo, ENOTSUP},
      {"a link to a FIFO", dir + "/toFifo", ENOTSUP},
      {"a device", "/dev/zero", ENOTSUP},
      {"nothing there", dir + "/none", ENOENT},
      {"a file the user may not read", locked, EACCES, true},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    int fd, err;
    {
      std::optional<AsOtherUser> user;
      if (r.asOther && !user.emplace().ok) GTEST_SKIP() << "needs root to act as another user";
      errno = 0;
      fd = OPENFILE(r.path.c_str());
      err = errno;
    }
    if (r.err) {
      EXPECT_EQ(fd, -1);
      EXPECT_EQ(err, r.err);
      continue;
    }
    ASSERT_GE(fd, 0);
    uint8_t b[4];
    EXPECT_EQ(read(fd, b, sizeof b), 3);
    EXPECT_NE(fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
    close(fd);
  }
}
