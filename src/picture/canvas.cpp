#include "picture/canvas.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace tintbox {

namespace {

// A span of pixels [XLeft, XRight] already painted on row Y - DY, whose
// neighbours on row Y are still to be explored.
struct TSpan {
  int32_t Y;
  int32_t XLeft;
  int32_t XRight;
  int32_t DY;
};

// Scratch kept between fills so that a click does not allocate.
struct TFillScratch {
  std::vector<TSpan> Stack;
  std::vector<int32_t> RowFirst;  // leftmost painted x of each row, INT32_MAX if none
  std::vector<int32_t> RowLast;   // rightmost painted x of each row
};

TFillScratch& Scratch() {
  thread_local TFillScratch scratch;
  return scratch;
}

// The area is painted with a marker first and turned into the brush colour at
// the end: the area may hold pixels of the brush colour already, so the brush
// colour cannot tell a painted pixel from one still to be explored. Stored
// colours are 0x00BBGGRR, so a value with a high byte never occurs in the
// picture; it must only differ from the border or surface colour.
TColor MarkerFor(TColor AColor) {
  return AColor == 0x80000000u ? 0x40000000u : 0x80000000u;
}

// Scan-line seed fill on an explicit stack: each popped span explores one
// row, paints the runs of inside pixels it meets, and pushes the runs onward
// (and backward where a run leaks past its parent). No recursion, so the
// depth of the call stack does not depend on the shape of the area.
template <typename TInside>
void ScanFill(TColor* APixels, int32_t AWidth, int32_t AHeight, int32_t AX, int32_t AY,
              TColor AMarker, TInside AInside, TFillScratch& AScratch) {
  std::vector<TSpan>& stack = AScratch.Stack;
  std::vector<int32_t>& first = AScratch.RowFirst;
  std::vector<int32_t>& last = AScratch.RowLast;
  stack.clear();
  first.assign(size_t(AHeight), INT32_MAX);
  last.assign(size_t(AHeight), -1);

  auto push = [&](int32_t y, int32_t xl, int32_t xr, int32_t dy) {
    const int32_t ny = y + dy;
    if (ny >= 0 && ny < AHeight) stack.push_back(TSpan{ny, xl, xr, dy});
  };
  auto note = [&](int32_t y, int32_t xl, int32_t xr) {
    if (xl < first[size_t(y)]) first[size_t(y)] = xl;
    if (xr > last[size_t(y)]) last[size_t(y)] = xr;
  };

  push(AY, AX, AX, 1);       // row below the seed, once the seed row is done
  push(AY + 1, AX, AX, -1);  // the seed row itself, popped first
  while (!stack.empty()) {
    const TSpan s = stack.back();
    stack.pop_back();
    TColor* row = APixels + size_t(s.Y) * size_t(AWidth);
    const int32_t x1 = s.XLeft, x2 = s.XRight, dy = s.DY;

    // Run left from x1.
    int32_t x = x1;
    while (x >= 0 && AInside(row[x])) row[x--] = AMarker;
    int32_t left;
    if (x < x1) {
      left = x + 1;
      if (left < x1) push(s.Y, left, x1 - 1, -dy);  // leaks past the parent's left end
      x = x1 + 1;
    } else {
      // x1 itself is not inside: look for the next inside pixel under the parent.
      ++x;
      while (x <= x2 && !AInside(row[x])) ++x;
      if (x > x2) continue;
      left = x;
    }
    for (;;) {
      while (x < AWidth && AInside(row[x])) row[x++] = AMarker;
      note(s.Y, left, x - 1);
      push(s.Y, left, x - 1, dy);
      if (x > x2 + 1) push(s.Y, x2 + 1, x - 1, -dy);  // leaks past the right end
      ++x;                                            // row[x] is not inside
      while (x <= x2 && !AInside(row[x])) ++x;
      if (x > x2) break;
      left = x;
    }
  }
}

// Turns the marker into the brush colour on the painted part of every row.
void Finish(TColor* APixels, int32_t AWidth, int32_t AHeight, TColor AMarker, TColor ABrush,
            const TFillScratch& AScratch) {
  for (int32_t y = 0; y < AHeight; ++y) {
    const int32_t x0 = AScratch.RowFirst[size_t(y)], x1 = AScratch.RowLast[size_t(y)];
    if (x0 > x1) continue;
    TColor* p = APixels + size_t(y) * size_t(AWidth);
    for (int32_t x = x0; x <= x1; ++x) p[x] = p[x] == AMarker ? ABrush : p[x];
  }
}

}  // namespace

void TCanvas::FloodFill(int32_t X, int32_t Y, TColor AColor, TFillStyle AFillStyle) {
  // A drawing operation owns its pixels: a shared store is copied first.
  TColor* pixels = FBitmap.WritablePixels();
  const int32_t w = FBitmap.Width(), h = FBitmap.Height();
  const TColor start = FBitmap.PixelAt(X, Y);
  const bool border = AFillStyle == fsBorder;
  const bool paint = start != NoPixel && (border ? start != AColor : start == AColor);
  if (paint) {
    // Only the colour part of the brush is painted: the store keeps 0x00BBGGRR
    // pixels, and 0xFFFFFFFF must never read back from inside the picture.
    const TColor brush = Brush.Color() & 0x00FFFFFFu;
    const TColor marker = MarkerFor(AColor);
    TFillScratch& scratch = Scratch();
    if (border) {
      ScanFill(
          pixels, w, h, X, Y, marker,
          [AColor, marker](TColor c) { return c != AColor && c != marker; }, scratch);
    } else {
      ScanFill(
          pixels, w, h, X, Y, marker, [AColor](TColor c) { return c == AColor; }, scratch);
    }
    Finish(pixels, w, h, marker, brush, scratch);
  }
  FBitmap.Changed();
}

}  // namespace tintbox
