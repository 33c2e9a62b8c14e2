// gen_pictures: draws the bundled pictures.
//
//   gen_pictures OUTDIR      writes OUTDIR/1.bmp ... OUTDIR/12.bmp
//
// The bundled set in img/ is made by `gen_pictures img` from the repository
// root. Every picture is drawn here from simple shapes (circles, ellipses,
// polygons, rectangles, thick lines), rasterised at pixel centres without
// anti-aliasing. Each filled shape gets a black outline on the inside of its
// edge, so two colours never meet without black between them; a black frame
// round the picture keeps every area's first scanned pixel below black, so
// the game finds a seed point in each. Specks left between outlines are
// inked black. The files vary in format on purpose: 24-bit, 8-bit with a
// colour table, RLE8, 4-bit, 16-bit 5-6-5 bit fields, top-down rows, and
// sizes of 640x480 and 480x360.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "picture/bmpwriter.h"
#include "picture/color.h"
#include "writefile.h"

using tintbox::RGB;
using tintbox::TBmpFileFormat;
using tintbox::TColor;

namespace {

constexpr TColor Black = 0;
constexpr double Pi = 3.14159265358979323846;

// ---------------------------------------------------------------------------
// Shapes: a union of primitives, each an inside test with a bounding box.

struct TPrim {
  std::function<bool(double, double)> inside;
  double x0, y0, x1, y1;
};
using TShape = std::vector<TPrim>;

TShape operator+(TShape a, const TShape& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TShape Ellipse(double cx, double cy, double rx, double ry, double degrees = 0) {
  const double c = std::cos(degrees * Pi / 180), s = std::sin(degrees * Pi / 180);
  const double r = std::max(rx, ry);
  return {{[=](double x, double y) {
             const double dx = x - cx, dy = y - cy;
             const double u = (dx * c + dy * s) / rx, v = (-dx * s + dy * c) / ry;
             return u * u + v * v <= 1.0;
           },
           cx - r, cy - r, cx + r, cy + r}};
}

TShape Circle(double cx, double cy, double r) {
  return Ellipse(cx, cy, r, r);
}

TShape Rect(double x0, double y0, double x1, double y1) {
  return {
      {[=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; }, x0, y0, x1, y1}};
}

struct TPt {
  double x, y;
};

TShape Poly(std::vector<TPt> p) {
  double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
  for (const TPt& q : p) {
    x0 = std::min(x0, q.x), y0 = std::min(y0, q.y), x1 = std::max(x1, q.x), y1 = std::max(y1, q.y);
  }
  return {{[p](double x, double y) {
             bool in = false;  // even-odd rule
             for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
               if ((p[i].y > y) != (p[j].y > y) &&
                   x < (p[j].x - p[i].x) * (y - p[i].y) / (p[j].y - p[i].y) + p[i].x) {
                 in = !in;
               }
             }
             return in;
           },
           x0, y0, x1, y1}};
}

// A thick segment with round ends.
TShape Capsule(double ax, double ay, double bx, double by, double r) {
  return {{[=](double x, double y) {
             const double vx = bx - ax, vy = by - ay, len2 = vx * vx + vy * vy;
             double t = len2 > 0 ? ((x - ax) * vx + (y - ay) * vy) / len2 : 0;
             t = std::clamp(t, 0.0, 1.0);
             const double dx = x - (ax + t * vx), dy = y - (ay + t * vy);
             return dx * dx + dy * dy <= r * r;
           },
           std::min(ax, bx) - r, std::min(ay, by) - r, std::max(ax, bx) + r, std::max(ay, by) + r}};
}

TShape Star(double cx, double cy, double outer, double inner, int points, double degrees = -90) {
  std::vector<TPt> p;
  for (int i = 0; i < 2 * points; ++i) {
    const double a = (degrees + i * 180.0 / points) * Pi / 180, r = i % 2 ? inner : outer;
    p.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return Poly(p);
}

// ---------------------------------------------------------------------------
// A picture being drawn.

class TPainter {
 public:
  TPainter(int w, int h, TColor background) : W(w), H(h), Px(size_t(w) * size_t(h), background) {}

  // Fills the shape and draws its outline, AOutline pixels thick, inside it.
  void Fill(const TShape& AShape, TColor AColor, double AOutline = 3.5) {
    Paint(AShape, AColor, AOutline);
  }
  // A black shape (pupils, tyres, whiskers).
  void Ink(const TShape& AShape) { Paint(AShape, Black, 0); }
  void Line(double ax, double ay, double bx, double by, double width) {
    Ink(Capsule(ax, ay, bx, by, width / 2));
  }
  void Frame(int t) {
    for (int y = 0; y < H; ++y) {
      for (int x = 0; x < W; ++x) {
        if (x < t || y < t || x >= W - t || y >= H - t) Px[size_t(y) * W + x] = Black;
      }
    }
  }

  // Inks specks of fewer than AMin pixels: slivers between outlines that a
  // player could hardly click.
  void RemoveSpecks(int AMin = 60) {
    std::vector<int> seen(Px.size(), 0);
    std::vector<int> stack, area;
    for (int start = 0; start < W * H; ++start) {
      if (seen[size_t(start)] || Px[size_t(start)] == Black) continue;
      stack.assign(1, start);
      area.clear();
      seen[size_t(start)] = 1;
      while (!stack.empty()) {
        const int p = stack.back();
        stack.pop_back();
        area.push_back(p);
        const int x = p % W, y = p / W;
        const int next[4] = {x > 0 ? p - 1 : -1, x + 1 < W ? p + 1 : -1, y > 0 ? p - W : -1,
                             y + 1 < H ? p + W : -1};
        for (int q : next) {
          if (q < 0 || seen[size_t(q)] || Px[size_t(q)] == Black) continue;
          seen[size_t(q)] = 1;
          stack.push_back(q);
        }
      }
      if (int(area.size()) < AMin) {
        for (int p : area) Px[size_t(p)] = Black;
      }
    }
  }

  int W, H;
  std::vector<TColor> Px;

 private:
  void Paint(const TShape& AShape, TColor AColor, double AOutline) {
    double fx0 = 1e9, fy0 = 1e9, fx1 = -1e9, fy1 = -1e9;
    for (const TPrim& p : AShape) {
      fx0 = std::min(fx0, p.x0), fy0 = std::min(fy0, p.y0);
      fx1 = std::max(fx1, p.x1), fy1 = std::max(fy1, p.y1);
    }
    const int m = int(std::ceil(AOutline)) + 1;
    const int x0 = int(std::floor(fx0)) - m, y0 = int(std::floor(fy0)) - m;
    const int x1 = int(std::ceil(fx1)) + m, y1 = int(std::ceil(fy1)) + m;
    const int bw = x1 - x0, bh = y1 - y0;
    std::vector<uint8_t> mask(size_t(bw) * size_t(bh), 0);
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        for (const TPrim& p : AShape) {
          if (p.inside(x + 0.5, y + 0.5)) {
            mask[size_t(y - y0) * bw + (x - x0)] = 1;
            break;
          }
        }
      }
    }
    auto in = [&](int x, int y) {
      return x >= x0 && y >= y0 && x < x1 && y < y1 && mask[size_t(y - y0) * bw + (x - x0)];
    };
    const int r = int(std::floor(AOutline));
    for (int y = std::max(y0, 0); y < std::min(y1, H); ++y) {
      for (int x = std::max(x0, 0); x < std::min(x1, W); ++x) {
        if (!in(x, y)) continue;
        bool edge = false;
        for (int dy = -r; dy <= r && !edge; ++dy) {
          for (int dx = -r; dx <= r && !edge; ++dx) {
            if (dx * dx + dy * dy <= AOutline * AOutline && !in(x + dx, y + dy)) edge = true;
          }
        }
        // Every pixel with a neighbour outside is on the edge, whatever the
        // outline width, so the fill never meets the colour around it.
        if (!edge && (!in(x - 1, y) || !in(x + 1, y) || !in(x, y - 1) || !in(x, y + 1))) {
          edge = true;
        }
        Px[size_t(y) * W + x] = edge ? Black : AColor;
      }
    }
  }
};

