// libFuzzer target for the import steps: any small drawing either becomes a
// picture in which the checker finds nothing at all, or is refused with the
// program's own error for having too few colours.
//
// Bytes: width and height (1..64 each), the most colours (2..10), then up to
// 16 palette colours of 3 bytes and one byte a pixel choosing among them (the
// top bit makes the pixel a dark stroke instead); missing bytes read as 0.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "import/import.h"
#include "picture/bitmap.h"
#include "picture/errors.h"
#include "rules/picturecheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
  size_t at = 0;
  auto next = [&]() -> uint8_t { return at < ASize ? AData[at++] : 0; };
  const int32_t w = next() % 64 + 1, h = next() % 64 + 1;
  tintbox::TImportOptions options;
  options.MaxColors = next() % 9 + 2;
  tintbox::TColor palette[16];
  for (tintbox::TColor& c : palette) {
    const uint8_t r = next(), g = next(), b = next();
    c = tintbox::RGB(r, g, b);
  }
  tintbox::TBitmap drawing, picture;
  drawing.SetSize(w, h);
  tintbox::TColor* p = drawing.WritablePixels();
  for (size_t i = 0; i < size_t(w) * size_t(h); ++i) {
    const uint8_t v = next();
    p[i] = v & 0x80 ? tintbox::RGB(v & 0x3F, v & 0x3F, v & 0x3F) : palette[v & 15];
  }
  try {
    const tintbox::TImportReport report = tintbox::ImportDrawing(drawing, options, picture);
    if (!tintbox::CheckPicture(picture).problems.empty() || report.Colors > options.MaxColors) {
      std::abort();
    }
  } catch (const tintbox::EConvertError&) {
  }
  return 0;
}
