// Test support for tarksen-convert: a scratch directory, running the binary and the
// netpbm tools, and reading netpbm images, the independent reader of every output.
#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tests/picfiles/picmake.h"
#include "tests/picfiles/stmake.h"
#include "tests/support/pnm.h"

inline bool HaveTool(const char* name) {
  return std::system(("command -v " + std::string(name) + " >/dev/null 2>&1").c_str()) == 0;
}

// A PPM (P6, maxval 255) of RGB pixels.
inline std::vector<uint8_t> Ppm(int w, int h, const std::vector<uint32_t>& px) {
  std::string head = "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n";
  std::vector<uint8_t> f(head.begin(), head.end());
  for (uint32_t c : px) f.insert(f.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
  return f;
}

// A PBM (P4) of pixel values, 1 black.
inline std::vector<uint8_t> Pbm(int w, int h, const std::vector<uint8_t>& values) {
  std::string head = "P4\n" + std::to_string(w) + " " + std::to_string(h) + "\n";
  std::vector<uint8_t> f(head.begin(), head.end());
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x += 8) {
      uint8_t b = 0;
      for (int i = 0; i < 8 && x + i < w; i++)
        if (values[size_t(y) * w + x + i]) b |= uint8_t(0x80 >> i);
      f.push_back(b);
    }
  return f;
}

// The result of one command: exit code, standard output and standard error.
struct Ran {
  int code = -1;
  std::string out, err;
  // The lines of standard error.
  std::vector<std::string> errLines() const {
    std::vector<std::string> lines;
    size_t start = 0, nl;
    while ((nl = err.find('\n', start)) != std::string::npos) {
      lines.push_back(err.substr(start, nl - start));
      start = nl + 1;
    }
    return lines;
  }
};

// Runs a shell command in directory dir.
inline Ran Shell(const std::string& dir, const std::string& cmd) {
  Ran r;
  std::string full = "cd '" + dir + "' && { " + cmd + "; } >.out 2>.err";
  int status = std::system(full.c_str());
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::vector<uint8_t> out = ReadBytes(dir + "/.out"), err = ReadBytes(dir + "/.err");
  r.out.assign(out.begin(), out.end());
  r.err.assign(err.begin(), err.end());
  unlink((dir + "/.out").c_str());
  unlink((dir + "/.err").c_str());
  return r;
}
// An image as a netpbm reader writes it, run in dir: "pngtopam x.png", "pi1toppm x.PI1".
inline Pnm Netpbm(const std::string& dir, const std::string& cmd) {
  Ran r = Shell(dir, cmd + " > .pnm");
  EXPECT_EQ(r.code, 0) << cmd << ": " << r.err;
  Pnm p = ParsePnm(ReadBytes(dir + "/.pnm"));
  unlink((dir + "/.pnm").c_str());
  EXPECT_GT(p.w, 0) << cmd << " gave no image";
  return p;
}
inline std::string ConvertCommand(const std::string& args) {
  return std::string("'" TARKSEN_CONVERT_BIN "' ") + args;
}

// A scratch directory per test, and the converter and netpbm run in it.
class ConvertTest : public testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/tarksen-convert-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
  }
  void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

  std::string path(const std::string& name) const { return dir + "/" + name; }
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
    EXPECT_TRUE(WriteBytes(path(name), bytes)) << name;
    return path(name);
  }
  std::vector<uint8_t> read(const std::string& name) const { return ReadBytes(path(name)); }

  Ran sh(const std::string& cmd) { return Shell(dir, cmd); }
  // Runs the converter with these arguments (shell words) in the scratch directory.
  Ran convert(const std::string& args) { return Shell(dir, ConvertCommand(args)); }
  Pnm netpbm(const std::string& cmd) { return Netpbm(dir, cmd); }
  // The files of a directory of the scratch directory, hidden ones included, sorted.
  std::vector<std::string> files(const std::string& sub = ".") {
    Ran r = sh("ls -A '" + sub + "' | sort");
    std::vector<std::string> names;
    size_t start = 0, nl;
    while ((nl = r.out.find('\n', start)) != std::string::npos) {
      std::string n = r.out.substr(start, nl - start);
      if (n != ".out" && n != ".err") names.push_back(n);
      start = nl + 1;
    }
    return names;
  }
  std::string dir;
};

// Compares two images pixel for pixel (RGB): on failure the count of wrong pixels and
// the first.
inline testing::AssertionResult SameRgb(const Pnm& actual, int w, int h,
                                        const std::vector<uint32_t>& expected) {
  if (actual.w != w || actual.h != h)
    return testing::AssertionFailure() << actual.w << "x" << actual.h << ", expected " << w << "x" << h;
  size_t wrong = 0, first = 0;
  for (size_t i = 0; i < expected.size(); i++)
    if ((actual.px[i] & 0xFFFFFF) != (expected[i] & 0xFFFFFF) && !wrong++) first = i;
  if (!wrong) return testing::AssertionSuccess();
  char buf[120];
  snprintf(buf, sizeof buf, "%zu wrong pixels; first at (%zu, %zu): expected %06X, got %06X", wrong,
           first % w, first / w, expected[first] & 0xFFFFFF, actual.px[first] & 0xFFFFFF);
  return testing::AssertionFailure() << buf;
}

