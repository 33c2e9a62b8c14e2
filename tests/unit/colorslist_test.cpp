#include "rules/colorslist.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "common/testbitmaps.h"
#include "picture/errors.h"

namespace tintbox {
namespace {

using testhelp::MakeBitmap;

constexpr TColor R = RGB(255, 0, 0), G = RGB(0, 255, 0), B = RGB(0, 0, 255), W = clWhite,
                 K = clBlack;

std::string Describe(const TColorsList& AList) {
  std::string s;
  for (const TPColors& e : AList.colors) {
    s += std::to_string(e.color) + ":";
    for (const TPoint& p : e.points) s += " " + std::to_string(p.X) + "," + std::to_string(p.Y);
    s += "; ";
  }
  return s;
}

std::vector<TColor> Order(const TColorsList& AList) {
  std::vector<TColor> order;
  for (const TPColors& e : AList.colors) order.push_back(e.color);
  return order;
}

TEST(ColorsList, AddRecordsTheFirstPixelOfEachRunAndSkipsBlack) {
  TColorsList list;
  EXPECT_EQ(list.lastcolor, 0u);
  list.Add(R, {0, 0});
  list.Add(R, {0, 1});  // same run
  list.Add(K, {0, 2});  // black ends the run
  list.Add(R, {0, 3});  // new run of red
  list.Add(G, {0, 4});
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.colors[0].points, (std::vector<TPoint>{{0, 0}, {0, 3}}));
  EXPECT_EQ(list.colors[1].points, (std::vector<TPoint>{{0, 4}}));
  EXPECT_EQ(list.lastcolor, G);
  EXPECT_EQ(list.IndexOf(G), 1);
  EXPECT_EQ(list.IndexOf(B), -1);
  EXPECT_EQ(list.IndexOf(K), -1);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.lastcolor, G) << "Clear keeps the run memory";
}

TEST(ColorsList, AllBlackPictureGivesEmptyListThatIsCorrect) {
  TBitmap bmp;
  MakeBitmap(bmp, {{K, K, K}, {K, K, K}});
  TColorsList list;
  ScanPicture(bmp, list);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(list.IsCorrectColors(bmp));
  EXPECT_TRUE(list.IsCorrectColors(bmp.Canvas()));
}

TEST(ColorsList, ScanTable) {
  struct Case {
    const char* name;
    std::initializer_list<std::vector<TColor>> rows;
    std::string want;
  };
  const std::string r = std::to_string(R) + ":", g = std::to_string(G) + ":",
                    w = std::to_string(W) + ":";
  const Case cases[] = {
      // Two red areas split by a black column: one entry, a point in each.
      {"same colour twice", {{R, K, R}, {R, K, R}}, r + " 0,0 2,0; "},
      // White is a colour like any other.
      {"white recorded", {{W, K, G}}, w + " 0,0; " + g + " 2,0; "},
      // Column 0 ends red, column 1 starts red: no seed at 1,0; the red
      // after black in column 2 starts a new run.
      {"run goes on across columns", {{G, R, K}, {R, K, R}}, g + " 0,0; " + r + " 0,1 2,1; "},
      // Colours change inside a column: each change is a run start.
      {"changes in a column", {{R}, {G}, {R}}, r + " 0,0 0,2; " + g + " 0,1; "},
  };
  for (const Case& c : cases) {
    TBitmap bmp;
    MakeBitmap(bmp, c.rows);
    TColorsList list;
    ScanPicture(bmp, list);
    EXPECT_EQ(Describe(list), c.want) << c.name;
  }
}

