// Colours as the game keeps them: 0x00BBGGRR, red in the low byte.
#pragma once

#include <cstdint>

namespace tintbox {

using TColor = uint32_t;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clNone = 0x1FFFFFFF;  // "no colour at all"
inline constexpr TColor NoPixel = 0xFFFFFFFF;  // a read outside a picture

constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
  return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
constexpr uint8_t GetRValue(TColor c) { return uint8_t(c); }
constexpr uint8_t GetGValue(TColor c) { return uint8_t(c >> 8); }
constexpr uint8_t GetBValue(TColor c) { return uint8_t(c >> 16); }

// A 32-bit pixel as a display surface keeps it (QImage::Format_RGB32 and
// ARGB32: 0xAARRGGBB) from a colour, and back.
constexpr uint32_t ToRGB32(TColor c) {
  return 0xFF000000u | (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) |
         GetBValue(c);
}
constexpr TColor FromRGB32(uint32_t p) {
  return RGB(uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p));
}

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;  // Right and Bottom exclusive
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

}  // namespace tintbox
