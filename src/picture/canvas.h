// TCanvas: a bitmap's drawing surface: pixel reads, the brush, boundary and
// surface flood fills, and a nesting lock.
#pragma once

#include <cstdint>

#include "picture/bitmap.h"
#include "picture/color.h"

namespace tintbox {

enum TBrushStyle { bsSolid, bsClear };
enum TFillStyle { fsSurface = 0, fsBorder = 1 };

class TBrush {
 public:
  TColor Color() const { return FColor; }
  // Setting a colour makes a clear brush solid again.
  void SetColor(TColor AColor) {
    FColor = AColor;
    FStyle = bsSolid;
  }
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle AStyle) { FStyle = AStyle; }

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

class TCanvas {
 public:
  explicit TCanvas(TBitmap& ABitmap) : FBitmap(ABitmap) {}

  // The pixel's colour, or NoPixel (0xFFFFFFFF) outside the bitmap.
  // Constant time, no allocation, never copies a shared store.
  // (Outside the rows the width counts as 0, so that a scan along a row makes
  // one test per pixel: the rest is worked out once per row by the compiler.)
  TColor Pixels(int32_t X, int32_t Y) const {
    const TColor* pixels = FBitmap.Pixels();
    const uint32_t w = uint32_t(FBitmap.Width());
    const uint32_t rowWidth = uint32_t(Y) < uint32_t(FBitmap.Height()) ? w : 0u;
    if (uint32_t(X) >= rowWidth) return NoPixel;
    return pixels[size_t(uint32_t(Y)) * w + uint32_t(X)];
  }

  TBrush Brush;

  // fsBorder: paints the 4-connected area around (X, Y) that does not cross a
  // pixel of AColor with the brush colour; fsSurface: paints the 4-connected
  // area of pixels of AColor that holds (X, Y). Nothing is painted when the
  // start lies outside the bitmap, on the border colour (fsBorder) or off the
  // surface colour (fsSurface). The bitmap is told of the change either way.
  // Returns the rectangle of the pixels painted (empty when none).
  TRect FloodFill(int32_t X, int32_t Y, TColor AColor, TFillStyle AFillStyle);

  // A re-entrant lock: counts nesting; Unlock gives up one level. TCanvasLock
  // holds one level for a scope.
  void Lock() { ++FLockCount; }
  void Unlock() {
    if (FLockCount > 0) --FLockCount;
  }
  int LockCount() const { return FLockCount; }

  TBitmap& Bitmap() { return FBitmap; }

 private:
  TBitmap& FBitmap;
  int FLockCount = 0;
};

// Holds a canvas's lock from construction to the end of the scope, however
// the scope is left.
class TCanvasLock {
 public:
  explicit TCanvasLock(TCanvas& ACanvas) : FCanvas(ACanvas) { FCanvas.Lock(); }
  ~TCanvasLock() { FCanvas.Unlock(); }
  TCanvasLock(const TCanvasLock&) = delete;
  TCanvasLock& operator=(const TCanvasLock&) = delete;

 private:
  TCanvas& FCanvas;
};

// Fills run eight pixels at a time with AVX2 where the processor has it, else
// with SSE2 or plain loops. Tests switch AVX2 off to check the other loops;
// returns the previous setting.
bool SetFillAvx2(bool AEnabled);

}  // namespace tintbox
