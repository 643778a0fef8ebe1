#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "paint/main_core.h"

TEST(Argumenty, OptionsDecideLeftToRightAndOneFileIsKept) {
  struct {
    std::vector<const char*> args;
    Wywolanie want;
    const char* plik;  // URUCHOM: the file kept; ZLE, ZLA_LICZBA: the argument at fault
    uint32_t mb = 0;   // URUCHOM: the history's budget given
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
      {{"--history-mb", "64", "a.PI1"}, URUCHOM, "a.PI1", 64},
      {{"a.PI1", "--history-mb=1"}, URUCHOM, "a.PI1", 1},
      {{"--history-mb=1048576"}, URUCHOM, nullptr, 1048576},
      {{"--history-mb", "007"}, URUCHOM, nullptr, 7},
      {{"--history-mb=5", "--history-mb", "9"}, URUCHOM, nullptr, 9},  // the last counts
      {{"--history-mb", "0"}, ZLA_LICZBA, "0"},  // never fewer than one step: no 0
      {{"--history-mb", "1048577"}, ZLA_LICZBA, "1048577"},
      {{"--history-mb", "99999999999999999999"}, ZLA_LICZBA, "99999999999999999999"},
      {{"--history-mb", "-5"}, ZLA_LICZBA, "-5"},
      {{"--history-mb", "+5"}, ZLA_LICZBA, "+5"},
      {{"--history-mb", "12MB"}, ZLA_LICZBA, "12MB"},
      {{"--history-mb", " 5"}, ZLA_LICZBA, " 5"},
      {{"--history-mb="}, ZLA_LICZBA, ""},
      {{"--history-mb"}, ZLA_LICZBA, nullptr},  // the value is missing
      {{"--history-mb", "--help"}, ZLA_LICZBA, "--help"},  // taken as its value
      {{"--history-mbx=5"}, ZLE, "--history-mbx=5"},
      {{"--history"}, ZLE, "--history"},
      {{"--", "--history-mb"}, URUCHOM, "--history-mb"},
  };
  for (const auto& c : cases) {
    std::string line = "tarksen";
    for (const char* a : c.args) line += std::string(" ") + a;
    SCOPED_TRACE(line);
    std::vector<const char*> argv = {"tarksen"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    Wiersz w = Argumenty(int(argv.size()), argv.data());
    EXPECT_EQ(w.rodzaj, c.want);
    const char* got = w.rodzaj == ZLE || w.rodzaj == ZLA_LICZBA ? w.zly : w.plik;
    EXPECT_STREQ(got, c.plik);
    EXPECT_EQ(w.historia_mb, c.mb);
  }
}
