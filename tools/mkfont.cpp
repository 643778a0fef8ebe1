// mkfont - turns the text glyph source (tools/font/glyphs.txt) into the
// font strip image the program loads (assets/BASFont.bmp).
//
//   mkfont <glyphs.txt> <out.bmp>
//
// Source format: a glyph starts with a header line
//     cell <number> '<char>'
// (cell 95 may be labelled DEL instead), followed by exactly 8 rows of
// exactly 8 characters, '.' for background and '#' for ink. Blank lines and
// lines starting with ';' are ignored anywhere. Every cell 0..113 must be
// defined exactly once and the label must be the character of that cell.
//
// Output: 912x8 24-bit uncompressed BMP, cell g at x = 8g..8g+7, black
// background, white ink. The output depends only on the glyph bits, so the
// same source always gives the same bytes.
//
// Standard library only; build with
//   g++ -std=c++17 -O2 -Wall -Wextra -o /tmp/mkfont tools/mkfont.cpp

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kCellSize = 8;
constexpr int kAsciiCells = 96;  // codes 32..127
constexpr int kCellCount = 114;
constexpr int kDelCell = 127 - 32;

// Code points of cells 96..113.
constexpr std::array<char32_t, kCellCount - kAsciiCells> kPolish = {
    0x0104, 0x0106, 0x0118, 0x0141, 0x0143, 0x00D3, 0x015A, 0x0179,  // ĄĆĘŁŃÓŚŹ
    0x0105, 0x0107, 0x0119, 0x0142, 0x0144, 0x00F3, 0x015B, 0x017A,  // ąćęłńóśź
    0x017B, 0x017C,                                                  // Żż
};

char32_t cellCodePoint(int cell) {
  if (cell < kAsciiCells) return static_cast<char32_t>(cell + 32);
  return kPolish[static_cast<std::size_t>(cell - kAsciiCells)];
}

using Glyph = std::array<std::array<bool, kCellSize>, kCellSize>;  // [row][col]

struct ParseError {
  int line;
  std::string message;
};

[[noreturn]] void fail(int line, const std::string& message) { throw ParseError{line, message}; }

