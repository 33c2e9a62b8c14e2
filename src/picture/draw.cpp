#include "picture/draw.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tintbox {

namespace {

// The fill and the copies below are written once for both kinds of target: a
// 32-bit surface, and a bitmap's own colours, as RowsOf gives them for
// writing (a shared store is copied first).
TPixelRows<TColor> RowsOf(TBitmap& ATarget) {
  if (ATarget.Empty()) return {};
  return {ATarget.WritablePixels(), ATarget.Width(), ATarget.Height(), ATarget.Width()};
}

int32_t TruncToInt(double AValue) {
  // The operands are client sizes and a positive ratio, so the result stays
  // within the client size; the clamp only guards against a NaN or a wild value.
  if (!(AValue > double(INT32_MIN) && AValue < double(INT32_MAX))) return 0;
  return int32_t(std::trunc(AValue));
}

// The part of a destination rectangle that lies on the target, and the source
// pixel that falls on each of its columns and rows. Nearest pixel: destination
// offset d of a span of length n takes source offset floor(d * s / n) of a
// source of length s (64-bit arithmetic, so no size can overflow it). Rows
// and columns are repeated or dropped evenly; nothing is averaged.
struct TStretchMap {
  int32_t X0 = 0, X1 = 0, Y0 = 0, Y1 = 0;  // visible target pixels, X1 and Y1 exclusive
  int64_t DestLeft = 0, DestTop = 0, DestW = 0, DestH = 0;
  int32_t SrcW = 0, SrcH = 0;
  bool OneToOne = false;
  std::vector<int32_t> SrcX;  // per visible column (only when scaling)

