// Writing Windows bitmap files (BMP) from true-colour pixels: the forms the
// game reads, for the generators of the bundled pictures and the importer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/color.h"

namespace tintbox {

enum class TBmpFileFormat {
  Bgr24,         // 24 bits a pixel, bottom row first
  Bgr24TopDown,  // 24 bits, top row first (negative height)
  Pal8,          // 8 bits with a colour table of the colours used
  Rle8,          // the same, run-length encoded (compression 1)
  Pal4,          // 4 bits with a colour table
  Rgb565,        // 16 bits, 5-6-5 bit fields (compression 3)
};

// Little-endian fields of a BMP header.
inline void Put16(std::vector<uint8_t>& AOut, uint32_t AValue) {
  AOut.push_back(uint8_t(AValue));
  AOut.push_back(uint8_t(AValue >> 8));
}
inline void Put32(std::vector<uint8_t>& AOut, uint32_t AValue) {
  Put16(AOut, AValue & 0xFFFF);
  Put16(AOut, AValue >> 16);
}

// The whole file for AWidth x AHeight pixels at APixels (row 0 at the top).
// The colour-table forms list the colours in order of first use. Fails with
// EInvalidGraphic when the pixels hold more colours than the table can
// (256 for 8 bits, 16 for 4 bits) and with EOutOfResources for sizes beyond
// what a pixel store may hold.
std::vector<uint8_t> WriteBmp(const TColor* APixels, int32_t AWidth, int32_t AHeight,
                              TBmpFileFormat AFormat);

// The number of distinct colours in ACount pixels, counted up to ALimit + 1.
size_t CountColors(const TColor* APixels, size_t ACount, size_t ALimit);

}  // namespace tintbox
