#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdio.h>

#include <cstring>

#include "convert/convert.h"
#include "strrt/file_core.h"

// The signal that asked the run to stop, 0 until one came. Each worker sees it at its
// next file or before it puts a written file into place, and removes its own
// temporary file; a second signal ends the process at once.
static volatile sig_atomic_t stopSignal = 0;

static void onSignal(int sig) {
  if (stopSignal) {
    signal(sig, SIG_DFL);
    raise(sig);
  }
  stopSignal = sig;
}

void CatchSignals() {
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
  int err = WRITEFILE(path.c_str(), bytes.data(), bytes.size(), replace, &stopSignal);
  if (err == ECANCELED) return Interrupted;
  if (err == EEXIST && !replace) return path + " exists (--force replaces it)";
  if (err) return "cannot write " + path + ": " + strerror(err);
  return "";
}
