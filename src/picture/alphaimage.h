// Pictures stored with a window's description (the wait picture): the name of
// the picture's class, then that class's own data.
#pragma once

#include <cstddef>
#include <cstdint>

#include "picture/picture.h"

namespace tintbox {

// The class names a stored picture may carry. Both store a 32-bit byte count
// followed by a BMP file; an alpha image draws itself by blending with the
// fourth byte of each pixel.
inline constexpr const char* AlphaImageClassName = "TAlphaImage";
inline constexpr const char* BitmapClassName = "TBitmap";

// Reads the ASize bytes at AData: 1 byte, the length of the class name; the
// name; a signed 32-bit little-endian count; that many bytes of BMP file,
// read by ReadBitmap. Bytes after the counted ones are not looked at. On
// success APicture holds the bitmap (TGraphicKind::AlphaImage or Bitmap, by
// the name); on failure it keeps what it held.
//   EReadError "Stream read error"  a class name other than the two above; a
//                                   negative count or one larger than the bytes
//                                   left; bytes cut short before the count
//   any error of ReadBitmap
void ReadStoredPicture(const uint8_t* AData, size_t ASize, TPicture& APicture);

}  // namespace tintbox
