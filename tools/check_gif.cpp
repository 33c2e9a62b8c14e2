#include "check_gif.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "picture/bitmap.h"
#include "picture/color.h"
#include "picture/draw.h"
#include "picture/errors.h"
#include "picture/gifcompose.h"
#include "picture/gifimage.h"

namespace {

using namespace tintbox;

// The main window's colour, under the animator's transparent pixels.
constexpr TColor WindowColor = RGB(173, 255, 91);

bool IsStoredForm(const std::vector<uint8_t>& ABytes) {
  if (ABytes.size() < 4) return false;
  const uint64_t count = uint64_t(ABytes[0]) | (uint64_t(ABytes[1]) << 8) |
                         (uint64_t(ABytes[2]) << 16) | (uint64_t(ABytes[3]) << 24);
  return count == ABytes.size() - 4;
}

bool WritePpm(const std::string& APath, const std::vector<uint32_t>& APixels, int32_t AWidth,
              int32_t AHeight) {
  std::ofstream out(APath, std::ios::binary);
  out << "P6\n" << AWidth << ' ' << AHeight << "\n255\n";
  std::vector<uint8_t> row(size_t(AWidth) * 3);
  for (int32_t y = 0; y < AHeight; ++y) {
    for (int32_t x = 0; x < AWidth; ++x) {
      const TColor c = FromRGB32(APixels[size_t(y) * size_t(AWidth) + size_t(x)]);
      row[size_t(x) * 3] = GetRValue(c);
      row[size_t(x) * 3 + 1] = GetGValue(c);
      row[size_t(x) * 3 + 2] = GetBValue(c);
    }
    out.write(reinterpret_cast<const char*>(row.data()), std::streamsize(row.size()));
  }
  return bool(out);
}

}  // namespace

int CheckGifFrames(const std::string& AGifPath, const std::string& AFramesDir) {
  try {
    std::ifstream in(AGifPath, std::ios::binary);
    if (!in) throw EFOpenError("Cannot open file \"" + AGifPath + "\"");
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>()};
    TGIFImage image;
    if (IsStoredForm(bytes))
      image.ReadData(bytes.data(), bytes.size());
    else
      image.LoadFromGIF(bytes.data(), bytes.size());

    // The animator makes itself the size of the logical screen.
    const int32_t width = image.ScreenWidth(), height = image.ScreenHeight();
    CheckedStoreBytes(width, height, false);
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    const TSurface32 surface{pixels.data(), width, height, width};
    TGIFComposer composer;
    for (int32_t k = 0; k < image.Count(); ++k) {
      PaintGIFFrame(composer, image, k, surface, SolidBackdrop(WindowColor), WindowColor);
      const std::string path = AFramesDir + "/" + std::to_string(k) + ".ppm";
      if (!WritePpm(path, pixels, width, height))
        throw EFOpenError("Cannot create file \"" + path + "\"");
      std::printf("frame %d %u\n", k, CurrentDelay(image, k));
    }
    return 0;
  } catch (const Exception& e) {
    std::printf("%s: %s %s\n", AGifPath.c_str(), e.ClassName(), e.Message().c_str());
    return 1;
  }
}
