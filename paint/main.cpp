#include <cstdio>

#include "paint/main_core.h"
#include "paint/paint.h"
#include "picfiles/picfiles.h"
#include "platform/platform.h"

static const char uzycie[] = "Usage: tarksen [--help | --version] [--history-mb N] [FILE]\n";

static const char pomoc[] =
    "Usage: tarksen [--help | --version] [--history-mb N] [FILE]\n"
    "TARKSEN 2, a paint program: choose tools, colours, patterns and drawing modes\n"
    "on the control screen, draw with the mouse on the drawing screen; a right click\n"
    "switches between them. FILE, a DEGAS or Doodle picture (.PI1, .PI2, .PI3, .PIC)\n"
    "or a BMP, is loaded onto the picture at start; a GBF block becomes the block.\n"
    "See tarksen(1).\n"
    "\n"
    "  --help            print this help and exit\n"
    "  --version         print the version and exit\n"
    "  --history-mb N    keep at most N MiB (1 to 1048576) of steps to go back to with\n"
    "                    Ctrl+Z and forward with Ctrl+Y; 256 by default, and always the\n"
    "                    last step, whatever it takes\n";

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
  if (w.rodzaj == ZLA_LICZBA) {
    if (w.zly)
      fprintf(stderr, "tarksen: --history-mb '%s': not a whole number of MiB from 1 to %u\n",
              w.zly, unsigned(HistoriaMbMax));
    else
      fprintf(stderr, "tarksen: --history-mb needs a number of MiB, from 1 to %u\n",
              unsigned(HistoriaMbMax));
    return 2;
  }
  if (w.historia_mb) historia_mb = w.historia_mb;

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
