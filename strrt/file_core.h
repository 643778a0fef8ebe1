// The one replace-on-write routine, for the paint program's saves and the converter's
// outputs: C library and POSIX only, safe to call from several threads at once.
#pragma once
#include <csignal>
#include <cstddef>
#include <cstdint>

// Writes n bytes to path so that a good file there is replaced only by a complete new
// one: written beside it in the same directory, flushed to the disk, then renamed over
// it, keeping the old file's mode (and owner, where allowed); a new file takes the
// umask's mode. A symbolic link is followed: the file it ends at is replaced, the link
// stays. A name that exists but is not a regular file (directory: EISDIR; device, FIFO,
// socket: ENOTSUP) is refused before anything is written. With replace false a file
// already there is left alone with EEXIST, decided again in the step that puts the new
// one in place. When stop is given and set (by a signal handler) before that step,
// ECANCELED. Returns 0, or the errno of the failure, after which the old file is as it
// was and no scratch file is left.
int WRITEFILE(const char* path, const uint8_t* data, size_t n, bool replace = true,
              const volatile sig_atomic_t* stop = nullptr);
