#include <cstdio>
#include <cstdlib>
#include <unordered_map>

#include "picfiles/st_core.h"
#include "platform/bmp_core.h"

static const uint32_t Rgb = 0xFFFFFFu;  // alpha is never compared

bool StKeeps(const StPicture& pic, int32_t planes) {
  const PicScreen* s = PicScreenOf(planes);
  return s && pic.palette.size() == 16 && pic.planes == planes && pic.w == s->w() &&
         pic.h == s->rows;
}

static unsigned widen3(unsigned level) { return level << 5 | level << 2 | level >> 1; }

// Nearest 3-bit level of an 8-bit channel; exact when it widens back to c.
static unsigned level3(unsigned c, bool& exact) {
  unsigned best = 0;
  for (unsigned v = 1; v < 8; v++)
    if (abs(int(widen3(v)) - int(c)) < abs(int(widen3(best)) - int(c))) best = v;
  exact = widen3(best) == c;
  return best;
}

void StWords(const uint32_t* colours, int32_t n, uint16_t words[16]) {
  uint16_t st[16] = {}, ste[16] = {};
  bool allSt = true, usesFourth = false;
  for (int32_t i = 0; i < n && i < 16; i++) {
    for (int ch = 0; ch < 3; ch++) {
      unsigned c = colours[i] >> 8 * ch & 0xFF;
      bool exact;
      unsigned l3 = level3(c, exact), l4 = (c + 8) / 17;
      allSt = allSt && exact;
      unsigned nibble4 = l4 >> 1 | (l4 & 1) << 3;
      usesFourth = usesFourth || (l4 & 1);
      st[i] = uint16_t(st[i] | l3 << (8 - 4 * ch));
      ste[i] = uint16_t(ste[i] | nibble4 << (8 - 4 * ch));
    }
  }
  const uint16_t* pick = allSt || !usesFourth ? st : ste;
  for (int i = 0; i < 16; i++) words[i] = pick[i];
}

bool StPaletteOf(const StPicture& pic, int32_t planes, StPalette& pal) {
  if (pic.palette.size() != 16) return false;
  StPalette out;
  out.n = 1 << planes;
  for (int v = 0; v < 16; v++) out.word[v] = pic.palette[v];
  StWordColours(out.word, planes, out.colour);
  pal = out;
  return true;
}

void StShownPalette(int32_t planes, const uint32_t* shown, StPalette& pal) {
  uint8_t T[16];
  PicTable(planes, T);
  StPalette out;
  out.n = 1 << planes;
  for (int v = 0; v < out.n; v++) out.colour[v] = shown[T[v]];
  StWords(out.colour, out.n, out.word);
  pal = out;
}

static std::string sizeMessage(int32_t w, int32_t h, const char* format, int32_t tw, int32_t th) {
  char buf[160];
  snprintf(buf, sizeof buf, "the picture is %dx%d; a %s picture is %dx%d", w, h, format, tw, th);
  return buf;
}

// img's colours (RGB) at the target size w x h: img itself, or every sx-th pixel of
// every sy-th row of a 640x400 enlargement whose blocks are each of one colour.
static std::string fitSize(const PicImage& img, const char* format, int32_t w, int32_t h,
                           std::vector<uint32_t>& px) {
  if (img.w == w && img.h == h) {
    px.resize(img.px.size());
    for (size_t i = 0; i < px.size(); i++) px[i] = img.px[i] & Rgb;
    return "";
  }
  if (img.w != PicW || img.h != PicH) return sizeMessage(img.w, img.h, format, w, h);
  const int32_t sx = PicW / w, sy = PicH / h;
  px.resize(size_t(w) * size_t(h));
  for (int32_t y = 0; y < h; y++)
    for (int32_t x = 0; x < w; x++) {
      uint32_t c = img.px[size_t(y * sy) * PicW + size_t(x * sx)] & Rgb;
      for (int32_t j = 0; j < sy; j++)
        for (int32_t i = 0; i < sx; i++)
          if ((img.px[size_t(y * sy + j) * PicW + size_t(x * sx + i)] & Rgb) != c)
            return sizeMessage(PicW, PicH, format, w, h) + ", and this is not one enlarged";
      px[size_t(y) * w + x] = c;
    }
  return "";
}

static int32_t nearestValue(uint32_t c, const StPalette& pal) {
  int32_t best = 0;
  long bestD = -1;
  for (int32_t v = 0; v < pal.n; v++) {
    long d = 0;
    for (int ch = 0; ch < 3; ch++) {
      long e = long(c >> 8 * ch & 0xFF) - long(pal.colour[v] >> 8 * ch & 0xFF);
      d += e * e;
    }
    if (bestD < 0 || d < bestD) best = v, bestD = d;
  }
  return best;
}

// Why a picture of these colours (each once, in order of appearance) does not fit a
// `format` file of `planes` planes without --nearest; "" when it does.
static std::string tooManyColours(const std::vector<uint32_t>& colours, bool allShown,
                                  const char* format, int32_t planes) {
  char buf[200] = "";
  if (planes == 1 && !allShown) {
    if (colours.size() > 2)
      snprintf(buf, sizeof buf,
               "%zu colours; a %s picture holds 2, black and white (use --nearest)", colours.size(),
               format);
    else
      snprintf(buf, sizeof buf,
               "colours other than black and white; a %s picture holds only those (use --nearest)",
               format);
  } else if (colours.size() > size_t(1) << planes) {
    snprintf(buf, sizeof buf, "%zu colours; a %s picture holds %d (use --nearest)", colours.size(),
             format, 1 << planes);
  }
  return buf;
}

