// Atari picture files for the tests, built the plain way from pixel values and palette
// words, one byte at a time, following the formats' descriptions: the independent
// writers the decoders are checked against.
#pragma once
#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "tests/picfiles/picmake.h"

// The ST's 3-bit levels widened to 8 bits, written out (netpbm scales maxval 7 to the
// same); RgbOf an ST palette word.
inline constexpr uint8_t Level3[8] = {0, 36, 73, 109, 146, 182, 219, 255};
inline uint32_t RgbOf(uint16_t stWord) {
  return uint32_t(Level3[stWord >> 8 & 7]) | uint32_t(Level3[stWord >> 4 & 7]) << 8 |
         uint32_t(Level3[stWord & 7]) << 16;
}

// Random pixel values below `colours`, in runs of random length so that the packed
// formats see both runs and literals; every value occurs.
inline std::vector<uint8_t> RandomValues(std::mt19937& rng, int w, int h, int colours) {
  std::vector<uint8_t> v(size_t(w) * h);
  size_t i = 0;
  while (i < v.size()) {
    uint8_t c = uint8_t(rng() % colours);
    size_t run = rng() % 3 ? 1 : rng() % 60;
    for (size_t k = 0; k <= run && i < v.size(); k++) v[i++] = c;
  }
  for (int c = 0; c < colours && c < int(v.size()); c++) v[size_t(c) * 7 % v.size()] = uint8_t(c);
  return v;
}
// n distinct ST palette words (3 bits a channel).
inline std::vector<uint16_t> RandomStWords(std::mt19937& rng, int n) {
  std::vector<uint16_t> words;
  while (int(words.size()) < n) {
    uint16_t w = uint16_t(rng() & 0x777);
    if (std::find(words.begin(), words.end(), w) == words.end()) words.push_back(w);
  }
  return words;
}

inline void Put16(std::vector<uint8_t>& f, uint16_t w) {
  f.push_back(uint8_t(w >> 8));
  f.push_back(uint8_t(w));
}

// A DEGAS picture: resolution word, the 16 words (missing ones 0), the body, and for
// 32,066 bytes 32 bytes of colour animation.
inline std::vector<uint8_t> DegasOf(uint16_t res, const std::vector<uint16_t>& words,
                                    const std::vector<uint8_t>& body, size_t size = 32034) {
  std::vector<uint8_t> f;
  Put16(f, res);
  for (int i = 0; i < 16; i++) Put16(f, i < int(words.size()) ? words[i] : 0);
  f.insert(f.end(), body.begin(), body.end());
  f.resize(size, 0);
  return f;
}

// PackBits as DEGAS Elite writes it: two or more equal bytes as a run (c = 257 - n),
// the rest as literals (c = n - 1); at most 128 bytes a record.
inline void PackBits(const uint8_t* p, size_t n, std::vector<uint8_t>& out) {
  size_t i = 0;
  while (i < n) {
    size_t run = 1;
    while (i + run < n && run < 128 && p[i + run] == p[i]) run++;
    if (run >= 2) {
      out.push_back(uint8_t(257 - run));
      out.push_back(p[i]);
      i += run;
      continue;
    }
    size_t lit = 1;
    while (i + lit < n && lit < 128 && !(i + lit + 1 < n && p[i + lit] == p[i + lit + 1])) lit++;
    out.push_back(uint8_t(lit - 1));
    out.insert(out.end(), p + i, p + i + lit);
    i += lit;
  }
}

// The bytes of plane p of row y of an interleaved body of P planes, L bytes a plane-row.
inline std::vector<uint8_t> PlaneRow(const std::vector<uint8_t>& body, int y, int p, int P, int L) {
  std::vector<uint8_t> row;
  for (int k = 0; k < L; k++)
    row.push_back(body[size_t(y) * L * P + (k / 2) * 2 * P + 2 * p + (k & 1)]);
  return row;
}

