// xdnddrop WINDOW X Y FILE...: drops the files on WINDOW at the screen position (X, Y)
// as a file manager does, by XDND (version 5, one type: text/uri-list). A window of
// its own owns XdndSelection and sends XdndEnter and XdndPosition; once the target's
// XdndStatus accepts, XdndDrop; it answers the target's request for text/uri-list with
// one file:// URI a line (the path made absolute, every byte but letters, digits, "-._~"
// and "/" percent-encoded) and ends at the target's XdndFinished. Exit code 0 when the
// target finished with the drop done, 1 when it refused, never asked for the files,
// or did not answer in time (standard error says which), 2 for a usage error. Every
// wait is for the target's reply; the time limit only ends a wait that would hang.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

constexpr int kPatienceMs = 20000;  // an answer from a sanitized program on a loaded machine

struct Atoms {
  Atom aware, selection, enter, position, status, drop, finished, leave, copy, uriList, targets;
  explicit Atoms(Display* d)
      : aware(XInternAtom(d, "XdndAware", False)),
        selection(XInternAtom(d, "XdndSelection", False)),
        enter(XInternAtom(d, "XdndEnter", False)),
        position(XInternAtom(d, "XdndPosition", False)),
        status(XInternAtom(d, "XdndStatus", False)),
        drop(XInternAtom(d, "XdndDrop", False)),
        finished(XInternAtom(d, "XdndFinished", False)),
        leave(XInternAtom(d, "XdndLeave", False)),
        copy(XInternAtom(d, "XdndActionCopy", False)),
        uriList(XInternAtom(d, "text/uri-list", False)),
        targets(XInternAtom(d, "TARGETS", False)) {}
};

std::string FileUri(const std::string& path) {
  std::string abs = path;
  if (abs.empty() || abs[0] != '/') {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) abs = std::string(cwd) + "/" + abs;
  }
  std::string uri = "file://";
  for (unsigned char c : abs) {
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
    char esc[4];
    snprintf(esc, sizeof esc, "%%%02X", c);
    uri += plain ? std::string(1, char(c)) : std::string(esc);
  }
  return uri;
}

// The XDND version the window says it speaks in its XdndAware property; 0 without one.
long AwareVersion(Display* d, Window w, Atom aware) {
  Atom type;
  int format;
  unsigned long n, after;
  unsigned char* data = nullptr;
  long version = 0;
  if (XGetWindowProperty(d, w, aware, 0, 1, False, XA_ATOM, &type, &format, &n, &after, &data) ==
          Success &&
      data && type == XA_ATOM && format == 32 && n == 1)
    version = long(*reinterpret_cast<unsigned long*>(data));
  if (data) XFree(data);
  return version;
}

void Send(Display* d, Window to, Atom type, long l0, long l1, long l2, long l3, long l4) {
  XEvent e = {};
  e.xclient.type = ClientMessage;
  e.xclient.window = to;
  e.xclient.message_type = type;
  e.xclient.format = 32;
  long l[5] = {l0, l1, l2, l3, l4};
  for (int i = 0; i < 5; i++) e.xclient.data.l[i] = l[i];
  XSendEvent(d, to, False, NoEventMask, &e);
  XFlush(d);
}

// Takes events until one satisfies done, within kPatienceMs. Each event also goes to
// serve first (the selection's requests come whenever the target sends them).
bool WaitFor(Display* d, const std::function<void(const XEvent&)>& serve,
             const std::function<bool(const XEvent&)>& done) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
  for (;;) {
    while (XPending(d)) {
      XEvent e;
      XNextEvent(d, &e);
      serve(e);
      if (done(e)) return true;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    end - std::chrono::steady_clock::now())
                    .count();
    if (left <= 0) return false;
    pollfd p = {ConnectionNumber(d), POLLIN, 0};
    poll(&p, 1, int(left));
  }
}

