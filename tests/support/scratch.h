// Scratch directories and whole files for the tests and benchmarks of every tier: a
// directory made (checked) for one test and removed with all it holds when the test is
// done, and files read or written in one go. No gtest and no SDL here: the benchmarks
// use it too. What cannot be made throws std::runtime_error, naming the path and the
// reason; inside a test that fails the test.
#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

inline bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return fclose(f) == 0 && ok;
}

// The file's bytes; empty if it cannot be read.
inline std::vector<uint8_t> ReadBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (FILE* f = fopen(path.c_str(), "rb")) {
    uint8_t buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    fclose(f);
  }
  return bytes;
}

// The same for text, or any bytes held in a string.
inline bool WriteText(const std::string& path, const std::string& text) {
  return WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}
inline std::string ReadText(const std::string& path) {
  std::vector<uint8_t> bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

// The names in directory dir, hidden ones included, one a line in byte order, as
// `LC_ALL=C ls -A` lists them; "" if it cannot be read.
inline std::string Listing(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = std::filesystem::directory_iterator(dir, ec);
       !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
    names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  std::string out;
  for (const std::string& n : names) out += n + "\n";
  return out;
}

// A fresh directory parent/tarksen-<name>-XXXXXX, removed with everything below it
// (links are removed, never followed) when the object goes, whatever rights a test
// took away from the directories inside.
class Scratch {
 public:
  explicit Scratch(const std::string& name = "scratch", const std::string& parent = "/tmp")
      : path(make(parent + "/tarksen-" + name + "-XXXXXX")) {}
  ~Scratch() { RemoveTree(path); }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  const std::string path;

  // The path of name inside, and the directory's path ending in '/'.
  std::string operator/(const std::string& name) const { return path + "/" + name; }
  std::string slash() const { return path + "/"; }

  // Each makes name inside and returns its path.
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) const {
    if (!WriteBytes(*this / name, bytes)) fail("cannot write", *this / name);
    return *this / name;
  }
  std::string file(const std::string& name, const std::string& text = "") const {
    if (!WriteText(*this / name, text)) fail("cannot write", *this / name);
    return *this / name;
  }
  void files(const std::vector<std::string>& names) const {
    for (const std::string& n : names) file(n);
  }
  std::string dir(const std::string& name) const {
    if (mkdir((*this / name).c_str(), 0755) != 0) fail("cannot make the directory", *this / name);
    return *this / name;
  }
  std::string link(const std::string& target, const std::string& name) const {
    if (symlink(target.c_str(), (*this / name).c_str()) != 0) fail("cannot link", *this / name);
    return *this / name;
  }
  std::vector<uint8_t> read(const std::string& name) const { return ReadBytes(*this / name); }

  // Removes path and all below it. A directory a test made unreadable or unwritable
  // gets its owner's rights back first. What still cannot go is told on standard error.
  static void RemoveTree(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::remove_all(path, ec);
    if (!ec) return;
    std::error_code walk, ignored;
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (auto it = fs::recursive_directory_iterator(path, walk);
         !walk && it != fs::recursive_directory_iterator(); it.increment(walk))
      if (it->is_directory(ignored) && !it->is_symlink(ignored))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    ec.clear();
    fs::remove_all(path, ec);
    if (ec) fprintf(stderr, "cannot remove %s: %s\n", path.c_str(), ec.message().c_str());
  }

 private:
  [[noreturn]] static void fail(const char* what, const std::string& path) {
    throw std::runtime_error(std::string(what) + " " + path + ": " + strerror(errno));
  }
  static std::string make(std::string tmpl) {
    if (!mkdtemp(&tmpl[0])) fail("cannot make a scratch directory", tmpl);
    return tmpl;
  }
};
