#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdio.h>

#include <cstring>

#include "convert/convert.h"

// The signal that asked the run to stop, 0 until one came. Each worker sees it at its
// next file or before it puts a written file into place, and removes its own
// temporary file; a second signal ends the process at once.
static volatile sig_atomic_t stopSignal = 0;
static mode_t fileMode = 0644;

static void onSignal(int sig) {
  if (stopSignal) {
    signal(sig, SIG_DFL);
    raise(sig);
  }
  stopSignal = sig;
}

void CatchSignals() {
  mode_t mask = umask(0);
  umask(mask);
  fileMode = 0666 & ~mask;
  struct sigaction sa;
  memset(&sa, 0, sizeof sa);
  sa.sa_handler = onSignal;
  sa.sa_flags = SA_RESTART;
  sigemptyset(&sa.sa_mask);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &sa, nullptr);
}

bool Stopping() { return stopSignal != 0; }

void DieOfSignal() {
  int sig = stopSignal;
  if (!sig) return;
  signal(sig, SIG_DFL);
  raise(sig);
}

static std::string failed(const char* what, const std::string& path) {
  return std::string(what) + " " + path + ": " + strerror(errno);
}

std::string ReadInput(const std::string& path, std::vector<uint8_t>& bytes) {
  // Not blocking: a FIFO given by mistake is refused below instead of waited on.
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return strerror(errno);
  struct stat st;
  std::string why;
  if (fstat(fd, &st) != 0) why = strerror(errno);
  else if (S_ISDIR(st.st_mode)) why = "is a directory";
  else if (!S_ISREG(st.st_mode)) why = "not a regular file";
  if (!why.empty()) {
    close(fd);
    return why;
  }
  if (uint64_t(st.st_size) > StMaxInputBytes) {
    close(fd);
    return "larger than 256 MiB";
  }
  // The size may change while we read: read to the end, but never past the limit.
  std::vector<uint8_t> buf(size_t(st.st_size) + 1);
  size_t n = 0;
  for (;;) {
    if (n == buf.size()) {
      if (buf.size() > StMaxInputBytes) {
        close(fd);
        return "larger than 256 MiB";
      }
      buf.resize(buf.size() * 2);
    }
    ssize_t got = read(fd, &buf[n], buf.size() - n);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      why = strerror(errno);
      close(fd);
      return why;
    }
    if (got == 0) break;
    n += size_t(got);
  }
  close(fd);
  buf.resize(n);
  bytes = std::move(buf);
  return "";
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncDirectory(const std::string& dir) {
  int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
}

std::string WriteAtomic(const std::string& path, const std::vector<uint8_t>& bytes,
                        bool replace) {
  if (stopSignal) return Interrupted;
  std::string dir = DirectoryOf(path);
  size_t slash = path.rfind('/');
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string temp = dir + "/." + base + ".XXXXXX";
  std::vector<char> nameBuf(temp.begin(), temp.end());
  nameBuf.push_back(0);
  char* name = nameBuf.data();
  int fd = mkstemp(name);
  if (fd < 0) return failed("cannot write", path);
  std::string why;
  size_t done = 0;
  while (done < bytes.size() && why.empty()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) why = failed("cannot write", path);
    else done += size_t(n);
  }
  if (why.empty() && (fchmod(fd, fileMode) != 0 || fsync(fd) != 0))
    why = failed("cannot write", path);
  if (close(fd) != 0 && why.empty()) why = failed("cannot write", path);
  if (why.empty() && stopSignal) why = Interrupted;
  bool moved = false;  // the temporary name is gone
  if (why.empty()) {
    if (replace) {
      moved = rename(name, path.c_str()) == 0;
      if (!moved) why = failed("cannot write", path);
    } else if (renameat2(AT_FDCWD, name, AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
      moved = true;
    } else if (errno == EEXIST) {
      why = path + " exists (--force replaces it)";
    } else if (errno != EINVAL && errno != ENOSYS) {
      why = failed("cannot write", path);
    } else if (link(name, path.c_str()) != 0) {
      // A file system that cannot refuse to replace in one step: a hard link can.
      why = errno == EEXIST ? path + " exists (--force replaces it)" : failed("cannot write", path);
    }
  }
  if (!moved) unlink(name);
  return why;
}