// ---------------------------------------------------------------------------
// 16-bit pictures keep only the colours 5-6-5 bit fields can hold.

// The colour a 5-6-5 pixel reads back as when its bits are replicated.
TColor Snap565(TColor c) {
  const unsigned r = tintbox::GetRValue(c) >> 3, g = tintbox::GetGValue(c) >> 2,
                 b = tintbox::GetBValue(c) >> 3;
  return RGB(uint8_t((r << 3) | (r >> 2)), uint8_t((g << 2) | (g >> 4)),
             uint8_t((b << 3) | (b >> 2)));
}

// ---------------------------------------------------------------------------
// The pictures.

// Colours used across the set (none near black).
constexpr TColor White = RGB(255, 255, 255), Sky = RGB(150, 210, 250), Water = RGB(90, 170, 230),
                 Orange = RGB(250, 150, 40), Yellow = RGB(255, 225, 60), Red = RGB(230, 50, 50),
                 Green = RGB(90, 190, 80), DarkGreen = RGB(40, 130, 60), Brown = RGB(150, 90, 40),
                 Tan = RGB(230, 190, 130), Pink = RGB(250, 160, 190), Purple = RGB(150, 90, 200),
                 Grey = RGB(160, 160, 170), Blue = RGB(50, 90, 200), Night = RGB(40, 50, 120),
                 Cream = RGB(255, 245, 200);

