#include <stdlib.h>

#include <cstring>
#include <vector>

#include "filesel/filesel.h"
#include "platform/platform.h"
#include "raster/raster.h"

// The arrow image of the font sheet (the '^' glyph's ink) drawn on the lever.
static const SDL_Rect ArrowSrc = {497, 1, 5, 6};

static void copy255(char* out, const char* s) {
  size_t n = strnlen(s, 255);
  memmove(out, s, n);
  out[n] = 0;
}

void DrawFS(const GEMBox* boxes, uint32_t count, const char* title) {
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  ColorC = 0xFFAFCFAF;
  SDLDrawColor(ColorC);
  SDL_RenderClear(SDLRenderer);
  SDLDrawColor(0xFF000000);
  SDL_Rect frame = {0, 0, 640, 400};
  DrawRect(frame.x, frame.y, frame.w, frame.h);
  frame = {2, 2, 636, 396};
  DrawRect(frame.x, frame.y, frame.w, frame.h);

  GEMTextColor(0);
  GPR.x = FSTitleX(title, GPR.w);
  GPR.y = 4;
  SDLGPrint(title, 0xFFFFFFFF, 1, 640 - GPR.w, 400, 1);
  GPR.x = 8;
  GPR.y = GPR.h + 8;
  SDLGPrint("Dir:", 0xFFFFFFFF, 1, 640, 400, 1);
  GPR.x = 320;
  GPR.y = GPR.h + 8;
  SDLGPrint("Sel:", 0xFFFFFFFF, 1, 640, 400, 1);

  GEMDrawBoxes(boxes, count);

  if (count > FS_LEVER) {
    GEMTextColor(0);
    int32_t r[4];
    FSArrowRect(boxes[FS_LEVER], r);
    DST = {r[0], r[1], r[2], r[3]};
    SDL_RenderCopy(SDLRenderer, BASFont, &ArrowSrc, &DST);
    DST.y += 50;
    // The same arrow upside down: its rows copied in the other order (what a vertical
    // flip of the copy gives, pixel for pixel, without SDL's rotating copy).
    const int rowH = DST.h / ArrowSrc.h;
    for (int i = 0; i < ArrowSrc.h; i++) {
      SDL_Rect row = {ArrowSrc.x, ArrowSrc.y + i, ArrowSrc.w, 1};
      SDL_Rect to = {DST.x, DST.y + (ArrowSrc.h - 1 - i) * rowH, DST.w, rowH};
      SDL_RenderCopy(SDLRenderer, BASFont, &row, &to);
    }
  }

  SDLTargetWindow();
  SDL_RenderCopy(SDLRenderer, GEMScreen, nullptr, nullptr);
  SDLPresent();
}

void FSTooLong() {
  Color = 0xFFFFFFFF;
  ColorB = 0xFF;
  GEMMessage(0, 100, "Za długa nazwa pliku", 0, "i|Powrót");
}

// One dialog: its texts, listing and boxes.
struct Selector {
  const char* title;
  char* name;
  char filter[256], offered[256], path[256], spare[256], base[256];
  std::vector<char> entries = std::vector<char>(256 * (size_t)DIRMaxEntries);
  bool dirs[DIRMaxEntries];  // which entries are directories
  int32_t count = 0, offset = 0, page = 0;
  GEMBox b[FS_BOXES];

