// Reading Windows bitmap files (BMP) into a TBitmap.
#pragma once

#include <cstddef>
#include <cstdint>

#include "picture/bitmap.h"

namespace tintbox {

// Reads the ASize bytes at AData (a whole BMP file, or the bytes stored for
// one) into ABitmap, replacing its store and format. On failure raises and
// ABitmap is to be discarded by the caller.
void ReadBitmap(const uint8_t* AData, size_t ASize, TBitmap& ABitmap);

}  // namespace tintbox
