#include "strrt/strrt.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
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
