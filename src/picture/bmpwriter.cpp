#include "picture/bmpwriter.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "picture/bitmap.h"
#include "picture/errors.h"

namespace tintbox {

namespace {

struct TWriter {
  std::vector<uint8_t> Bytes;
  TWriter& U8(uint32_t v) {
    Bytes.push_back(uint8_t(v));
    return *this;
  }
  TWriter& U16(uint32_t v) { return U8(v).U8(v >> 8); }
  TWriter& U32(uint32_t v) { return U16(v).U16(v >> 16); }
  TWriter& Raw(const std::vector<uint8_t>& b) {
    Bytes.insert(Bytes.end(), b.begin(), b.end());
    return *this;
  }
};

constexpr uint32_t FileHeaderSize = 14;  // BITMAPFILEHEADER

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

std::vector<uint8_t> WriteBmp(const TBmpFields& f) {
  const bool core = f.HeaderSize == 12;
  const uint32_t tableBytes = uint32_t(f.Table.size()) * (core ? 3 : 4);
  const uint32_t maskBytes = f.HeaderSize == 40 ? uint32_t(f.Masks.size()) * 4 : 0;
  const uint32_t offset =
      FileHeaderSize + f.HeaderSize + maskBytes + tableBytes + uint32_t(f.Gap.size());
  TWriter w;
  w.U8(uint8_t(f.Signature[0])).U8(uint8_t(f.Signature[1]));  // bfType
  w.U32(offset + uint32_t(f.Pixels.size()));                  // bfSize
  w.U16(0).U16(0);                                            // bfReserved1, bfReserved2
  w.U32(offset);                                              // bfOffBits
  if (core) {
    w.U32(12);                  // bcSize
    w.U16(uint16_t(f.Width));   // bcWidth
    w.U16(uint16_t(f.Height));  // bcHeight
    w.U16(f.Planes);            // bcPlanes
    w.U16(f.BitCount);          // bcBitCount
  } else {
    const size_t start = w.Bytes.size();
    w.U32(f.HeaderSize);                        // biSize
    w.U32(uint32_t(f.Width));                   // biWidth
    w.U32(uint32_t(f.Height));                  // biHeight
    w.U16(f.Planes);                            // biPlanes
    w.U16(f.BitCount);                          // biBitCount
    w.U32(f.Compression);                       // biCompression
    w.U32(f.ImageSize);                         // biSizeImage
    w.U32(f.PelsPerMeter).U32(f.PelsPerMeter);  // biXPelsPerMeter, biYPelsPerMeter
    w.U32(f.ColorsUsed);                        // biClrUsed
    w.U32(0);                                   // biClrImportant
    if (f.HeaderSize >= 52)
      for (size_t i = 0; i < 3; ++i) w.U32(i < f.Masks.size() ? f.Masks[i] : 0);  // RGB masks
    if (f.HeaderSize >= 56) w.U32(0xFF000000);                                    // alpha mask
    while (w.Bytes.size() - start < std::min(f.HeaderSize, 124u)) w.U8(0);        // colour space...
    if (f.HeaderSize == 40)
      for (uint32_t m : f.Masks) w.U32(m);  // masks after a 40-byte header
  }
  for (TColor c : f.Table) {
    w.U8(GetBValue(c)).U8(GetGValue(c)).U8(GetRValue(c));  // blue, green, red
    if (!core) w.U8(0);                                    // reserved
  }
  w.Raw(f.Gap).Raw(f.Pixels);
  return w.Bytes;
}

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

  TBmpFields f;
  f.Width = w;
  f.Height = AFormat == TBmpFileFormat::Bgr24TopDown ? -h : h;  // negative: top row first
  f.BitCount = uint16_t(bits);
  f.Compression = compression;
  f.ImageSize = uint32_t(pixels.size());
  f.PelsPerMeter = 2835;  // 72 dpi
  f.ColorsUsed = uint32_t(table.size());
  if (compression == 3) f.Masks = {0xF800, 0x07E0, 0x001F};  // red, green, blue
  f.Table = std::move(table);
  f.Pixels = std::move(pixels);
  return WriteBmp(f);
}

std::vector<uint8_t> Bmp24(int32_t AWidth, int32_t AHeight,
                           const std::function<TColor(int32_t x, int32_t y)>& AColorAt) {
  TBmpFields f;
  f.Width = AWidth;
  f.Height = AHeight;
  const size_t stride = (size_t(AWidth) * 3 + 3) / 4 * 4;
  f.Pixels.assign(stride * size_t(AHeight), 0);
  for (int32_t y = 0; y < AHeight; ++y) {
    uint8_t* d = f.Pixels.data() + size_t(AHeight - 1 - y) * stride;  // bottom row first
    for (int32_t x = 0; x < AWidth; ++x, d += 3) {
      const TColor c = AColorAt(x, y);
      d[0] = GetBValue(c), d[1] = GetGValue(c), d[2] = GetRValue(c);
    }
  }
  f.ImageSize = uint32_t(f.Pixels.size());
  return WriteBmp(f);
}

std::vector<uint8_t> Bmp32(const std::vector<uint8_t>& ABgra, int32_t AWidth, int32_t AHeight) {
  TBmpFields f;
  f.Width = AWidth;
  f.Height = AHeight;
  f.BitCount = 32;
  const size_t stride = size_t(AWidth) * 4;
  for (int32_t y = AHeight - 1; y >= 0; --y) {
    const uint8_t* row = ABgra.data() + size_t(y) * stride;
    f.Pixels.insert(f.Pixels.end(), row, row + stride);
  }
  f.ImageSize = uint32_t(f.Pixels.size());
  return WriteBmp(f);
}

}  // namespace tintbox
