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

#ifdef __EMSCRIPTEN__
// A page's file system holds no symbolic links (nothing there makes them): a write
// lands on the name it is given.
static std::string landing(const char* path, int&) { return path; }
#else
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
#endif

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

// Writes the n bytes to fd from its current position; 0 or the errno.
static int writeAll(int fd, const uint8_t* data, size_t n) {
  for (size_t done = 0; done < n;) {
    ssize_t w = write(fd, data + done, n - done);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return w < 0 ? errno : EIO;
    done += size_t(w);
  }
  return 0;
}

// The old file's bytes replaced through fd, open on it for writing at its start.
static int writeInPlace(int fd, const uint8_t* data, size_t n) {
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
  // The room first, while the old bytes are whole: a full disk refuses here, not halfway.
  if (n && fallocate(fd, 0, 0, off_t(n)) != 0 && errno != EOPNOTSUPP && errno != ENOSYS)
    return errno;
#endif
  int err = writeAll(fd, data, n);
  if (!err && ftruncate(fd, off_t(n)) != 0) err = errno;
  if (!err && fsync(fd) != 0) err = errno;
  return err;
}

// Makes a new name in dir ("" for the working directory) last through a power cut.
static int syncDirectory(const std::string& dir) {
  int fd = open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A directory the user may enter but not read cannot be opened to be flushed.
  if (fd < 0) return errno == EACCES ? 0 : errno;
  // EINVAL: a file system that has nothing to flush for a directory.
  int err = fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
  close(fd);
  return err;
}

#ifdef __EMSCRIPTEN__
// A page's files have one owner, and the mode every file of the program gets: a
// replacement is made as a new file is, and needs nothing more.
static constexpr mode_t ReplacementMode = 0666;
static bool keepsOwnership(int, const struct stat&) { return true; }
#else
// A replacement stays private until it has the old file's owner and mode.
static constexpr mode_t ReplacementMode = 0600;
// Gives the scratch file tmp the old file's owner, group and mode, as far as the user
// may: root keeps all three, a member of the old group keeps the group. True when all
// three came out the same.
static bool keepsOwnership(int tmp, const struct stat& old) {
  // Owner before mode: a change of owner clears the set-user and set-group bits.
  bool owned = fchown(tmp, old.st_uid, old.st_gid) == 0;
  if (!owned) owned = fchown(tmp, uid_t(-1), old.st_gid) == 0;
  struct stat now;
  return owned && fchmod(tmp, old.st_mode & 07777) == 0 && fstat(tmp, &now) == 0 &&
         now.st_uid == old.st_uid && now.st_gid == old.st_gid &&
         (now.st_mode & 07777) == (old.st_mode & 07777);
}
#endif

int WRITEFILE(const char* path, const uint8_t* data, size_t n, bool replace,
              const volatile sig_atomic_t* stop) {
  int err = 0;
  const std::string target = landing(path, err);
  if (err) return err;
  // As root a rename would replace a device node or a FIFO as readily as a file, and
  // opening one may set a device going: only a regular file is opened.
  struct stat old;
  bool exists = lstat(target.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) return S_ISDIR(old.st_mode) ? EISDIR : ENOTSUP;
  if (exists && !replace) return EEXIST;
  // The old file is opened for writing, as a write in place would open it: that decides
  // whether the user may replace it (a read-only file, another user's, a busy program).
  int oldFd = -1;
  if (exists) {
    oldFd = open(target.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (oldFd < 0) return errno;
    if (fstat(oldFd, &old) != 0 || !S_ISREG(old.st_mode)) {
      close(oldFd);
      return ENOTSUP;
    }
  }
  if (stop && *stop) {
    if (oldFd >= 0) close(oldFd);
    return ECANCELED;
  }

  // Beside the target, so the rename stays within one file system. A new file is made
  // with the umask's mode at once; a replacement stays private until it has the old
  // file's owner and mode. Where it cannot have them (another user's file in a shared
  // directory, a group the user is not in), or no new file can be made beside it (a
  // directory the user may not write), the old file is written in place instead.
  const std::string dir = target.substr(0, target.rfind('/') + 1);
  std::string tmp;
  int fd = scratch(dir, exists ? ReplacementMode : 0666, tmp);
  if (fd < 0 && (!exists || (errno != EACCES && errno != EPERM))) {
    err = errno;
    if (oldFd >= 0) close(oldFd);
    return err;
  }
  if (fd >= 0 && exists && !keepsOwnership(fd, old)) {
    close(fd);
    unlink(tmp.c_str());
    fd = -1;
  }
  if (fd < 0) {
    err = writeInPlace(oldFd, data, n);
    close(oldFd);
    return err;
  }
  if (oldFd >= 0) close(oldFd);

  err = writeAll(fd, data, n);
  if (!err && fsync(fd) != 0) err = errno;
  if (close(fd) != 0 && !err) err = errno;
  if (!err && stop && *stop) err = ECANCELED;
  if (!err) {
    if (replace && rename(tmp.c_str(), target.c_str()) != 0) err = errno;
    if (!replace) err = putNew(tmp.c_str(), target.c_str());
  }
  if (err) {
    unlink(tmp.c_str());
    return err;
  }
  return syncDirectory(dir);
}

// Whether st is a regular file; errno tells what it is when not.
static bool regular(const struct stat& st) {
  if (S_ISREG(st.st_mode)) return true;
  errno = S_ISDIR(st.st_mode) ? EISDIR : ENOTSUP;
  return false;
}

int OPENFILE(const char* path) {
  // Asked before opening, since opening a device may set it going, and again of what
  // was opened, in case the name changed in between. Not blocking, so a FIFO that
  // slipped in is not waited on; a regular file reads the same either way.
  struct stat st;
  if (stat(path, &st) != 0 || !regular(st)) return -1;
  int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  if (fstat(fd, &st) != 0 || !regular(st)) {
    int err = errno;
    close(fd);
    errno = err;
    return -1;
  }
  return fd;
}
