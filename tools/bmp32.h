// Writing a 32-bit BMP with straight alpha in its fourth byte: the form the
// generators of the wait picture and the window icon both produce.
#pragma once

#include <cstdint>
#include <vector>

#include "picture/bmpwriter.h"

namespace tintbox::tools {

using tintbox::Put16;
using tintbox::Put32;

// A 32-bit BI_RGB BMP of ABgra (top row first, 4 bytes a pixel), stored bottom-up.
inline std::vector<uint8_t> Bmp32(const std::vector<uint8_t>& ABgra, int AWidth, int AHeight) {
  const uint32_t fileHeader = 14, infoHeader = 40;  // BITMAPFILEHEADER, BITMAPINFOHEADER
  const uint32_t imageSize = uint32_t(AWidth) * uint32_t(AHeight) * 4;
  std::vector<uint8_t> out;
  out.reserve(fileHeader + infoHeader + imageSize);
  out.push_back('B');  // bfType
  out.push_back('M');
  Put32(out, fileHeader + infoHeader + imageSize);  // bfSize
  Put16(out, 0);                                    // bfReserved1
  Put16(out, 0);                                    // bfReserved2
  Put32(out, fileHeader + infoHeader);              // bfOffBits
  Put32(out, infoHeader);                           // biSize
  Put32(out, uint32_t(AWidth));                     // biWidth
  Put32(out, uint32_t(AHeight));                    // biHeight > 0: bottom-up
  Put16(out, 1);                                    // biPlanes
  Put16(out, 32);                                   // biBitCount
  Put32(out, 0);                                    // biCompression BI_RGB
  Put32(out, imageSize);                            // biSizeImage
  Put32(out, 0);                                    // biXPelsPerMeter
  Put32(out, 0);                                    // biYPelsPerMeter
  Put32(out, 0);                                    // biClrUsed
  Put32(out, 0);                                    // biClrImportant
  const size_t stride = size_t(AWidth) * 4;
  for (int y = AHeight - 1; y >= 0; --y) {
    const uint8_t* row = ABgra.data() + size_t(y) * stride;
    out.insert(out.end(), row, row + stride);
  }
  return out;
}

}  // namespace tintbox::tools
