// The recovery copy's storage on the desktop: the state directory, the locks that tell
// a living program's copy from a left one, and the writer's thread.
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "filesel/filesel.h"
#include "paint/paint.h"
#include "paint/zapas_core.h"
#include "picfiles/picfiles.h"
#include "strrt/strrt.h"

static int wlasnyZamek = -1;  // this program's lock, held for the whole run
// Where this program's copy is written: set by zapas_miejsce before the writer first
// runs, and read-only from then on.
static std::string katalogKopii, wlasnaKopia;

static std::string zamek(const std::string& katalog, const std::string& base) {
  return katalog + "/" + base + ".lock";
}

// Is the lock of the copy base free (its program gone)? A copy without a lock file has
// none to hold it. With keep, a free lock stays taken by this program: its descriptor
// is returned (or -2 for a copy without one); -1 when another program holds it.
static int wolny(const std::string& katalog, const std::string& base, bool keep) {
  int fd = open(zamek(katalog, base).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return errno == ENOENT ? -2 : -1;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return -1;
  }
  if (!keep) close(fd);
  return keep ? fd : -2;
}

// Removes what kills and crashes left in the state directory (ZapasRodzaj): scratch
// files of writes cut short, once old, and locks that no program holds beside no copy.
static void posprzataj(const std::string& katalog, const std::string& wlasna) {
  DIR* d = opendir(katalog.c_str());
  if (!d) return;
  const time_t teraz = time(nullptr);
  while (dirent* e = readdir(d)) {
    std::string base;
    const ZapasSmiec r = ZapasRodzaj(e->d_name, base);
    const std::string plik = katalog + "/" + e->d_name;
    struct stat st;
    if (r == ZapasSmiec::NIC || base == wlasna || lstat(plik.c_str(), &st) != 0 ||
        !S_ISREG(st.st_mode))
      continue;
    if (r == ZapasSmiec::SKRAWEK) {
      if (teraz - st.st_mtime > ZapasSkrawekWiek) unlink(plik.c_str());
      continue;
    }
    // The lock is held while its copy is looked for: only its own program writes the
    // copy, and a starting program offering it would hold the lock.
    const int fd = wolny(katalog, base, true);
    if (fd < 0) continue;
    if (lstat((katalog + "/" + base + ".png").c_str(), &st) != 0 && errno == ENOENT)
      unlink(plik.c_str());
    close(fd);
  }
  closedir(d);
}

bool zapas_miejsce(std::string& katalog, std::string& wlasna, std::string& why) {
  char dir[256];
  if (!FSStateDir(dir)) {
    why = "no state directory: the path is too long";
    return false;
  }
  katalog = dir;
  // Why it is missing, if it is: FSStateDir makes it quietly.
  if (mkdir(dir, 0700) != 0 && errno != EEXIST) {
    why = strerror(errno);
    return false;
  }
  // The lock is taken on a scratch file, which then gets the lock's name: a lock file
  // is never seen unlocked while its program lives.
  std::string tmp = katalog + "/.odzysk-XXXXXX";
  int fd = mkstemp(&tmp[0]);
  if (fd < 0 || flock(fd, LOCK_EX) != 0) {
    why = strerror(errno);
    if (fd >= 0) close(fd), unlink(tmp.c_str());
    return false;
  }
  int err = EEXIST;
  const uint64_t id = uint64_t(time(nullptr));
  for (uint64_t i = 0; i < 1000 && err == EEXIST; i++) {
    wlasna = ZapasNazwa(getpid(), id + i);
    err = link(tmp.c_str(), zamek(katalog, wlasna).c_str()) == 0 ? 0 : errno;
  }
  unlink(tmp.c_str());
  if (err) {
    why = strerror(err);
    close(fd);
    return false;
  }
  fcntl(fd, F_SETFD, FD_CLOEXEC);
  wlasnyZamek = fd;
  katalogKopii = katalog;
  wlasnaKopia = wlasna;
  posprzataj(katalog, wlasna);
  return true;
}

