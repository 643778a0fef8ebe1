// Commands the tests run (the programs under test, netpbm, ImageMagick, xdotool...):
// one runner that waits for a shell command and keeps what it wrote on each stream,
// and the check for a tool on the PATH. No gtest and no SDL here.
#pragma once
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

// The lines of text, each without its line feed; an unfinished last line is left out.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0, nl;
  while ((nl = text.find('\n', start)) != std::string::npos) {
    lines.push_back(text.substr(start, nl - start));
    start = nl + 1;
  }
  return lines;
}

// What a command did: its exit code (128 + the signal's number if a signal ended it,
// -1 if it could not be started), what it wrote on standard output and standard
// error, and how long it took.
struct Ran {
  int code = -1;
  std::string out, err;
  double seconds = 0;
  std::vector<std::string> errLines() const { return Lines(err); }
};

// Runs cmd with /bin/sh in directory dir (the current one if empty) and waits until it
// has ended and closed both streams. Standard input is the test's own.
inline Ran Shell(const std::string& cmd, const std::string& dir = "") {
  Ran r;
  int out[2], err[2];
  if (pipe2(out, O_CLOEXEC) != 0) return r;
  if (pipe2(err, O_CLOEXEC) != 0) {
    close(out[0]), close(out[1]);
    return r;
  }
  auto t0 = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid == 0) {
    if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(126);
    dup2(out[1], 1);
    dup2(err[1], 2);
    execl("/bin/sh", "sh", "-c", cmd.c_str(), (char*)nullptr);
    _exit(127);
  }
  close(out[1]), close(err[1]);
  if (pid < 0) {
    close(out[0]), close(err[0]);
    return r;
  }
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* into[2] = {&r.out, &r.err};
  for (int open = 2; open > 0;) {
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; i++) {
      if (fds[i].fd < 0 || !fds[i].revents) continue;
      char buf[65536];
      ssize_t n = read(fds[i].fd, buf, sizeof buf);
      if (n > 0) {
        into[i]->append(buf, size_t(n));
      } else if (n == 0 || errno != EINTR) {
        close(fds[i].fd);
        fds[i].fd = -1;
        open--;
      }
    }
  }
  for (pollfd& f : fds)
    if (f.fd >= 0) close(f.fd);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  r.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  return r;
}

// Runs cmd and returns its standard output; its standard error goes on to the test's.
inline std::string Sh(const std::string& cmd) {
  Ran r = Shell(cmd);
  fputs(r.err.c_str(), stderr);
  return r.out;
}

inline bool HaveTool(const std::string& name) {
  return Shell("command -v '" + name + "'").code == 0;
}
