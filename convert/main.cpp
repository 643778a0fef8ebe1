#include <errno.h>
#include <getopt.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "convert/convert.h"

static const char* const Usage =
    "Usage: tarksen-convert [OPTION]... FILE... [-o DIR]\n"
    "Convert Atari ST pictures (DEGAS PI1-3 and PC1-3, NEOchrome, Spectrum 512 SPU and\n"
    "SPC, Doodle, GBF blocks) and PNG or BMP files into one another, many at a time.\n"
    "Each FILE is written beside it, or into DIR, under its base name with the new\n"
    "extension (.png .bmp .PI1 .PI2 .PI3 .PIC .DOO).\n"
    "\n"
    "  -f, --format=FORMAT  png, bmp, pi1, pi2, pi3, pic or doodle; without it, the\n"
    "                       extension of the output name given with -o\n"
    "  -o, --output=PATH    directory for the outputs; with a single FILE, may be the\n"
    "                       output's name\n"
    "      --force          replace existing files\n"
    "      --as-shown       the 640x400 picture the paint program shows after loading\n"
    "                       the file, in its fixed colours\n"
    "      --nearest        map each colour to the nearest of the palette (the paint\n"
    "                       program's colours, or those of --palette)\n"
    "      --palette=FILE   the palette of an Atari picture FILE (implies --nearest)\n"
    "      --size=BYTES     DEGAS files of 32066 bytes (default, which the paint program\n"
    "                       opens) or 32034\n"
    "      --memory=MIB     the memory the files converted at once may take together\n"
    "                       (default: half the machine's memory, here %llu MiB)\n"
    "  -h, --help           show this help and exit\n"
    "  -V, --version        show the version and exit\n"
    "\n"
    "Files are converted in parallel within the memory budget: each takes about its\n"
    "length and %llu bytes a pixel of its picture (PNG and BMP pictures of at most 2^26\n"
    "pixels are read), a file waits while others hold the memory it needs, and one that\n"
    "needs more than the whole budget fails.\n"
    "\n"
    "Exit status: 0 if every file was converted, 1 if any failed (the others are still\n"
    "converted), 2 for a usage error.\n";

static const char* const Program = "tarksen-convert";

static int usageError(const std::string& msg) {
  fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", Program, msg.c_str(), Program);
  return 2;
}

