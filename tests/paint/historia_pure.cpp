#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "paint/historia_core.h"
#include "raster/raster_core.h"

namespace {

// A step of n pixels, told apart by its version numbers (id before, id + 1 after).
Krok KrokId(uint64_t id, size_t n = 1) {
  return {{0, 0, int32_t(n), 1}, std::vector<uint32_t>(n, uint32_t(id)), id, id + 1};
}

// The ids of the steps kept, oldest first, with '|' where the done ones end.
std::string Kroki(const Historia& h) {
  std::string s;
  for (size_t i = h.pierwszy; i <= h.kroki.size(); i++) {
    if (i == h.poz) s += "|";
    if (i < h.kroki.size()) s += std::to_string(h.kroki[i].przed);
  }
  return s;
}

}  // namespace

TEST(Historia, StepsGoBackAndForwardAndANewStepDropsThoseAhead) {
  Historia h;
  h.budzet = 1 << 20;
  for (uint64_t id : {1, 2, 3}) DodajKrok(h, KrokId(id));
  EXPECT_EQ(Kroki(h), "123|");
  EXPECT_EQ(Naprzod(h), nullptr) << "nothing ahead";
  EXPECT_EQ(Wstecz(h)->przed, 3u);
  EXPECT_EQ(Wstecz(h)->przed, 2u);
  EXPECT_EQ(Kroki(h), "1|23");
  EXPECT_EQ(Naprzod(h)->przed, 2u);
  EXPECT_EQ(Kroki(h), "12|3");
  DodajKrok(h, KrokId(4));
  EXPECT_EQ(Kroki(h), "124|") << "3 is gone";
  EXPECT_EQ(h.bajty, 3 * KosztKroku(KrokId(1)));
  for (uint64_t id : {4, 2, 1}) EXPECT_EQ(Wstecz(h)->przed, id);
  EXPECT_EQ(Wstecz(h), nullptr) << "nothing before the first";
  EXPECT_EQ(Kroki(h), "|124");
  DodajKrok(h, KrokId(5));
  EXPECT_EQ(Kroki(h), "5|") << "a step after going back to the start drops them all";
}

TEST(Historia, TheOldestGoWhileTheStepsCostMoreThanTheBudgetButNeverTheNewest) {
  const size_t c1 = KosztKroku(KrokId(0, 1)), c100 = KosztKroku(KrokId(0, 100));
  EXPECT_EQ(c100 - c1, 99 * sizeof(uint32_t)) << "a step costs its pixels";
  struct {
    const char* name;
    size_t budzet;
    std::vector<size_t> pixels;  // of steps 1, 2, ... in turn
    const char* kept;
    // clang-format off
  } rows[] = {
      {"all fit", 5 * c100, {100, 100, 100, 100}, "1234|"},
      {"three fit exactly", 3 * c100, {100, 100, 100, 100, 100}, "345|"},
      {"one byte short of three", 3 * c100 - 1, {100, 100, 100, 100, 100}, "45|"},
      {"a big step pushes out several small", 4 * c1 + c100, {1, 1, 1, 1, 1, 100}, "23456|"},
      {"a step larger than the budget stays alone", c100, {1, 1, 1000}, "3|"},
      {"a budget of nothing keeps the newest", 0, {1, 1, 1}, "3|"},
      {"many steps through a budget of three", 3 * c100,
       std::vector<size_t>(20, 100), "181920|"},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Historia h;
    h.budzet = r.budzet;
    uint64_t id = 1;
    size_t sum = 0;
    for (size_t n : r.pixels) DodajKrok(h, KrokId(id++, n));
    EXPECT_EQ(Kroki(h), r.kept);
    for (size_t i = h.pierwszy; i < h.kroki.size(); i++) sum += KosztKroku(h.kroki[i]);
    EXPECT_EQ(h.bajty, sum);
  }
}

TEST(Historia, AfterTheOldestWentBackStopsAtTheOldestKept) {
  const size_t c1 = KosztKroku(KrokId(0, 1));
  Historia h;
  h.budzet = 3 * c1;
  for (uint64_t id = 1; id <= 10; id++) DodajKrok(h, KrokId(id));
  EXPECT_EQ(Kroki(h), "8910|");
  for (uint64_t id : {10, 9, 8}) EXPECT_EQ(Wstecz(h)->przed, id);
  EXPECT_EQ(Wstecz(h), nullptr) << "7 is gone";
  EXPECT_EQ(Naprzod(h)->przed, 8u);
  DodajKrok(h, KrokId(11));
  EXPECT_EQ(Kroki(h), "811|");
  EXPECT_EQ(h.bajty, 2 * c1);
}

