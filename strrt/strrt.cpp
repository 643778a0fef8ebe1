#include "strrt/strrt.h"

#include <fcntl.h>
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
  // Written beside the target and renamed over it once complete, so a failed write
  // never leaves half a file where a good one was.
  std::string tmp = std::string(path) + ".XXXXXX";
  int err = 0;
  auto check = [&err](bool ok) {
    if (!ok && !err) err = errno ? errno : EIO;
  };
  int fd = mkstemp(&tmp[0]);
  check(fd >= 0);
  BASFILE = fd >= 0 ? fdopen(fd, "wb") : nullptr;
  if (fd >= 0) check(BASFILE != nullptr);
  if (BASFILE) {
    if (!data.empty()) check(fwrite(data.data(), 1, data.size(), BASFILE) == data.size());
    check(fflush(BASFILE) == 0);
    check(fsync(fileno(BASFILE)) == 0);
    check(fclose(BASFILE) == 0);
    BASFILE = nullptr;
    // mkstemp makes the file private; give it the mode of any new file.
    mode_t mask = umask(0);
    umask(mask);
    if (!err) check(chmod(tmp.c_str(), 0666 & ~mask) == 0);
    if (!err) check(rename(tmp.c_str(), path) == 0);
  } else if (fd >= 0) {
    close(fd);
  }
  if (err) {
    printf("WritePakFile: cannot write %s: %s\n", path, strerror(err));
    if (fd >= 0) unlink(tmp.c_str());
  }
}
