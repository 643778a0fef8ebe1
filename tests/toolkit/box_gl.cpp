#include <string>
#include <vector>

#include "paint/paint.h"
#include "platform/platform.h"
#include "tests/support/gl.h"
#include "toolkit/toolkit.h"

// Box colours as drawn: alpha 0, bytes passed on unchanged.
static const uint32_t light = Px(0xCF, 0xFF, 0xCF, 0), middle = Px(0xAF, 0xCF, 0xAF, 0),
                      dark = Px(0x7F, 0xAF, 0x7F, 0), pale = Px(0xAF, 0xFF, 0xAF, 0);
static const uint32_t black = Px(0, 0, 0, 255), dimmed = Px(0x8F, 0xBF, 0x8F, 255);

// A box of inner area (x, y, w, h): fill from x-1 to x+w and y-1 to y+h, top and left
// rims along y-1 and x-1, bottom and right along y+h and x+w, corners left in the fill.
static void paintBox(Image& img, int x, int y, int w, int h, uint32_t fill, uint32_t topLeft,
                     uint32_t bottomRight) {
  PaintRect(img, x - 1, y - 1, w + 2, h + 2, fill);
  PaintRect(img, x, y - 1, w, 1, topLeft);
  PaintRect(img, x - 1, y, 1, h, topLeft);
  PaintRect(img, x, y + h, w, 1, bottomRight);
  PaintRect(img, x + w, y, 1, h, bottomRight);
}

