#include "paint/main_core.h"

#include <cstring>

Wiersz Argumenty(int argc, const char* const* argv) {
  Wiersz w = {URUCHOM, nullptr, nullptr};
  bool opcje = true;
  for (int i = 1; i < argc; i++) {
    const char* a = argv[i];
    if (opcje && a[0] == '-') {
      if (strcmp(a, "--") == 0) {
        opcje = false;
        continue;
      }
      if (strcmp(a, "--help") == 0) return {POMOC, nullptr, nullptr};
      if (strcmp(a, "--version") == 0) return {WERSJA, nullptr, nullptr};
      return {ZLE, nullptr, a};
    }
    if (w.plik) return {ZLE, nullptr, a};
    w.plik = a;
  }
  return w;
}
