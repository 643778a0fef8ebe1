#include <cstdio>
#include <cstring>

#include "picfiles/png_core.h"
#include "picfiles/st_core.h"

static uint16_t be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }
static uint32_t le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// "32,066": lengths as the messages write them.
static std::string number(uint64_t n) {
  char text[32];  // 20 digits and 6 commas at most
  char* p = text + sizeof text;
  for (int digits = 0; digits == 0 || n; digits++, n /= 10) {
    if (digits && digits % 3 == 0) *--p = ',';
    *--p = char('0' + n % 10);
  }
  return std::string(p, size_t(text + sizeof text - p));
}
static std::string bytes(uint64_t n) { return number(n) + (n == 1 ? " byte" : " bytes"); }

// The kinds whose files have fixed lengths: detection, decoding and the messages that
// name the lengths all read them here.
struct Lengths {
  const char* picture;  // in messages
  size_t n[2];          // one or two lengths; 0 for none
};
static const Lengths DegasLengths = {"a DEGAS picture", {PicDegasPlainBytes, PicDegasBytes}};
static const Lengths BodyLengths = {"a screen without header", {PicBodyBytes, 0}};
static const Lengths NeoLengths = {"a NEOchrome picture", {StNeoBytes, 0}};
static const Lengths SpuLengths = {"a Spectrum 512 picture", {StSpuBytes, 0}};

static bool hasLength(const Lengths& k, size_t size) {
  return size == k.n[0] || (k.n[1] && size == k.n[1]);
}
// "32,034 or 32,066"
static std::string lengths(const Lengths& k) {
  return k.n[1] ? number(k.n[0]) + " or " + number(k.n[1]) : number(k.n[0]);
}
// "32,033 bytes: a DEGAS picture has 32,034 or 32,066"
static std::string wrongLength(size_t size, const Lengths& k) {
  return bytes(size) + ": " + k.picture + " has " + lengths(k);
}

static std::string format(const char* fmt, int a, int b = 0) {
  char buf[160];
  snprintf(buf, sizeof buf, fmt, a, b);
  return buf;
}

std::string StExtension(const std::string& name) {
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return "";
  std::string ext = name.substr(dot + 1);
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return ext;
}

// The planes a 32,000-byte body has under extension ext (upper case); 0 for none.
static int32_t bodyPlanes(const std::string& ext) {
  const PicName* name = PicNameOf(ext.c_str());
  return name ? name->planes : 0;
}

static bool isDegasName(const std::string& ext) {
  const PicName* name = PicNameOf(ext.c_str());
  return name && name->degas;
}
static bool isPackedName(const std::string& ext) {
  return ext == "PC1" || ext == "PC2" || ext == "PC3";
}

// An SPC header whose two lengths lie within the file; "SP" alone is too weak a sign.
static bool spcHeader(const uint8_t* file, size_t size) {
  if (size < StSpcHeaderBytes || file[0] != 'S' || file[1] != 'P' || be16(file + 2) != 0)
    return false;
  PicReader r{file, size, 4};
  uint64_t data = r.u32be(), colours = r.u32be();
  return StSpcHeaderBytes + data + colours <= size;
}

StKind StDetect(const uint8_t* file, size_t size, const std::string& ext) {
  if (size >= 8 && memcmp(file, PngSignature, 8) == 0) return StKind::Png;
  if (size >= 18 && file[0] == 'B' && file[1] == 'M') {
    uint32_t info = le32(file + 14);  // the size of the header after the file header
    if (info == 12 || info == 40 || info == 52 || info == 56 || info == 64 || info == 108 ||
        info == 124)
      return StKind::Bmp;
  }
  if (ext == "GBF") return StKind::Gbf;
  if (spcHeader(file, size)) return StKind::Spc;
  if (hasLength(SpuLengths, size)) return StKind::Spu;
  uint16_t word0 = size >= 2 ? be16(file) : 0;
  if (hasLength(NeoLengths, size) && be16(file + 2) <= 2) return StKind::Neo;
  // DEGAS leaves the other bits of the resolution word for later use; a name that says
  // DEGAS may use them, content alone must show a plain resolution.
  if (hasLength(DegasLengths, size) && !(word0 & 0x8000) && (isDegasName(ext) || word0 <= 2))
    return StKind::Degas;
  if (hasLength(BodyLengths, size) && bodyPlanes(ext)) return StKind::Body;
  if (size >= PicDegasBodyAt && (word0 & 0x8000) && (isPackedName(ext) || word0 <= 0x8002))
    return StKind::DegasPacked;
  return StKind::Unknown;
}

