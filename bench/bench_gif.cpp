// Decoding every frame of a GIF: this program's reader against giflib's
// DGifSlurp on the same bytes in memory. Two GIFs: the committed firework
// (249 x 255, 9 frames) and a larger one made here with giflib's encoder
// (640 x 480, 20 frames of a moving colour field with some noise).
//
// Our side reads the image and asks every frame for its bitmap (true colour,
// one TColor per pixel); giflib's side leaves colour indices per frame.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "picture/draw.h"
#include "picture/gifcompose.h"
#include "picture/gifimage.h"

namespace {

using TBytes = std::vector<uint8_t>;

[[noreturn]] void Fail(const char* AWhat) {
  std::fprintf(stderr, "bench_gif: %s\n", AWhat);
  std::exit(1);
}

// The firework's GIF bytes: the stored form without its 4-byte count.
const TBytes& FireworkGif() {
  static const TBytes gif = [] {
    std::ifstream in(std::string(TINTBOX_SOURCE_DIR) + "/src/ui/data/firework.dat",
                     std::ios::binary);
    if (!in) Fail("cannot read src/ui/data/firework.dat");
    TBytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (bytes.size() < 4) Fail("firework.dat is too short");
    return TBytes(bytes.begin() + 4, bytes.end());
  }();
  return gif;
}

int WriteToVector(GifFileType* AGif, const GifByteType* AData, int ALength) {
  auto* out = static_cast<TBytes*>(AGif->UserData);
  out->insert(out->end(), AData, AData + ALength);
  return ALength;
}

// 640 x 480, 20 frames, a 256-colour table: a slowly moving colour field with
// scattered noise, each frame after a graphic control extension.
const TBytes& LargeGif() {
  static const TBytes gif = [] {
    constexpr int W = 640, H = 480, Frames = 20;
    TBytes out;
    int error = 0;
    GifFileType* g = EGifOpen(&out, WriteToVector, &error);
    if (!g) Fail("EGifOpen failed");
    GifColorType colors[256];
    for (int i = 0; i < 256; ++i)
      colors[i] = {GifByteType(i), GifByteType((i * 3) & 255), GifByteType(255 - i)};
    ColorMapObject* map = GifMakeMapObject(256, colors);
    EGifSetGifVersion(g, true);
    if (EGifPutScreenDesc(g, W, H, 8, 0, map) != GIF_OK) Fail("EGifPutScreenDesc failed");
    std::vector<GifPixelType> line(W);
    uint32_t seed = 1;
    for (int f = 0; f < Frames; ++f) {
      const uint8_t control[4] = {uint8_t(1 << 2), 5, 0, 0};  // leave in place, 50 ms
      EGifPutExtension(g, GRAPHICS_EXT_FUNC_CODE, 4, control);
      if (EGifPutImageDesc(g, 0, 0, W, H, false, nullptr) != GIF_OK)
        Fail("EGifPutImageDesc failed");
      for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) {
          const double v = std::sin((x + 7 * f) / 37.0) + std::sin((y - 5 * f) / 23.0) +
                           std::sin((x + y) / 61.0);
          int index = int((v + 3.0) * 40.0) & 0xF8;
          seed = seed * 1103515245u + 12345u;
          if ((seed >> 16) % 16 == 0) index += int((seed >> 8) & 7);
          line[size_t(x)] = GifPixelType(index);
        }
        if (EGifPutLine(g, line.data(), W) != GIF_OK) Fail("EGifPutLine failed");
      }
    }
    if (EGifCloseFile(g, &error) != GIF_OK) Fail("EGifCloseFile failed");
    GifFreeMapObject(map);
    return out;
  }();
  return gif;
}

// Ours: read the image and decode every frame.
void DecodeOurs(benchmark::State& AState, const TBytes& AGif) {
  int64_t pixels = 0;
  for (auto _ : AState) {
    tintbox::TGIFImage image;
    image.LoadFromGIF(AGif.data(), AGif.size());
    for (int32_t i = 0; i < image.Count(); ++i) {
      const tintbox::TBitmap& b = image.Frames(i).Bitmap();
      benchmark::DoNotOptimize(b.Pixels());
      pixels += int64_t(b.Width()) * b.Height();
    }
  }
  AState.counters["Mpixel/s"] =
      benchmark::Counter(double(pixels) / 1e6, benchmark::Counter::kIsRate);
}

struct TReadCursor {
  const TBytes* Bytes;
  size_t Pos;
};

int ReadFromVector(GifFileType* AGif, GifByteType* AData, int ALength) {
  auto* cursor = static_cast<TReadCursor*>(AGif->UserData);
  const size_t n = std::min(size_t(ALength), cursor->Bytes->size() - cursor->Pos);
  std::memcpy(AData, cursor->Bytes->data() + cursor->Pos, n);
  cursor->Pos += n;
  return int(n);
}

// giflib: DGifOpen over the same bytes, DGifSlurp decodes every frame.
void DecodeGiflib(benchmark::State& AState, const TBytes& AGif) {
  int64_t pixels = 0;
  for (auto _ : AState) {
    TReadCursor cursor{&AGif, 0};
    int error = 0;
    GifFileType* g = DGifOpen(&cursor, ReadFromVector, &error);
    if (!g || DGifSlurp(g) != GIF_OK) Fail("giflib could not read the GIF");
    for (int i = 0; i < g->ImageCount; ++i) {
      benchmark::DoNotOptimize(g->SavedImages[i].RasterBits);
      pixels += int64_t(g->SavedImages[i].ImageDesc.Width) * g->SavedImages[i].ImageDesc.Height;
    }
    DGifCloseFile(g, &error);
  }
  AState.counters["Mpixel/s"] =
      benchmark::Counter(double(pixels) / 1e6, benchmark::Counter::kIsRate);
}

void BM_GifDecodeFirework(benchmark::State& AState) {
  DecodeOurs(AState, FireworkGif());
}
void BM_GiflibFirework(benchmark::State& AState) {
  DecodeGiflib(AState, FireworkGif());
}
void BM_GifDecodeLarge(benchmark::State& AState) {
  DecodeOurs(AState, LargeGif());
}
void BM_GiflibLarge(benchmark::State& AState) {
  DecodeGiflib(AState, LargeGif());
}

// One firework frame composed and painted over the panel's colour, as the
// animator does on each tick (frames decoded once, as they stay decoded).
void BM_GifComposeFrame(benchmark::State& AState) {
  const TBytes& gif = FireworkGif();
  tintbox::TGIFImage image;
  image.LoadFromGIF(gif.data(), gif.size());
  std::vector<uint32_t> bits(size_t(image.ScreenWidth()) * image.ScreenHeight());
  const tintbox::TSurface32 surface{bits.data(), image.ScreenWidth(), image.ScreenHeight(),
                                    image.ScreenWidth()};
  const tintbox::TColor window = tintbox::RGB(173, 255, 91);
  tintbox::TGIFComposer composer;
  int32_t k = 0;
  for (auto _ : AState) {
    tintbox::PaintGIFFrame(composer, image, k, surface, tintbox::SolidBackdrop(window), window);
    benchmark::DoNotOptimize(bits.data());
    k = (k + 1) % image.Count();
  }
}

BENCHMARK(BM_GifDecodeFirework);
BENCHMARK(BM_GiflibFirework);
BENCHMARK(BM_GifDecodeLarge);
BENCHMARK(BM_GiflibLarge);
BENCHMARK(BM_GifComposeFrame);

}  // namespace
