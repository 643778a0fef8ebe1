#include <cstring>

#include "toolkit/toolkit_core.h"

// Bytes of the character at offset p (one, or two from 0x80 up), never past the end.
static int32_t forward(const EditState& e, int32_t p) {
  return (uint8_t)e.text[p] >= 0x80 && p + 1 < e.length ? 2 : 1;
}
// Bytes of the character before offset p.
static int32_t backward(const EditState& e, int32_t p) {
  return (uint8_t)e.text[p - 1] >= 0x80 && p >= 2 ? 2 : 1;
}

// Counts taken again after every change, so they always agree with the bytes, even
// for a text that came in with stray bytes (a file name that is not UTF-8).
static void measure(EditState& e) {
  e.length = (int32_t)strlen(e.text);
  e.chars = LenUTF(e.text, 0, e.length - 1);
  e.cursorIndex = LenUTF(e.text, 0, e.cursor - 1);
}

void EditStart(EditState& e, const GEMBox& b, int gw, int gh) {
  e.text = const_cast<char*>(b.text);
  e.text[strnlen(e.text, EditMax)] = 0;
  e.cursor = 0;
  measure(e);
  if (b.param2) e.cursor = e.length;
  measure(e);
  e.first = e.firstIndex = 0;
  e.type = b.type;
  e.columns = b.w / gw;
  e.rows = b.h / gh;
  e.mx = (b.w - e.columns * gw) / 2;
  e.my = (b.h - e.rows * gh) / 2;
  e.capacity = e.type == 12 ? e.columns * e.rows : e.columns;
}

int32_t EditAcceptable(const char* text) {
  int32_t p = 0;
  while (text[p]) {
    uint8_t b = (uint8_t)text[p];
    if (b < 0x80) {
      p++;
    } else if (b >= 0xC0 && b <= 0xDF && ((uint8_t)text[p + 1] & 0xC0) == 0x80) {
      p += 2;
    } else {
      return -1;
    }
  }
  return p;
}

void EditBackspace(EditState& e) {
  if (e.cursor == 0) return;
  int32_t n = backward(e, e.cursor);
  memmove(e.text + e.cursor - n, e.text + e.cursor, (size_t)(e.length - e.cursor + 1));
  e.cursor -= n;
  measure(e);
}

void EditDelete(EditState& e) {
  if (e.cursor >= e.length) return;
  int32_t n = forward(e, e.cursor);
  memmove(e.text + e.cursor, e.text + e.cursor + n, (size_t)(e.length - e.cursor - n + 1));
  measure(e);
}

void EditLeft(EditState& e) {
  if (e.cursor == 0) return;
  e.cursor -= backward(e, e.cursor);
  measure(e);
}

void EditRight(EditState& e) {
  if (e.cursor >= e.length) return;
  e.cursor += forward(e, e.cursor);
  measure(e);
}

void EditHome(EditState& e) {
  e.cursor = 0;
  measure(e);
}

void EditEnd(EditState& e) {
  e.cursor = e.length;
  measure(e);
}

bool EditInsert(EditState& e, const char* typed) {
  int32_t n = EditAcceptable(typed);
  if (n < 0 || e.length + n > EditMax) return false;
  memmove(e.text + e.cursor + n, e.text + e.cursor, (size_t)(e.length - e.cursor + 1));
  memcpy(e.text + e.cursor, typed, (size_t)n);
  e.cursor += n;
  measure(e);
  return true;
}

bool EditReplace(EditState& e, const char* pasted) {
  if (!pasted[0] || EditAcceptable(pasted) < 0) return false;
  int32_t n = 0;
  while (pasted[n]) {
    int32_t step = (uint8_t)pasted[n] >= 0x80 ? 2 : 1;
    if (n + step > EditMax) break;
    n += step;
  }
  memcpy(e.text, pasted, (size_t)n);
  e.text[n] = 0;
  e.cursor = n;
  measure(e);
  return true;
}

void EditClear(EditState& e) {
  e.text[0] = 0;
  e.cursor = e.first = e.firstIndex = 0;
  measure(e);
}

void EditPlace(EditState& e, const GEMBox& b, int32_t px, int32_t py, int gw, int gh) {
  int32_t column = (px - b.x) / gw;
  if (e.type == 12) column += (py - b.y) / gh * e.columns;
  e.cursor = e.first;
  for (; column > 0 && e.cursor < e.length; column--) e.cursor += forward(e, e.cursor);
  measure(e);
}

// Byte offset of the character n characters before offset from (0 at the latest).
static int32_t charsBefore(const EditState& e, int32_t from, int32_t n) {
  int32_t p = from - 1;
  if (p < 0) return 0;
  int32_t q = p + LenChr(e.text, p, -n) + 1;
  return q < 0 ? 0 : q;
}

void EditScroll(EditState& e) {
  int32_t half = e.capacity / 2;
  if (e.cursorIndex < half)
    e.first = 0;
  else if (e.chars - e.cursorIndex > half)
    e.first = charsBefore(e, e.cursor, half);
  else
    e.first = charsBefore(e, e.length, e.capacity);
  if (e.first > e.cursor) e.first = e.cursor;
  e.firstIndex = e.cursorIndex - LenUTF(e.text, e.first, e.cursor - 1);
}

void EditCursorRect(const EditState& e, const GEMBox& b, int gw, int gh, int32_t rect[4]) {
  int32_t k = e.cursorIndex - e.firstIndex - 1;
  int32_t columns = e.columns > 0 ? e.columns : 1;
  if (e.type == 11) {
    rect[0] = b.x + e.mx + gw * (k + 1) - 1;
    rect[1] = b.y + e.my;
  } else {
    rect[0] = b.x + e.mx + gw * (k % columns) + gw - 1;
    rect[1] = b.y + e.my + gh * (k / columns);
  }
  rect[2] = 2;
  rect[3] = gh;
}
