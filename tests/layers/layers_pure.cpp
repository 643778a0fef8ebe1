// The folders stack: strrt < platform < raster < toolkit < filesel < picfiles < paint.
// A file includes its own folder and lower ones only. The converter (convert/) and the
// build tools (tools/) include pure cores (*_core.h) only, besides the converter's own
// header; a tool that drives the program (tools/screenshot.cpp) may use the e2e helpers
// of tests/support/. This test reads every quoted include of those folders and names
// each one that breaks the rule by file and line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// Lowest first.
static const std::vector<std::string> stack = {"strrt",   "platform", "raster", "toolkit",
                                               "filesel", "picfiles", "paint"};

// The position of folder in the stack, -1 for a folder outside it.
static int layer(const std::string& folder) {
  auto it = std::find(stack.begin(), stack.end(), folder);
  return it == stack.end() ? -1 : int(it - stack.begin());
}

static std::string folderOf(const std::string& path) {
  size_t slash = path.find('/');
  return slash == std::string::npos ? "" : path.substr(0, slash);
}

static bool pureCore(const std::string& included) {
  const std::string tail = "_core.h";
  return layer(folderOf(included)) >= 0 && included.size() > tail.size() &&
         included.compare(included.size() - tail.size(), tail.size(), tail) == 0;
}

// Why the file at path (from the top of the tree) may not include `included` (as
// written between the quotes); "" when it may. A name without a folder is a file
// beside the includer.
static std::string breach(const std::string& path, const std::string& included) {
  const std::string from = folderOf(path), to = folderOf(included);
  if (to.empty() || to == from) return "";
  if (from == "convert" || from == "tools") {
    if (pureCore(included)) return "";
    if (from == "tools" && included.rfind("tests/support/", 0) == 0) return "";
    return from + "/ includes pure cores (*_core.h) only";
  }
  if (layer(to) < 0) return to + "/ is not part of the program's stack";
  if (layer(to) > layer(from)) return to + " is above " + from + " in the stack";
  return "";
}

struct Include {
  int line;
  std::string path;
};

// The quoted includes of a source text, with their line numbers: lines that are
// an #include directive (spaces allowed around '#') naming a file in quotes.
static std::vector<Include> quotedIncludes(const std::string& text) {
  std::vector<Include> out;
  std::istringstream in(text);
  std::string line;
  for (int n = 1; std::getline(in, line); n++) {
    size_t i = line.find_first_not_of(" \t");
    if (i == std::string::npos || line[i] != '#') continue;
    i = line.find_first_not_of(" \t", i + 1);
    if (i == std::string::npos || line.compare(i, 7, "include") != 0) continue;
    i = line.find_first_not_of(" \t", i + 7);
    if (i == std::string::npos || line[i] != '"') continue;
    size_t end = line.find('"', i + 1);
    if (end != std::string::npos) out.push_back({n, line.substr(i + 1, end - i - 1)});
  }
  return out;
}

TEST(Layers, RuleFollowsTheStack) {
  struct {
    const char* path;
    const char* included;
    bool allowed;
    // clang-format off
  } cases[] = {
      {"paint/draw.cpp", "raster/raster.h", true},
      {"paint/draw.cpp", "paint/paint.h", true},
      {"raster/fill.cpp", "platform/platform.h", true},
      {"raster/line_core.cpp", "raster_core.h", true},
      {"raster/fill.cpp", "paint/paint.h", false},
      {"platform/platform.cpp", "toolkit/toolkit.h", false},
      {"filesel/selector.cpp", "picfiles/picfiles.h", false},
      {"strrt/strrt.cpp", "platform/platform.h", false},
      {"paint/draw.cpp", "tests/support/gl.h", false},
      {"picfiles/pic.cpp", "convert/convert.h", false},
      {"convert/job.cpp", "convert/convert.h", true},
      {"convert/job.cpp", "picfiles/st_core.h", true},
      {"convert/job.cpp", "platform/texture_core.h", true},
      {"convert/job.cpp", "paint/paint.h", false},
      {"convert/job.cpp", "picfiles/picfiles.h", false},
      {"convert/job.cpp", "tests/support/e2e.h", false},
      {"tools/mkicon.cpp", "platform/texture_core.h", true},
      {"tools/mkicon.cpp", "paint/paint.h", false},
      {"tools/mkicon.cpp", "platform/platform.h", false},
      {"tools/screenshot.cpp", "tests/support/e2e.h", true},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " includes " + c.included);
    EXPECT_EQ(breach(c.path, c.included).empty(), c.allowed);
  }
}

TEST(Layers, ReadsQuotedIncludesOnly) {
  const std::string text =
      "#include <SDL.h>\n"
      "#include \"platform/platform.h\"\n"
      "\n"
      "  #  include   \"raster/raster.h\"  // pen settings\n"
      "// #include \"paint/paint.h\"\n"
      "int x = 0;  // #include \"toolkit/toolkit.h\"\n";
  std::vector<Include> got = quotedIncludes(text);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].line, 2);
  EXPECT_EQ(got[0].path, "platform/platform.h");
  EXPECT_EQ(got[1].line, 4);
  EXPECT_EQ(got[1].path, "raster/raster.h");
}

TEST(Layers, EveryIncludeOfTheTreeFollowsTheStack) {
  const fs::path top = TARKSEN_SOURCE;
  std::vector<std::string> folders = stack;
  folders.push_back("convert");
  folders.push_back("tools");
  for (const std::string& folder : folders) {
    SCOPED_TRACE(folder);
    int read = 0;
    for (const auto& entry : fs::recursive_directory_iterator(top / folder)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
      const std::string path = entry.path().lexically_relative(top).generic_string();
      std::ifstream in(entry.path(), std::ios::binary);
      ASSERT_TRUE(in) << "cannot read " << path;
      std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      read++;
      for (const Include& inc : quotedIncludes(text)) {
        std::string why = breach(path, inc.path);
        if (why.empty()) continue;
        ADD_FAILURE_AT(path.c_str(), inc.line) << "#include \"" << inc.path << "\": " << why;
      }
    }
    // A wrong source directory must not pass for a clean tree.
    EXPECT_GT(read, 0) << "no sources under " << (top / folder).string();
  }
}
