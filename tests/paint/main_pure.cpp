#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "paint/main_core.h"

TEST(Argumenty, OptionsDecideLeftToRightAndOneFileIsKept) {
  struct {
    std::vector<const char*> args;
    Wywolanie want;
    const char* plik;  // URUCHOM: the file kept; ZLE: the argument at fault
  } cases[] = {
      {{}, URUCHOM, nullptr},
      {{"obraz.PI1"}, URUCHOM, "obraz.PI1"},
      {{"--help"}, POMOC, nullptr},
      {{"--version"}, WERSJA, nullptr},
      {{"obraz.PI1", "--version"}, WERSJA, nullptr},
      {{"--help", "--bogus"}, POMOC, nullptr},  // the first option decides
      {{"--bogus", "--help"}, ZLE, "--bogus"},
      {{"-h"}, ZLE, "-h"},  // no short forms
      {{"--help=1"}, ZLE, "--help=1"},
      {{"--he"}, ZLE, "--he"},  // no abbreviations
      {{"-"}, ZLE, "-"},
      {{"a.PI1", "b.PI1"}, ZLE, "b.PI1"},
      {{"--", "-x.PI1"}, URUCHOM, "-x.PI1"},  // after "--" a name may start with '-'
      {{"--", "--help"}, URUCHOM, "--help"},
      {{"--", "a", "b"}, ZLE, "b"},
  };
  for (const auto& c : cases) {
    std::string line = "tarksen";
    for (const char* a : c.args) line += std::string(" ") + a;
    SCOPED_TRACE(line);
    std::vector<const char*> argv = {"tarksen"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    Wiersz w = Argumenty(int(argv.size()), argv.data());
    EXPECT_EQ(w.rodzaj, c.want);
    const char* got = w.rodzaj == ZLE ? w.zly : w.plik;
    EXPECT_STREQ(got, c.plik);
  }
}
