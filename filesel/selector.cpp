#include <unistd.h>

#include <cstring>
#include <vector>

#include "filesel/filesel.h"
#include "platform/platform.h"

// The arrow image of the font sheet (the '^' glyph's ink) drawn on the lever.
static const SDL_Rect ArrowSrc = {497, 1, 5, 6};

static void copy255(char* out, const char* s) {
  size_t n = strnlen(s, 255);
  memmove(out, s, n);
  out[n] = 0;
}

// The program's own directory, ending in '/'; the working directory when SDL cannot
// tell it.
static void baseDirectory(char* base) {
  base[0] = 0;
  if (char* b = SDL_GetBasePath()) {
    copy255(base, b);
    SDL_free(b);
  } else if (!getcwd(base, 256)) {
    base[0] = 0;
  }
  DIRNormalisePath(base);
}

void DrawFS(const GEMBox* boxes, uint32_t count, const char* title) {
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  ColorC = 0xFFAFCFAF;
  SDLDrawColor(ColorC);
  SDL_RenderClear(SDLRenderer);
  SDLDrawColor(0xFF000000);
  SDL_Rect frame = {0, 0, 640, 400};
  SDL_RenderDrawRect(SDLRenderer, &frame);
  frame = {2, 2, 636, 396};
  SDL_RenderDrawRect(SDLRenderer, &frame);

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
    SDL_RenderCopyEx(SDLRenderer, BASFont, &ArrowSrc, &DST, 0, nullptr, SDL_FLIP_VERTICAL);
  }

  SDLTargetWindow();
  SDL_RenderCopy(SDLRenderer, GEMScreen, nullptr, nullptr);
  SDLPresent();
}

// One dialog: its texts, listing and boxes.
struct Selector {
  const char* title;
  char* name;
  char filter[256], offered[256], path[256], spare[256], base[256];
  std::vector<char> entries = std::vector<char>(256 * (size_t)DIRMaxEntries);
  int32_t count = 0, offset = 0, page = 0;
  GEMBox b[FS_BOXES];

  void show() {
    b[FS_LIST].text = &entries[256 * (size_t)offset];
    b[FS_LIST].param1 = (uint32_t)(count > offset ? count - offset : 0);
    DrawFS(b, FS_BOXES, title);
  }
  // Lists path; a failed listing shows no entries until another one works.
  void list() {
    count = DIRarray(path, filter, entries.data());
    offset = 0;
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
    if (entry[0] == DIRMarker) {
      char trial[256];
      FSResult(trial, path, entry + 1);
      int32_t n = DIRarray(trial, filter, entries.data());
      if (n >= 0) {
        memcpy(path, trial, sizeof trial);
        count = n;
        offset = 0;
      }
      return false;
    }
    copy255(name, entry);
    b[FS_LIST].param2 = row - offset;
    return MouseK == 0x21;
  }
};

int32_t GEMFileSelector(const char* title, const char* dir, const char* pattern, char* name) {
  Selector s;
  s.title = title;
  s.name = name;
  baseDirectory(s.base);
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
  GEMEdit(s.b[FS_NAME]);

  int32_t acted = FS_NAME;
  for (;;) {
    s.show();
    while (!Quit && SDL_GetMouseState(nullptr, nullptr)) GetSDLEvents();
    // A button shows pressed only while its action runs.
    if (acted >= 0) s.b[acted].flags &= ~BOX_SELECTED;
    s.show();
    acted = GEMWaitBoxClick(s.b, FS_BOXES, 0);
    s.b[FS_LIST].param2 = -1;
    switch (acted) {
      case FS_LEVER:
        s.lever();
        break;
      case FS_FILTER:
        GEMEdit(s.b[FS_FILTER]);
        s.list();
        break;
      case FS_DIR:
        memcpy(s.spare, s.path, sizeof s.spare);
        GEMEdit(s.b[FS_DIR]);
        s.list();
        if (s.count < 0) {
          memcpy(s.path, s.spare, sizeof s.path);
          s.list();
        }
        break;
      case FS_NAME:
        GEMEdit(s.b[FS_NAME]);
        break;
      case FS_LIST:
        if (s.pick()) {
          FSResult(name, s.path, name);
          return 0;
        }
        break;
      case FS_UP:
        if (FSUpPath(s.path)) s.list();
        break;
      case FS_BASE:
        memcpy(s.path, s.base, sizeof s.path);
        s.list();
        break;
      case FS_ROOT:
        strcpy(s.path, "/");
        s.list();
        break;
      case FS_OK:
        FSResult(name, s.path, name);
        return 0;
      case FS_CANCEL:
        memcpy(name, s.offered, sizeof s.offered);
        return -1;
      default:
        break;
    }
    // Enter ends the dialog as "OK" does; an Enter typed in a field only ended the edit.
    if (InKey == SDLK_RETURN || InKey == SDLK_KP_ENTER) {
      FSResult(name, s.path, name);
      return 0;
    }
    if (Quit) return acted;
  }
}
