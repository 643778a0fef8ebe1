#include "raster/raster.h"

uint8_t lin_r = 0;
uint8_t lin_szer = 1;
double VALUE = 0;
