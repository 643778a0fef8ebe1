#include "filesel/filesel_core.h"

#include <strings.h>

#include <cstring>
#include <string>

#include "strrt/strrt.h"

// Copies at most n bytes of s into out (256 bytes) and terminates it.
static void copyCut(char* out, const char* s, size_t n) {
  if (n > 255) n = 255;
  memcpy(out, s, n);
  out[n] = 0;
}

void DIRPatternOf(const char* pattern, DIRPattern& p) {
  size_t len = strnlen(pattern, 255);
  const char* end = pattern + len;
  const char* star = (const char*)memchr(pattern, '*', len);
  const char* dot = (const char*)memchr(pattern, '.', len);
  const char* prefixEnd = star ? star : dot ? dot : end;
  copyCut(p.prefix, pattern, prefixEnd - pattern);

  p.mark[0] = 0;
  const char* lastDot = nullptr;
  for (const char* c = pattern; c < end; c++)
    if (*c == '.') lastDot = c;
  if (lastDot) {
    const char* markEnd = end;
    for (const char* c = lastDot; c < end; c++)
      if (*c == '*') markEnd = c;
    copyCut(p.mark, lastDot, markEnd - lastDot);
    if (strcmp(p.mark, ".") == 0) p.mark[0] = 0;
  }
  strcpy(p.lower, p.mark);
  LowerCase(p.lower);
}

bool DIRPatternPasses(const DIRPattern& p, const char* name) {
  if (strncmp(name, p.prefix, strlen(p.prefix)) != 0) return false;
  return strstr(name, p.mark) || strstr(name, p.lower);
}

int DIRfileCmp(const void* a, const void* b) {
  const DIRItem* x = (const DIRItem*)a;
  const DIRItem* y = (const DIRItem*)b;
  if (x->dir != y->dir) return x->dir ? -1 : 1;
  return strcmp(x->entry, y->entry);
}

void DIREntry(char* entry, const char* name, bool directory) {
  if (directory) {
    entry[0] = DIRMarker;
    copyCut(entry + 1, name, strnlen(name, 254));
  } else {
    copyCut(entry, name, strnlen(name, 255));
  }
}

bool DIRNormalisePath(char* path) {
  size_t n = strnlen(path, 255);
  path[n] = 0;
  if (n > 0 && path[n - 1] == '\\') {
    path[n - 1] = '/';
  } else if (n == 0 || path[n - 1] != '/') {
    if (n == 255) return false;
    strcpy(path + n, "/");
  }
  return true;
}

void FSLayout(GEMBox (&boxes)[FS_BOXES], const char* filter, const char* path, const char* name,
              const char* entries, int gw, int gh) {
  const int32_t W = gw, H = gh;
  const int32_t listY = 3 * H + 20, listH = 372 - 3 * H, buttonX = 636 - 6 * W;
  struct {
    uint8_t type;
    const char* text;
    int32_t x, y, w, h;
  } rows[FS_BOXES] = {
      {0, nullptr, 488, listY, 16, listH},
      {11, filter, 4 * (H + 1), H + 8, 4 * (78 - H), H},
      {11, path, 4, 2 * (H + 8), 632, H},
      {11, name, 4 * (H + 80), H + 8, 4 * (79 - H), H},
      {13, entries, 4, listY, 480, listH},
      {1, "UP", buttonX, listY, 6 * W, H},
      {1, "BASE", buttonX, 200, 6 * W, H},
      {1, "ROOT", buttonX, W + 204, 6 * W, H},
      {1, "OK", buttonX, 2 * (196 - H), 6 * W, H},
      {1, "CANCEL", buttonX, 396 - H, 6 * W, H},
  };
  for (int i = 0; i < FS_BOXES; i++) {
    const auto& r = rows[i];
    boxes[i] = {r.text, BOX_ENABLED | BOX_SELECTABLE, r.type, r.x, r.y, r.w, r.h, 0, 0, nullptr};
  }
  boxes[FS_LIST].param2 = -1;
}

int32_t FSTitleX(const char* title, int gw) { return (640 - gw * (int32_t)strlen(title)) / 2; }

void FSArrowRect(const GEMBox& lever, int32_t rect[4]) {
  rect[0] = lever.x + 3;
  rect[1] = (int32_t)(lever.y + lever.h * 0.5 - 31);
  rect[2] = 10;
  rect[3] = 12;
}

int32_t FSLeverStep(const GEMBox& lever, int32_t offset, int32_t pointerY, int32_t count,
                    int32_t page, int gh) {
  offset += (pointerY - (lever.y + lever.h / 2)) / gh;
  if (offset > count - page) offset = count - page;
  if (offset < 0) offset = 0;
  return offset;
}

