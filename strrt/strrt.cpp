#include "strrt/strrt.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

FILE* BASFILE = nullptr;

int32_t SIZEFILE(FILE* f) {
  long at = ftell(f);
  fseek(f, 0, SEEK_END);
  long size = ftell(f);
  fseek(f, at, SEEK_SET);
  return (int32_t)size;
}

void READPAKFILE(const char* path, uint8_t* dst, size_t size) {
  BASFILE = fopen(path, "rb");
  if (!BASFILE) {
    printf("ReadPakFile: cannot open %s: %s\n", path, strerror(errno));
    return;
  }
  std::vector<uint8_t> data;
  int32_t n = SIZEFILE(BASFILE);
  if (n > 0) {
    data.resize((size_t)n);
    data.resize(fread(data.data(), 1, data.size(), BASFILE));
  }
  fclose(BASFILE);
  BASFILE = nullptr;
  bool overrun;
  PakDecode(data.data(), data.size(), dst, size, overrun);
  if (overrun) printf("ReadPakFile: %s holds more than %zu bytes\n", path, size);
}

void WRITEPAKFILE(const char* path, const uint8_t* src, uint32_t n) {
  std::vector<uint8_t> data;
  PakEncode(src, n, data);
  if (int err = WRITEFILE(path, data.data(), data.size()))
    printf("WritePakFile: cannot write %s: %s\n", path, strerror(err));
}

// Where a write to path lands: path itself, or the name its chain of symbolic links
// ends at (which need not exist yet). Empty, with err set, for a loop or a bad link.
static std::string landing(const char* path, int& err) {
  std::string p = path;
  for (int hops = 0; hops < 40; hops++) {
    struct stat st;
    if (lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
    std::vector<char> to(PATH_MAX);
    ssize_t len = readlink(p.c_str(), to.data(), to.size());
    if (len <= 0 || size_t(len) >= to.size()) {
      err = len < 0 ? errno : ENAMETOOLONG;
      return "";
    }
    std::string next(to.data(), size_t(len));
    // A relative link is read from the directory that holds it.
    if (next[0] != '/') next = p.substr(0, p.rfind('/') + 1) + next;
    p = next;
  }
  err = ELOOP;
  return "";
}

int WRITEFILE(const char* path, const uint8_t* data, size_t n) {
  int err = 0;
  std::string target = landing(path, err);
  if (err) return err;
  struct stat old;
  bool exists = lstat(target.c_str(), &old) == 0;
  // As root a rename would replace a device node or a FIFO as readily as a file.
  if (exists && !S_ISREG(old.st_mode)) return S_ISDIR(old.st_mode) ? EISDIR : ENOTSUP;

  // Beside the target, so the rename stays within one file system.
  std::string tmp = target.substr(0, target.rfind('/') + 1) + ".tarksen-XXXXXX";
  int fd = mkstemp(&tmp[0]);
  if (fd < 0) return errno;
  auto check = [&err](bool ok) {
    if (!ok && !err) err = errno ? errno : EIO;
  };
  for (size_t done = 0; done < n && !err;) {
    errno = 0;
    ssize_t w = write(fd, data + done, n - done);
    if (w < 0 && errno == EINTR) continue;
    check(w > 0);
    if (w > 0) done += size_t(w);
  }
  if (!err) check(fsync(fd) == 0);
  // mkstemp makes the file private: give it the old file's mode, or a new file's.
  mode_t mask = umask(0);
  umask(mask);
  if (!err) check(fchmod(fd, exists ? old.st_mode & 07777 : 0666 & ~mask) == 0);
  // Root keeps the old owner; an ordinary user cannot give a file away and owns the copy.
  if (!err && exists && fchown(fd, old.st_uid, old.st_gid) != 0) errno = 0;
  check(close(fd) == 0);
  if (!err) check(rename(tmp.c_str(), target.c_str()) == 0);
  if (err) unlink(tmp.c_str());
  return err;
}
