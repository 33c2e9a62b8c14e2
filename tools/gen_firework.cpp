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

// GIF LZW (GIF89a, appendix F) with an 8-bit minimum code size; a clear code
// is sent whenever the 4096-entry table is full.
class TLzwEncoder {
 public:
  std::vector<uint8_t> Encode(const std::vector<uint8_t>& AIndices) {
    FOut.clear();
    FBits = 0;
    FBitCount = 0;
    Reset();
    Emit(ClearCode);
    if (AIndices.empty()) {
      Emit(EndCode);
      Flush();
      return FOut;
    }
    int prefix = AIndices[0];
    for (size_t i = 1; i < AIndices.size(); ++i) {
      const int c = AIndices[i];
      const int found = FTable[size_t(prefix) * 256 + size_t(c)];
      if (found >= 0) {
        prefix = found;
        continue;
      }
      Emit(prefix);
      if (FNext < MaxCodes) {
        FTable[size_t(prefix) * 256 + size_t(c)] = FNext++;
        if (FNext > (1 << FWidth) && FWidth < 12) ++FWidth;
      } else {
        Emit(ClearCode);
        Reset();
      }
      prefix = c;
    }
    Emit(prefix);
    Emit(EndCode);
    Flush();
    return FOut;
  }

 private:
  static constexpr int ClearCode = 1 << MinCodeSize;
  static constexpr int EndCode = ClearCode + 1;
  static constexpr int MaxCodes = 4096;

  void Reset() {
    FTable.assign(size_t(MaxCodes) * 256, -1);
    FNext = EndCode + 1;
    FWidth = MinCodeSize + 1;
  }
  void Emit(int ACode) {
    FBits |= uint32_t(ACode) << FBitCount;
    FBitCount += FWidth;
    while (FBitCount >= 8) {
      FOut.push_back(uint8_t(FBits));
      FBits >>= 8;
      FBitCount -= 8;
    }
  }
  void Flush() {
    if (FBitCount > 0) FOut.push_back(uint8_t(FBits));
    FBits = 0;
    FBitCount = 0;
  }

  std::vector<int> FTable;
  int FNext = 0;
  int FWidth = 0;
  uint32_t FBits = 0;
  int FBitCount = 0;
  std::vector<uint8_t> FOut;
};

void U16(std::vector<uint8_t>& AOut, int AValue) {
  AOut.push_back(uint8_t(AValue));
  AOut.push_back(uint8_t(AValue >> 8));
}

std::vector<uint8_t> MakeGif() {
  std::vector<uint8_t> gif;
  const std::string header = "GIF89a";
  gif.insert(gif.end(), header.begin(), header.end());
  // Logical Screen Descriptor: global table of 256 entries, 8-bit colour resolution.
  U16(gif, ScreenWidth);
  U16(gif, ScreenHeight);
  gif.push_back(0x80 | (7 << 4) | 7);
  gif.push_back(BackgroundIndex);
  gif.push_back(0);  // pixel aspect ratio
  for (const TRGB& c : MakePalette()) gif.insert(gif.end(), c.begin(), c.end());

  // Application Extension NETSCAPE2.0: sub-block 1, loop count 0 (for ever).
  const std::string app = "NETSCAPE2.0";
  gif.insert(gif.end(), {0x21, 0xFF, 11});
  gif.insert(gif.end(), app.begin(), app.end());
  gif.insert(gif.end(), {3, 1, 0, 0, 0});

  TLzwEncoder encoder;
  for (int f = 0; f < FrameCount; ++f) {
    const bool last = f == FrameCount - 1;
    // Graphic Control Extension: disposal 2 (restore to background) for the
    // burst, 1 (leave in place) for the empty frame; transparent flag set.
    const uint8_t disposal = last ? 1 : 2;
    gif.insert(gif.end(), {0x21, 0xF9, 4, uint8_t((disposal << 2) | 1)});
    U16(gif, last ? 50 : 10);
    gif.push_back(TransparentIndex);
    gif.push_back(0);

    // Image Descriptor: full screen at (0, 0), no local table, not interlaced.
    gif.push_back(0x2C);
    U16(gif, 0);
    U16(gif, 0);
    U16(gif, ScreenWidth);
    U16(gif, ScreenHeight);
    gif.push_back(0);

    const TFrame frame = last ? TFrame() : DrawBurst(f);
    const std::vector<uint8_t> data = encoder.Encode(frame.Pixels());
    gif.push_back(MinCodeSize);
    for (size_t i = 0; i < data.size(); i += 255) {
      const size_t n = std::min<size_t>(255, data.size() - i);
      gif.push_back(uint8_t(n));
      gif.insert(gif.end(), data.begin() + long(i), data.begin() + long(i + n));
    }
    gif.push_back(0);  // Block Terminator
  }
  gif.push_back(0x3B);  // Trailer
  return gif;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gen_firework OUTFILE\n");
    return 2;
  }
  const std::vector<uint8_t> gif = MakeGif();
  std::vector<uint8_t> stored;
  const uint32_t count = uint32_t(gif.size());
  for (int i = 0; i < 4; ++i) stored.push_back(uint8_t(count >> (8 * i)));
  stored.insert(stored.end(), gif.begin(), gif.end());
  if (!tintbox::tools::WriteFile(argv[1], stored)) return 1;
  std::printf("%s: %zu bytes of GIF\n", argv[1], gif.size());
  return 0;
}
