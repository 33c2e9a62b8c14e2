// Reading Windows bitmap files (BMP) into a TBitmap.
//
// Errors this reader raises, and where:
//   EReadError      "Stream read error"          a file of 1 to 13 bytes; a colour table, or the
//                                                bit-field masks after a 40-byte header, cut short
//   EInvalidGraphic "Bitmap image is not valid"  signature not "BM"; a header size below 40 other
//                                                than 12, or a file that ends inside its header;
//                                                planes not 1; a negative width; a height of
//                                                -2^31; a depth other than 1, 4, 8, 16, 24, 32; a
//                                                compression that cannot be decoded (embedded
//                                                JPEG or PNG, unknown values, RLE8 without 8 bits
//                                                per pixel, RLE4 without 4, bit fields without 16
//                                                or 32, run-length data stored top-down); more
//                                                than 256 colour-table entries
//   EOutOfResources "Out of system resources"    a pixel store over 256 MiB, refused before
//                                                anything is allocated
//
// How this reader settles what the format leaves open:
//   - Pixels are read straight after the colour table (or the masks, or the header); the file
//     header's pixel-data offset is not used. Missing pixels of a file cut short are all-zero
//     values: colour-table entry 0, or black (and a fourth byte of 0 in the alpha plane).
//   - Pixels that run-length data leaves unset (delta skips, an early end of line or of the
//     bitmap, data that ends early) also show colour-table entry 0: what an all-zero pixel
//     would show. Runs and literals past the end of a row are clipped, not wrapped; anything
//     past the last row is dropped.
//   - An index past the end of the colour table reads as black.
//   - 16-bit and bit-field channels are widened to 8 bits by bit replication (5 bits 0x1F ->
//     0xFF, 0x10 -> 0x84); a channel wider than 8 bits keeps its top 8 bits. Masks may have
//     any width and position; a zero mask gives 0 for its channel.
//   - Bit-field masks are read after a 40-byte header with compression 3; headers of 52 bytes
//     or more carry them at bytes 40..51. With compression 3 and a header of 41 to 51 bytes
//     the default masks apply (5-5-5 or 8-8-8).
//   - A 32-bit file's fourth byte goes to the bitmap's alpha plane; the colour stays opaque.
#include "picture/bmpreader.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "picture/bytereader.h"
#include "picture/errors.h"

namespace tintbox {
namespace {

[[noreturn]] void Invalid() {
  throw EInvalidGraphic(SInvalidBitmap);
}

// Names from the published format.
constexpr uint16_t BitmapSignature = 0x4D42;     // bfType "BM"
constexpr uint32_t BitmapFileHeaderSize = 14;    // BITMAPFILEHEADER
constexpr uint32_t BitmapCoreHeaderSize = 12;    // BITMAPCOREHEADER (OS/2 1.x)
constexpr uint32_t BitmapInfoHeaderSize = 40;    // BITMAPINFOHEADER
constexpr uint32_t BitmapV2InfoHeaderSize = 52;  // BITMAPV2INFOHEADER: adds the RGB masks
constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t MaxColorTableEntries = 256;  // a table of at most 1024 bytes

// The header fields this reader uses, whatever the header's size.
struct TInfoHeader {
  uint32_t Size = 0;
  int64_t Width = 0;
  int64_t Height = 0;  // negative: rows stored top row first
  uint32_t Planes = 0;
  uint32_t BitCount = 0;
  uint32_t Compression = BI_RGB;
  uint32_t ImageSize = 0;
  uint32_t ColorsUsed = 0;
  bool HasMasks = false;  // masks carried by the header itself
  uint32_t Masks[3] = {0, 0, 0};
};

TInfoHeader ReadInfoHeader(TByteReader& AIn) {
  TInfoHeader h;
  // A file that ends inside its header is refused as a whole.
  if (!AIn.has(4)) Invalid();
  h.Size = AIn.U32();
  if (h.Size == BitmapCoreHeaderSize) {
    if (!AIn.has(BitmapCoreHeaderSize - 4)) Invalid();
    h.Width = AIn.U16();     // bcWidth, unsigned
    h.Height = AIn.U16();    // bcHeight, unsigned: always bottom-up
    h.Planes = AIn.U16();    // bcPlanes
    h.BitCount = AIn.U16();  // bcBitCount
    return h;
  }
  if (h.Size < BitmapInfoHeaderSize || !AIn.has(uint64_t(h.Size) - 4)) Invalid();
  TByteReader hdr = AIn.Sub(uint64_t(h.Size) - 4);
  h.Width = hdr.I32();        // biWidth
  h.Height = hdr.I32();       // biHeight
  h.Planes = hdr.U16();       // biPlanes
  h.BitCount = hdr.U16();     // biBitCount
  h.Compression = hdr.U32();  // biCompression
  h.ImageSize = hdr.U32();    // biSizeImage
  hdr.Skip(8);                // biXPelsPerMeter, biYPelsPerMeter: not used
  h.ColorsUsed = hdr.U32();   // biClrUsed
  hdr.Skip(4);                // biClrImportant: not used
  if (h.Size >= BitmapV2InfoHeaderSize) {
    h.HasMasks = true;
    for (uint32_t& m : h.Masks) m = hdr.U32();  // bV4RedMask, bV4GreenMask, bV4BlueMask
  }
  // The rest (alpha mask, colour space, profile) stays with the header, uninterpreted.
  return h;
}

// One colour channel of a 16- or 32-bit pixel, widened to 8 bits.
class TChannel {
 public:
  explicit TChannel(uint32_t AMask) : FMask(AMask) {
    if (AMask == 0) return;
    while (!((AMask >> FShift) & 1)) ++FShift;
    for (uint32_t v = AMask >> FShift; v; v >>= 1) ++FBits;
    // Widths up to 8 bits widen by repeating the value's bits from the top down.
    if (FBits <= 8)
      for (uint32_t v = 0; v < (1u << FBits); ++v) {
        uint32_t r = 0;
        for (int s = 8 - FBits; s > -FBits; s -= FBits) r |= s >= 0 ? v << s : v >> -s;
        FWiden[v] = uint8_t(r);
      }
  }
  uint32_t operator()(uint32_t APixel) const {
    const uint32_t v = (APixel & FMask) >> FShift;
    return FBits <= 8 ? FWiden[v] : v >> (FBits - 8);
  }

