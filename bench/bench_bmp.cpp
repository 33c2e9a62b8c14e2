// Reading a 640x480 game-like picture (flat colour areas with black outlines)
// from in-memory BMP files: this program's reader against stb_image.
//
// stb_image does not decode run-length BMPs, so the RLE8 peer reads the same
// picture from the uncompressed 8-bit file: the nearest thing it can do.
#include <benchmark/benchmark.h>
#include <stb/stb_image.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "picture/bitmap.h"
#include "picture/bmpreader.h"
#include "picture/bmpwriter.h"

namespace {

using tintbox::TColor;
using TBytes = std::vector<uint8_t>;

constexpr int Width = 640;
constexpr int Height = 480;

// Palette: black outlines, then the picture's colours.
const TColor Palette[11] = {
    0x000000, 0xF0E0D0, 0x3050E0, 0x40C060, 0xE0A030, 0x9040B0,
    0x20C0E0, 0x8080F0, 0x60A0A0, 0xC0C040, 0x5070A0,
};

// Colour indices, top row first: discs and bars of flat colour, each with a
// 2-pixel black outline, over a flat background.
std::vector<uint8_t> GamePicture() {
  std::vector<uint8_t> px(size_t(Width) * Height, 1);
  auto at = [&](int x, int y) -> uint8_t& { return px[size_t(y) * Width + x]; };
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) {
      if (y % 120 < 2 || x % 160 < 2) at(x, y) = 0;  // grid of outlines
    }
  uint32_t seed = 12345;
  auto rnd = [&](int n) {
    seed = seed * 1103515245u + 12345u;
    return int((seed >> 16) % uint32_t(n));
  };
  for (int i = 0; i < 30; ++i) {
    const int cx = rnd(Width), cy = rnd(Height), r = 20 + rnd(60);
    const uint8_t c = uint8_t(2 + i % 9);
    for (int y = std::max(0, cy - r); y < std::min(Height, cy + r + 1); ++y)
      for (int x = std::max(0, cx - r); x < std::min(Width, cx + r + 1); ++x) {
        const int d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        if (d2 <= r * r) at(x, y) = d2 >= (r - 2) * (r - 2) ? 0 : c;
      }
  }
  return px;
}

// A 640 x 480 bottom-up file of the game picture's pixels (already in the file's order).
TBytes File(uint16_t bitCount, uint32_t compression, TBytes body) {
  tintbox::TBmpFields f;
  f.Width = Width, f.Height = Height;
  f.BitCount = bitCount;
  f.Compression = compression;
  if (compression != 0) f.ImageSize = uint32_t(body.size());
  f.PelsPerMeter = 2835;
  if (bitCount <= 8) {
    for (uint32_t i = 0; i < 256; ++i)
      f.Table.push_back(i < 11 ? Palette[i] : tintbox::RGB(uint8_t(i), uint8_t(i), uint8_t(i)));
    f.ColorsUsed = 256;
  }
  f.Pixels = std::move(body);
  return tintbox::WriteBmp(f);
}

TBytes File24(const std::vector<uint8_t>& px) {
  TBytes body;
  for (int y = Height - 1; y >= 0; --y)
    for (int x = 0; x < Width; ++x) {
      const TColor c = Palette[px[size_t(y) * Width + x]];
      body.push_back(tintbox::GetBValue(c));
      body.push_back(tintbox::GetGValue(c));
      body.push_back(tintbox::GetRValue(c));
    }
  return File(24, 0, std::move(body));
}

TBytes File8(const std::vector<uint8_t>& px) {
  TBytes body;
  for (int y = Height - 1; y >= 0; --y)
    body.insert(body.end(), px.begin() + ptrdiff_t(y) * Width,
                px.begin() + ptrdiff_t(y + 1) * Width);
  return File(8, 0, std::move(body));
}

TBytes FileRle8(const std::vector<uint8_t>& px) {
  TBytes body;
  for (int y = Height - 1; y >= 0; --y) {
    const uint8_t* row = px.data() + size_t(y) * Width;
    for (int x = 0; x < Width;) {
      int n = 1;
      while (x + n < Width && n < 255 && row[x + n] == row[x]) ++n;
      body.push_back(uint8_t(n));  // run: count, index
      body.push_back(row[x]);
      x += n;
    }
    body.push_back(0);  // end of line (end of bitmap after the last)
    body.push_back(y ? 0 : 1);
  }
  return File(8, 1, std::move(body));
}

struct TFiles {
  TBytes Bmp24, Bmp8, Rle8;
  TFiles() {
    const auto px = GamePicture();
    Bmp24 = File24(px), Bmp8 = File8(px), Rle8 = FileRle8(px);
    // Both readers must see the same picture before they are timed.
    for (const TBytes* f : {&Bmp24, &Bmp8, &Rle8}) {
      tintbox::TBitmap b;
      tintbox::ReadBitmap(f->data(), f->size(), b);
      for (size_t i = 0; i < px.size(); ++i)
        if (b.Pixels()[i] != Palette[px[i]]) {
          std::fprintf(stderr, "bench_bmp: reader gives a wrong pixel %zu\n", i);
          std::abort();
        }
    }
  }
};

const TFiles& Files() {
  static const TFiles files;
  return files;
}

void ReadOurs(benchmark::State& state, const TBytes& file) {
  tintbox::TBitmap b;
  for (auto _ : state) {
    tintbox::ReadBitmap(file.data(), file.size(), b);
    benchmark::DoNotOptimize(b.Pixels());
  }
}

void ReadStb(benchmark::State& state, const TBytes& file) {
  for (auto _ : state) {
    int w = 0, h = 0, n = 0;
    stbi_uc* p = stbi_load_from_memory(file.data(), int(file.size()), &w, &h, &n, 3);
    if (!p) {
      state.SkipWithError(stbi_failure_reason());
      break;
    }
    benchmark::DoNotOptimize(p);
    stbi_image_free(p);
  }
}

void BM_ReadBmp24(benchmark::State& state) {
  ReadOurs(state, Files().Bmp24);
}
void BM_StbBmp24(benchmark::State& state) {
  ReadStb(state, Files().Bmp24);
}
void BM_ReadBmp8(benchmark::State& state) {
  ReadOurs(state, Files().Bmp8);
}
void BM_StbBmp8(benchmark::State& state) {
  ReadStb(state, Files().Bmp8);
}
void BM_ReadBmpRle8(benchmark::State& state) {
  ReadOurs(state, Files().Rle8);
}
// stb_image refuses run-length BMPs ("BMP RLE"): it reads the same picture from the 8-bit file.
void BM_StbBmpRle8(benchmark::State& state) {
  ReadStb(state, Files().Bmp8);
}

BENCHMARK(BM_ReadBmp24);
BENCHMARK(BM_StbBmp24);
BENCHMARK(BM_ReadBmp8);
BENCHMARK(BM_StbBmp8);
BENCHMARK(BM_ReadBmpRle8);
BENCHMARK(BM_StbBmpRle8);

}  // namespace
