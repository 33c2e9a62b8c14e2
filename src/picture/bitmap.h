// TBitmap: a picture's pixels in memory, with a reference-counted pixel store
// shared by copies and copied once, at the first drawing after an assignment.
//
// Whatever the file's depth, the store keeps one true-colour pixel per
// position as a TColor (0x00BBGGRR), row 0 at the top. A colour-table file is
// expanded through its table when it is read, so a colour read from the
// picture and painted back reads back unchanged, and every fill paints the
// exact brush colour (white included, whether or not the table holds it).
// The file's own format is kept beside the pixels in TBitmapFormat.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "picture/color.h"

namespace tintbox {

class TCanvas;

// The largest pixel store the program allocates; a bigger bitmap fails with
// EOutOfResources "Out of system resources" before anything is allocated.
inline constexpr uint64_t MaxPixelStoreBytes = 256ull * 1024 * 1024;

// The store cap in force: MaxPixelStoreBytes unless lowered. The fuzz targets
// lower it so that the same readers spend their time on parsing rather than on
// filling pictures near the real cap; it can never be raised above it.
uint64_t PixelStoreCap();
void SetPixelStoreCap(uint64_t ABytes);

// What the file said about its pixels; kept for copies and for the checker.
struct TBitmapFormat {
  int BitsPerPixel = 32;      // in-memory depth: the file's, or 32 for run-length files
  int FileBitsPerPixel = 32;  // the depth the file declared
  uint32_t Compression = 0;   // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
  bool HasMasks = false;      // bit-field masks given (16 and 32 bits)
  uint32_t RedMask = 0, GreenMask = 0, BlueMask = 0;
  std::vector<TColor> ColorTable;  // 1, 4 and 8 bits: at most 2, 16, 256 entries
  bool TopDown = false;            // rows stored top row first
  friend bool operator==(const TBitmapFormat&, const TBitmapFormat&) = default;
};

// The shared pixel store (one per loaded or drawn-on bitmap).
struct TBitmapImage {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<TColor> Pixels;  // Width * Height, row-major, row 0 at the top
  std::vector<uint8_t> Alpha;  // 32-bit files only: the fourth byte of each pixel
  TBitmapFormat Format;
};

class TBitmap {
 public:
  TBitmap();
  ~TBitmap();
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  // Shares ASource's pixel store; no pixel is copied here.
  void Assign(const TBitmap& ASource);

  // A fresh private store of AWidth x AHeight, every pixel AFill. Fails with
  // EOutOfResources for sizes whose store would exceed PixelStoreCap() and
  // with EInvalidGraphic for negative sizes.
  void SetSize(int32_t AWidth, int32_t AHeight, TColor AFill = clBlack, bool AWithAlpha = false);

  int32_t Width() const { return FImage->Width; }
  int32_t Height() const { return FImage->Height; }
  bool Empty() const { return FImage->Width == 0 || FImage->Height == 0; }
  const TBitmapFormat& Format() const { return FImage->Format; }
  void SetFormat(const TBitmapFormat& AFormat);  // unshares first

  // Read access never copies.
  const TColor* Pixels() const { return FImage->Pixels.data(); }
  const TColor* ScanLine(int32_t y) const { return Pixels() + size_t(y) * size_t(Width()); }
  const uint8_t* AlphaPlane() const {
    return FImage->Alpha.empty() ? nullptr : FImage->Alpha.data();
  }
  // The pixel at (x, y), or NoPixel outside the picture.
  TColor PixelAt(int32_t x, int32_t y) const {
    if (uint32_t(x) >= uint32_t(Width()) || uint32_t(y) >= uint32_t(Height())) return NoPixel;
    return FImage->Pixels[size_t(y) * size_t(Width()) + size_t(x)];
  }

  // Write access: takes a private copy of a shared store first.
  TColor* WritablePixels();
  uint8_t* WritableAlpha();  // nullptr without an alpha plane

  // True while another bitmap holds the same store.
  bool Shared() const { return FImage.use_count() > 1; }
  bool SharesStoreWith(const TBitmap& AOther) const { return FImage == AOther.FImage; }

  // The drawing surface: made on the first request, kept while the bitmap lives.
  TCanvas& Canvas();

  // Set by every drawing operation; Changed() sets it and tells the owner.
  // Changed(APart) says that only the pixels of APart changed (nothing when
  // it is empty); ChangedPart() is what the last change touched, nullopt for
  // anything, the size included.
  bool Modified = false;
  std::function<void()> OnChange;
  void Changed();
  void Changed(const TRect& APart);
  const std::optional<TRect>& ChangedPart() const { return FChangedPart; }

 private:
  void Unshare();
  std::shared_ptr<TBitmapImage> FImage;
  std::unique_ptr<TCanvas> FCanvas;
  std::optional<TRect> FChangedPart;
};

// Checked size of a true-colour store for AWidth x AHeight (64-bit arithmetic);
// throws EOutOfResources above PixelStoreCap().
uint64_t CheckedStoreBytes(int64_t AWidth, int64_t AHeight, bool AWithAlpha);

}  // namespace tintbox
