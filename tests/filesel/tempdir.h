// A real temporary directory for the file selector's tests, removed afterwards.
#pragma once
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

class TempDir {
 public:
  TempDir() {
    char t[] = "/tmp/tarksen-dir-XXXXXX";
    if (mkdtemp(t)) path = t;
    EXPECT_FALSE(path.empty());
  }
  ~TempDir() {
    chmod(path.c_str(), 0700);
    EXPECT_EQ(system(("rm -rf '" + path + "'").c_str()), 0);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The path of name inside, and the same ending in '/'.
  std::string operator/(const std::string& name) const { return path + "/" + name; }
  std::string slash() const { return path + "/"; }

  void file(const std::string& name, const std::string& bytes = "") const {
    int fd = open((*this / name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << name;
    ASSERT_EQ(write(fd, bytes.data(), bytes.size()), (ssize_t)bytes.size());
    close(fd);
  }
  void files(const std::vector<std::string>& names) const {
    for (const auto& n : names) file(n);
  }
  void dir(const std::string& name) const {
    ASSERT_EQ(mkdir((*this / name).c_str(), 0755), 0) << name;
  }
  void link(const std::string& target, const std::string& name) const {
    ASSERT_EQ(symlink(target.c_str(), (*this / name).c_str()), 0) << name;
  }

  std::string path;
};
