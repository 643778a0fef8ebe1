#include "tests/support/alerts.h"

#include <cstdint>

std::vector<std::string>& ShownAlerts() {
  static std::vector<std::string> texts;
  return texts;
}

extern "C" int32_t __real__Z10GEMMessageiiPKchS0_(int32_t, int32_t, const char*, uint8_t,
                                                  const char*);
extern "C" int32_t __wrap__Z10GEMMessageiiPKchS0_(int32_t dx, int32_t dy, const char* text,
                                                  uint8_t def, const char* answers) {
  ShownAlerts().push_back(text);
  return __real__Z10GEMMessageiiPKchS0_(dx, dy, text, def, answers);
}
