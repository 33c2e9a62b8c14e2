// gen_wait OUTFILE
//
// Draws the wait picture, an upright white hourglass with beige sand in a flat
// teal disc, and writes it in its stored form: the class name "TAlphaImage"
// (1 length byte, then the name), a signed 32-bit little-endian byte count,
// then a 512 x 512 BMP of 32 bits per pixel (blue, green, red, alpha) with
// straight alpha, rows bottom-up.
//
// Every pixel is 16 x 16 samples; alpha is the share of samples inside the
// disc, the colour the mean of those samples' colours. So the rim gets many
// alpha levels and pixels with no sample inside stay (0, 0, 0, 0).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "picture/bmpwriter.h"
#include "writefile.h"

namespace {

using tintbox::Bmp32;

constexpr int Size = 512;
constexpr int Samples = 16;  // per pixel and axis

struct TRgb {
  uint8_t R, G, B;
};

constexpr TRgb Teal{82, 177, 177};
constexpr TRgb White{255, 255, 255};
constexpr TRgb Sand{204, 190, 176};
constexpr TRgb Shade{82, 83, 84};

// Geometry, in pixel units; pixel (i, j) covers [i, i+1) x [j, j+1).
constexpr double CentreX = 256.0, CentreY = 256.0;  // between pixels 255 and 256
constexpr double DiscRadius = 234.5;                // touches pixels 21 to 490

constexpr double TopBarTop = 112, TopBarBottom = 140;
constexpr double BottomBarTop = 372, BottomBarBottom = 400;
constexpr double BarHalfWidth = 106;               // bars run 150..362
constexpr double PostInner = 92, PostOuter = 104;  // side posts, |dx| range
constexpr double GlassTop = TopBarBottom, GlassBottom = BottomBarTop;
constexpr double NeckHalfWidth = 12, BulbHalfWidth = 74;  // inside of the glass
constexpr double WallThickness = 8;                       // across the wall
constexpr double ShadeWidth = 5;                          // right-hand shading
constexpr double BarCorner = 6;

// Inner half-width of the glass at height y, and its slope d(half-width)/dy.
// A raised cosine: upright walls at the bars, a smooth waist at the middle.
void Glass(double y, double& AHalfWidth, double& ASlope) {
  const double half = (GlassBottom - GlassTop) / 2;
  const double t = (y - CentreY) / half;  // -1 at the top bar, 1 at the bottom one
  const double a = std::fabs(t);
  const double pi = std::numbers::pi;
  AHalfWidth = NeckHalfWidth + (BulbHalfWidth - NeckHalfWidth) * (1 - std::cos(pi * a)) / 2;
  ASlope = (BulbHalfWidth - NeckHalfWidth) * pi / 2 * std::sin(pi * a) / half;
}

bool InRoundedRect(double x, double y, double l, double t, double r, double b, double c) {
  if (x < l || x >= r || y < t || y >= b) return false;
  const double cx = x < l + c ? l + c : x > r - c ? r - c : x;
  const double cy = y < t + c ? t + c : y > b - c ? b - c : y;
  return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= c * c;
}

// The colour at one sample point, or false where the picture is transparent.
bool Sample(double x, double y, TRgb& AColor) {
  const double dx = x - CentreX, dy = y - CentreY;
  if (dx * dx + dy * dy >= DiscRadius * DiscRadius) return false;
  AColor = Teal;
  const double ax = std::fabs(dx);

  // Bars, shaded at their right ends.
  const double l = CentreX - BarHalfWidth, r = CentreX + BarHalfWidth;
  if (InRoundedRect(x, y, l, TopBarTop, r, TopBarBottom, BarCorner) ||
      InRoundedRect(x, y, l, BottomBarTop, r, BottomBarBottom, BarCorner)) {
    AColor = x >= r - ShadeWidth ? Shade : White;
    return true;
  }
  if (y < GlassTop || y >= GlassBottom) return true;

  // Side posts between the bars; the right one is shaded on its outer side.
  if (ax >= PostInner && ax < PostOuter) {
    AColor = dx > 0 && ax >= PostOuter - ShadeWidth ? Shade : White;
    return true;
  }

  // Glass walls, as thick across as WallThickness whatever their slope.
  double w, slope;
  Glass(y, w, slope);
  const double across = WallThickness * std::sqrt(1 + slope * slope);
  if (ax >= w && ax < w + across) {
    const double shade = ShadeWidth * 0.6 * std::sqrt(1 + slope * slope);
    AColor = dx > 0 && ax >= w + across - shade ? Shade : White;
    return true;
  }
  if (ax >= w) return true;  // between the glass and the posts

  // Sand: a heap with a small dip in the upper bulb, a thin stream through the
  // neck, a mound in the lower bulb.
  const double upperSurface = 188 + 12 * std::fmax(0.0, 1 - ax / 40);
  const double lowerSurface = 322 + 24 * (ax / 70) * (ax / 70);
  if ((y >= upperSurface && y < CentreY - 4) || (ax < 2.5 && y >= CentreY - 6 && y < 330) ||
      y >= lowerSurface) {
    AColor = Sand;
  }
  return true;
}

// A fixed scramble of a pixel's index (the "lowbias32" integer hash).
uint32_t Hash(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gen_wait OUTFILE\n");
    return 2;
  }

  std::vector<uint8_t> bgra(size_t(Size) * Size * 4, 0);
  for (int py = 0; py < Size; ++py) {
    for (int px = 0; px < Size; ++px) {
      const uint32_t hash = Hash(uint32_t(py) * Size + uint32_t(px));
      const double shiftX = (hash & 0xFFFF) / 65536.0, shiftY = (hash >> 16) / 65536.0;
      int covered = 0;
      unsigned r = 0, g = 0, b = 0;
      for (int sy = 0; sy < Samples; ++sy) {
        for (int sx = 0; sx < Samples; ++sx) {
          TRgb c;
          // A sheared grid (256 different columns and rows, so that even a
          // level or upright edge meets every coverage level), shifted by a
          // fixed amount per pixel so that the disc's mirror-image rim pixels
          // do not all land on the same few levels.
          const double ox = std::fmod((sx + (sy + 0.5) / Samples) / Samples + shiftX, 1.0);
          const double oy = std::fmod((sy + (sx + 0.5) / Samples) / Samples + shiftY, 1.0);
          if (!Sample(px + ox, py + oy, c)) continue;
          ++covered;
          r += c.R;
          g += c.G;
          b += c.B;
        }
      }
      if (covered == 0) continue;  // transparent pixels stay (0, 0, 0, 0)
      const unsigned all = Samples * Samples;
      uint8_t* p = bgra.data() + (size_t(py) * Size + size_t(px)) * 4;
      p[0] = uint8_t((b + covered / 2) / covered);  // straight alpha: the mean colour
      p[1] = uint8_t((g + covered / 2) / covered);
      p[2] = uint8_t((r + covered / 2) / covered);
      p[3] = uint8_t((covered * 255 + all / 2) / all);
    }
  }

  const std::vector<uint8_t> bmp = Bmp32(bgra, Size, Size);
  std::vector<uint8_t> stored;
  const std::string name = "TAlphaImage";
  stored.push_back(uint8_t(name.size()));
  stored.insert(stored.end(), name.begin(), name.end());
  for (int i = 0; i < 4; ++i) stored.push_back(uint8_t(bmp.size() >> (8 * i)));  // count
  stored.insert(stored.end(), bmp.begin(), bmp.end());

  return tintbox::tools::WriteFile(argv[1], stored) ? 0 : 1;
}
