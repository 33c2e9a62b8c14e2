// GIF LZW decoding (GIF89a, appendix F): variable-length codes of 3 to 12
// bits, least significant bit first, with clear and end-of-information codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tintbox {

// Bytes past the end that the decoder may read (zeros) and write (scratch).
inline constexpr size_t LZWPadding = 8;

class TByteReader;

// Appends the bytes of the data sub-blocks at AReader, up to the zero-length
// Block Terminator, to AOut, their length bytes left out. False when the data
// is cut short: AOut then has the whole sub-blocks before the cut, and
// AReader is at the end.
bool JoinSubBlocks(TByteReader& AReader, std::vector<uint8_t>& AOut);

struct TLZWResult {
  size_t Written = 0;      // indices produced before the data ended or was found corrupt
  bool Corrupted = false;  // code size out of range, a bad code, or data that ran out
};

// Decodes ASize code bytes (followed by LZWPadding readable bytes) into
// APixels colour indices at AOut, which must have room for APixels +
// LZWPadding bytes. AMinCodeSize outside 2..9 is clamped into that range and
// reported as corrupted. Decoding stops quietly at the end-of-information
// code, when APixels indices are out, or when the data turns out corrupt;
// the indices not reached are set to 0. Codes wider than a byte keep their
// low 8 bits.
TLZWResult DecodeLZW(int AMinCodeSize, const uint8_t* ACodes, size_t ASize, uint8_t* AOut,
                     size_t APixels);

}  // namespace tintbox
