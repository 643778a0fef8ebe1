// Test support for the web tier: the browser version in headless Chromium, driven
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
#include "tests/support/scratch.h"

// The moves are App's (Driver): canvas coordinates, buttons 1 left, 2 middle, 3 right,
// xdotool key names.
class Browser : public Driver {
 public:
  // Serves the web folder, opens it in a fresh profile of the browser name
  // ("chromium" or "firefox") and waits until the program shows its first screen.
  // storage "refused" or "absent": a page whose IndexedDB refuses to open, or that
  // has none; "nowebgl", "nowasm": one without WebGL or WebAssembly (driver.mjs).
  // Every move returns once the program has taken it.
  explicit Browser(const std::string& name = "chromium", const std::string& storage = "kept");
  ~Browser() override;  // ends the driver, which closes the browser and the server

  // The fingers on the canvas now, at canvas coordinates: none lifts them all; a
  // finger that stays keeps its place in the list.
  void touch(const std::vector<std::pair<int, int>>& fingers);

  Shot shot() override;  // the canvas's pixels

  void open(const std::string& path);  // the page's "Open…" control given this file
  // Downloads the folder's file name through the page; the downloaded bytes.
  // With enter, Enter is pressed on the control that has the focus instead.
  std::string download(const std::string& name, bool enter = false);
  void confirm();               // the page's next question is answered yes
  void viewport(int w, int h);  // the page gets w x h CSS pixels of the browser's window
  // Firefox: the key (xdotool's name) pressed as a user does, on the browser's window.
  void xkey(const std::string& keysym);
  void remove(const std::string& name);  // the page's Delete for the file, confirmed
  std::string files();                   // the names the page lists, each followed by '/'
  std::string state();                   // the page's state line
  void reload();                         // and waits until the program runs again
  void reloadBy(const std::string& id);  // the same by a click on the page's element id
  // The moves that follow go to the browser's tab n (0 the first); one past the last
  // opens the site in a new tab of the same browser (the same storage) and waits until
  // the program runs there.
  void tab(int n);
  // Closes the tab the moves go to, as a user who answers the question a page with
  // changes not saved asks with "Leave"; the moves go to the first tab left.
  void closeTab();
  std::string errors();                   // the page's uncaught errors, empty if none
  void clickPage(const std::string& id);  // a click on the page's element of that id
  // The page's value of the JavaScript expression, as JSON (a promise's once settled).
  std::string eval(const std::string& expression);
  // Chromium only: why it would not offer to install the page, a JSON list.
  std::string installable();
  // Stops the server; with a folder, serves that in its place at the same address.
  void serve(const std::string& folder = "");
  const std::string& dir() const { return dir_.path; }  // scratch room, removed with the browser
  const std::string& name() const { return name_; }

 private:
  void sendMove(int x, int y) override;
  void sendButton(int button, bool down) override;
  void sendKey(const std::string& keysym) override;
  // Sends one command; its answer's text after "ok ". Throws on "error" or if the
  // driver is gone.
  std::string ask(const std::string& command);
  pid_t driver_ = -1;
  FILE* to_ = nullptr;
  FILE* from_ = nullptr;
  Scratch dir_{"web"};
  std::string name_;
};
