// File selector: listing one directory into name entries, and the modal dialog that
// browses directories and returns a chosen file name. The dialog draws into GEMScreen.
#pragma once
#include <cstdint>

#include "filesel/filesel_core.h"
#include "toolkit/toolkit.h"

// Lists directory path (a 256-byte buffer) into entries (DIRMaxEntries of 256 bytes):
// every subdirectory (a symbolic link to one too) with DIRMarker in front, and every
// regular file that passes pattern, sorted by DIRfileCmp; "." and ".." never. dirs
// (DIRMaxEntries, may be null) is told which entries are directories: a file's name
// may begin with DIRMarker too. Returns their number, and leaves path ending in '/'.
// The 1,000th entry stops the reading with the alert "MAX FILES REACHED". A directory
// that cannot be opened gives perror's line on stderr, the alert "OPEN DIR ERROR" and
// -1; a path of 255 bytes with no room for its '/' gives FSTooLong's alert and -1;
// path, entries and dirs are then untouched. Alerts set Color white and ColorB red.
int32_t DIRarray(char* path, const char* pattern, char* entries, bool* dirs = nullptr);
// The alert "Za długa nazwa pliku" (a white "i" on red, "Powrót"): a directory and a
// name joined, or a directory and its '/', would pass 255 bytes, and the dialog does
// not cut them to fit.
void FSTooLong();

// The modal file dialog over the whole window, titled title, on directory dir (empty:
// the program's own directory, or the working directory if SDL cannot tell it), files
// filtered by pattern (copied; the user may edit the copy). name (256 bytes) holds the
// offered name and is edited in place. Returns 0 with the chosen path in name ("OK",
// Enter, a double click on a file: the directory followed by the name, or a name typed
// as an absolute path as it is); -1 for "CANCEL" (name as offered) or when dir cannot
// be listed (nothing drawn); on a quit request, the box acted on last or -1. A path
// that would pass 255 bytes (a name or a subdirectory joined to the directory) is
// refused with FSTooLong and the dialog stays. "UP" resolves the directory (realpath)
// before going to its parent, which it then shows. Creates GEMScreen if there is none.
// Leaves the render target on the window.
int32_t GEMFileSelector(const char* title, const char* dir, const char* pattern, char* name);
// Draws the dialog (background, frames, title, "Dir:", "Sel:", the boxes, the lever's
// arrows) into GEMScreen and presents it on the window; the target stays the window.
void DrawFS(const GEMBox* boxes, uint32_t count, const char* title);
