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

// A path of 256 bytes as a value, so that it can be a listed global.
struct FSPath {
  char s[256];
};
// Where the user works, as X(type, name, start value) (see platform/globals_core.h).
#define FILESEL_GLOBALS(X)                                                                \
  X(FSPath, FSLastDir, {})      /* directory of the last file loaded or saved; "" none */ \
  X(FSPath, FSLastRun, {})      /* the directory the last run kept; "" none */            \
  X(bool, FSLastRunRead, false) /* FSLastRun has been read from the state file */
FILESEL_GLOBALS(GLOBAL_EXTERN)

// The user's home directory: $HOME, else the password database's, else "/".
void FSHome(char* home);
// The base directory, ending in '/' ("BASE", and where the dialog opens on an empty
// dir): where the program was built or unpacked, its own directory (the working
// directory if SDL cannot tell it); installed (SDLInstalled), the user's pictures
// folder (XDG_PICTURES_DIR of $XDG_CONFIG_HOME/user-dirs.dirs, FSPicturesDir) when it
// is a directory, else the home directory.
void FSBaseDir(char* base);
// The program's state directory into dir (256 bytes): $XDG_STATE_HOME/tarksen when
// XDG_STATE_HOME is an absolute path, else ~/.local/state/tarksen, made (private, as the
// desktop makes it) with the directories above it where they are missing. False when
// the path does not fit; whether it could be made is for the caller's file to tell.
bool FSStateDir(char* dir);
// Where a load or a save opens (dir, 256 bytes): the directory of the file last loaded
// or saved in this run (FSLastDir), else the one the last run kept (read from
// $XDG_STATE_HOME/tarksen/katalog at the first call), else the base directory. One
// that cannot be listed is passed over without a word.
void FSStartDir(char* dir);
// A load or a save of the file at path (absolute, or relative to the working
// directory) has worked: its directory becomes FSLastDir and, when it changed, is kept
// in the state file for the next run (written whole or not at all; the state
// directories made if missing). A state file that cannot be written changes nothing.
void FSRemember(const char* path);

// The modal file dialog over the whole window, titled title, on directory dir (empty:
// the base directory, FSBaseDir), files
// filtered by pattern (copied; the user may edit the copy). name (256 bytes) holds the
// offered name and is edited in place. Returns 0 with the chosen path in name ("OK",
// Enter, a double click on a file: the directory followed by the name, or a name typed
// as an absolute path as it is); -1 for "CANCEL" (name as offered) or when dir cannot
// be listed (nothing drawn); on a quit request, the box acted on last or -1. A path
// that would pass 255 bytes (a name or a subdirectory joined to the directory) is
// refused with FSTooLong and the dialog stays. "UP" resolves the directory (realpath)
// before going to its parent, which it then shows. A directory or name typed as "~"
// or "~/..." is in the home directory; "~" or "~/" as the name goes there. While it
// waits (its fields' editing too) the wheel scrolls the list three rows a notch, Page
// Up and Page Down a page, Home and End (outside a field) to the first and the last
// entry, and Escape ends it as "CANCEL" does (GEMHabits). Creates GEMScreen if there is
// none. Leaves the render target on the window.
int32_t GEMFileSelector(const char* title, const char* dir, const char* pattern, char* name);
// Draws the dialog (background, frames, title, "Dir:", "Sel:", the boxes, the lever's
// arrows) into GEMScreen and presents it on the window; the target stays the window.
void DrawFS(const GEMBox* boxes, uint32_t count, const char* title);
