// Writing Windows bitmap files (BMP): for the importer, the generators of the
// bundled pictures, the benchmarks and the tests. The game itself writes no
// file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "picture/color.h"

namespace tintbox {

// A BMP file field by field. Every value is written as it stands, so that a
// test can build a file that is wrong in exactly one field.
struct TBmpFields {
  char Signature[2] = {'B', 'M'};
  uint32_t HeaderSize = 40;  // 12 (core), 40, 52, 56, 108, 124, or anything else
  int32_t Width = 0;
  int32_t Height = 0;  // negative: top row first
  uint16_t Planes = 1;
  uint16_t BitCount = 24;
  uint32_t Compression = 0;  // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
  uint32_t ImageSize = 0;
  uint32_t PelsPerMeter = 0;  // both directions; 2835 is 72 dpi
  uint32_t ColorsUsed = 0;
  std::vector<uint32_t> Masks;  // red, green, blue: in the header (>= 52) or after a 40-byte one
  std::vector<TColor> Table;    // written as blue, green, red[, 0]
  std::vector<uint8_t> Gap;     // bytes between the table and the pixels
  std::vector<uint8_t> Pixels;  // as the file stores them
};

std::vector<uint8_t> WriteBmp(const TBmpFields& AFields);

// The forms in which whole pictures are written.
enum class TBmpFileFormat {
  Bgr24,         // 24 bits a pixel, bottom row first
  Bgr24TopDown,  // 24 bits, top row first (negative height)
  Pal8,          // 8 bits with a colour table of the colours used
  Rle8,          // the same, run-length encoded (compression 1)
  Pal4,          // 4 bits with a colour table
  Rgb565,        // 16 bits, 5-6-5 bit fields (compression 3)
};

// The whole file for AWidth x AHeight pixels at APixels (row 0 at the top).
// The colour-table forms list the colours in order of first use. Fails with
// EInvalidGraphic when the pixels hold more colours than the table can
// (256 for 8 bits, 16 for 4 bits) and with EOutOfResources for sizes beyond
// what a pixel store may hold.
std::vector<uint8_t> WriteBmp(const TColor* APixels, int32_t AWidth, int32_t AHeight,
                              TBmpFileFormat AFormat);

// The number of distinct colours in ACount pixels, counted up to ALimit + 1.
size_t CountColors(const TColor* APixels, size_t ACount, size_t ALimit);

// A 24-bit bottom-up file of AWidth x AHeight pixels, AColorAt(x, y) each
// (row 0 at the top).
std::vector<uint8_t> Bmp24(int32_t AWidth, int32_t AHeight,
                           const std::function<TColor(int32_t x, int32_t y)>& AColorAt);

// A 32-bit bottom-up file with straight alpha in each pixel's fourth byte,
// from ABgra (4 bytes a pixel, top row first).
std::vector<uint8_t> Bmp32(const std::vector<uint8_t>& ABgra, int32_t AWidth, int32_t AHeight);

}  // namespace tintbox
