#include "picture/areas.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>

#include "picture/disjointsets.h"

namespace tintbox {

TAreaMap LabelAreas(const TBitmap& ABitmap) {
  TAreaMap map;
  const int32_t w = ABitmap.Width(), h = ABitmap.Height();
  if (w <= 0 || h <= 0) return map;
  map.Width = w;
  const size_t stride = size_t(w);
  const TColor* pixels = ABitmap.Pixels();
  map.Label.assign(stride * size_t(h), -1);
  std::vector<TPoint> stack;
  for (int32_t x = 0; x < w; ++x) {
    for (int32_t y = 0; y < h; ++y) {
      const size_t i = size_t(y) * stride + size_t(x);
      if (pixels[i] == clBlack || map.Label[i] >= 0) continue;
      const int32_t id = int32_t(map.First.size());
      map.First.push_back({x, y});
      map.Pixels.push_back(0);
      map.Label[i] = id;
      stack.push_back({x, y});
      while (!stack.empty()) {
        const TPoint p = stack.back();
        stack.pop_back();
        ++map.Pixels.back();
        const TPoint next[4] = {{p.X - 1, p.Y}, {p.X + 1, p.Y}, {p.X, p.Y - 1}, {p.X, p.Y + 1}};
        for (const TPoint& q : next) {
          if (q.X < 0 || q.Y < 0 || q.X >= w || q.Y >= h) continue;
          const size_t j = size_t(q.Y) * stride + size_t(q.X);
          if (map.Label[j] >= 0 || pixels[j] == clBlack) continue;
          map.Label[j] = id;
          stack.push_back(q);
        }
      }
    }
  }
  return map;
}

std::map<TColor, TColorUse> ColorUses(const TBitmap& ABitmap) {
  std::map<TColor, TColorUse> uses;
  const int32_t w = ABitmap.Width(), h = ABitmap.Height();
  const TColor* pixels = ABitmap.Pixels();
  auto at = [&](int32_t x, int32_t y) { return pixels[size_t(y) * size_t(w) + size_t(x)]; };
  for (int32_t x = 0; x < w; ++x) {
    for (int32_t y = 0; y < h; ++y) {
      const TColor c = at(x, y);
      if (c == clBlack) continue;
      TColorUse& use = uses[c];
      if (use.Pixels++ == 0) use.First = {x, y};
      bool byBlack = false;
      for (int32_t dy = -1; dy <= 1 && !byBlack; ++dy) {
        for (int32_t dx = -1; dx <= 1 && !byBlack; ++dx) {
          const int32_t nx = x + dx, ny = y + dy;
          byBlack = nx >= 0 && ny >= 0 && nx < w && ny < h && at(nx, ny) == clBlack;
        }
      }
      use.NextToBlack += byBlack;
    }
  }
  return uses;
}

namespace {

// The picture as runs of pixels that are not black, row by row, joined into
// areas, with each pixel's distance g to the nearest black pixel in its
// column (the edges above and below counting as black), in a byte: g stops
// at 255, which leaves every distance up to 255 exact.
//
// The distance along a row is the lower envelope of the parabolas
// (x - x')^2 + g(x')^2 (Felzenszwalb and Huttenlocher's method); for a pixel
// of a run only the run's own pixels and the two black pixels (or edges) that
// end it can be nearest, so each run is measured on its own. A run's
// distances are at most min(largest g, distance from its middle to its
// ends)^2, its Bound:
// an area's furthest point lies in a run whose Bound is at least the furthest
// distance found so far, so runs are measured from the largest Bound down,
// and the rest never.
class TRunDistances {
 public:
  struct TRun {
    int32_t Left, Right, Row;  // Right inclusive
    uint64_t Bound = 0;
  };

