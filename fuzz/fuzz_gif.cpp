// libFuzzer target for the GIF reader: any bytes either read into an image
// whose every frame can be decoded, composed and painted, or fail with the
// program's own error. The same bytes also go through the stored form.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/draw.h"
#include "picture/errors.h"
#include "picture/gifcompose.h"
#include "picture/gifimage.h"

namespace {

using namespace tintbox;

// A tiny file can describe thousands of frames of 8192 x 8192 pixels; each is
// bounded, but decoding them all would take minutes. The target stops
// decoding once this many pixels have been made for one input.
constexpr uint64_t PixelBudget = 4ull * 1024 * 1024;

void Exercise(TGIFImage& AImage) {
  uint64_t pixels = 0;
  volatile uint32_t sum = 0;
  for (int32_t i = 0; i < AImage.Count(); ++i) {
    TGIFFrame& frame = AImage.Frames(i);
    pixels += uint64_t(frame.Width()) * uint64_t(frame.Height());
    if (pixels > PixelBudget) return;
    try {
      const TBitmap& bitmap = frame.Bitmap();
      for (int32_t y = 0; y < bitmap.Height(); y += 7) sum = sum + bitmap.PixelAt(0, y);
    } catch (const Exception&) {
    }
    sum = sum + CurrentDelay(AImage, i);
  }

  const uint64_t screen = uint64_t(AImage.ScreenWidth()) * AImage.ScreenHeight();
  if (screen == 0 || screen * uint64_t(AImage.Count() + 1) > PixelBudget) return;
  std::vector<uint32_t> target(static_cast<size_t>(screen));
  const TSurface32 surface{target.data(), AImage.ScreenWidth(), AImage.ScreenHeight(),
                           AImage.ScreenWidth()};
  TGIFComposer composer;
  for (int32_t k = 0; k < AImage.Count(); ++k) {
    try {
      PaintGIFFrame(composer, AImage, k, surface, RGB(173, 255, 91), RGB(255, 255, 255));
      sum = sum + target[size_t(screen) / 2];
    } catch (const Exception&) {
    }
  }
  // A repaint and a jump back rebuild from the start frame.
  TColor key;
  try {
    composer.ComposeFrame(AImage, AImage.Count() - 1, 0, key);
    composer.ComposeFrame(AImage, 0, 0, key);
  } catch (const Exception&) {
  }
}

}  // namespace

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