 private:
  uint32_t FMask;
  int FShift = 0;
  int FBits = 0;
  std::array<uint8_t, 256> FWiden{};
};

struct TMaskDecoder {
  TChannel Red, Green, Blue;
  TColor operator()(uint32_t APixel) const {
    return Red(APixel) | (Green(APixel) << 8) | (Blue(APixel) << 16);
  }
};

// The bitmap's rows as a file lists them. Row r of the file is row r of the
// picture when stored top-down, row Height - 1 - r otherwise.
class TPixelRows {
 public:
  TPixelRows(TBitmap& ABitmap, bool ATopDown)
      : FPixels(ABitmap.WritablePixels()),
        FAlpha(ABitmap.WritableAlpha()),
        FWidth(size_t(ABitmap.Width())),
        FHeight(ABitmap.Height()),
        FTopDown(ATopDown) {}
  TColor* Row(int64_t AFileRow) const { return FPixels + Offset(AFileRow); }
  uint8_t* AlphaRow(int64_t AFileRow) const { return FAlpha ? FAlpha + Offset(AFileRow) : nullptr; }
  int64_t Width() const { return int64_t(FWidth); }
  int64_t Height() const { return FHeight; }

 private:
  size_t Offset(int64_t AFileRow) const {
    const int64_t y = FTopDown ? AFileRow : FHeight - 1 - AFileRow;
    return size_t(y) * FWidth;
  }
  TColor* FPixels;
  uint8_t* FAlpha;
  size_t FWidth;
  int64_t FHeight;
  bool FTopDown;
};

// The colour of index i: table entry i, or black past the table's end.
using TLookup = std::array<TColor, 256>;

constexpr TColor FromBGR(uint32_t b, uint32_t g, uint32_t r) {
  return r | (g << 8) | (b << 16);
}

// ---- Uncompressed rows: each decodes n pixels from s into d (and a). -------

void Row1(const uint8_t* s, TColor* d, int64_t n, const TLookup& lut) {
  int64_t x = 0;
  for (; x + 8 <= n; x += 8) {
    const uint32_t b = *s++;
    d[x] = lut[b >> 7];
    d[x + 1] = lut[(b >> 6) & 1];
    d[x + 2] = lut[(b >> 5) & 1];
    d[x + 3] = lut[(b >> 4) & 1];
    d[x + 4] = lut[(b >> 3) & 1];
    d[x + 5] = lut[(b >> 2) & 1];
    d[x + 6] = lut[(b >> 1) & 1];
    d[x + 7] = lut[b & 1];
  }
  for (int shift = 7; x < n; ++x, --shift) d[x] = lut[(*s >> shift) & 1];
}

void Row4(const uint8_t* s, TColor* d, int64_t n, const TLookup& lut) {
  int64_t x = 0;
  for (; x + 2 <= n; x += 2) {
    const uint32_t b = *s++;
    d[x] = lut[b >> 4];
    d[x + 1] = lut[b & 15];
  }
  if (x < n) d[x] = lut[*s >> 4];
}

void Row8(const uint8_t* s, TColor* d, int64_t n, const TLookup& lut) {
  for (int64_t x = 0; x < n; ++x) d[x] = lut[s[x]];
}

void Row24(const uint8_t* s, TColor* d, int64_t n) {
  for (int64_t x = 0; x < n; ++x, s += 3) d[x] = FromBGR(s[0], s[1], s[2]);
}

void Row32(const uint8_t* s, TColor* d, uint8_t* a, int64_t n) {
  for (int64_t x = 0; x < n; ++x, s += 4) {
    d[x] = FromBGR(s[0], s[1], s[2]);
    a[x] = s[3];
  }
}

void Row16Masks(const uint8_t* s, TColor* d, int64_t n, const TMaskDecoder& m) {
  for (int64_t x = 0; x < n; ++x, s += 2) d[x] = m(uint32_t(s[0]) | (uint32_t(s[1]) << 8));
}

void Row32Masks(const uint8_t* s, TColor* d, uint8_t* a, int64_t n, const TMaskDecoder& m) {
  for (int64_t x = 0; x < n; ++x, s += 4) {
    const uint32_t p =
        uint32_t(s[0]) | (uint32_t(s[1]) << 8) | (uint32_t(s[2]) << 16) | (uint32_t(s[3]) << 24);
    d[x] = m(p);
    a[x] = s[3];
  }
}

enum class TRowKind { Index1, Index4, Index8, Masks16, Bgr24, Bgr32, Masks32 };

struct TRowDecoder {
  TRowKind Kind;
  const TLookup& Lut;
  const TMaskDecoder& Masks;
  void operator()(const uint8_t* s, TColor* d, uint8_t* a, int64_t n) const {
    switch (Kind) {
      case TRowKind::Index1:
        return Row1(s, d, n, Lut);
      case TRowKind::Index4:
        return Row4(s, d, n, Lut);
      case TRowKind::Index8:
        return Row8(s, d, n, Lut);
      case TRowKind::Masks16:
        return Row16Masks(s, d, n, Masks);
      case TRowKind::Bgr24:
        return Row24(s, d, n);
      case TRowKind::Bgr32:
        return Row32(s, d, a, n);
      case TRowKind::Masks32:
        return Row32Masks(s, d, a, n, Masks);
    }
  }
};

// Rows of an uncompressed or bit-field file, as many as the bytes hold; the
// store already holds the all-zero colour for the pixels that are missing.
void ReadRows(TByteReader& AIn, const TPixelRows& ARows, uint32_t ABitCount,
              const TRowDecoder& ADecode) {
  const int64_t width = ARows.Width();
  if (width == 0) return;  // no pixels, however many rows the header gives
  const uint64_t rowBytes = (uint64_t(width) * ABitCount + 7) / 8;
  const uint64_t stride = (uint64_t(width) * ABitCount + 31) / 32 * 4;
  for (int64_t r = 0; r < ARows.Height(); ++r) {
    TColor* out = ARows.Row(r);
    uint8_t* alpha = ARows.AlphaRow(r);
    const uint64_t chunk = std::min<uint64_t>(stride, AIn.Rest());
    const uint8_t* src = AIn.Take(chunk);
    if (chunk >= rowBytes) {
      ADecode(src, out, alpha, width);
      continue;
    }
    // The file ends in this row: decode the whole pixels present, then a last
    // partial one from its bytes padded with zeros.
    int64_t n;
    if (ABitCount < 8) {
      n = int64_t(chunk * 8 / ABitCount);
      ADecode(src, out, alpha, n);
    } else {
      const uint64_t bytesPerPixel = ABitCount / 8;
      n = int64_t(chunk / bytesPerPixel);
      ADecode(src, out, alpha, n);
      if (const uint64_t part = chunk % bytesPerPixel) {
        uint8_t pixel[4] = {0, 0, 0, 0};
        std::memcpy(pixel, src + chunk - part, size_t(part));
        ADecode(pixel, out + n, alpha ? alpha + n : nullptr, 1);
        ++n;
      }
    }
    if (alpha) std::fill(alpha + n, alpha + width, uint8_t(0));
  }
}

// ---- Run-length data (RLE8 and RLE4, published rules) ----------------------

// The decoder's states. Legal transitions:
//   Code      -> Run (count > 0) | Escape (count 0) | Done (data ends)
//   Escape    -> EndOfLine (0) | Done (1, end of bitmap) | Delta (2) | Literal (3..255)
//   Run, Literal, Delta, EndOfLine -> Code, or Done once past the last row
enum class TRleState { Code, Run, Escape, EndOfLine, Delta, Literal, Done };

void ReadRunLength(TByteReader& AIn, const TPixelRows& ARows, bool AFourBit, const TLookup& ALut) {
  const int64_t width = ARows.Width();
  const int64_t height = ARows.Height();
  int64_t x = 0;
  int64_t y = 0;  // file row: 0 is the bottom row
  uint32_t count = 0;
  uint32_t value = 0;
  TRleState state = height > 0 ? TRleState::Code : TRleState::Done;
  while (state != TRleState::Done) {
    switch (state) {
      case TRleState::Code:
        if (!AIn.has(2)) {
          state = TRleState::Done;  // data cut short: the rest stays unset
          break;
        }
        count = AIn.U8();
        value = AIn.U8();
        state = count ? TRleState::Run : TRleState::Escape;
        break;

      case TRleState::Run: {
        // count pixels; RLE4 alternates the value's high and low nibble.
        const int64_t end = std::min<int64_t>(x + count, width);
        if (y < height && x < end) {
          TColor* row = ARows.Row(y);
          if (!AFourBit || (value >> 4) == (value & 15)) {
            std::fill(row + x, row + end, ALut[AFourBit ? value & 15 : value]);
          } else {
            const TColor c[2] = {ALut[value >> 4], ALut[value & 15]};
            for (int64_t i = x; i < end; ++i) row[i] = c[(i - x) & 1];
          }
        }
        x += count;
        state = TRleState::Code;
        break;
      }

      case TRleState::Escape:
        state = value == 0   ? TRleState::EndOfLine
                : value == 1 ? TRleState::Done  // end of bitmap
                : value == 2 ? TRleState::Delta
                             : TRleState::Literal;
        break;

      case TRleState::EndOfLine:
        x = 0;
        ++y;
        state = y < height ? TRleState::Code : TRleState::Done;
        break;

      case TRleState::Delta:
        if (!AIn.has(2)) {
          state = TRleState::Done;
          break;
        }
        x += AIn.U8();
        y += AIn.U8();
        state = y < height ? TRleState::Code : TRleState::Done;
        break;

      case TRleState::Literal: {
        // value pixels stored as they are, padded to a 16-bit boundary.
        const uint64_t bytes = AFourBit ? (value + 1) / 2 : value;
        const uint64_t present = std::min<uint64_t>(bytes, AIn.Rest());
        const uint8_t* src = AIn.Take(present);
        const int64_t pixels = std::min<int64_t>(value, AFourBit ? present * 2 : present);
        const int64_t end = std::min<int64_t>(x + pixels, width);
        if (y < height && x < end) {
          TColor* row = ARows.Row(y);
          for (int64_t i = 0; i < end - x; ++i)
            row[x + i] = ALut[AFourBit ? (src[i / 2] >> ((i & 1) ? 0 : 4)) & 15 : src[i]];
        }
        x += value;
        if ((bytes & 1) && AIn.has(1)) AIn.Skip(1);
        state = TRleState::Code;
        break;
      }

      case TRleState::Done:
        break;
    }
  }
}

}  // namespace

void ReadBitmap(const uint8_t* AData, size_t ASize, TBitmap& ABitmap) {
  if (ASize == 0) {  // an empty file is an empty picture
    ABitmap.SetSize(0, 0);
    ABitmap.SetFormat(TBitmapFormat{});
    ABitmap.Changed();
    return;
  }
  TByteReader in(AData, ASize);

  // BITMAPFILEHEADER: bfType, then bfSize, bfReserved1, bfReserved2 and
  // bfOffBits, none of them used.
  if (!in.has(BitmapFileHeaderSize)) throw EReadError(SReadError);
  if (in.U16() != BitmapSignature) Invalid();
  in.Skip(BitmapFileHeaderSize - 2);

  const TInfoHeader h = ReadInfoHeader(in);
  const bool core = h.Size == BitmapCoreHeaderSize;
  const uint32_t bpp = h.BitCount;
  if (h.Planes != 1) Invalid();
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) Invalid();
  const bool rle = h.Compression == BI_RLE8 || h.Compression == BI_RLE4;
  switch (h.Compression) {
    case BI_RGB:
      break;
    case BI_RLE8:
      if (bpp != 8) Invalid();
      break;
    case BI_RLE4:
      if (bpp != 4) Invalid();
      break;
    case BI_BITFIELDS:
      if (bpp != 16 && bpp != 32) Invalid();
      break;
    default:  // BI_JPEG (4), BI_PNG (5) and anything else: nothing here decodes them
      Invalid();
  }
  if (h.Width < 0) Invalid();
  const bool topDown = h.Height < 0;
  const int64_t height = topDown ? -h.Height : h.Height;
  if (height > INT32_MAX) Invalid();  // -2^31 has no positive counterpart
  if (rle && topDown) Invalid();      // run-length data is always stored bottom-up
  const bool withAlpha = bpp == 32 && !rle;
  // Refuse an oversized store before anything is allocated, whatever the file's length.
  CheckedStoreBytes(h.Width, height, withAlpha);

