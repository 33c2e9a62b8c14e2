// Frame composition for the GIF animator: the screen-sized picture of frame k
// built from the frames before it by their disposal methods, the frame's
// delay, and one frame painted as the animator paints it. Plain C++.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "picture/bitmap.h"
#include "picture/color.h"
#include "picture/draw.h"
#include "picture/gifimage.h"

namespace tintbox {

// Frame delays are kept within these bounds while playing (milliseconds).
inline constexpr uint32_t MinFrameDelay = 50;
inline constexpr uint32_t MaxFrameDelay = 10000;

// The timer interval for frame AFrameIndex in milliseconds: the frame's
// FAnimateInterval within MinFrameDelay..MaxFrameDelay; 0 when the index is
// out of range or the image has fewer than 2 frames.
uint32_t CurrentDelay(const TGIFImage& AImage, int32_t AFrameIndex);

// Builds composites and keeps the last one, so that the frame after it is
// drawn on top of it instead of from the start frame.
class TGIFComposer {
 public:
  // The composite of frame AIndex (lowered to the last frame), screen-sized,
  // and its key colour in AKeyColor (clNone when none). AWindowColor is the
  // desktop's window colour, the background of last resort. The result lives
  // until the next call or Reset. An image without frames gives an empty
  // bitmap. Decoding frame AIndex may raise (see TGIFFrame::Bitmap), and a
  // screen over the pixel-store cap raises EOutOfResources. An earlier frame
  // that cannot be decoded leaves nothing behind: its error is raised when it
  // is the frame asked for, so the frames after it still show.
  const TBitmap& ComposeFrame(TGIFImage& AImage, int32_t AIndex, TColor AWindowColor,
                              TColor& AKeyColor);

  // Forgets the composite (after the image changed).
  void Reset();

  const TBitmap* Cache() const { return FCache.get(); }
  int32_t CacheIndex() const { return FCacheIndex; }
  TColor TransColor() const { return FTransColor; }

 private:
  // The composite and what belongs to it:
  //   FCacheIndex -1, FCache null  --ComposeFrame(k)--> FCacheIndex k
  //   FCacheIndex j --ComposeFrame(j + 1), frame j not restore-previous--> j + 1 (drawn on)
  //   FCacheIndex j --any other ComposeFrame(k)--> k (built from the start frame)
  //   any --Reset--> -1
  std::unique_ptr<TBitmap> FCache;
  int32_t FCacheIndex = -1;
  TColor FTransColor = clNone;
  TColor FBackground = clNone;  // background of the last build from the start frame
};

// How the animator places the composite in its client area.
struct TGIFPaintOptions {
  bool Stretch = false;     // scale to the client area
  bool Center = false;      // centre in the client area
  bool Transparent = true;  // leave out key-coloured pixels
};

// Paints what lies under the control into the target: the parent's own
// painting in the animator, one colour in the checker and the benchmarks.
using TPaintBackdrop = std::function<void(const TSurface32& ATarget)>;
TPaintBackdrop SolidBackdrop(TColor AColor);

// Paints frame AFrameIndex into ATarget (the animator's client area, filled
// with the control's colour) as the animator paints it: when the image is
// transparent or empty, ABackdrop first paints what lies under the control;
// then, unless the image is empty or its screen has no pixel, the composite is
// copied to its place, leaving out its key colour. When the frame cannot be
// composed (it cannot be decoded, or the screen is over the pixel-store cap),
// only the backdrop shows, as for an empty image, and the error is raised once
// the target is painted.
void PaintGIFFrame(TGIFComposer& AComposer, TGIFImage& AImage, int32_t AFrameIndex,
                   const TSurface32& ATarget, const TPaintBackdrop& ABackdrop, TColor AWindowColor,
                   const TGIFPaintOptions& AOptions = {});

}  // namespace tintbox
