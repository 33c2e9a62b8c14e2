// Building GIFs byte by byte for the tests: header and screen, graphic
// control extensions, images with a plain LZW encoder, the stored form.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tintbox::giftest {

using TBytes = std::vector<uint8_t>;
using TPalette = std::vector<std::array<uint8_t, 3>>;

inline TBytes Cat(std::initializer_list<TBytes> AParts) {
  TBytes out;
  for (const TBytes& p : AParts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// A plain GIF LZW encoder (greedy longest match, clear code when the table is
// full), written for the tests: the bytes it gives are the minimum code size
// byte (AHeaderCodeSize when >= 0), the data sub-blocks and the terminator.
inline TBytes LzwData(int AMinCodeSize, const std::vector<uint8_t>& AIndices,
                      int AHeaderCodeSize = -1) {
  const int clear = 1 << AMinCodeSize, end = clear + 1;
  std::vector<uint8_t> packed;
  uint32_t bits = 0;
  int count = 0, width = AMinCodeSize + 1, next = end + 1;
  auto put = [&](int code) {
    bits |= uint32_t(code) << count;
    for (count += width; count >= 8; count -= 8, bits >>= 8) packed.push_back(uint8_t(bits));
  };
  std::map<std::pair<int, int>, int> table;
  put(clear);
  if (!AIndices.empty()) {
    int prefix = AIndices[0];
    for (size_t i = 1; i < AIndices.size(); ++i) {
      auto it = table.find({prefix, AIndices[i]});
      if (it != table.end()) {
        prefix = it->second;
        continue;
      }
      put(prefix);
      if (next < 4096) {
        table[{prefix, AIndices[i]}] = next++;
        if (next > (1 << width) && width < 12) ++width;
      } else {
        put(clear);
        table.clear();
        width = AMinCodeSize + 1;
        next = end + 1;
      }
      prefix = AIndices[i];
    }
    put(prefix);
  }
  put(end);
  if (count > 0) packed.push_back(uint8_t(bits));
  TBytes out{uint8_t(AHeaderCodeSize >= 0 ? AHeaderCodeSize : AMinCodeSize)};
  for (size_t i = 0; i < packed.size(); i += 255) {
    const size_t n = std::min<size_t>(255, packed.size() - i);
    out.push_back(uint8_t(n));
    out.insert(out.end(), packed.begin() + long(i), packed.begin() + long(i + n));
  }
  out.push_back(0);  // block terminator
  return out;
}

inline int TableBits(size_t ACount) {
  int bits = 1;
  while ((size_t(1) << bits) < ACount) ++bits;
  return bits;
}

inline TBytes TableBytes(const TPalette& ATable) {
  TBytes out;
  for (const auto& c : ATable) out.insert(out.end(), c.begin(), c.end());
  return out;
}

// Header and logical screen descriptor, with the global table when AGlobal is
// not empty (its size a power of two).
inline TBytes Screen(uint16_t AWidth, uint16_t AHeight, const TPalette& AGlobal,
                     uint8_t ABackground = 0, const std::string& AVersion = "89a") {
  TBytes out{'G', 'I', 'F'};
  out.insert(out.end(), AVersion.begin(), AVersion.end());
  out.insert(out.end(), {uint8_t(AWidth), uint8_t(AWidth >> 8),      // screen width
                         uint8_t(AHeight), uint8_t(AHeight >> 8)});  // screen height
  uint8_t packed = 0x70;                                             // colour resolution 8 bits
  if (!AGlobal.empty()) packed |= uint8_t(0x80 | (TableBits(AGlobal.size()) - 1));
  out.insert(out.end(), {packed, ABackground, 0 /* aspect ratio */});
  return Cat({out, TableBytes(AGlobal)});
}

// Graphic control extension; ATransparent < 0 leaves the transparency flag clear.
inline TBytes Gce(int ADisposal, int ATransparent, uint16_t ADelay) {
  return {0x21,
          0xF9,
          4,                                                        // label, block size
          uint8_t((ADisposal << 2) | (ATransparent >= 0 ? 1 : 0)),  // packed
          uint8_t(ADelay),
          uint8_t(ADelay >> 8),  // delay
          uint8_t(ATransparent >= 0 ? ATransparent : 0),
          0};  // index, terminator
}

// Image descriptor, local table and LZW data. AIndices are in data order
// (for an interlaced frame: pass by pass).
inline TBytes Image(uint16_t ALeft, uint16_t ATop, uint16_t AWidth, uint16_t AHeight,
                    const std::vector<uint8_t>& AIndices, int AMinCodeSize = 2,
                    const TPalette& ALocal = {}, bool AInterlaced = false) {
  uint8_t packed = AInterlaced ? 0x40 : 0;
  if (!ALocal.empty()) packed |= uint8_t(0x80 | (TableBits(ALocal.size()) - 1));
  TBytes out{0x2C,
             uint8_t(ALeft),
             uint8_t(ALeft >> 8),
             uint8_t(ATop),
             uint8_t(ATop >> 8),
             uint8_t(AWidth),
             uint8_t(AWidth >> 8),
             uint8_t(AHeight),
             uint8_t(AHeight >> 8),
             packed};
  return Cat({out, TableBytes(ALocal), LzwData(AMinCodeSize, AIndices)});
}

// Application extension: identifier and authentication code (11 bytes), one
// data sub-block, terminator.
inline TBytes AppExtension(const std::string& AId, const TBytes& ASubBlock) {
  TBytes out{0x21, 0xFF, 11};  // Extension Introducer, Application Extension label, block size
  out.insert(out.end(), AId.begin(), AId.end());
  out.push_back(uint8_t(ASubBlock.size()));
  out.insert(out.end(), ASubBlock.begin(), ASubBlock.end());
  out.push_back(0);  // Block Terminator
  return out;
}

// The NETSCAPE2.0 loop count.
inline TBytes LoopExtension(uint16_t ACount) {
  return AppExtension("NETSCAPE2.0", {1, uint8_t(ACount), uint8_t(ACount >> 8)});
}

inline const TBytes Trailer{0x3B};

// The stored form the animator reads: a 32-bit little-endian byte count, then the GIF.
inline TBytes StoredForm(const TBytes& AGif) {
  const uint32_t n = uint32_t(AGif.size());
  return Cat({{uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)}, AGif});
}

// Four well-told-apart colours.
inline const TPalette Four{{{10, 0, 0}}, {{0, 20, 0}}, {{0, 0, 30}}, {{40, 40, 40}}};

}  // namespace tintbox::giftest
