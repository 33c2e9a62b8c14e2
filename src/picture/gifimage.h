// TGIFImage: an animated GIF (GIF87a / GIF89a) read into a logical screen, its
// colour tables and a list of TGIFFrame frames. Frame 0 is decoded while the
// image is read; every other frame the first time its bitmap is asked for.
//
// A decoded frame is a tintbox::TBitmap: one true-colour TColor per pixel,
// row 0 at the top. Colour-table depths (1, 4 or 8 bits per pixel) are kept
// only as far as they decide which colour an index shows.
//
// Errors raised while reading (all derive from tintbox::Exception):
//   EInvalidGraphic "Unknown GIF version"                      signature not GIF87a / GIF89a
//   EInvalidGraphic "Unrecognized extension block: %.2x"       unknown extension label
//   EReadError      "Stream read error"                        unexpected block introducer,
//                                                              or a header / block cut short
//   EInvalidGraphic "Wrong number of colors; must be a power of 2"  frame without a colour table
//   EOutOfResources "Out of system resources"                  frame over the pixel-store cap
// Damaged image data is not an error: the frame is kept and marked corrupted.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "picture/bitmap.h"
#include "picture/color.h"

namespace tintbox {

class TGIFImage;
class TByteReader;

enum TGIFVersion { gvUnknown, gv87a, gv89a };

enum TDisposalMethod : uint8_t {
  dmUndefined = 0,
  dmLeave = 1,
  dmRestoreBackground = 2,
  dmRestorePrevious = 3,
  dmReserved4 = 4,
  dmReserved5 = 5,
  dmReserved6 = 6,
  dmReserved7 = 7,
};

// A GIF colour table: Count entries (0 to 256) of red, green, blue.
struct TGIFColorTable {
  int32_t Count = 0;
  std::array<std::array<uint8_t, 3>, 256> Colors{};

  TColor ColorOf(int32_t AIndex) const {
    const auto& c = Colors[size_t(AIndex) & 0xFF];
    return RGB(c[0], c[1], c[2]);
  }
  // 1 for 2 entries up to 8 for 256; 0 for an empty table.
  int BitsPerPixel() const;
};

// Header data of the logical screen.
struct TGIFHeader {
  std::vector<std::string> FComment;  // comment lines not claimed by a frame
  uint8_t FAspectRatio = 0;
  int FBitsPerPixel = 0;     // (packed & 7) + 1 of the logical screen descriptor
  int FColorResBits = 0;     // ((packed >> 4) & 7) + 1
  TGIFColorTable FColorMap;  // the global table (Count 0 when absent)
};

// A graphic control (0xF9) or comment (0xFE) extension kept for the frame after it.
struct TGIFExtension {
  static constexpr uint8_t GraphicControlLabel = 0xF9;
  static constexpr uint8_t CommentLabel = 0xFE;

  uint8_t FLabel = 0;
  // Graphic control.
  uint8_t FPackedFields = 0;  // bit 0 transparency flag, bits 2-4 disposal
  uint16_t FDelay = 0;        // hundredths of a second
  uint8_t FTransparentIndex = 0;
  // Comment: one line per sub-block.
  std::vector<std::string> FLines;
};

// The encoded form of one frame.
struct TGIFItem {
  // The LZW minimum code size, then the code bytes of the data sub-blocks
  // joined as the file is read (their length bytes left out), then LZWPadding
  // zeros for the decoder to read ahead into; empty when the file held no
  // image data at all.
  std::vector<uint8_t> FImageData;
  int32_t FWidth = 0, FHeight = 0;  // decoded size (0 in the descriptor = the screen's)
  uint8_t FPackedFields = 0;        // the image descriptor's packed byte
  int FBitsPerPixel = 0;
  TGIFColorTable FColorMap;  // the local table, or a copy of the global one
};

class TGIFFrame {
 public:
  explicit TGIFFrame(TGIFImage* AOwner) : FOwner(AOwner) {}
  TGIFFrame(const TGIFFrame&) = delete;
  TGIFFrame& operator=(const TGIFFrame&) = delete;

  TGIFImage* Owner() const { return FOwner; }
  const TGIFItem& Item() const { return FImage; }
  const std::vector<TGIFExtension>& Extensions() const { return FExtensions; }
  TPoint TopLeft() const { return FTopLeft; }
  int32_t Width() const { return FImage.FWidth; }
  int32_t Height() const { return FImage.FHeight; }
  bool Interlaced() const { return FInterlaced; }
  bool Corrupted() const { return FCorrupted; }
  TColor TransparentColor() const { return FTransparentColor; }  // clNone when none
  bool HasTransparentColor() const { return FTransparentColor != clNone; }
  uint16_t AnimateInterval() const { return FAnimateInterval; }  // milliseconds
  TDisposalMethod Disposal() const { return FDisposal; }
  bool LocalColors() const { return FLocalColors; }