TEST(Historia, RoznicaIsTheBoxOfThePixelsThatDiffer) {
  struct {
    const char* name;
    int w, h;
    Prostokat r;  // where to look
    std::vector<std::pair<int, int>> changed;
    Prostokat want;
    // clang-format off
  } rows[] = {
      {"equal images", 8, 5, {0, 0, 8, 5}, {}, {0, 0, 0, 0}},
      {"one pixel", 8, 5, {0, 0, 8, 5}, {{3, 2}}, {3, 2, 1, 1}},
      {"the first and the last", 8, 5, {0, 0, 8, 5}, {{0, 0}, {7, 4}}, {0, 0, 8, 5}},
      {"two in one row", 8, 5, {0, 0, 8, 5}, {{1, 3}, {6, 3}}, {1, 3, 6, 1}},
      {"left in a lower row, right in a higher", 8, 5, {0, 0, 8, 5}, {{6, 1}, {2, 4}},
       {2, 1, 5, 4}},
      {"a one-pixel-wide image", 1, 6, {0, 0, 1, 6}, {{0, 5}}, {0, 5, 1, 1}},
      {"the last column of a whole picture", 640, 400, {0, 0, 640, 400}, {{639, 200}},
       {639, 200, 1, 1}},
      {"inside a part only", 640, 400, {100, 50, 20, 10}, {{99, 55}, {105, 50}, {119, 59},
       {120, 55}, {110, 60}}, {105, 50, 15, 10}},
      {"nothing inside the part", 640, 400, {100, 50, 20, 10}, {{99, 55}, {110, 60}},
       {0, 0, 0, 0}},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    std::vector<uint32_t> a(size_t(r.w) * r.h, 0x7FFFFFFF), b = a;
    for (auto [x, y] : r.changed) b[size_t(y) * r.w + x] ^= 0x01000000;  // alpha alone
    Prostokat d = Roznica(a.data(), b.data(), r.w, r.r);
    EXPECT_EQ(d.x, r.want.x);
    EXPECT_EQ(d.y, r.want.y);
    EXPECT_EQ(d.w, r.want.w);
    EXPECT_EQ(d.h, r.want.h);
  }
}

TEST(Historia, KawalekCopiesTheRectanglesRows) {
  std::vector<uint32_t> src(6 * 4), out = {99};
  for (size_t i = 0; i < src.size(); i++) src[i] = uint32_t(i);
  Kawalek(src.data(), 6, {2, 1, 3, 2}, out);
  EXPECT_EQ(out, (std::vector<uint32_t>{8, 9, 10, 14, 15, 16}));
}

TEST(Historia, SumaHoldsBothRectangles) {
  struct {
    const char* name;
    Prostokat a, b, want;
    // clang-format off
  } rows[] = {
      {"apart", {10, 10, 5, 5}, {30, 2, 1, 1}, {10, 2, 21, 13}},
      {"one inside the other", {0, 0, 640, 400}, {5, 5, 2, 2}, {0, 0, 640, 400}},
      {"an empty one adds nothing", {0, 0, 0, 0}, {30, 2, 1, 1}, {30, 2, 1, 1}},
      {"nor on the other side", {30, 2, 1, 1}, {0, 0, 0, 0}, {30, 2, 1, 1}},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    Prostokat s = Suma(r.a, r.b);
    EXPECT_EQ(s.x, r.want.x);
    EXPECT_EQ(s.y, r.want.y);
    EXPECT_EQ(s.w, r.want.w);
    EXPECT_EQ(s.h, r.want.h);
  }
}