  TBitmapFormat format;
  format.BitsPerPixel = rle ? 32 : int(bpp);
  format.FileBitsPerPixel = int(bpp);
  format.Compression = h.Compression;
  format.TopDown = topDown;
  if (h.Compression == BI_BITFIELDS) {
    // A 40-byte header is followed by the masks; longer ones carry them.
    uint32_t masks[3] = {0, 0, 0};
    if (h.Size == BitmapInfoHeaderSize) {
      for (uint32_t& m : masks) m = in.U32();
      format.HasMasks = true;
    } else if (h.HasMasks) {
      std::copy(h.Masks, h.Masks + 3, masks);
      format.HasMasks = true;
    }
    format.RedMask = masks[0];
    format.GreenMask = masks[1];
    format.BlueMask = masks[2];
  }

  // The colour table: 3-byte entries after a core header, 4-byte ones otherwise.
  const uint64_t colors = h.ColorsUsed ? h.ColorsUsed : bpp <= 8 ? 1u << bpp : 0;
  if (colors > MaxColorTableEntries) Invalid();
  const uint32_t entryBytes = core ? 3 : 4;
  if (!in.has(colors * entryBytes)) throw EReadError(SReadError);
  TLookup lut;
  lut.fill(clBlack);
  for (uint64_t i = 0; i < colors; ++i) {
    const uint8_t* e = in.Take(entryBytes);  // blue, green, red[, reserved]
    lut[i] = FromBGR(e[0], e[1], e[2]);
  }
  if (bpp <= 8 && !rle)
    format.ColorTable.assign(lut.begin(), lut.begin() + std::min<uint64_t>(colors, 1u << bpp));

