#include <cstdio>

#include "paint/main_core.h"
#include "paint/paint.h"
#include "picfiles/picfiles.h"
#include "platform/platform.h"

static const char uzycie[] = "Usage: tarksen [--help | --version] [FILE]\n";

static const char pomoc[] =
    "Usage: tarksen [--help | --version] [FILE]\n"
    "TARKSEN 2, a paint program: choose tools, colours, patterns and drawing modes\n"
    "on the control screen, draw with the mouse on the drawing screen; a right click\n"
    "switches between them. FILE, a DEGAS or Doodle picture (.PI1, .PI2, .PI3, .PIC)\n"
    "or a BMP, is loaded onto the picture at start; a GBF block becomes the block.\n"
    "See tarksen(1).\n"
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
  if (w.rodzaj == ZLE) {
    fprintf(stderr, "tarksen: unexpected argument '%s'\n%s", w.zly, uzycie);
    return 2;
  }

  SDLInit(0);
  przygotuj();
  uklad();
  // A picture named on the line is loaded as the "BMP" load box loads it; an alert
  // about it shows over the control screen.
  if (w.plik) {
    menu();
    ShowE();
    krok_menu();
    laduj_plik(w.plik, 1);
    krok_zamknij();
  }
  sterownia();
  sprzataj();
  return 0;
}
