#include "picture/gifcompose.h"

#include <algorithm>

#include "picture/errors.h"

namespace tintbox {

namespace {

// The rectangle a frame takes on the screen: its origin and decoded size.
TRect FrameRect(const TGIFFrame& AFrame) {
  const TPoint at = AFrame.TopLeft();
  return TRect{at.X, at.Y, int32_t(int64_t(at.X) + AFrame.Width()),
               int32_t(int64_t(at.Y) + AFrame.Height())};
}

// Draws a frame at its origin; with a transparent colour, pixels of that
// colour are left out (a colour-keyed copy).
void DrawFrame(TBitmap& AComposite, TGIFFrame& AFrame) {
  const TBitmap& source = AFrame.Bitmap();
  if (AFrame.HasTransparentColor())
    KeyedCopyBitmap(AComposite, AFrame.TopLeft(), source, AFrame.TransparentColor());
  else
    CopyBitmap(AComposite, AFrame.TopLeft(), source);
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
        FillRect(*FCache, FrameRect(previous), FBackground);
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
            if (i > s) FillRect(*composite, FrameRect(f), background);
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
  // Placed as an image control places its picture, never kept in proportion.
  const TRect dest = PlacePicture(composite->Width(), composite->Height(), ATarget.Width,
                                  ATarget.Height, AOptions.Stretch, false, AOptions.Center);
  if (key != clNone && AOptions.Transparent)
    KeyedStretchDraw(ATarget, dest, *composite, key);
  else
    StretchDraw(ATarget, dest, *composite);
}

}  // namespace tintbox
