#include "rules/colorslist.h"

#include "picture/errors.h"

namespace tintbox {

void TColorsList::Add(TColor AColor, TPoint APoint) {
  if (AColor == lastcolor) return;  // the run goes on
  lastcolor = AColor;
  if (AColor == clBlack) return;  // outlines are no colour
  Record(AColor, APoint);
}

void TColorsList::Record(TColor AColor, TPoint APoint) {
  const int32_t i = IndexOf(AColor);
  if (i < 0) {
    colors.emplace_back(AColor, APoint);
  } else {
    colors[size_t(i)].points.push_back(APoint);
  }
}

int32_t TColorsList::IndexOf(TColor AColor) const {
  for (size_t i = 0; i < colors.size(); ++i) {
    if (colors[i].color == AColor) return int32_t(i);
  }
  return -1;
}

void TColorsList::Clear() {
  colors.clear();
}

void TColorsList::Shuffle(TRandom& ARandom) {
  const size_t n = colors.size();
  // One entry has no order to change (the first step would move it to a
  // position past the end).
  if (n == 1) return;
  // Each position a in ascending order moves to r = draw(a) + 1: the first
  // step swaps the first two entries, every later one inserts the entry at a
  // at a uniformly drawn place among 1 .. a.
  for (size_t a = 0; a < n; ++a) {
    const size_t r = size_t(ARandom.Draw(uint32_t(a))) + 1;
    if (a >= n || r >= n) throw EArgumentOutOfRangeException("Argument out of range");
    if (r == a) continue;
    TPColors entry = std::move(colors[a]);
    colors.erase(colors.begin() + std::ptrdiff_t(a));
    colors.insert(colors.begin() + std::ptrdiff_t(r), std::move(entry));
  }
}

bool TColorsList::IsCorrectColors(const TBitmap& ABitmap) const {
  bool correct = true;
  ForEachWrongSeed([&](int32_t x, int32_t y) { return ABitmap.PixelAt(x, y); },
                   [&](TPoint) { return correct = false; });
  return correct;
}

bool TColorsList::IsCorrectColors(const TCanvas& ACanvas) const {
  bool correct = true;
  ForEachWrongSeed([&](int32_t x, int32_t y) { return ACanvas.Pixels(x, y); },
                   [&](TPoint) { return correct = false; });
  return correct;
}

void ScanPicture(const TBitmap& ABitmap, TColorsList& AList) {
  AList.Clear();
  AList.lastcolor =
      ScanSeeds(ABitmap, [&](TColor AColor, TPoint APoint) { AList.Record(AColor, APoint); });
}

void BlankPicture(TCanvas& ACanvas, const TColorsList& AList) {
  ACanvas.Brush.SetColor(clWhite);
  for (const TPColors& entry : AList.colors) {
    for (const TPoint& p : entry.points) {
      if (ACanvas.Pixels(p.X, p.Y) != ACanvas.Brush.Color()) {
        ACanvas.FloodFill(p.X, p.Y, clBlack, fsBorder);
      }
    }
  }
}

}  // namespace tintbox
