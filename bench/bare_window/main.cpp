// The yardstick for start-up: a bare SDL program that opens its 640x400 window and
// renderer as the paint program does, shows one frame in the panel's background
// colour, and waits to be closed. With --draw, the frame also has one filled rectangle
// and one texture copy, the least a program drawing anything with the renderer does:
// it shows what the OpenGL driver's first use of its shaders costs.
#include <SDL.h>
#include <string.h>

int main(int argc, char** argv) {
  // The subsystems the paint program starts.
  const Uint32 subsystems = SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK |
                            SDL_INIT_HAPTIC | SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS |
                            SDL_INIT_SENSOR;
  if (SDL_Init(subsystems) != 0) return 1;
  SDL_SetHint("SDL_RENDER_VSYNC", "1");
  SDL_Window* w = nullptr;
  SDL_Renderer* r = nullptr;
  SDL_CreateWindowAndRenderer(640, 400, 0, &w, &r);
  SDL_SetRenderDrawColor(r, 0xAF, 0xCF, 0xAF, 0);
  SDL_RenderClear(r);
  if (argc > 1 && strcmp(argv[1], "--draw") == 0) {
    SDL_Rect box = {100, 100, 50, 50};
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderFillRect(r, &box);
    SDL_Texture* t = SDL_CreateTexture(r, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, 1, 1);
    Uint32 white = 0xFFFFFFFF;
    SDL_UpdateTexture(t, nullptr, &white, 4);
    box.x = 200;
    SDL_RenderCopy(r, t, nullptr, &box);
  }
  SDL_RenderPresent(r);
  SDL_Event e;
  while (SDL_WaitEvent(&e) && e.type != SDL_QUIT) {
  }
  return 0;
}
