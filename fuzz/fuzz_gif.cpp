// libFuzzer target for the GIF reader: any bytes either read into an image
// whose every frame can be decoded, composed and painted, or fail with the
// program's own error. The same bytes also go through the stored form.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/bitmap.h"
#include "picture/draw.h"
#include "picture/errors.h"
#include "picture/gifcompose.h"
#include "picture/gifimage.h"

namespace {

using namespace tintbox;

// The readers' own store cap, lowered (see LLVMFuzzerInitialize): frames of up
// to 128 x 128 pixels reach the same code paths as large ones, so the time
// goes into parsing rather than into filling pictures.
constexpr uint64_t FuzzStoreCapBytes = 64 * 1024;

// A tiny file can still describe thousands of frames at the cap. One input
// decodes frames up to the cap's worth of pixels, so that every decoded frame
// stays decoded (their stores together stay under the cap) and painting never
// decodes one twice; painting then makes at most PaintBudget pixels.
constexpr uint64_t DecodeBudget = FuzzStoreCapBytes / sizeof(TColor);
constexpr uint64_t PaintBudget = 64 * 1024;

void Exercise(TGIFImage& AImage) {
  uint64_t budget = DecodeBudget;
  const auto spend = [&budget](uint64_t APixels) {
    if (APixels > budget) return false;
    budget -= APixels;
    return true;
  };
  volatile uint32_t sum = 0;
  int32_t decoded = 0;
  for (; decoded < AImage.Count(); ++decoded) {
    TGIFFrame& frame = AImage.Frames(decoded);
    if (!spend(uint64_t(frame.Width()) * uint64_t(frame.Height()))) break;
    try {
      const TBitmap& bitmap = frame.Bitmap();
      for (int32_t y = 0; y < bitmap.Height(); y += 7) sum = sum + bitmap.PixelAt(0, y);
    } catch (const Exception&) {
    }
    sum = sum + CurrentDelay(AImage, decoded);
  }

  // Painted as the animator paints: each frame onto a surface of the screen's
  // size, then a repaint and a jump back, which rebuild from the start frame.
  budget = PaintBudget;
  const uint64_t screen = uint64_t(AImage.ScreenWidth()) * AImage.ScreenHeight();
  if (screen == 0 || !spend(screen)) return;
  std::vector<uint32_t> target(static_cast<size_t>(screen));
  const TSurface32 surface{target.data(), AImage.ScreenWidth(), AImage.ScreenHeight(),
                           AImage.ScreenWidth()};
  TGIFComposer composer;
  int32_t painted = 0;
  // Frame k may be built from the start frame: up to k + 1 frames drawn.
  for (; painted < decoded && spend(screen * uint64_t(painted + 2)); ++painted) {
    try {
      PaintGIFFrame(composer, AImage, painted, surface, SolidBackdrop(RGB(173, 255, 91)),
                    RGB(255, 255, 255));
      sum = sum + target[size_t(screen) / 2];
    } catch (const Exception&) {
    }
  }
  if (painted == 0 || !spend(2 * screen * uint64_t(painted))) return;
  TColor key;
  try {
    composer.ComposeFrame(AImage, painted - 1, 0, key);
    composer.ComposeFrame(AImage, 0, 0, key);
  } catch (const Exception&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetPixelStoreCap(FuzzStoreCapBytes);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
  {
    TGIFImage image;
    try {
      image.LoadFromGIF(AData, ASize);
    } catch (const Exception&) {
    }
    Exercise(image);
  }
  {
    TGIFImage image;
    try {
      image.ReadData(AData, ASize);
    } catch (const Exception&) {
    }
  }
  return 0;
}