  // The pixels follow at once; their length is the header's image size for
  // compressed data that gives one, else whole rows. Width and height are
  // capped by the store check above, so this product cannot overflow.
  const uint64_t stride = (uint64_t(h.Width) * bpp + 31) / 32 * 4;
  const uint64_t length = h.ImageSize != 0 && h.Compression != BI_RGB ? uint64_t(h.ImageSize)
                                                                      : stride * uint64_t(height);
  TByteReader pixels = in.Sub(length);

  // The one store: every pixel starts as the all-zero value (entry 0, or black).
  ABitmap.SetSize(int32_t(h.Width), int32_t(height), bpp <= 8 ? lut[0] : clBlack, withAlpha);
  ABitmap.SetFormat(format);
  const TPixelRows rows(ABitmap, topDown);

  if (rle) {
    ReadRunLength(pixels, rows, h.Compression == BI_RLE4, lut);
  } else {
    // Without masks a 16-bit pixel is 5-5-5 (top bit unused), a 32-bit one 8-8-8.
    const bool masked = format.HasMasks;
    const uint32_t red = masked ? format.RedMask : bpp == 16 ? 0x7C00 : 0xFF0000;
    const uint32_t green = masked ? format.GreenMask : bpp == 16 ? 0x03E0 : 0x00FF00;
    const uint32_t blue = masked ? format.BlueMask : bpp == 16 ? 0x001F : 0x0000FF;
    const TMaskDecoder masks{TChannel(red), TChannel(green), TChannel(blue)};
    TRowKind kind = TRowKind::Bgr24;
    switch (bpp) {
      case 1:
        kind = TRowKind::Index1;
        break;
      case 4:
        kind = TRowKind::Index4;
        break;
      case 8:
        kind = TRowKind::Index8;
        break;
      case 16:
        kind = TRowKind::Masks16;
        break;
      case 24:
        kind = TRowKind::Bgr24;
        break;
      case 32: {
        const bool standard = red == 0xFF0000 && green == 0x00FF00 && blue == 0x0000FF;
        kind = standard ? TRowKind::Bgr32 : TRowKind::Masks32;
        break;
      }
    }
    ReadRows(pixels, rows, bpp, TRowDecoder{kind, lut, masks});
  }
  ABitmap.Changed();
}

}  // namespace tintbox
