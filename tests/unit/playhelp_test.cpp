// Help for a stuck player: where a click on an outline starts its fill, and
// the hint's overlay of the areas the completion test finds wrong.
#include "rules/playhelp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/testbitmaps.h"
#include "picture/canvas.h"

namespace tintbox {
namespace {

using testhelp::MakeBitmap;

constexpr TColor R = RGB(255, 0, 0), G = RGB(0, 255, 0), W = clWhite, K = clBlack;

std::string Str(TPoint P) {
  return "(" + std::to_string(P.X) + "," + std::to_string(P.Y) + ")";
}

TEST(FillStartPoint, SnapsFromBlackToTheNearestOtherPixel) {
  // Two 2 x 2 areas in a frame, a divider between them; one lone red pixel
  // in the corner of a wide black band below.
  TBitmap bmp;
  MakeBitmap(bmp, {
                      {K, K, K, K, K, K, K, K},
                      {K, R, R, K, G, G, K, K},
                      {K, R, R, K, G, G, K, K},
                      {K, K, K, K, K, K, K, K},
                      {K, K, K, K, K, K, K, K},
                      {K, K, K, K, K, K, K, K},
                      {K, K, K, K, K, K, K, K},
                      {R, K, K, K, K, K, K, K},
                  });
  struct Case {
    TPoint At, Want;
    const char* What;
  } Cases[] = {
      {{1, 1}, {1, 1}, "not black: stays"},
      {{-1, 0}, {-1, 0}, "outside the picture: stays"},
      {{8, 1}, {8, 1}, "outside, beside an area: stays"},
      {{0, 0}, {1, 1}, "outer corner: the diagonal neighbour"},
      {{3, 1}, {2, 1}, "divider: left and right tie, the left column first"},
      {{3, 0}, {2, 1}, "frame above the divider: diagonals tie"},
      {{7, 1}, {5, 1}, "two columns off"},
      {{3, 4}, {2, 2}, "two rows below the divider: (2,2) and (4,2) tie"},
      {{3, 7}, {0, 7}, "exactly 3 away"},
      {{4, 7}, {4, 7}, "4 away: nothing near, stays"},
      {{6, 5}, {6, 5}, "no colour within 3: stays"},
  };
  for (const Case& C : Cases) {
    const TPoint Got = FillStartPoint(bmp, C.At);
    EXPECT_EQ(Got, C.Want) << C.What << ": got " << Str(Got) << " want " << Str(C.Want);
  }
}

// A fill changes the picture unless it starts off the picture or on black,
// or its whole area holds the brush colour already; an area of two colours
// touching without black between them counts as one.
TEST(FillChangesPicture, OnlyWhereAPixelTakesAnotherColour) {
  TBitmap bmp;
  MakeBitmap(bmp, {
                      {K, K, K, K, K, K, K},
                      {K, R, R, K, W, G, K},
                      {K, R, R, K, W, W, K},
                      {K, K, K, K, K, K, K},
                  });
  struct Case {
    TPoint At;
    TColor Brush;
    bool Want;
    const char* What;
  } Cases[] = {
      {{1, 1}, G, true, "red area, green brush"},
      {{2, 2}, R, false, "red area, red brush"},
      {{2, 2}, R | 0xFF000000u, false, "only the brush's colour part counts"},
      {{0, 0}, R, false, "on black"},
      {{-1, 1}, R, false, "left of the picture"},
      {{7, 1}, R, false, "right of the picture"},
      {{1, 4}, R, false, "below the picture"},
      {{4, 1}, W, true, "white with a green pixel, white brush"},
      {{5, 1}, G, true, "the green pixel of it, green brush"},
      {{4, 2}, G, true, "white and green, green brush"},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(FillChangesPicture(bmp, C.At, C.Brush), C.Want) << C.What << " at " << Str(C.At);

  // After the fill the area is one colour: filling it again changes nothing.
  TCanvas canvas(bmp);
  canvas.Brush.SetColor(G);
  canvas.FloodFill(4, 1, K, fsBorder);
  EXPECT_FALSE(FillChangesPicture(bmp, {4, 2}, G));
}

// Equally near pixels are taken column by column: (x - 1, y + 1) comes
// before (x + 1, y - 1), which a row-by-row order would take.
TEST(FillStartPoint, TiesGoToTheFirstInTheColumnScan) {
  TBitmap bmp;
  MakeBitmap(bmp, {
                      {K, K, G},
                      {K, K, K},
                      {R, K, K},
                  });
  EXPECT_EQ(FillStartPoint(bmp, {1, 1}), (TPoint{0, 2}));
}

// The overlay is see-through (clNone) except over the wrong areas.
std::vector<std::string> Marked(const TBitmap& AOverlay) {
  std::vector<std::string> rows;
  for (int32_t y = 0; y < AOverlay.Height(); ++y) {
    std::string row;
    for (int32_t x = 0; x < AOverlay.Width(); ++x) {
      const TColor c = AOverlay.PixelAt(x, y);
      row += c == clNone              ? '.'
             : c == HintColorA        ? 'A'
             : c == HintColorB        ? 'B'
             : c == HintRingColor     ? 'R'
             : c == HintRingEdgeColor ? 'W'
                                      : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

// A black picture of AW x AH with the rectangles' areas painted in.
struct TArea {
  int32_t Left, Top, Width, Height;
  TColor Color;
};
void Paint(TBitmap& ABitmap, int32_t AW, int32_t AH, const std::vector<TArea>& AAreas) {
  ABitmap.SetSize(AW, AH, K);
  TColor* p = ABitmap.WritablePixels();
  for (const TArea& a : AAreas)
    for (int32_t y = a.Top; y < a.Top + a.Height; ++y)
      for (int32_t x = a.Left; x < a.Left + a.Width; ++x) p[size_t(y) * size_t(AW) + x] = a.Color;
}

TEST(HintOverlay, MarksExactlyTheAreasWhoseSeedIsWrong) {
  // Three large areas (no rings): red, green and red again. The player
  // coloured the first one right, the second one red, the third not at all.
  TBitmap original, work;
  const std::vector<TArea> Areas = {{1, 1, 17, 17, R}, {19, 1, 17, 17, G}, {37, 1, 17, 17, R}};
  Paint(original, 55, 19, Areas);
  TColorsList list;
  ScanPicture(original, list);
  Paint(work, 55, 19, {{1, 1, 17, 17, R}, {19, 1, 17, 17, R}, {37, 1, 17, 17, W}});

  const auto overlay = HintOverlay(work, list);
  ASSERT_NE(overlay, nullptr);
  ASSERT_EQ(overlay->Width(), 55);
  ASSERT_EQ(overlay->Height(), 19);
  const std::vector<std::string> rows = Marked(*overlay);
  bool a = false, b = false;
  for (int32_t y = 0; y < 19; ++y)
    for (int32_t x = 0; x < 55; ++x) {
      const bool wrong = y >= 1 && y < 18 && ((x >= 19 && x < 36) || (x >= 37 && x < 54));
      const char c = rows[size_t(y)][size_t(x)];
      ASSERT_EQ(c != '.', wrong) << "at " << x << "," << y << ": '" << c << "'";
      a |= c == 'A';
      b |= c == 'B';
    }
  EXPECT_TRUE(a && b) << "both stripe colours show";
  // The picture itself is not touched.
  EXPECT_EQ(work.PixelAt(20, 2), R);
  EXPECT_EQ(work.PixelAt(40, 2), W);
}

TEST(HintOverlay, NothingWhenEverySeedIsRight) {
  TBitmap original;
  Paint(original, 12, 6, {{1, 1, 4, 4, R}, {6, 1, 5, 4, G}});
  TColorsList list;
  ScanPicture(original, list);
  EXPECT_EQ(HintOverlay(original, list), nullptr);
  // An area without a seed point of its own is not looked at, as the
  // completion test does not look at it: the red run at the top of column
  // 1 goes on from the bottom of column 0, so it records no seed.
  TBitmap seedless;
  MakeBitmap(seedless, {{K, R}, {K, K}, {R, K}});
  ScanPicture(seedless, list);
  ASSERT_EQ(list.Count(), 1);
  ASSERT_EQ(list.colors[0].points.size(), 1u);
  seedless.WritablePixels()[1] = G;
  EXPECT_EQ(HintOverlay(seedless, list), nullptr);
}

// An area of fewer than 16 x 16 pixels gets a ring round it: blue edged with
// white, radius 8 for a tiny area.
TEST(HintOverlay, SmallAreasGetARing) {
  struct Case {
    int32_t Width, Height;
    bool Ring;
  } Cases[] = {{1, 1, true}, {1, 3, true}, {15, 15, true}, {16, 16, false}, {2, 200, false}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Width << "x" << C.Height);
    const int32_t w = C.Width + 60, h = C.Height + 60;
    TBitmap original;
    Paint(original, w, h, {{30, 30, C.Width, C.Height, R}});
    TColorsList list;
    ScanPicture(original, list);
    TBitmap blank;
    Paint(blank, w, h, {{30, 30, C.Width, C.Height, W}});
    const auto overlay = HintOverlay(blank, list);
    ASSERT_NE(overlay, nullptr);
    int outside = 0;
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        const bool inArea = x >= 30 && x < 30 + C.Width && y >= 30 && y < 30 + C.Height;
        const TColor c = overlay->PixelAt(x, y);
        if (inArea) {
          EXPECT_NE(c, clNone) << "area pixel " << x << "," << y;
        } else if (c != clNone) {
          ++outside;
        }
      }
    EXPECT_EQ(outside > 0, C.Ring) << outside << " pixels outside the area";
  }

  // The tiny one's ring, along the row through its centre.
  TBitmap original, blank;
  Paint(original, 40, 20, {{20, 8, 1, 3, R}});
  Paint(blank, 40, 20, {{20, 8, 1, 3, W}});
  TColorsList list;
  ScanPicture(original, list);
  const auto overlay = HintOverlay(blank, list);
  ASSERT_NE(overlay, nullptr);
  EXPECT_EQ(Marked(*overlay)[9], "...........WRW......A......WRW..........");

  // Inside a large wrong area the ring lies over its stripes.
  const std::vector<TArea> Nested = {{1, 1, 38, 18, G}, {19, 7, 3, 5, K}, {20, 8, 1, 3, R}};
  Paint(original, 40, 20, Nested);
  ScanPicture(original, list);
  ASSERT_EQ(list.Count(), 2);
  Paint(blank, 40, 20, {{1, 1, 38, 18, W}, {19, 7, 3, 5, K}, {20, 8, 1, 3, W}});
  const auto nested = HintOverlay(blank, list);
  ASSERT_NE(nested, nullptr);
  EXPECT_EQ(Marked(*nested)[9].substr(10, 21), "BWRWABBBB.A.ABBBBWRWA");
}

// A ring round an area at the picture's edge is cut at the edge.
TEST(HintOverlay, RingsStopAtThePictureEdge) {
  TBitmap original, blank;
  Paint(original, 12, 12, {{0, 0, 1, 1, R}, {11, 11, 1, 1, G}});
  Paint(blank, 12, 12, {{0, 0, 1, 1, W}, {11, 11, 1, 1, W}});
  TColorsList list;
  ScanPicture(original, list);
  ASSERT_EQ(list.Count(), 2);
  const auto overlay = HintOverlay(blank, list);
  ASSERT_NE(overlay, nullptr);
  EXPECT_EQ(overlay->PixelAt(8, 0), HintRingColor);   // 8 from the top-left pixel
  EXPECT_EQ(overlay->PixelAt(3, 11), HintRingColor);  // 8 from the bottom-right one
  EXPECT_EQ(overlay->PixelAt(4, 0), clNone);
}

}  // namespace
}  // namespace tintbox
