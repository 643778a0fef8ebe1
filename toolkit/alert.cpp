#include <cstdio>

#include "platform/platform.h"
#include "raster/raster.h"
#include "toolkit/toolkit.h"

void GEMIconColors() {
  Color = 0xFFFFFFFF;
  ColorB = RGBA(0xFF, 0, 0, 0);
}

int32_t GEMMessage(int32_t dx, int32_t dy, const char* text, uint8_t def, const char* answers) {
  char work[256];
  GEMBox buttons[AlertMaxAnswers + 1];
  AlertLayout a = AlertButtons(answers, def, GPR.w, GPR.h, work, buttons);

  SDLTargetWindow();
  ColorC = 0xFFAFCFAF;
  SDLDrawColor(ColorC);
  DST = {AlertX, AlertY, AlertW, AlertH};
  SDL_RenderFillRect(SDLRenderer, &DST);
  ColorC = 0xFF000000;
  SDLDrawColor(ColorC);
  DrawRect(DST.x, DST.y, DST.w, DST.h);
  DST = {AlertX + 2, AlertY + 2, AlertW - 4, AlertH - 4};
  DrawRect(DST.x, DST.y, DST.w, DST.h);

  if (a.icon) {
    SDLDrawColor(ColorB);
    DrawCircleF(AlertX + AlertW / 2, AlertY + 30, 20);
    GEMTextColor(Color);
    SRC = {GPR.cell_w * (a.icon - 32), 0, GPR.cell_w, GPR.cell_h};
    DST = {AlertX + AlertW / 2 - 15, AlertY + 15, 32, 32};
    SDL_RenderCopy(SDLRenderer, GPR.font, &SRC, &DST);
  }
  for (int32_t i = 0; i < a.count; i++) GEMDrawBox(buttons[i]);
  if (a.tooMany) puts("GEMMessage: Too many answers.");

  GEMTextColor(0);
  GPR.x = AlertX + dx;
  GPR.y = AlertY + dy;
  SDLGPrint(text, 0xFFFFFFFF, 1, AlertX + AlertW - GPR.w, AlertY + AlertH - GPR.h - 8, 0);
  SDLPresent();

  int32_t answer = GEMWaitBoxClick(buttons, a.count, 0);
  InKey = 0;
  return answer;
}
