// Makes the README's pictures with the e2e helper: the control screen as the program
// starts, the drawing screen after a few shapes drawn as a user would, and the
// magnifier on the edge of one of them with a few pixels painted.
// Usage: screenshot OUTDIR
#include <cstdio>
#include <string>

#include "tests/support/e2e.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: screenshot OUTDIR\n");
    return 2;
  }
  std::string dir = argv[1];
  App app;
  app.settle();
  app.savePng(dir + "/control-screen.png");

  // Two press-release-move-press shapes: a red filled ellipse and a blue circle.
  auto shape = [&](int toolX, int toolY, int colour, int x1, int y1, int x2, int y2) {
    app.click(toolX, toolY);
    app.click(8 + 25 * colour + 10, 330);
    app.click(320, 10, 3);  // right click: to the drawing screen
    app.settle();
    app.click(x1, y1);
    app.move(x2, y2);
    app.click(x2, y2);
    app.settle();
    app.click(10, 10, 3);  // back to the control screen
    app.settle();
  };
  app.click(426 + 36 * 3 + 15, 8 + 36 * 1 + 14);               // a hatched pattern
  shape(212 + 100, 152 + 28 * 4 + 12, 2, 220, 200, 340, 280);  // "Dysk", red
  shape(8 + 100, 152 + 28 * 3 + 12, 4, 420, 160, 470, 160);    // "Okrąg", blue
  app.click(320, 10, 3);
  app.settle();
  app.savePng(dir + "/drawing-screen.png");

  // The magnifier at grid step 2 on the filled ellipse's right edge, a few pixels
  // painted green.
  app.click(10, 10, 3);
  app.settle();
  app.click(8 + 100, 116 + 12);  // "Powiększenie"
  app.click(320, 10, 3);
  app.settle();
  app.key("period");
  app.key("period");
  app.settle();
  app.click(340, 200);
  app.settle();
  app.click(12 * 3 + 6, 6);  // green from the strip
  for (int i = 2; i < 14; i++) app.click(220 + 25 * i + 12, 25 * (15 - i) + 12);
  app.settle();
  app.savePng(dir + "/magnifier.png");
  return 0;
}
