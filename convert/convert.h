// tarksen-convert, the batch converter between Atari ST picture files and PNG/BMP: the
// command line (main.cpp), one file's conversion (job.cpp), the BMP reader it adds to
// picfiles/st_core and picfiles/png_core (bmp.cpp) and safe file reading and writing within
// one memory budget the workers share (files.cpp). It opens no window: SDL serves only
// to read BMP files, with no subsystem started.
#pragma once
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "picfiles/png_core.h"
#include "picfiles/st_core.h"
#include "platform/texture_core.h"

class MemoryBudget;

// What a file is written as.
struct OutFormat {
  enum Kind {
    Png,
    Bmp,
    Degas,
    Body
  } kind;             // Degas: header and palette (--size
                      // applies); Body: 32,000 bytes, no header
  const char* name;   // for -f: "png", "pi1", ...
  const char* ext;    // of the output name; Atari ones in upper case, as the paint
                      // program's load command matches them
  const char* title;  // in messages: "PI1", "Doodle", ...
  int32_t planes;     // of the Atari formats
};
// The known formats; FindFormat by -f name, FormatOfName by an output name's extension
// (any case; ".DOO" is Doodle). Null when none fits.
const OutFormat* FindFormat(const std::string& name);
const OutFormat* FormatOfName(const std::string& path);

struct Options {
  const OutFormat* format = nullptr;
  bool force = false;    // replace existing outputs
  bool nearest = false;  // map colours onto `palette`
  bool asShown = false;  // the picture as the paint program shows it
  bool havePalette = false;
  StPicture palette;  // --palette FILE, when havePalette: a picture with 16 words
  size_t degasSize = PicDegasBytes;
  MemoryBudget* memory = nullptr;  // shared by the workers; none: no limit
};

// Converts the file in to the file out; "" on success, else the reason (one line,
// without the input's name), Interrupted when a signal asked the run to stop.
std::string ConvertFile(const std::string& in, const std::string& out, const Options& opt);
inline constexpr const char* Interrupted = "interrupted";

// The 16 colours the paint program shows (its GEMColor), for the core's `shown`.
extern const uint32_t* const PaintColours;

// BMP through SDL's reader, as the paint program loads one; "" or SDL's reason.
std::string BmpDecode(const uint8_t* data, size_t size, PicImage& img);

inline constexpr int MaxWorkers = 64;  // threads at most

// The memory the files being converted at once may take together, in bytes. A worker
// takes what its file needs before it reads the file and gives it back when done;
// while others hold too much it waits its turn.
class MemoryBudget {
 public:
  explicit MemoryBudget(uint64_t bytes) : total_(bytes) {}
  uint64_t total() const { return total_; }
  // Takes n bytes once they are free. False at once when n is more than the whole
  // budget, or while waiting when a signal asks the run to stop.
  bool take(uint64_t n);
  void give(uint64_t n);

 private:
  std::mutex lock_;
  std::condition_variable freed_;
  const uint64_t total_;
  uint64_t used_ = 0;
};
// The default budget: half the memory of the machine, or of the control group the
// converter runs in when that has less.
uint64_t MachineMemoryBudget();
// What converting one input may take, in bytes, from its length and its first bytes
// (PictureHeadBytes of them, fewer for a short file): the file itself and NeedPerPixel
// bytes for each pixel of its picture as a PNG or BMP header states it, or of the
// 640x400 picture of --as-shown, whichever is more (the decoded picture, its copies
// and the output file).
inline constexpr size_t PictureHeadBytes = 32;
inline constexpr uint64_t NeedPerPixel = 24;
uint64_t MemoryNeed(const uint8_t* head, size_t n, uint64_t size);

// An input opened for reading (OPENFILE): descriptor and length at opening.
struct Input {
  int fd = -1;
  uint64_t size = 0;
  Input() = default;
  Input(const Input&) = delete;
  Input& operator=(const Input&) = delete;
  ~Input();
};
// Opens a regular file of at most StMaxInputBytes; "" or the reason.
std::string OpenInput(const std::string& path, Input& in);
// The first n bytes of in (fewer for a shorter file), without moving on.
size_t PeekInput(const Input& in, uint8_t* to, size_t n);
// Reads the whole of in, which may not have grown since it was opened; "" or the reason.
std::string ReadInput(Input& in, std::vector<uint8_t>& bytes);
// Both at once, for a file read outside the budget (--palette).
std::string ReadInput(const std::string& path, std::vector<uint8_t>& bytes);
// Whether a file or link of that name exists (a quick test before the work).
bool Exists(const std::string& path);
// Writes bytes to path with WRITEFILE (links followed, owner, group and mode kept, the
// directory flushed), which fails if path exists unless replace. A failure, or a signal
// (Interrupted) before the new file is put in place, leaves no file behind and path
// as it was.
std::string WriteAtomic(const std::string& path, const std::vector<uint8_t>& bytes, bool replace);
// Where a write to path lands, to tell two spellings of one output apart from two
// outputs: the resolved directory (realpath) and the name, following a symbolic link
// the name is; path as it is when its directory cannot be resolved.
std::string ResolvedOutput(const std::string& path);
// Takes SIGINT, SIGTERM and SIGHUP as a request to stop: Stopping() then holds, no
// new file is started and no written one put into place, and DieOfSignal, after the
// workers have ended, ends the process by that signal. A second signal ends it at
// once.
void CatchSignals();
bool Stopping();
void DieOfSignal();