  int32_t SourceRow(int32_t y) const { return int32_t((int64_t(y) - DestTop) * SrcH / DestH); }
  int32_t SourceColumnOf(int32_t x) const {
    return int32_t((int64_t(x) - DestLeft) * SrcW / DestW);
  }
};

template <typename TPixel>
bool UsableTarget(const TPixelRows<TPixel>& ATarget) {
  return ATarget.Bits && ATarget.Width > 0 && ATarget.Height > 0 &&
         ATarget.StridePixels >= ATarget.Width;
}

// Clips ADest to the target; false when nothing of the source shows.
template <typename TPixel>
bool MapStretch(const TPixelRows<TPixel>& ATarget, const TRect& ADest, const TBitmap& ASource,
                TStretchMap& AMap) {
  if (!UsableTarget(ATarget) || ASource.Empty()) return false;
  AMap.DestLeft = ADest.Left;
  AMap.DestTop = ADest.Top;
  AMap.DestW = int64_t(ADest.Right) - ADest.Left;
  AMap.DestH = int64_t(ADest.Bottom) - ADest.Top;
  if (AMap.DestW <= 0 || AMap.DestH <= 0) return false;
  AMap.SrcW = ASource.Width();
  AMap.SrcH = ASource.Height();
  AMap.X0 = int32_t(std::max<int64_t>(ADest.Left, 0));
  AMap.Y0 = int32_t(std::max<int64_t>(ADest.Top, 0));
  AMap.X1 = int32_t(std::min<int64_t>(ADest.Right, ATarget.Width));
  AMap.Y1 = int32_t(std::min<int64_t>(ADest.Bottom, ATarget.Height));
  if (AMap.X0 >= AMap.X1 || AMap.Y0 >= AMap.Y1) return false;
  AMap.OneToOne = AMap.DestW == AMap.SrcW && AMap.DestH == AMap.SrcH;
  if (!AMap.OneToOne) {
    AMap.SrcX.resize(size_t(AMap.X1 - AMap.X0));
    for (int32_t x = AMap.X0; x < AMap.X1; ++x)
      AMap.SrcX[size_t(x - AMap.X0)] = AMap.SourceColumnOf(x);
  }
  return true;
}

// Walks every visible target pixel with the source pixel (and its index in the
// source) that falls on it.
template <typename TPixel, typename TPixelOp>
void WalkStretch(const TPixelRows<TPixel>& ATarget, const TStretchMap& AMap, const TBitmap& ASource,
                 TPixelOp AOp) {
  const int32_t n = AMap.X1 - AMap.X0;
  for (int32_t y = AMap.Y0; y < AMap.Y1; ++y) {
    const int32_t sy = AMap.SourceRow(y);
    const TColor* src = ASource.ScanLine(sy);
    const size_t rowStart = size_t(sy) * size_t(AMap.SrcW);
    TPixel* dst = ATarget.Row(y) + AMap.X0;
    if (AMap.OneToOne) {
      const int32_t sx0 = int32_t(AMap.X0 - AMap.DestLeft);
      for (int32_t i = 0; i < n; ++i) AOp(dst[i], src[sx0 + i], rowStart + size_t(sx0 + i));
    } else {
      const int32_t* map = AMap.SrcX.data();
      for (int32_t i = 0; i < n; ++i) AOp(dst[i], src[map[i]], rowStart + size_t(map[i]));
    }
  }
}

// ASource scaled into ADest as a target pixel AConvert(colour) each.
template <typename TPixel, typename TConvert>
void Stretch(const TPixelRows<TPixel>& ATarget, const TRect& ADest, const TBitmap& ASource,
             TConvert AConvert) {
  TStretchMap map;
  if (!MapStretch(ATarget, ADest, ASource, map)) return;
  WalkStretch(ATarget, map, ASource, [AConvert](TPixel& d, TColor s, size_t) { d = AConvert(s); });
}

// The colour-keyed copy: as Stretch, leaving out source pixels equal to AKey.
template <typename TPixel, typename TConvert>
void KeyedStretch(const TPixelRows<TPixel>& ATarget, const TRect& ADest, const TBitmap& ASource,
                  TColor AKey, TConvert AConvert) {
  TStretchMap map;
  if (!MapStretch(ATarget, ADest, ASource, map)) return;
  WalkStretch(ATarget, map, ASource, [AKey, AConvert](TPixel& d, TColor s, size_t) {
    if (s != AKey) d = AConvert(s);
  });
}

template <typename TPixel>
void Fill(const TPixelRows<TPixel>& ATarget, const TRect& ARect, TPixel AValue) {
  if (!UsableTarget(ATarget)) return;
  const int32_t x0 = std::max<int32_t>(ARect.Left, 0), x1 = std::min(ARect.Right, ATarget.Width);
  const int32_t y0 = std::max<int32_t>(ARect.Top, 0), y1 = std::min(ARect.Bottom, ATarget.Height);
  if (x0 >= x1 || y0 >= y1) return;
  for (int32_t y = y0; y < y1; ++y) std::fill(ATarget.Row(y) + x0, ATarget.Row(y) + x1, AValue);
}

constexpr auto Screen = [](TColor AColor) { return ToRGB32(AColor); };
constexpr auto Same = [](TColor AColor) { return AColor; };

// The rectangle an unscaled copy of ASource with its corner at AAt takes.
TRect AtCorner(TPoint AAt, const TBitmap& ASource) {
  auto end = [](int32_t AStart, int32_t ALength) {
    return int32_t(std::min<int64_t>(int64_t(AStart) + ALength, INT32_MAX));
  };
  return TRect{AAt.X, AAt.Y, end(AAt.X, ASource.Width()), end(AAt.Y, ASource.Height())};
}

}  // namespace

