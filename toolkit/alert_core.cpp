#include <cstring>

#include "toolkit/toolkit_core.h"

// Takes the next non-empty piece between bars, ending it with a zero byte in place;
// null when none is left.
static char* nextPiece(char*& p) {
  while (*p == '|') p++;
  if (!*p) return nullptr;
  char* piece = p;
  while (*p && *p != '|') p++;
  if (*p) *p++ = 0;
  return piece;
}

AlertLayout AlertButtons(const char* answers, uint8_t def, int gw, int gh, char (&work)[256],
                         GEMBox (&buttons)[AlertMaxAnswers + 1]) {
  AlertLayout a = {0, 0, false};
  size_t n = 0;
  for (; n < 255 && answers[n]; n++) work[n] = answers[n];
  work[n] = 0;
  // The row starts from the byte length of everything after the first bar (labels,
  // bars, dropped answers alike), so a Polish letter widens it by a glyph.
  const char* bar = strchr(work, '|');
  int32_t after = bar ? (int32_t)(work + n - bar - 1) : 0;
  int32_t x = AlertX + AlertW / 2 - gw * after / 2;

  char* p = work;
  if (work[0] != '|' && work[0] != 0) {
    a.icon = (uint8_t)work[0];
    nextPiece(p);  // the icon's piece is no answer
  }
  for (char* label = nextPiece(p); label; label = nextPiece(p)) {
    if (a.count == AlertMaxAnswers) {
      a.tooMany = true;
      break;
    }
    uint8_t flags = BOX_ENABLED | BOX_SELECTABLE | BOX_RADIO;
    if (a.count == def) flags |= BOX_SELECTED;
    int32_t w = gw * (int32_t)strlen(label) + 2;
    buttons[a.count] = {label, flags, 1, x, AlertY + AlertH - gh - 8, w, gh + 2, 0, 0, nullptr};
    x += w + gw - 4;
    a.count++;
  }
  buttons[a.count] = GEMBox{};
  return a;
}
