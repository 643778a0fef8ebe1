#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "filesel/filesel.h"
#include "platform/platform.h"

// What an entry is: 'd' a directory, 'f' a regular file, 0 anything else. Where the
// file system gives no type, and for a symbolic link, the file system is asked about
// what the name leads to, so a link to a directory can be entered like one.
static char kindOf(DIR* d, const dirent* e) {
  unsigned char t = e->d_type;
  if (t == DT_UNKNOWN || t == DT_LNK) {
    struct stat st;
    if (fstatat(dirfd(d), e->d_name, &st, 0) != 0) return 0;
    return S_ISDIR(st.st_mode) ? 'd' : S_ISREG(st.st_mode) ? 'f' : 0;
  }
  return t == DT_DIR ? 'd' : t == DT_REG ? 'f' : 0;
}

int32_t DIRarray(char* path, const char* pattern, char* entries, bool* dirs) {
  GEMIconColors();
  // Opened in its final form, so a path ending in '\' names the directory before it.
  char normal[256];
  memcpy(normal, path, strnlen(path, 255) + 1);
  normal[255] = 0;
  if (!DIRNormalisePath(normal)) {
    FSTooLong();
    return -1;
  }
  DIR* d = opendir(normal);
  if (!d) {
    perror("opendir");
    GEMMessage(160 - 7 * GPR.w, 100, "OPEN DIR ERROR", 0, "!|OK");
    return -1;
  }
  memcpy(path, normal, sizeof normal);

  DIRPattern p;
  DIRPatternOf(pattern, p);
  std::vector<DIRItem> items;
  while (const dirent* e = readdir(d)) {
    if (!strcmp(e->d_name, ".") || !strcmp(e->d_name, "..")) continue;
    char kind = kindOf(d, e);
    if (kind == 'd' || (kind == 'f' && DIRPatternPasses(p, e->d_name))) {
      items.emplace_back();
      DIREntry(items.back().entry, e->d_name, kind == 'd');
      items.back().dir = kind == 'd';
    }
    if (items.size() == DIRMaxEntries) {
      GEMMessage(8 * (20 - GPR.w), 100, "MAX FILES REACHED", 0, "!|OK");
      break;
    }
  }
  closedir(d);
  SDL_qsort(items.data(), items.size(), sizeof(DIRItem), DIRfileCmp);
  for (size_t i = 0; i < items.size(); i++) {
    memcpy(entries + 256 * i, items[i].entry, 256);
    if (dirs) dirs[i] = items[i].dir;
  }
  return int32_t(items.size());
}
