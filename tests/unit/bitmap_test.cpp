#include "picture/bitmap.h"

#include <gtest/gtest.h>

#include "picture/errors.h"

namespace tintbox {
namespace {

TEST(Bitmap, CopiesShareTheStoreUntilOneIsDrawnOn) {
  TBitmap a;
  a.SetSize(3, 2, RGB(1, 2, 3));
  TBitmap b;
  b.Assign(a);
  EXPECT_TRUE(b.SharesStoreWith(a));
  b.WritablePixels()[0] = clWhite;
  EXPECT_FALSE(b.SharesStoreWith(a));
  EXPECT_EQ(a.PixelAt(0, 0), RGB(1, 2, 3));
  EXPECT_EQ(b.PixelAt(0, 0), clWhite);
}

TEST(Bitmap, ReadsOutsideGiveNoPixel) {
  TBitmap a;
  a.SetSize(3, 2);
  for (auto [x, y] : {std::pair{-1, 0}, {3, 0}, {0, 2}, {0, -1}}) {
    EXPECT_EQ(a.PixelAt(x, y), NoPixel) << x << "," << y;
  }
}

TEST(Bitmap, StoresOver256MiBAreRefusedBeforeAllocation) {
  TBitmap a;
  EXPECT_THROW(a.SetSize(65536, 65536), EOutOfResources);
  EXPECT_THROW(a.SetSize(0x7FFFFFFF, 0x7FFFFFFF), EOutOfResources);
  EXPECT_NO_THROW(a.SetSize(8192, 8192));  // exactly 256 MiB
  EXPECT_THROW(a.SetSize(8192, 8193), EOutOfResources);
}

TEST(Bitmap, TheStoreCapCanBeLoweredButNeverRaised) {
  struct TRestore {
    ~TRestore() { SetPixelStoreCap(MaxPixelStoreBytes); }
  } restore;
  EXPECT_EQ(PixelStoreCap(), MaxPixelStoreBytes);
  TBitmap a;
  SetPixelStoreCap(4 * MaxPixelStoreBytes);
  EXPECT_EQ(PixelStoreCap(), MaxPixelStoreBytes);
  EXPECT_THROW(a.SetSize(8192, 8193), EOutOfResources);
  SetPixelStoreCap(4 * 1024);  // 1024 pixels
  EXPECT_NO_THROW(a.SetSize(32, 32));
  EXPECT_THROW(a.SetSize(32, 33), EOutOfResources);
  EXPECT_THROW(a.SetSize(32, 32, 0, /*AWithAlpha=*/true), EOutOfResources);  // 5 bytes a pixel
}

}  // namespace
}  // namespace tintbox
