#include <cstring>
#include <vector>

#include "filesel/filesel.h"
#include "picfiles/files_core.h"
#include "picfiles/pic_core.h"
#include "picfiles/picfiles.h"
#include "picfiles/png_core.h"
#include "platform/platform.h"
#include "strrt/strrt.h"
#include "toolkit/toolkit.h"

static void alert(int32_t dx, const char* text) {
  GEMIconColors();
  GEMMessage(dx, 100, text, 0, "i|Powrót");
}

bool zapisz(int32_t c) {
  // Nothing to save: said before the user picks a name for it.
  if (c == 2 && !blok$) {
    alert(80, "Brak bloku");
    return false;
  }
  char offered[256] = {}, name[256], start[256];
  strcpy(offered, typ$[c]);
  if (c == 0) strcat(offered, "C");
  FSStartDir(start);
  // A name the user would never see in a file manager (nothing, or the offered
  // extension alone) is refused, and the dialog opens again where it was.
  for (;;) {
    memcpy(name, offered, sizeof name);
    // A quit request ends the dialog with whatever the name field holds: write nothing.
    if (GEMFileSelector("Zapis", start, typ$[c], name) == -1 || Quit || !name[0]) return false;
    if (!FSNameless(name, offered)) break;
    alert(32, "Brak nazwy pliku");
    FSDirOf(start, name, "");
  }

  bool ok;
  if (c == 0) {
    SDL_SetRenderTarget(SDLRenderer, rob_e$);
    ok = SaveDoodle(name) == 0;
  } else {
    SDL_Texture* from = c == 1 ? rob_e$ : blok$;
    SDL_SetRenderTarget(SDLRenderer, from);
    int w = 0, h = 0;
    SDL_QueryTexture(from, nullptr, nullptr, &w, &h);
    ok = (PicSavesPng(name) ? SavePNG(w, h, name) : SaveSurface(0, 0, w, h, name)) == 0;
  }
  if (!ok) {
    alert(8, "Błąd otwarcia pliku");
    return false;
  }
  FSRemember(name);
  if (c == 2) return false;
  SDLTitle(name, false);
  return true;
}

int32_t SavePNG(int32_t w, int32_t h, const char* path) {
  // Kept between saves, as SaveSurface keeps its file: fresh pages would cost more than
  // the read-back.
  static std::vector<uint8_t> px;
  std::vector<uint8_t> png;
  px.resize(size_t(w) * size_t(h) * 4);
  SDL_Rect all = {0, 0, w, h};
  if (SDL_RenderReadPixels(SDLRenderer, &all, SDL_PIXELFORMAT_ABGR8888, px.data(), w * 4) != 0)
    return -1;
  std::string why = PngRgb(px.data(), w, h, size_t(w) * 4, png);
  if (!why.empty()) return SDL_SetError("%s", why.c_str());
  if (int err = WRITEFILE(path, png.data(), png.size()))
    return SDL_SetError("%s: %s", path, strerror(err));
  return 0;
}
