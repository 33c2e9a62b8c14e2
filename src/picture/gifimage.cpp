#include "picture/gifimage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "picture/bytereader.h"
#include "picture/errors.h"
#include "picture/lzw.h"

namespace tintbox {

namespace {

// Block introducers and extension labels (GIF89a).
constexpr uint8_t ExtensionIntroducer = 0x21;  // "!"
constexpr uint8_t ImageSeparator = 0x2C;       // ","
constexpr uint8_t Trailer = 0x3B;              // ";"
constexpr uint8_t PlainTextLabel = 0x01;       // Plain Text Extension
constexpr uint8_t ApplicationLabel = 0xFF;     // Application Extension

// Fixed parts of the blocks, label not counted.
constexpr size_t GraphicControlBytes = 6;  // block size, packed, delay (2), index, terminator
constexpr size_t PlainTextHeaderBytes = 13;
constexpr size_t ApplicationHeaderBytes = 12;  // block size, identifier (8), auth code (3)

constexpr uint16_t MaxRepeatCount = 30000;
constexpr uint8_t UnknownTableGray = 128;  // entries past a table's count

const char* const SUnknownGIFVersion = "Unknown GIF version";
const char* const SUnrecognizedExtension = "Unrecognized extension block: %.2x";
const char* const SWrongColorCount = "Wrong number of colors; must be a power of 2";

}  // namespace

namespace {

// Data sub-blocks up to the zero-length terminator, each handed to AOnBlock.
template <typename F>
void ReadSubBlocks(TByteReader& AReader, F&& AOnBlock) {
  for (uint8_t length = AReader.U8(); length != 0; length = AReader.U8())
    AOnBlock(AReader.Take(length), length);
}

// The next block introducer; zero bytes before it are skipped, and the end of
// the bytes gives 0.
uint8_t NextIntroducer(TByteReader& AReader) {
  while (AReader.has(1))
    if (const uint8_t b = AReader.U8(); b != 0) return b;
  return 0;
}

void ReadColorTable(TByteReader& AReader, int ABitsPerPixel, TGIFColorTable& ATable) {
  ATable.Count = 1 << ABitsPerPixel;
  const uint8_t* p = AReader.Take(uint64_t(ATable.Count) * 3);
  for (int32_t i = 0; i < ATable.Count; ++i, p += 3) ATable.Colors[i] = {p[0], p[1], p[2]};
}

// Colour-index depth of a frame's bitmap (1, 4 or 8 bits) from its table's
// bits per pixel.
int BitmapDepth(int ABitsPerPixel) {
  if (ABitsPerPixel == 1) return 1;
  if (ABitsPerPixel >= 2 && ABitsPerPixel <= 4) return 4;
  if (ABitsPerPixel >= 5 && ABitsPerPixel <= 8) return 8;
  throw EInvalidGraphic(SWrongColorCount);
}

// The picture row that the ARow-th row of an interlaced frame's data fills:
// every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
class TInterlaceRows {
 public:
  explicit TInterlaceRows(int32_t AHeight) : FHeight(AHeight) { SkipEmptyPasses(); }
  int32_t Row() const { return FRow; }
  void Next() {
    FRow += Step[FPass];
    SkipEmptyPasses();
  }

