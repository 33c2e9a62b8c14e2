#include "picture/areas.h"

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

}  // namespace tintbox
