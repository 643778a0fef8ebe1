#include <cstdio>

#include "paint/main_core.h"
#include "paint/paint.h"
#include "platform/platform.h"

static const char uzycie[] = "Usage: tarksen [--help | --version]\n";

static const char pomoc[] =
    "Usage: tarksen [--help | --version]\n"
    "TARKSEN 2, a paint program: choose tools, colours, patterns and drawing modes\n"
    "on the control screen, draw with the mouse on the drawing screen; a right click\n"
    "switches between them. See tarksen(1).\n"
    "\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n";

int main(int argc, char** argv) {
  // Every message reaches a log file or a pipe as soon as it is printed.
  setvbuf(stdout, nullptr, _IOLBF, 0);

  Wiersz w = Argumenty(argc, argv);
  if (w.rodzaj == POMOC) {
    fputs(pomoc, stdout);
    return 0;
  }
  if (w.rodzaj == WERSJA) {
    puts("tarksen " TARKSEN_VERSION);
    return 0;
  }
  // A picture named on the line is not loaded yet: refused like a bad option.
  if (w.rodzaj == ZLE || w.plik) {
    fprintf(stderr, "tarksen: unexpected argument '%s'\n%s", w.zly ? w.zly : w.plik, uzycie);
    return 2;
  }

  SDLInit(0);
  przygotuj();
  uklad();
  sterownia();
  sprzataj();
  return 0;
}
