#include "platform/platform.h"
#include "platform/window_core.h"

// The file the title names, as last given.
static char titleFile[256];

void SDLTitle(const char* path, bool changed) {
  if (path) SDL_strlcpy(titleFile, path, sizeof titleFile);
  char title[320];
  WindowTitle(title, sizeof title, titleFile, changed);
  if (!SDLWindow || SDL_strcmp(title, SDL_GetWindowTitle(SDLWindow)) == 0) return;
  SDL_SetWindowTitle(SDLWindow, title);
  // SDL gives X the UTF-8 title only where the C library's locale takes UTF-8, and
  // this program sets no locale: a name with an em dash or a Polish letter would not
  // reach the window list.
  SDLX11Property(SDLWindow, "_NET_WM_NAME", "UTF8_STRING", 8, title, int(SDL_strlen(title)));
}
