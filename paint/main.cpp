#include "paint/paint.h"
#include "platform/platform.h"

int main(int, char**) {
  SDLInit(0);
  przygotuj();
  uklad();
  sterownia();
  sprzataj();
  return 0;
}
