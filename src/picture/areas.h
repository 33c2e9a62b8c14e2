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

// Per pixel, row by row: the squared Euclidean distance from its centre to the
// centre of the nearest black pixel, the pixels just beyond the picture's edges
// counting as black (an area's outline is black or the edge). 0 on black. Exact
// up to 255 pixels, far beyond any area of a picture the game shows (an area
// needs a 511-pixel square free of black for more); at least 255 beyond.
std::vector<uint32_t> OutlineDistances2(const TBitmap& ABitmap);

// An area's point furthest from its outline, and the room there: every pixel
// whose centre is nearer to At's centre than sqrt(Room2) belongs to the area.
struct TAreaCentre {
  int32_t Area = -1;  // the same for the points of one area; -1 on black or outside
  TPoint At;
  uint32_t Room2 = 0;  // squared distance to the outline, as OutlineDistances2
};

// For each of APoints, the furthest point of the area (4-connected, up to
// black, as a boundary fill covers it) that holds it. Of equally far points,
// the one nearest to their mean, so that a long even strip gets its point in
// the middle; of those, the first row by row. Only the rows that can hold an
// area's furthest point are measured exactly, so asking about a few areas of
// a large picture costs little more than reading it twice.
//
// Where only so much room matters, ARoomCap2 ends the search of an area as
// soon as a point with that much room (squared) or more is found: then its
// point is the middle of the furthest points of its deepest row (the run
// whose bound is largest), not necessarily the furthest of the area.
std::vector<TAreaCentre> FurthestPoints(const TBitmap& ABitmap, const std::vector<TPoint>& APoints,
                                        uint32_t ARoomCap2 = UINT32_MAX);

}  // namespace tintbox
