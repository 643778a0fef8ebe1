#include <cstdio>
#include <cstring>

#include "strrt/strrt.h"

char STRING$[256];

// The most text a string buffer holds before its zero and length byte.
static const size_t textMax = 254;

static size_t textLen(const char* t) { return strnlen(t, textMax + 1); }

char* Str$(double v) {
  int n = snprintf(STRING$, 255, "%.16lG", v);
  STRING$[255] = (char)(n < 0 ? 0 : (size_t)n > textMax ? textMax : (size_t)n);
  return STRING$;
}

void ADD$(char* dst, const char* src) {
  size_t l1 = (uint8_t)dst[255], l2 = (uint8_t)src[255];
  if (l1 > textMax) l1 = textMax;
  size_t allowed = l2;
  if (l1 + l2 > textMax) {
    allowed = textMax - l1;
    puts("Add$: too long text");
  }
  // Appended at the terminator, and never past byte 254 whatever the length bytes say.
  size_t at = textLen(dst);
  if (at > textMax) at = textMax;
  size_t n = strnlen(src, allowed);
  if (at + n > textMax) n = textMax - at;
  memmove(dst + at, src, n);
  dst[at + n] = 0;
  dst[255] = (char)(l1 + allowed);
}

char* Cat$(const char* a, const char* b) {
  size_t l1 = textLen(a), l2 = textLen(b);
  if (l1 > textMax) l1 = textMax;
  size_t allowed = l2;
  if (l1 + l2 > textMax) {
    allowed = textMax - l1;
    puts("Cat$: too long text");
  }
  // b is set aside first: it may lie in STRING$ (a Chr$ result) where a is copied to.
  char tail[textMax + 1];
  memcpy(tail, b, allowed);
  memmove(STRING$, a, l1);
  memcpy(STRING$ + l1, tail, allowed);
  STRING$[l1 + allowed] = 0;
  STRING$[255] = (char)(l1 + allowed);
  return STRING$;
}

char* Chr$(uint8_t c) {
  STRING$[253] = (char)c;
  STRING$[254] = 0;
  STRING$[255] = c ? 1 : 0;
  return STRING$ + 253;
}

// count bytes of src from start (never past its 256 bytes) into dst, a zero after them.
static void copyMid(char* dst, const char* src, size_t start, size_t count, size_t srcSize) {
  size_t n = start < srcSize ? srcSize - start : 0;
  if (n > count) n = count;
  memmove(dst, src + start, n);
  memset(dst + n, 0, count - n + 1);
}

void LETMID$(char* dst, const char* src, uint32_t start, uint32_t count) {
  uint32_t l = (uint8_t)src[255];
  if (start >= l || (uint64_t)start + count > l) puts("LetMid$: range exceeded");
  if (count > textMax) count = textMax;
  copyMid(dst, src, start, count, 256);
  dst[255] = (char)count;
}

char* Mid$(const char* text, uint32_t start, uint32_t count) {
  size_t l = strlen(text);
  if (start >= l || (uint64_t)start + count > l) puts("Mid$: range exceeded");
  if (count > textMax) count = textMax;
  // Bytes past the terminator are the caller's buffer, copied as they lie (STRING$'s
  // own are bounded by its size).
  size_t size = text >= STRING$ && text < STRING$ + 256 ? STRING$ + 256 - text : SIZE_MAX;
  copyMid(STRING$, text, start, count, size);
  STRING$[255] = (char)count;
  return STRING$;
}

char* Mk$(const char* text) {
  size_t l = textLen(text);
  if (l > textMax) l = textMax;
  memmove(STRING$, text, l);
  memset(STRING$ + l, 0, 256 - l);
  STRING$[255] = (char)l;
  return STRING$;
}

void LowerCase(char* text) {
  for (; *text; text++)
    if (*text >= 'A' && *text <= 'Z') *text += 'a' - 'A';
}

void UpperCase(char* text) {
  for (; *text; text++)
    if (*text >= 'a' && *text <= 'z') *text -= 'a' - 'A';
}

int32_t ROUNDFC(double v, float up, float down) {
  // Outside the 32-bit range (and NaN) the conversion below would be undefined.
  if (!(v > -2147483648.0)) return v != v ? 0 : INT32_MIN;
  if (v >= 2147483647.0) return INT32_MAX;
  int32_t i = (int32_t)v;
  if (v >= 0) return v - i > up ? i + 1 : i;
  return i - v > down ? i - 1 : i;
}

void PakEncode(const uint8_t* src, size_t n, std::vector<uint8_t>& out) {
  out.clear();
  for (size_t i = 0; i < n;) {
    size_t run = 1;
    while (run < 256 && i + run < n && src[i + run] == src[i]) run++;
    out.push_back(src[i]);
    out.push_back((uint8_t)(run - 1));
    i += run;
  }
}

size_t PakDecode(const uint8_t* data, size_t n, uint8_t* dst, size_t size, bool& overrun) {
  overrun = false;
  size_t w = 0;
  for (size_t i = 0; i + 1 < n; i += 2) {
    size_t copies = (size_t)data[i + 1] + 1;
    if (copies > size - w) {
      copies = size - w;
      overrun = true;
    }
    if (copies) memset(dst + w, data[i], copies);
    w += copies;
    if (overrun) break;
  }
  return w;
}
