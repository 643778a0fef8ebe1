// The browser's shell around the paint program: its entry point, and the turn the
// event pump gives the page. The page (web/page.js) has put the font at / and
// mounted the picture folder from the browser's storage before main runs.
#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "paint/paint.h"
#include "platform/platform.h"

// The folder of the user's pictures, kept in the browser's storage by the page.
static const char obrazy[] = "/obrazy";

void SDLYield() {
  // Under ASYNCIFY the program's stack is put aside while the browser runs.
  emscripten_sleep(0);
}

// The program sleeps while Asyncify holds its stack; the page's callbacks run only then.
bool SDLMayPresent() {
  return EM_ASM_INT({ return Asyncify.currData ? 0 : 1; }) != 0;
}

// The input events (keys, text, the mouse) waiting in SDL's queue, which the program
// has not yet taken; -1 before SDL has started. The page asks while the program sleeps.
extern "C" EMSCRIPTEN_KEEPALIVE int SDLInputPending() {
  return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_MOUSEWHEEL);
}

// A file the page was given ("Open…", or dropped on it) reaches the program as a file
// dropped on the desktop's window does: loaded where the program takes drops, else
// ignored. The path is copied.
extern "C" EMSCRIPTEN_KEEPALIVE void SDLDropFile(const char* path) {
  SDL_Event e = {};
  e.type = SDL_DROPFILE;
  e.drop.file = SDL_strdup(path);
  e.drop.windowID = SDLWindow ? SDL_GetWindowID(SDLWindow) : 0;
  SDL_PushEvent(&e);  // the event filter frees the copy, taken or not
}

// Whether the picture has changes not saved: the mark the window's title shows.
extern "C" EMSCRIPTEN_KEEPALIVE int PaintUnsaved() { return wersja != wersja_pliku; }

// The page is hidden (another tab, the window minimized, the page being left): the
// recovery copy is brought up to date at the program's next wait, as a hidden tab may
// be ended without a word.
extern "C" EMSCRIPTEN_KEEPALIVE void PaintHidden() { zapas_pilnie(); }

int main() {
  // Emscripten's file system starts with the mask 0777, under which a file given
  // the usual mode 0666 & ~mask could not be read back: a desktop session's instead.
  umask(022);
  // Keys reach the program while the canvas has the focus, not from the page's controls.
  SDL_SetHint(SDL_HINT_EMSCRIPTEN_KEYBOARD_ELEMENT, "#canvas");
  SDLInit(0);  // reads BASFont.bmp from the working directory, /
  // The file selector starts in the working directory (this SDL has no program
  // directory to offer), and a name given without one is saved here too.
  if (chdir(obrazy) != 0) perror(obrazy);
  przygotuj();
  uklad();
  // The recovery copy lives in the site's storage (web/recovery.js): a copy left by a
  // tab that was closed or reloaded without a save is offered first.
  zapas_start(ZapasOkres);
  // The panel shows at once, before anything is offered or the control screen's own
  // drawing (see pierwsza_klatka).
  pierwsza_klatka();
  zapas_oferuj();
  EM_ASM({ recovery.offered(); });
  sterownia();
  zapas_koniec(Quit != 0);
  sprzataj();
  // main has slept, so its return reaches no one: exit tells the page it has ended.
  exit(0);
}
