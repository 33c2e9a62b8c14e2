// The colour-region list: every colour of the open picture (black excepted)
// with the seed points where runs of that colour begin in the picture's
// column-by-column scan; the palette order; the completion test.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/bitmap.h"
#include "picture/canvas.h"
#include "picture/color.h"
#include "rules/limits.h"
#include "rules/random.h"

namespace tintbox {

struct TPColors {
  // Create: an entry of AColor whose only seed point is APoint.
  TPColors(TColor AColor, TPoint APoint) : color(AColor), points{APoint} {}

  TColor color;                // never black
  std::vector<TPoint> points;  // in the order found; never empty
};

class TColorsList {
 public:
  // Create: no entries, lastcolor 0.
  TColorsList() = default;

  std::vector<TPColors> colors;  // order of discovery until Shuffle
  TColor lastcolor = 0;          // colour of the last pixel offered to Add

  // Offers one scanned pixel: records APoint when AColor is not black and
  // differs from the pixel offered before it.
  void Add(TColor AColor, TPoint APoint);

  // Appends APoint to the entry of AColor, or a new entry of it at the end.
  // AColor is not black.
  void Record(TColor AColor, TPoint APoint);

  // Position of the entry of AColor, or -1.
  int32_t IndexOf(TColor AColor) const;

  int32_t Count() const { return int32_t(colors.size()); }

  // Removes every entry; lastcolor keeps its value.
  void Clear();

  // Palette order: the entry found second goes first, the others follow in
  // random order. A list of 0 or 1 entries stays as it is.
  // EArgumentOutOfRangeException "Argument out of range" for a move outside
  // the list (cannot happen for any list length).
  void Shuffle(TRandom& ARandom = ProgramRandom());

  // The completion test: true when every seed point of every entry holds the
  // entry's colour (an empty list is true).
  bool IsCorrectColors(const TCanvas& ACanvas) const;
  bool IsCorrectColors(const TBitmap& ABitmap) const;

  // The completion test's rule, which the hint shares: calls AWrong(point)
  // for each seed point, entry by entry in list order, whose pixel
  // (ARead(x, y)) is not its entry's colour, until AWrong returns false.
  template <typename TRead, typename TWrong>
  void ForEachWrongSeed(TRead&& ARead, TWrong&& AWrong) const {
    for (const TPColors& entry : colors) {
      for (const TPoint& p : entry.points) {
        if (ARead(p.X, p.Y) != entry.color && !AWrong(p)) return;
      }
    }
  }
};

// The game's scan: ABitmap column by column (x outer, y inner), starting from
// the memory of a black pixel; calls ASeed(colour, point) at the first pixel
// of every run of a colour that is not black. A NoPixel value stands for no
// pixel and is passed over. Returns the colour of the last pixel scanned.
template <typename TSeed>
TColor ScanSeeds(const TBitmap& ABitmap, TSeed&& ASeed) {
  TColor last = clBlack;
  const int32_t w = ABitmap.Width(), h = ABitmap.Height();
  if (w <= 0 || h <= 0) return last;
  const TColor* pixels = ABitmap.Pixels();
  const size_t stride = size_t(w);
  for (int32_t x = 0; x < w; ++x) {
    const TColor* p = pixels + x;
    for (int32_t y = 0; y < h; ++y, p += stride) {
      // Most pixels continue a run; only a change is looked at.
      const TColor c = *p;
      if (c == last || c == NoPixel) continue;
      last = c;
      if (c != clBlack) ASeed(c, TPoint{x, y});
    }
  }
  return last;
}

// Scans a freshly opened picture into AList: Clear, then ScanSeeds, each seed
// recorded as Add records it; lastcolor ends as the last pixel's. Every opening
// starts from the same memory, so a picture scans the same whichever picture
// was open before.
void ScanPicture(const TBitmap& ABitmap, TColorsList& AList);

// Blanks the picture: brush white, then for each entry and seed point in
// order, a boundary fill up to black from every seed point that is not white
// yet. The brush stays white.
void BlankPicture(TCanvas& ACanvas, const TColorsList& AList);

}  // namespace tintbox
