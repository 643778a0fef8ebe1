#include "toolkit/toolkit.h"

uint32_t ColorC = 0;
uint32_t ColorB = 0;