std::vector<ZapasPozostaly> zapas_pozostale(const std::string& katalog, const std::string& wlasna) {
  std::vector<ZapasPozostaly> p;
  DIR* d = opendir(katalog.c_str());
  if (!d) return p;
  while (dirent* e = readdir(d)) {
    std::string base;
    struct stat st;
    if (!ZapasZNazwy(e->d_name, base) || base == wlasna) continue;
    if (lstat((katalog + "/" + e->d_name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (wolny(katalog, base, false) == -1) continue;
    p.push_back({base, int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec});
  }
  closedir(d);
  ZapasKolejnosc(p);
  return p;
}

bool zapas_przejmij(const std::string& katalog, const std::string& base) {
  // Held until the program ends (the descriptor is not kept: it closes with the process).
  return wolny(katalog, base, true) != -1;
}

std::string zapas_czytaj(const std::string& katalog, const std::string& base, PicImage& obraz,
                         PicImage& blok) {
  const std::string plik = katalog + "/" + base + ".png";
  const size_t most = size_t(1) << 30;
  std::vector<uint8_t> bajty;
  if (!PicReadFile(plik.c_str(), most, bajty)) return SDL_GetError();  // names the file
  if (bajty.size() > most) return plik + ": too large";
  std::string why = ZapasCzytaj(bajty.data(), bajty.size(), obraz, blok);
  return why.empty() ? why : plik + ": " + why;
}

void zapas_usun(const std::string& katalog, const std::string& base) {
  unlink((katalog + "/" + base + ".png").c_str());
  unlink(zamek(katalog, base).c_str());
}

void zapas_oddaj(const std::string& katalog, const std::string& wlasna, bool usun) {
  if (wlasnyZamek < 0) return;
  if (usun) unlink(zamek(katalog, wlasna).c_str());
  close(wlasnyZamek);
  wlasnyZamek = -1;
}

// The writer's side: the block's PNG as last written.
static std::vector<uint8_t> blokPng;
static bool maBlok = false;

void zapas_wykonaj(ZapasZlecenie& z) {
  const std::string plik = katalogKopii + "/" + wlasnaKopia + ".png";
  bool zrobione = true;
  if (z.zapisz) {
    if (z.blok == 0) maBlok = false;
    std::string why;
    if (z.blok == 1) {
      why = ZapasBlok(z.blokPx, blokPng);
      maBlok = why.empty();
    }
    std::vector<uint8_t> bajty;
    if (why.empty()) why = ZapasPlik(z.obraz.data(), maBlok ? &blokPng : nullptr, bajty);
    if (why.empty()) {
      int err = WRITEFILE(plik.c_str(), bajty.data(), bajty.size());
      if (err) why = strerror(err);
    }
    if (!why.empty()) zapas_powiedz(plik, why);
    zrobione = why.empty();
  } else if (unlink(plik.c_str()) != 0 && errno != ENOENT) {
    zrobione = false;
  }
  if (zrobione && !z.poprzednik.empty()) zapas_usun(katalogKopii, z.poprzednik);
}

// The writer: one thread, started with the first job, that takes the jobs one at a
// time; a job handed on while the last waits untaken replaces it (ZapasScal). Made on
// the heap and never destroyed, so exit (a signal's end) finds them whole.
namespace {
struct Pisarz {
  std::mutex m;
  std::condition_variable cv;
  ZapasZlecenie czeka;
  bool jest = false, pracuje = false;
};
}  // namespace
static Pisarz* pisarz = nullptr;

static void pracuj() {
  // The termination signals go to the main thread, which ends the program for them.
  sigset_t s;
  sigemptyset(&s);
  for (int sig : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&s, sig);
  pthread_sigmask(SIG_BLOCK, &s, nullptr);
  for (;;) {
    ZapasZlecenie z;
    {
      std::unique_lock<std::mutex> l(pisarz->m);
      pisarz->cv.wait(l, [] { return pisarz->jest; });
      z = std::move(pisarz->czeka);
      pisarz->jest = false;
      pisarz->pracuje = true;
    }
    zapas_wykonaj(z);
    std::lock_guard<std::mutex> l(pisarz->m);
    pisarz->pracuje = false;
    pisarz->cv.notify_all();
  }
}

void zapas_zlec(ZapasZlecenie&& z) {
  if (!pisarz) {
    pisarz = new Pisarz;
    std::thread(pracuj).detach();
  }
  std::lock_guard<std::mutex> l(pisarz->m);
  if (pisarz->jest) ZapasScal(pisarz->czeka, z);
  pisarz->czeka = std::move(z);
  pisarz->jest = true;
  pisarz->cv.notify_all();
}

void zapas_czekaj() {
  if (!pisarz) return;
  std::unique_lock<std::mutex> l(pisarz->m);
  pisarz->cv.wait(l, [] { return !pisarz->jest && !pisarz->pracuje; });
}
