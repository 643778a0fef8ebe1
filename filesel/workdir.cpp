#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "filesel/filesel.h"
#include "platform/platform.h"
#include "strrt/strrt.h"

FILESEL_GLOBALS(GLOBAL_DEFINE)

void FSHome(char* home) {
  const char* h = getenv("HOME");
  if (!h || !*h) {
    const passwd* pw = getpwuid(getuid());
    h = pw && pw->pw_dir ? pw->pw_dir : "/";
  }
  SDL_strlcpy(home, h, 256);
}

static bool isDirectory(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

// Can the dialog list it? Asked quietly, before the dialog would say it cannot.
static bool listable(const char* dir) {
  DIR* d = opendir(dir);
  if (d) closedir(d);
  return d != nullptr;
}

// $name when it is an absolute path, else home followed by fallback.
static void xdgDir(char* out, const char* name, const char* fallback) {
  const char* v = getenv(name);
  if (v && v[0] == '/') {
    SDL_strlcpy(out, v, 256);
    return;
  }
  char home[256];
  FSHome(home);
  std::string d = std::string(home) + "/" + fallback;
  SDL_strlcpy(out, d.size() < 256 ? d.c_str() : "", 256);
}

static void picturesOrHome(char* out) {
  char home[256], config[256], file[512];
  FSHome(home);
  xdgDir(config, "XDG_CONFIG_HOME", ".config");
  snprintf(file, sizeof file, "%s/user-dirs.dirs", config);
  std::vector<uint8_t> text;
  bool found = false;
  if (FILE* f = fopen(file, "rb")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0 && text.size() < (1u << 20))
      text.insert(text.end(), buf, buf + n);
    fclose(f);
    text.push_back(0);
    found = FSPicturesDir(out, (const char*)text.data(), home) && isDirectory(out);
  }
  if (!found) SDL_strlcpy(out, home, 256);
}

void FSBaseDir(char* base) {
  base[0] = 0;
  if (SDLInstalled()) {
    picturesOrHome(base);
  } else if (char* b = SDL_GetBasePath()) {
    SDL_strlcpy(base, b, 256);
    SDL_free(b);
  } else if (!getcwd(base, 256)) {
    base[0] = 0;
  }
  DIRNormalisePath(base);
}

bool FSStateDir(char* dir) {
  char state[256];
  xdgDir(state, "XDG_STATE_HOME", ".local/state");
  if (!state[0] || snprintf(dir, 256, "%s/tarksen", state) >= 256) return false;
  for (char* s = strchr(dir + 1, '/');; s = strchr(s + 1, '/')) {
    if (s) *s = 0;
    mkdir(dir, 0700);
    if (!s) break;
    *s = '/';
  }
  return true;
}

// The state file that keeps the directory between runs, or false without a place. A
// page keeps nothing between visits outside its picture folder, so it has none.
static bool stateFile(char* file) {
#ifdef __EMSCRIPTEN__
  (void)file;
  return false;
#else
  char dir[256];
  return FSStateDir(dir) && snprintf(file, 256, "%s/katalog", dir) < 256;
#endif
}

void FSStartDir(char* dir) {
  if (!FSLastRunRead) {
    FSLastRunRead = true;
    char file[256];
    if (stateFile(file)) {
      if (FILE* f = fopen(file, "rb")) {
        char bytes[300];
        size_t n = fread(bytes, 1, sizeof bytes, f);
        fclose(f);
        if (!FSKeptDir(FSLastRun.s, bytes, n)) FSLastRun.s[0] = 0;
      }
    }
  }
  for (const char* d : {FSLastDir.s, FSLastRun.s})
    if (d[0] && listable(d)) {
      SDL_strlcpy(dir, d, 256);
      return;
    }
  FSBaseDir(dir);
}

void FSRemember(const char* path) {
  char cwd[256], dir[256];
  if (path[0] != '/' && !getcwd(cwd, sizeof cwd)) return;
  if (!FSDirOf(dir, path, path[0] == '/' ? "" : cwd)) return;
  if (strcmp(dir, FSLastDir.s) == 0) return;
  memcpy(FSLastDir.s, dir, sizeof dir);
  // Kept for the next run where it can be; a state directory that cannot be written
  // changes nothing here.
  char file[256], text[257];
  if (!stateFile(file)) return;
  int n = snprintf(text, sizeof text, "%s\n", dir);
  WRITEFILE(file, (const uint8_t*)text, size_t(n));
}
