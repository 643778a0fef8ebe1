#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <limits.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "convert/convert.h"
#include "platform/bmp_core.h"
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

bool MemoryBudget::take(uint64_t n) {
  if (n > total_) return false;
  std::unique_lock<std::mutex> hold(lock_);
  // A signal cannot wake the wait: it is looked for every tenth of a second.
  while (used_ + n > total_) {
    if (Stopping()) return false;
    freed_.wait_for(hold, std::chrono::milliseconds(100));
  }
  used_ += n;
  return true;
}

void MemoryBudget::give(uint64_t n) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    used_ -= n;
  }
  freed_.notify_all();
}

uint64_t MachineMemoryBudget() {
  uint64_t memory = uint64_t(sysconf(_SC_PHYS_PAGES)) * uint64_t(sysconf(_SC_PAGESIZE));
  // A control group's limit ("max" when there is none).
  if (FILE* f = fopen("/sys/fs/cgroup/memory.max", "r")) {
    unsigned long long limit;
    if (fscanf(f, "%llu", &limit) == 1 && limit < memory) memory = limit;
    fclose(f);
  }
  return memory / 2;
}

uint64_t MemoryNeed(const uint8_t* head, size_t n, uint64_t size) {
  uint64_t w = 0, h = 0;
  if (!PngHeaderSize(head, n, w, h) && !BmpHeaderSize(head, n, w, h)) {
    w = h = 0;
  }
  // A picture over the budget of pixels is refused from its header, before it takes more.
  uint64_t pixels = PictureFits(w, h) ? w * h : 0;
  return size + NeedPerPixel * std::max<uint64_t>(pixels, uint64_t(PicW) * PicH);
}

Input::~Input() {
  if (fd >= 0) close(fd);
}

std::string OpenInput(const std::string& path, Input& in) {
  in.fd = OPENFILE(path.c_str());
  if (in.fd < 0)
    return errno == EISDIR    ? "is a directory"
           : errno == ENOTSUP ? "not a regular file"
                              : strerror(errno);
  struct stat st;
  if (fstat(in.fd, &st) != 0) return strerror(errno);
  in.size = uint64_t(st.st_size);
  if (in.size > StMaxInputBytes) return "larger than 256 MiB";
  return "";
}

size_t PeekInput(const Input& in, uint8_t* to, size_t n) {
  size_t got = 0;
  while (got < n) {
    ssize_t r = pread(in.fd, to + got, n - got, off_t(got));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    got += size_t(r);
  }
  return got;
}

std::string ReadInput(Input& in, std::vector<uint8_t>& bytes) {
  // One byte more than the length at opening tells a file that grew since.
  std::vector<uint8_t> buf(size_t(in.size) + 1);
  size_t n = 0;
  while (n < buf.size()) {
    ssize_t got = read(in.fd, &buf[n], buf.size() - n);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return strerror(errno);
    if (got == 0) break;
    n += size_t(got);
  }
  if (n > in.size) return "changed while it was read";
  buf.resize(n);
  bytes = std::move(buf);
  return "";
}

std::string ReadInput(const std::string& path, std::vector<uint8_t>& bytes) {
  Input in;
  std::string why = OpenInput(path, in);
  return why.empty() ? ReadInput(in, bytes) : why;
}

bool Exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

std::string ResolvedOutput(const std::string& path) {
  std::string p = path;
  // A link is followed to where the write lands, as WRITEFILE follows it.
  char target[PATH_MAX];
  for (int hops = 0; hops < 40; hops++) {
    ssize_t len = readlink(p.c_str(), target, sizeof target - 1);
    if (len <= 0) break;
    std::string next(target, size_t(len));
    size_t slash = p.rfind('/');
    p = next[0] == '/' || slash == std::string::npos ? next : p.substr(0, slash + 1) + next;
  }
  size_t slash = p.rfind('/');
  std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : p.substr(0, slash);
  char* real = realpath(dir.c_str(), nullptr);
  if (!real) return p;
  std::string resolved = std::string(real) + "/" + p.substr(slash + 1);
  free(real);
  return resolved;
}

std::string WriteAtomic(const std::string& path, const std::vector<uint8_t>& bytes, bool replace) {
  int err = WRITEFILE(path.c_str(), bytes.data(), bytes.size(), replace, &stopSignal);
  if (err == ECANCELED) return Interrupted;
  if (err == EEXIST && !replace) return path + " exists (--force replaces it)";
  if (err) return "cannot write " + path + ": " + strerror(err);
  return "";
}
