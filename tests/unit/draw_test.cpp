#include "picture/draw.h"

#include <gtest/gtest.h>

#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

namespace tintbox {
namespace {

std::string Str(const TRect& R) {
  return "(" + std::to_string(R.Left) + "," + std::to_string(R.Top) + ")-(" +
         std::to_string(R.Right) + "," + std::to_string(R.Bottom) + ")";
}

// A target surface over its own pixels, filled with one value; a stride wider
// than the width shows any write past a row's end.
struct TTarget {
  TTarget(int32_t AWidth, int32_t AHeight, uint32_t AFill, int32_t AExtra = 2)
      : Pixels(size_t(AWidth + AExtra) * size_t(AHeight), AFill),
        Surface{Pixels.data(), AWidth, AHeight, AWidth + AExtra} {}
  uint32_t At(int32_t x, int32_t y) const { return Surface.Row(y)[x]; }
  std::vector<uint32_t> Pixels;
  TSurface32 Surface;
};

// Distinct colours per source pixel: red = 10 * x + 1, green = 10 * y + 1.
TColor Tag(int32_t x, int32_t y) {
  return RGB(uint8_t(10 * x + 1), uint8_t(10 * y + 1), 7);
}

void BuildTagged(TBitmap& ABitmap, int32_t AWidth, int32_t AHeight, bool AAlpha = false) {
  ABitmap.SetSize(AWidth, AHeight, clBlack, AAlpha);
  TColor* p = ABitmap.WritablePixels();
  for (int32_t y = 0; y < AHeight; ++y)
    for (int32_t x = 0; x < AWidth; ++x) p[y * AWidth + x] = Tag(x, y);
}

// The source pixel each target pixel shows, as "x,y" ("..." where untouched),
// one line per row.
std::string Describe(const TTarget& ATarget, uint32_t AUntouched) {
  std::ostringstream s;
  for (int32_t y = 0; y < ATarget.Surface.Height; ++y) {
    s << "\n";
    for (int32_t x = 0; x < ATarget.Surface.Width; ++x) {
      const uint32_t p = ATarget.At(x, y);
      if (x) s << " ";
      if (p == AUntouched) {
        s << "...";
      } else {
        const TColor c = FromRGB32(p);
        s << (GetRValue(c) - 1) / 10 << "," << (GetGValue(c) - 1) / 10;
      }
    }
  }
  return s.str();
}

TEST(PlacePicture, FollowsStretchProportionalAndCenter) {
  struct {
    const char* Name;
    int32_t W, H, CW, CH;
    bool Stretch, Proportional, Center;
    TRect Want;
  } cases[] = {
      {"own size at the top-left", 100, 50, 640, 480, false, false, false, {0, 0, 100, 50}},
      {"larger picture is cut off, not shrunk",
       800,
       600,
       640,
       480,
       false,
       false,
       false,
       {0, 0, 800, 600}},
      {"stretch fills the client whatever the proportions",
       100,
       50,
       340,
       255,
       true,
       false,
       false,
       {0, 0, 340, 255}},
      {"stretch of an empty picture", 0, 0, 340, 255, true, true, false, {0, 0, 340, 255}},
      {"proportional: wide picture shrunk to the width",
       800,
       400,
       256,
       256,
       false,
       true,
       false,
       {0, 0, 256, 128}},
      {"proportional: tall picture shrunk to the height",
       300,
       600,
       256,
       256,
       false,
       true,
       false,
       {0, 0, 128, 256}},
      {"proportional: the wait picture, 512 into 256",
       512,
       512,
       256,
       256,
       false,
       true,
       false,
       {0, 0, 256, 256}},
      {"proportional: smaller picture keeps its size",
       100,
       50,
       256,
       256,
       false,
       true,
       false,
       {0, 0, 100, 50}},
      {"proportional: sizes are truncated", 3, 2, 100, 100, true, true, false, {0, 0, 100, 66}},
      {"proportional: wide but then too high",
       300,
       200,
       300,
       100,
       false,
       true,
       false,
       {0, 0, 150, 100}},
      {"proportional: tall but then too wide",
       100,
       200,
       40,
       600,
       false,
       true,
       false,
       {0, 0, 40, 80}},
      {"proportional with stretch enlarges a smaller picture",
       100,
       50,
       340,
       255,
       true,
       true,
       false,
       {0, 0, 340, 170}},
      {"center moves a smaller picture by half the room",
       100,
       50,
       341,
       255,
       false,
       false,
       true,
       {120, 102, 220, 152}},
      {"center of a larger picture moves it up and left (div truncates)",
       801,
       600,
       640,
       480,
       false,
       false,
       true,
       {-80, -60, 721, 540}},
      {"proportional and center", 800, 400, 256, 256, false, true, true, {0, 64, 256, 192}},
  };
  for (const auto& c : cases) {
    const TRect got = PlacePicture(c.W, c.H, c.CW, c.CH, c.Stretch, c.Proportional, c.Center);
    EXPECT_EQ(got, c.Want) << c.Name << ": got " << Str(got) << " want " << Str(c.Want);
  }
}

TEST(StretchDraw, EachTargetPixelTakesOneSourcePixel) {
  // Source pixel of destination offset d is floor(d * source size / destination size).
  struct {
    const char* Name;
    int32_t SrcW, SrcH;
    TRect Dest;
    int32_t TargetW, TargetH;
    std::string Want;  // Describe() of the result
  } cases[] = {
      {"2x2 into 4x4 repeats rows and columns",
       2,
       2,
       {0, 0, 4, 4},
       4,
       4,
       "\n0,0 0,0 1,0 1,0"
       "\n0,0 0,0 1,0 1,0"
       "\n0,1 0,1 1,1 1,1"
       "\n0,1 0,1 1,1 1,1"},
      {"4x4 into 2x2 drops every other row and column",
       4,
       4,
       {0, 0, 2, 2},
       2,
       2,
       "\n0,0 2,0"
       "\n0,2 2,2"},
      {"3 into 2 and 2 into 3",
       3,
       2,
       {0, 0, 2, 3},
       2,
       3,
       "\n0,0 1,0"
       "\n0,0 1,0"
       "\n0,1 1,1"},
      {"1:1 at an offset leaves the rest",
       2,
       2,
       {1, 1, 3, 3},
       4,
       3,
       "\n... ... ... ..."
       "\n... 0,0 1,0 ..."
       "\n... 0,1 1,1 ..."},
      {"negative offsets clip the source's top-left",
       3,
       3,
       {-1, -2, 2, 1},
       3,
       2,
       "\n1,2 2,2 ..."
       "\n... ... ..."},
      {"scaled and clipped at the target's right and bottom",
       2,
       2,
       {1, 0, 5, 4},
       3,
       3,
       "\n... 0,0 0,0"
       "\n... 0,0 0,0"
       "\n... 0,1 0,1"},
      {"scaled and clipped at negative offsets",
       2,
       2,
       {-2, -1, 2, 3},
       2,
       2,
       "\n1,0 1,0"
       "\n1,1 1,1"},
      {"empty destination draws nothing", 2, 2, {1, 1, 1, 3}, 2, 2, "\n... ...\n... ..."},
      {"inverted destination draws nothing", 2, 2, {2, 2, 0, 0}, 2, 2, "\n... ...\n... ..."},
      {"destination wholly outside draws nothing", 2, 2, {5, 0, 7, 2}, 2, 2, "\n... ...\n... ..."},
  };
  const uint32_t untouched = 0x12345678;
  for (const auto& c : cases) {
    TBitmap source;
    BuildTagged(source, c.SrcW, c.SrcH);
    TTarget target(c.TargetW, c.TargetH, untouched);
    StretchDraw(target.Surface, c.Dest, source);
    // The padding beyond each row's width stays untouched.
    for (int32_t y = 0; y < c.TargetH; ++y)
      for (int32_t x = c.TargetW; x < target.Surface.StridePixels; ++x)
        EXPECT_EQ(target.At(x, y), untouched) << c.Name << ": wrote past the row at " << x;
    EXPECT_EQ(Describe(target, untouched), c.Want)
        << c.Name << "\n got:" << Describe(target, untouched) << "\n want:" << c.Want;
  }
}

TEST(StretchDraw, WritesOpaqueDisplayPixels) {
  TBitmap source;
  source.SetSize(1, 1, RGB(1, 2, 3));
  TTarget target(1, 1, 0);
  StretchDraw(target.Surface, TRect{0, 0, 1, 1}, source);
  EXPECT_EQ(target.At(0, 0), 0xFF010203u);
}

TEST(StretchDraw, EmptySourceOrTargetIsHarmless) {
  TBitmap empty;
  TTarget target(2, 2, 5);
  StretchDraw(target.Surface, TRect{0, 0, 2, 2}, empty);
  EXPECT_EQ(target.At(1, 1), 5u);
  TBitmap source;
  source.SetSize(2, 2);
  StretchDraw(TSurface32{}, TRect{0, 0, 2, 2}, source);  // no bits: nothing to do
  // Extreme rectangles neither overflow nor write outside.
  StretchDraw(target.Surface, TRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, source);
  EXPECT_EQ(target.At(0, 0), ToRGB32(clBlack));
}

TEST(KeyedStretchDraw, LeavesTheTargetWhereTheSourceHasTheKey) {
  const TColor key = clWhite, red = RGB(255, 0, 0);
  TBitmap source;
  source.SetSize(2, 1, red);
  source.WritablePixels()[1] = key;
  const uint32_t under = ToRGB32(RGB(173, 255, 91));
  TTarget target(4, 2, under);
  KeyedStretchDraw(target.Surface, TRect{0, 0, 4, 2}, source, key);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 4; ++x)
      EXPECT_EQ(target.At(x, y), x < 2 ? ToRGB32(red) : under) << x << "," << y;
}

TEST(BlendChannel, DividesBy256) {
  struct {
    uint8_t S, D, A, Want;
  } cases[] = {
      {255, 173, 255, 254}, {255, 255, 255, 255}, {255, 91, 255, 254}, {0, 200, 0, 200},
      {200, 0, 0, 0},       {255, 0, 128, 127},   {100, 50, 128, 75},  {0, 255, 255, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(int(BlendChannel(c.S, c.D, c.A)), int(c.Want))
        << "source " << int(c.S) << " over " << int(c.D) << " at alpha " << int(c.A);
}

TEST(AlphaStretchDraw, BlendsEachPixelWithItsOwnAlpha) {
  const TColor window = RGB(173, 255, 91);
  struct {
    const char* Name;
    TColor Source;
    uint8_t Alpha;
    TColor Want;
  } cases[] = {
      {"opaque white over the window colour", clWhite, 255, RGB(254, 255, 254)},
      {"alpha 0 leaves the target", RGB(82, 177, 177), 0, window},
      {"half alpha", RGB(0, 0, 0), 128, RGB(86, 127, 45)},
  };
  for (const auto& c : cases) {
    TBitmap source;
    source.SetSize(1, 1, c.Source, true);
    source.WritableAlpha()[0] = c.Alpha;
    TTarget target(1, 1, ToRGB32(window));
    AlphaStretchDraw(target.Surface, TRect{0, 0, 1, 1}, source);
    EXPECT_EQ(target.At(0, 0), ToRGB32(c.Want))
        << c.Name << std::hex << ": got " << target.At(0, 0) << " want " << ToRGB32(c.Want);
  }
}

TEST(AlphaStretchDraw, ABitmapWithoutAlphaCountsAsAlpha255) {
  TBitmap source;
  source.SetSize(1, 1, clWhite);
  ASSERT_EQ(source.AlphaPlane(), nullptr);
  TTarget target(1, 1, ToRGB32(RGB(173, 255, 91)));
  AlphaStretchDraw(target.Surface, TRect{0, 0, 1, 1}, source);
  EXPECT_EQ(target.At(0, 0), ToRGB32(RGB(254, 255, 254)));
}

TEST(CopyWithAlpha, KeepsEachPixelsOwnAlphaUnblended) {
  TBitmap withAlpha;
  withAlpha.SetSize(2, 2, RGB(10, 20, 30), true);
  withAlpha.WritableAlpha()[1] = 0;    // (1, 0)
  withAlpha.WritableAlpha()[2] = 128;  // (0, 1)
  TBitmap opaque;
  opaque.SetSize(2, 2, RGB(10, 20, 30));
  const uint32_t rgb = ToRGB32(RGB(10, 20, 30)) & 0x00FFFFFFu;
  struct {
    const char* Name;
    const TBitmap& Source;
    uint32_t Want[4];  // row by row
  } cases[] = {
      {"alpha plane", withAlpha, {rgb | 0xFF000000u, rgb, rgb | 0x80000000u, rgb | 0xFF000000u}},
      {"no alpha plane: 255",
       opaque,
       {rgb | 0xFF000000u, rgb | 0xFF000000u, rgb | 0xFF000000u, rgb | 0xFF000000u}},
  };
  for (const auto& c : cases) {
    TTarget target(3, 2, 0x12345678u);  // one column wider than the picture
    CopyWithAlpha(target.Surface, c.Source);
    for (int32_t i = 0; i < 4; ++i)
      EXPECT_EQ(target.At(i % 2, i / 2), c.Want[i]) << c.Name << " pixel " << i;
    EXPECT_EQ(target.At(2, 0), 0x12345678u) << c.Name << ": outside the picture";
  }
}

// In a 2:1 reduction every target pixel takes colour and alpha from one and
// the same source pixel: a checker of opaque white and transparent black
// whose kept pixels are all opaque white must come out as all white blend.
TEST(AlphaStretchDraw, ReductionTakesColourAndAlphaFromTheSamePixel) {
  const int32_t n = 8;
  TBitmap source;
  source.SetSize(n, n, clBlack, true);
  TColor* p = source.WritablePixels();
  uint8_t* a = source.WritableAlpha();
  for (int32_t y = 0; y < n; ++y)
    for (int32_t x = 0; x < n; ++x) {
      const bool white = (x + y) % 2 == 0;
      p[y * n + x] = white ? clWhite : clBlack;
      a[y * n + x] = white ? 255 : 0;
    }
  const TColor window = RGB(173, 255, 91);
  TTarget target(n / 2, n / 2, ToRGB32(window));
  AlphaStretchDraw(target.Surface, TRect{0, 0, n / 2, n / 2}, source);
  // Each target pixel takes the source pixel (2x, 2y), which is white and
  // opaque; a colour and alpha from different pixels would give black at 255
  // or white at 0, i.e. black or the window colour.
  for (int32_t y = 0; y < n / 2; ++y)
    for (int32_t x = 0; x < n / 2; ++x)
      EXPECT_EQ(target.At(x, y), ToRGB32(RGB(254, 255, 254))) << x << "," << y;
}

TEST(ShapeOutlineRect, StartsAtHalfThePenAndShrinksByThePen) {
  struct {
    int32_t W, H, Pen;
    TRect Want;
  } cases[] = {
      {64, 64, 2, {1, 1, 64, 64}}, {64, 64, 0, {0, 0, 64, 64}}, {64, 64, 1, {0, 0, 64, 64}},
      {64, 48, 3, {1, 1, 63, 47}}, {10, 10, 4, {2, 2, 9, 9}},
  };
  for (const auto& c : cases) {
    const TRect got = ShapeOutlineRect(c.W, c.H, c.Pen);
    EXPECT_EQ(got, c.Want) << c.W << "x" << c.H << " pen " << c.Pen << ": got " << Str(got)
                           << " want " << Str(c.Want);
  }
}

TEST(DrawShapeOutline, TheFrameLiesOnTheOutermostPenWidthRowsAndColumns) {
  struct {
    int32_t Size, Pen;
    int32_t Band;  // pixels from each edge that carry the pen; 0: nothing drawn
  } cases[] = {{64, 2, 2}, {64, 0, 0}, {64, 1, 1}, {64, 4, 4}, {9, 3, 3}};
  for (const auto& c : cases) {
    const uint32_t clear = 0;
    TTarget target(c.Size, c.Size, clear);
    DrawShapeOutline(target.Surface, c.Size, c.Size, c.Pen, clGray);
    int wrong = 0;
    for (int32_t y = 0; y < c.Size; ++y)
      for (int32_t x = 0; x < c.Size; ++x) {
        const bool edge = x < c.Band || y < c.Band || x >= c.Size - c.Band || y >= c.Size - c.Band;
        const uint32_t want = edge ? ToRGB32(clGray) : clear;
        if (target.At(x, y) != want && ++wrong <= 5)
          ADD_FAILURE() << "size " << c.Size << " pen " << c.Pen << " at " << x << "," << y
                        << std::hex << ": got " << target.At(x, y) << " want " << want;
      }
    for (int32_t y = 0; y < c.Size; ++y)
      EXPECT_EQ(target.At(c.Size, y), clear) << "wrote past the row, pen " << c.Pen;
  }
}

TEST(DrawShapeOutline, IsClippedToASmallerTarget) {
  TTarget target(3, 3, 0);
  DrawShapeOutline(target.Surface, 64, 64, 2, clGray);
  EXPECT_EQ(target.At(0, 0), ToRGB32(clGray));
  EXPECT_EQ(target.At(1, 2), ToRGB32(clGray));
  EXPECT_EQ(target.At(2, 2), 0u);
}

TEST(FillRect, FillsTheClippedRectangle) {
  struct {
    TRect R;
    int Painted;  // pixels of the 3x2 target painted
  } cases[] = {
      {{0, 0, 3, 2}, 6}, {{-5, -5, 1, 1}, 1}, {{2, 1, 9, 9}, 1},
      {{1, 0, 1, 2}, 0}, {{3, 0, 2, 2}, 0},   {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, 6},
  };
  for (const auto& c : cases) {
    TTarget target(3, 2, 0);
    FillRect(target.Surface, c.R, clWhite);
    int painted = 0;
    for (uint32_t p : target.Pixels) painted += p == ToRGB32(clWhite);
    EXPECT_EQ(painted, c.Painted) << "rect " << Str(c.R);
  }
}

}  // namespace
}  // namespace tintbox