// Decodes one UTF-8 sequence that must span the whole of `s`.
// Returns false for empty, malformed, overlong or multi-character input.
bool decodeSingleUtf8(const std::string& s, char32_t& out) {
  if (s.empty()) return false;
  const auto b0 = static_cast<unsigned char>(s[0]);
  std::size_t len;
  char32_t cp;
  if (b0 < 0x80) {
    len = 1;
    cp = b0;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2;
    cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3;
    cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4;
    cp = b0 & 0x07;
  } else {
    return false;
  }
  if (s.size() != len) return false;
  for (std::size_t i = 1; i < len; ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if ((b & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (b & 0x3F);
  }
  static const char32_t kMinForLen[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMinForLen[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  out = cp;
  return true;
}

std::string describeCell(int cell) {
  std::ostringstream os;
  os << "cell " << cell;
  const char32_t cp = cellCodePoint(cell);
  if (cell == kDelCell) {
    os << " (DEL)";
  } else if (cp < 0x80) {
    os << " ('" << static_cast<char>(cp) << "')";
  } else {
    os << " (U+" << std::hex << std::uppercase << static_cast<unsigned long>(cp) << ")";
  }
  return os.str();
}

bool isBlank(const std::string& s) { return s.find_first_not_of(" \t") == std::string::npos; }

// Parses "cell <number> <label>" and returns the cell number.
int parseHeader(const std::string& text, int lineNo) {
  const std::string keyword = "cell";
  if (text.compare(0, keyword.size(), keyword) != 0 || text.size() == keyword.size() ||
      (text[keyword.size()] != ' ' && text[keyword.size()] != '\t')) {
    fail(lineNo, "expected a glyph header \"cell <number> '<char>'\"");
  }
  std::size_t pos = text.find_first_not_of(" \t", keyword.size());
  if (pos == std::string::npos) fail(lineNo, "missing cell number");

  std::size_t end = pos;
  while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
  if (end == pos) fail(lineNo, "cell number must be a decimal number");
  if (end - pos > 3) fail(lineNo, "cell number out of range 0.." + std::to_string(kCellCount - 1));
  const int cell = std::stoi(text.substr(pos, end - pos));
  if (cell >= kCellCount)
    fail(lineNo, "cell number out of range 0.." + std::to_string(kCellCount - 1));
  if (end < text.size() && text[end] != ' ' && text[end] != '\t') {
    fail(lineNo, "cell number must be a decimal number");
  }

  pos = text.find_first_not_of(" \t", end);
  if (pos == std::string::npos) {
    fail(lineNo, "missing label after the cell number, expected " + describeCell(cell));
  }
  std::size_t labelEnd = text.find_last_not_of(" \t");
  const std::string label = text.substr(pos, labelEnd - pos + 1);

  if (cell == kDelCell && label == "DEL") return cell;
  if (label.size() < 3 || label.front() != '\'' || label.back() != '\'') {
    fail(lineNo, "label must be a quoted character like '!', expected " + describeCell(cell));
  }
  char32_t cp = 0;
  if (!decodeSingleUtf8(label.substr(1, label.size() - 2), cp)) {
    fail(lineNo, "label must hold exactly one UTF-8 character");
  }
  if (cp != cellCodePoint(cell)) {
    fail(lineNo, "label " + label + " does not match " + describeCell(cell));
  }
  return cell;
}

std::array<Glyph, kCellCount> parseGlyphs(std::istream& in) {
  std::array<Glyph, kCellCount> glyphs{};
  std::array<int, kCellCount> definedAt{};  // header line, 0 = not defined yet

  std::string line;
  int lineNo = 0;
  int current = -1;   // cell being read, -1 = expecting a header
  int lastCell = -1;  // most recent cell header, for error messages
  int rowsRead = 0;
  int headerLine = 0;

  while (std::getline(in, line)) {
    ++lineNo;
    if (lineNo == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (isBlank(line) || line[0] == ';') continue;

    if (current < 0) {
      if (lastCell >= 0 && line.find_first_not_of(".#") == std::string::npos) {
        fail(lineNo, "extra row: " + describeCell(lastCell) + " (line " +
                         std::to_string(headerLine) + ") already has " + std::to_string(kCellSize) +
                         " rows");
      }
      const int cell = parseHeader(line, lineNo);
      if (definedAt[cell] != 0) {
        fail(lineNo,
             describeCell(cell) + " already defined at line " + std::to_string(definedAt[cell]));
      }
      definedAt[cell] = lineNo;
      current = cell;
      lastCell = cell;
      rowsRead = 0;
      headerLine = lineNo;
      continue;
    }

    if (line.compare(0, 4, "cell") == 0) {
      fail(lineNo, describeCell(current) + " (line " + std::to_string(headerLine) + ") has only " +
                       std::to_string(rowsRead) + " of " + std::to_string(kCellSize) + " rows");
    }
    for (char c : line) {
      if (c != '.' && c != '#') {
        fail(lineNo, "row may only contain '.' and '#' (found '" + std::string(1, c) + "') in " +
                         describeCell(current));
      }
    }
    if (line.size() != static_cast<std::size_t>(kCellSize)) {
      fail(lineNo, "row is " + std::to_string(line.size()) + " pixels wide, expected " +
                       std::to_string(kCellSize) + " in " + describeCell(current));
    }
    for (int x = 0; x < kCellSize; ++x) glyphs[current][rowsRead][x] = (line[x] == '#');
    if (++rowsRead == kCellSize) current = -1;
  }
  if (in.bad()) fail(lineNo, "read error");

  if (current >= 0) {
    fail(lineNo, describeCell(current) + " (line " + std::to_string(headerLine) + ") has only " +
                     std::to_string(rowsRead) + " of " + std::to_string(kCellSize) +
                     " rows at end of file");
  }
  std::string missing;
  int missingCount = 0;
  for (int cell = 0; cell < kCellCount; ++cell) {
    if (definedAt[cell] != 0) continue;
    if (missingCount < 10) missing += (missingCount ? ", " : "") + std::to_string(cell);
    ++missingCount;
  }
  if (missingCount > 0) {
    if (missingCount > 10) missing += ", ...";
    fail(lineNo, std::to_string(missingCount) + " cell(s) missing: " + missing);
  }
  return glyphs;
}

void putLE16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void putLE32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF));
}

std::vector<std::uint8_t> encodeBmp(const std::array<Glyph, kCellCount>& glyphs) {
  constexpr std::uint32_t width = kCellCount * kCellSize;  // 912
  constexpr std::uint32_t height = kCellSize;
  constexpr std::uint32_t rowBytes = (width * 3 + 3) / 4 * 4;
  constexpr std::uint32_t headerBytes = 14 + 40;
  constexpr std::uint32_t imageBytes = rowBytes * height;

  std::vector<std::uint8_t> out;
  out.reserve(headerBytes + imageBytes);

  // BITMAPFILEHEADER
  out.push_back('B');
  out.push_back('M');
  putLE32(out, headerBytes + imageBytes);
  putLE16(out, 0);
  putLE16(out, 0);
  putLE32(out, headerBytes);

  // BITMAPINFOHEADER
  putLE32(out, 40);
  putLE32(out, width);
  putLE32(out, height);  // positive: rows stored bottom-up
  putLE16(out, 1);       // planes
  putLE16(out, 24);      // bits per pixel
  putLE32(out, 0);       // BI_RGB
  putLE32(out, imageBytes);
  putLE32(out, 2835);  // 72 dpi
  putLE32(out, 2835);
  putLE32(out, 0);
  putLE32(out, 0);

  for (int y = static_cast<int>(height) - 1; y >= 0; --y) {
    for (std::uint32_t x = 0; x < width; ++x) {
      const bool ink = glyphs[x / kCellSize][static_cast<std::size_t>(y)][x % kCellSize];
      const std::uint8_t v = ink ? 255 : 0;
      out.push_back(v);  // B
      out.push_back(v);  // G
      out.push_back(v);  // R
    }
    for (std::uint32_t pad = width * 3; pad < rowBytes; ++pad) out.push_back(0);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: " << (argc > 0 ? argv[0] : "mkfont") << " <glyphs.txt> <out.bmp>\n";
    return 2;
  }
  const std::string srcPath = argv[1];
  const std::string outPath = argv[2];

  std::ifstream in(srcPath, std::ios::binary);
  if (!in) {
    std::cerr << srcPath << ": cannot open\n";
    return 1;
  }

  std::array<Glyph, kCellCount> glyphs;
  try {
    glyphs = parseGlyphs(in);
  } catch (const ParseError& e) {
    std::cerr << srcPath << ":" << e.line << ": error: " << e.message << "\n";
    return 1;
  }

  const std::vector<std::uint8_t> bmp = encodeBmp(glyphs);
  std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
  if (!out) {
    std::cerr << outPath << ": cannot create\n";
    return 1;
  }
  out.write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
  out.close();
  if (!out) {
    std::cerr << outPath << ": write failed\n";
    std::remove(outPath.c_str());
    return 1;
  }
  return 0;
}
