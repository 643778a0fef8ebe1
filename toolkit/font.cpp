#include <vector>

#include "platform/platform.h"
#include "toolkit/toolkit.h"

TOOLKIT_GLOBALS(GLOBAL_DEFINE)

void GEMInit() { GPR.font = BASFont; }

void SDLGPrint(const char* text, uint32_t count, int32_t rows, int32_t right, int32_t bottom,
               uint8_t clip) {
  static std::vector<GlyphDraw> glyphs;
  glyphs.clear();
  int32_t penX = GPR.x, penY = GPR.y;
  GPrintLayout(text, count, rows, right, bottom, clip, penX, penY, GPR.w, GPR.h, glyphs);
  SDL_Rect src = {0, 0, GPR.cell_w, GPR.cell_h};
  for (const GlyphDraw& g : glyphs) {
    src.x = GPR.cell_w * g.cell;
    SDL_Rect dst = {g.x, g.y, GPR.w, GPR.h};
    SDL_RenderCopy(SDLRenderer, GPR.font, &src, &dst);
  }
  GPR.x = penX;
  GPR.y = penY;
}
