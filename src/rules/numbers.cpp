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

  const TAreaMap areas = LabelAreas(APicture);
  std::vector<int32_t> entryOf(areas.Count(), -1);
  std::vector<uint8_t> wanted(areas.Count());
  for (const TWrong& s : wrong) {
    if (s.At.X < 0 || s.At.Y < 0 || s.At.X >= APicture.Width() || s.At.Y >= APicture.Height())
      continue;
    const int32_t label = areas.At(s.At);  // -1 where a seed point lies on black
    if (label < 0 || entryOf[size_t(label)] >= 0 || !PaletteDigit(s.Entry)) continue;
    entryOf[size_t(label)] = s.Entry;
    wanted[size_t(label)] = 1;
  }
  const std::vector<TAreaCentre> centres = AreaCentres(APicture, areas, wanted);
  std::vector<TNumberMark> marks;
  for (size_t a = 0; a < areas.Count(); ++a) {
    if (!wanted[a]) continue;
    const int32_t h = NumberHeightFor(std::sqrt(double(centres[a].Room2)));
    if (h == 0) continue;
    const TPoint at = centres[a].At;
    marks.push_back(
        Mark(at.X + 0.5, at.Y + 0.5, h, PaletteDigit(entryOf[a]), APicture.PixelAt(at.X, at.Y)));
  }
  return marks;
}

}  // namespace tintbox
