#include "toolkit/toolkit_core.h"

int32_t BoxWaitStart(GEMBox* table, int32_t count) {
  int32_t selection = -1;
  for (int32_t i = 0; i < count; i++) {
    if (!(table[i].flags & BOX_SELECTED)) continue;
    if (table[i].flags & BOX_RADIO) selection = i;
    if (table[i].flags & BOX_MOMENTARY) table[i].flags &= ~BOX_SELECTED;
  }
  return selection;
}

bool BoxClick(GEMBox* table, int32_t count, int32_t x, int32_t y, int32_t& selection) {
  const uint8_t clickable = BOX_ENABLED | BOX_SELECTABLE;
  bool hit = false;
  // Every hit box is handled, so where clickable boxes overlap the last one wins.
  for (int32_t i = 0; i < count; i++) {
    GEMBox& b = table[i];
    if ((b.flags & clickable) != clickable) continue;
    if (x < b.x || x >= b.x + b.w || y < b.y || y >= b.y + b.h) continue;
    if (b.flags & BOX_TOGGLE)
      b.flags ^= BOX_SELECTED;
    else
      b.flags |= BOX_SELECTED;
    if (selection >= 0 && selection != i && (table[selection].flags & BOX_RADIO) &&
        (b.flags & BOX_RADIO))
      table[selection].flags &= ~BOX_SELECTED;
    selection = i;
    hit = true;
  }
  return hit;
}