  explicit TRunDistances(const TBitmap& ABitmap) {
    W = ABitmap.Width();
    H = ABitmap.Height();
    if (W <= 0 || H <= 0) return;
    const size_t stride = size_t(W);
    const TColor* pixels = ABitmap.Pixels();
    // Every entry is written by the first pass.
    G.reset(new uint8_t[stride * size_t(H)]);
    RowStart.resize(size_t(H) + 1);
    // Down: g from above, and the runs, joined with the overlapping runs of
    // the row above. Black is 0 in g, every other pixel at least 1.
    for (int32_t y = 0; y < H; ++y) {
      const TColor* __restrict row = pixels + size_t(y) * stride;
      uint8_t* __restrict g = G.get() + size_t(y) * stride;
      if (y == 0) {
        for (size_t x = 0; x < stride; ++x) g[x] = row[x] != clBlack;
      } else {
        const uint8_t* __restrict above = g - stride;
        for (size_t x = 0; x < stride; ++x)
          g[x] = uint8_t(above[x] + uint8_t(above[x] != 255)) & uint8_t(0 - (row[x] != clBlack));
      }
      RowStart[size_t(y)] = Runs.size();
      for (int32_t x = 0; x < W;) {
        x = NextWhere(row, x, W, true);
        if (x == W) break;
        const int32_t start = x;
        x = NextWhere(row, x, W, false);
        Runs.push_back({start, x - 1, y});
        Sets.Add();
      }
      if (y == 0) continue;
      size_t i = RowStart[size_t(y) - 1];
      const size_t iEnd = RowStart[size_t(y)];
      for (size_t j = iEnd; j < Runs.size(); ++j) {
        while (i < iEnd && Runs[i].Right < Runs[j].Left) ++i;
        for (size_t k = i; k < iEnd && Runs[k].Left <= Runs[j].Right; ++k)
          Join(int32_t(k), int32_t(j));
      }
    }
    RowStart[size_t(H)] = Runs.size();
    // Up: g from below too (black stays 0), and each run's bound.
    for (int32_t y = H - 1; y >= 0; --y) {
      uint8_t* __restrict g = G.get() + size_t(y) * stride;
      if (y + 1 == H) {
        for (size_t x = 0; x < stride; ++x) g[x] = std::min<uint8_t>(g[x], 1);
      } else {
        const uint8_t* __restrict below = g + stride;
        for (size_t x = 0; x < stride; ++x)
          g[x] = std::min<uint8_t>(g[x], below[x] + uint8_t(below[x] != 255));
      }
      for (size_t r = RowStart[size_t(y)]; r < RowStart[size_t(y) + 1]; ++r) {
        TRun& run = Runs[r];
        uint8_t deepest = 0;
        for (int32_t x = run.Left; x <= run.Right; ++x) deepest = std::max(deepest, g[x]);
        const uint64_t bound = std::min<uint64_t>(deepest, (run.Right - run.Left + 2) / 2);
        run.Bound = bound * bound;
      }
    }
  }

  // The first x from AFrom on whose pixel is not black (ABlack) or is
  // black (!ABlack), or AW; eight pixels at a time through long runs.
  static int32_t NextWhere(const TColor* ARow, int32_t AFrom, int32_t AW, bool ABlack) {
    int32_t x = AFrom;
    while (x + 8 <= AW) {
      bool stop = false;
      for (int32_t j = 0; j < 8; ++j) stop |= (ARow[x + j] == clBlack) != ABlack;
      if (stop) break;
      x += 8;
    }
    while (x < AW && (ARow[x] == clBlack) == ABlack) ++x;
    return x;
  }

  int32_t Root(int32_t ARun) { return Sets.Find(ARun); }

  // The run holding APoint, or -1 on black or outside.
  int32_t RunAt(TPoint APoint) const {
    if (APoint.X < 0 || APoint.Y < 0 || APoint.X >= W || APoint.Y >= H) return -1;
    const auto first = Runs.begin() + ptrdiff_t(RowStart[size_t(APoint.Y)]);
    const auto last = Runs.begin() + ptrdiff_t(RowStart[size_t(APoint.Y) + 1]);
    const auto it =
        std::partition_point(first, last, [&](const TRun& r) { return r.Right < APoint.X; });
    return it != last && it->Left <= APoint.X ? int32_t(it - Runs.begin()) : -1;
  }

  // Calls AEach(x, squared distance) for every pixel of run ARun.
  template <typename F>
  void Measure(size_t ARun, F&& AEach) {
    const TRun& run = Runs[ARun];
    Measure(ARun, run.Left, run.Right, AEach);
  }

