#include "strrt/file_core.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

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

// Creates a scratch file "<dir>.tarksen-XXXXXX" with a name not yet taken, open for
// writing, with the given mode (the umask applies); -1 with errno set on failure.
// mkstemp would do, but its files are private, and finding the umask to widen them
// means setting it, which races with other threads' files.
static int scratch(const std::string& dir, mode_t mode, std::string& name) {
  static std::atomic<uint64_t> count{0};
  static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  for (int tries = 0; tries < 100; tries++) {
    timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    // splitmix64 of the time, the process and a count: names differ between threads
    // and processes, and a taken one is simply tried again.
    uint64_t z = uint64_t(t.tv_nsec) ^ uint64_t(t.tv_sec) << 30 ^ uint64_t(getpid()) << 40 ^
                 (count++ * 0x9E3779B97F4A7C15u);
    z = (z ^ z >> 30) * 0xBF58476D1CE4E5B9u;
    z = (z ^ z >> 27) * 0x94D049BB133111EBu;
    z ^= z >> 31;
    name = dir + ".tarksen-";
    for (int i = 0; i < 6; i++, z /= 62) name += letters[z % 62];
    int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Puts tmp in place as target without replacing a file there: EEXIST then.
static int putNew(const char* tmp, const char* target) {
#ifdef RENAME_NOREPLACE
  if (renameat2(AT_FDCWD, tmp, AT_FDCWD, target, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
#endif
  // A file system that cannot refuse to replace in a rename: a hard link can.
  if (link(tmp, target) != 0) return errno;
  unlink(tmp);
  return 0;
}

int WRITEFILE(const char* path, const uint8_t* data, size_t n, bool replace,
              const volatile sig_atomic_t* stop) {
  int err = 0;
  std::string target = landing(path, err);
  if (err) return err;
  struct stat old;
  bool exists = lstat(target.c_str(), &old) == 0;
  // As root a rename would replace a device node or a FIFO as readily as a file.
  if (exists && !S_ISREG(old.st_mode)) return S_ISDIR(old.st_mode) ? EISDIR : ENOTSUP;
  if (exists && !replace) return EEXIST;
  if (stop && *stop) return ECANCELED;

  // Beside the target, so the rename stays within one file system. A new file is made
  // with the umask's mode at once; a replacement stays private until it has the old
  // file's mode.
  std::string tmp;
  int fd = scratch(target.substr(0, target.rfind('/') + 1), exists ? 0600 : 0666, tmp);
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
  if (!err && exists) check(fchmod(fd, old.st_mode & 07777) == 0);
  // Root keeps the old owner; an ordinary user cannot give a file away and owns the copy.
  if (!err && exists && fchown(fd, old.st_uid, old.st_gid) != 0) errno = 0;
  check(close(fd) == 0);
  if (!err && stop && *stop) err = ECANCELED;
  if (!err) {
    if (replace) check(rename(tmp.c_str(), target.c_str()) == 0);
    else err = putNew(tmp.c_str(), target.c_str());
  }
  if (err) unlink(tmp.c_str());
  return err;
}
