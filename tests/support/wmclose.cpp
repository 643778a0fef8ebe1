// wmclose WINDOW: sends the window the WM_DELETE_WINDOW message that a window
// manager sends when the user clicks the close button (Xvfb has no window manager).
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: wmclose WINDOW\n");
    return 2;
  }
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 1;
  Window w = strtoul(argv[1], nullptr, 0);
  XEvent e = {};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = XInternAtom(d, "WM_DELETE_WINDOW", False);
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, w, False, NoEventMask, &e);
  XCloseDisplay(d);
  return 0;
}
