#include <cstring>

#include "filesel/filesel.h"
#include "picfiles/pic_core.h"
#include "picfiles/picfiles.h"
#include "platform/platform.h"
#include "toolkit/toolkit.h"

static void alert(int32_t dx, const char* text) {
  GEMIconColors();
  GEMMessage(dx, 100, text, 0, "i|Powrót");
}

void zapisz(int32_t c) {
  // Nothing to save: said before the user picks a name for it.
  if (c == 2 && !blok$) {
    alert(80, "Brak bloku");
    return;
  }
  char name[256];
  memset(name, 0, sizeof name);
  strcpy(name, typ$[c]);
  if (c == 0) strcat(name, "C");
  // A quit request ends the dialog with whatever the name field holds: write nothing.
  if (GEMFileSelector("Zapis", "", typ$[c], name) == -1 || Quit || !name[0]) return;

  bool ok;
  if (c == 0) {
    SDL_SetRenderTarget(SDLRenderer, rob_e$);
    ok = SaveDoodle(name) == 0;
  } else if (c == 1) {
    SDL_SetRenderTarget(SDLRenderer, rob_e$);
    ok = SaveSurface(0, 0, PicW, PicH, name) == 0;
  } else {
    SDL_SetRenderTarget(SDLRenderer, blok$);
    int w = 0, h = 0;
    SDL_QueryTexture(blok$, nullptr, nullptr, &w, &h);
    ok = SaveSurface(0, 0, w, h, name) == 0;
  }
  if (!ok) alert(8, "Błąd otwarcia pliku");
}