  void show() {
    b[FS_LIST].text = &entries[256 * (size_t)offset];
    b[FS_LIST].param1 = (uint32_t)(count > offset ? count - offset : 0);
    DrawFS(b, FS_BOXES, title);
  }
  // Lists path; a failed listing shows no entries until another one works.
  void list() {
    count = DIRarray(path, filter, entries.data(), dirs);
    offset = 0;
  }
  // Lists directory trial (ending in '/'); if that works it becomes the path, else
  // path and listing stay (DIRarray has said why).
  void enter(const char* trial) {
    char t[256];
    memcpy(t, trial, sizeof t);
    int32_t n = DIRarray(t, filter, entries.data(), dirs);
    if (n < 0) return;
    memcpy(path, t, sizeof t);
    count = n;
    offset = 0;
  }
  // The name to return, the directory in front of it: true when it fits in name. A
  // name in the home directory ("~/...") is returned as its full path; "~" or "~/"
  // alone goes home, the name field as offered, and the dialog stays.
  bool finish() {
    char home[256], typed[256];
    FSHome(home);
    int32_t tilde = FSTilde(typed, name, home);
    if (tilde > 0 && (!strcmp(name, "~") || !strcmp(name, "~/"))) {
      if (DIRNormalisePath(typed)) enter(typed);
      memcpy(name, offered, sizeof offered);
      return false;
    }
    if (tilde > 0) memcpy(name, typed, sizeof typed);
    if (tilde >= 0 && FSResult(name, path, name)) return true;
    FSTooLong();
    return false;
  }
  // A directory typed as "~" or "~/...": the home directory's path. False (the path
  // as typed) when it would pass 255 bytes, which FSTooLong says.
  bool homePath() {
    char home[256], typed[256];
    FSHome(home);
    int32_t tilde = FSTilde(typed, path, home);
    if (tilde > 0) memcpy(path, typed, sizeof typed);
    if (tilde < 0) FSTooLong();
    return tilde >= 0;
  }
  // A wheel turn or a key that ended the last wait, as the dialog's habits take it:
  // the list scrolled, within its first and last page. True for Escape, which ends the
  // dialog as "CANCEL" does.
  bool habit() {
    int32_t last = count > page ? count - page : 0;
    if (GEMWheel)
      offset -= 3 * GEMWheel;
    else if (InKey == SDLK_PAGEUP)
      offset -= page;
    else if (InKey == SDLK_PAGEDOWN)
      offset += page;
    else if (InKey == SDLK_HOME)
      offset = 0;
    else if (InKey == SDLK_END)
      offset = last;
    else
      return InKey == SDLK_ESCAPE;
    offset = offset < 0 ? 0 : offset > last ? last : offset;
    GEMWheel = 0;
    return false;
  }
  // "UP" from the directory the path leads to: ".." and links as the file system has
  // them, not as the text reads. A path that cannot be resolved (gone since) is cut as
  // it stands.
  void up() {
    char resolved[256];
    if (char* real = realpath(path, nullptr)) {
      size_t n = strlen(real);
      bool fits = n <= 255;
      if (fits) {
        memcpy(resolved, real, n + 1);
        fits = DIRNormalisePath(resolved);
      }
      free(real);
      if (!fits) return FSTooLong();
      bool moved = strcmp(resolved, path) != 0;
      memcpy(path, resolved, sizeof resolved);
      if (FSUpPath(path) || moved) list();
      return;
    }
    if (FSUpPath(path)) list();
  }
  void lever() {
    // The press that ended the wait counts as held for the first step.
    while (count > page && MouseK) {
      offset = FSLeverStep(b[FS_LEVER], offset, MouseY, count, page, GPR.h);
      show();
      SDL_Delay(50);
      GetSDLEvents();
    }
    b[FS_LEVER].flags &= ~BOX_SELECTED;
  }
  // Returns true when a double click on a file ends the dialog.
  bool pick() {
    int32_t row = FSListRow(b[FS_LIST], offset, MouseY, GPR.h);
    if (row < 0 || row >= count) return false;
    const char* entry = &entries[256 * (size_t)row];
    if (dirs[row]) {
      char trial[256];
      if (!FSResult(trial, path, entry + 1)) {
        FSTooLong();
        return false;
      }
      enter(trial);
      return false;
    }
    copy255(name, entry);
    b[FS_LIST].param2 = row - offset;
    return MouseK == 0x21;
  }
};

// The dialog's habits for as long as it is up, whichever way it ends.
struct Habits {
  bool was = GEMHabits;
  Habits() { GEMHabits = true; }
  ~Habits() { GEMHabits = was; }
};

int32_t GEMFileSelector(const char* title, const char* dir, const char* pattern, char* name) {
  Selector s;
  s.title = title;
  s.name = name;
  FSBaseDir(s.base);
  copy255(s.filter, pattern);
  memcpy(s.offered, name, sizeof s.offered);
  copy255(s.path, dir[0] ? dir : s.base);
  s.list();
  if (s.count < 0) return -1;
  if (!GEMScreen)
    GEMScreen = SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET,
                                  640, 400);
  FSLayout(s.b, s.filter, s.path, name, s.entries.data(), GPR.w, GPR.h);
  s.page = s.b[FS_LIST].h / GPR.h;
  s.show();
  Habits habits;
  InKey = 0;
  GEMEdit(s.b[FS_NAME]);

  int32_t acted = FS_NAME;
  for (bool cancel = s.habit();; cancel = s.habit()) {
    if (cancel) {
      memcpy(name, s.offered, sizeof s.offered);
      return -1;
    }
    s.show();
    while (!Quit && SDL_GetMouseState(nullptr, nullptr)) GetSDLEvents();
    // A button shows pressed only while its action runs.
    if (acted >= 0) s.b[acted].flags &= ~BOX_SELECTED;
    s.show();
    acted = GEMWaitBoxClick(s.b, FS_BOXES, 0);
    s.b[FS_LIST].param2 = -1;
    switch (acted) {
      case FS_LEVER: s.lever(); break;
      case FS_FILTER:
        GEMEdit(s.b[FS_FILTER]);
        s.list();
        break;
      case FS_DIR:
        memcpy(s.spare, s.path, sizeof s.spare);
        GEMEdit(s.b[FS_DIR]);
        if (s.homePath())
          s.list();
        else
          s.count = -1;
        if (s.count < 0) {
          memcpy(s.path, s.spare, sizeof s.path);
          s.list();
        }
        break;
      case FS_NAME: GEMEdit(s.b[FS_NAME]); break;
      case FS_LIST:
        if (s.pick() && s.finish()) return 0;
        break;
      case FS_UP: s.up(); break;
      case FS_BASE:
        memcpy(s.path, s.base, sizeof s.path);
        s.list();
        break;
      case FS_ROOT:
        strcpy(s.path, "/");
        s.list();
        break;
      case FS_OK:
        if (s.finish()) return 0;
        break;
      case FS_CANCEL: memcpy(name, s.offered, sizeof s.offered); return -1;
      default: break;
    }
    // Enter ends the dialog as "OK" does; an Enter typed in a field only ended the edit.
    if ((InKey == SDLK_RETURN || InKey == SDLK_KP_ENTER) && s.finish()) return 0;
    if (Quit) return acted;
  }
}
