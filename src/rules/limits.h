// The limits a playable picture is held to. The game, the picture checker and
// the importer all read them here, so they cannot drift apart.
#pragma once

#include <cstdint>

#include "picture/color.h"

namespace tintbox {

// The most palette colours a picture may have: the game refuses more.
inline constexpr int MaxColors = 10;
// The part of a picture the game shows and takes clicks on.
inline constexpr int32_t ViewWidth = 640, ViewHeight = 480;

// Why these thresholds:
// - GreyLimit: an outline drawn with a soft or grey pen leaves pixels that look
//   black but are not; every channel below 64 is darker than any colour a
//   player would pick out of a palette, so such pixels are almost surely meant
//   as outline.
// - StrayPixels: anti-aliasing mixes outline and fill into in-between colours
//   found only along outlines; a colour of at most 32 pixels that all touch
//   black (8 neighbours) is one of them.
// - TinyAreaPixels: an area under 16 pixels (4 x 4) is hard to hit with the
//   pointer but must still be filled to solve the picture.
inline constexpr int GreyLimit = 64;
inline constexpr int64_t StrayPixels = 32;
inline constexpr int64_t TinyAreaPixels = 16;

// Every channel of AColor is below AGreyLimit: it reads as outline ink (black
// itself included).
constexpr bool NearBlack(TColor AColor, int AGreyLimit = GreyLimit) {
  return GetRValue(AColor) < AGreyLimit && GetGValue(AColor) < AGreyLimit &&
         GetBValue(AColor) < AGreyLimit;
}

}  // namespace tintbox
