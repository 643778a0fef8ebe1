// tarksen-convert, the batch converter between Atari ST picture files and PNG/BMP: the
// command line (main.cpp), one file's conversion (job.cpp), the PNG and BMP codecs it
// adds to picfiles/st_core (png.cpp, bmp.cpp) and safe file reading and writing
// (files.cpp). It opens no window: SDL serves only to read BMP files, with no
// subsystem started.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "picfiles/st_core.h"

// What a file is written as.
struct OutFormat {
  enum Kind { Png, Bmp, Degas, Body } kind;  // Degas: header and palette (--size
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
  bool force = false;     // replace existing outputs
  bool nearest = false;   // map colours onto `palette`
  bool asShown = false;   // the picture as the paint program shows it
  bool havePalette = false;
  StPicture palette;      // --palette FILE, when havePalette: a picture with 16 words
  size_t degasSize = PicDegasBytes;
};

// Converts the file in to the file out; "" on success, else the reason (one line,
// without the input's name), Interrupted when a signal asked the run to stop.
std::string ConvertFile(const std::string& in, const std::string& out, const Options& opt);
inline constexpr const char* Interrupted = "interrupted";

// The 16 colours the paint program shows (its GEMColor), for the core's `shown`.
extern const uint32_t* const PaintColours;

// PNG through libpng: any PNG to r, g, b, a (16-bit channels cut to 8, grey and
// palettes expanded, alpha kept for the caller to ignore); "" or libpng's reason.
// PngFile writes img (alpha dropped) as an indexed PNG of 1, 2, 4 or 8 bits when it
// has at most 256 colours, else as 8-bit RGB.
std::string PngDecode(const uint8_t* data, size_t size, PicImage& img);
std::string PngFile(const PicImage& img, std::vector<uint8_t>& out);
// The same for w x h pixel values shown as colours[v], without looking at each
// pixel's colour: the palette holds the colours of the values that occur.
std::string PngIndexed(int32_t w, int32_t h, const uint8_t* values, const uint32_t colours[16],
                       std::vector<uint8_t>& out);
// BMP through SDL's reader, as the paint program loads one; "" or SDL's reason.
std::string BmpDecode(const uint8_t* data, size_t size, PicImage& img);

inline constexpr int MaxWorkers = 64;  // threads at most
// Reads a whole regular file of at most StMaxInputBytes; "" or the reason.
std::string ReadInput(const std::string& path, std::vector<uint8_t>& bytes);
// Whether a file or link of that name exists (a quick test before the work).
bool Exists(const std::string& path);
// Writes bytes to path with WRITEFILE (links followed, mode and owner kept), which
// fails if path exists unless replace. A failure, or a signal (Interrupted) before the
// new file is put in place, leaves no file behind and path as it was. The new name
// reaches the disk with SyncDirectory of its directory, once for many files.
std::string WriteAtomic(const std::string& path, const std::vector<uint8_t>& bytes,
                        bool replace);
std::string DirectoryOf(const std::string& path);
void SyncDirectory(const std::string& dir);
// Takes SIGINT, SIGTERM and SIGHUP as a request to stop: Stopping() then holds, no
// new file is started and no written one put into place, and DieOfSignal, after the
// workers have ended, ends the process by that signal. A second signal ends it at
// once.
void CatchSignals();
bool Stopping();
void DieOfSignal();
