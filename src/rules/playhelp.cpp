#include "rules/playhelp.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "picture/areas.h"

namespace tintbox {

TPoint FillStartPoint(const TBitmap& APicture, TPoint APoint) {
  if (APicture.PixelAt(APoint.X, APoint.Y) != clBlack) return APoint;
  TPoint best = APoint;
  int32_t bestDistance = SnapRadius * SnapRadius + 1;
  // Column by column, as the scan goes, so the first of equally near pixels
  // is kept. The point lies inside the picture; its neighbours may not.
  for (int32_t dx = -SnapRadius; dx <= SnapRadius; ++dx) {
    for (int32_t dy = -SnapRadius; dy <= SnapRadius; ++dy) {
      const int32_t distance = dx * dx + dy * dy;
      if (distance >= bestDistance) continue;
      const int64_t x = int64_t(APoint.X) + dx, y = int64_t(APoint.Y) + dy;
      if (x < 0 || y < 0 || x >= APicture.Width() || y >= APicture.Height()) continue;
      if (APicture.PixelAt(int32_t(x), int32_t(y)) == clBlack) continue;
      best = TPoint{int32_t(x), int32_t(y)};
      bestDistance = distance;
    }
  }
  return best;
}

bool FillChangesPicture(const TBitmap& APicture, TPoint AStart, TColor ABrush) {
  const TColor start = APicture.PixelAt(AStart.X, AStart.Y);
  if (start == NoPixel || start == clBlack) return false;
  // The fill paints only the colour part of the brush.
  ABrush &= 0x00FFFFFFu;
  if (start != ABrush) return true;
  // Usually an area is one colour; where colours touch without black between
  // them the area holds several, so it is walked until one differs.
  const int64_t w = APicture.Width(), h = APicture.Height();
  std::vector<bool> seen(size_t(w * h), false);
  std::vector<TPoint> todo{AStart};
  seen[size_t(int64_t(AStart.Y) * w + AStart.X)] = true;
  while (!todo.empty()) {
    const TPoint p = todo.back();
    todo.pop_back();
    const TColor c = APicture.PixelAt(p.X, p.Y);
    if (c != ABrush) return true;
    const TPoint next[4] = {{p.X - 1, p.Y}, {p.X + 1, p.Y}, {p.X, p.Y - 1}, {p.X, p.Y + 1}};
    for (const TPoint& q : next) {
      if (q.X < 0 || q.Y < 0 || q.X >= w || q.Y >= h) continue;
      const size_t i = size_t(int64_t(q.Y) * w + q.X);
      if (seen[i] || APicture.PixelAt(q.X, q.Y) == clBlack) continue;
      seen[i] = true;
      todo.push_back(q);
    }
  }
  return false;
}

namespace {

// One wrong area: its size and its bounding box (Right and Bottom inclusive).
struct TWrongArea {
  int64_t Pixels = 0;
  int32_t Left = INT32_MAX, Top = INT32_MAX, Right = -1, Bottom = -1;
};

// Diagonal stripes four pixels wide, so that an area shows both colours
// whatever colour it holds.
TColor StripeColor(int32_t x, int32_t y) {
  return ((int64_t(x) + y) / 4) % 2 ? HintColorA : HintColorB;
}

// A ring round a small area, about four pixels wide (blue, edged with white
// on both sides), large enough to be seen round an area of one pixel. It
// never reaches the area itself, and lies over whatever else is there.
void DrawRing(TBitmap& AOverlay, const TWrongArea& AArea) {
  const double cx = (double(AArea.Left) + AArea.Right) / 2;
  const double cy = (double(AArea.Top) + AArea.Bottom) / 2;
  const double halfDiagonal =
      std::hypot(double(AArea.Right) - AArea.Left + 1, double(AArea.Bottom) - AArea.Top + 1) / 2;
  const double radius = std::max(8.0, halfDiagonal + 4);
  constexpr double HalfWidth = 2, HalfCore = 1;
  const double reach = radius + HalfWidth;
  const int32_t w = AOverlay.Width(), h = AOverlay.Height();
  const int32_t x0 = int32_t(std::max(0.0, std::floor(cx - reach)));
  const int32_t x1 = int32_t(std::min(double(w) - 1, std::ceil(cx + reach)));
  const int32_t y0 = int32_t(std::max(0.0, std::floor(cy - reach)));
  const int32_t y1 = int32_t(std::min(double(h) - 1, std::ceil(cy + reach)));
  TColor* pixels = AOverlay.WritablePixels();
  for (int32_t y = y0; y <= y1; ++y) {
    for (int32_t x = x0; x <= x1; ++x) {
      const double off = std::abs(std::hypot(x - cx, y - cy) - radius);
      if (off >= HalfWidth) continue;
      pixels[size_t(y) * size_t(w) + size_t(x)] =
          off < HalfCore ? HintRingColor : HintRingEdgeColor;
    }
  }
}

}  // namespace

std::unique_ptr<TBitmap> HintOverlay(const TBitmap& APicture, const TColorsList& AList) {
  // The seed points the completion test would find wrong.
  std::vector<TPoint> wrong;
  AList.ForEachWrongSeed([&](int32_t x, int32_t y) { return APicture.PixelAt(x, y); },
                         [&](TPoint APoint) {
                           wrong.push_back(APoint);
                           return true;
                         });
  if (wrong.empty()) return nullptr;

  // The areas as the player's fills see them; those holding a wrong seed
  // point get stripes, everything else stays see-through. Each wrong area's
  // size and bounds are gathered on the way.
  const TAreaMap areas = LabelAreas(APicture);
  std::vector<uint8_t> isWrong(areas.Count());
  bool any = false;
  for (const TPoint& p : wrong) {
    const int32_t label = areas.At(p);  // -1 where a seed point lies on black
    if (label >= 0) isWrong[size_t(label)] = 1, any = true;
  }
  if (!any) return nullptr;
  const int32_t w = APicture.Width(), h = APicture.Height();
  auto overlay = std::make_unique<TBitmap>();
  overlay->SetSize(w, h, clNone);
  std::vector<TWrongArea> found(areas.Count());
  TColor* pixels = overlay->WritablePixels();
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const size_t i = size_t(y) * size_t(w) + size_t(x);
      const int32_t label = areas.Label[i];
      if (label < 0 || !isWrong[size_t(label)]) continue;
      TWrongArea& area = found[size_t(label)];
      ++area.Pixels;
      area.Left = std::min(area.Left, x);
      area.Right = std::max(area.Right, x);
      area.Top = std::min(area.Top, y);
      area.Bottom = std::max(area.Bottom, y);
      pixels[i] = StripeColor(x, y);
    }
  }
  for (const TWrongArea& area : found)
    if (area.Pixels > 0 && area.Pixels < HintRingBelowPixels) DrawRing(*overlay, area);
  return overlay;
}

}  // namespace tintbox