// A compressed DEGAS picture of resolution res (0, 1, 2) from an interleaved body:
// each row's planes packed one after another, then the animation tables.
inline std::vector<uint8_t> PcOf(int res, const std::vector<uint16_t>& words,
                                 const std::vector<uint8_t>& body) {
  const int P = 4 >> res, L = res ? 80 : 40, rows = res == 2 ? 400 : 200;
  std::vector<uint8_t> f;
  Put16(f, uint16_t(0x8000 | res));
  for (int i = 0; i < 16; i++) Put16(f, i < int(words.size()) ? words[i] : 0);
  for (int y = 0; y < rows; y++)
    for (int p = 0; p < P; p++) {
      std::vector<uint8_t> row = PlaneRow(body, y, p, P, L);
      PackBits(row.data(), row.size(), f);
    }
  f.resize(f.size() + 32, 0);
  return f;
}

// A NEOchrome picture: flag 0, resolution, palette, the rest of the header 0, body.
inline std::vector<uint8_t> NeoOf(int res, const std::vector<uint16_t>& words,
                                  const std::vector<uint8_t>& body) {
  std::vector<uint8_t> f;
  Put16(f, 0);
  Put16(f, uint16_t(res));
  for (int i = 0; i < 16; i++) Put16(f, i < int(words.size()) ? words[i] : 0);
  f.resize(128, 0);
  f.insert(f.end(), body.begin(), body.end());
  return f;
}

// A Spectrum 512 picture: body, then 48 words for each of lines 1..199.
inline std::vector<uint8_t> SpuOf(const std::vector<uint8_t>& body,
                                  const std::vector<uint16_t>& words) {
  std::vector<uint8_t> f = body;
  for (uint16_t w : words) Put16(f, w);
  return f;
}

// An SPC file around packed picture data and palettes: "SP", 0, their two lengths.
inline std::vector<uint8_t> SpcFile(const std::vector<uint8_t>& data,
                                    const std::vector<uint8_t>& colours) {
  std::vector<uint8_t> f = {'S', 'P', 0, 0};
  for (size_t len : {data.size(), colours.size()})
    for (int b = 3; b >= 0; b--) f.push_back(uint8_t(len >> 8 * b));
  f.insert(f.end(), data.begin(), data.end());
  f.insert(f.end(), colours.begin(), colours.end());
  return f;
}

// A compressed Spectrum 512 picture: the planes of lines 1..199 one after another in
// records (c < 128: c + 1 literal bytes; c >= 128: one byte 258 - c times, 3 to 130),
// then each 16-word palette as a word of the entries present and those entries.
inline std::vector<uint8_t> SpcOf(const std::vector<uint8_t>& body,
                                  const std::vector<uint16_t>& words) {
  std::vector<uint8_t> planes;
  for (int p = 0; p < 4; p++)
    for (int y = 1; y < 200; y++) {
      std::vector<uint8_t> row = PlaneRow(body, y, p, 4, 40);
      planes.insert(planes.end(), row.begin(), row.end());
    }
  std::vector<uint8_t> data;
  size_t i = 0;
  while (i < planes.size()) {
    size_t run = 1;
    while (i + run < planes.size() && run < 130 && planes[i + run] == planes[i]) run++;
    if (run >= 3) {
      data.push_back(uint8_t(258 - run));
      data.push_back(planes[i]);
      i += run;
      continue;
    }
    size_t lit = std::min<size_t>(run, 128);
    while (i + lit < planes.size() && lit < 128 &&
           !(i + lit + 2 < planes.size() && planes[i + lit] == planes[i + lit + 1] &&
             planes[i + lit] == planes[i + lit + 2]))
      lit++;
    data.push_back(uint8_t(lit - 1));
    data.insert(data.end(), planes.begin() + i, planes.begin() + i + lit);
    i += lit;
  }
  std::vector<uint8_t> colours;
  for (size_t set = 0; set < words.size() / 16; set++) {
    uint16_t present = 0;
    for (int j = 0; j < 16; j++)
      if (words[16 * set + j]) present |= uint16_t(1 << j);
    Put16(colours, present);
    for (int j = 0; j < 16; j++)
      if (words[16 * set + j]) Put16(colours, words[16 * set + j]);
  }
  return SpcFile(data, colours);
}
