#include "platform/platform.h"

// The desktop's event pump needs no turn given: SDL gathers input itself.
void SDLYield() {}

bool SDLMayPresent() { return true; }
