// Help for a player who is stuck: a click that lands on an outline still
// fills the area beside it, and a hint shows which areas are still wrong.
#pragma once

#include <cstdint>
#include <memory>

#include "picture/bitmap.h"
#include "picture/color.h"
#include "rules/colorslist.h"

namespace tintbox {

// How far from a click on an outline the fill may start, in picture pixels.
inline constexpr int32_t SnapRadius = 3;

// Where a fill for a click at APoint starts: APoint itself unless it is a black
// pixel of the picture; then the nearest pixel of the picture that is not
// black within SnapRadius (Euclidean; of equally near ones the first in the
// column-by-column scan). With none, APoint (the fill then paints nothing).
TPoint FillStartPoint(const TBitmap& APicture, TPoint APoint);

// Whether a fill from AStart up to black in ABrush would change APicture:
// false when AStart is outside it or black, or when every pixel of the area
// there holds ABrush already.
bool FillChangesPicture(const TBitmap& APicture, TPoint AStart, TColor ABrush);

// The hint's colours: the wrong areas show diagonal stripes of the first two;
// a small area gets a blue ring edged with white round it, which shows on
// stripes, outlines and any colour.
inline constexpr TColor HintColorA = RGB(255, 0, 144);  // deep pink
inline constexpr TColor HintColorB = RGB(255, 236, 0);  // yellow
inline constexpr TColor HintRingColor = RGB(0, 64, 255);
inline constexpr TColor HintRingEdgeColor = clWhite;
// An area of fewer pixels than this (a 16 x 16 square) gets a ring.
inline constexpr int64_t HintRingBelowPixels = 16 * 16;

// The hint over APicture: a bitmap of the picture's size that is clNone
// (see-through) everywhere except over the areas the completion test finds
// wrong (an area, up to black, holding a seed point that does not carry its
// entry's colour) and the rings round the small ones among them. nullptr when
// every seed point is right.
//   EOutOfResources "Out of system resources" as for any bitmap of that size
std::unique_ptr<TBitmap> HintOverlay(const TBitmap& APicture, const TColorsList& AList);

}  // namespace tintbox
