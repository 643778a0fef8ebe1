#include "paint/main_core.h"

#include <cstring>

#include "platform/present_core.h"

Wiersz Argumenty(int argc, const char* const* argv) {
  Wiersz w = {URUCHOM, nullptr, nullptr, 0};
  bool opcje = true;
  for (int i = 1; i < argc; i++) {
    const char* a = argv[i];
    if (opcje && a[0] == '-') {
      if (strcmp(a, "--") == 0) {
        opcje = false;
        continue;
      }
      if (strcmp(a, "--help") == 0 || strcmp(a, "-h") == 0) return {POMOC, nullptr, nullptr, 0};
      if (strcmp(a, "--version") == 0) return {WERSJA, nullptr, nullptr, 0};
      if (strcmp(a, "--scale") == 0 || strncmp(a, "--scale=", 8) == 0) {
        const char* n = a[7] == '=' ? a + 8 : i + 1 < argc ? argv[++i] : nullptr;
        w.skala = ScaleFromText(n);
        if (!w.skala) return {ZLA_SKALA, nullptr, n, 0};
        continue;
      }
      return {ZLE, nullptr, a, 0};
    }
    if (w.plik) return {ZLE, nullptr, a, 0};
    w.plik = a;
  }
  return w;
}
