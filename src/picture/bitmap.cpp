#include "picture/bitmap.h"

#include <algorithm>
#include <atomic>

#include "picture/canvas.h"
#include "picture/errors.h"

namespace tintbox {

TBitmap::TBitmap() : FImage(std::make_shared<TBitmapImage>()) {}
TBitmap::~TBitmap() = default;

void TBitmap::Assign(const TBitmap& ASource) {
  if (&ASource == this) return;
  FImage = ASource.FImage;
  Changed();
}

namespace {
std::atomic<uint64_t> StoreCap{MaxPixelStoreBytes};
}  // namespace

uint64_t PixelStoreCap() {
  return StoreCap.load(std::memory_order_relaxed);
}

void SetPixelStoreCap(uint64_t ABytes) {
  StoreCap.store(std::min(ABytes, MaxPixelStoreBytes), std::memory_order_relaxed);
}

uint64_t CheckedStoreBytes(int64_t AWidth, int64_t AHeight, bool AWithAlpha) {
  if (AWidth < 0 || AHeight < 0) throw EInvalidGraphic(SInvalidBitmap);
  // Each factor is below 2^31, so the product fits in 64 bits.
  const uint64_t pixels = uint64_t(AWidth) * uint64_t(AHeight);
  const uint64_t perPixel = sizeof(TColor) + (AWithAlpha ? 1 : 0);
  if (pixels > PixelStoreCap() / perPixel) throw EOutOfResources(SOutOfResources);
  return pixels * perPixel;
}

void TBitmap::SetSize(int32_t AWidth, int32_t AHeight, TColor AFill, bool AWithAlpha) {
  CheckedStoreBytes(AWidth, AHeight, AWithAlpha);
  auto image = std::make_shared<TBitmapImage>();
  image->Width = AWidth;
  image->Height = AHeight;
  image->Pixels.assign(size_t(AWidth) * size_t(AHeight), AFill);
  if (AWithAlpha) image->Alpha.assign(size_t(AWidth) * size_t(AHeight), 255);
  image->Format = FImage->Format;
  FImage = std::move(image);
}

void TBitmap::SetFormat(const TBitmapFormat& AFormat) {
  Unshare();
  FImage->Format = AFormat;
}

void TBitmap::Unshare() {
  if (FImage.use_count() > 1) FImage = std::make_shared<TBitmapImage>(*FImage);
}

TColor* TBitmap::WritablePixels() {
  Unshare();
  return FImage->Pixels.data();
}

uint8_t* TBitmap::WritableAlpha() {
  Unshare();
  return FImage->Alpha.empty() ? nullptr : FImage->Alpha.data();
}

TCanvas& TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TCanvas>(*this);
  return *FCanvas;
}

void TBitmap::Changed() {
  FChangedPart.reset();
  Modified = true;
  if (OnChange) OnChange();
}

void TBitmap::Changed(const TRect& APart) {
  FChangedPart = APart;
  Modified = true;
  if (OnChange) OnChange();
}

}  // namespace tintbox