int32_t FSListRow(const GEMBox& list, int32_t offset, int32_t pointerY, int gh) {
  int32_t row = (pointerY - list.y - (list.h % gh) / 2) / gh;
  // The spare pixels under the last row show no entry.
  return row < list.h / gh ? offset + row : -1;
}

bool FSUpPath(char* path) {
  // The last byte (the path's own '/') does not count.
  for (size_t i = strlen(path); i-- > 1;)
    if (path[i - 1] == '/') {
      path[i] = 0;
      return true;
    }
  return false;
}

bool FSResult(char* out, const char* dir, const char* name) {
  char joined[512];
  size_t d = name[0] == '/' ? 0 : strnlen(dir, 255), n = strnlen(name, 255);
  if (d + n > 255) return false;
  memcpy(joined, dir, d);
  memcpy(joined + d, name, n);
  joined[d + n] = 0;
  memcpy(out, joined, d + n + 1);
  return true;
}

// out := s, if it fits in 255 bytes.
static bool fit(char* out, const std::string& s) {
  if (s.size() > 255) return false;
  memcpy(out, s.c_str(), s.size() + 1);
  return true;
}

// home and rest with one '/' between them (rest empty: home itself).
static std::string inHome(const char* home, const char* rest) {
  std::string h = home;
  while (h.size() > 1 && h.back() == '/') h.pop_back();
  while (*rest == '/') rest++;
  if (!*rest) return h;
  return h.back() == '/' ? h + rest : h + "/" + rest;
}

// One line's value of XDG_PICTURES_DIR= as the shell reads it, with a leading $HOME
// or ${HOME} made home: false when the line means anything else (another key, a value
// the shell would expand otherwise or not read as one word).
static bool pictureLine(const char* line, size_t n, const char* home, std::string& value) {
  static const char key[] = "XDG_PICTURES_DIR=";
  size_t i = 0;
  while (i < n && (line[i] == ' ' || line[i] == '\t')) i++;
  if (n - i < sizeof key - 1 || memcmp(line + i, key, sizeof key - 1) != 0) return false;
  i += sizeof key - 1;
  bool quoted = i < n && line[i] == '"';
  i += quoted;
  value.clear();
  for (const char* h : {"$HOME", "${HOME}"}) {
    size_t len = strlen(h);
    if (n - i >= len && memcmp(line + i, h, len) == 0 &&
        (i + len == n || strchr(quoted ? "/\"" : "/ \t#", line[i + len]))) {
      value = home;
      while (value.size() > 1 && value.back() == '/') value.pop_back();
      i += len;
      break;
    }
  }
  for (; i < n; i++) {
    char c = line[i];
    if (quoted ? c == '"' : c == ' ' || c == '\t') break;
    if (c == '\\' && quoted && i + 1 < n && strchr("\"\\$`", line[i + 1])) {
      value += line[++i];
      continue;
    }
    if (c == '$' || c == '`' || c == '\\' || (!quoted && strchr("\"';&|<>()#", c))) return false;
    value += c;
  }
  if (quoted && (i == n || line[i++] != '"')) return false;  // no closing quote
  while (i < n && (line[i] == ' ' || line[i] == '\t')) i++;
  return i == n || line[i] == '#';
}

bool FSPicturesDir(char* out, const char* userDirs, const char* home) {
  std::string found, value;
  for (const char* line = userDirs; *line;) {
    const char* end = strchr(line, '\n');
    size_t n = end ? size_t(end - line) : strlen(line);
    if (pictureLine(line, n, home, value)) found = value;
    line += end ? n + 1 : n;
  }
  if (found.empty()) return false;
  return fit(out, found[0] == '/' ? found : inHome(home, found.c_str()));
}

int32_t FSTilde(char* out, const char* text, const char* home) {
  if (text[0] != '~' || (text[1] && text[1] != '/')) return 0;
  return fit(out, inHome(home, text + 1)) ? 1 : -1;
}

bool FSDirOf(char* out, const char* path, const char* cwd) {
  const char* slash = strrchr(path, '/');
  std::string dir(path, slash ? size_t(slash - path) + 1 : 0);
  if (path[0] != '/') {
    std::string c = cwd;
    if (c.empty() || c.back() != '/') c += '/';
    dir = c + dir;
  }
  return fit(out, dir);
}

bool FSKeptDir(char* out, const char* bytes, size_t n) {
  if (n < 3 || bytes[0] != '/' || bytes[n - 1] != '\n' || bytes[n - 2] != '/') return false;
  if (memchr(bytes, 0, n) || memchr(bytes, '\n', n - 1)) return false;
  return fit(out, std::string(bytes, n - 1));
}

bool FSNameless(const char* path, const char* offered) {
  const char* slash = strrchr(path, '/');
  const char* name = slash ? slash + 1 : path;
  return !*name || strcasecmp(name, offered) == 0;
}
