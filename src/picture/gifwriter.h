// Writing GIF files (GIF89a) block by block: for the firework's generator and
// the tests. The game itself writes no file. Every value is written as it
// stands, so that a test can build a file that is wrong in one field.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tintbox {

using TGifBytes = std::vector<uint8_t>;
using TGifPalette = std::vector<std::array<uint8_t, 3>>;

// The LZW codes of AIndices for a minimum code size of AMinCodeSize (greedy
// longest match; a Clear Code whenever the 4096-entry table is full), packed
// least significant bit first: the image data before it is cut into sub-blocks.
TGifBytes LzwEncode(int AMinCodeSize, const std::vector<uint8_t>& AIndices);

// AData as data sub-blocks of at most 255 bytes, each after its length, and the
// Block Terminator.
TGifBytes GifSubBlocks(const TGifBytes& AData);

// The table bits field for ACount entries: the n with 2^(n+1) >= ACount.
int GifTableBits(size_t ACount);

// Header and Logical Screen Descriptor (colour resolution 8 bits), with the
// Global Color Table when AGlobal is not empty (its size a power of two).
TGifBytes GifScreen(uint16_t AWidth, uint16_t AHeight, const TGifPalette& AGlobal,
                    uint8_t ABackground = 0, const std::string& AVersion = "89a");

// Graphic Control Extension; ATransparent < 0 leaves the transparency flag clear.
TGifBytes GifGraphicControl(int ADisposal, int ATransparent, uint16_t ADelay);

// Image Descriptor, Local Color Table (when ALocal is not empty) and the LZW
// image data. AIndices are in data order (for an interlaced image: pass by pass).
TGifBytes GifImage(uint16_t ALeft, uint16_t ATop, uint16_t AWidth, uint16_t AHeight,
                   const std::vector<uint8_t>& AIndices, int AMinCodeSize,
                   const TGifPalette& ALocal = {}, bool AInterlaced = false);

// Application Extension: identifier and authentication code (11 bytes), one
// data sub-block, the Block Terminator.
TGifBytes GifApplication(const std::string& AId, const TGifBytes& ASubBlock);

// The NETSCAPE2.0 loop count (0: for ever).
TGifBytes GifLoop(uint16_t ACount);

// The Trailer 0x3B that ends the file.
inline constexpr uint8_t GifTrailer = 0x3B;

// The stored form the game embeds: a 32-bit little-endian byte count, then AGif.
TGifBytes GifStoredForm(const TGifBytes& AGif);

}  // namespace tintbox
