#include <cstdio>
#include <cstdlib>

#include "paint/main_core.h"
#include "paint/paint.h"
#include "picfiles/picfiles.h"
#include "platform/platform.h"

#define UZYCIE \
  "Usage: tarksen [-h | --help | --version] [--scale N] [--history-mb N] [--no-restore] [FILE]\n"
static const char uzycie[] = UZYCIE;

static const char pomoc[] = UZYCIE
    "TARKSEN 2, a paint program: choose tools, colours, patterns and drawing modes\n"
    "on the control screen, draw with the mouse on the drawing screen; a right click\n"
    "switches between them. FILE, a PNG, a BMP or an Atari picture (.PI1, .PI2, .PI3,\n"
    ".PIC, .DOO, .PC1, .PC2, .PC3, .NEO, .SPU, .SPC), is loaded onto the picture at\n"
    "start; a GBF block becomes the block. Files dropped on the window load as well.\n"
    "The 640x400 picture is shown at a whole scale: each pixel an N x N square.\n"
    "The window opens at the largest scale that fits the screen; resized or\n"
    "maximised it keeps the largest that fits, centred on black. F11 or Alt+Enter\n"
    "switches full screen on and off. See tarksen(1).\n"
    "\n"
    "  --scale N         open the window at scale N, 1 to 8 (1: 640x400)\n"
    "  --history-mb N    keep at most N MiB (1 to 1048576) of steps to go back to with\n"
    "                    Ctrl+Z and forward with Ctrl+Y; 256 by default, and always the\n"
    "                    last step, whatever it takes\n"
    "  --no-restore      do not offer the picture a program that ended without a save\n"
    "                    left in ~/.local/state/tarksen (offered at start otherwise)\n"
    "  -h, --help        print this help and exit\n"
    "  --version         print the version and exit\n"
    "\n"
    "Environment: TARKSEN_SCALE=N as --scale N; --scale wins. XDG_STATE_HOME: where\n"
    "the recovery copy is kept. TARKSEN_RECOVERY_MS=N, a testing aid: a recovery copy\n"
    "at most every N ms (1 to 3600000) instead of every 30 s.\n";

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
  if (w.rodzaj == ZLA_SKALA) {
    if (w.zly)
      fprintf(stderr, "tarksen: --scale: '%s' is not a whole number from 1 to 8\n", w.zly);
    else
      fputs("tarksen: --scale needs a whole number from 1 to 8\n", stderr);
    return 2;
  }
  if (w.rodzaj == ZLY_BUDZET) {
    if (w.zly)
      fprintf(stderr, "tarksen: --history-mb: '%s' is not a whole number of MiB from 1 to %u\n",
              w.zly, unsigned(HistoriaMbMax));
    else
      fprintf(stderr, "tarksen: --history-mb needs a whole number of MiB from 1 to %u\n",
              unsigned(HistoriaMbMax));
    return 2;
  }
  // A scale from the environment, set once and forgotten, must not keep the program
  // from starting from a menu, where no one sees an error: it is reported, and the
  // window opens at the scale that fits. Empty is the same as unset.
  SDLScale = w.skala;
  const char* env = getenv("TARKSEN_SCALE");
  if (!SDLScale && env && *env) {
    SDLScale = ScaleFromText(env);
    if (!SDLScale)
      fprintf(stderr,
              "tarksen: TARKSEN_SCALE: '%s' is not a whole number from 1 to 8; the scale "
              "that fits is used\n",
              env);
  }
  if (w.historia_mb) historia_mb = w.historia_mb;
  uint32_t okres = ZapasOkres;
  const char* envOkres = getenv("TARKSEN_RECOVERY_MS");
  if (envOkres && *envOkres && !(okres = ZapasOkresZTekstu(envOkres))) {
    fprintf(stderr,
            "tarksen: TARKSEN_RECOVERY_MS: '%s' is not a whole number of ms from 1 to %u; "
            "the recovery copy is made every %u s\n",
            envOkres, unsigned(ZapasOkresMax), unsigned(ZapasOkres / 1000));
    okres = ZapasOkres;
  }

  SDLInit(SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  przygotuj();
  uklad();
  zapas_start(okres);
  // A picture named on the line is loaded as the "BMP" load box loads it; an alert
  // about it shows over the control screen. A copy left by a program that ended
  // without a save is offered after it: "Tak" puts it over the file's picture, one step
  // of the history back from it.
  if (w.plik) {
    menu();
    ShowE();
    upusc(w.plik);
  }
  if (!w.bez_odzysku && !Quit) zapas_oferuj();
  sterownia();
  // Only "Koniec", "Tak" discards changes not saved; a close request keeps them in the
  // recovery copy, offered at the next start.
  zapas_koniec(Quit != 0);
  sprzataj();
  return 0;
}
