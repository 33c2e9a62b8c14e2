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
#include "ppm.h"

namespace {

using namespace tintbox;
using tools::WritePpm;

// The main window's colour, under the animator's transparent pixels.
constexpr TColor WindowColor = RGB(173, 255, 91);

bool IsStoredForm(const std::vector<uint8_t>& ABytes) {
  if (ABytes.size() < 4) return false;
  const uint64_t count = uint64_t(ABytes[0]) | (uint64_t(ABytes[1]) << 8) |
                         (uint64_t(ABytes[2]) << 16) | (uint64_t(ABytes[3]) << 24);
  return count == ABytes.size() - 4;
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
      if (!WritePpm(path, width, height, [&](int32_t x, int32_t y) {
            return FromRGB32(pixels[size_t(y) * size_t(width) + size_t(x)]);
          }))
        throw EFOpenError("Cannot create file \"" + path + "\"");
      std::printf("frame %d %u\n", k, CurrentDelay(image, k));
    }
    return 0;
  } catch (const Exception& e) {
    std::printf("%s: %s %s\n", AGifPath.c_str(), e.ClassName(), e.Message().c_str());
    return 1;
  }
}
