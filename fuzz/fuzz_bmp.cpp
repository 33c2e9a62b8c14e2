// libFuzzer target for the bitmap file reader: any bytes either read into a
// bitmap whose every pixel can be touched, or fail with the program's own error.
#include <cstddef>
#include <cstdint>

#include "picture/bitmap.h"
#include "picture/bmpreader.h"
#include "picture/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
  tintbox::TBitmap bitmap;
  try {
    tintbox::ReadBitmap(AData, ASize, bitmap);
  } catch (const tintbox::Exception&) {
    return 0;
  }
  const int32_t w = bitmap.Width(), h = bitmap.Height();
  volatile uint32_t sum = 0;
  if (int64_t(w) * h <= (int64_t(1) << 22)) {
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) sum = sum + bitmap.PixelAt(x, y);
  } else {
    // Pictures near the 256 MiB cap (often millions of tiny rows): PixelAt on
    // every pixel outlasts the fuzzer's time-out under the sanitizers, so walk
    // the contiguous store once (still checked by ASan) and PixelAt its corners.
    const uint32_t* p = bitmap.Pixels();
    uint32_t s = bitmap.PixelAt(0, 0) + bitmap.PixelAt(w - 1, h - 1);
    for (size_t i = 0, n = size_t(w) * size_t(h); i < n; ++i) s += p[i];
    sum = sum + s;
  }
  if (const uint8_t* alpha = bitmap.AlphaPlane())
    for (size_t i = 0, n = size_t(w) * size_t(h); i < n; ++i) sum = sum + alpha[i];
  return 0;
}
