// Test support for the web tier: the browser version in Chromium or Firefox, driven
// through tests/web/driver.mjs with the same moves as App drives the desktop program
// (tests/support/e2e.h), so that one scenario plays on both and their pixels compare.
#pragma once
#include <sys/types.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/e2e.h"

// The bytes of a file, empty if it cannot be read.
std::string ReadFile(const std::string& path);

class Browser {
 public:
  // Serves the web folder, opens it in a fresh profile of the browser name
  // ("chromium" or "firefox") and waits until the program shows its first screen.
  explicit Browser(const std::string& name = "chromium");
  ~Browser();  // ends the driver, which closes the browser and the server

  // As App's: canvas coordinates, buttons 1 left, 2 middle, 3 right, xdotool key names.
  void move(int x, int y);
  void click(int x, int y, int button = 1);
  void press(int x, int y, int button = 1);
  void release(int button = 1);
  void key(const std::string& keysym);
  // The fingers on the canvas now, at canvas coordinates: none lifts them all; a
  // finger that stays keeps its place in the list.
  void touch(const std::vector<std::pair<int, int>>& fingers);

  Shot shot();  // the canvas's pixels
  Shot waitFor(const std::function<bool(const Shot&)>& pred, int ms = 10000);
  Shot settle(int ms = 10000);

  void open(const std::string& path);  // the page's "Open…" control given this file
  // Downloads the folder's file name through the page; the downloaded bytes.
  std::string download(const std::string& name);
  void remove(const std::string& name);  // the page's Delete for the file, confirmed
  void clickPage(const std::string& id);  // a click on the page's element of that id
  // The page's value of the JavaScript expression, as JSON (a promise's once settled).
  std::string eval(const std::string& expression);
  // Chromium only: why it would not offer to install the page, a JSON list.
  std::string installable();
  // Stops the server; with a folder, serves that in its place at the same address.
  void serve(const std::string& folder = "");
  std::string files();   // the names the page lists, each followed by '/'
  std::string state();   // the page's state line
  void reload();         // and waits until the program runs again
  std::string errors();  // the page's uncaught errors, empty if none
  const std::string& dir() const { return dir_; }  // scratch room, removed with the browser
  const std::string& name() const { return name_; }

 private:
  // Sends one command; its answer's text after "ok ". Throws on "error" or if the
  // driver is gone.
  std::string ask(const std::string& command);
  pid_t driver_ = -1;
  FILE* to_ = nullptr;
  FILE* from_ = nullptr;
  std::string dir_;
  std::string name_;
};