  // The decoded picture of this frame alone, decoded on first use and kept.
  // Raises EInvalidGraphic for a frame without colours and EOutOfResources
  // for one over the pixel-store cap. The reference stays good until another
  // frame is decoded: past TGIFImage::DecodedBudgetBytes() that lets the
  // other frames' pictures go.
  const TBitmap& Bitmap();
  bool Decoded() const { return FBitmap != nullptr; }
  // Has neither a decoded bitmap nor encoded data.
  bool Blank() const { return !FBitmap && FImage.FImageData.empty(); }

 private:
  friend class TGIFImage;
  void Read(TByteReader& AReader, const TGIFHeader& AHeader, uint16_t AScreenWidth,
            uint16_t AScreenHeight);
  void ApplyGraphicControl(const TGIFExtension& AExtension);
  void MakeTransparentColorUnique(int32_t AIndex);
  void Decode();

  TGIFImage* FOwner;
  std::unique_ptr<TBitmap> FBitmap;
  TGIFItem FImage;  // the frame as encoded in the file
  std::vector<TGIFExtension> FExtensions;
  TPoint FTopLeft;
  bool FInterlaced = false;
  bool FCorrupted = false;
  TColor FTransparentColor = clNone;
  uint16_t FAnimateInterval = 0;
  TDisposalMethod FDisposal = dmUndefined;
  bool FLocalColors = false;
};

class TGIFImage {
 public:
  TGIFImage();
  ~TGIFImage();
  TGIFImage(const TGIFImage&) = delete;
  TGIFImage& operator=(const TGIFImage&) = delete;

  // Reads the stored form: a signed 32-bit little-endian byte count N, then N
  // bytes of GIF. N <= 0 leaves the image empty; an N larger than the bytes
  // present fails with EReadError before anything is parsed.
  void ReadData(const uint8_t* AData, size_t ASize);
  // Reads ASize bytes of a GIF file.
  void LoadFromGIF(const uint8_t* AData, size_t ASize);
  // No frames, FFrameIndex -1, fresh header; the transparent flag stays.
  void Clear();

  int32_t Count() const { return int32_t(FItems.size()); }
  TGIFFrame& Frames(int32_t AIndex) { return *FItems.at(size_t(AIndex)); }
  const TGIFFrame& Frames(int32_t AIndex) const { return *FItems.at(size_t(AIndex)); }

  const TGIFHeader& Header() const { return FImage; }
  TGIFVersion Version() const { return FVersion; }
  int32_t FrameIndex() const { return FFrameIndex; }
  uint16_t ScreenWidth() const { return FScreenWidth; }
  uint16_t ScreenHeight() const { return FScreenHeight; }
  TColor BackgroundColor() const { return FBackgroundColor; }  // clNone when none
  bool Looping() const { return FLooping; }
  bool Corrupted() const { return FCorrupted; }  // some frame's data was cut short
  uint16_t RepeatCount() const { return FRepeatCount; }

  // The picture's own transparent flag (true from construction).
  bool TransparentFlag() const { return FTransparent; }
  void SetTransparentFlag(bool AValue) { FTransparent = AValue; }
  // The flag is set and at least one frame has a transparent colour.
  bool Transparent() const;
  // No frames, or the current frame has neither a bitmap nor encoded data.
  bool Empty() const;

  // The one subscriber, told after every read (also one that failed, so that
  // it never keeps pictures of the image as it was before).
  std::function<void()> OnChange;

  // Decoded frames are kept; once their stores together would pass the
  // pixel-store cap, the others are let go and decoded again when asked for.
  static uint64_t DecodedBudgetBytes() { return PixelStoreCap(); }

 private:
  friend class TGIFFrame;
  void Parse(const uint8_t* AData, size_t ASize);
  void ReadExtension(TByteReader& AReader, std::vector<TGIFExtension>& AKept);
  void MakeRoomFor(const TGIFFrame& AFrame, uint64_t ABytes);
  void Changed();

  TGIFHeader FImage;  // the logical screen's header data, the global table
  TGIFVersion FVersion = gvUnknown;
  std::vector<std::unique_ptr<TGIFFrame>> FItems;
  int32_t FFrameIndex = -1;
  uint16_t FScreenWidth = 0, FScreenHeight = 0;
  TColor FBackgroundColor = clNone;
  bool FLooping = false;
  bool FCorrupted = false;
  uint16_t FRepeatCount = 1;
  bool FTransparent = true;

  uint64_t FDecodedBytes = 0;     // stores of the frames decoded now
  std::vector<uint8_t> FIndices;  // scratch: one frame's colour indices
};

}  // namespace tintbox