// The boxes against what the raster walks draw: every pen pixel of every point of a
// line or an ellipse on the picture lies in its box, and the box is cut to the picture.
// A box too small would leave pixels that going back does not restore.
TEST(Historia, PenBoxesHoldEverythingTheWalksDraw) {
  // The pixels of pts drawn with pen width szer (spans are drawn whole, with no pen),
  // and how many of them on the picture lie outside b.
  auto outside = [](Prostokat b, uint8_t szer, const std::vector<RasterPoint>& pts,
                    const std::vector<RasterSpan>& spans) {
    std::vector<RasterPoint> px;
    for (RasterPoint p : pts) {
      std::vector<RasterSpan> disc;
      if (szer > 1) DiscSpans(p.x, p.y, szer / 2, disc);
      if (szer <= 1) px.push_back(p);
      for (const RasterSpan& s : disc)
        for (int32_t x = s.x1; x <= s.x2; x++) px.push_back({x, s.y});
    }
    for (const RasterSpan& s : spans) px.insert(px.end(), {{s.x1, s.y}, {s.x2, s.y}});
    int n = 0;
    for (RasterPoint p : px)
      n += p.x >= 0 && p.y >= 0 && p.x < CanvasW && p.y < CanvasH &&
           !(p.x >= b.x && p.y >= b.y && p.x < b.x + b.w && p.y < b.y + b.h);
    EXPECT_TRUE(b.x >= 0 && b.y >= 0 && b.x + b.w <= CanvasW && b.y + b.h <= CanvasH);
    return n;
  };
  struct {
    int32_t x1, y1, x2, y2;
  } lines[] = {{10, 10, 10, 10},    {5, 7, 60, 20},     {60, 20, 5, 7},
               {-30, 390, 20, 420}, {630, -5, 700, 50}, {0, 0, 639, 399}};
  for (uint8_t szer : {0, 1, 2, 5, 14})
    for (const auto& l : lines) {
      SCOPED_TRACE(testing::Message() << "line " << l.x1 << "," << l.y1 << " " << l.x2 << ","
                                      << l.y2 << " width " << int(szer));
      std::vector<RasterPoint> pts;
      LinePoints(l.x1, l.y1, l.x2, l.y2, 0xFFFFFFFF, pts);
      EXPECT_EQ(outside(Pedzel(l.x1, l.y1, l.x2, l.y2, szer), szer, pts, {}), 0);
    }
  struct {
    int32_t xc, yc, a, b;
  } ellipses[] = {{100, 100, 1, 1}, {100, 100, 37, 5},  {100, 100, -37, -5}, {300, 200, 3, 90},
                  {5, 5, 40, 40},   {635, 395, 20, 30}, {320, 200, 600, 400}};
  for (uint8_t szer : {1, 4, 13})
    for (const auto& e : ellipses) {
      SCOPED_TRACE(testing::Message() << "ellipse " << e.xc << "," << e.yc << " " << e.a << "x"
                                      << e.b << " width " << int(szer));
      std::vector<RasterPoint> pts;
      std::vector<RasterSpan> spans;
      EllipsePoints(e.xc, e.yc, e.a, e.b, 0xFFFFFFFF, pts);
      EllipseSpans(e.xc, e.yc, e.a, e.b, spans);
      EXPECT_EQ(outside(ObszarElipsy(e.xc, e.yc, e.a, e.b, szer), szer, pts, spans), 0);
    }
  // A point far off the window gives nothing, and does not wrap round onto the picture.
  Prostokat far = Pedzel(-2000000000, 5, -2000000000, 5, 14);
  EXPECT_EQ(far.w * far.h, 0);
  far = Pedzel(2000000000, 5, 2000000000, 5, 14);
  EXPECT_EQ(far.w * far.h, 0);
}

TEST(Historia, KeysCtrlZBackCtrlYAndCtrlShiftZForward) {
  struct {
    const char* name;
    int32_t key;
    bool ctrl, shift, alt;
    Kierunek want;
    // clang-format off
  } rows[] = {
      {"Ctrl+Z", 'z', true, false, false, WSTECZ},
      {"Ctrl+Y", 'y', true, false, false, NAPRZOD},
      {"Ctrl+Shift+Z", 'z', true, true, false, NAPRZOD},
      {"Z alone", 'z', false, false, false, ZADEN},
      {"Shift+Z", 'z', false, true, false, ZADEN},
      {"Ctrl+Shift+Y", 'y', true, true, false, ZADEN},
      {"Ctrl+Alt+Z, a letter on some layouts", 'z', true, false, true, ZADEN},
      {"Ctrl+X", 'x', true, false, false, ZADEN},
      {"Ctrl and Backspace", 8, true, false, false, ZADEN},
  };
  // clang-format on
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(KlawiszHistorii(r.key, r.ctrl, r.shift, r.alt), r.want);
  }
}