// The values and palette words of colours (each once, in order of appearance) without
// --nearest: the paint program's values when it shows them all, else values in order
// of appearance; "" or why they do not fit.
static std::string ownValues(const std::vector<uint32_t>& colours, const char* format,
                             int32_t planes, const uint32_t* shown,
                             std::unordered_map<uint32_t, uint8_t>& valueOf, uint16_t words[16]) {
  const int32_t n = 1 << planes;
  StPalette paint;
  StShownPalette(planes, shown, paint);
  bool allShown = true;
  for (uint32_t c : colours) {
    int32_t v = 0;
    while (v < n && (paint.colour[v] & Rgb) != c) v++;
    allShown = allShown && v < n;
    valueOf[c] = uint8_t(v);
  }
  std::string why = tooManyColours(colours, allShown, format, planes);
  if (!why.empty()) return why;
  uint32_t used[16] = {};
  if (allShown) {
    for (int v = 0; v < n; v++) used[v] = paint.colour[v];
  } else {
    for (size_t i = 0; i < colours.size(); i++) {
      valueOf[colours[i]] = uint8_t(i);
      used[i] = colours[i];
    }
  }
  StWords(used, allShown ? n : int32_t(colours.size()), words);
  return "";
}

std::string StFromColours(const PicImage& img, const char* format, int32_t planes,
                          const StPalette* nearest, const uint32_t* shown, StPicture& out) {
  StPicture pic;
  pic.kind = StKind::Degas;
  pic.planes = planes;
  const PicScreen& screen = *PicScreenOf(planes);
  pic.w = screen.w();
  pic.h = screen.rows;
  std::vector<uint32_t> px;
  std::string why = fitSize(img, format, pic.w, pic.h, px);
  if (!why.empty()) return why;

  // Colours in order of first appearance, each with its value once chosen.
  std::vector<uint32_t> colours;
  std::unordered_map<uint32_t, uint8_t> valueOf;
  for (uint32_t c : px)
    if (valueOf.emplace(c, 0).second) colours.push_back(c);
  uint16_t words[16];
  if (nearest) {
    for (uint32_t c : colours) valueOf[c] = uint8_t(nearestValue(c, *nearest));
    for (int v = 0; v < 16; v++) words[v] = nearest->word[v];
  } else {
    why = ownValues(colours, format, planes, shown, valueOf, words);
    if (!why.empty()) return why;
  }
  pic.palette.assign(words, words + 16);
  pic.values.resize(px.size());
  uint32_t last = ~0u;
  uint8_t lastValue = 0;
  for (size_t i = 0; i < px.size(); i++) {
    if (px[i] != last) last = px[i], lastValue = valueOf[last];
    pic.values[i] = lastValue;
  }
  out = std::move(pic);
  return "";
}

void StNearestColours(const PicImage& img, const StPalette& pal, PicImage& out) {
  PicImage mapped;
  mapped.w = img.w;
  mapped.h = img.h;
  mapped.px.resize(img.px.size());
  std::unordered_map<uint32_t, uint32_t> cache;
  for (size_t i = 0; i < img.px.size(); i++) {
    uint32_t c = img.px[i] & Rgb;
    auto it = cache.find(c);
    if (it == cache.end())
      it = cache.emplace(c, pal.colour[nearestValue(c, pal)] | 0xFF000000u).first;
    mapped.px[i] = it->second;
  }
  out = std::move(mapped);
}

static void put16(std::vector<uint8_t>& out, size_t at, uint16_t w) {
  out[at] = uint8_t(w >> 8);
  out[at + 1] = uint8_t(w);
}

void StDegasFile(const StPicture& pic, size_t size, std::vector<uint8_t>& out) {
  out.assign(size, 0);
  put16(out, 0, PicScreenOf(pic.planes)->resolution);
  for (int v = 0; v < 16; v++)
    put16(out, 2 + 2 * v, v < int(pic.palette.size()) ? pic.palette[v] : 0);
  PicEncode(pic.values.data(), pic.w / 8, pic.h, pic.planes, &out[PicDegasBodyAt]);
  // Colour animation: limits 0, every channel's direction 1, off.
  if (size == PicDegasBytes)
    for (int ch = 0; ch < 4; ch++) put16(out, PicDegasPlainBytes + 16 + 2 * ch, 1);
}

void StBodyFile(const StPicture& pic, std::vector<uint8_t>& out) {
  out.assign(PicBodyBytes, 0);
  PicEncode(pic.values.data(), pic.w / 8, pic.h, pic.planes, out.data());
}

void BmpFile(const PicImage& img, std::vector<uint8_t>& out) {
  out.resize(BmpRoom(img.w, img.h));
  BmpWrite(reinterpret_cast<const uint8_t*>(img.px.data()), img.w, img.h, size_t(img.w) * 4,
           out.data());
}
