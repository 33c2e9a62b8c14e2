#include "picture/gifwriter.h"

#include <algorithm>

namespace tintbox {

namespace {

void Put16(TGifBytes& AOut, uint16_t AValue) {
  AOut.push_back(uint8_t(AValue));
  AOut.push_back(uint8_t(AValue >> 8));
}

void Append(TGifBytes& AOut, const TGifBytes& APart) {
  AOut.insert(AOut.end(), APart.begin(), APart.end());
}

void PutTable(TGifBytes& AOut, const TGifPalette& ATable) {
  for (const auto& c : ATable) AOut.insert(AOut.end(), c.begin(), c.end());
}

}  // namespace

TGifBytes LzwEncode(int AMinCodeSize, const std::vector<uint8_t>& AIndices) {
  constexpr int MaxCodes = 4096;
  const int clear = 1 << AMinCodeSize, end = clear + 1;
  // FTable[prefix * 256 + index]: the code of prefix followed by index, or -1.
  std::vector<int16_t> table;
  int next = 0, width = 0;
  auto reset = [&] {
    table.assign(size_t(MaxCodes) * 256, -1);
    next = end + 1;
    width = AMinCodeSize + 1;
  };
  TGifBytes out;
  uint32_t bits = 0;
  int count = 0;
  auto emit = [&](int ACode) {
    bits |= uint32_t(ACode) << count;
    for (count += width; count >= 8; count -= 8, bits >>= 8) out.push_back(uint8_t(bits));
  };

  reset();
  emit(clear);
  if (!AIndices.empty()) {
    int prefix = AIndices[0];
    for (size_t i = 1; i < AIndices.size(); ++i) {
      const int c = AIndices[i];
      const int found = table[size_t(prefix) * 256 + size_t(c)];
      if (found >= 0) {
        prefix = found;
        continue;
      }
      emit(prefix);
      if (next < MaxCodes) {
        table[size_t(prefix) * 256 + size_t(c)] = int16_t(next++);
        if (next > (1 << width) && width < 12) ++width;
      } else {
        emit(clear);
        reset();
      }
      prefix = c;
    }
    emit(prefix);
  }
  emit(end);
  if (count > 0) out.push_back(uint8_t(bits));
  return out;
}

TGifBytes GifSubBlocks(const TGifBytes& AData) {
  TGifBytes out;
  for (size_t i = 0; i < AData.size(); i += 255) {
    const size_t n = std::min<size_t>(255, AData.size() - i);
    out.push_back(uint8_t(n));
    out.insert(out.end(), AData.begin() + long(i), AData.begin() + long(i + n));
  }
  out.push_back(0);  // Block Terminator
  return out;
}

int GifTableBits(size_t ACount) {
  int bits = 1;
  while ((size_t(1) << bits) < ACount) ++bits;
  return bits;
}

TGifBytes GifScreen(uint16_t AWidth, uint16_t AHeight, const TGifPalette& AGlobal,
                    uint8_t ABackground, const std::string& AVersion) {
  TGifBytes out{'G', 'I', 'F'};
  out.insert(out.end(), AVersion.begin(), AVersion.end());
  Put16(out, AWidth);
  Put16(out, AHeight);
  uint8_t packed = 0x70;  // Color Resolution: 8 bits
  if (!AGlobal.empty()) packed |= uint8_t(0x80 | (GifTableBits(AGlobal.size()) - 1));
  out.insert(out.end(), {packed, ABackground, 0 /* Pixel Aspect Ratio */});
  PutTable(out, AGlobal);
  return out;
}

TGifBytes GifGraphicControl(int ADisposal, int ATransparent, uint16_t ADelay) {
  // Extension Introducer, Graphic Control Label, Block Size.
  TGifBytes out{0x21, 0xF9, 4, uint8_t((ADisposal << 2) | (ATransparent >= 0 ? 1 : 0))};
  Put16(out, ADelay);
  out.push_back(uint8_t(ATransparent >= 0 ? ATransparent : 0));
  out.push_back(0);  // Block Terminator
  return out;
}

TGifBytes GifImage(uint16_t ALeft, uint16_t ATop, uint16_t AWidth, uint16_t AHeight,
                   const std::vector<uint8_t>& AIndices, int AMinCodeSize,
                   const TGifPalette& ALocal, bool AInterlaced) {
  TGifBytes out{0x2C};  // Image Separator
  Put16(out, ALeft);
  Put16(out, ATop);
  Put16(out, AWidth);
  Put16(out, AHeight);
  uint8_t packed = AInterlaced ? 0x40 : 0;
  if (!ALocal.empty()) packed |= uint8_t(0x80 | (GifTableBits(ALocal.size()) - 1));
  out.push_back(packed);
  PutTable(out, ALocal);
  out.push_back(uint8_t(AMinCodeSize));  // LZW Minimum Code Size
  Append(out, GifSubBlocks(LzwEncode(AMinCodeSize, AIndices)));
  return out;
}

TGifBytes GifApplication(const std::string& AId, const TGifBytes& ASubBlock) {
  // Extension Introducer, Application Extension Label, Block Size.
  TGifBytes out{0x21, 0xFF, 11};
  out.insert(out.end(), AId.begin(), AId.end());
  out.push_back(uint8_t(ASubBlock.size()));
  Append(out, ASubBlock);
  out.push_back(0);  // Block Terminator
  return out;
}

TGifBytes GifLoop(uint16_t ACount) {
  return GifApplication("NETSCAPE2.0", {1, uint8_t(ACount), uint8_t(ACount >> 8)});
}

TGifBytes GifStoredForm(const TGifBytes& AGif) {
  const uint32_t n = uint32_t(AGif.size());
  TGifBytes out{uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
  Append(out, AGif);
  return out;
}

}  // namespace tintbox
