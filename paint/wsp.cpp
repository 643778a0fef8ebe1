#include "paint/draw_core.h"
#include "paint/paint.h"
#include "platform/platform.h"
#include "raster/raster.h"

// The thin preview of the shape between the points, on the current target.
static void podglad(const int32_t* p) {
  switch (co / 2) {
    case 1:  // line, polyline
      DrawLine(p[0], p[1], p[2], p[3]);
      break;
    case 2: {  // frame, filled rectangle: the points are opposite corners, either way round
      SDL_Rect r = {p[0], p[1], p[2] - p[0] + 1, p[3] - p[1] + 1};
      DrawRect(r.x, r.y, r.w, r.h);
      break;
    }
    case 3:  // circle, disc
      DrawCircle(p[0], p[1], promien(p[0], p[1], p[2], p[3]));
      break;
    case 4:  // ellipse, filled ellipse
      ellipse(p[0], p[1], p[2] - p[0], p[3] - p[1], 0);
      break;
    default: break;
  }
}

void wsp(int32_t* p) {
  uint8_t styl = lin_r, szer = lin_szer;
  lin_szer = 1;
  lin_r = 0;
  p[0] = x;
  p[1] = y;
  SDLTargetWindow();
  puszczenie();
  // The second point is the one of the last frame shown, not that of the ending press.
  do {
    p[2] = x;
    p[3] = y;
    SDL_RenderCopy(SDLRenderer, GEMScreen, nullptr, nullptr);
    if (kr > 0) SDL_RenderCopy(SDLRenderer, kra$, nullptr, nullptr);
    podglad(p);
    SDLPresent();
    cz_mysz();
  } while (k == 0);
  SDL_SetRenderTarget(SDLRenderer, GEMScreen);
  puszczenie();
  lin_r = styl;
  lin_szer = szer;
}