TEST(ColorsList, EveryOpeningScansAlike) {
  // The previous picture ends on red; the next starts with red. Opened after
  // it or first, the second picture gets the same colours and seeds.
  TBitmap first, second;
  MakeBitmap(first, {{G, R}});
  MakeBitmap(second, {{R, K}, {R, G}});
  TColorsList fresh;
  ScanPicture(second, fresh);
  TColorsList reused;
  ScanPicture(first, reused);
  EXPECT_EQ(reused.lastcolor, R);
  ScanPicture(second, reused);
  EXPECT_EQ(Describe(reused), Describe(fresh));
  EXPECT_EQ(Describe(fresh), std::to_string(R) + ": 0,0; " + std::to_string(G) + ": 1,1; ");
}

TEST(ColorsList, IsCorrectColorsLooksAtSeedPointsOnly) {
  TBitmap bmp;
  MakeBitmap(bmp, {{R, K, G}, {R, K, G}});
  TColorsList list;
  ScanPicture(bmp, list);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_TRUE(list.IsCorrectColors(bmp));
  TColor* p = bmp.WritablePixels();
  p[3] = B;  // (0,1): red area but not a seed point
  EXPECT_TRUE(list.IsCorrectColors(bmp));
  EXPECT_TRUE(list.IsCorrectColors(bmp.Canvas()));
  p[2] = W;  // (2,0): the green seed
  EXPECT_FALSE(list.IsCorrectColors(bmp));
  EXPECT_FALSE(list.IsCorrectColors(bmp.Canvas()));
}

TEST(ColorsList, BlankPictureWhitensSeededAreasUpToBlack) {
  // Red, green, red, an unseeded red area at (4,0) (column 3 ends red), white.
  TBitmap bmp;
  MakeBitmap(bmp, {{R, K, K, K, R, K, W}, {K, G, K, R, K, K, W}});
  TColorsList list;
  ScanPicture(bmp, list);
  TCanvas& canvas = bmp.Canvas();
  canvas.Brush.SetColor(B);
  BlankPicture(canvas, list);
  EXPECT_EQ(canvas.Brush.Color(), W);
  const std::vector<TColor> want{W, K, K, K, R, K, W, K, W, K, W, K, K, W};
  for (int32_t i = 0; i < 14; ++i) {
    EXPECT_EQ(bmp.PixelAt(i % 7, i / 7), want[size_t(i)]) << "pixel " << i % 7 << "," << i / 7;
  }
  EXPECT_FALSE(list.IsCorrectColors(canvas));
  // Filling every seed point with its colour solves it.
  for (const TPColors& e : list.colors) {
    canvas.Brush.SetColor(e.color);
    for (const TPoint& p : e.points) canvas.FloodFill(p.X, p.Y, K, fsBorder);
  }
  EXPECT_TRUE(list.IsCorrectColors(canvas));
}

TEST(ColorsList, ShuffleOfZeroAndOneEntryLeavesTheList) {
  TRandom random(1234);
  TColorsList list;
  EXPECT_NO_THROW(list.Shuffle(random));
  EXPECT_EQ(list.Count(), 0);
  list.Add(R, {0, 0});
  EXPECT_NO_THROW(list.Shuffle(random));
  EXPECT_EQ(Order(list), std::vector<TColor>{R});
  EXPECT_EQ(list.colors[0].points, (std::vector<TPoint>{TPoint{0, 0}}));
}

TEST(ColorsList, ShuffleOfTwoAlwaysSwaps) {
  for (uint32_t seed : {0u, 1u, 0x80000000u, 0xFFFFFFFFu, 12345u}) {
    TRandom random(seed);
    TColorsList list;
    list.Add(R, {0, 0});
    list.Add(G, {0, 1});
    list.Shuffle(random);
    EXPECT_EQ(Order(list), (std::vector<TColor>{G, R})) << "seed " << seed;
    EXPECT_EQ(list.colors[0].points, (std::vector<TPoint>{TPoint{0, 1}})) << "points go along";
  }
}

