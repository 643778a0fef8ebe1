// Test support for the e2e tier: the real tarksen binary on its own Xvfb server,
// driven with xdotool and checked with screenshots taken by ImageMagick's import; and
// the paced moves every driver of the program shares (the web tier's Browser too).
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/run.h"
#include "tests/support/scratch.h"
#include "tests/support/screen.h"

// A user's moves on the program, for any driver: each step waits after it (Tempo) so
// the program has taken it before the next, and a scenario keeps its timing on every
// driver. A driver supplies the raw steps and the screenshot.
class Driver {
 public:
  virtual ~Driver() = default;
  void move(int x, int y);  // window coordinates
  void click(int x, int y, int button = 1);
  void press(int x, int y, int button = 1);  // button down at (x, y)
  void release(int button = 1);
  void key(const std::string& keysym);  // xdotool key name, e.g. BackSpace, comma

  virtual Shot shot() = 0;
  // Takes screenshots until pred holds or ms pass (ms < 0: the driver's patience),
  // the time taking them left out; returns the last one.
  Shot waitFor(const std::function<bool(const Shot&)>& pred, int ms = -1);
  // Waits until two screenshots 100 ms apart are equal; returns the last one.
  Shot settle(int ms = -1);

 protected:
  explicit Driver(int patience) : patience_(patience) {}
  virtual void sendMove(int x, int y) = 0;
  virtual void sendButton(int button, bool down) = 0;
  virtual void sendClick(int button);  // down and up
  virtual void sendKey(const std::string& keysym) = 0;

 private:
  const int patience_;  // ms
};

// How App starts the program.
struct Launch {
  std::string bin;                 // the binary; empty for the one this tree builds
  bool withFont = true;            // BASFont.bmp in its working directory
  bool sanitized = true;           // built with the sanitizers: LSan is told which leaks to skip
  std::string font;                // the file put there as BASFont.bmp; empty for the real font
  std::vector<std::string> args;   // its command line after the program's name
  std::string screen = "800x600";  // the size of the Xvfb screen
  bool windowManager = false;      // a window manager (openbox) on the screen first
  // NAME=value set for the program, after XDG_STATE_HOME, which is the App's own
  // (stateDir) unless set here.
  std::vector<std::string> env = {};
};

class App : public Driver {
 public:
  // Starts a private Xvfb and the program in a fresh working directory holding
  // BASFont.bmp (unless withFont is false), and waits for its window and first frame.
  explicit App(bool withFont = true);
  explicit App(const Launch& how);
  ~App() override;  // kills the program and the server if still running

  const std::string& dir() const { return dir_; }  // the program's working directory
  // The program's XDG_STATE_HOME unless the Launch set one: empty at start.
  const std::string& stateDir() const { return state_->path; }
  const std::string& window() const { return wid_; }  // the window's X id
  // Runs cmd with DISPLAY set to the program's display; its standard output.
  std::string onDisplay(const std::string& cmd);
  bool running();
  // Waits up to ms for the program to end; its exit code, or -1 if still running.
  int waitExit(int ms = 5000);
  void signal(int sig);  // sends sig to the program

  // Positions are picture positions, 0..639 and 0..399: at a scale n, the middle of the
  // n x n square that shows the pixel.
  void doubleClick(int x, int y);
  // A left click at each point in turn, in one go: as fast as the server takes them.
  void clicks(const std::vector<std::pair<int, int>>& points);
  // The key keysym pressed times times in a row, 20 ms apart.
  void keys(const std::string& keysym, int times);
  // Types text (UTF-8, Polish letters included) as keys on a Polish keyboard layout.
  void type(const std::string& text);
  void closeWindow();  // asks the window to close, as a user would
  // Drops the files on the window at picture position (x, y) as a file manager does
  // (XDND, by tests/support/xdnddrop.cpp), and returns once the program has said it is
  // done with the drop: code 0, or what went wrong on err.
  Ran drop(int x, int y, const std::vector<std::string>& files);
  // The window's title (_NET_WM_NAME) once it reads want, or as it reads after 3 s.
  std::string titleOnceItIs(const std::string& want);

  // The picture as the window shows it: at a scale n, the top-left pixel of each
  // square, so that what is checked at scale 1 reads the same.
  Shot shot() override;
  Shot windowShot();  // the whole window, pixel for pixel
  // The window's place and size on the screen, read again (after a switch to full
  // screen and back), and the picture's scale and corner in it: the largest whole
  // scale that fits, centred.
  void locate();
  int width() const { return w_; }
  int height() const { return h_; }
  int left() const { return winX_; }
  int top() const { return winY_; }
  int scale() const { return n_; }
  void savePng(const std::string& path);  // the window as a PNG file

  // What the program has written to standard output and to standard error. Both go
  // to files; what is on standard error is also shown in the test's log at the end.
  std::string output();
  std::string errors();

 private:
  void sendMove(int x, int y) override;
  void sendButton(int button, bool down) override;
  void sendClick(int button) override;
  void sendKey(const std::string& keysym) override;
  void xdo(const std::string& args);
  std::string screenAt(int x, int y) const;  // "X Y" on the screen of picture position (x, y)
  void startServer(const std::string& screen);
  std::string grab(const std::string& out);  // import's output of the window crop
  void startWindowManager();
  void stop();                      // kills what still runs and removes the working directory
  std::unique_ptr<Scratch> work_;   // the working directory
  std::unique_ptr<Scratch> state_;  // its state home
  std::string display_, dir_, wid_;
  pid_t xvfb_ = -1, app_ = -1, wm_ = -1;
  int exitCode_ = -1;
  int winX_ = 0, winY_ = 0, w_ = 640, h_ = 400;
  int n_ = 1, ox_ = 0, oy_ = 0;  // the picture's scale and corner in the window
  bool polish_ = false;          // the keyboard layout set for type()
};

// Does the control screen show text, that is, was the font found? Looks for the ink
// of "TARKSEN 2" in the title box.
bool ShowsText(const Shot& s);

// A shot enlarged n times: every pixel an n x n square.
Shot Enlarged(const Shot& s, int n);
