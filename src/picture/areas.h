// The areas of a picture as a boundary fill covers them, and how each colour
// lies against the outlines: shared by the picture checker and the importer.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "picture/bitmap.h"
#include "picture/color.h"

namespace tintbox {

// 4-connected sets of non-black pixels, numbered in scan order (column by
// column), so each area's first pixel is the one the game's scan meets first.
struct TAreaMap {
  int32_t Width = 0;
  std::vector<int32_t> Label;   // per pixel, row by row: its area, or -1 on black
  std::vector<TPoint> First;    // per area: its first pixel in scan order
  std::vector<int64_t> Pixels;  // per area: its size

  size_t Count() const { return First.size(); }
  int32_t At(TPoint APoint) const {
    return Label[size_t(APoint.Y) * size_t(Width) + size_t(APoint.X)];
  }
};

TAreaMap LabelAreas(const TBitmap& ABitmap);

// One colour's pixels, how many of them touch black (of their 8 neighbours),
// and its first pixel in scan order.
struct TColorUse {
  int64_t Pixels = 0;
  int64_t NextToBlack = 0;
  TPoint First;
};

// Every colour but black.
std::map<TColor, TColorUse> ColorUses(const TBitmap& ABitmap);

}  // namespace tintbox