TEST(ColorsList, ShuffleOfThreeGivesTwoOrdersAboutHalfEach) {
  int secondFirstThird = 0, secondThirdFirst = 0;
  const int runs = 2000;
  for (int seed = 0; seed < runs; ++seed) {
    TRandom random(uint32_t(seed) * 2654435761u);
    TColorsList list;
    list.Add(R, {0, 0});
    list.Add(G, {0, 1});
    list.Add(B, {0, 2});
    list.Shuffle(random);
    const std::vector<TColor> order = Order(list);
    if (order == std::vector<TColor>{G, R, B}) {
      ++secondFirstThird;
    } else if (order == std::vector<TColor>{G, B, R}) {
      ++secondThirdFirst;
    } else {
      ADD_FAILURE() << "unexpected order for seed " << seed;
    }
  }
  EXPECT_EQ(secondFirstThird + secondThirdFirst, runs);
  EXPECT_GT(secondFirstThird, runs * 4 / 10) << "got " << secondFirstThird << " of " << runs;
  EXPECT_GT(secondThirdFirst, runs * 4 / 10) << "got " << secondThirdFirst << " of " << runs;
}

TEST(ColorsList, ShuffleOfTenIsAPermutationWithTheSecondFirst) {
  std::vector<TColor> seen;
  for (uint32_t seed : {7u, 99u}) {
    TRandom random(seed);
    TColorsList list;
    for (int i = 0; i < 10; ++i) list.Add(RGB(uint8_t(i + 1), 0, 0), {0, i});
    list.Shuffle(random);
    ASSERT_EQ(list.Count(), 10);
    EXPECT_EQ(list.colors[0].color, RGB(2, 0, 0));
    std::vector<bool> present(10, false);
    for (const TPColors& e : list.colors) {
      const int i = GetRValue(e.color) - 1;
      ASSERT_TRUE(i >= 0 && i < 10);
      EXPECT_FALSE(present[size_t(i)]) << "duplicate " << i;
      present[size_t(i)] = true;
      EXPECT_EQ(e.points, (std::vector<TPoint>{TPoint{0, i}})) << "entry keeps its points";
    }
    if (seen.empty()) {
      seen = Order(list);
    } else {
      EXPECT_NE(Order(list), seen) << "two seeds gave the same order";
    }
  }
}

TEST(ColorsList, ShuffleFollowsTheRandomSource) {
  // Seed 0, four entries: the states 1, 134775814, 3698175007, 870078620
  // give r = 1, 1, 2, 1: swap, stay, stay, move the fourth to position 1.
  TRandom random(0);
  TColorsList list;
  for (TColor c : {R, G, B, W}) list.Add(c, {0, 0});
  list.Shuffle(random);
  EXPECT_EQ(Order(list), (std::vector<TColor>{G, W, R, B}));
  EXPECT_EQ(random.State(), 870078620u);
}

TEST(Random, LinearCongruentialDraws) {
  TRandom random(0);
  EXPECT_EQ(random.Draw(0), 0u);
  EXPECT_EQ(random.State(), 1u);
  EXPECT_EQ(random.Draw(100), 3u);  // 134775814 * 100 >> 32
  EXPECT_EQ(random.State(), 134775814u);
  random.SetState(0xFFFFFFFFu);
  // state * 134775813 + 1 wraps: 0xFFFFFFFF * 134775813 + 1 = -134775812 mod 2^32.
  const uint32_t want = uint32_t(0u - 134775812u);
  const uint32_t got = random.Draw(0xFFFFFFFFu);
  EXPECT_EQ(random.State(), want);
  EXPECT_EQ(got, uint32_t((uint64_t(want) * 0xFFFFFFFFull) >> 32));
}

TEST(Random, RandomizeXorsTheHalvesOfTheCounter) {
  Randomize(0x0000000100000003ull);
  EXPECT_EQ(ProgramRandom().State(), 2u);
  Randomize(0xDEADBEEF00000000ull);
  EXPECT_EQ(ProgramRandom().State(), 0xDEADBEEFu);
}

}  // namespace
}  // namespace tintbox
