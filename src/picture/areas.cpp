#include "picture/areas.h"

#include <algorithm>
#include <limits>

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

// Two passes: down each column the distance to the nearest black pixel in the
// column (the edges above and below count), then along each row the lower
// envelope of the parabolas (x - x')^2 + g(x')^2, the edges left and right
// being two more sites with g = 0 (Felzenszwalb and Huttenlocher's method).
std::vector<uint32_t> OutlineDistances2(const TBitmap& ABitmap) {
  const int32_t w = ABitmap.Width(), h = ABitmap.Height();
  if (w <= 0 || h <= 0) return {};
  const size_t stride = size_t(w);
  const TColor* pixels = ABitmap.Pixels();
  std::vector<uint32_t> out(stride * size_t(h));
  // g, row by row in out for now: a column's distance never exceeds h.
  for (int32_t y = 0; y < h; ++y) {
    const TColor* row = pixels + size_t(y) * stride;
    uint32_t* g = out.data() + size_t(y) * stride;
    const uint32_t* above = y ? g - stride : nullptr;
    for (size_t x = 0; x < stride; ++x) g[x] = row[x] == clBlack ? 0 : (above ? above[x] + 1 : 1);
  }
  for (int32_t y = h - 1; y >= 0; --y) {
    uint32_t* g = out.data() + size_t(y) * stride;
    const uint32_t* below = y + 1 < h ? g + stride : nullptr;
    for (size_t x = 0; x < stride; ++x) g[x] = std::min(g[x], below ? below[x] + 1 : 1u);
  }
  // The sites of one row: x' from -1 to w, f = g^2 (0 at the two edges).
  std::vector<int64_t> f(stride + 2);
  std::vector<int64_t> v(stride + 2);
  std::vector<double> z(stride + 3);
  for (int32_t y = 0; y < h; ++y) {
    uint32_t* row = out.data() + size_t(y) * stride;
    f[0] = 0;
    for (size_t x = 0; x < stride; ++x) f[x + 1] = int64_t(row[x]) * row[x];
    f[stride + 1] = 0;
    // Sites are indexed from 0 (x' = -1); the parabola of site q is
    // (x - (q - 1))^2 + f[q].
    size_t k = 0;
    v[0] = 0;
    z[0] = -std::numeric_limits<double>::infinity();
    z[1] = std::numeric_limits<double>::infinity();
    for (int64_t q = 1; q < int64_t(stride) + 2; ++q) {
      // Where the parabola of q overtakes the one last on the envelope; the
      // ones it overtakes before they begin leave the envelope.
      auto meet = [&](int64_t p) {
        return (double(f[size_t(q)] + q * q) - double(f[size_t(p)] + p * p)) / double(2 * (q - p));
      };
      double s = meet(v[k]);
      while (s <= z[k]) s = meet(v[--k]);  // z[0] is -infinity: k stays >= 0
      ++k;
      v[k] = q;
      z[k] = s;
      z[k + 1] = std::numeric_limits<double>::infinity();
    }
    k = 0;
    for (int64_t x = 0; x < int64_t(stride); ++x) {
      const int64_t at = x + 1;  // x in site indices
      while (z[k + 1] < double(at)) ++k;
      const int64_t dx = at - v[k];
      const int64_t d2 = dx * dx + f[size_t(v[k])];
      row[x] = uint32_t(std::min<int64_t>(d2, std::numeric_limits<uint32_t>::max()));
    }
  }
  return out;
}

std::vector<TAreaCentre> AreaCentres(const TBitmap& ABitmap, const TAreaMap& AMap,
                                     const std::vector<uint8_t>& AWanted) {
  std::vector<TAreaCentre> centres(AMap.Count());
  if (AMap.Count() == 0 || AWanted.size() != AMap.Count()) return centres;
  const std::vector<uint32_t> d2 = OutlineDistances2(ABitmap);
  const int32_t w = ABitmap.Width(), h = ABitmap.Height();
  // The furthest distance of each area, and the mean of the points at it.
  struct TSum {
    int64_t X = 0, Y = 0, Count = 0;
  };
  std::vector<TSum> sums(AMap.Count());
  for (int32_t y = 0; y < h; ++y) {
    const size_t i0 = size_t(y) * size_t(w);
    for (int32_t x = 0; x < w; ++x) {
      const int32_t label = AMap.Label[i0 + size_t(x)];
      if (label < 0 || !AWanted[size_t(label)]) continue;
      const uint32_t d = d2[i0 + size_t(x)];
      TAreaCentre& c = centres[size_t(label)];
      TSum& sum = sums[size_t(label)];
      if (d > c.Room2) c.Room2 = d, sum = TSum{};
      if (d == c.Room2) sum.X += x, sum.Y += y, ++sum.Count;
    }
  }
  // Of the furthest points, the one nearest to their mean.
  std::vector<double> nearest(AMap.Count(), std::numeric_limits<double>::infinity());
  for (int32_t y = 0; y < h; ++y) {
    const size_t i0 = size_t(y) * size_t(w);
    for (int32_t x = 0; x < w; ++x) {
      const int32_t label = AMap.Label[i0 + size_t(x)];
      if (label < 0 || !AWanted[size_t(label)]) continue;
      TAreaCentre& c = centres[size_t(label)];
      if (d2[i0 + size_t(x)] != c.Room2) continue;
      const TSum& sum = sums[size_t(label)];
      const double dx = double(x) - double(sum.X) / double(sum.Count);
      const double dy = double(y) - double(sum.Y) / double(sum.Count);
      const double off = dx * dx + dy * dy;
      if (off < nearest[size_t(label)]) nearest[size_t(label)] = off, c.At = {x, y};
    }
  }
  return centres;
}

}  // namespace tintbox
