// Building GIFs byte by byte for the tests, on the core's GIF writer: header and
// screen, graphic control extensions, images, the stored form.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "picture/gifwriter.h"

namespace tintbox::giftest {

using TBytes = TGifBytes;
using TPalette = TGifPalette;

inline TBytes Cat(std::initializer_list<TBytes> AParts) {
  TBytes out;
  for (const TBytes& p : AParts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// The image data: the minimum code size byte (AHeaderCodeSize when >= 0, to
// build a file that lies about it), the data sub-blocks and the terminator.
inline TBytes LzwData(int AMinCodeSize, const std::vector<uint8_t>& AIndices,
                      int AHeaderCodeSize = -1) {
  return Cat({{uint8_t(AHeaderCodeSize >= 0 ? AHeaderCodeSize : AMinCodeSize)},
              GifSubBlocks(LzwEncode(AMinCodeSize, AIndices))});
}

inline TBytes Screen(uint16_t AWidth, uint16_t AHeight, const TPalette& AGlobal,
                     uint8_t ABackground = 0, const std::string& AVersion = "89a") {
  return GifScreen(AWidth, AHeight, AGlobal, ABackground, AVersion);
}

inline TBytes Gce(int ADisposal, int ATransparent, uint16_t ADelay) {
  return GifGraphicControl(ADisposal, ATransparent, ADelay);
}

inline TBytes Image(uint16_t ALeft, uint16_t ATop, uint16_t AWidth, uint16_t AHeight,
                    const std::vector<uint8_t>& AIndices, int AMinCodeSize = 2,
                    const TPalette& ALocal = {}, bool AInterlaced = false) {
  return GifImage(ALeft, ATop, AWidth, AHeight, AIndices, AMinCodeSize, ALocal, AInterlaced);
}

inline TBytes AppExtension(const std::string& AId, const TBytes& ASubBlock) {
  return GifApplication(AId, ASubBlock);
}

inline TBytes LoopExtension(uint16_t ACount) {
  return GifLoop(ACount);
}

inline const TBytes Trailer{GifTrailer};

inline TBytes StoredForm(const TBytes& AGif) {
  return GifStoredForm(AGif);
}

// Four well-told-apart colours.
inline const TPalette Four{{{10, 0, 0}}, {{0, 20, 0}}, {{0, 0, 30}}, {{40, 40, 40}}};

}  // namespace tintbox::giftest