static std::vector<GlyphDraw> operator+(std::vector<GlyphDraw> a, const std::vector<GlyphDraw>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class Boxes : public ScreenTest {
 protected:
  Boxes() : ScreenTest(Px(0x20, 0x30, 0x40, 255)) {}
};

// List rows of 256 bytes each.
static const char listRows[3][256] = {"one", "two", "three"};

TEST_F(Boxes, DrawFillRimsAndText) {
  struct Case {
    const char* name;
    GEMBox box;
    uint32_t fill, topLeft, bottomRight;
    std::vector<int> bar;  // x, y, w, h of a list's highlight, painted in dark
    uint32_t ink;
    std::vector<GlyphDraw> glyphs;
    // clang-format off
  } cases[] = {
      {"raised 0x13", {"Punkt", 0x13, 1, 8, 8, 200, 24, 0, 0, nullptr}, middle, light, dark, {},
       black, GlyphsOf("Punkt", 68, 12)},
      {"pressed 0x17", {"Punkt", 0x17, 1, 8, 8, 200, 24, 0, 0, nullptr}, dark, middle, light, {},
       black, GlyphsOf("Punkt", 68, 12)},
      {"heading 0x02 dimmed", {"Punkt", 0x02, 1, 8, 8, 200, 24, 0, 0, nullptr}, middle, light, dark,
       {}, dimmed, GlyphsOf("Punkt", 68, 12)},
      {"centred by characters", {"Łamana", 0x13, 1, 8, 8, 200, 24, 0, 0, nullptr}, middle, light,
       dark, {}, black, std::vector<GlyphDraw>{{99, 60, 12}} + GlyphsOf("amana", 76, 12)},
      {"own fill with alpha and own text colour",
       {"ab", 0x02, 0, 30, 40, 50, 30, Px(255, 0, 0, 0x7F), (int32_t)Px(0, 0, 255, 0), nullptr},
       Px(255, 0, 0, 0x7F), light, dark, {}, Px(0, 0, 255, 255), GlyphsOf("ab", 39, 47)},
      {"one-line field: 12 glyphs from x+4, y+4",
       {"abcdefghijklmnopqrst", 0x03, 11, 8, 8, 200, 24, 0, 0, nullptr}, pale, dark, light, {},
       black, GlyphsOf("abcdefghijkl", 12, 12)},
      {"wrapped field", {"abcdefghijklmnop", 0x03, 12, 8, 8, 100, 40, 0, 0, nullptr}, pale, dark,
       light, {}, black, GlyphsOf("abcdef", 10, 12) + GlyphsOf("ghijkl", 10, 28)},
      {"list without highlight", {listRows[0], 0x03, 13, 8, 8, 200, 56, 3, -1, nullptr}, pale, dark,
       light, {}, black,
       GlyphsOf("one", 12, 12) + GlyphsOf("two", 12, 28) + GlyphsOf("three", 12, 44)},
      {"list with row 2 highlighted", {listRows[0], 0x03, 13, 8, 8, 200, 56, 3, 2, nullptr}, pale,
       dark, light, {8, 44, 200, 16}, black,
       GlyphsOf("one", 12, 12) + GlyphsOf("two", 12, 28) + GlyphsOf("three", 12, 44)},
      {"type 14: sunken, nothing inside", {"x", 0x13, 14, 8, 8, 200, 24, 0, 0, nullptr}, pale, dark,
       light, {}, black, {}},
      {"type 30: raised, nothing inside", {"x", 0x13, 30, 8, 8, 200, 24, 0, 0, nullptr}, middle,
       light, dark, {}, black, {}},
      {"type 30 selected: pressed", {"x", 0x17, 30, 8, 8, 200, 24, 0, 0, nullptr}, dark, middle,
       light, {}, black, {}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ClearTarget(GEMScreen, bg);
    GEMDrawBox(c.box);
    Image want(640, 400, bg);
    paintBox(want, c.box.x, c.box.y, c.box.w, c.box.h, c.fill, c.topLeft, c.bottomRight);
    if (!c.bar.empty()) PaintRect(want, c.bar[0], c.bar[1], c.bar[2], c.bar[3], dark);
    PaintGlyphs(want, c.ink, c.glyphs);
    EXPECT_TRUE(SameImage(ReadPixels(GEMScreen), want));
  }
}

TEST_F(Boxes, PunktBoxEdgesAsStated) {
  GEMDrawBox({"Punkt", 0x13, 1, 8, 8, 200, 24, 0, 0, nullptr});
  Image img = ReadPixels(GEMScreen);
  const struct {
    int x, y;
    uint32_t want;
  } px[] = {{7, 7, middle},  {208, 7, middle}, {7, 32, middle}, {208, 32, middle},  // corners
            {8, 7, light},   {207, 7, light},  {7, 8, light},   {7, 31, light},    {8, 32, dark},
            {207, 32, dark}, {208, 8, dark},   {208, 31, dark}, {6, 7, bg},        {209, 20, bg},
            {100, 6, bg},    {100, 33, bg},    {60, 20, middle}};
  for (const auto& p : px) EXPECT_EQ(img.at(p.x, p.y), p.want) << "at " << p.x << ", " << p.y;
  EXPECT_EQ(GPR.x, 68 + 5 * 16);  // the pen is left after the label
  EXPECT_EQ(GPR.y, 12);
}

// The image is modulated by the text colour: its own colours under white text,
// black under the standard text of an enabled box.
TEST_F(Boxes, ImageStretchedOverTheInnerArea) {
  SDL_Texture* pic =
      SDL_CreateTexture(SDLRenderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, 2, 1);
  const uint32_t red = Px(255, 0, 0, 255), blue = Px(0, 0, 255, 255);
  const uint32_t pixels[2] = {red, blue};
  SDL_UpdateTexture(pic, nullptr, pixels, 8);
  struct {
    const char* name;
    int32_t text;
    uint32_t left, right;
  } cases[] = {{"white text", (int32_t)0xFFFFFFFF, red, blue}, {"standard text", 0, black, black}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ClearTarget(GEMScreen, bg);
    GEMDrawBox({nullptr, 0x13, 0, 20, 20, 40, 10, 0, c.text, pic});
    Image want(640, 400, bg);
    paintBox(want, 20, 20, 40, 10, middle, light, dark);
    PaintRect(want, 20, 20, 20, 10, c.left);
    PaintRect(want, 40, 20, 20, 10, c.right);
    EXPECT_TRUE(SameImage(ReadPixels(GEMScreen), want));
    EXPECT_EQ(DST.x, 20);
    EXPECT_EQ(DST.w, 40);
  }
  SDL_DestroyTexture(pic);
}

TEST_F(Boxes, TableDrawnLastRecordFirst) {
  // Record 0 overlaps record 5; records 1 to 4 stand apart.
  // clang-format off
  const GEMBox table[6] = {
      {nullptr, 0x13, 1, 20, 20, 100, 30, 0, 0, nullptr},
      {nullptr, 0x13, 1, 300, 20, 20, 20, 0, 0, nullptr},
      {nullptr, 0x17, 1, 300, 60, 20, 20, 0, 0, nullptr},
      {nullptr, 0x13, 11, 300, 100, 20, 20, 0, 0, nullptr},
      {nullptr, 0x13, 30, 300, 140, 20, 20, 0, 0, nullptr},
      {nullptr, 0x17, 1, 60, 30, 100, 30, 0, 0, nullptr},
  };
  // clang-format on
  GEMDrawBoxes(table, 0);
  EXPECT_TRUE(SameImage(ReadPixels(GEMScreen), Image(640, 400, bg)));

  GEMDrawBoxes(table, 6);
  Image want(640, 400, bg);
  paintBox(want, 60, 30, 100, 30, dark, middle, light);
  paintBox(want, 300, 140, 20, 20, middle, light, dark);
  paintBox(want, 300, 100, 20, 20, pale, dark, light);
  paintBox(want, 300, 60, 20, 20, dark, middle, light);
  paintBox(want, 300, 20, 20, 20, middle, light, dark);
  paintBox(want, 20, 20, 100, 30, middle, light, dark);
  Image got = ReadPixels(GEMScreen);
  EXPECT_TRUE(SameImage(got, want));
  EXPECT_EQ(got.at(80, 40), middle);  // record 0 on top where they overlap
}
