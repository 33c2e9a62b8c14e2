// Colour by number in the core: the distance to the outline, each wrong
// area's number at its furthest point and its size, the digits of the
// buttons and the ink that reads on a colour.
#include "rules/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "picture/areas.h"
#include "picture/canvas.h"

namespace tintbox {
namespace {

constexpr TColor K = clBlack, W = clWhite;
constexpr TColor Navy = RGB(40, 50, 120), Cream = RGB(255, 245, 200), Orange = RGB(250, 150, 40);

// A black picture of AW x AH with the pixels for which AInside holds
// painted AColor.
void Paint(TBitmap& ABitmap, int32_t AW, int32_t AH,
           const std::function<TColor(int32_t, int32_t)>& APixel) {
  ABitmap.SetSize(AW, AH, K);
  TColor* p = ABitmap.WritablePixels();
  for (int32_t y = 0; y < AH; ++y)
    for (int32_t x = 0; x < AW; ++x) p[size_t(y) * size_t(AW) + size_t(x)] = APixel(x, y);
}

// Squares of ASide in a row, one pixel of black between and round them, the
// k-th of AColors[k].
void Squares(TBitmap& ABitmap, int32_t ASide, const std::vector<TColor>& AColors) {
  const int32_t n = int32_t(AColors.size());
  Paint(ABitmap, n * (ASide + 1) + 1, ASide + 2, [&](int32_t x, int32_t y) {
    if (y == 0 || y == ASide + 1 || x % (ASide + 1) == 0) return K;
    return AColors[size_t(x / (ASide + 1))];
  });
}

// The squared distance to the nearest black pixel or the pixels beyond the
// edge, the slow way.
uint32_t BruteDistance2(const TBitmap& B, int32_t x, int32_t y) {
  if (B.PixelAt(x, y) == K) return 0;
  int64_t best = INT64_MAX;
  for (int32_t qy = -1; qy <= B.Height(); ++qy)
    for (int32_t qx = -1; qx <= B.Width(); ++qx) {
      const bool outside = qx < 0 || qy < 0 || qx >= B.Width() || qy >= B.Height();
      if (!outside && B.PixelAt(qx, qy) != K) continue;
      const int64_t dx = qx - x, dy = qy - y;
      best = std::min(best, dx * dx + dy * dy);
    }
  return uint32_t(best);
}

TEST(OutlineDistances, ExactAgainstEveryBlackPixelAndTheEdges) {
  struct Case {
    const char* What;
    int32_t W, H;
    std::function<TColor(int32_t, int32_t)> Pixel;
  } Cases[] = {
      {"one pixel", 1, 1, [](int32_t, int32_t) { return W; }},
      {"all black", 4, 3, [](int32_t, int32_t) { return K; }},
      {"no black: the edges alone", 13, 7, [](int32_t, int32_t) { return W; }},
      {"one row", 9, 1, [](int32_t x, int32_t) { return x == 3 ? K : W; }},
      {"scattered black", 23, 17,
       [](int32_t x, int32_t y) { return (x * 7 + y * 13) % 29 == 0 ? K : W; }},
      {"a disc of black", 21, 21,
       [](int32_t x, int32_t y) { return (x - 10) * (x - 10) + (y - 9) * (y - 9) < 20 ? K : W; }},
  };
  for (const Case& C : Cases) {
    TBitmap B;
    Paint(B, C.W, C.H, C.Pixel);
    const std::vector<uint32_t> Got = OutlineDistances2(B);
    ASSERT_EQ(Got.size(), size_t(C.W) * size_t(C.H)) << C.What;
    int Bad = 0;
    for (int32_t y = 0; y < C.H; ++y)
      for (int32_t x = 0; x < C.W; ++x) {
        const uint32_t Want = BruteDistance2(B, x, y), G = Got[size_t(y) * size_t(C.W) + size_t(x)];
        if (G != Want && ++Bad <= 3)
          ADD_FAILURE() << C.What << " (" << x << "," << y << "): got " << G << " want " << Want;
      }
  }
}

// The number of one area as the game would place it: the original picture
// scanned, the work blanked.
std::vector<TNumberMark> BlankAndPlace(const TBitmap& AOriginal, TBitmap& AWork,
                                       TColorsList& AList) {
  ScanPicture(AOriginal, AList);
  AWork.Assign(AOriginal);
  BlankPicture(AWork.Canvas(), AList);
  return PlaceNumbers(AWork, AList);
}

// Every pixel a mark may touch lies in the area of its centre, and its
// centre is at the area's greatest distance from the outline.
void ExpectInsideAtTheFurthest(const TBitmap& B, const TNumberMark& M, const char* AWhat) {
  SCOPED_TRACE(AWhat);
  const TAreaMap Areas = LabelAreas(B);
  const TPoint At{int32_t(std::floor(M.X)), int32_t(std::floor(M.Y))};
  ASSERT_NE(B.PixelAt(At.X, At.Y), K);
  const int32_t Area = Areas.At(At);
  const TRect R = M.Bounds();
  for (int32_t y = R.Top; y < R.Bottom; ++y)
    for (int32_t x = R.Left; x < R.Right; ++x)
      if (x < 0 || y < 0 || x >= B.Width() || y >= B.Height() || Areas.At({x, y}) != Area) {
        ADD_FAILURE() << "the mark reaches (" << x << "," << y << ") outside its area";
        return;
      }
  const std::vector<uint32_t> D = OutlineDistances2(B);
  uint32_t Best = 0;
  for (size_t i = 0; i < D.size(); ++i)
    if (Areas.Label[i] == Area) Best = std::max(Best, D[i]);
  // Where the area has more room than the largest digit needs, any point
  // with that much room will do.
  const uint32_t Here = D[size_t(At.Y) * size_t(B.Width()) + size_t(At.X)];
  const int32_t Largest = NumberHeightFor(std::sqrt(double(Best)));
  if (Largest < NumberMaxHeight)
    EXPECT_EQ(Here, Best);
  else
    EXPECT_EQ(NumberHeightFor(std::sqrt(double(Here))), NumberMaxHeight);
  EXPECT_GE(M.Height, NumberMinHeight);
  EXPECT_LE(M.Height, NumberMaxHeight);
}

TEST(PlaceNumbers, AtTheFurthestPointOfASquareAnLAStripAndARing) {
  struct Case {
    const char* What;
    int32_t W, H;
    std::function<bool(int32_t, int32_t)> Inside;
    double X, Y;    // where the mark's centre must be; < 0: anywhere at the furthest
    double Height;  // 0: anything the room allows
  } Cases[] = {
      {"a square of 21", 25, 25,
       [](int32_t x, int32_t y) { return x >= 2 && x < 23 && y >= 2 && y < 23; }, 12.5, 12.5, 0},
      // Of its four middle pixels, the first row by row.
      {"a large even square: the largest digit", 80, 80,
       [](int32_t x, int32_t y) { return x >= 5 && x < 75 && y >= 5 && y < 75; }, 39.5, 39.5,
       NumberMaxHeight},
      {"an L", 60, 60,
       [](int32_t x, int32_t y) {
         return x >= 1 && y >= 1 && x < 59 && y < 59 && (x < 21 || y >= 39);
       },
       -1, -1, 0},
      {"a large L: the largest digit where it fits", 150, 150,
       [](int32_t x, int32_t y) {
         return x >= 1 && y >= 1 && x < 149 && y < 149 && (x < 61 || y >= 89);
       },
       -1, -1, NumberMaxHeight},
      {"a strip: in the middle of its length", 101, 23,
       [](int32_t x, int32_t y) { return x >= 1 && x < 100 && y >= 1 && y < 22; }, 50.5, 11.5, 0},
      {"a ring round a black hole", 61, 61,
       [](int32_t x, int32_t y) {
         const int32_t d2 = (x - 30) * (x - 30) + (y - 30) * (y - 30);
         return d2 < 28 * 28 && d2 >= 8 * 8;
       },
       -1, -1, 0},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    TBitmap Original, Work;
    Paint(Original, C.W, C.H, [&](int32_t x, int32_t y) { return C.Inside(x, y) ? Orange : K; });
    TColorsList List;
    const std::vector<TNumberMark> Marks = BlankAndPlace(Original, Work, List);
    ASSERT_EQ(Marks.size(), 1u);
    const TNumberMark& M = Marks[0];
    EXPECT_EQ(M.Digit, '1');
    if (C.X >= 0) {
      EXPECT_EQ(M.X, C.X);
      EXPECT_EQ(M.Y, C.Y);
    }
    if (C.Height > 0) {
      EXPECT_EQ(M.Height, C.Height);
    }
    ExpectInsideAtTheFurthest(Work, M, C.What);
  }
}

// An area with no room for the smallest digit gets none (16 x 16: 8 pixels
// from its middle to the outline); one a pixel larger gets one.
TEST(PlaceNumbers, AnAreaTooSmallGetsNone) {
  for (const auto& [Side, Want] : {std::pair{16, 0u}, std::pair{17, 1u}}) {
    TBitmap Original, Work;
    Squares(Original, Side, {Orange});
    TColorsList List;
    const std::vector<TNumberMark> Marks = BlankAndPlace(Original, Work, List);
    ASSERT_EQ(Marks.size(), Want) << "side " << Side;
    if (Want) ExpectInsideAtTheFurthest(Work, Marks[0], "a pixel larger");
  }
}

// Only the areas the completion test finds wrong: a right one has none, a
// wrong fill keeps the number of the right colour, in ink for the wrong one.
TEST(PlaceNumbers, WrongAreasOnlyWithTheirEntrysDigit) {
  TBitmap Original, Work;
  Squares(Original, 25, {Orange, Navy, Cream, Orange});
  TColorsList List;
  ScanPicture(Original, List);  // entries in order found: Orange, Navy, Cream
  ASSERT_EQ(List.Count(), 3);
  Work.Assign(Original);
  BlankPicture(Work.Canvas(), List);
  TCanvas& Canvas = Work.Canvas();
  // The first square right, the second orange (wrong), the third still
  // blank, the fourth navy (wrong).
  Canvas.Brush.SetColor(Orange);
  Canvas.FloodFill(5, 5, K, fsBorder);
  Canvas.FloodFill(31, 5, K, fsBorder);
  Canvas.Brush.SetColor(Navy);
  Canvas.FloodFill(83, 5, K, fsBorder);
  const std::vector<TNumberMark> Marks = PlaceNumbers(Work, List);
  struct Want {
    double X;
    char Digit;
    TColor Ink, Edge;
  } Wants[] = {
      // In the order of the entries' wrong seed points.
      {78 + 13.5, '1', clWhite, clBlack},  // orange's second square, navy now: light on dark
      {26 + 13.5, '2', clBlack, clWhite},  // navy's square, orange now: dark on light
      {52 + 13.5, '3', clBlack, clWhite},  // cream's square, blank
  };
  ASSERT_EQ(Marks.size(), std::size(Wants));
  for (size_t k = 0; k < Marks.size(); ++k) {
    EXPECT_EQ(Marks[k].X, Wants[k].X) << k;
    EXPECT_EQ(Marks[k].Y, 13.5) << k;
    EXPECT_EQ(Marks[k].Digit, Wants[k].Digit) << k;
    EXPECT_EQ(Marks[k].Ink, Wants[k].Ink) << k;
    EXPECT_EQ(Marks[k].Edge, Wants[k].Edge) << k;
  }
  // Every seed right: no numbers at all.
  EXPECT_TRUE(PlaceNumbers(Original, List).empty());
}

// Ten colours: the tenth button's digit is 0, as its key; nothing past it.
TEST(PlaceNumbers, TheTenthButtonIsZero) {
  std::vector<TColor> Colors;
  for (int k = 0; k < 10; ++k) Colors.push_back(RGB(uint8_t(20 + 20 * k), 100, 200));
  TBitmap Original, Work;
  Squares(Original, 21, Colors);
  TColorsList List;
  const std::vector<TNumberMark> Marks = BlankAndPlace(Original, Work, List);
  std::string Digits;
  for (const TNumberMark& M : Marks) Digits += M.Digit;
  EXPECT_EQ(Digits, "1234567890");
  const char Want[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 0, 0};
  for (int k = 0; k < 12; ++k) EXPECT_EQ(PaletteDigit(k), Want[k]) << k;
  EXPECT_EQ(PaletteDigit(-1), 0);
}

TEST(NumberInk, DarkOnLightAndLightOnDark) {
  struct Case {
    TColor Background, Ink;
  } Cases[] = {
      {W, clBlack},    {Cream, clBlack}, {Orange, clBlack},           {RGB(255, 236, 0), clBlack},
      {Navy, clWhite}, {K, clWhite},     {RGB(150, 90, 40), clWhite}, {RGB(40, 130, 60), clWhite},
  };
  for (const Case& C : Cases) {
    TColor Ink, Edge;
    NumberInk(C.Background, Ink, Edge);
    EXPECT_EQ(Ink, C.Ink) << std::hex << C.Background;
    EXPECT_EQ(Edge, C.Ink == clBlack ? clWhite : clBlack) << std::hex << C.Background;
  }
  // A button's digit sits in its middle, in the ink for its colour.
  const TNumberMark M = ButtonNumber(9, Navy, 50);
  EXPECT_EQ(M.X, 25);
  EXPECT_EQ(M.Y, 25);
  EXPECT_EQ(M.Digit, '0');
  EXPECT_EQ(M.Height, ButtonNumberHeight);
  EXPECT_EQ(M.Ink, clWhite);
}

}  // namespace
}  // namespace tintbox
