// Shared by the drawing-screen gl tests: the drawing screen's state on a white
// picture, expected pictures, and a paced player of events for the freehand tool.
#pragma once
#include <atomic>
#include <functional>
#include <initializer_list>
#include <thread>
#include <utility>
#include <vector>

#include "paint/paint.h"
#include "platform/platform.h"
#include "raster/raster.h"
#include "tests/support/gl.h"
#include "tests/support/shapes.h"

// The drawing screen as do_ekranu leaves it: a white picture on GEMScreen, its undo
// copy equal to it, no grid, target GEMScreen, colour kolor, blend of mode tryb.
class DrawingScreen : public GLTest {
 protected:
  void SetUp() override {
    GLTest::SetUp();
    ClearTarget(kra$, 0);
    Wipe();
  }
  void TearDown() override { SDL_SetRenderDrawBlendMode(SDLRenderer, SDL_BLENDMODE_NONE); }
  // Takes up kolor and tryb as they are now.
  static void Enter() {
    SDL_SetRenderTarget(SDLRenderer, GEMScreen);
    SDLDrawColor(GEMColor[kolor]);
    SDL_SetRenderDrawBlendMode(SDLRenderer, tryb_b[tryb]);
  }
  // A tool as pracownia starts it: left press at (px, py).
  static void Pressed(int px, int py) {
    x = px;
    y = py;
    k = 1;
  }
  // Clears the picture and its undo copy to white again (ClearTarget leaves the
  // draw colour white, so the state is taken up again).
  static void Wipe() {
    ClearTarget(GEMScreen, GEMColor[0]);
    ClearTarget(rob_e$, GEMColor[0]);
    Enter();
  }
  static Image Picture() { return ReadPixels(GEMScreen); }
  static Image White() { return Image(640, 400, GEMColor[0]); }
  // The white picture with pts in colour kolor.
  static Image WhiteWith(const Points& pts) {
    Image img = White();
    for (auto [px, py] : pts) img.at(px, py) = GEMColor[kolor];
    return img;
  }
  // What draw() leaves on a white picture, drawn straight with the primitives; the
  // picture is white again afterwards.
  static Image Reference(const std::function<void()>& draw) {
    Wipe();
    draw();
    Image img = Picture();
    Wipe();
    return img;
  }
};

// The events a user gives between two presses: release, move, then press there.
inline void ReleaseMovePress(int px, int py, uint8_t button = SDL_BUTTON_LEFT) {
  PushButton(false, SDL_BUTTON_LEFT, px, py);
  PushMotion(px, py);
  PushButton(true, button, px, py);
}

// A user's steps, one event each, for Player.
using Steps = std::vector<std::function<void()>>;
inline std::function<void()> Press(int px, int py, uint8_t button = SDL_BUTTON_LEFT) {
  return [=] { PushButton(true, button, px, py); };
}
inline std::function<void()> Release(int px, int py) {
  return [=] { PushButton(false, SDL_BUTTON_LEFT, px, py); };
}
inline std::function<void()> Move(int px, int py, uint32_t held = 0) {
  return [=] { PushMotion(px, py, held); };
}
inline std::function<void()> Click(int px, int py) {
  return [=] { PushClick(SDL_BUTTON_LEFT, px, py); };
}
inline std::function<void()> Key(SDL_Keycode sym, uint16_t mod = 0) {
  return [=] { PushKey(sym, false, mod); };
}
// Press at (x1, y1), release, move to (x2, y2) and press there.
inline Steps TwoPoints(int x1, int y1, int x2, int y2) {
  return {Press(x1, y1), Release(x1, y1), Move(x2, y2), Press(x2, y2), Release(x2, y2)};
}
inline Steps operator+(Steps a, const Steps& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Plays steps (each pushes one event) from its own thread, one step for each time the
// program blocks for an event with an empty queue, as a user acting slower than the
// program would; so the freehand tool's drain of piled-up events never eats a step.
// The last step repeats so until the player is destroyed.
class Player {
 public:
  explicit Player(std::vector<std::function<void()>> steps)
      : steps_(std::move(steps)), thread_([this] { run(); }) {}
  ~Player() {
    stop_ = true;
    thread_.join();
  }

 private:
  void run() {
    size_t i = 0;
    uint64_t fed = 0;  // waits entered when the last step was pushed
    while (!stop_ && !steps_.empty()) {
      bool idle = !SDL_HasEvents(SDL_FIRSTEVENT, SDL_POLLSENTINEL - 1);
      if (idle && WaitingForEvent() && (i == 0 || WaitsEntered() > fed)) {
        fed = WaitsEntered();
        steps_[i < steps_.size() ? i : steps_.size() - 1]();
        i++;
      }
      SDL_Delay(1);
    }
  }
  std::vector<std::function<void()>> steps_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};