  // The same for the pixels of run ARun whose own bound, min(g(x), distance
  // to the run's ends)^2, is at least AAtLeast. Only the sites within g of
  // them can be nearer than their own column.
  template <typename F>
  void MeasureFrom(size_t ARun, uint64_t AAtLeast, F&& AEach) {
    const TRun& run = Runs[ARun];
    const uint8_t* g = G.get() + size_t(run.Row) * size_t(W);
    int64_t from = -1, to = -1, reach = 0;
    for (int64_t x = run.Left; x <= run.Right; ++x) {
      const int64_t own = std::min<int64_t>(g[x], std::min(x - run.Left, run.Right - x) + 1);
      if (uint64_t(own * own) < AAtLeast) continue;
      if (from < 0) from = x;
      to = x;
      reach = std::max<int64_t>(reach, g[x]);
    }
    if (from < 0) return;
    const int64_t left = std::max<int64_t>(run.Left, from - reach);
    const int64_t right = std::min<int64_t>(run.Right, to + reach);
    Measure(ARun, int32_t(left), int32_t(right), [&](int32_t x, uint32_t d2) {
      if (x >= from && x <= to) AEach(x, d2);
    });
  }

  // Every pixel of ALeft .. ARight of run ARun, from the sites of those
  // pixels and, where the run ends there, the black pixel (or edge) beyond.
  // A site left out lies further from each pixel than that pixel's own g.
  template <typename F>
  void Measure(size_t ARun, int32_t ALeft, int32_t ARight, F&& AEach) {
    const TRun& run = Runs[ARun];
    const uint8_t* g = G.get() + size_t(run.Row) * size_t(W);
    // Sites 0 .. n + 1: the one left of ALeft, the pixels, the one right of
    // ARight; the outer two count only where the run ends.
    const int64_t n = int64_t(ARight) - ALeft + 1;
    F2.resize(size_t(n) + 2);
    V.resize(size_t(n) + 2);
    Z.resize(size_t(n) + 3);
    for (int64_t q = 1; q <= n; ++q) F2[size_t(q)] = int64_t(g[ALeft + q - 1]) * g[ALeft + q - 1];
    const bool leftEnd = ALeft == run.Left, rightEnd = ARight == run.Right;
    F2[0] = 0;
    F2[size_t(n) + 1] = 0;
    const int64_t q0 = leftEnd ? 0 : 1, q1 = rightEnd ? n + 1 : n;
    size_t k = 0;
    V[0] = q0;
    Z[0] = -std::numeric_limits<double>::infinity();
    Z[1] = std::numeric_limits<double>::infinity();
    for (int64_t q = q0 + 1; q <= q1; ++q) {
      // Where the parabola of q overtakes the one last on the envelope; the
      // ones it overtakes before they begin leave the envelope.
      auto meet = [&](int64_t p) {
        return (double(F2[size_t(q)] + q * q) - double(F2[size_t(p)] + p * p)) /
               double(2 * (q - p));
      };
      double s = meet(V[k]);
      while (s <= Z[k]) s = meet(V[--k]);  // Z[0] is -infinity: k stays >= 0
      ++k;
      V[k] = q;
      Z[k] = s;
      Z[k + 1] = std::numeric_limits<double>::infinity();
    }
    k = 0;
    for (int64_t q = 1; q <= n; ++q) {
      while (Z[k + 1] < double(q)) ++k;
      const int64_t dx = q - V[k];
      const int64_t d2 = dx * dx + F2[size_t(V[k])];
      AEach(int32_t(ALeft + q - 1),
            uint32_t(std::min<int64_t>(d2, std::numeric_limits<uint32_t>::max())));
    }
  }

  int32_t W = 0, H = 0;
  std::unique_ptr<uint8_t[]> G;
  std::vector<TRun> Runs;
  TSets Sets;  // the runs of one area joined
  std::vector<size_t> RowStart;

 private:
  void Join(int32_t A, int32_t B) {
    A = Root(A);
    B = Root(B);
    if (A != B) Sets.Link(std::max(A, B), std::min(A, B));
  }

