#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "paint/main_core.h"

TEST(Argumenty, OptionsDecideLeftToRightAndOneFileIsKept) {
  struct {
    std::vector<const char*> args;
    Wywolanie want;
    const char* plik;  // URUCHOM: the file kept; else the argument at fault
    int32_t skala = 0;
    uint32_t mb = 0;  // URUCHOM: the history's budget given
    bool bezOdzysku = false;
    // clang-format off
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
      {{"--history-mb", "64", "a.PI1"}, URUCHOM, "a.PI1", 0, 64},
      {{"a.PI1", "--history-mb=1"}, URUCHOM, "a.PI1", 0, 1},
      {{"--history-mb=1048576"}, URUCHOM, nullptr, 0, 1048576},
      {{"--history-mb", "007"}, URUCHOM, nullptr, 0, 7},
      {{"--history-mb=5", "--history-mb", "9"}, URUCHOM, nullptr, 0, 9},  // the last counts
      {{"--history-mb", "0"}, ZLY_BUDZET, "0"},  // never fewer than one step: no 0
      {{"--history-mb", "1048577"}, ZLY_BUDZET, "1048577"},
      {{"--history-mb", "99999999999999999999"}, ZLY_BUDZET, "99999999999999999999"},
      {{"--history-mb", "-5"}, ZLY_BUDZET, "-5"},
      {{"--history-mb", "+5"}, ZLY_BUDZET, "+5"},
      {{"--history-mb", "12MB"}, ZLY_BUDZET, "12MB"},
      {{"--history-mb", " 5"}, ZLY_BUDZET, " 5"},
      {{"--history-mb="}, ZLY_BUDZET, ""},
      {{"--history-mb"}, ZLY_BUDZET, nullptr},  // the value is missing
      {{"--history-mb", "--help"}, ZLY_BUDZET, "--help"},  // taken as its value
      {{"--history-mbx=5"}, ZLE, "--history-mbx=5"},
      {{"--history"}, ZLE, "--history"},
      {{"--", "--history-mb"}, URUCHOM, "--history-mb"},
      {{"--scale", "2", "--history-mb", "9", "a.PI1"}, URUCHOM, "a.PI1", 2, 9},
      {{"--history-mb=3", "--scale=5"}, URUCHOM, nullptr, 5, 3},
      {{"--no-restore"}, URUCHOM, nullptr, 0, 0, true},
      {{"a.PI1", "--no-restore", "--scale=2"}, URUCHOM, "a.PI1", 2, 0, true},
      {{"--no-restore=1"}, ZLE, "--no-restore=1"},
      {{"--no-restor"}, ZLE, "--no-restor"},
      {{"--", "--no-restore"}, URUCHOM, "--no-restore"},
  };
  // clang-format on
  for (const auto& c : cases) {
    std::string line = "tarksen";
    for (const char* a : c.args) line += std::string(" ") + a;
    SCOPED_TRACE(line);
    std::vector<const char*> argv = {"tarksen"};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    Wiersz w = Argumenty(int(argv.size()), argv.data());
    EXPECT_EQ(w.rodzaj, c.want);
    const bool zly = w.rodzaj == ZLE || w.rodzaj == ZLA_SKALA || w.rodzaj == ZLY_BUDZET;
    const char* got = zly ? w.zly : w.plik;
    EXPECT_STREQ(got, c.plik);
    EXPECT_EQ(w.skala, c.skala);
    EXPECT_EQ(w.historia_mb, c.mb);
    EXPECT_EQ(w.bez_odzysku, c.bezOdzysku);
  }
}
