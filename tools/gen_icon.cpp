// gen_icon OUTDIR
//
// Draws the program's icon, a painter's palette with five colour dabs and a
// brush laid across it, and writes it as OUTDIR/icon<N>.bmp for N = 16, 32,
// 48, 64, 128 and 256: 32-bit BMP files (BI_RGB, rows bottom-up) whose fourth
// byte is a straight alpha, 0 outside the drawing.
//
// The drawing is made of shapes in a unit square. Every pixel is 16 x 16
// samples on a sheared grid; alpha is the share of samples that hit a shape,
// the colour the mean colour of those samples.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "picture/bmpwriter.h"
#include "writefile.h"

namespace {

using tintbox::Bmp32;

constexpr int Samples = 16;  // per pixel and axis

struct TRgb {
  uint8_t R, G, B;
};

constexpr TRgb Ink{58, 40, 28};  // outlines
constexpr TRgb Wood{236, 200, 146};
constexpr TRgb Handle{150, 82, 40};
constexpr TRgb Ferrule{196, 200, 208};
constexpr TRgb Bristles{82, 177, 177};

// Outline width, in units of the icon's side; at least most of a pixel, so
// that the small sizes keep their outlines.
double Line = 0.032;

struct TDab {
  double X, Y;
  TRgb Color;
};
constexpr TDab Dabs[] = {
    {0.25, 0.46, {226, 48, 48}},   // red
    {0.40, 0.32, {250, 204, 24}},  // yellow
    {0.82, 0.52, {44, 168, 80}},   // green
    {0.70, 0.73, {40, 100, 222}},  // blue
    {0.47, 0.80, {152, 72, 196}},  // violet
};
constexpr double DabRadius = 0.085;

// The palette: a tilted ellipse with a thumb hole.
constexpr double PalX = 0.49, PalY = 0.57, PalRx = 0.47, PalRy = 0.36, PalTilt = -0.28;
constexpr double HoleX = 0.25, HoleY = 0.70, HoleR = 0.065;

double Distance(double x0, double y0, double x1, double y1) {
  return std::hypot(x1 - x0, y1 - y0);
}

// Distance from (x, y) to the segment (ax, ay)-(bx, by), and where along it
// the nearest point lies (0 at a, 1 at b).
double SegmentDistance(double x, double y, double ax, double ay, double bx, double by,
                       double& AAlong) {
  const double dx = bx - ax, dy = by - ay;
  double t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy);
  t = t < 0 ? 0 : t > 1 ? 1 : t;
  AAlong = t;
  return Distance(x, y, ax + t * dx, ay + t * dy);
}

// A shape of half-width ARadius around a segment, outlined: true when (x, y)
// lies in it, with AColor set to the fill or the outline.
bool Stroke(double x, double y, double ax, double ay, double bx, double by, double ARadius,
            double ATipRadius, TRgb AFill, TRgb& AColor) {
  double along;
  const double d = SegmentDistance(x, y, ax, ay, bx, by, along);
  const double r = ARadius + (ATipRadius - ARadius) * along;  // tapers towards b
  if (d >= r) return false;
  AColor = d >= r - Line ? Ink : AFill;
  return true;
}

// The colour at one sample point (u, v in 0..1, v downwards), or false where
// the icon is transparent. Later shapes lie on top of earlier ones.
bool Sample(double u, double v, TRgb& AColor) {
  bool hit = false;

  // Palette.
  const double c = std::cos(PalTilt), s = std::sin(PalTilt);
  const double ex = (u - PalX) * c + (v - PalY) * s, ey = -(u - PalX) * s + (v - PalY) * c;
  const double q = std::hypot(ex / PalRx, ey / PalRy);
  const double hole = Distance(u, v, HoleX, HoleY);
  if (q < 1 && hole >= HoleR) {
    hit = true;
    // (1 - q) * radius is near enough the distance to the rim for an outline.
    const double rim = (1 - q) * std::hypot(ex, ey) / (q > 0 ? q : 1);
    AColor = rim < Line || hole < HoleR + Line ? Ink : Wood;
  }

  // Colour dabs.
  for (const TDab& dab : Dabs) {
    const double d = Distance(u, v, dab.X, dab.Y);
    if (d < DabRadius) {
      hit = true;
      AColor = d >= DabRadius - Line * 0.8 ? Ink : dab.Color;
    }
  }

  // The brush, from the end of its handle down to its tip.
  TRgb color;
  if (Stroke(u, v, 0.66, 0.38, 0.47, 0.59, 0.070, 0.012, Bristles, color) ||
      Stroke(u, v, 0.73, 0.30, 0.66, 0.38, 0.062, 0.062, Ferrule, color) ||
      Stroke(u, v, 0.88, 0.12, 0.73, 0.30, 0.052, 0.045, Handle, color)) {
    // The parts overlap at their joins; the one nearer the tip lies on top.
    hit = true;
    AColor = color;
  }
  return hit;
}

std::vector<uint8_t> Draw(int ASize) {
  std::vector<uint8_t> bgra(size_t(ASize) * size_t(ASize) * 4, 0);
  Line = std::fmax(0.032, 0.8 / ASize);
  for (int py = 0; py < ASize; ++py) {
    for (int px = 0; px < ASize; ++px) {
      int covered = 0;
      unsigned r = 0, g = 0, b = 0;
      for (int sy = 0; sy < Samples; ++sy) {
        for (int sx = 0; sx < Samples; ++sx) {
          const double ox = (sx + (sy + 0.5) / Samples) / Samples;
          const double oy = (sy + (sx + 0.5) / Samples) / Samples;
          TRgb c{};
          if (!Sample((px + ox) / ASize, (py + oy) / ASize, c)) continue;
          ++covered;
          r += c.R;
          g += c.G;
          b += c.B;
        }
      }
      if (covered == 0) continue;  // transparent pixels stay (0, 0, 0, 0)
      const unsigned all = Samples * Samples;
      uint8_t* p = bgra.data() + (size_t(py) * size_t(ASize) + size_t(px)) * 4;
      p[0] = uint8_t((b + covered / 2) / covered);
      p[1] = uint8_t((g + covered / 2) / covered);
      p[2] = uint8_t((r + covered / 2) / covered);
      p[3] = uint8_t((covered * 255 + all / 2) / all);
    }
  }
  return bgra;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gen_icon OUTDIR\n");
    return 2;
  }
  for (int size : {16, 32, 48, 64, 128, 256}) {
    const std::vector<uint8_t> bmp = Bmp32(Draw(size), size, size);
    const std::string path = std::string(argv[1]) + "/icon" + std::to_string(size) + ".bmp";
    if (!tintbox::tools::WriteFile(path, bmp)) return 1;
  }
  return 0;
}