  std::vector<int64_t> F2, V;
  std::vector<double> Z;
};

}  // namespace

std::vector<uint32_t> OutlineDistances2(const TBitmap& ABitmap) {
  TRunDistances runs(ABitmap);
  std::vector<uint32_t> out(size_t(runs.W) * size_t(runs.H));  // 0 on black
  for (size_t r = 0; r < runs.Runs.size(); ++r) {
    uint32_t* row = out.data() + size_t(runs.Runs[r].Row) * size_t(runs.W);
    runs.Measure(r, [&](int32_t x, uint32_t d2) { row[x] = d2; });
  }
  return out;
}

std::vector<TAreaCentre> FurthestPoints(const TBitmap& ABitmap, const std::vector<TPoint>& APoints,
                                        uint32_t ARoomCap2) {
  std::vector<TAreaCentre> out(APoints.size());
  if (APoints.empty()) return out;
  TRunDistances runs(ABitmap);
  // The areas asked for, by their root runs.
  std::vector<int32_t> areaOf(runs.Runs.size(), -1);
  size_t n = 0;
  for (size_t i = 0; i < APoints.size(); ++i) {
    const int32_t run = runs.RunAt(APoints[i]);
    if (run < 0) continue;
    const int32_t root = runs.Root(run);
    if (areaOf[size_t(root)] < 0) areaOf[size_t(root)] = int32_t(n++);
    out[i].Area = areaOf[size_t(root)];
  }
  // Each area's run of the largest bound is measured first; after it only
  // the runs whose bound reaches the furthest distance found so far, and
  // none once that reaches the cap.
  std::vector<int32_t> areaOfRun(runs.Runs.size(), -1);
  std::vector<size_t> first(n, SIZE_MAX);
  for (size_t r = 0; r < runs.Runs.size(); ++r) {
    const int32_t area = areaOf[size_t(runs.Root(int32_t(r)))];
    areaOfRun[r] = area;
    if (area < 0) continue;
    size_t& f = first[size_t(area)];
    if (f == SIZE_MAX || runs.Runs[r].Bound > runs.Runs[f].Bound) f = r;
  }
  std::vector<uint32_t> best(n, 0);
  std::vector<std::vector<TPoint>> furthest(n);
  auto measure = [&](size_t ARun, int32_t AArea) {
    uint32_t& b = best[size_t(AArea)];
    std::vector<TPoint>& points = furthest[size_t(AArea)];
    const int32_t row = runs.Runs[ARun].Row;
    runs.MeasureFrom(ARun, b, [&](int32_t x, uint32_t d2) {
      if (d2 < b) return;
      if (d2 > b) b = d2, points.clear();
      points.push_back({x, row});
    });
  };
  for (size_t a = 0; a < n; ++a) measure(first[a], int32_t(a));
  // The runs that may still hold a point further out, from the largest bound
  // down, so that the furthest distance grows quickly and ends the rest.
  std::vector<size_t> rest;
  for (size_t r = 0; r < runs.Runs.size(); ++r) {
    const int32_t area = areaOfRun[r];
    if (area >= 0 && r != first[size_t(area)] && best[size_t(area)] < ARoomCap2 &&
        runs.Runs[r].Bound >= best[size_t(area)])
      rest.push_back(r);
  }
  std::sort(rest.begin(), rest.end(),
            [&](size_t a, size_t b) { return runs.Runs[a].Bound > runs.Runs[b].Bound; });
  for (size_t r : rest) {
    const uint32_t b = best[size_t(areaOfRun[r])];
    if (b < ARoomCap2 && runs.Runs[r].Bound >= b) measure(r, areaOfRun[r]);
  }
  // Of the furthest points, the one nearest to their mean; then the first
  // row by row.
  std::vector<TAreaCentre> centres(n);
  for (size_t a = 0; a < n; ++a) {
    const std::vector<TPoint>& points = furthest[a];
    double mx = 0, my = 0;
    for (const TPoint& p : points) mx += p.X, my += p.Y;
    mx /= double(points.size());
    my /= double(points.size());
    TAreaCentre& c = centres[a];
    c.Area = int32_t(a);
    c.Room2 = best[a];
    double nearest = std::numeric_limits<double>::infinity();
    for (const TPoint& p : points) {
      const double off = (p.X - mx) * (p.X - mx) + (p.Y - my) * (p.Y - my);
      if (off < nearest || (off == nearest && (p.Y < c.At.Y || (p.Y == c.At.Y && p.X < c.At.X))))
        nearest = off, c.At = p;
    }
  }
  for (TAreaCentre& c : out)
    if (c.Area >= 0) c = centres[size_t(c.Area)];
  return out;
}

}  // namespace tintbox
