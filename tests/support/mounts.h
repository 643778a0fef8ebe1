// Small file systems for tests of failing writes: a tmpfs mounted in a mount namespace
// of the test's own, so the mounts are seen only by the test and the programs it starts
// and vanish with it, whatever way it ends. Needs root (the tests run as root); where
// mounting is refused the caller skips with the reason.
#pragma once
#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <string>

// Mounts a tmpfs of `kib` KiB on dir (read-only when readOnly); a tmpfs already there is
// remounted with the new options instead, keeping its files. "" on success, else why not.
inline std::string MountTmpfs(const std::string& dir, int kib, bool readOnly = false) {
  static bool privateNamespace = false;
  if (!privateNamespace) {
    if (unshare(CLONE_NEWNS) != 0) return std::string("unshare: ") + strerror(errno);
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
      return std::string("mount --make-rprivate /: ") + strerror(errno);
    privateNamespace = true;
  }
  std::string opts = "size=" + std::to_string(kib) + "k";
  unsigned long flags = readOnly ? MS_RDONLY : 0;
  if (mount("tmpfs", dir.c_str(), "tmpfs", flags | MS_REMOUNT, opts.c_str()) == 0) return "";
  if (mount("tmpfs", dir.c_str(), "tmpfs", flags, opts.c_str()) == 0) return "";
  return "mount tmpfs on " + dir + ": " + strerror(errno);
}

// Unmounts what MountTmpfs put on dir, so the directory can be removed.
inline void Unmount(const std::string& dir) { umount2(dir.c_str(), MNT_DETACH); }
