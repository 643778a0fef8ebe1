// String runtime: the shared 256-byte string buffer, string routines that return their
// results in it, ASCII case changes, and whole files packed as (value, extra) byte pairs.
// Misuse is told in one line on standard output and the routine carries on.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

// WRITEFILE, the replace-on-write routine of every save, and OPENFILE, the one way a
// file to be read is opened, are declared there.
#include "strrt/file_core.h"

// String buffer: 256 bytes, a text of at most 254 bytes and its zero in bytes 0..254,
// the text's length in byte 255.

// Default text-input buffer (SDLTEXT$ points here at start) and the result of Str$,
// Cat$, Chr$, Mid$ and Mk$: each call overwrites the last result; all zero at start.
extern char STRING$[256];
// The stream of the packed-file routines while one of them runs; null otherwise.
extern FILE* BASFILE;

// v formatted with "%.16lG" (at most 254 bytes).
char* Str$(double v);
// Appends src's text to dst's, both string buffers, and sets dst's length byte; past
// 254 bytes the rest is dropped with "Add$: too long text".
void ADD$(char* dst, const char* src);
// a followed by b (a may be STRING$ itself, b a Chr$ result); past 254 bytes the rest of
// b is dropped with "Cat$: too long text". Texts of at most 254 bytes.
char* Cat$(const char* a, const char* b);
// The one-byte text c (empty for 0) at bytes 253 and 254 of STRING$, length byte 1
// (0 for c = 0). Survives Cat$ with a first text of up to 252 bytes.
char* Chr$(uint8_t c);
// count bytes of string buffer src from byte start into string buffer dst, a zero after
// them, dst's length byte = count. "LetMid$: range exceeded" when they pass src's
// length byte; copied anyway, as far as src's 256 bytes go. count at most 254.
void LETMID$(char* dst, const char* src, uint32_t start, uint32_t count);
// count bytes of text from byte start (at most 254; "Mid$: range exceeded" when they
// pass the text's end, copied anyway from the caller's buffer).
char* Mid$(const char* text, uint32_t start, uint32_t count);
// A copy of text (at most 254 bytes kept), the rest of STRING$ zeroed.
char* Mk$(const char* text);
// The ASCII letters of text changed in place; bytes from 0x80 up are left alone.
void LowerCase(char* text);
void UpperCase(char* text);
// v rounded: up by one past the fraction up (v >= 0), down by one past down (v < 0),
// else truncated towards zero.
int32_t ROUNDFC(double v, float up, float down);

// Unpacks the packed file at path into dst, which holds size bytes. Never writes past
// size: a file that unpacks to more, or that cannot be opened, is told in one line on
// standard output, and dst keeps what fitted. A lone last byte is ignored.
void READPAKFILE(const char* path, uint8_t* dst, size_t size);
// The length of an open stream in bytes; its position is unchanged.
int32_t SIZEFILE(FILE* f);
// Writes the n bytes of src packed to path with WRITEFILE. A file that cannot be
// written is told in one line on standard output. n = 0 writes an empty file.
void WRITEPAKFILE(const char* path, const uint8_t* src, uint32_t n);
// Pure packed coding. Each run of equal bytes becomes pairs (value, copies - 1) of at
// most 256 copies each.
void PakEncode(const uint8_t* src, size_t n, std::vector<uint8_t>& out);
// Unpacks n bytes of packed data into dst (size bytes); returns the bytes written and
// sets overrun when the data unpacks to more than size. A lone last byte is ignored.
size_t PakDecode(const uint8_t* data, size_t n, uint8_t* dst, size_t size, bool& overrun);