// What an unknown file failed to be, judged by its name.
static std::string whyUnknown(const uint8_t* file, size_t size, const std::string& ext) {
  const PicName* name = PicNameOf(ext.c_str());
  if (name && name->planes) {
    if (std::string(name->picture) == "Doodle")
      return bytes(size) + ": a Doodle picture has " + lengths(BodyLengths) + ", a DEGAS one " +
             lengths(DegasLengths);
    return wrongLength(size, DegasLengths) + ", " + BodyLengths.picture + " " +
           lengths(BodyLengths);
  }
  if (isPackedName(ext))
    return format("no compressed DEGAS header (resolution word 0x%04X)",
                  size >= 2 ? be16(file) : 0);
  if (ext == "NEO") {
    if (!hasLength(NeoLengths, size)) return wrongLength(size, NeoLengths);
    return format("not a NEOchrome header (resolution word %d)", be16(file + 2));
  }
  if (ext == "SPU") return wrongLength(size, SpuLengths);
  if (ext == "SPC") {
    if (size < StSpcHeaderBytes || file[0] != 'S' || file[1] != 'P')
      return "no Spectrum 512 header (\"SP\")";
    if (be16(file + 2) != 0)
      return format("not a Spectrum 512 header (reserved word 0x%04X)", be16(file + 2));
    return "truncated: the header's lengths run past the end of the file";
  }
  if (ext == "PNG") return "not a PNG file";
  if (ext == "BMP") return "not a BMP file";
  if (hasLength(BodyLengths, size)) {
    // The names that give a body its planes: ".PI1, .PI2 or .DOO".
    std::string names;
    for (const PicName& n : PicNames)
      if (n.planes) names += std::string(names.empty() ? "" : ", ") + "." + n.ext;
    names.replace(names.rfind(", "), 2, " or ");
    return bytes(size) + " without header: name it " + names + " to give its planes";
  }
  return "unknown file type";
}

// The values of a PicBodyBytes body of `planes` planes (1, 2 or 4) at body.
static void screen(StPicture& pic, int32_t planes, const uint8_t* body) {
  const PicScreen& s = *PicScreenOf(planes);
  pic.planes = planes;
  pic.w = s.w();
  pic.h = s.rows;
  pic.values.resize(size_t(pic.w) * size_t(pic.h));
  PicPlanes(body, s.lineBytes, s.rows, planes, pic.values.data());
}

static void readWords(PicReader& r, std::vector<uint16_t>& words, size_t n) {
  words.resize(n);
  for (uint16_t& w : words) w = r.u16be();
}

// Plane count of a DEGAS resolution word by its low two bits; 0 for 3, which names no
// screen.
static int32_t planesOfResolution(uint16_t word) {
  return (word & 3) < 3 ? PicScreens[word & 3].planes : 0;
}

// Puts the L bytes of plane p of one row into that row of a body of P planes: byte k
// lies in word k / 2 of the row's groups of P words.
static void putPlaneRow(const uint8_t* line, int32_t L, int32_t P, int32_t p, uint8_t* row) {
  for (int32_t k = 0; k < L; k++) row[(k / 2) * 2 * P + 2 * p + (k & 1)] = line[k];
}

// DEGAS Elite compresses each row's planes one after another, each plane's bytes of the
// row as its own PackBits stream: a control byte c below 128 is followed by c + 1 bytes
// to copy, one above 128 by a byte to repeat 257 - c times, and 128 does nothing. A run
// may not reach into the next plane or row.
static std::string unpackDegas(const uint8_t* file, size_t size, int32_t P, int32_t L, int32_t rows,
                               uint8_t* body) {
  PicReader r{file, size, PicDegasBodyAt};
  uint8_t line[PicW / 8];  // one plane of the widest screen's row
  for (int32_t y = 0; y < rows; y++) {
    for (int32_t p = 0; p < P; p++) {
      int32_t n = 0;
      while (n < L) {
        uint8_t c = r.u8();
        if (r.short_) return format("truncated in row %d of %d", y, rows);
        if (c == 128) continue;
        int32_t count = c < 128 ? c + 1 : 257 - c;
        if (n + count > L)
          return format("a PackBits run goes past the end of row %d, plane %d", y, p);
        if (c < 128)
          r.bytes(line + n, size_t(count));
        else
          memset(line + n, r.u8(), size_t(count));
        n += count;
        if (r.short_) return format("truncated in row %d of %d", y, rows);
      }
      putPlaneRow(line, L, P, p, body + size_t(y) * size_t(L) * size_t(P));
    }
  }
  return "";
}

