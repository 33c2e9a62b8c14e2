#include "picture/bmpwriter.h"

#include <algorithm>

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
