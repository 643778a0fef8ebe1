// Pure rules of main: what the command line asks for. No SDL here.
#pragma once
#include <cstdint>

enum Wywolanie : uint8_t { URUCHOM, POMOC, WERSJA, ZLE };
// What a command line asks for. URUCHOM: start the program, with plik the picture
// named on the line (null if none); POMOC, WERSJA: print the help or the version;
// ZLE: a usage error, zly the argument at fault.
struct Wiersz {
  Wywolanie rodzaj;
  const char* plik;
  const char* zly;
};

// Reads argv[1..argc-1] left to right: "--help" and "--version" decide at once; any
// other argument starting with '-' is a usage error, except "--", after which every
// argument is a file name; a second file name is a usage error too.
Wiersz Argumenty(int argc, const char* const* argv);