// 1: a fish; few areas, quick to solve.
TPainter Fish() {
  TPainter p(640, 480, Water);
  p.Fill(Poly({{160, 240}, {60, 150}, {60, 330}}), Orange);   // tail
  p.Fill(Ellipse(330, 240, 190, 120), Yellow);                // body
  p.Fill(Poly({{300, 130}, {380, 60}, {420, 140}}), Orange);  // top fin
  p.Fill(Circle(440, 210, 34), White);                        // eye
  p.Ink(Circle(450, 210, 14));                                // pupil
  p.Line(480, 285, 510, 275, 6);                              // mouth
  p.Fill(Circle(565, 120, 26), White);                        // bubbles
  p.Fill(Circle(590, 55, 18), White);
  p.Frame(6);
  p.RemoveSpecks();
  return p;
}

// 2: a cat sitting on grass.
TPainter Cat() {
  TPainter p(640, 480, Sky);
  p.Fill(Rect(0, 390, 640, 480), Green);
  p.Fill(Capsule(420, 380, 520, 260, 18), Orange);  // tail
  p.Fill(Ellipse(320, 320, 130, 110), Orange);      // body
  p.Fill(Ellipse(320, 345, 60, 70), Cream);         // belly
  p.Fill(Circle(320, 170, 95) + Poly({{235, 140}, {240, 45}, {305, 95}}) +
             Poly({{405, 140}, {400, 45}, {335, 95}}),
         Orange);                                          // head, ears
  p.Fill(Poly({{250, 110}, {253, 70}, {285, 95}}), Pink);  // inner ears
  p.Fill(Poly({{390, 110}, {387, 70}, {355, 95}}), Pink);
  p.Fill(Ellipse(285, 160, 22, 28), Green);  // eyes
  p.Fill(Ellipse(355, 160, 22, 28), Green);
  p.Ink(Ellipse(285, 162, 7, 16));
  p.Ink(Ellipse(355, 162, 7, 16));
  p.Fill(Poly({{305, 200}, {335, 200}, {320, 218}}), Pink);  // nose
  p.Line(320, 218, 320, 232, 4);
  p.Line(320, 232, 300, 242, 4);
  p.Line(320, 232, 340, 242, 4);
  for (int i = -1; i <= 1; ++i) {  // whiskers
    p.Line(280, 215 + 10 * i, 200, 205 + 22 * i, 3);
    p.Line(360, 215 + 10 * i, 440, 205 + 22 * i, 3);
  }
  p.Fill(Ellipse(250, 415, 45, 22), Cream);  // paws
  p.Fill(Ellipse(390, 415, 45, 22), Cream);
  p.Fill(Circle(80, 80, 45), Yellow);  // sun
  p.Frame(6);
  p.RemoveSpecks();
  return p;
}

