// The one replace-on-write routine, for the paint program's saves and the converter's
// outputs, and the one way both open a file they read: C library and POSIX only, safe
// to call from several threads at once.
#pragma once
#include <csignal>
#include <cstddef>
#include <cstdint>

// Writes n bytes to path so that a good file there is replaced only by a complete new
// one, and only where the user could write that file itself. A symbolic link is
// followed: the file it ends at is written, the link stays. A name that exists but is
// not a regular file (directory: EISDIR; device, FIFO, socket: ENOTSUP) is refused
// before anything is opened; a file that opening for writing refuses (a read-only
// file, another user's: EACCES) is refused before anything is written. The new bytes
// go into a file beside the old one, flushed to the disk and renamed over it with the
// old file's owner, group and mode, and the directory is flushed after the rename (its
// failure is returned, the new file then in place). Where such a file could not have
// the old one's owner, group and mode (another user's file the user may write, a group
// the user is not in) or cannot be made (a directory the user may not write), the old
// file is written in place instead: room taken first (a full disk refuses before the
// old bytes go), then written, cut to length and flushed. A new file takes the umask's
// mode. With replace false a file already there is left alone with EEXIST, decided
// again in the step that puts the new one in place. When stop is given and set (by a
// signal handler) before that step, ECANCELED. Returns 0, or the errno of the failure,
// after which the old file is as it was (unless a write in place failed halfway) and
// no scratch file is left. The scratch file's name is short ("<dir>.tarksen-XXXXXX"),
// so a name of the longest length the file system takes can be written.
int WRITEFILE(const char* path, const uint8_t* data, size_t n, bool replace = true,
              const volatile sig_atomic_t* stop = nullptr);

// Opens path for reading when it names a regular file (links followed), never waiting
// for a FIFO's writer and never opening a device: the descriptor (close-on-exec), or -1
// with errno set, EISDIR for a directory and ENOTSUP for anything else that is not a
// regular file.
int OPENFILE(const char* path);
