#include "picture/canvas.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <vector>

#include "common/testbitmaps.h"
#include "picture/errors.h"

namespace tintbox {
namespace {

constexpr TColor Red = RGB(255, 0, 0);
constexpr TColor Green = RGB(0, 255, 0);
constexpr TColor Blue = RGB(0, 0, 255);  // the brush in most cases below

// Tiny pictures as text: '#' black, '.' white, 'r' red, 'g' green, 'b' blue.
using testhelp::Show;
using TRows = testhelp::TRows;

void Build(TBitmap& ABitmap, const TRows& ARows) {
  testhelp::DrawRows(ABitmap, ARows, testhelp::RgbInks);
}
TRows Dump(const TBitmap& ABitmap) {
  return testhelp::RowsOf(ABitmap, testhelp::RgbInks);
}

struct TFillCase {
  const char* Name;
  std::vector<std::string> Before;
  int32_t X, Y;
  TColor Border;
  TFillStyle Style;
  TColor Brush;
  std::vector<std::string> After;
};

const std::vector<TFillCase>& FillCases() {
  static const std::vector<TFillCase> cases = {
      {"diagonal line of single border pixels closes the area",
       {"...#", "..#.", ".#..", "#..."},
       0,
       0,
       clBlack,
       fsBorder,
       Red,
       {"rrr#", "rr#.", "r#..", "#..."}},
      {"start on a border pixel paints nothing",
       {"...", ".#.", "..."},
       1,
       1,
       clBlack,
       fsBorder,
       Red,
       {"...", ".#.", "..."}},
      {"start left of the picture paints nothing",
       {"...", "..."},
       -1,
       0,
       clBlack,
       fsBorder,
       Red,
       {"...", "..."}},
      {"start right of the picture paints nothing",
       {"...", "..."},
       3,
       0,
       clBlack,
       fsBorder,
       Red,
       {"...", "..."}},
      {"start below the picture paints nothing",
       {"...", "..."},
       0,
       2,
       clBlack,
       fsBorder,
       Red,
       {"...", "..."}},
      {"area already in the brush colour stays as it is",
       {"#####", "#bbb#", "#bbb#", "#####"},
       2,
       1,
       clBlack,
       fsBorder,
       Blue,
       {"#####", "#bbb#", "#bbb#", "#####"}},
      {"area takes in the brush colour and other colours and goes on past them",
       {"#######", "#.b.r.#", "#gbbb.#", "#.b#..#", "#######"},
       1,
       1,
       clBlack,
       fsBorder,
       Blue,
       {"#######", "#bbbbb#", "#bbbbb#", "#bb#bb#", "#######"}},
      {"a wall of brush colour does not stop the fill",
       {"..b..", "..b..", "..b.."},
       0,
       0,
       clBlack,
       fsBorder,
       Blue,
       {"bbbbb", "bbbbb", "bbbbb"}},
      {"border pixels are never changed, whatever their place",
       {"#.#.#", ".#.#.", "#.#.#"},
       1,
       0,
       clBlack,
       fsBorder,
       Red,
       {"#r#.#", ".#.#.", "#.#.#"}},
      {"a border of another colour",
       {"..r..", "rrr..", "....."},
       0,
       0,
       Red,
       fsBorder,
       Green,
       {"ggr..", "rrr..", "....."}},
      {"a brush of the border colour",
       {"..#..", "###..", "....."},
       4,
       2,
       clBlack,
       fsBorder,
       clBlack,
       {"..###", "#####", "#####"}},
      {"spiral needs runs that leak up and down",
       {"........", ".######.", ".#....#.", ".#.##.#.", ".#.#..#.", ".#.####.", ".#......",
        ".#######"},
       4,
       4,
       clBlack,
       fsBorder,
       Red,
       {"rrrrrrrr", "r######r", "r#rrrr#r", "r#r##r#r", "r#r#rr#r", "r#r####r", "r#rrrrrr",
        "r#######"}},
      {"comb: teeth reached from below and above",
       {".#.#.#.", ".#.#.#.", ".......", "#.#.#.#", "#.#.#.#"},
       6,
       0,
       clBlack,
       fsBorder,
       Red,
       {"r#r#r#r", "r#r#r#r", "rrrrrrr", "#r#r#r#", "#r#r#r#"}},
      {"surface fill paints the 4-connected run of the start colour",
       {"rr.r", ".rr.", "r..r"},
       0,
       0,
       Red,
       fsSurface,
       Green,
       {"gg.r", ".gg.", "r..r"}},
      {"surface fill started off the surface colour paints nothing",
       {"rr", ".r"},
       0,
       1,
       Red,
       fsSurface,
       Green,
       {"rr", ".r"}},
      {"surface fill with the brush equal to the surface colour",
       {"rr.", "r.r"},
       0,
       0,
       Red,
       fsSurface,
       Red,
       {"rr.", "r.r"}},
  };
  return cases;
}

// Each fill test runs with the eight-pixel AVX2 loops (where the processor has
// them) and with the SSE2 or plain loops.
class CanvasFloodFill : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { FPrevious = SetFillAvx2(GetParam()); }
  void TearDown() override { SetFillAvx2(FPrevious); }
  bool FPrevious = true;
};
INSTANTIATE_TEST_SUITE_P(, CanvasFloodFill, ::testing::Values(true, false),
                         [](const auto& AInfo) { return AInfo.param ? "Avx2" : "Base"; });

TEST_P(CanvasFloodFill, PaintsTheAreaAndTellsTheBitmapEveryTime) {
  for (const TFillCase& c : FillCases()) {
    TBitmap bitmap;
    Build(bitmap, c.Before);
    int notified = 0;
    bitmap.OnChange = [&] { ++notified; };
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush.SetColor(c.Brush);
    canvas.FloodFill(c.X, c.Y, c.Border, c.Style);
    EXPECT_EQ(Dump(bitmap), c.After)
        << c.Name << "\n got:" << Show(Dump(bitmap)) << "\n want:" << Show(c.After);
    EXPECT_EQ(notified, 1) << c.Name;
    EXPECT_TRUE(bitmap.Modified) << c.Name;
  }
}

// The rectangle a fill returns (and tells the bitmap) holds every pixel it
// painted and no row or column more: a control repaints only that.
TEST_P(CanvasFloodFill, ReportsTheRectangleItPainted) {
  struct TCase {
    const char* Name;
    std::vector<std::string> Before;
    int32_t X, Y;
    TFillStyle Style;
    TRect Want;
  };
  const TCase cases[] = {
      {"area left of a column of black", {"..#..", "..#..", "..#.."}, 0, 0, fsBorder, {0, 0, 2, 3}},
      {"area right of it", {"..#..", "..#..", "..#.."}, 4, 1, fsBorder, {3, 0, 5, 3}},
      {"one pixel walled in", {"###", "#.#", "###"}, 1, 1, fsBorder, {1, 1, 2, 2}},
      {"round a wall", {"...", "##.", "..."}, 0, 0, fsBorder, {0, 0, 3, 3}},
      {"start on black", {"...", ".#.", "..."}, 1, 1, fsBorder, {}},
      {"start outside", {"..", ".."}, 2, 0, fsBorder, {}},
      {"surface of red", {"rr.", "r.r"}, 0, 0, fsSurface, {0, 0, 2, 2}},
  };
  for (const TCase& c : cases) {
    TBitmap bitmap;
    Build(bitmap, c.Before);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush.SetColor(Blue);
    const TRect got = canvas.FloodFill(c.X, c.Y, c.Style == fsBorder ? clBlack : Red, c.Style);
    EXPECT_EQ(got, c.Want) << c.Name << ": got " << got.Left << "," << got.Top << "," << got.Right
                           << "," << got.Bottom;
    ASSERT_TRUE(bitmap.ChangedPart().has_value()) << c.Name;
    EXPECT_EQ(*bitmap.ChangedPart(), c.Want) << c.Name;
  }
}

TEST_P(CanvasFloodFill, EmptyBitmapIsNotPaintedButNotified) {
  TBitmap bitmap;
  int notified = 0;
  bitmap.OnChange = [&] { ++notified; };
  bitmap.Canvas().FloodFill(0, 0, clBlack, fsBorder);
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(bitmap.Width(), 0);
}

// The store keeps colours of 0x00BBGGRR; a brush value with a high byte (set
// through Brush.Color, which gives back whatever was set) paints its colour
// part, so no pixel inside the picture can read back as "no pixel".
TEST_P(CanvasFloodFill, BrushValuesWithAHighBytePaintTheirColourPart) {
  for (TColor brush : {NoPixel, clNone, TColor(0x80000000u), TColor(0x40000000u)}) {
    TBitmap bitmap;
    Build(bitmap, {"..", ".."});
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush.SetColor(brush);
    EXPECT_EQ(canvas.Brush.Color(), brush);
    canvas.FloodFill(0, 0, clBlack, fsBorder);
    for (int32_t y = 0; y < 2; ++y)
      for (int32_t x = 0; x < 2; ++x)
        EXPECT_EQ(canvas.Pixels(x, y), brush & 0x00FFFFFFu)
            << std::hex << "brush " << brush << " at " << x << "," << y;
  }
}

// Border values that no pixel can have: the whole picture is the area.
TEST_P(CanvasFloodFill, BorderColourThatNoPixelHasFillsEverything) {
  for (TColor border : {TColor(0x80000000u), TColor(0x40000000u), NoPixel}) {
    TBitmap bitmap;
    Build(bitmap, {"#r", ".#"});
    bitmap.Canvas().Brush.SetColor(Green);
    bitmap.Canvas().FloodFill(0, 1, border, fsBorder);
    EXPECT_EQ(Dump(bitmap), (std::vector<std::string>{"gg", "gg"})) << std::hex << border;
  }
}

TEST_P(CanvasFloodFill, FillOnACopyLeavesTheOriginal) {
  TBitmap original;
  Build(original, {"...", "###", "..."});
  TBitmap copy;
  copy.Assign(original);
  ASSERT_TRUE(copy.SharesStoreWith(original));
  copy.Canvas().Brush.SetColor(Red);
  copy.Canvas().FloodFill(0, 2, clBlack, fsBorder);
  EXPECT_FALSE(copy.SharesStoreWith(original));
  EXPECT_EQ(Dump(copy), (std::vector<std::string>{"...", "###", "rrr"}));
  EXPECT_EQ(Dump(original), (std::vector<std::string>{"...", "###", "..."}));
  // And the other way round: the original's fill does not reach the copy.
  original.Canvas().Brush.SetColor(Green);
  original.Canvas().FloodFill(0, 0, clBlack, fsBorder);
  EXPECT_EQ(Dump(copy), (std::vector<std::string>{"...", "###", "rrr"}));
  EXPECT_EQ(Dump(original), (std::vector<std::string>{"ggg", "###", "..."}));
}

// A one-pixel-wide serpentine path through 4000 x 4000 pixels: a recursive
// fill would need millions of nested calls. Every path pixel must be painted
// and every wall pixel kept.
TEST_P(CanvasFloodFill, HugeSerpentineIsFilledWithoutRecursion) {
  const int32_t n = 4000;
  TBitmap bitmap;
  bitmap.SetSize(n, n, clWhite);
  TColor* p = bitmap.WritablePixels();
  // Walls on every odd row, open at the right end and the left end by turns.
  for (int32_t y = 1; y < n; y += 2) {
    const int32_t gap = (y / 2) % 2 == 0 ? n - 1 : 0;
    for (int32_t x = 0; x < n; ++x)
      if (x != gap) p[size_t(y) * n + x] = clBlack;
  }
  // Comb teeth hanging into every even row make the path twist vertically too.
  for (int32_t y = 2; y < n; y += 2)
    for (int32_t x = 3; x < n - 3; x += 4) p[size_t(y) * n + x] = Red;
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush.SetColor(Green);
  canvas.FloodFill(0, 0, clBlack, fsBorder);
  uint64_t wrong = 0;
  for (int32_t y = 0; y < n; ++y)
    for (int32_t x = 0; x < n; ++x) {
      const bool wall = y % 2 == 1 && x != ((y / 2) % 2 == 0 ? n - 1 : 0);
      wrong += canvas.Pixels(x, y) != (wall ? clBlack : Green);
    }
  EXPECT_EQ(wrong, 0u);
}

// A plain breadth-first fill with a visited array, to hold the scan-line fill
// against on random pictures full of brush-coloured pixels.
std::vector<TColor> ReferenceFill(const TBitmap& ABitmap, int32_t AX, int32_t AY, TColor ABorder,
                                  TFillStyle AStyle, TColor ABrush) {
  const int32_t w = ABitmap.Width(), h = ABitmap.Height();
  std::vector<TColor> out(ABitmap.Pixels(), ABitmap.Pixels() + size_t(w) * h);
  auto inside = [&](int32_t x, int32_t y) {
    const TColor c = ABitmap.PixelAt(x, y);
    return c != NoPixel && (AStyle == fsBorder ? c != ABorder : c == ABorder);
  };
  if (!inside(AX, AY)) return out;
  std::vector<bool> seen(size_t(w) * h);
  std::deque<TPoint> queue{{AX, AY}};
  seen[size_t(AY) * w + AX] = true;
  while (!queue.empty()) {
    const TPoint q = queue.front();
    queue.pop_front();
    out[size_t(q.Y) * w + q.X] = ABrush;
    for (TPoint d : {TPoint{1, 0}, TPoint{-1, 0}, TPoint{0, 1}, TPoint{0, -1}}) {
      const int32_t x = q.X + d.X, y = q.Y + d.Y;
      if (inside(x, y) && !seen[size_t(y) * w + x]) {
        seen[size_t(y) * w + x] = true;
        queue.push_back({x, y});
      }
    }
  }
  return out;
}

TEST_P(CanvasFloodFill, AgreesWithABreadthFirstFillOnRandomPictures) {
  std::mt19937 random(20240611);
  const TColor palette[] = {clBlack, clWhite, Red, Green, Blue};
  for (int round = 0; round < 1500; ++round) {
    // Widths past a few blocks of 8 and 32 pixels, runs starting at every offset.
    const int32_t w = 1 + int32_t(random() % 80), h = 1 + int32_t(random() % 24);
    TBitmap bitmap;
    bitmap.SetSize(w, h);
    TColor* p = bitmap.WritablePixels();
    const unsigned blackShare = random() % 60;  // percent of border pixels
    for (int32_t i = 0; i < w * h; ++i)
      p[i] = random() % 100 < blackShare ? clBlack : palette[1 + random() % 4];
    const int32_t x = int32_t(random() % w), y = int32_t(random() % h);
    const TFillStyle style = random() % 4 == 0 ? fsSurface : fsBorder;
    const TColor border = style == fsBorder ? clBlack : p[size_t(y) * w + x];
    const TColor brush = palette[random() % 5];
    const std::vector<TColor> want = ReferenceFill(bitmap, x, y, border, style, brush);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush.SetColor(brush);
    canvas.FloodFill(x, y, border, style);
    const std::vector<TColor> got(bitmap.Pixels(), bitmap.Pixels() + size_t(w) * h);
    ASSERT_EQ(got, want) << "round " << round << ", " << w << "x" << h << " from " << x << "," << y
                         << (style == fsBorder ? " border" : " surface")
                         << "\n got:" << Show(Dump(bitmap));
  }
}

TEST(CanvasPixels, ReadsInsideGiveTheColourAndOutsideGiveNoPixel) {
  TBitmap bitmap;
  Build(bitmap, {"#.r", "gb#"});
  const TCanvas& canvas = bitmap.Canvas();
  struct {
    int32_t X, Y;
    TColor Want;
  } cases[] = {
      {0, 0, clBlack},
      {1, 0, clWhite},
      {2, 0, Red},
      {0, 1, Green},
      {1, 1, Blue},
      {-1, 0, NoPixel},
      {3, 0, NoPixel},
      {0, 2, NoPixel},
      {0, -1, NoPixel},
      {INT32_MIN, 0, NoPixel},
      {0, INT32_MAX, NoPixel},
  };
  for (const auto& c : cases)
    EXPECT_EQ(canvas.Pixels(c.X, c.Y), c.Want)
        << std::hex << "at " << std::dec << c.X << "," << c.Y << " got " << std::hex
        << canvas.Pixels(c.X, c.Y) << " want " << c.Want;
}

TEST(CanvasPixels, ReadingNeitherCopiesNorNotifies) {
  TBitmap original;
  Build(original, {".."});
  TBitmap copy;
  copy.Assign(original);
  int notified = 0;
  copy.OnChange = [&] { ++notified; };
  copy.Modified = false;
  EXPECT_EQ(copy.Canvas().Pixels(1, 0), clWhite);
  EXPECT_TRUE(copy.SharesStoreWith(original));
  EXPECT_EQ(notified, 0);
  EXPECT_FALSE(copy.Modified);
}

TEST(CanvasBrush, StartsWhiteAndSolidAndAColourMakesAClearBrushSolid) {
  TBitmap bitmap;
  TBrush& brush = bitmap.Canvas().Brush;
  EXPECT_EQ(brush.Color(), clWhite);
  EXPECT_EQ(brush.Style(), bsSolid);
  brush.SetStyle(bsClear);
  brush.SetColor(Red);
  EXPECT_EQ(brush.Style(), bsSolid);
  EXPECT_EQ(brush.Color(), Red);
}

TEST(CanvasLock, ScopedLockIsGivenUpHoweverTheScopeIsLeft) {
  TBitmap bitmap;
  TCanvas& canvas = bitmap.Canvas();
  {
    const TCanvasLock lock(canvas);
    EXPECT_EQ(canvas.LockCount(), 1);
  }
  EXPECT_EQ(canvas.LockCount(), 0);
  try {
    const TCanvasLock lock(canvas);
    throw EInvalidOperation("raised while locked");
  } catch (const EInvalidOperation&) {
  }
  EXPECT_EQ(canvas.LockCount(), 0);
}

TEST(CanvasLock, CountsNesting) {
  TBitmap bitmap;
  TCanvas& canvas = bitmap.Canvas();
  canvas.Lock();
  canvas.Lock();
  canvas.Unlock();
  EXPECT_EQ(canvas.LockCount(), 1);
  canvas.Unlock();
  canvas.Unlock();  // one too many is harmless
  EXPECT_EQ(canvas.LockCount(), 0);
}

}  // namespace
}  // namespace tintbox