// Waits for the target's message of this type: its flag (data.l[1] bit 0: accepted,
// done), or -1 when none came, which standard error tells by the message's name.
int Reply(Display* d, const std::function<void(const XEvent&)>& serve, Atom type, Window from,
          const char* name) {
  int flag = -1;
  if (!WaitFor(d, serve, [&](const XEvent& e) {
        if (e.type != ClientMessage || e.xclient.message_type != type ||
            Window(e.xclient.data.l[0]) != from)
          return false;
        flag = int(e.xclient.data.l[1] & 1);
        return true;
      }))
    fprintf(stderr, "xdnddrop: no %s from the window\n", name);
  return flag;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    fprintf(stderr, "usage: xdnddrop WINDOW X Y FILE...\n");
    return 2;
  }
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    fprintf(stderr, "xdnddrop: cannot open the display\n");
    return 1;
  }
  const Window target = strtoul(argv[1], nullptr, 0), root = DefaultRootWindow(d);
  const long x = atol(argv[2]), y = atol(argv[3]);
  std::string uris;
  for (int i = 4; i < argc; i++) uris += FileUri(argv[i]) + "\r\n";
  const Atoms a(d);

  const long version = AwareVersion(d, target, a.aware);
  if (version < 5) {
    fprintf(stderr, "xdnddrop: window %s takes no drops of XDND version 5 (XdndAware: %ld)\n",
            argv[1], version);
    return 1;
  }

  // The source window, unmapped, and a server time for the selection and the drop: the
  // time of a change to one of its properties.
  const Window source = XCreateSimpleWindow(d, root, 0, 0, 1, 1, 0, 0, 0);
  XSelectInput(d, source, PropertyChangeMask);
  XChangeProperty(d, source, XA_WM_NAME, XA_STRING, 8, PropModeAppend, nullptr, 0);
  Time now = CurrentTime;
  auto ignore = [](const XEvent&) {};
  WaitFor(d, ignore, [&](const XEvent& e) {
    if (e.type != PropertyNotify) return false;
    now = e.xproperty.time;
    return true;
  });
  XSetSelectionOwner(d, a.selection, source, now);
  if (XGetSelectionOwner(d, a.selection) != source) {
    fprintf(stderr, "xdnddrop: cannot own XdndSelection\n");
    return 1;
  }

  int served = 0;
  auto serve = [&](const XEvent& e) {
    if (e.type != SelectionRequest) return;
    const XSelectionRequestEvent& r = e.xselectionrequest;
    XEvent n = {};
    n.xselection.type = SelectionNotify;
    n.xselection.requestor = r.requestor;
    n.xselection.selection = r.selection;
    n.xselection.target = r.target;
    n.xselection.time = r.time;
    n.xselection.property = None;
    const Atom into = r.property != None ? r.property : r.target;
    if (r.selection == a.selection && r.target == a.uriList) {
      XChangeProperty(d, r.requestor, into, a.uriList, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(uris.data()), int(uris.size()));
      n.xselection.property = into;
      served++;
    } else if (r.selection == a.selection && r.target == a.targets) {
      Atom list[] = {a.targets, a.uriList};
      XChangeProperty(d, r.requestor, into, XA_ATOM, 32, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(list), 2);
      n.xselection.property = into;
    }
    XSendEvent(d, r.requestor, False, NoEventMask, &n);
    XFlush(d);
  };

  Send(d, target, a.enter, long(source), 5L << 24, long(a.uriList), None, None);
  Send(d, target, a.position, long(source), 0, x << 16 | y, long(now), long(a.copy));
  const int accepted = Reply(d, serve, a.status, target, "XdndStatus");
  if (accepted < 0) return 1;
  if (!accepted) {
    Send(d, target, a.leave, long(source), 0, 0, 0, 0);
    fprintf(stderr, "xdnddrop: the window does not accept text/uri-list here\n");
    return 1;
  }

  Send(d, target, a.drop, long(source), 0, long(now), 0, 0);
  const int done = Reply(d, serve, a.finished, target, "XdndFinished");
  if (done < 0) return 1;
  if (!done || !served) {
    fprintf(stderr, "xdnddrop: the window finished %s\n",
            !done ? "refusing the drop" : "without asking for the files");
    return 1;
  }
  XDestroyWindow(d, source);
  XCloseDisplay(d);
  return 0;
}