// 3: an owl on a branch at night.
TPainter Owl() {
  TPainter p(640, 480, Night);
  p.Fill(Circle(540, 90, 50), Cream);  // moon
  for (auto [x, y] : {TPt{80, 70}, TPt{170, 130}, TPt{110, 250}, TPt{560, 260}, TPt{450, 60}}) {
    p.Fill(Star(x, y, 20, 9, 5), Yellow);
  }
  p.Fill(Poly({{0, 400}, {640, 385}, {640, 425}, {0, 440}}), Brown);  // branch
  p.Fill(Ellipse(320, 270, 130, 150) + Poly({{210, 170}, {225, 90}, {275, 140}}) +
             Poly({{430, 170}, {415, 90}, {365, 140}}),
         Tan);                                   // body, ear tufts
  p.Fill(Ellipse(320, 320, 80, 95), Cream);      // belly
  p.Fill(Ellipse(205, 290, 40, 95, 15), Brown);  // wings
  p.Fill(Ellipse(435, 290, 40, 95, -15), Brown);
  p.Fill(Circle(270, 200, 48), White);  // eyes
  p.Fill(Circle(370, 200, 48), White);
  p.Fill(Circle(270, 205, 26), Orange);
  p.Fill(Circle(370, 205, 26), Orange);
  p.Ink(Circle(270, 207, 11));
  p.Ink(Circle(370, 207, 11));
  p.Fill(Poly({{300, 245}, {340, 245}, {320, 285}}), Yellow);             // beak
  for (int x : {270, 320, 370}) p.Fill(Ellipse(x, 418, 16, 12), Orange);  // claws
  p.Frame(6);
  p.RemoveSpecks();
  return p;
}

// 4: a house with a garden.
TPainter House() {
  TPainter p(640, 480, Sky);
  p.Fill(Rect(0, 370, 640, 480), Green);                                           // grass
  p.Fill(Circle(560, 80, 45), Yellow);                                             // sun
  p.Fill(Circle(120, 90, 30) + Circle(160, 75, 38) + Circle(200, 92, 28), White);  // cloud
  p.Fill(Rect(380, 110, 420, 200), Brown);                                         // chimney
  p.Fill(Rect(170, 220, 470, 400), Cream);                                         // walls
  p.Fill(Poly({{140, 230}, {320, 100}, {500, 230}}), Red);                         // roof
  p.Fill(Rect(290, 290, 350, 400), Brown);                                         // door
  p.Ink(Circle(337, 348, 5));
  for (int x : {200, 380}) {  // windows
    p.Fill(Rect(x, 260, x + 64, 330), Water);
    p.Line(x + 32, 260, x + 32, 330, 5);
    p.Line(x, 295, x + 64, 295, 5);
  }
  p.Fill(Circle(320, 175, 26), Water);                                  // attic window
  p.Fill(Poly({{300, 400}, {340, 400}, {380, 480}, {260, 480}}), Tan);  // path
  for (int x : {70, 560}) {                                             // bushes
    p.Fill(Circle(x, 390, 40) + Circle(x + 40, 400, 32) + Circle(x - 35, 402, 30), DarkGreen);
  }
  p.Frame(6);
  p.RemoveSpecks();
  return p;
}

// 5: a sailing boat.
TPainter Boat() {
  TPainter p(640, 480, Sky);
  p.Fill(Circle(90, 90, 50), Yellow);                                              // sun
  p.Fill(Circle(430, 80, 28) + Circle(470, 68, 36) + Circle(510, 82, 26), White);  // cloud
  p.Fill(Rect(0, 330, 640, 480), Water);                                           // sea
  p.Fill(Poly({{330, 70}, {330, 300}, {480, 300}}), White);                        // main sail
  p.Fill(Poly({{315, 110}, {315, 300}, {200, 300}}), Orange);                      // fore sail
  p.Line(322, 60, 322, 320, 8);                                                    // mast
  p.Fill(Poly({{322, 40}, {380, 52}, {322, 64}}), Red);                            // flag
  p.Fill(Poly({{150, 310}, {500, 310}, {450, 380}, {200, 380}}), Red);             // hull
  p.Fill(Rect(200, 325, 450, 345), White);                                         // stripe
  for (int x : {40, 170, 520}) {                                                   // waves
    p.Line(x, 420, x + 30, 405, 5);
    p.Line(x + 30, 405, x + 60, 420, 5);
  }
  p.Fill(Poly({{560, 360}, {600, 380}, {560, 400}, {535, 380}}), Orange);  // fish
  p.Fill(Poly({{540, 380}, {520, 365}, {520, 395}}), Orange);
  p.Frame(6);
  p.RemoveSpecks();
  return p;
}

