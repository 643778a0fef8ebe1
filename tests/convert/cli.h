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
#include "tests/support/compare.h"
#include "tests/support/pnm.h"
#include "tests/support/run.h"
#include "tests/support/scratch.h"

// An image as a netpbm reader writes it, run in dir: "pngtopam x.png", "pi1toppm x.PI1".
inline Pnm Netpbm(const std::string& dir, const std::string& cmd) {
  Ran r = Shell(cmd, dir);
  EXPECT_EQ(r.code, 0) << cmd << ": " << r.err;
  Pnm p = ParsePnm(r.out);
  EXPECT_GT(p.w, 0) << cmd << " gave no image";
  return p;
}
inline std::string ConvertCommand(const std::string& args) {
  return std::string("'" TARKSEN_CONVERT_BIN "' ") + args;
}

// A scratch directory per test, and the converter and netpbm run in it.
class ConvertTest : public testing::Test {
 protected:
  std::string path(const std::string& name) const { return scratch / name; }
  std::string write(const std::string& name, const std::vector<uint8_t>& bytes) {
    return scratch.write(name, bytes);
  }
  std::vector<uint8_t> read(const std::string& name) const { return scratch.read(name); }

  Ran sh(const std::string& cmd) { return Shell(cmd, dir); }
  // Runs the converter with these arguments (shell words) in the scratch directory.
  Ran convert(const std::string& args) { return Shell(ConvertCommand(args), dir); }
  Pnm netpbm(const std::string& cmd) { return Netpbm(dir, cmd); }
  // The files of a directory of the scratch directory, hidden ones included, sorted.
  std::vector<std::string> files(const std::string& sub = ".") { return Lines(Listing(path(sub))); }
  Scratch scratch{"convert"};
  const std::string& dir = scratch.path;
};

// Compares a netpbm reading with rows of pixels, red, green and blue.
inline testing::AssertionResult SameRgb(const Pnm& actual, int w, int h,
                                        const std::vector<uint32_t>& expected) {
  if (expected.size() != size_t(w) * h)
    return testing::AssertionFailure()
           << expected.size() << " pixels expected for " << w << "x" << h;
  return SameGrid(GridOf(actual, Layout::Abgr), {w, h, expected.data(), Layout::Abgr},
                  {0xFFFFFF, 0});
}
