// The browser keeps no recovery copy yet: the storage of paint/zapas.cpp has no place
// here, so the program never starts one (the page's shell does not call zapas_start).
#include "paint/paint.h"

bool zapas_miejsce(std::string&, std::string&, std::string& why) {
  why.clear();
  return false;
}
std::vector<ZapasPozostaly> zapas_pozostale(const std::string&, const std::string&) { return {}; }
bool zapas_przejmij(const std::string&, const std::string&) { return false; }
void zapas_zlec(ZapasZlecenie&& z) { zapas_wykonaj(z); }
void zapas_czekaj() {}
void zapas_oddaj(const std::string&, const std::string&, bool) {}
