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
  volatile uint32_t sum = 0;
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    for (int32_t x = 0; x < bitmap.Width(); ++x) sum = sum + bitmap.PixelAt(x, y);
  if (const uint8_t* alpha = bitmap.AlphaPlane())
    for (size_t i = 0, n = size_t(bitmap.Width()) * size_t(bitmap.Height()); i < n; ++i)
      sum = sum + alpha[i];
  return 0;
}
