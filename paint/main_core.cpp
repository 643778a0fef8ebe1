#include "paint/main_core.h"

#include <cstring>

// A budget in MiB: decimal digits alone, from 1 to HistoriaMbMax; 0 for anything else.
static uint32_t megabajty(const char* s) {
  uint64_t n = 0;
  if (!*s) return 0;
  for (; *s; s++) {
    if (*s < '0' || *s > '9') return 0;
    n = n * 10 + uint64_t(*s - '0');
    if (n > HistoriaMbMax) return 0;
  }
  return uint32_t(n);
}

Wiersz Argumenty(int argc, const char* const* argv) {
  static const char opcja[] = "--history-mb";
  const size_t dl = sizeof opcja - 1;
  Wiersz w = {URUCHOM, nullptr, nullptr, 0};
  bool opcje = true;
  for (int i = 1; i < argc; i++) {
    const char* a = argv[i];
    if (opcje && a[0] == '-') {
      if (strcmp(a, "--") == 0) {
        opcje = false;
        continue;
      }
      if (strcmp(a, "--help") == 0) return {POMOC, nullptr, nullptr, 0};
      if (strcmp(a, "--version") == 0) return {WERSJA, nullptr, nullptr, 0};
      if (strncmp(a, opcja, dl) == 0 && (a[dl] == 0 || a[dl] == '=')) {
        const char* v = a[dl] == '=' ? a + dl + 1 : i + 1 < argc ? argv[++i] : nullptr;
        w.historia_mb = v ? megabajty(v) : 0;
        if (!w.historia_mb) return {ZLA_LICZBA, nullptr, v, 0};
        continue;
      }
      return {ZLE, nullptr, a, 0};
    }
    if (w.plik) return {ZLE, nullptr, a, 0};
    w.plik = a;
  }
  return w;
}
