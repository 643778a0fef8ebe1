#include <algorithm>

#include "convert/convert.h"
#include "picfiles/files_core.h"
#include "platform/texture_core.h"

const uint32_t* const PaintColours = GEMColor;

// An Atari format, its planes those of its extension.
static constexpr OutFormat atari(OutFormat::Kind kind, const char* name, const char* ext,
                                 const char* title) {
  return {kind, name, ext, title, PicNameOf(ext + 1)->planes};
}

static constexpr OutFormat formats[] = {
    {OutFormat::Png, "png", ".png", "PNG", 0},
    {OutFormat::Bmp, "bmp", ".bmp", "BMP", 0},
    atari(OutFormat::Degas, "pi1", ".PI1", "PI1"),
    atari(OutFormat::Degas, "pi2", ".PI2", "PI2"),
    atari(OutFormat::Degas, "pi3", ".PI3", "PI3"),
    atari(OutFormat::Body, "pic", ".PIC", "PIC"),
    atari(OutFormat::Body, "doodle", ".DOO", "Doodle"),
};

const OutFormat* FindFormat(const std::string& name) {
  for (const OutFormat& f : formats)
    if (name == f.name) return &f;
  return nullptr;
}

const OutFormat* FormatOfName(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string ext = StExtension(slash == std::string::npos ? path : path.substr(slash + 1));
  for (const OutFormat& f : formats)
    if (ext == StExtension(f.ext)) return &f;
  return nullptr;
}

static std::string baseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The colours to write: the file's own, or with asShown what the paint program shows
// after loading it (through its own reader when its name is one the paint program
// loads with LoadPIC and that reader takes the file).
static void colours(const std::vector<uint8_t>& file, const std::string& name, bool atari,
                    const StPicture& pic, const PicImage& rgb, bool asShown, PicImage& img) {
  if (!asShown) {
    if (atari)
      StColours(pic, PaintColours, img);
    else
      img = rgb;
    return;
  }
  if (!atari) {
    img.w = PicW;
    img.h = PicH;
    PicStretch(rgb, img.px);
    return;
  }
  const PicKind paint = PicKindOf(name.c_str());
  PicImage own;
  if (paint.how == PicKind::PIC_PLANES &&
      PicLoad(file.data(), file.size(), paint.planes, PaintColours, own)) {
    if (paint.planes == 0) {
      img = std::move(own);
    } else {
      img.w = PicW;
      img.h = PicH;
      PicStretch(own, img.px);
    }
    return;
  }
  StShown(pic, PaintColours, img);
}

// Holds the memory one file needs for as long as it is converted.
namespace {
struct Held {
  MemoryBudget* budget;
  uint64_t bytes = 0;
  ~Held() {
    if (budget && bytes) budget->give(bytes);
  }
};
}  // namespace

static std::string mib(uint64_t bytes) { return std::to_string((bytes + (1 << 20) - 1) >> 20); }

// Reads the file in once the memory it needs is held: what its length and header say,
// checked again against the bytes read, in case the file changed in between.
static std::string readWithin(const std::string& in, const Options& opt, Held& held,
                              std::vector<uint8_t>& file) {
  Input input;
  std::string why = OpenInput(in, input);
  if (!why.empty()) return why;
  uint8_t head[PictureHeadBytes];
  uint64_t need = MemoryNeed(head, PeekInput(input, head, sizeof head), input.size);
  if (opt.memory) {
    if (need > opt.memory->total())
      return "needs " + mib(need) + " MiB, more than the memory budget of " +
             mib(opt.memory->total()) + " MiB";
    if (!opt.memory->take(need)) return Interrupted;
    held.bytes = need;
  }
  why = ReadInput(input, file);
  if (why.empty() &&
      MemoryNeed(file.data(), std::min(file.size(), sizeof head), file.size()) > need)
    why = "changed while it was read";
  return why;
}

std::string ConvertFile(const std::string& in, const std::string& out, const Options& opt) {
  const OutFormat& f = *opt.format;
  if (!opt.force && Exists(out)) return out + " exists (--force replaces it)";
  Held held{opt.memory};
  std::vector<uint8_t> file;
  std::string why = readWithin(in, opt, held, file);
  if (!why.empty()) return why;

  const std::string name = baseName(in);
  StKind kind = StDetect(file.data(), file.size(), StExtension(name));
  StPicture pic;
  PicImage rgb;
  const bool atari = kind != StKind::Png && kind != StKind::Bmp;
  if (kind == StKind::Png)
    why = PngDecode(file.data(), file.size(), rgb);
  else if (kind == StKind::Bmp)
    why = BmpDecode(file.data(), file.size(), rgb);
  else
    why = StDecode(file.data(), file.size(), kind, StExtension(name), pic);
  if (!why.empty()) return why;

  std::vector<uint8_t> bytes;
  uint32_t valueColours[16];
  const bool degas = f.kind == OutFormat::Degas;
  if (f.kind == OutFormat::Png && atari && !opt.asShown && !opt.nearest &&
      StValueColours(pic, PaintColours, valueColours)) {
    why = PngIndexed(pic.w, pic.h, pic.values.data(), valueColours, bytes);
  } else if (f.kind == OutFormat::Png || f.kind == OutFormat::Bmp) {
    PicImage img;
    colours(file, name, atari, pic, rgb, opt.asShown, img);
    if (opt.nearest) {
      StPalette pal;
      if (!opt.havePalette || !StPaletteOf(opt.palette, opt.palette.planes, pal))
        StShownPalette(4, PaintColours, pal);
      StNearestColours(img, pal, img);
    }
    if (f.kind == OutFormat::Bmp)
      BmpFile(img, bytes);
    else
      why = PngFile(img, bytes);
  } else {
    StPicture target;
    if (atari && degas && !opt.asShown && !opt.nearest && StKeeps(pic, f.planes)) {
      target = std::move(pic);
    } else {
      PicImage img;
      colours(file, name, atari, pic, rgb, opt.asShown, img);
      // Files without palette show in the paint program's colours only.
      StPalette pal;
      if (!degas || !opt.havePalette || !StPaletteOf(opt.palette, f.planes, pal))
        StShownPalette(f.planes, PaintColours, pal);
      why =
          StFromColours(img, f.title, f.planes, opt.nearest ? &pal : nullptr, PaintColours, target);
    }
    if (why.empty()) {
      if (degas)
        StDegasFile(target, opt.degasSize, bytes);
      else
        StBodyFile(target, bytes);
    }
  }
  if (!why.empty()) return why;
  return WriteAtomic(out, bytes, opt.force);
}
