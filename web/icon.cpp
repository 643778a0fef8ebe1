// A page has no window icon: the browser shows the site's favicon and the manifest's
// icons, drawn at build time from the same design (tools/mkicon.cpp).
#include "platform/platform.h"

void SDLIcon(SDL_Surface*) {}
