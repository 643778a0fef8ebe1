// PNG files in the paint program, end to end, beside libpng's own work on the same
// data. LoadPNG_Picture: open and read a 640x400 PNG, decode it, stretch it over the
// picture and upload it into rob_e$ (LoadPNG with the "BMP" box), timed until the
// renderer is done; its floor LibpngDecode is libpng's simplified reader decoding the
// same bytes from memory to RGBA. SavePNG_Picture: read the picture back, encode it as
// 8-bit RGB and write it with the replace-on-write routine (SavePNG); its floor
// LibpngEncode is libpng's simplified writer encoding the same pixels as RGB into memory.
#include <benchmark/benchmark.h>
#include <png.h>

#include <string>
#include <vector>

#include "bench/renderer.h"
#include "paint/paint.h"
#include "picfiles/pic_core.h"
#include "picfiles/picfiles.h"
#include "picfiles/png_core.h"
#include "platform/platform.h"
#include "tests/picfiles/picmake.h"
#include "tests/support/scratch.h"

static std::string pngPath, savePath;
static std::vector<uint8_t> pngBytes, pixels;  // the file; the picture, 4 bytes a pixel

static void LoadPNG_Picture(benchmark::State& state) {
  for (auto _ : state) {
    LoadPNG(pngPath.c_str(), 1);
    WaitForRenderer(rob_e$);
  }
  state.SetItemsProcessed(state.iterations() * PicW * PicH);
}
BENCHMARK(LoadPNG_Picture)->Unit(benchmark::kMillisecond);

static void LibpngDecode(benchmark::State& state) {
  std::vector<uint8_t> rgba(size_t(PicW) * PicH * 4);
  for (auto _ : state) {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    png_image_begin_read_from_memory(&image, pngBytes.data(), pngBytes.size());
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr))
      state.SkipWithError(image.message);
    benchmark::DoNotOptimize(rgba.data());
  }
  state.SetItemsProcessed(state.iterations() * PicW * PicH);
}
BENCHMARK(LibpngDecode)->Unit(benchmark::kMillisecond);

static void SavePNG_Picture(benchmark::State& state) {
  for (auto _ : state) {
    SDL_SetRenderTarget(SDLRenderer, rob_e$);
    if (SavePNG(PicW, PicH, savePath.c_str()) != 0) state.SkipWithError(SDL_GetError());
  }
  state.SetItemsProcessed(state.iterations() * PicW * PicH);
}
BENCHMARK(SavePNG_Picture)->Unit(benchmark::kMillisecond);

static void LibpngEncode(benchmark::State& state) {
  std::vector<uint8_t> rgb;
  for (size_t i = 0; i < pixels.size(); i += 4) rgb.insert(rgb.end(), &pixels[i], &pixels[i + 3]);
  std::vector<uint8_t> out(rgb.size() * 2);
  for (auto _ : state) {
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = PicW;
    image.height = PicH;
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = out.size();
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), 0, nullptr))
      state.SkipWithError(image.message);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * PicW * PicH);
}
BENCHMARK(LibpngEncode)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  StartRenderer();
  Scratch work("bench");
  pngPath = work / "bench.png";
  savePath = work / "saved.png";
  // A drawing in the program's colours, as the picture usually holds one: a PI1
  // pattern stretched over 640x400.
  PicImage img;
  std::vector<uint8_t> pi1 = Degas(PlanesOf(Pattern(320, 200, 4), 320, 200, 4));
  std::vector<uint32_t> picture;
  if (!PicLoad(pi1.data(), pi1.size(), 4, GEMColor, img)) return 1;
  PicStretch(img, picture);
  pixels.assign(reinterpret_cast<const uint8_t*>(picture.data()),
                reinterpret_cast<const uint8_t*>(picture.data() + picture.size()));
  if (!PngRgb(pixels.data(), PicW, PicH, size_t(PicW) * 4, pngBytes).empty()) return 1;
  if (!WriteBytes(pngPath, pngBytes)) return 1;
  SDL_UpdateTexture(rob_e$, nullptr, pixels.data(), PicW * 4);
  return RunBenchmarks(argc, argv);
}