 private:
  static constexpr int32_t Start[4] = {0, 4, 2, 1};
  static constexpr int32_t Step[4] = {8, 8, 4, 2};
  void SkipEmptyPasses() {
    while (FRow >= FHeight && FPass < 3) FRow = Start[++FPass];
  }
  int32_t FHeight;
  int FPass = 0;
  int32_t FRow = 0;
};

}  // namespace

int TGIFColorTable::BitsPerPixel() const {
  int bits = 0;
  while (bits < 8 && (1 << bits) < Count) ++bits;
  return bits;
}

// ---------------------------------------------------------------------------
// TGIFFrame

void TGIFFrame::Read(TByteReader& AReader, const TGIFHeader& AHeader, uint16_t AScreenWidth,
                     uint16_t AScreenHeight) {
  // Image Descriptor (after its separator): left, top, width, height, packed.
  const uint16_t left = AReader.U16();
  const uint16_t top = AReader.U16();
  uint16_t width = AReader.U16();
  uint16_t height = AReader.U16();
  const uint8_t packed = AReader.U8();
  FImage.FPackedFields = packed;
  FInterlaced = (packed & 0x40) != 0;
  if (packed & 0x80) {  // Local Color Table Flag
    FLocalColors = true;
    FImage.FBitsPerPixel = (packed & 7) + 1;
    ReadColorTable(AReader, FImage.FBitsPerPixel, FImage.FColorMap);
  }

  // LZW minimum code size and the data sub-blocks, joined once here so that
  // a decode reads the codes straight through. Data cut short keeps the whole
  // sub-blocks before the cut: the frame still shows what they hold.
  std::vector<uint8_t>& data = FImage.FImageData;
  if (!AReader.has(1)) {
    FCorrupted = true;
  } else {
    data.push_back(AReader.U8());
    if (!JoinSubBlocks(AReader, data)) FCorrupted = true;
    data.insert(data.end(), LZWPadding, 0);
  }

  // A zero size in the descriptor stands for the logical screen's.
  if (width == 0) width = AScreenWidth;
  if (height == 0) height = AScreenHeight;
  FTopLeft = {left, top};
  FImage.FWidth = width;
  FImage.FHeight = height;

  if (!FLocalColors) {
    FImage.FColorMap = AHeader.FColorMap;
    FImage.FBitsPerPixel = AHeader.FColorMap.BitsPerPixel();
  }

  FAnimateInterval = 0;
  for (const TGIFExtension& e : FExtensions)
    if (e.FLabel == TGIFExtension::GraphicControlLabel) ApplyGraphicControl(e);
}

void TGIFFrame::ApplyGraphicControl(const TGIFExtension& AExtension) {
  if (AExtension.FPackedFields & 1) {  // Transparent Color Flag
    // An index outside the table gives no transparent colour: the frame shows opaque.
    if (AExtension.FTransparentIndex < FImage.FColorMap.Count) {
      MakeTransparentColorUnique(AExtension.FTransparentIndex);
      FTransparentColor = FImage.FColorMap.ColorOf(AExtension.FTransparentIndex);
    }
  } else {
    FTransparentColor = clNone;
  }
  // Hundredths of a second to milliseconds; delays past 16 bits (6554
  // hundredths and more) stay at the longest interval the field holds.
  const uint32_t ms = uint32_t(AExtension.FDelay) * 10;
  FAnimateInterval = uint16_t(std::max<uint32_t>(FAnimateInterval, std::min<uint32_t>(ms, 0xFFFF)));
  FDisposal = TDisposalMethod((AExtension.FPackedFields >> 2) & 7);
}

void TGIFFrame::MakeTransparentColorUnique(int32_t AIndex) {
  TGIFColorTable& table = FImage.FColorMap;
  auto& entry = table.Colors[AIndex];
  auto taken = [&] {
    for (int32_t i = 0; i < table.Count; ++i)
      if (i != AIndex && table.Colors[i] == entry) return true;
    return false;
  };
  // Blue walks down to 0, then up to 255 and down again: with at most 255
  // other entries a free value turns up within two sweeps.
  int step = -1;
  while (taken()) {
    if (entry[2] == 0) step = 1;
    if (entry[2] == 255) step = -1;
    entry[2] = uint8_t(entry[2] + step);
  }
}

const TBitmap& TGIFFrame::Bitmap() {
  if (!FBitmap) Decode();
  return *FBitmap;
}

void TGIFFrame::Decode() {
  const int depth = BitmapDepth(FImage.FBitsPerPixel);
  const int32_t width = FImage.FWidth, height = FImage.FHeight;
  const uint64_t bytes = CheckedStoreBytes(width, height, false);
  FOwner->MakeRoomFor(*this, bytes);

  // The bitmap's palette: the frame's table, gray past its count. An index
  // wider than the bitmap's depth keeps its low bits, as a packed pixel would.
  const TGIFColorTable& table = FImage.FColorMap;
  const uint32_t depthMask = (1u << depth) - 1;
  std::vector<TColor> palette(size_t(depthMask) + 1);
  for (uint32_t i = 0; i <= depthMask; ++i)
    palette[i] = int32_t(i) < table.Count
                     ? table.ColorOf(int32_t(i))
                     : RGB(UnknownTableGray, UnknownTableGray, UnknownTableGray);
  TColor lut[256];
  for (uint32_t i = 0; i < 256; ++i) lut[i] = palette[i & depthMask];

  const size_t pixels = size_t(width) * size_t(height);
  std::vector<uint8_t>& indices = FOwner->FIndices;
  if (indices.size() < pixels + LZWPadding) indices.resize(pixels + LZWPadding);
  const std::vector<uint8_t>& data = FImage.FImageData;
  TLZWResult result;
  if (data.empty()) {
    FCorrupted = true;  // no data at all: every pixel keeps index 0
  } else {
    // The code size byte, the codes, then the padding (see TGIFItem).
    result =
        DecodeLZW(data[0], data.data() + 1, data.size() - 1 - LZWPadding, indices.data(), pixels);
    if (result.Corrupted) FCorrupted = true;
  }

  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(width, height, lut[0]);  // what every index not reached shows
  TBitmapFormat format;
  format.BitsPerPixel = format.FileBitsPerPixel = depth;
  format.ColorTable = palette;
  bitmap->SetFormat(format);

  if (width > 0 && result.Written > 0) {
    const int32_t rows = int32_t(std::min<size_t>(height, (result.Written + width - 1) / width));
    TColor* out = bitmap->WritablePixels();
    const uint8_t* in = indices.data();
    TInterlaceRows interlaced(height);
    for (int32_t j = 0; j < rows; ++j, in += width) {
      const int32_t y = FInterlaced ? interlaced.Row() : j;
      if (FInterlaced) interlaced.Next();
      TColor* row = out + size_t(y) * size_t(width);
      for (int32_t x = 0; x < width; ++x) row[x] = lut[in[x]];
    }
  }
  FBitmap = std::move(bitmap);
  FOwner->FDecodedBytes += bytes;
}

// ---------------------------------------------------------------------------
// TGIFImage

TGIFImage::TGIFImage() = default;
TGIFImage::~TGIFImage() = default;

void TGIFImage::Clear() {
  FItems.clear();
  FFrameIndex = -1;
  FBackgroundColor = clNone;
  FRepeatCount = 1;
  FLooping = false;
  FVersion = gvUnknown;
  FCorrupted = false;
  FImage = TGIFHeader();
  FScreenWidth = FScreenHeight = 0;
  FDecodedBytes = 0;
}

bool TGIFImage::Transparent() const {
  if (!FTransparent) return false;
  return std::any_of(FItems.begin(), FItems.end(),
                     [](const auto& f) { return f->HasTransparentColor(); });
}

bool TGIFImage::Empty() const {
  if (FFrameIndex < 0 || FFrameIndex >= Count()) return true;
  return FItems[size_t(FFrameIndex)]->Blank();
}

void TGIFImage::Changed() {
  if (OnChange) OnChange();
}

void TGIFImage::ReadData(const uint8_t* AData, size_t ASize) {
  try {
    TByteReader reader(AData, ASize);
    const int32_t count = reader.I32();
    Clear();
    if (count > 0) {
      // A count past the bytes present is refused before anything is parsed.
      const uint8_t* gif = reader.Take(uint64_t(count));
      Parse(gif, size_t(count));
    }
  } catch (...) {
    Changed();
    throw;
  }
  Changed();
}

void TGIFImage::LoadFromGIF(const uint8_t* AData, size_t ASize) {
  try {
    Clear();
    Parse(AData, ASize);
  } catch (...) {
    Changed();
    throw;
  }
  Changed();
}

void TGIFImage::Parse(const uint8_t* AData, size_t ASize) {
  TByteReader reader(AData, ASize);

  // Header: "GIF" then the version.
  const uint8_t* signature = reader.Take(6);
  if (std::memcmp(signature, "GIF", 3) != 0) throw EInvalidGraphic(SUnknownGIFVersion);
  if (std::memcmp(signature + 3, "87a", 3) == 0)
    FVersion = gv87a;
  else if (std::memcmp(signature + 3, "89a", 3) == 0)
    FVersion = gv89a;
  else
    throw EInvalidGraphic(SUnknownGIFVersion);

  // Logical Screen Descriptor.
  FScreenWidth = reader.U16();
  FScreenHeight = reader.U16();
  const uint8_t packed = reader.U8();
  const uint8_t backgroundIndex = reader.U8();
  FImage.FAspectRatio = reader.U8();
  FImage.FBitsPerPixel = (packed & 7) + 1;
  FImage.FColorResBits = ((packed >> 4) & 7) + 1;
  if (packed & 0x80) {  // Global Color Table Flag
    ReadColorTable(reader, FImage.FBitsPerPixel, FImage.FColorMap);
    if (backgroundIndex < FImage.FColorMap.Count)
      FBackgroundColor = FImage.FColorMap.ColorOf(backgroundIndex);
  }

  // Blocks up to the Trailer. Extensions are kept for the image after them.
  std::vector<TGIFExtension> kept;
  uint8_t introducer = NextIntroducer(reader);
  while (introducer != 0 && introducer != Trailer && reader.Rest() > 0) {
    if (introducer == ExtensionIntroducer) {
      ReadExtension(reader, kept);
      introducer = NextIntroducer(reader);
    } else if (introducer == ImageSeparator) {
      auto frame = std::make_unique<TGIFFrame>(this);
      frame->FExtensions = std::move(kept);
      kept.clear();
      frame->Read(reader, FImage, FScreenWidth, FScreenHeight);
      if (frame->FCorrupted) FCorrupted = true;
      FItems.push_back(std::move(frame));
      introducer = NextIntroducer(reader);
      // Anything after an image but another block ends the stream quietly:
      // trailing junk after the last frame does not cost the frames.
      if (introducer != ExtensionIntroducer && introducer != ImageSeparator) break;
    } else {
      throw EReadError(SReadError);
    }
  }

  if (FImage.FComment.empty())
    for (const TGIFExtension& e : kept)
      if (e.FLabel == TGIFExtension::CommentLabel)
        FImage.FComment.insert(FImage.FComment.end(), e.FLines.begin(), e.FLines.end());

  if (!FItems.empty()) {
    FFrameIndex = 0;
    try {
      FItems[0]->Bitmap();
    } catch (...) {
      // Nothing else is decoded yet, so no store is counted.
      FItems.erase(FItems.begin());
      if (FItems.empty()) FFrameIndex = -1;
      throw;
    }
  }
}

void TGIFImage::ReadExtension(TByteReader& AReader, std::vector<TGIFExtension>& AKept) {
  const uint8_t label = AReader.U8();
  switch (label) {
    case TGIFExtension::GraphicControlLabel: {  // Graphic Control Extension
      const uint8_t* p = AReader.Take(GraphicControlBytes);
      TGIFExtension e;
      e.FLabel = label;
      e.FPackedFields = p[1];
      e.FDelay = uint16_t(p[2] | (p[3] << 8));
      e.FTransparentIndex = p[4];
      AKept.push_back(std::move(e));
      break;
    }
    case TGIFExtension::CommentLabel: {  // Comment Extension: one line per sub-block
      TGIFExtension e;
      e.FLabel = label;
      ReadSubBlocks(AReader, [&](const uint8_t* p, size_t n) {
        e.FLines.emplace_back(reinterpret_cast<const char*>(p), n);
      });
      AKept.push_back(std::move(e));
      break;
    }
    case PlainTextLabel: {  // Plain Text Extension: not shown, and takes its controls along
      AReader.Take(PlainTextHeaderBytes);
      ReadSubBlocks(AReader, [](const uint8_t*, size_t) {});
      AKept.clear();
      break;
    }
    case ApplicationLabel: {  // Application Extension
      const uint8_t* p = AReader.Take(ApplicationHeaderBytes);
      const bool looping =
          std::memcmp(p + 1, "NETSCAPE2.0", 11) == 0 || std::memcmp(p + 1, "ANIMEXTS1.0", 11) == 0;
      bool first = true;
      ReadSubBlocks(AReader, [&](const uint8_t* b, size_t n) {
        // Sub-block 1 of the looping extension: 1, then the loop count.
        if (looping && first && n >= 3 && b[0] == 1) {
          FLooping = true;
          FRepeatCount = std::min<uint16_t>(uint16_t(b[1] | (b[2] << 8)), MaxRepeatCount);
        }
        first = false;
      });
      break;
    }
    default: {
      char message[64];
      std::snprintf(message, sizeof message, SUnrecognizedExtension, unsigned(label));
      throw EInvalidGraphic(message);
    }
  }
}

void TGIFImage::MakeRoomFor(const TGIFFrame& AFrame, uint64_t ABytes) {
  if (FDecodedBytes + ABytes <= DecodedBudgetBytes()) return;
  for (auto& f : FItems) {
    if (f.get() == &AFrame || !f->FBitmap) continue;
    f->FBitmap.reset();
  }
  FDecodedBytes = 0;
}

}  // namespace tintbox