TRect PlacePicture(int32_t APicW, int32_t APicH, int32_t AClientW, int32_t AClientH, bool AStretch,
                   bool AProportional, bool ACenter) {
  int32_t w = APicW, h = APicH;
  const int32_t cw = AClientW, ch = AClientH;
  if (AStretch || (AProportional && (cw < w || ch < h))) {
    if (AProportional && w > 0 && h > 0) {
      const double a = double(w) / double(h);
      if (w > h) {
        w = cw;
        h = TruncToInt(cw / a);
        if (h > ch) {
          h = ch;
          w = TruncToInt(ch * a);
        }
      } else {
        h = ch;
        w = TruncToInt(ch * a);
        if (w > cw) {
          w = cw;
          h = TruncToInt(cw / a);
        }
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r{0, 0, w, h};
  if (ACenter) {
    // div truncates toward zero, as C++ division does.
    const int32_t dx = int32_t((int64_t(cw) - w) / 2);
    const int32_t dy = int32_t((int64_t(ch) - h) / 2);
    r = TRect{dx, dy, int32_t(int64_t(dx) + w), int32_t(int64_t(dy) + h)};
  }
  return r;
}

void StretchDraw(const TSurface32& ATarget, const TRect& ADest, const TBitmap& ASource) {
  Stretch(ATarget, ADest, ASource, Screen);
}

void KeyedStretchDraw(const TSurface32& ATarget, const TRect& ADest, const TBitmap& ASource,
                      TColor AKey) {
  KeyedStretch(ATarget, ADest, ASource, AKey, Screen);
}

void CopyBitmap(TBitmap& ATarget, TPoint AAt, const TBitmap& ASource) {
  Stretch(RowsOf(ATarget), AtCorner(AAt, ASource), ASource, Same);
}

void KeyedCopyBitmap(TBitmap& ATarget, TPoint AAt, const TBitmap& ASource, TColor AKey) {
  KeyedStretch(RowsOf(ATarget), AtCorner(AAt, ASource), ASource, AKey, Same);
}

void AlphaStretchDraw(const TSurface32& ATarget, const TRect& ADest, const TBitmap& ASource) {
  TStretchMap map;
  if (!MapStretch(ATarget, ADest, ASource, map)) return;
  // Without an alpha plane every pixel counts as alpha 255 and goes through
  // the same blend, so such a picture draws as one whose alpha is all 255.
  const uint8_t* alpha = ASource.AlphaPlane();
  WalkStretch(ATarget, map, ASource, [alpha](uint32_t& d, TColor s, size_t index) {
    const uint8_t a = alpha ? alpha[index] : 255;
    // The target is what the screen shows, so the result is opaque.
    d = 0xFF000000u | (uint32_t(BlendChannel(GetRValue(s), uint8_t(d >> 16), a)) << 16) |
        (uint32_t(BlendChannel(GetGValue(s), uint8_t(d >> 8), a)) << 8) |
        BlendChannel(GetBValue(s), uint8_t(d), a);
  });
}

void CopyWithAlpha(const TSurface32& ATarget, const TBitmap& ASource) {
  TStretchMap map;
  if (!MapStretch(ATarget, AtCorner(TPoint{0, 0}, ASource), ASource, map)) return;
  const uint8_t* alpha = ASource.AlphaPlane();
  WalkStretch(ATarget, map, ASource, [alpha](uint32_t& d, TColor s, size_t index) {
    d = (ToRGB32(s) & 0x00FFFFFFu) | (uint32_t(alpha ? alpha[index] : 255) << 24);
  });
}

TRect ShapeOutlineRect(int32_t AWidth, int32_t AHeight, int32_t APen) {
  if (APen == 0) return TRect{0, 0, AWidth, AHeight};
  const int32_t start = APen / 2;
  const int64_t w = int64_t(AWidth) - APen + 1, h = int64_t(AHeight) - APen + 1;
  return TRect{start, start, int32_t(std::clamp<int64_t>(start + w, INT32_MIN, INT32_MAX)),
               int32_t(std::clamp<int64_t>(start + h, INT32_MIN, INT32_MAX))};
}

void FillRect(const TSurface32& ATarget, const TRect& ARect, TColor AColor) {
  Fill(ATarget, ARect, ToRGB32(AColor));
}

void FillRect(TBitmap& ATarget, const TRect& ARect, TColor AColor) {
  Fill(RowsOf(ATarget), ARect, AColor);
}

void DrawShapeOutline(const TSurface32& ATarget, int32_t AWidth, int32_t AHeight, int32_t APen,
                      TColor AColor) {
  if (APen <= 0) return;  // a pen of width 0 draws nothing
  const TRect r = ShapeOutlineRect(AWidth, AHeight, APen);
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  // The pen's APen pixels are centred on each edge line: the left and top
  // lines run through Left and Top, the right and bottom ones through the
  // last pixel inside (Right and Bottom are exclusive). Corners are square.
  const int64_t before = APen / 2;
  const int64_t outerL = int64_t(r.Left) - before, outerT = int64_t(r.Top) - before;
  const int64_t outerR = int64_t(r.Right) - 1 - before + APen;
  const int64_t outerB = int64_t(r.Bottom) - 1 - before + APen;
  auto band = [&](int64_t l, int64_t t, int64_t rr, int64_t b) {
    auto c = [](int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    FillRect(ATarget, TRect{c(l), c(t), c(rr), c(b)}, AColor);
  };
  band(outerL, outerT, outerR, outerT + APen);  // top
  band(outerL, outerB - APen, outerR, outerB);  // bottom
  band(outerL, outerT, outerL + APen, outerB);  // left
  band(outerR - APen, outerT, outerR, outerB);  // right
}

}  // namespace tintbox
