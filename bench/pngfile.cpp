// PNG files in the paint program, end to end, beside libpng's own work on the same
// data. LoadPNG_Picture: open and read a 640x400 PNG, decode it, stretch it over the
// picture and upload it into rob_e$ (LoadPNG with the "BMP" box), timed until the
// renderer is done; its floor LibpngDecode is libpng's simplified reader decoding the
// same bytes from memory to RGBA. SavePNG_Picture: read the picture back, encode it as
// 8-bit RGB and write it with the replace-on-write routine (SavePNG). Its floor
// LibpngEncodeDurably does the same durable work with libpng's simplified writer: the
// same pixels as RGB into a file beside the target, flushed to the disk, renamed over
// it, the directory flushed. LibpngEncode, the encoding alone into memory, is the floor
// of the processor's part.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
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

static std::string workDir, pngPath, savePath, floorPath;
static std::vector<uint8_t> pngBytes, pixels;  // the file; the picture, 4 bytes a pixel
static std::vector<uint8_t> rgb;               // the picture, 3 bytes a pixel

static png_image RgbPicture() {
  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  image.width = PicW;
  image.height = PicH;
  image.format = PNG_FORMAT_RGB;
  return image;
}

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
  std::vector<uint8_t> out(rgb.size() * 2);
  for (auto _ : state) {
    png_image image = RgbPicture();
    png_alloc_size_t size = out.size();
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rgb.data(), 0, nullptr))
      state.SkipWithError(image.message);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * PicW * PicH);
}
BENCHMARK(LibpngEncode)->Unit(benchmark::kMillisecond);

static void LibpngEncodeDurably(benchmark::State& state) {
  const std::string beside = floorPath + ".new";
  for (auto _ : state) {
    png_image image = RgbPicture();
    FILE* f = fopen(beside.c_str(), "wb");
    bool ok = f && png_image_write_to_stdio(&image, f, 0, rgb.data(), 0, nullptr) &&
              fflush(f) == 0 && fsync(fileno(f)) == 0;
    ok = (f && fclose(f) == 0) && ok && rename(beside.c_str(), floorPath.c_str()) == 0;
    int dir = open(workDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ok = ok && dir >= 0 && fsync(dir) == 0;
    if (dir >= 0) close(dir);
    if (!ok) state.SkipWithError("cannot write the file");
  }
  state.SetItemsProcessed(state.iterations() * PicW * PicH);
}
BENCHMARK(LibpngEncodeDurably)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  StartRenderer();
  Scratch work("bench");
  workDir = work.path;
  pngPath = work / "bench.png";
  savePath = work / "saved.png";
  floorPath = work / "floor.png";
  // A drawing in the program's colours, as the picture usually holds one: a PI1
  // pattern stretched over 640x400.
  PicImage img;
  std::vector<uint8_t> pi1 = Degas(PlanesOf(Pattern(320, 200, 4), 320, 200, 4));
  std::vector<uint32_t> picture;
  if (!PicLoad(pi1.data(), pi1.size(), 4, GEMColor, img)) return 1;
  PicStretch(img, picture);
  pixels.assign(reinterpret_cast<const uint8_t*>(picture.data()),
                reinterpret_cast<const uint8_t*>(picture.data() + picture.size()));
  for (size_t i = 0; i < pixels.size(); i += 4) rgb.insert(rgb.end(), &pixels[i], &pixels[i + 3]);
  if (!PngRgb(pixels.data(), PicW, PicH, size_t(PicW) * 4, pngBytes).empty()) return 1;
  if (!WriteBytes(pngPath, pngBytes)) return 1;
  // The textures' first clears are still queued: they run first, or they would paint
  // over the picture. A save of it must give the very file made above.
  WaitForRenderer(rob_e$);
  SDL_UpdateTexture(rob_e$, nullptr, pixels.data(), PicW * 4);
  SDL_SetRenderTarget(SDLRenderer, rob_e$);
  if (SavePNG(PicW, PicH, savePath.c_str()) != 0 || ReadBytes(savePath) != pngBytes) {
    fprintf(stderr, "the picture read back is not the one put up\n");
    return 1;
  }
  return RunBenchmarks(argc, argv);
}
