// The block tool on the real renderer: cutting, stamping in the five modes, the
// preview, undo, the pointer, and the block's life across the screens.
#include <atomic>

#include "tests/paint/karta_gl.h"

// test_paint_gl links with SDL_RenderReadPixels wrapped, to count the calls.
static std::atomic<int> readBacks{0};
extern "C" int __real_SDL_RenderReadPixels(SDL_Renderer*, const SDL_Rect*, Uint32, void*, int);
extern "C" int __wrap_SDL_RenderReadPixels(SDL_Renderer* r, const SDL_Rect* rect, Uint32 format,
                                           void* pixels, int pitch) {
  readBacks++;
  return __real_SDL_RenderReadPixels(r, rect, format, pixels, pitch);
}
int ReadBacks() { return readBacks; }

namespace {

// The block tool on the drawing screen, over the picture Karta.
class Blok : public NaKarcie {
 protected:
  void SetUp() override {
    NaKarcie::SetUp();
    UsunBlok();
    co = 10;
  }
  void TearDown() override {
    UsunBlok();
    SDL_ShowCursor(SDL_ENABLE);
    NaKarcie::TearDown();
  }
  static void UsunBlok() {
    if (blok$) SDL_DestroyTexture(blok$);
    blok$ = nullptr;
  }
  // The drawing loop given the events pushed so far and a right press to leave.
  static void Rysuj() {
    PushButton(true, SDL_BUTTON_RIGHT, 5, 5);
    pracownia();
  }
  // Cuts the block between the corners in a drawing loop of its own.
  static void Wytnij(int x1, int y1, int x2, int y2) {
    PushCut(x1, y1, x2, y2);
    Rysuj();
  }
};

TEST_F(Blok, WithoutABlockClicksDoNothingAndThePointerShows) {
  PushMotion(30, 30);
  PushButton(true, SDL_BUTTON_LEFT, 40, 40);
  PushMotion(50, 50, SDL_BUTTON_LMASK);
  PushKey(SDLK_a);
  Rysuj();
  EXPECT_EQ(k, 3);
  EXPECT_EQ(blok$, nullptr);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  EXPECT_TRUE(SameImage(Picture(), karta));
  EXPECT_TRUE(SameImage(ReadPixels(nullptr), karta, true)) << "the window shows the picture";
}

TEST_F(Blok, CutsTheRectangleTheCornersSpanInAnyOrder) {
  struct {
    const char* name;
    int x1, y1, x2, y2;
    SDL_Rect want;
    // clang-format off
  } cases[] = {
      {"bottom-right, then top-left", 109, 55, 100, 50, {100, 50, 10, 6}},
      {"top-right, then bottom-left", 109, 50, 100, 55, {100, 50, 10, 6}},
      {"the same pixel twice", 7, 9, 7, 9, {7, 9, 1, 1}},
      {"the whole picture", 639, 399, 0, 0, {0, 0, 640, 400}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    UsunBlok();
    Wytnij(c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(k, 3);
    ASSERT_NE(blok$, nullptr);
    Uint32 format;
    int access;
    SDL_QueryTexture(blok$, &format, &access, nullptr, nullptr);
    EXPECT_EQ(format, Uint32(SDL_PIXELFORMAT_ABGR8888));
    EXPECT_EQ(access, SDL_TEXTUREACCESS_TARGET);
    EXPECT_TRUE(
        SameImage(ReadPixels(blok$), Wycinek(karta, c.want.x, c.want.y, c.want.w, c.want.h)))
        << "the pixels exactly, alpha included";
    EXPECT_TRUE(SameImage(Picture(), karta)) << "the cut leaves the picture";
  }
}

TEST_F(Blok, ACancelledCutKeepsTheOldBlockAndTheTool) {
  const Image old = Wycinek(karta, 10, 10, 4, 3);
  struct {
    const char* name;
    void (*cancel)();
    // clang-format off
  } cases[] = {
      {"right click at the first corner", [] { PushButton(true, SDL_BUTTON_RIGHT, 200, 200); }},
      {"middle click at the first corner", [] { PushButton(true, SDL_BUTTON_MIDDLE, 200, 200); }},
      {"Escape at the first corner", [] { PushKey(SDLK_ESCAPE); }},
      {"right click at the second corner",
       [] {
         PushClick(SDL_BUTTON_LEFT, 200, 200);
         PushMotion(220, 220);
         PushButton(true, SDL_BUTTON_RIGHT, 220, 220);
       }},
      {"Escape at the second corner",
       [] {
         PushClick(SDL_BUTTON_LEFT, 200, 200);
         PushMotion(220, 220);
         PushKey(SDLK_ESCAPE);
       }},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    UsunBlok();
    Pokaz(karta);
    Wytnij(10, 10, 13, 12);
    SDL_Texture* before = blok$;
    PushKey(SDLK_ESCAPE);
    PushMotion(200, 200);
    c.cancel();
    // Still in the block tool: a stamp of the old block, then the right press leaves.
    PushButton(true, SDL_BUTTON_LEFT, 300, 300);
    Rysuj();
    EXPECT_EQ(blok$, before);
    EXPECT_TRUE(SameImage(ReadPixels(blok$), old));
    Image want = karta;
    Naklej(want, old, 300, 300, 0);
    EXPECT_TRUE(SameImage(Picture(), want)) << "stamped after the cancel";
  }
}

TEST_F(Blok, StampsInEveryModeByItsBlendEquation) {
  // A block of all sixteen colours stamped over a picture of all sixteen, so that
  // every colour meets every other in every mode.
  Image pic(640, 400, GEMColor[0]);
  for (int py = 0; py < 16; py++)
    for (int px = 0; px < 256; px++) pic.at(px, 100 + py) = GEMColor[px / 16];
  for (int px = 0; px < 16; px++) pic.at(px, 0) = GEMColor[px];
  Pokaz(pic);
  Wytnij(0, 0, 15, 0);
  const Image b = ReadPixels(blok$);
  for (uint8_t mode = 0; mode < 5; mode++) {
    SCOPED_TRACE(tryb$[mode]);
    tryb = mode;
    Pokaz(pic);
    for (int row = 0; row < 16; row++) PushButton(true, SDL_BUTTON_LEFT, 16 * row, 100 + row);
    Rysuj();
    Image want = pic;
    for (int row = 0; row < 16; row++) Naklej(want, b, 16 * row, 100 + row, mode);
    Image got = Picture();
    EXPECT_TRUE(mode == 0 ? SameImage(got, want) : SameImage(got, want, Blended));
    EXPECT_TRUE(SameImage(ReadPixels(nullptr), want, BlendedShown))
        << "the window shows the stamped picture, with no preview over the last stamp";
  }
}

TEST_F(Blok, ADragStampsATrailAndBackspaceTakesBackTheLastStampOnly) {
  Wytnij(0, 0, 5, 4);
  const Image b = Wycinek(karta, 0, 0, 6, 5);
  PushButton(true, SDL_BUTTON_LEFT, 100, 100);
  PushMotion(103, 101, SDL_BUTTON_LMASK);
  PushMotion(110, 104, SDL_BUTTON_LMASK);
  Image two = karta, three;
  Naklej(two, b, 100, 100, 0);
  Naklej(two, b, 103, 101, 0);
  three = two;
  Naklej(three, b, 110, 104, 0);
  PushButton(false, SDL_BUTTON_LEFT, 110, 104);
  PushMotion(200, 200);  // the preview moves on; nothing is stamped
  PushKey(SDLK_BACKSPACE);
  Rysuj();
  EXPECT_TRUE(SameImage(Picture(), two));

  Pokaz(karta);
  PushButton(true, SDL_BUTTON_LEFT, 100, 100);
  PushMotion(103, 101, SDL_BUTTON_LMASK);
  PushMotion(110, 104, SDL_BUTTON_LMASK);
  Rysuj();
  EXPECT_TRUE(SameImage(Picture(), three)) << "without the Backspace";
}

TEST_F(Blok, StampsAreCutAtTheRightAndBottomEdges) {
  Wytnij(20, 20, 29, 29);
  const Image b = Wycinek(karta, 20, 20, 10, 10);
  for (auto [px, py] : Points{{636, 100}, {100, 397}, {639, 399}, {635, 395}})
    PushButton(true, SDL_BUTTON_LEFT, px, py);
  Rysuj();
  Image want = karta;
  for (auto [px, py] : Points{{636, 100}, {100, 397}, {639, 399}, {635, 395}})
    Naklej(want, b, px, py, 0);
  EXPECT_TRUE(SameImage(Picture(), want));
}

TEST_F(Blok, PreviewFollowsThePointerOnTheWindowInTheModeAndOverTheGrid) {
  Wytnij(0, 0, 7, 7);
  const Image b = Wycinek(karta, 0, 0, 8, 8);
  struct {
    const char* name;
    uint8_t mode;
    int32_t grid;
  } cases[] = {{"Wymiana", 0, 0}, {"Iloczyn", 3, 0}, {"Wymiana with the grid", 0, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    tryb = c.mode;
    Pokaz(karta);
    kr = c.grid;
    krh = krv = 8 * c.grid;
    krata();
    PushMotion(300, 200);
    PushKey(SDLK_a);  // a key leaves the preview where it was
    k = key = 0;
    // Where the pointer was last: (300, 200), or where a test server shared with other
    // tests reported a crossing of their windows.
    auto [px, py] = KoniecPrawym(blok);
    EXPECT_EQ(k, 3);
    Image want = karta;
    Naklej(want, b, px, py, c.mode);
    if (c.grid)
      for (int gy = 0; gy < 400; gy++)
        for (int gx = 0; gx < 640; gx++)
          if (gx % 8 == 0 || gy % 8 == 0)
            want.at(gx, gy) = BlendPixel(1, Px(0, 0, 0, 128), want.at(gx, gy));
    EXPECT_TRUE(SameImage(ReadPixels(nullptr), want, BlendedShown));
    EXPECT_TRUE(SameImage(Picture(), karta)) << "the preview never touches the picture";
  }
}

TEST_F(Blok, ThePointerIsHiddenWhileThereIsABlock) {
  bool shown = true;
  auto query = [&] { shown = SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE; };
  // Looked at while the loop waits for its next event after a motion.
  auto look = [&](std::vector<std::function<void()>> steps) {
    steps.push_back([] { PushMotion(100, 100); });
    steps.push_back([&] {
      query();
      PushButton(true, SDL_BUTTON_RIGHT, 5, 5);
    });
    Player user(steps);
    pracownia();
  };
  look({});
  EXPECT_TRUE(shown) << "no block yet";
  look({[] { PushKey(SDLK_ESCAPE); }, [] { PushClick(SDL_BUTTON_LEFT, 10, 10); },
        [] { PushClick(SDL_BUTTON_LEFT, 12, 12); }});
  EXPECT_FALSE(shown) << "after the cut";
  EXPECT_TRUE(SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE) << "shown when the tool is left";
  look({});
  EXPECT_FALSE(shown) << "on coming back with the block";
}

TEST_F(Blok, TheGridIsNeverPartOfACutBlock) {
  kr = 1;
  krh = krv = 8;
  krata();
  Wytnij(4, 4, 20, 20);
  EXPECT_TRUE(SameImage(ReadPixels(blok$), Wycinek(karta, 4, 4, 17, 17)));
}

TEST_F(Blok, TheBlockOutlivesTheControlScreenAndStampsInTheNewMode) {
  Wytnij(0, 0, 15, 0);
  const Image b = Wycinek(karta, 0, 0, 16, 1);
  SDL_Texture* made = blok$;
  do_menu();
  tryb = 2;  // "Suma"
  do_ekranu();
  PushButton(true, SDL_BUTTON_LEFT, 50, 60);
  Rysuj();
  EXPECT_EQ(blok$, made);
  Image want = karta;
  Naklej(want, b, 50, 60, 2);
  EXPECT_TRUE(SameImage(Picture(), want, Blended));
}

TEST_F(Blok, GridKeysAndBackspaceWorkInTheLoop) {
  Wytnij(0, 0, 3, 3);
  PushKey(SDLK_PERIOD);
  PushKey(SDLK_PERIOD);
  PushButton(true, SDL_BUTTON_LEFT, 50, 60);
  PushKey(SDLK_BACKSPACE);
  Rysuj();
  EXPECT_EQ(kr, 2);
  EXPECT_TRUE(SameImage(Picture(), karta));
}

TEST_F(Blok, CutsAndStampsReadNothingBack) {
  int before = readBacks;
  Wytnij(0, 0, 63, 63);
  for (int i = 0; i < 100; i++) PushMotion(5 * i, 100 + i, SDL_BUTTON_LMASK);
  Rysuj();
  EXPECT_EQ(readBacks - before, 0) << "GPU copies only";
  Picture();
  EXPECT_EQ(readBacks - before, 1) << "the count works";
}

}  // namespace
