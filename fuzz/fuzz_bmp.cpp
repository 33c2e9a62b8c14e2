// libFuzzer target for the bitmap file reader: any bytes either read into a
// bitmap whose every pixel can be touched, or fail with the program's own error.
#include <cstddef>
#include <cstdint>

#include "picture/bitmap.h"
#include "picture/bmpreader.h"
#include "picture/errors.h"

constexpr uint64_t FuzzStoreCapBytes = 64 * 1024;  // 128 x 128 true-colour pixels

// The readers' own store cap, lowered: the same code paths are reached by
// pictures small enough to walk, so the time goes into parsing.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  tintbox::SetPixelStoreCap(FuzzStoreCapBytes);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
  tintbox::TBitmap bitmap;
  try {
    tintbox::ReadBitmap(AData, ASize, bitmap);
  } catch (const tintbox::Exception&) {
    return 0;
  }
  const int32_t w = bitmap.Width(), h = bitmap.Height();
  volatile uint32_t sum = 0;
  if (w > 0)  // a picture without columns may still have two billion rows
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) sum = sum + bitmap.PixelAt(x, y);
  if (const uint8_t* alpha = bitmap.AlphaPlane())
    for (size_t i = 0, n = size_t(w) * size_t(h); i < n; ++i) sum = sum + alpha[i];
  return 0;
}