static bool isDirectory(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Output name of input in: its base name without extension, the format's extension,
// beside it or in dir.
static std::string outputName(const std::string& in, const std::string& dir, const OutFormat& f) {
  size_t slash = in.rfind('/');
  std::string base = slash == std::string::npos ? in : in.substr(slash + 1);
  size_t dot = base.rfind('.');
  if (dot != std::string::npos) base.erase(dot);
  std::string where = !dir.empty()                 ? dir
                      : slash == std::string::npos ? ""
                                                   : in.substr(0, slash + 1);
  if (!where.empty() && where.back() != '/') where += '/';
  return where + base + f.ext;
}

// Standard error is shared by the workers: error lines and the progress line go out
// whole, the progress line (on a terminal only) cleared before anything else.
namespace {
struct Report {
  std::mutex lock;
  bool tty = false, shown = false;
  size_t done = 0, total = 0;
  std::chrono::steady_clock::time_point last;

  void clearProgress() {
    if (shown) fputs("\r\033[K", stderr);
    shown = false;
  }
  void finished(const std::string& in, const std::string& why) {
    std::lock_guard<std::mutex> hold(lock);
    done++;
    if (!why.empty()) {
      clearProgress();
      fprintf(stderr, "%s: %s: %s\n", Program, in.c_str(), why.c_str());
    }
    auto now = std::chrono::steady_clock::now();
    if (tty && (done == total || now - last > std::chrono::milliseconds(100))) {
      last = now;
      std::string name = in.size() > 50 ? "..." + in.substr(in.size() - 47) : in;
      fprintf(stderr, "\r\033[K%zu/%zu %s", done, total, name.c_str());
      shown = true;
    }
  }
};
}  // namespace

// What the command line asks for; readCommandLine gives -1 when the run goes on, else
// the exit code (after --help or --version, or a usage error it has told).
struct CommandLine {
  Options opt;
  uint64_t memory = 0;  // bytes of the budget
  std::vector<std::string> inputs;
  std::string outDir, outFile;  // from -o: a directory, or a single output's name
  std::string paletteFile;
};

static int readOptions(int argc, char** argv, CommandLine& cl, std::string& output,
                       bool& haveOutput) {
  enum { OptForce = 256, OptNearest, OptPalette, OptAsShown, OptSize, OptMemory };
  static const option longs[] = {{"format", required_argument, nullptr, 'f'},
                                 {"output", required_argument, nullptr, 'o'},
                                 {"force", no_argument, nullptr, OptForce},
                                 {"nearest", no_argument, nullptr, OptNearest},
                                 {"palette", required_argument, nullptr, OptPalette},
                                 {"as-shown", no_argument, nullptr, OptAsShown},
                                 {"size", required_argument, nullptr, OptSize},
                                 {"memory", required_argument, nullptr, OptMemory},
                                 {"help", no_argument, nullptr, 'h'},
                                 {"version", no_argument, nullptr, 'V'},
                                 {nullptr, 0, nullptr, 0}};
  argv[0] = const_cast<char*>(Program);  // getopt names the program by it in its messages
  Options& opt = cl.opt;
  int c;
  while ((c = getopt_long(argc, argv, "f:o:hV", longs, nullptr)) != -1) {
    switch (c) {
      case 'f':
        opt.format = FindFormat(optarg);
        if (!opt.format)
          return usageError(std::string("unknown format '") + optarg +
                            "' (png, bmp, pi1, pi2, pi3, pic or doodle)");
        break;
      case 'o':
        output = optarg;
        haveOutput = true;
        break;
      case OptForce: opt.force = true; break;
      case OptNearest: opt.nearest = true; break;
      case OptPalette:
        cl.paletteFile = optarg;
        opt.nearest = true;
        break;
      case OptAsShown: opt.asShown = true; break;
      case OptSize:
        if (optarg == std::to_string(PicDegasBytes))
          opt.degasSize = PicDegasBytes;
        else if (optarg == std::to_string(PicDegasPlainBytes))
          opt.degasSize = PicDegasPlainBytes;
        else
          return usageError("--size must be " + std::to_string(PicDegasBytes) + " or " +
                            std::to_string(PicDegasPlainBytes) + ", not '" + optarg + "'");
        break;
      case OptMemory: {
        char* end;
        errno = 0;
        unsigned long long m = strtoull(optarg, &end, 10);
        if (!*optarg || *end || errno || m == 0 || m > (UINT64_MAX >> 20))
          return usageError(std::string("--memory must be a number of MiB, not '") + optarg + "'");
        cl.memory = uint64_t(m) << 20;
        break;
      }
      case 'h':
        printf(Usage, (unsigned long long)(MachineMemoryBudget() >> 20),
               (unsigned long long)NeedPerPixel);
        return 0;
      case 'V': printf("%s %s\n", Program, TARKSEN_CONVERT_VERSION); return 0;
      default: fprintf(stderr, "Try '%s --help' for more information.\n", Program); return 2;
    }
  }
  cl.inputs.assign(argv + optind, argv + argc);
  return -1;
}

static int readCommandLine(int argc, char** argv, CommandLine& cl) {
  std::string output;
  bool haveOutput = false;
  int code = readOptions(argc, argv, cl, output, haveOutput);
  if (code >= 0) return code;
  if (cl.inputs.empty()) return usageError("no input files");
  if (haveOutput && output.empty()) return usageError("-o needs a directory or file name");

  // -o is a directory when it is one (or ends in '/'), else the name of a single output.
  if (haveOutput) {
    if (isDirectory(output))
      cl.outDir = output;
    else if (output.back() == '/')
      return usageError(output + ": no such directory");
    else if (cl.inputs.size() > 1)
      return usageError(output + ": not a directory, and there are several files");
    else
      cl.outFile = output;
  }
  Options& opt = cl.opt;
  if (!opt.format && !cl.outFile.empty()) {
    opt.format = FormatOfName(cl.outFile);
    if (!opt.format) return usageError(cl.outFile + ": the extension names no format; give -f");
  }
  if (!opt.format) return usageError("no output format: give -f FORMAT");

  if (!cl.paletteFile.empty()) {
    const std::string& file = cl.paletteFile;
    std::vector<uint8_t> bytes;
    std::string why = ReadInput(file, bytes);
    std::string ext = StExtension(file.substr(file.rfind('/') + 1));
    if (why.empty())
      why = StDecode(bytes.data(), bytes.size(), StDetect(bytes.data(), bytes.size(), ext), ext,
                     opt.palette);
    if (why.empty() && opt.palette.palette.size() != 16) why = "has no palette of 16 colours";
    if (!why.empty()) return usageError(file + ": " + why);
    opt.havePalette = true;
  }
  return -1;
}

struct Job {
  std::string in, out, why;
};

// One job an input, its output named; two inputs with one output (a.pi1 and a.PI1, or
// one output spelt two ways: dd/q.pi1 and dd//q.PI1, ./x.pi1 and x.PI1) would race for
// it, so the second fails, naming the first.
static std::vector<Job> makeJobs(const CommandLine& cl) {
  std::vector<Job> jobs;
  std::map<std::string, std::string> outs;  // resolved output: its input
  for (const std::string& in : cl.inputs) {
    Job j{in, cl.outFile.empty() ? outputName(in, cl.outDir, *cl.opt.format) : cl.outFile, ""};
    auto taken = outs.emplace(ResolvedOutput(j.out), in);
    if (!taken.second) j.why = "same output " + j.out + " as " + taken.first->second;
    jobs.push_back(j);
  }
  return jobs;
}

// Converts the jobs on as many workers as pay, until all are done or a signal stops
// the run; returns how many jobs were started and counts the failed ones.
static size_t runJobs(std::vector<Job>& jobs, const Options& opt, Report& report,
                      size_t& failedCount) {
  std::atomic<size_t> next{0}, failed{0};
  auto work = [&] {
    for (size_t i; !Stopping() && (i = next++) < jobs.size();) {
      Job& j = jobs[i];
      if (j.why.empty()) j.why = ConvertFile(j.in, j.out, opt);
      if (!j.why.empty()) failed++;
      report.finished(j.in, j.why == Interrupted ? "" : j.why);
    }
  };
  // Two workers a core: while one waits for its file to reach the disk, the other
  // converts.
  size_t workers = std::min<size_t>(
      {2 * std::max(1u, std::thread::hardware_concurrency()), jobs.size(), size_t(MaxWorkers)});
  std::vector<std::thread> threads;
  try {
    for (size_t t = 1; t < workers; t++) threads.emplace_back(work);
  } catch (const std::system_error&) {
    // Fewer threads than asked for still convert every file.
  }
  work();
  for (std::thread& t : threads) t.join();
  failedCount = failed;
  return std::min<size_t>(next, jobs.size());
}

int main(int argc, char** argv) {
  CommandLine cl;
  int code = readCommandLine(argc, argv, cl);
  if (code >= 0) return code;
  std::vector<Job> jobs = makeJobs(cl);

  MemoryBudget budget(cl.memory ? cl.memory : MachineMemoryBudget());
  cl.opt.memory = &budget;
  CatchSignals();
  Report report;
  report.tty = isatty(STDERR_FILENO);
  report.total = jobs.size();
  size_t failed = 0;
  size_t started = runJobs(jobs, cl.opt, report, failed);

  // Files never started were not converted.
  report.clearProgress();
  size_t converted = 0;
  for (size_t i = 0; i < started; i++) converted += jobs[i].why.empty();
  fprintf(stderr, "%zu converted, %zu failed\n", converted, failed);
  DieOfSignal();
  return failed ? 1 : 0;
}
