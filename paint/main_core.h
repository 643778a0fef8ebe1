// Pure rules of main: what the command line asks for. No SDL here.
#pragma once
#include <cstdint>

enum Wywolanie : uint8_t { URUCHOM, POMOC, WERSJA, ZLE, ZLA_LICZBA };
// What a command line asks for. URUCHOM: start the program, with plik the picture
// named on the line (null if none) and historia_mb the history's budget given (0 if
// none); POMOC, WERSJA: print the help or the version; ZLE: a usage error, zly the
// argument at fault; ZLA_LICZBA: a budget that is no whole number from 1 to
// HistoriaMbMax, zly the value given (null when the line ends before it).
struct Wiersz {
  Wywolanie rodzaj;
  const char* plik;
  const char* zly;
  uint32_t historia_mb;
};

// The largest history budget taken, in MiB (a terabyte).
inline constexpr uint32_t HistoriaMbMax = 1048576;

// Reads argv[1..argc-1] left to right: "--help" and "--version" decide at once;
// "--history-mb N" or "--history-mb=N" sets the budget (the last one counts); any other
// argument starting with '-' is a usage error, except "--", after which every argument
// is a file name; a second file name is a usage error too.
Wiersz Argumenty(int argc, const char* const* argv);