// SPC: the planes of lines 1..199 one after another, 40 bytes a line, in one stream of
// records: c below 128 copies c + 1 bytes, c of 128 and above repeats a byte 258 - c
// times. Then 597 palettes, three a line: a word whose bit j says that word j of the
// palette follows (missing words are 0, black).
static std::string unpackSpc(const uint8_t* file, size_t size, StPicture& pic) {
  PicReader h{file, size, 4};
  uint64_t dataLen = h.u32be(), colourLen = h.u32be();
  if (StSpcHeaderBytes + dataLen + colourLen > size)
    return "truncated: the header's lengths run past the end of the file";
  PicReader r{file, size_t(StSpcHeaderBytes + dataLen), StSpcHeaderBytes};
  const PicScreen& low = *PicScreenOf(4);
  const size_t total = 4 * StSpcPlaneBytes;
  std::vector<uint8_t> planes(total);
  size_t n = 0;
  while (n < total) {
    uint8_t c = r.u8();
    size_t count = c < 128 ? c + 1u : 258u - c;
    if (n + count > total) return "a run goes past the end of the picture";
    if (c < 128)
      r.bytes(&planes[n], count);
    else
      memset(&planes[n], r.u8(), count);
    if (r.short_)
      return format("picture data truncated in plane %d, line %d", int(n / StSpcPlaneBytes),
                    int(n % StSpcPlaneBytes / size_t(low.lineBytes)) + 1);
    n += count;
  }
  PicReader cr{file, size_t(StSpcHeaderBytes + dataLen + colourLen),
               size_t(StSpcHeaderBytes + dataLen)};
  std::vector<uint16_t> palette(size_t(StSpectrumLines) * StSpectrumWords);
  for (size_t set = 0; set < palette.size() / 16; set++) {
    uint16_t present = cr.u16be();
    for (int j = 0; j < 16; j++) palette[16 * set + j] = present >> j & 1 ? cr.u16be() : 0;
    if (cr.short_) return format("colour data truncated in line %d", int(set / 3) + 1);
  }
  std::vector<uint8_t> body(PicBodyBytes, 0);  // line 0 is not stored: black
  const int32_t L = low.lineBytes;
  for (int32_t p = 0; p < 4; p++)
    for (int32_t y = 1; y <= StSpectrumLines; y++)
      putPlaneRow(&planes[size_t(p) * StSpcPlaneBytes + size_t(y - 1) * size_t(L)], L, 4, p,
                  &body[size_t(y) * size_t(L) * 4]);
  screen(pic, 4, body.data());
  pic.palette = std::move(palette);
  return "";
}

std::string StDecode(const uint8_t* file, size_t size, StKind kind, const std::string& ext,
                     StPicture& pic) {
  StPicture out;
  out.kind = kind;
  PicReader r{file, size, 0};
  switch (kind) {
    case StKind::Degas: {
      if (!hasLength(DegasLengths, size)) return wrongLength(size, DegasLengths);
      uint16_t res = r.u16be();
      int32_t planes = planesOfResolution(res);
      if (!planes || (res & 0x8000)) return format("unknown resolution word 0x%04X", res);
      readWords(r, out.palette, 16);
      screen(out, planes, file + PicDegasBodyAt);
      break;
    }
    case StKind::DegasPacked: {
      uint16_t res = r.u16be();
      int32_t planes = planesOfResolution(res);
      if (!planes || !(res & 0x8000))
        return format("unknown compressed DEGAS resolution word 0x%04X", res);
      readWords(r, out.palette, 16);
      if (r.short_) return "truncated in the header";
      const PicScreen& s = *PicScreenOf(planes);
      std::vector<uint8_t> body(PicBodyBytes);
      std::string why = unpackDegas(file, size, planes, s.lineBytes, s.rows, body.data());
      if (!why.empty()) return why;
      screen(out, planes, body.data());
      break;
    }
    case StKind::Body: {
      int32_t planes = bodyPlanes(ext);
      if (!hasLength(BodyLengths, size) || !planes) return whyUnknown(file, size, ext);
      screen(out, planes, file);
      break;
    }
    case StKind::Neo: {
      if (!hasLength(NeoLengths, size)) return wrongLength(size, NeoLengths);
      r.u16be();
      uint16_t res = r.u16be();
      if (res > 2) return format("unknown NEOchrome resolution word %d", res);
      readWords(r, out.palette, 16);
      screen(out, planesOfResolution(res), file + StNeoBodyAt);
      break;
    }
    case StKind::Spu: {
      if (!hasLength(SpuLengths, size)) return wrongLength(size, SpuLengths);
      screen(out, 4, file);
      r.pos = PicBodyBytes;
      readWords(r, out.palette, size_t(StSpectrumLines) * StSpectrumWords);
      break;
    }
    case StKind::Spc: {
      std::string why = unpackSpc(file, size, out);
      if (!why.empty()) return why;
      break;
    }
    case StKind::Gbf: {
      PicLayout lay;
      if (!PicDetect(file, size, 0, lay)) {
        if (size <= PicGbfHeaderBytes) return "truncated: no GBF header";
        return "the GBF header's size and planes do not match the file's " + bytes(size);
      }
      out.planes = lay.planes;
      out.w = 8 * lay.lineBytes;
      out.h = lay.rows;
      out.values.resize(size_t(out.w) * size_t(out.h));
      PicPlanes(file + lay.offset, lay.lineBytes, lay.rows, lay.planes, out.values.data());
      break;
    }
    case StKind::Unknown: return whyUnknown(file, size, ext);
    case StKind::Png:
    case StKind::Bmp: return "not an Atari picture";
  }
  pic = std::move(out);
  return "";
}

