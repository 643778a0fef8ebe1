#include "paint/main_core.h"

#include <cstring>

#include "platform/present_core.h"

// A budget in MiB: decimal digits alone, from 1 to HistoriaMbMax; 0 for anything else.
static uint32_t megabajty(const char* s) {
  uint64_t n = 0;
  if (!s || !*s) return 0;
  for (; *s; s++) {
    if (*s < '0' || *s > '9') return 0;
    n = n * 10 + uint64_t(*s - '0');
    if (n > HistoriaMbMax) return 0;
  }
  return uint32_t(n);
}

// Whether argv[i] is the option nazwa, as "nazwa value" (i then moves on to the value)
// or "nazwa=value"; *v is the value, null when the line ends before it.
static bool opcja(const char* nazwa, int argc, const char* const* argv, int& i, const char** v) {
  const char* a = argv[i];
  const size_t dl = strlen(nazwa);
  if (strncmp(a, nazwa, dl) != 0 || (a[dl] != 0 && a[dl] != '=')) return false;
  *v = a[dl] == '=' ? a + dl + 1 : i + 1 < argc ? argv[++i] : nullptr;
  return true;
}

Wiersz Argumenty(int argc, const char* const* argv) {
  Wiersz w = {URUCHOM, nullptr, nullptr, 0, 0, false};
  bool opcje = true;
  for (int i = 1; i < argc; i++) {
    const char* a = argv[i];
    if (opcje && a[0] == '-') {
      if (strcmp(a, "--") == 0) {
        opcje = false;
        continue;
      }
      if (strcmp(a, "--help") == 0 || strcmp(a, "-h") == 0)
        return {POMOC, nullptr, nullptr, 0, 0, false};
      if (strcmp(a, "--version") == 0) return {WERSJA, nullptr, nullptr, 0, 0, false};
      if (strcmp(a, "--no-restore") == 0) {
        w.bez_odzysku = true;
        continue;
      }
      const char* v;
      if (opcja("--scale", argc, argv, i, &v)) {
        w.skala = ScaleFromText(v);
        if (!w.skala) return {ZLA_SKALA, nullptr, v, 0, 0, false};
        continue;
      }
      if (opcja("--history-mb", argc, argv, i, &v)) {
        w.historia_mb = megabajty(v);
        if (!w.historia_mb) return {ZLY_BUDZET, nullptr, v, 0, 0, false};
        continue;
      }
      return {ZLE, nullptr, a, 0, 0, false};
    }
    if (w.plik) return {ZLE, nullptr, a, 0, 0, false};
    w.plik = a;
  }
  return w;
}
