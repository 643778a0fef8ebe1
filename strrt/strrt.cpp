#include "strrt/strrt.h"

char STRING$[256];
