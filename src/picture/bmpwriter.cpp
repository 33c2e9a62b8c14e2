#include "picture/bmpwriter.h"

#include <unordered_map>

#include "picture/bitmap.h"
#include "picture/errors.h"

namespace tintbox {

namespace {

uint16_t To565(TColor c) {
  return uint16_t(((GetRValue(c) >> 3) << 11) | ((GetGValue(c) >> 2) << 5) | (GetBValue(c) >> 3));
}

// RLE8 (compression 1): encoded runs of 2..255 equal indices, absolute runs
// of 3..255 literal indices (padded to a 16-bit boundary), an end-of-line
// escape (0,0) after each row and end-of-bitmap (0,1) after the last.
std::vector<uint8_t> EncodeRle8(const std::vector<uint8_t>& AIdx, int32_t w, int32_t h) {
  std::vector<uint8_t> o;
  for (int32_t row = h - 1; row >= 0; --row) {  // bottom row first
    const uint8_t* s = AIdx.data() + size_t(row) * size_t(w);
    auto runAt = [&](int32_t i) {
      int32_t n = 1;
      while (i + n < w && n < 255 && s[i + n] == s[i]) ++n;
      return n;
    };
    int32_t i = 0;
    while (i < w) {
      const int32_t run = runAt(i);
      if (run >= 2) {
        o.push_back(uint8_t(run));
        o.push_back(s[i]);
        i += run;
        continue;
      }
      int32_t j = i;
      while (j < w && j - i < 255 && runAt(j) < 3) ++j;
      const int32_t len = j - i;
      if (len >= 3) {
        o.push_back(0);
        o.push_back(uint8_t(len));
        o.insert(o.end(), s + i, s + j);
        if (len % 2) o.push_back(0);
      } else {
        for (int32_t k = i; k < j; ++k) {
          o.push_back(1);
          o.push_back(s[k]);
        }
      }
      i = j;
    }
    o.push_back(0);
    o.push_back(row == 0 ? 1 : 0);
  }
  return o;
}

}  // namespace

size_t CountColors(const TColor* APixels, size_t ACount, size_t ALimit) {
  std::unordered_map<TColor, bool> seen;
  for (size_t i = 0; i < ACount && seen.size() <= ALimit; ++i) seen.emplace(APixels[i], true);
  return seen.size();
}

std::vector<uint8_t> WriteBmp(const TColor* APixels, int32_t AWidth, int32_t AHeight,
                              TBmpFileFormat AFormat) {
  if (AWidth < 0 || AHeight < 0) throw EInvalidGraphic(SInvalidBitmap);
  CheckedStoreBytes(AWidth, AHeight, false);  // the same cap as any picture in memory
  const int32_t w = AWidth, h = AHeight;
  const size_t count = size_t(w) * size_t(h);
  std::vector<TColor> table;
  std::vector<uint8_t> idx;
  int bits = 24;
  uint32_t compression = 0;
  if (AFormat == TBmpFileFormat::Pal8 || AFormat == TBmpFileFormat::Rle8 ||
      AFormat == TBmpFileFormat::Pal4) {
    bits = AFormat == TBmpFileFormat::Pal4 ? 4 : 8;
    const size_t tableMax = size_t(1) << bits;
    std::unordered_map<TColor, uint8_t> index;
    idx.resize(count);
    for (size_t i = 0; i < count; ++i) {
      auto found = index.find(APixels[i]);
      if (found == index.end()) {
        if (table.size() == tableMax) throw EInvalidGraphic(SInvalidBitmap);
        found = index.emplace(APixels[i], uint8_t(table.size())).first;
        table.push_back(APixels[i]);
      }
      idx[i] = found->second;
    }
    if (AFormat == TBmpFileFormat::Rle8) compression = 1;
  } else if (AFormat == TBmpFileFormat::Rgb565) {
    bits = 16;
    compression = 3;
  }

  std::vector<uint8_t> pixels;
  if (compression == 1) {
    pixels = EncodeRle8(idx, w, h);
  } else {
    const size_t stride = (size_t(w) * size_t(bits) + 31) / 32 * 4;
    pixels.assign(stride * size_t(h), 0);
    for (int32_t y = 0; y < h; ++y) {
      const int32_t fileRow = AFormat == TBmpFileFormat::Bgr24TopDown ? y : h - 1 - y;
      uint8_t* d = pixels.data() + size_t(fileRow) * stride;
      for (int32_t x = 0; x < w; ++x) {
        const size_t i = size_t(y) * size_t(w) + size_t(x);
        const TColor c = APixels[i];
        switch (bits) {
          case 24:
            d[x * 3] = GetBValue(c);
            d[x * 3 + 1] = GetGValue(c);
            d[x * 3 + 2] = GetRValue(c);
            break;
          case 16: {
            const uint16_t v = To565(c);
            d[x * 2] = uint8_t(v);
            d[x * 2 + 1] = uint8_t(v >> 8);
            break;
          }
          case 8:
            d[x] = idx[i];
            break;
          case 4:
            d[x / 2] |= uint8_t(x % 2 ? idx[i] : idx[i] << 4);
            break;
        }
      }
    }
  }

  const uint32_t masksSize = compression == 3 ? 12 : 0;
  const uint32_t offset = 14 + 40 + masksSize + uint32_t(table.size()) * 4;
  std::vector<uint8_t> o;
  o.reserve(offset + pixels.size());
  o.push_back('B');  // bfType
  o.push_back('M');
  Put32(o, offset + uint32_t(pixels.size()));                            // bfSize
  Put32(o, 0);                                                           // bfReserved1, bfReserved2
  Put32(o, offset);                                                      // bfOffBits
  Put32(o, 40);                                                          // biSize: BITMAPINFOHEADER
  Put32(o, uint32_t(w));                                                 // biWidth
  Put32(o, uint32_t(AFormat == TBmpFileFormat::Bgr24TopDown ? -h : h));  // negative: top row first
  Put16(o, 1);                                                           // biPlanes
  Put16(o, uint32_t(bits));                                              // biBitCount
  Put32(o, compression);                                                 // biCompression
  Put32(o, uint32_t(pixels.size()));                                     // biSizeImage
  Put32(o, 2835);                                                        // biXPelsPerMeter: 72 dpi
  Put32(o, 2835);                                                        // biYPelsPerMeter
  Put32(o, uint32_t(table.size()));                                      // biClrUsed
  Put32(o, 0);                                                           // biClrImportant
  if (compression == 3) {
    Put32(o, 0xF800);  // red
    Put32(o, 0x07E0);  // green
    Put32(o, 0x001F);  // blue
  }
  for (TColor c : table) {  // RGBQUAD
    o.push_back(GetBValue(c));
    o.push_back(GetGValue(c));
    o.push_back(GetRValue(c));
    o.push_back(0);
  }
  o.insert(o.end(), pixels.begin(), pixels.end());
  return o;
}

}  // namespace tintbox