// 6: flowers in a pot.
TPainter Flowers() {
  TPainter p(640, 480, Cream);
  p.Fill(Capsule(320, 340, 320, 170, 9), Green);  // stems
  p.Fill(Capsule(300, 340, 200, 190, 9), Green);
  p.Fill(Capsule(340, 340, 450, 200, 9), Green);
  p.Fill(Ellipse(270, 280, 40, 16, -30), Green);  // leaves
  p.Fill(Ellipse(380, 285, 40, 16, 30), Green);
  struct TFlower {
    double x, y;
    TColor petals;
    int count;
  };
  for (const TFlower& f :
       {TFlower{200, 180, Pink, 6}, TFlower{320, 140, Red, 8}, TFlower{450, 190, Purple, 5}}) {
    TShape petals;
    for (int i = 0; i < f.count; ++i) {
      const double a = 2 * Pi * i / f.count;
      petals = petals + Circle(f.x + 45 * std::cos(a), f.y + 45 * std::sin(a), 28);
    }
    p.Fill(petals, f.petals);
    p.Fill(Circle(f.x, f.y, 26), Yellow);
  }
  p.Fill(Poly({{220, 330}, {420, 330}, {390, 460}, {250, 460}}), Orange);  // pot
  p.Fill(Rect(205, 320, 435, 355), Brown);                                 // rim
  p.Fill(Circle(555, 405, 32), Red);                                       // a ladybird
  p.Ink(Circle(555, 368, 15));
  p.Line(555, 380, 555, 436, 3);
  for (auto [x, y] : {TPt{540, 395}, TPt{570, 395}, TPt{538, 420}, TPt{572, 420}}) {
    p.Ink(Circle(x, y, 6));
  }
  p.Frame(6);
  p.RemoveSpecks();
  return p;
}

// 7: a rocket among stars (480x360).
TPainter Rocket() {
  TPainter p(480, 360, Night);
  for (auto [x, y] : {TPt{60, 60}, TPt{400, 50}, TPt{90, 280}, TPt{420, 250}, TPt{330, 120}}) {
    p.Fill(Star(x, y, 18, 8, 5), Yellow);
  }
  p.Fill(Circle(90, 170, 35), Purple);                         // planet
  p.Fill(Ellipse(90, 170, 60, 12, -20), Pink);                 // its ring
  p.Fill(Poly({{240, 300}, {215, 350}, {265, 350}}), Orange);  // flame
  p.Fill(Poly({{200, 250}, {160, 310}, {205, 300}}), Red);     // fins
  p.Fill(Poly({{280, 250}, {320, 310}, {275, 300}}), Red);
  p.Fill(Ellipse(240, 190, 45, 115), White);               // body
  p.Fill(Poly({{205, 120}, {240, 70}, {275, 120}}), Red);  // nose
  p.Fill(Circle(240, 180, 22), Water);                     // window
  p.Fill(Rect(225, 250, 255, 300), Grey);                  // door
  p.Frame(5);
  p.RemoveSpecks();
  return p;
}

// 8: an apple tree.
TPainter Tree() {
  TPainter p(640, 480, Sky);
  p.Fill(Rect(0, 400, 640, 480), Green);                                           // grass
  p.Fill(Circle(540, 80, 30) + Circle(575, 70, 38) + Circle(610, 85, 28), White);  // cloud
  p.Fill(Poly({{290, 420}, {300, 240}, {340, 240}, {350, 420}}), Brown);           // trunk
  p.Fill(Circle(320, 170, 110) + Circle(220, 210, 80) + Circle(420, 210, 80) +
             Circle(260, 110, 70) + Circle(380, 110, 70),
         DarkGreen);  // crown
  for (auto [x, y] : {TPt{250, 180}, TPt{320, 120}, TPt{390, 190}, TPt{300, 230}, TPt{200, 240},
                      TPt{440, 240}, TPt{350, 60}}) {
    p.Fill(Circle(x, y, 17), Red);  // apples
  }
  p.Fill(Circle(120, 430, 18), Red);       // a fallen one
  p.Fill(Ellipse(500, 440, 60, 25), Tan);  // basket
  p.Frame(6);
  p.RemoveSpecks();
  return p;
}

