#include "rules/numbers.h"

#include <algorithm>
#include <cmath>

#include "picture/areas.h"

namespace tintbox {

char PaletteDigit(int32_t AIndex) {
  if (AIndex < 0 || AIndex >= MaxColors) return 0;
  return char('0' + (AIndex + 1) % 10);
}

double NumberHalo(double AHeight) {
  return std::max(1.0, AHeight / 12);
}

namespace {

double Linear(uint8_t AChannel) {
  const double c = AChannel / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// Half the diagonal of a digit's box of AHeight with its edge round it.
double ReachOf(double AHeight) {
  const double edge = 2 * NumberHalo(AHeight);
  return std::hypot(NumberAspect * AHeight + edge, AHeight + edge) / 2;
}

TNumberMark Mark(double X, double Y, double AHeight, char ADigit, TColor ABackground) {
  TNumberMark mark;
  mark.X = X;
  mark.Y = Y;
  mark.Height = AHeight;
  mark.Width = NumberAspect * AHeight;
  mark.Halo = NumberHalo(AHeight);
  mark.Digit = ADigit;
  NumberInk(ABackground, mark.Ink, mark.Edge);
  return mark;
}

}  // namespace

void NumberInk(TColor ABackground, TColor& AInk, TColor& AEdge) {
  const double L = 0.2126 * Linear(GetRValue(ABackground)) +
                   0.7152 * Linear(GetGValue(ABackground)) +
                   0.0722 * Linear(GetBValue(ABackground));
  // Contrast ratios (L + 0.05) / 0.05 against black, 1.05 / (L + 0.05)
  // against white: black wins from L = 0.179 up.
  const bool dark = (L + 0.05) * (L + 0.05) >= 1.05 * 0.05;
  AInk = dark ? clBlack : clWhite;
  AEdge = dark ? clWhite : clBlack;
}

TNumberMark ButtonNumber(int32_t AIndex, TColor AColor, int32_t ASide) {
  return Mark(ASide / 2.0, ASide / 2.0, ButtonNumberHeight, PaletteDigit(AIndex), AColor);
}

int32_t NumberHeightFor(double ARoom) {
  // A pixel to spare: the smoothing of the digit's outline touches pixels
  // whose centres lie up to a pixel beyond it.
  for (int32_t h = NumberMaxHeight; h >= NumberMinHeight; --h)
    if (ReachOf(h) <= ARoom - 1) return h;
  return 0;
}

std::vector<TNumberMark> PlaceNumbers(const TBitmap& APicture, const TColorsList& AList) {
  // The seed points the completion test would find wrong, with their entries.
  struct TWrong {
    TPoint At;
    int32_t Entry;
  };
  std::vector<TWrong> wrong;
  for (size_t k = 0; k < AList.colors.size(); ++k)
    for (const TPoint& p : AList.colors[k].points)
      if (APicture.PixelAt(p.X, p.Y) != AList.colors[k].color) wrong.push_back({p, int32_t(k)});
  if (wrong.empty()) return {};

  std::vector<TPoint> points;
  for (const TWrong& s : wrong) points.push_back(s.At);
  // Room beyond what the largest digit needs changes nothing.
  const double full = ReachOf(NumberMaxHeight) + 1;
  const std::vector<TAreaCentre> centres =
      FurthestPoints(APicture, points, uint32_t(std::ceil(full * full)));
  // Each area once, with the first wrong entry found in it.
  std::vector<uint8_t> done;
  std::vector<TNumberMark> marks;
  for (size_t i = 0; i < wrong.size(); ++i) {
    const TAreaCentre& c = centres[i];
    if (c.Area < 0 || !PaletteDigit(wrong[i].Entry)) continue;  // on black; past the tenth
    if (done.size() <= size_t(c.Area)) done.resize(size_t(c.Area) + 1);
    if (done[size_t(c.Area)]) continue;
    done[size_t(c.Area)] = 1;
    const int32_t h = NumberHeightFor(std::sqrt(double(c.Room2)));
    if (h == 0) continue;
    marks.push_back(Mark(c.At.X + 0.5, c.At.Y + 0.5, h, PaletteDigit(wrong[i].Entry),
                         APicture.PixelAt(c.At.X, c.At.Y)));
  }
  return marks;
}

}  // namespace tintbox
