// Draws the celebration firework and writes it in its stored form: a signed
// 32-bit little-endian byte count, then a GIF89a file of that many bytes.
//
//   gen_firework OUTFILE
//
// The GIF: a 249 x 255 logical screen with a 256-entry global table
// (background index 0, white only at the transparent index 244), a
// NETSCAPE2.0 loop count of 0 and nine full-screen frames, each after a
// graphic control extension: a burst of small rainbow sparks that grows from
// about 80 pixels across to the screen's edges in frames 1 to 8 (100 ms each,
// restored to the background), then an empty frame 9 (500 ms, left in place).
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "picture/gifwriter.h"
#include "writefile.h"

namespace {

constexpr int ScreenWidth = 249;
constexpr int ScreenHeight = 255;
constexpr int FrameCount = 9;
constexpr int BurstFrames = 8;
constexpr uint8_t BackgroundIndex = 0;
constexpr uint8_t TransparentIndex = 244;
constexpr int Hues = 40;   // rainbow steps around the burst
constexpr int Levels = 6;  // brightness steps of each hue
constexpr int MinCodeSize = 8;

using TRGB = std::array<uint8_t, 3>;

// Index of hue h (0..Hues-1) at brightness level l (0 brightest).
uint8_t SparkIndex(int h, int l) {
  return uint8_t(1 + ((h % Hues + Hues) % Hues) * Levels + l);
}

std::array<TRGB, 256> MakePalette() {
  std::array<TRGB, 256> palette{};
  palette[BackgroundIndex] = {255, 250, 26};
  for (int h = 0; h < Hues; ++h) {
    for (int l = 0; l < Levels; ++l) {
      // Fully saturated hue (HSV with s = 1), so never white.
      const double hue = 6.0 * h / Hues;
      const double v = 255.0 * (1.0 - 0.12 * l);
      const int sector = int(hue);
      const double f = hue - sector;
      const double rise = v * f, fall = v * (1 - f);
      double r = 0, g = 0, b = 0;
      switch (sector) {
        case 0:
          r = v, g = rise;
          break;
        case 1:
          r = fall, g = v;
          break;
        case 2:
          g = v, b = rise;
          break;
        case 3:
          g = fall, b = v;
          break;
        case 4:
          r = rise, b = v;
          break;
        default:
          r = v, b = fall;
          break;
      }
      palette[SparkIndex(h, l)] = {uint8_t(std::lround(r)), uint8_t(std::lround(g)),
                                   uint8_t(std::lround(b))};
    }
  }
  // The unused rest: dark golds, none of them white.
  for (int i = 1 + Hues * Levels; i < 256; ++i)
    if (i != TransparentIndex) palette[i] = {uint8_t(i - 60), uint8_t((i - 60) / 2), 0};
  palette[TransparentIndex] = {255, 255, 255};
  return palette;
}

class TFrame {
 public:
  TFrame() : FPixels(size_t(ScreenWidth) * ScreenHeight, TransparentIndex) {}
  void Put(int x, int y, uint8_t index) {
    if (x < 0 || y < 0 || x >= ScreenWidth || y >= ScreenHeight) return;
    FPixels[size_t(y) * ScreenWidth + size_t(x)] = index;
  }
  // A round spark of radius r.
  void Spark(double cx, double cy, double r, int hue, int level) {
    for (int y = int(std::floor(cy - r)); y <= int(std::ceil(cy + r)); ++y)
      for (int x = int(std::floor(cx - r)); x <= int(std::ceil(cx + r)); ++x) {
        const double d = std::hypot(x - cx, y - cy);
        if (d <= r) Put(x, y, SparkIndex(hue, std::min(Levels - 1, level + (d > r * 0.5))));
      }
  }
  const std::vector<uint8_t>& Pixels() const { return FPixels; }

 private:
  std::vector<uint8_t> FPixels;
};

// A small fixed pseudo-random sequence, so the output is the same every run.
struct TLcg {
  uint32_t State = 20240607u;
  double Next() {
    State = State * 1664525u + 1013904223u;
    return (State >> 8) / double(1u << 24);
  }
};

TFrame DrawBurst(int AFrame) {
  TFrame frame;
  const double cx = (ScreenWidth - 1) / 2.0, cy = (ScreenHeight - 1) / 2.0;
  // Radius of the outer ring: 40 (about 80 across) in frame 1, the screen's
  // edges (half of 255, and past half of 249) in frame 8.
  const double radius = 40.0 + (128.0 - 40.0) * AFrame / (BurstFrames - 1);
  const int fade = AFrame >= 5 ? AFrame - 4 : 0;  // the last frames dim
  TLcg random;
  constexpr int Rays = 36;
  for (int ray = 0; ray < Rays; ++ray) {
    const double angle = 2 * M_PI * (ray + 0.3 * random.Next()) / Rays;
    const int hue = ray * Hues / Rays;
    const double ca = std::cos(angle), sa = std::sin(angle);
    // Three sparks along each ray, the outer ones larger, each with a short
    // dimmer trail toward the centre.
    for (int k = 0; k < 3; ++k) {
      const double r = radius * (1.0 - 0.22 * k) * (0.92 + 0.08 * random.Next());
      const double size = 1.5 + 1.2 * (2 - k) * (0.6 + 0.4 * AFrame / (BurstFrames - 1.0));
      const double x = cx + r * ca, y = cy + r * sa;
      const int trail = 3 + AFrame;
      for (int t = 1; t <= trail; ++t) {
        const double tr = r - size - t * 1.6;
        if (tr <= 0) break;
        frame.Put(int(std::lround(cx + tr * ca)), int(std::lround(cy + tr * sa)),
                  SparkIndex(hue + k, std::min(Levels - 1, 2 + fade + t * 3 / trail)));
      }
      frame.Spark(x, y, size, hue + k, std::min(Levels - 1, fade));
    }
  }
  return frame;
}

std::vector<uint8_t> MakeGif() {
  using namespace tintbox;
  const std::array<TRGB, 256> palette = MakePalette();
  TGifBytes gif = GifScreen(ScreenWidth, ScreenHeight, TGifPalette(palette.begin(), palette.end()),
                            BackgroundIndex);
  const TGifBytes loop = GifLoop(0);  // for ever
  gif.insert(gif.end(), loop.begin(), loop.end());
  for (int f = 0; f < FrameCount; ++f) {
    const bool last = f == FrameCount - 1;
    // Disposal 2 (restore to background) for the bursts, 1 (leave in place) for
    // the empty frame; every frame transparent at TransparentIndex.
    const TGifBytes control = GifGraphicControl(last ? 1 : 2, TransparentIndex, last ? 50 : 10);
    const TFrame frame = last ? TFrame() : DrawBurst(f);
    // Full screen at (0, 0), no local table, not interlaced.
    const TGifBytes image = GifImage(0, 0, ScreenWidth, ScreenHeight, frame.Pixels(), MinCodeSize);
    gif.insert(gif.end(), control.begin(), control.end());
    gif.insert(gif.end(), image.begin(), image.end());
  }
  gif.push_back(GifTrailer);
  return gif;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gen_firework OUTFILE\n");
    return 2;
  }
  const std::vector<uint8_t> gif = MakeGif();
  if (!tintbox::tools::WriteFile(argv[1], tintbox::GifStoredForm(gif))) return 1;
  std::printf("%s: %zu bytes of GIF\n", argv[1], gif.size());
  return 0;
}