// 9: a car on a road.
TPainter Car() {
  TPainter p(640, 480, Sky);
  p.Fill(Rect(0, 360, 640, 480), Grey);                                        // road
  for (int x : {40, 200, 360, 520}) p.Fill(Rect(x, 420, x + 80, 432), White);  // lane
  p.Fill(Circle(80, 80, 40), Yellow);                                          // sun
  p.Fill(Poly({{200, 230}, {250, 160}, {420, 160}, {470, 230}}), Blue);        // cabin
  p.Fill(Poly({{228, 225}, {260, 176}, {328, 176}, {328, 225}}), Water);       // windows
  p.Fill(Poly({{342, 225}, {342, 176}, {410, 176}, {442, 225}}), Water);
  p.Fill(Rect(110, 225, 540, 330), Red);     // body
  p.Fill(Rect(515, 250, 540, 275), Yellow);  // headlight
  p.Fill(Rect(110, 250, 130, 275), Orange);  // tail light
  p.Line(330, 232, 330, 322, 5);             // door line
  for (int x : {210, 440}) {                 // wheels
    p.Ink(Circle(x, 335, 48));
    p.Fill(Circle(x, 335, 24), Grey);
  }
  p.Frame(6);
  p.RemoveSpecks();
  return p;
}

// 10: a smiling sun (480x360).
TPainter Sun() {
  TPainter p(480, 360, Sky);
  TShape rays;
  for (int i = 0; i < 12; ++i) {
    const double a = 2 * Pi * i / 12, b = a + 0.18, c = a - 0.18;
    rays = rays + Poly({{240 + 150 * std::cos(a), 180 + 150 * std::sin(a)},
                        {240 + 85 * std::cos(b), 180 + 85 * std::sin(b)},
                        {240 + 85 * std::cos(c), 180 + 85 * std::sin(c)}});
  }
  p.Fill(rays, Orange);
  p.Fill(Circle(240, 180, 100), Yellow);
  p.Fill(Circle(205, 160, 16), White);  // eyes
  p.Fill(Circle(275, 160, 16), White);
  p.Ink(Circle(207, 162, 7));
  p.Ink(Circle(277, 162, 7));
  p.Fill(Circle(180, 205, 18), Pink);  // cheeks
  p.Fill(Circle(300, 205, 18), Pink);
  p.Fill(Ellipse(240, 225, 40, 22) + Rect(200, 200, 280, 225), Red);                // mouth
  p.Fill(Circle(60, 300, 26) + Circle(95, 290, 34) + Circle(130, 305, 24), White);  // clouds
  p.Fill(Circle(380, 60, 22) + Circle(410, 52, 28) + Circle(440, 62, 20), White);
  p.Frame(5);
  p.RemoveSpecks();
  return p;
}

// 11: a butterfly.
TPainter Butterfly() {
  TPainter p(640, 480, Green);
  p.Fill(Ellipse(220, 170, 110, 90, -25), Orange);  // wings
  p.Fill(Ellipse(420, 170, 110, 90, 25), Orange);
  p.Fill(Ellipse(240, 330, 80, 70, 30), Purple);
  p.Fill(Ellipse(400, 330, 80, 70, -30), Purple);
  for (auto [x, y, r] : {std::tuple{190.0, 160.0, 32.0},
                         {450.0, 160.0, 32.0},
                         {250.0, 110.0, 18.0},
                         {390.0, 110.0, 18.0}}) {
    p.Fill(Circle(x, y, r), Yellow);  // spots
  }
  p.Fill(Circle(230, 340, 25), Pink);
  p.Fill(Circle(410, 340, 25), Pink);
  p.Fill(Ellipse(320, 250, 22, 140), Brown);  // body
  p.Fill(Circle(320, 100, 26), Brown);        // head
  p.Line(310, 80, 270, 25, 5);                // antennae
  p.Line(330, 80, 370, 25, 5);
  p.Fill(Circle(268, 24, 12), Red);
  p.Fill(Circle(372, 24, 12), Red);
  p.Fill(Circle(60, 420, 30) + Circle(600, 60, 30), White);  // daisies
  p.Fill(Circle(60, 420, 12), Yellow);
  p.Fill(Circle(600, 60, 12), Yellow);
  p.Frame(6);
  p.RemoveSpecks();
  return p;
}

