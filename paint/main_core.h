// Pure rules of main: what the command line asks for. No SDL here.
#pragma once
#include <cstdint>

enum Wywolanie : uint8_t { URUCHOM, POMOC, WERSJA, ZLE, ZLA_SKALA, ZLY_BUDZET };
// What a command line asks for. URUCHOM: start the program, with plik the picture
// named on the line (null if none), skala the window's scale 1..8 (0 if none was
// given) and historia_mb the history's budget (0 if none was given); POMOC, WERSJA:
// print the help or the version; ZLE: a usage error, zly the argument at fault;
// ZLA_SKALA: --scale with zly its value that is no scale; ZLY_BUDZET: --history-mb with
// zly its value that is no whole number from 1 to HistoriaMbMax (zly null for both
// when the value is missing).
struct Wiersz {
  Wywolanie rodzaj;
  const char* plik;
  const char* zly;
  int32_t skala;
  uint32_t historia_mb;
  bool bez_odzysku;  // --no-restore: no recovery copy is offered at start
};

// The largest history budget taken, in MiB (a terabyte).
inline constexpr uint32_t HistoriaMbMax = 1048576;

// Reads argv[1..argc-1] left to right: "--help" (or "-h") and "--version" decide at
// once; "--scale N" or "--scale=N" sets the scale, "--history-mb N" or "--history-mb=N" the
// history's budget (for each the last one given counts), "--no-restore" sets
// bez_odzysku; any other argument starting
// with '-' is a usage error, except "--", after which every argument is a file name; a
// second file name is a usage error too.
Wiersz Argumenty(int argc, const char* const* argv);
