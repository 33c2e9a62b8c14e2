#include "picture/gifcompose.h"

#include <algorithm>

#include "picture/errors.h"

namespace tintbox {

namespace {

// The part of ARect that lies inside a AWidth x AHeight picture.
TRect ClipRect(int64_t ALeft, int64_t ATop, int64_t ARight, int64_t ABottom, int32_t AWidth,
               int32_t AHeight) {
  TRect r;
  r.Left = int32_t(std::clamp<int64_t>(ALeft, 0, AWidth));
  r.Top = int32_t(std::clamp<int64_t>(ATop, 0, AHeight));
  r.Right = int32_t(std::clamp<int64_t>(ARight, r.Left, AWidth));
  r.Bottom = int32_t(std::clamp<int64_t>(ABottom, r.Top, AHeight));
  return r;
}

// The rectangle a frame takes on the screen: its origin and decoded size.
TRect FrameRect(const TGIFFrame& AFrame, const TBitmap& AComposite) {
  const TPoint at = AFrame.TopLeft();
  return ClipRect(at.X, at.Y, int64_t(at.X) + AFrame.Width(), int64_t(at.Y) + AFrame.Height(),
                  AComposite.Width(), AComposite.Height());
}

void FillBitmapRect(TBitmap& ABitmap, const TRect& ARect, TColor AColor) {
  if (ARect.Width() <= 0 || ARect.Height() <= 0) return;
  TColor* pixels = ABitmap.WritablePixels();
  const size_t stride = size_t(ABitmap.Width());
  for (int32_t y = ARect.Top; y < ARect.Bottom; ++y)
    std::fill_n(pixels + size_t(y) * stride + size_t(ARect.Left), ARect.Width(), AColor);
}

// Draws a frame at its origin; with a transparent colour, pixels of that
// colour are left out (a colour-keyed copy).
void DrawFrame(TBitmap& AComposite, TGIFFrame& AFrame) {
  const TBitmap& source = AFrame.Bitmap();
  const TPoint at = AFrame.TopLeft();
  const TRect r =
      ClipRect(at.X, at.Y, int64_t(at.X) + source.Width(), int64_t(at.Y) + source.Height(),
               AComposite.Width(), AComposite.Height());
  if (r.Width() <= 0 || r.Height() <= 0) return;
  TColor* pixels = AComposite.WritablePixels();
  const size_t stride = size_t(AComposite.Width());
  const bool keyed = AFrame.HasTransparentColor();
  const TColor key = AFrame.TransparentColor();
  for (int32_t y = r.Top; y < r.Bottom; ++y) {
    const TColor* src = source.ScanLine(y - at.Y) + (r.Left - at.X);
    TColor* dst = pixels + size_t(y) * stride + size_t(r.Left);
    if (keyed) {
      for (int32_t x = 0; x < r.Width(); ++x)
        if (src[x] != key) dst[x] = src[x];
    } else {
      std::copy_n(src, r.Width(), dst);
    }
  }
}

bool CoversScreen(const TGIFFrame& AFrame, const TGIFImage& AImage) {
  return AFrame.Width() == AImage.ScreenWidth() && AFrame.Height() == AImage.ScreenHeight();
}

}  // namespace

uint32_t CurrentDelay(const TGIFImage& AImage, int32_t AFrameIndex) {
  if (AImage.Count() < 2 || AFrameIndex < 0 || AFrameIndex >= AImage.Count()) return 0;
  return std::clamp<uint32_t>(AImage.Frames(AFrameIndex).AnimateInterval(), MinFrameDelay,
                              MaxFrameDelay);
}

void TGIFComposer::Reset() {
  FCache.reset();
  FCacheIndex = -1;
  FTransColor = clNone;
}

const TBitmap& TGIFComposer::ComposeFrame(TGIFImage& AImage, int32_t AIndex, TColor AWindowColor,
                                          TColor& AKeyColor) {
  const int32_t count = AImage.Count();
  if (count == 0) {
    Reset();
    FCache = std::make_unique<TBitmap>();
    AKeyColor = clNone;
    return *FCache;
  }
  const int32_t k = std::clamp(AIndex, 0, count - 1);

  try {
    TColor key = clNone;
    if (FCache && FCacheIndex >= 0 && FCacheIndex == k - 1 &&
        AImage.Frames(FCacheIndex).Disposal() != dmRestorePrevious) {
      // Frame k - 1 is on the composite already; only its disposal is left to do.
      key = FTransColor;
      const TGIFFrame& previous = AImage.Frames(FCacheIndex);
      if (previous.Disposal() == dmRestoreBackground)
        FillBitmapRect(*FCache, FrameRect(previous, *FCache), FBackground);
    } else {
      Reset();
      // Background and key colour. On a true-colour display the nearest
      // colour the display can show is the colour itself.
      TColor background = AWindowColor;
      const int32_t current = AImage.FrameIndex();
      if (current >= 0 && current < count && AImage.Frames(current).HasTransparentColor()) {
        key = AImage.Frames(current).TransparentColor();
        background = key;
      } else if (AImage.BackgroundColor() != clNone && AImage.Transparent()) {
        background = AImage.BackgroundColor();
      }
      auto composite = std::make_unique<TBitmap>();
      composite->SetSize(AImage.ScreenWidth(), AImage.ScreenHeight(), background);
      FBackground = background;

      // The start frame: the last one at or before k that leaves nothing of
      // the frames before it to show.
      int32_t s = k;
      while (s > 0) {
        const TGIFFrame& f = AImage.Frames(s);
        if (CoversScreen(f, AImage) &&
            (!f.HasTransparentColor() || (f.Disposal() == dmRestoreBackground && s < k)))
          break;
        --s;
      }
      for (int32_t i = s; i < k; ++i) {
        TGIFFrame& f = AImage.Frames(i);
        switch (f.Disposal()) {
          case dmUndefined:
          case dmLeave:
            try {
              DrawFrame(*composite, f);
            } catch (const Exception&) {
              // Cannot be decoded: it showed as the background when it was
              // the frame asked for, and raised then.
            }
            break;
          case dmRestoreBackground:
            if (i > s) FillBitmapRect(*composite, FrameRect(f, *composite), background);
            break;
          default:  // restore previous and the reserved values leave nothing behind
            break;
        }
      }
      FCache = std::move(composite);
    }

    DrawFrame(*FCache, AImage.Frames(k));
    FCacheIndex = k;
    FTransColor = key;
    AKeyColor = key;
    return *FCache;
  } catch (...) {
    Reset();
    throw;
  }
}

TPaintBackdrop SolidBackdrop(TColor AColor) {
  return [AColor](const TSurface32& ATarget) {
    FillRect(ATarget, TRect{0, 0, ATarget.Width, ATarget.Height}, AColor);
  };
}

void PaintGIFFrame(TGIFComposer& AComposer, TGIFImage& AImage, int32_t AFrameIndex,
                   const TSurface32& ATarget, const TPaintBackdrop& ABackdrop, TColor AWindowColor,
                   const TGIFPaintOptions& AOptions) {
  if (AImage.Transparent() || AImage.Empty()) ABackdrop(ATarget);
  if (AImage.Empty() || AImage.ScreenWidth() < 1 || AImage.ScreenHeight() < 1) return;

  TColor key = clNone;
  const TBitmap* composite = nullptr;
  try {
    composite = &AComposer.ComposeFrame(AImage, AFrameIndex, AWindowColor, key);
  } catch (const Exception&) {
    // Shown as the background, like an empty image; then the error goes on.
    if (!AImage.Transparent()) ABackdrop(ATarget);
    throw;
  }
  TRect dest{0, 0, composite->Width(), composite->Height()};
  if (AOptions.Stretch) {
    dest = TRect{0, 0, ATarget.Width, ATarget.Height};
  } else if (AOptions.Center) {
    const int32_t left = (ATarget.Width - composite->Width()) / 2;
    const int32_t top = (ATarget.Height - composite->Height()) / 2;
    dest = TRect{left, top, left + composite->Width(), top + composite->Height()};
  }
  if (key != clNone && AOptions.Transparent)
    KeyedStretchDraw(ATarget, dest, *composite, key);
  else
    StretchDraw(ATarget, dest, *composite);
}

}  // namespace tintbox