// 12: a snowman.
TPainter Snowman() {
  TPainter p(640, 480, Sky);
  p.Fill(Ellipse(320, 500, 420, 110), White);  // snow
  p.Fill(Circle(320, 350, 95), White);         // body
  p.Fill(Circle(320, 215, 70), White);
  p.Fill(Circle(320, 110, 50), White);                               // head
  p.Fill(Rect(270, 40, 370, 68) + Rect(285, 0, 355, 60), Blue);      // hat
  p.Fill(Rect(280, 150, 360, 172) + Rect(335, 160, 357, 215), Red);  // scarf
  p.Ink(Circle(302, 100, 7));                                        // eyes
  p.Ink(Circle(338, 100, 7));
  p.Fill(Poly({{320, 112}, {380, 124}, {320, 130}}), Orange);   // nose
  for (int y : {200, 240, 320, 360}) p.Ink(Circle(320, y, 8));  // buttons
  p.Line(250, 200, 160, 140, 7);                                // arms
  p.Line(390, 200, 480, 140, 7);
  for (auto [x, y] : {TPt{80, 80}, TPt{160, 200}, TPt{520, 90}, TPt{570, 230}, TPt{450, 40}}) {
    p.Fill(Star(x, y, 20, 7, 6), White);  // snowflakes
  }
  p.Fill(Rect(545, 400, 575, 440), Brown);  // a little fir tree
  p.Fill(Poly({{490, 410}, {560, 300}, {630, 410}}), Green);
  p.Fill(Poly({{505, 340}, {560, 250}, {615, 340}}), Green);
  p.Frame(6);
  p.RemoveSpecks();
  return p;
}

struct TEntry {
  TPainter (*draw)();
  TBmpFileFormat format;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gen_pictures OUTDIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  const TEntry entries[] = {
      {Fish, TBmpFileFormat::Bgr24},      {Cat, TBmpFileFormat::Pal8},
      {Owl, TBmpFileFormat::Rle8},        {House, TBmpFileFormat::Pal4},
      {Boat, TBmpFileFormat::Rgb565},     {Flowers, TBmpFileFormat::Bgr24TopDown},
      {Rocket, TBmpFileFormat::Bgr24},    {Tree, TBmpFileFormat::Rle8},
      {Car, TBmpFileFormat::Pal8},        {Sun, TBmpFileFormat::Pal4},
      {Butterfly, TBmpFileFormat::Bgr24}, {Snowman, TBmpFileFormat::Rgb565},
  };
  int n = 0;
  for (const TEntry& e : entries) {
    ++n;
    TPainter pic = e.draw();
    if (e.format == TBmpFileFormat::Rgb565) {
      for (TColor& c : pic.Px) c = Snap565(c);
    }
    // The rules a bundled picture keeps: 3 to 10 colours besides black.
    std::map<TColor, int> colours;
    for (TColor c : pic.Px) {
      if (c != Black) ++colours[c];
    }
    if (colours.size() < 3 || colours.size() > 10) {
      std::fprintf(stderr, "picture %d has %zu colours\n", n, colours.size());
      return 1;
    }
    const std::vector<uint8_t> bytes = tintbox::WriteBmp(pic.Px.data(), pic.W, pic.H, e.format);
    const std::string path = dir + "/" + std::to_string(n) + ".bmp";
    if (!tintbox::tools::WriteFile(path, bytes)) return 1;
    std::printf("%s: %dx%d, %zu colours\n", path.c_str(), pic.W, pic.H, colours.size());
  }
  return 0;
}