uint32_t StWiden(uint16_t word, bool ste) {
  uint32_t rgb = 0xFF000000u;
  for (int ch = 0; ch < 3; ch++) {
    unsigned nibble = word >> (8 - 4 * ch) & 0xF, v;
    if (ste) {
      unsigned level = (nibble & 7) << 1 | nibble >> 3;
      v = level << 4 | level;
    } else {
      unsigned level = nibble & 7;
      v = level << 5 | level << 2 | level >> 1;
    }
    rgb |= v << 8 * ch;
  }
  return rgb;
}

bool StIsSte(const uint16_t* words, size_t n) {
  for (size_t i = 0; i < n; i++)
    if (words[i] & 0x888) return true;
  return false;
}

// Which of a Spectrum 512 line's 48 palette words colours value c at column x: the
// palette changes as the beam moves, so each value switches set at its own column.
static int spectrumIndex(int x, int c) {
  int x1 = 10 * c + (c & 1 ? -5 : 1);
  if (x >= x1 + 160) return c + 32;
  if (x >= x1) return c + 16;
  return c;
}

void StWordColours(const uint16_t words[16], int32_t planes, uint32_t colour[16]) {
  if (planes == 1) {
    const uint32_t white = 0xFFFFFFFFu, black = 0xFF000000u;
    bool whiteFirst = words[0] & 1;
    for (int v = 0; v < 16; v++) colour[v] = (v & 1) == whiteFirst ? black : white;
    return;
  }
  bool ste = StIsSte(words, 16);
  for (int v = 0; v < 16; v++) colour[v] = StWiden(words[v], ste);
}

bool StValueColours(const StPicture& pic, const uint32_t* shown, uint32_t colour[16]) {
  if (pic.palette.size() == size_t(StSpectrumLines) * StSpectrumWords) return false;
  if (pic.palette.size() == 16) {
    StWordColours(pic.palette.data(), pic.planes, colour);
  } else {
    uint8_t T[16];
    PicTable(pic.planes, T);
    for (int v = 0; v < 16; v++) colour[v] = shown[T[v]] | 0xFF000000u;
  }
  return true;
}

void StColours(const StPicture& pic, const uint32_t* shown, PicImage& img) {
  PicImage out;
  out.w = pic.w;
  out.h = pic.h;
  out.px.resize(pic.values.size());
  uint32_t colour[16];
  if (StValueColours(pic, shown, colour)) {
    for (size_t i = 0; i < out.px.size(); i++) out.px[i] = colour[pic.values[i] & 15];
    img = std::move(out);
    return;
  }
  bool ste = StIsSte(pic.palette.data(), pic.palette.size());
  for (int32_t y = 0; y < pic.h; y++) {
    uint32_t* row = &out.px[size_t(y) * size_t(pic.w)];
    const uint8_t* v = &pic.values[size_t(y) * size_t(pic.w)];
    if (y == 0 || y > StSpectrumLines) {
      for (int32_t x = 0; x < pic.w; x++) row[x] = 0xFF000000u;
      continue;
    }
    const uint16_t* words = &pic.palette[size_t(y - 1) * StSpectrumWords];
    for (int32_t x = 0; x < pic.w; x++) row[x] = StWiden(words[spectrumIndex(x, v[x])], ste);
  }
  img = std::move(out);
}

void StShown(const StPicture& pic, const uint32_t* shown, PicImage& img) {
  uint8_t T[16];
  PicTable(pic.planes, T);
  PicImage own;
  own.w = pic.w;
  own.h = pic.h;
  own.px.resize(pic.values.size());
  for (size_t i = 0; i < own.px.size(); i++) own.px[i] = shown[T[pic.values[i] & 15]];
  if (pic.kind == StKind::Gbf) {
    img = std::move(own);
    return;
  }
  PicImage big;
  big.w = PicW;
  big.h = PicH;
  PicStretch(own, big.px);
  img = std::move(big);
}
