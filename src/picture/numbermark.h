// A digit drawn over a picture or a button, as the rules place it and the
// controls draw it: where, how big, which digit and in which colours.
#pragma once

#include <cmath>
#include <cstdint>

#include "picture/color.h"

namespace tintbox {

struct TNumberMark {
  double X = 0, Y = 0;  // the centre of the digit, in the pixels it is drawn over
  double Height = 0;    // the digit's own height (its ink, not a font's line)
  double Width = 0;     // the most the digit's ink may be wide
  double Halo = 0;      // the edge of the second colour round the ink
  char Digit = '0';
  TColor Ink = clBlack;   // the digit
  TColor Edge = clWhite;  // the edge round it

  // Every pixel the mark may touch: its box, the edge round it and a pixel
  // more for the smoothing of its outline. Right and Bottom exclusive.
  TRect Bounds() const {
    const double halfW = Width / 2 + Halo + 1, halfH = Height / 2 + Halo + 1;
    return TRect{int32_t(std::floor(X - halfW)), int32_t(std::floor(Y - halfH)),
                 int32_t(std::ceil(X + halfW)), int32_t(std::ceil(Y + halfH))};
  }
  friend bool operator==(const TNumberMark&, const TNumberMark&) = default;
};

}  // namespace tintbox
