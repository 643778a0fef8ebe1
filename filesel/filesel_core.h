// Pure rules of the file selector: the name pattern, the entry order, the path forms,
// and the dialog's layout, lever, list picking and returned names.
#pragma once
#include <cstddef>
#include <cstdint>

#include "toolkit/toolkit_core.h"

// Entries in a listing, 256 bytes each; a directory's begins with DIRMarker.
inline constexpr int DIRMaxEntries = 1000;
inline constexpr char DIRMarker = 0x7F;

// The three strings formed from a pattern (each at most 255 bytes): the prefix a file
// name must start with, and the mark or lower mark it must contain.
struct DIRPattern {
  char prefix[256], mark[256], lower[256];
};
// Prefix: before the first '*', else before the first '.', else the whole pattern.
// Mark: from the last '.' to the last '*' behind it (or the end); empty without a '.'
// or when it is a lone '.'. Lower mark: the mark with A..Z made a..z.
void DIRPatternOf(const char* pattern, DIRPattern& p);
// Does a regular file of this name pass the pattern?
bool DIRPatternPasses(const DIRPattern& p, const char* name);
// One listed name as DIRarray sorts it: the entry and whether it is a directory, told
// by the directory itself, not by the entry's first byte (a file's name may begin
// with DIRMarker too).
struct DIRItem {
  char entry[256];
  bool dir;
};
// Sort order of two DIRItems (for SDL_qsort): directories first, then the entries'
// bytes.
int DIRfileCmp(const void* a, const void* b);
// Writes a listing entry: a file's name (at most 255 bytes) or, for a directory, the
// marker and at most 254 bytes of its name; always terminated.
void DIREntry(char* entry, const char* name, bool directory);
// The path made to end in '/': a last '\' becomes '/', else '/' is appended. False,
// path unchanged, when a path of 255 bytes has no room for it.
bool DIRNormalisePath(char* path);

// The ten boxes of the dialog and what each does.
enum FSBox {
  FS_LEVER,   // scroll area: held above or below its middle it scrolls the list
  FS_FILTER,  // the filter pattern field
  FS_DIR,     // the directory path field
  FS_NAME,    // the name field (the caller's buffer)
  FS_LIST,    // the entries from the scroll offset on
  FS_UP,
  FS_BASE,
  FS_ROOT,
  FS_OK,
  FS_CANCEL,
  FS_BOXES
};
// Lays out the ten boxes (flags 0x03) for glyphs gw x gh. The list's rows and highlight
// are the caller's (param1 0, param2 -1 here).
void FSLayout(GEMBox (&boxes)[FS_BOXES], const char* filter, const char* path, const char* name,
              const char* entries, int gw, int gh);
// Left edge of the title, centred by its byte length.
int32_t FSTitleX(const char* title, int gw);
// The lever's rectangle of the arrow above the middle (x, y, w, h); the one below is
// 50 pixels lower.
void FSArrowRect(const GEMBox& lever, int32_t rect[4]);
// One step of the held lever: the offset moved by a row for each full gh pixels the
// pointer is from the area's middle (towards zero), kept within 0 .. count - page.
int32_t FSLeverStep(const GEMBox& lever, int32_t offset, int32_t pointerY, int32_t count,
                    int32_t page, int gh);
// The entry index under pointer y in the list from the scroll offset (rows start half
// the list's spare height below its top); -1 below the last whole row.
int32_t FSListRow(const GEMBox& list, int32_t offset, int32_t pointerY, int gh);
// "UP": the path cut behind its last '/' but one. False (path unchanged) when it has no
// '/' before its last byte. The dialog resolves the path first.
bool FSUpPath(char* path);
// The name the dialog returns: dir followed by name; a name that is an absolute path
// already (starts with '/') is returned as it is. False, out unchanged, when the joined
// path would pass 255 bytes: it is never cut to fit.
bool FSResult(char* out, const char* dir, const char* name);

// Where the user works. Paths here are at most 255 bytes; a result that would be
// longer is refused, never cut.
// The folder XDG_PICTURES_DIR names in the text of a user-dirs.dirs file, as a shell
// that reads the file sees it: the last assignment wins; the value plain or in double
// quotes (with \" \\ \$ \` escapes); "$HOME" or "${HOME}" at its start is home; a
// relative value lies in home. False (out untouched) when it names none: unset, empty,
// another variable in it, a line the shell would not read so, or too long.
bool FSPicturesDir(char* out, const char* userDirs, const char* home);
// text as a typed directory or name means it: "~" alone or "~/..." is home followed by
// the rest, into out. 1 when expanded, 0 when text does not start with "~" or "~/"
// (out untouched), -1 when the result would pass 255 bytes.
int32_t FSTilde(char* out, const char* text, const char* home);
// The directory of file path, absolute and ending in '/': path up to its last '/', or
// behind cwd when relative. False when it would pass 255 bytes.
bool FSDirOf(char* out, const char* path, const char* cwd);
// The remembered directory from the state file's n bytes: one absolute path ending in
// '/' and a line feed, nothing else. False for anything else (garbled, empty, cut).
bool FSKeptDir(char* out, const char* bytes, size_t n);
// Would a save under path write a file without a name: nothing after its last '/', or
// only the offered name (".PIC", ".BMP"), in any case?
bool FSNameless(const char* path, const char* offered);
