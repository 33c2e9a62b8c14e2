// The colour-region list: every colour of the open picture (black excepted)
// with the seed points where runs of that colour begin in the picture's
// column-by-column scan; the palette order; the completion test.
#pragma once

#include <cstdint>
#include <vector>

#include "rules/random.h"
#include "picture/bitmap.h"
#include "picture/canvas.h"
#include "picture/color.h"

namespace tintbox {

// The most palette colours a picture may have.
inline constexpr int MaxColors = 10;

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
};

// Scans a freshly opened picture into AList: Clear, lastcolor := 0, then
// every pixel column by column (x outer, y inner) into Add. Every opening
// starts from the same memory, so a picture scans the same whichever picture
// was open before.
void ScanPicture(const TBitmap& ABitmap, TColorsList& AList);

// Blanks the picture: brush white, then for each entry and seed point in
// order, a boundary fill up to black from every seed point that is not white
// yet. The brush stays white.
void BlankPicture(TCanvas& ACanvas, const TColorsList& AList);

}  // namespace tintbox
