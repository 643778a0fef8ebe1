// The texts of the alerts a test binary's program showed, for the binaries linked with
// GEMMessage wrapped (tests.cmake: -Wl,--wrap=_Z10GEMMessageiiPKchS0_, its mangled
// name). The wrapper lives in its own object of the support library, so binaries
// without the wrap never link it.
#pragma once
#include <string>
#include <vector>

// Every alert's text, in order; a test clears it first.
std::vector<std::string>& ShownAlerts();
