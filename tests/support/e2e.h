// Test support for the e2e tier: the real tarksen binary on its own Xvfb server,
// driven with xdotool and checked with screenshots taken by ImageMagick's import.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// A screenshot of the 640x400 window: pixels 0xRRGGBB.
struct Shot {
  int w = 0, h = 0;
  std::vector<uint32_t> px;
  uint32_t at(int x, int y) const { return px[size_t(y) * w + x]; }
};

// How App starts the program.
struct Launch {
  std::string bin;        // the binary; empty for the one this tree builds
  bool withFont = true;   // BASFont.bmp in its working directory
  bool sanitized = true;  // built with the sanitizers: LSan is told which leaks to skip
  std::string font;       // the file put there as BASFont.bmp; empty for the real font
  std::vector<std::string> args;  // its command line after the program's name
};

class App {
 public:
  // Starts a private Xvfb and the program in a fresh working directory holding
  // BASFont.bmp (unless withFont is false), and waits for its window and first frame.
  explicit App(bool withFont = true);
  explicit App(const Launch& how);
  ~App();  // kills the program and the server if still running

  const std::string& dir() const { return dir_; }  // the program's working directory
  bool running();
  // Waits up to ms for the program to end; its exit code, or -1 if still running.
  int waitExit(int ms = 5000);
  void signal(int sig);  // sends sig to the program

  void move(int x, int y);  // window coordinates
  void click(int x, int y, int button = 1);
  void doubleClick(int x, int y);
  // A left click at each point in turn, in one go: as fast as the server takes them.
  void clicks(const std::vector<std::pair<int, int>>& points);
  void press(int x, int y, int button = 1);    // button down at (x, y)
  void release(int button = 1);
  // An xdotool key name (BackSpace, comma, ctrl+z), pressed times times in a row.
  void key(const std::string& keysym, int times = 1);
  // Types text (UTF-8, Polish letters included) as keys on a Polish keyboard layout.
  void type(const std::string& text);
  void closeWindow();                           // asks the window to close, as a user would

  Shot shot();
  void savePng(const std::string& path);  // the window as a PNG file
  // Takes screenshots until pred holds or ms pass; returns the last one.
  Shot waitFor(const std::function<bool(const Shot&)>& pred, int ms = 5000);
  // Waits until two screenshots 100 ms apart are equal; returns the last one.
  Shot settle(int ms = 5000);

  // What the program has written to standard output and to standard error. Both go
  // to files; what is on standard error is also shown in the test's log at the end.
  std::string output();
  std::string errors();

 private:
  void xdo(const std::string& args);
  void startServer();
  std::string grab(const std::string& out);  // import's output of the window crop
  void stop();  // kills what still runs and removes the working directory
  std::string display_, dir_, wid_;
  pid_t xvfb_ = -1, app_ = -1;
  int exitCode_ = -1;
  int winX_ = 0, winY_ = 0;
  bool polish_ = false;  // the keyboard layout set for type()
};

// Runs a shell command and returns its standard output.
std::string Sh(const std::string& cmd);

// Does the control screen show text, that is, was the font found? Looks for the ink
// of "TARKSEN 2" in the title box.
bool ShowsText(const Shot& s);
