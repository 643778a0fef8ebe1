// Apart from the rest of the frame: X's headers name a type Display, as the frame names
// its display mode. The definition matches the declaration in platform/platform.h.
#include <SDL.h>
#include <SDL_syswm.h>

bool SDLX11Property(SDL_Window* window, const char* name, const char* type, int format,
                    const void* data, int n) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo wm;
  SDL_VERSION(&wm.version);
  if (!SDL_GetWindowWMInfo(window, &wm) || wm.subsystem != SDL_SYSWM_X11) return false;
  // libX11 is SDL's, opened again by name: the program does not link it.
  void* x11 = SDL_LoadObject("libX11.so.6");
  if (!x11) return false;
  auto intern = (Atom(*)(Display*, const char*, Bool))SDL_LoadFunction(x11, "XInternAtom");
  auto change = (int (*)(Display*, Window, Atom, Atom, int, int, const unsigned char*,
                         int))SDL_LoadFunction(x11, "XChangeProperty");
  auto flush = (int (*)(Display*))SDL_LoadFunction(x11, "XFlush");
  bool done = intern && change && flush;
  if (done) {
    Display* d = wm.info.x11.display;
    change(d, wm.info.x11.window, intern(d, name, False), intern(d, type, False), format,
           PropModeReplace, (const unsigned char*)data, n);
    flush(d);
  }
  SDL_UnloadObject(x11);
  return done;
#else
  (void)window, (void)name, (void)type, (void)format, (void)data, (void)n;
  return false;
#endif
}
