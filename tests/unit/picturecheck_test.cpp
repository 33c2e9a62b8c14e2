#include "rules/picturecheck.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "common/testbitmaps.h"

namespace tintbox {
namespace {

using testhelp::MakeBitmap;

constexpr TColor R = RGB(255, 0, 0), G = RGB(0, 255, 0), K = clBlack;

std::string Kinds(const TPictureReport& AReport) {
  std::string s;
  for (const TPictureProblem& p : AReport.problems) s += std::to_string(int(p.kind)) + " ";
  return s;
}

int CountKind(const TPictureReport& AReport, TProblemKind AKind) {
  int n = 0;
  for (const TPictureProblem& p : AReport.problems) n += p.kind == AKind;
  return n;
}

TEST(PictureCheck, CleanPictureHasAreasAndNoProblems) {
  TBitmap bmp;
  std::vector<TColor> row{R, R, R, R, K, G, G, G, G};
  MakeBitmap(bmp, {row, row, row, row});
  const TPictureReport report = CheckPicture(bmp);
  EXPECT_EQ(report.problems.size(), 0u) << Kinds(report);
  ASSERT_EQ(report.areas.size(), 2u);
  EXPECT_EQ(report.areas[0].point, (TPoint{0, 0}));
  EXPECT_EQ(report.areas[0].color, R);
  EXPECT_EQ(report.areas[0].pixels, 16);
  EXPECT_EQ(report.areas[1].point, (TPoint{5, 0}));
  EXPECT_EQ(report.areas[1].color, G);
  EXPECT_TRUE(report.areas[0].seeded && report.areas[1].seeded);
  EXPECT_FALSE(report.StopsGame());
  EXPECT_FALSE(report.Unsolvable());
  EXPECT_EQ(report.colors.Count(), 2);
}

TEST(PictureCheck, DifferentColoursTouchingMakeItUnsolvable) {
  TBitmap bmp;
  MakeBitmap(bmp, {{R, R, G}, {K, K, K}});
  const TPictureReport report = CheckPicture(bmp);
  ASSERT_EQ(CountKind(report, TProblemKind::TouchingColors), 1) << Kinds(report);
  const TPictureProblem& p = report.problems[0];
  EXPECT_EQ(p.point, (TPoint{1, 0}));
  EXPECT_EQ(p.text,
            "#FF0000 and #00FF00 touch without black at 1,0: the picture can never be solved");
  EXPECT_TRUE(report.Unsolvable());
  ASSERT_EQ(report.areas.size(), 1u);
  EXPECT_TRUE(report.areas[0].mixed);
}

TEST(PictureCheck, DiagonalNeighboursDoNotTouch) {
  TBitmap bmp;
  MakeBitmap(bmp, {{R, K}, {K, G}});
  const TPictureReport report = CheckPicture(bmp);
  EXPECT_EQ(CountKind(report, TProblemKind::TouchingColors), 0) << Kinds(report);
  EXPECT_EQ(report.areas.size(), 2u);
}

TEST(PictureCheck, AreaWithoutSeedPoint) {
  // Column 0 ends red and column 1 starts red in an area of its own: the
  // scan records no seed there.
  TBitmap bmp;
  MakeBitmap(bmp, {{K, R}, {R, K}});
  const TPictureReport report = CheckPicture(bmp);
  ASSERT_EQ(report.areas.size(), 2u);
  EXPECT_TRUE(report.areas[0].seeded);
  EXPECT_FALSE(report.areas[1].seeded);
  ASSERT_EQ(CountKind(report, TProblemKind::NoSeed), 1) << Kinds(report);
  for (const TPictureProblem& p : report.problems) {
    if (p.kind == TProblemKind::NoSeed) {
      EXPECT_EQ(p.point, (TPoint{1, 0}));
    }
  }
  EXPECT_FALSE(report.Unsolvable());
}

TEST(PictureCheck, GreyAndStrayOutlineColours) {
  struct Case {
    const char* name;
    TColor odd;
    TProblemKind want;
  } cases[] = {
      {"near black", RGB(40, 40, 40), TProblemKind::GreyOutline},
      {"dark blue-black", RGB(10, 0, 63), TProblemKind::GreyOutline},
      {"pink along the outline", RGB(255, 128, 128), TProblemKind::StrayColor},
  };
  for (const Case& c : cases) {
    // A big red area with the odd colour as one pixel inside the outline.
    TBitmap bmp;
    std::vector<TColor> row(8, R);
    std::vector<TColor> line(8, K);
    std::vector<TColor> odd{c.odd, K, R, R, R, R, R, R};
    MakeBitmap(bmp, {odd, line, row, row, row});
    const TPictureReport report = CheckPicture(bmp);
    EXPECT_EQ(CountKind(report, c.want), 1) << c.name << ": " << Kinds(report);
    EXPECT_FALSE(report.Unsolvable()) << c.name;
  }
}

TEST(PictureCheck, DarkButCommonColourIsNotStray) {
  // A colour of many pixels is a real area, even when every channel is high
  // enough to pass and it lies by black.
  TBitmap bmp;
  std::vector<TColor> row(40, RGB(200, 100, 50));
  std::vector<TColor> line(40, K);
  MakeBitmap(bmp, {row, line});
  const TPictureReport report = CheckPicture(bmp);
  EXPECT_EQ(report.problems.size(), 0u) << Kinds(report);
}

TEST(PictureCheck, MoreThanTenColoursStopTheGame) {
  for (int colours : {10, 11}) {
    TBitmap bmp;
    bmp.SetSize(2 * colours, 1, K);
    TColor* p = bmp.WritablePixels();
    for (int i = 0; i < colours; ++i) p[2 * i] = RGB(uint8_t(100 + i), 200, 200);
    const TPictureReport report = CheckPicture(bmp);
    EXPECT_EQ(report.colors.Count(), colours);
    EXPECT_EQ(report.StopsGame(), colours > MaxColors) << colours << " colours";
    EXPECT_EQ(CountKind(report, TProblemKind::TinyArea), colours);
  }
}

TEST(PictureCheck, LargerThanTheViewAndEmpty) {
  TBitmap wide;
  wide.SetSize(641, 1, K);
  EXPECT_EQ(CountKind(CheckPicture(wide), TProblemKind::TooLarge), 1);
  TBitmap fits;
  fits.SetSize(640, 480, K);
  EXPECT_EQ(CheckPicture(fits).problems.size(), 0u);
  TBitmap empty;
  const TPictureReport report = CheckPicture(empty);
  EXPECT_EQ(report.areas.size(), 0u);
  EXPECT_EQ(report.problems.size(), 0u);
}

TEST(PictureCheck, ColorText) {
  EXPECT_EQ(ColorText(RGB(0x12, 0xAB, 0xEF)), "#12ABEF");
  EXPECT_EQ(ColorText(clWhite), "#FFFFFF");
}

}  // namespace
}  // namespace tintbox
