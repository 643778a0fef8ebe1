#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "paint/main_core.h"

TEST(Argumenty, OptionsDecideLeftToRightAndOneFileIsKept) {
  struct {
    std::vector<const char*> args;
    Wywolanie want;
    const char* plik;  // URUCHOM: the file kept; ZLE, ZLA_SKALA: the argument at fault
    int32_t skala = 0;
  } cases[] = {
      {{}, URUCHOM, nullptr},
      {{"obraz.PI1"}, URUCHOM, "obraz.PI1"},
      {{"--help"}, POMOC, nullptr},
      {{"--version"}, WERSJA, nullptr},
      {{"obraz.PI1", "--version"}, WERSJA, nullptr},
      {{"--help", "--bogus"}, POMOC, nullptr},  // the first option decides
      {{"--bogus", "--help"}, ZLE, "--bogus"},
      {{"-h"}, POMOC, nullptr},
      {{"-v"}, ZLE, "-v"},  // no other short forms
      {{"-hx"}, ZLE, "-hx"},
      {{"--help=1"}, ZLE, "--help=1"},
      {{"--he"}, ZLE, "--he"},  // no abbreviations
      {{"-"}, ZLE, "-"},
      {{"a.PI1", "b.PI1"}, ZLE, "b.PI1"},
      {{"--", "-x.PI1"}, URUCHOM, "-x.PI1"},  // after "--" a name may start with '-'
      {{"--", "--help"}, URUCHOM, "--help"},
      {{"--", "a", "b"}, ZLE, "b"},
      {{"--scale", "3"}, URUCHOM, nullptr, 3},
      {{"--scale=4", "a.PI1"}, URUCHOM, "a.PI1", 4},
      {{"a.PI1", "--scale", "1"}, URUCHOM, "a.PI1", 1},
      {{"--scale", "2", "--scale=8"}, URUCHOM, nullptr, 8},  // the last one counts
      {{"--scale", "9"}, ZLA_SKALA, "9"},
      {{"--scale", "0"}, ZLA_SKALA, "0"},
      {{"--scale", "x", "--help"}, ZLA_SKALA, "x"},
      {{"--scale=-2"}, ZLA_SKALA, "-2"},
      {{"--scale="}, ZLA_SKALA, ""},
      {{"--scale"}, ZLA_SKALA, nullptr},  // no value
      {{"--scale", "--help"}, ZLA_SKALA, "--help"},  // an option is no value
      {{"--scales=2"}, ZLE, "--scales=2"},
      {{"--", "--scale", "2"}, ZLE, "2"},  // a file named --scale, then a second file
  };
  for (const auto& c : cases) {
    std::string line = "tarksen";
    for (const char* a : c.args) line += std::string(" ") + a;
    SCOPED_TRACE(line);
    std::vector<const char*> argv = {"tarksen"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    Wiersz w = Argumenty(int(argv.size()), argv.data());
    EXPECT_EQ(w.rodzaj, c.want);
    const char* got = w.rodzaj == ZLE || w.rodzaj == ZLA_SKALA ? w.zly : w.plik;
    EXPECT_STREQ(got, c.plik);
    EXPECT_EQ(w.skala, c.skala);
  }
}
