// Geometry and pixel operations for the controls: where an image control
// places its picture, nearest-pixel scaled copies into a 32-bit surface,
// alpha blending, colour-keyed copies and the selection frame's outline.
// Plain C++; a control wraps its QImage bits in a TSurface32 to use them.
#pragma once

#include <cstdint>

#include "picture/bitmap.h"
#include "picture/color.h"

namespace tintbox {

// Rows of pixels of one kind, StridePixels apart.
template <typename TPixel>
struct TPixelRows {
  TPixel* Bits = nullptr;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t StridePixels = 0;
  TPixel* Row(int32_t y) const { return Bits + int64_t(y) * StridePixels; }
};

// A 32-bit target: pixels 0xAARRGGBB (ToRGB32).
using TSurface32 = TPixelRows<uint32_t>;

// The destination rectangle of a picture of APicW x APicH in a control whose
// client area is AClientW x AClientH.
TRect PlacePicture(int32_t APicW, int32_t APicH, int32_t AClientW, int32_t AClientH, bool AStretch,
                   bool AProportional, bool ACenter);

// Copies ASource scaled into ADest (nearest pixel: each destination pixel takes
// the source pixel that falls on it; nothing is averaged), clipped to ATarget.
void StretchDraw(const TSurface32& ATarget, const TRect& ADest, const TBitmap& ASource);

// As StretchDraw, leaving out source pixels equal to AKey.
void KeyedStretchDraw(const TSurface32& ATarget, const TRect& ADest, const TBitmap& ASource,
                      TColor AKey);

// Blends a bitmap with an alpha plane into ADest: colour and alpha are taken
// from the same (nearest) source pixel, and each channel becomes
// (source * a + destination * (256 - a)) / 256.
void AlphaStretchDraw(const TSurface32& ATarget, const TRect& ADest, const TBitmap& ASource);

// Copies ASource unscaled to the target's top-left corner with its own alpha
// in the top byte (255 without an alpha plane): straight, not blended, as an
// icon's pixels are handed on.
void CopyWithAlpha(const TSurface32& ATarget, const TBitmap& ASource);

// One channel of the blend above.
constexpr uint8_t BlendChannel(uint8_t ASource, uint8_t ADest, uint8_t AAlpha) {
  return uint8_t((unsigned(ASource) * AAlpha + unsigned(ADest) * (256u - AAlpha)) / 256u);
}

// The outline rectangle of a rectangle shape with pen width APen in a control
// of AWidth x AHeight: starts at APen div 2, AWidth - APen + 1 wide (the
// control's own size for a pen of 0).
TRect ShapeOutlineRect(int32_t AWidth, int32_t AHeight, int32_t APen);

// Paints the pen of ShapeOutlineRect: APen pixels wide, centred on the
// outline's edges, right and bottom exclusive; the inside is left clear.
void DrawShapeOutline(const TSurface32& ATarget, int32_t AWidth, int32_t AHeight, int32_t APen,
                      TColor AColor);

// Fills ARect (clipped) with a colour.
void FillRect(const TSurface32& ATarget, const TRect& ARect, TColor AColor);

// The same fill and copies into a bitmap, as the GIF frames are composed:
// ARect of ATarget (clipped) filled with AColor; ASource copied unscaled with
// its top-left corner at AAt (clipped), whole or leaving out pixels of AKey.
void FillRect(TBitmap& ATarget, const TRect& ARect, TColor AColor);
void CopyBitmap(TBitmap& ATarget, TPoint AAt, const TBitmap& ASource);
void KeyedCopyBitmap(TBitmap& ATarget, TPoint AAt, const TBitmap& ASource, TColor AKey);

}  // namespace tintbox
