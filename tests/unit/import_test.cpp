#include "import/import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "common/testbitmaps.h"
#include "picture/bmpwriter.h"
#include "rules/picturecheck.h"

namespace tintbox {
namespace {

using testhelp::MakeBitmap;

constexpr TColor K = clBlack, W = clWhite, R = RGB(220, 60, 60), G = RGB(90, 190, 80),
                 B = RGB(60, 120, 220);

// A W x H bitmap painted by AColorAt(x, y).
void Paint(TBitmap& ABitmap, int32_t AWidth, int32_t AHeight,
           const std::function<TColor(int32_t, int32_t)>& AColorAt) {
  ABitmap.SetSize(AWidth, AHeight);
  TColor* p = ABitmap.WritablePixels();
  for (int32_t y = 0; y < AHeight; ++y) {
    for (int32_t x = 0; x < AWidth; ++x) *p++ = AColorAt(x, y);
  }
}

std::set<TColor> Colors(const TBitmap& ABitmap) {
  const TColor* p = ABitmap.Pixels();
  return {p, p + size_t(ABitmap.Width()) * size_t(ABitmap.Height())};
}

// The checker's problems, one line each; empty for a clean picture.
std::string Problems(const TBitmap& APicture) {
  std::string s;
  for (const TPictureProblem& p : CheckPicture(APicture).problems) s += p.text + "\n";
  return s;
}

bool Inside(int32_t x, int32_t y, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  return x >= x0 && x < x1 && y >= y0 && y < y1;
}

TEST(Import, FitIntoKeepsProportions) {
  struct TCase {
    int64_t w, h;
    TImportSize want;
  } cases[] = {
      {1600, 1200, {640, 480}},   // reduced, same proportions
      {32, 24, {640, 480}},       // enlarged
      {100, 100, {480, 480}},     // height-bound
      {1000, 100, {640, 64}},     // width-bound
      {3, 2, {640, 427}},         // rounded
      {1, 1000000, {1, 480}},     // never below one pixel
      {2147483647, 1, {640, 1}},  // the largest sizes do not overflow
      {0, 5, {0, 0}},             // nothing to fit
      {-3, 5, {0, 0}},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(FitInto(c.w, c.h), c.want) << c.w << "x" << c.h;
  }
}

TEST(Import, PlaceDrawingFlattensOnWhiteAndCentres) {
  // Premultiplied 0xAARRGGBB: opaque red, red at half cover, fully clear.
  const uint32_t drawing[] = {0xFFFF0000, 0x80800000, 0x00000000};
  TBitmap out;
  PlaceDrawing(drawing, 3, 1, 3, out, {5, 3});
  ASSERT_EQ(out.Width(), 5);
  ASSERT_EQ(out.Height(), 3);
  EXPECT_EQ(out.PixelAt(1, 1), RGB(255, 0, 0));
  EXPECT_EQ(out.PixelAt(2, 1), RGB(255, 127, 127));
  EXPECT_EQ(out.PixelAt(3, 1), W);
  for (TPoint p : {TPoint{0, 1}, TPoint{4, 1}, TPoint{2, 0}, TPoint{2, 2}}) {
    EXPECT_EQ(out.PixelAt(p.X, p.Y), W) << p.X << "," << p.Y;  // the margin
  }
  EXPECT_THROW(PlaceDrawing(drawing, 3, 1, 3, out, {2, 2}),
               EInvalidGraphic);  // larger than the box
  EXPECT_THROW(PlaceDrawing(drawing, 3, 1, 2, out, {5, 3}), EInvalidGraphic);  // rows overlap
}

TEST(Import, OutlineMaskTakesDarkPixelsOnly) {
  struct TCase {
    TColor color;
    bool ink;
  } cases[] = {
      {K, true},
      {RGB(63, 63, 63), true},  // the checker's near-black
      {RGB(70, 70, 70), true},  // a dark grey pen
      {RGB(80, 50, 30), true},  // a dark brown pen
      {RGB(0, 0, 128), false},  // navy is a colour
      {RGB(128, 0, 0), false},  // so is dark red
      {RGB(110, 110, 110), false},
      {W, false},
  };
  for (const TCase& c : cases) {
    TBitmap bmp;
    MakeBitmap(bmp, {{c.color}});
    EXPECT_EQ(OutlineMask(bmp, GreyLimit)[0], c.ink) << ColorText(c.color);
  }
}

// A rectangle outlined in black on white, filled by AFill(x, y).
void OutlinedBox(TBitmap& ABitmap, const std::function<TColor(int32_t, int32_t)>& AFill) {
  Paint(ABitmap, 48, 32, [&](int32_t x, int32_t y) {
    if (!Inside(x, y, 6, 6, 42, 26)) return W;
    if (!Inside(x, y, 8, 8, 40, 24)) return K;
    return AFill(x, y);
  });
}

void Flatten(const TBitmap& ADrawing, TBitmap& AOut, int AMaxColors = 10) {
  TImportOptions options;
  options.MaxColors = AMaxColors;
  FlattenColors(ADrawing, OutlineMask(ADrawing, options.GreyLimit), options, AOut);
}

TEST(Import, ShadingGradientAndNoiseBecomeOneFlatColour) {
  const std::function<TColor(int32_t, int32_t)> fills[] = {
      // a gradient from light to dark red across the box
      [](int32_t x, int32_t) { return RGB(uint8_t(240 - 3 * x), uint8_t(110 - 2 * x), 100); },
      // grain: a pattern of three close greens
      [](int32_t x, int32_t y) {
        const uint8_t d = uint8_t((x * 7 + y * 13) % 3 * 6);
        return RGB(uint8_t(80 + d), uint8_t(180 - d), uint8_t(70 + d));
      },
  };
  for (const auto& fill : fills) {
    TBitmap drawing;
    OutlinedBox(drawing, fill);
    TBitmap out;
    Flatten(drawing, out);
    const TColor inside = out.PixelAt(20, 15);
    EXPECT_NE(inside, W);
    EXPECT_NE(inside, K);
    for (int32_t y = 8; y < 24; ++y) {
      for (int32_t x = 8; x < 40; ++x) ASSERT_EQ(out.PixelAt(x, y), inside) << x << "," << y;
    }
    EXPECT_EQ(out.PixelAt(0, 0), W);
    EXPECT_EQ(out.PixelAt(6, 6), K);
  }
}

TEST(Import, AntialiasedFringeBecomesOutlineOrFill) {
  // A black ring with in-between greys on both sides, as a soft pen leaves.
  TBitmap drawing;
  Paint(drawing, 40, 40, [](int32_t x, int32_t y) {
    const double r = std::hypot(x - 19.5, y - 19.5);
    if (r < 10) return R;
    const auto mix = [](TColor c, double t) {  // t of c, the rest black
      return RGB(uint8_t(GetRValue(c) * t), uint8_t(GetGValue(c) * t), uint8_t(GetBValue(c) * t));
    };
    if (r < 11) return mix(R, 0.5);
    if (r < 13) return K;
    if (r < 14) return mix(W, 0.45);
    if (r < 15) return mix(W, 0.8);
    return W;
  });
  TBitmap out;
  Flatten(drawing, out);
  EXPECT_EQ(Colors(out), (std::set<TColor>{K, R, W}));
}

TEST(Import, LineOneDrawingPixelWideIsASliverHoweverEnlarged) {
  // A drawing enlarged 4 times as blocks: red, then a line one drawing pixel
  // (4 picture pixels) wide of a blend, then white.
  TBitmap drawing;
  Paint(drawing, 48, 24, [](int32_t x, int32_t) {
    return x < 20 ? R : x < 24 ? RGB(238, 158, 158) : W;
  });
  for (int scale : {1, 4}) {
    TImportOptions options;
    options.PixelScale = scale;
    TBitmap out;
    FlattenColors(drawing, OutlineMask(drawing, options.GreyLimit), options, out);
    EXPECT_EQ(Colors(out).size(), scale == 1 ? 3u : 2u) << scale;
  }
}

TEST(Import, GrainsOfInkJoinTheAreaAroundThem) {
  // Single dark pixels strewn over a green box are dirt; a 3x3 dot is a detail.
  TBitmap drawing;
  OutlinedBox(drawing, [](int32_t x, int32_t y) {
    if ((x == 12 && y == 12) || (x == 30 && y == 20)) return RGB(20, 20, 20);
    if (Inside(x, y, 20, 14, 23, 17)) return K;
    return G;
  });
  TBitmap out;
  Flatten(drawing, out);
  EXPECT_EQ(out.PixelAt(12, 12), out.PixelAt(15, 15));
  EXPECT_EQ(out.PixelAt(30, 20), out.PixelAt(15, 15));
  EXPECT_EQ(out.PixelAt(21, 15), K);
}

TEST(Import, AreasThatLookTheSameShareAColour) {
  // Two boxes of nearly one green apart, and a clearly other blue.
  TBitmap drawing;
  Paint(drawing, 60, 20, [](int32_t x, int32_t y) {
    if (!Inside(x, y, 1, 1, 59, 19) || x % 20 == 0) return K;
    if (x < 20) return G;
    if (x < 40) return RGB(96, 186, 86);
    return B;
  });
  TBitmap out;
  Flatten(drawing, out);
  EXPECT_EQ(out.PixelAt(10, 10), out.PixelAt(30, 10));
  EXPECT_NE(out.PixelAt(10, 10), out.PixelAt(50, 10));
}

TEST(Import, NoMoreColoursThanAllowed) {
  // Twelve boxes of clearly different colours on white.
  const TColor palette[12] = {RGB(230, 40, 40),   RGB(40, 200, 40),   RGB(40, 40, 230),
                              RGB(240, 220, 40),  RGB(240, 140, 30),  RGB(160, 40, 200),
                              RGB(40, 200, 200),  RGB(250, 150, 200), RGB(120, 80, 30),
                              RGB(150, 150, 150), RGB(180, 240, 150), RGB(100, 30, 80)};
  TBitmap drawing;
  Paint(drawing, 120, 30, [&](int32_t x, int32_t y) {
    if (y < 5 || y >= 25 || x % 10 == 0) return W;
    return palette[x / 10];
  });
  for (int max : {10, 4, 2}) {
    TBitmap out;
    Flatten(drawing, out, max);
    std::set<TColor> colors = Colors(out);
    colors.erase(K);
    EXPECT_LE(colors.size(), size_t(max)) << max;
    EXPECT_GE(colors.size(), 2u) << max;
  }
}

TEST(Import, SeparationBlackensThePixelThatStraysFurther) {
  TBitmap picture, drawing;
  MakeBitmap(picture, {{R, R, G, G}, {R, R, G, G}});
  // Row 0: the red side's last pixel was a blend; row 1: the green side's first.
  const TColor blend = RGB(150, 120, 70);
  MakeBitmap(drawing, {{R, blend, G, G}, {R, R, blend, G}});
  SeparateColors(picture, drawing);
  EXPECT_EQ(picture.PixelAt(1, 0), K);
  EXPECT_EQ(picture.PixelAt(2, 0), G);
  EXPECT_EQ(picture.PixelAt(1, 1), R);
  EXPECT_EQ(picture.PixelAt(2, 1), K);
  EXPECT_EQ(CheckPicture(picture).Unsolvable(), false);
}

TEST(Import, UnplayableAreasAreRemoved) {
  TImportOptions options;
  struct TCase {
    const char* name;
    std::function<TColor(int32_t, int32_t)> paint;
    std::function<void(const TBitmap&)> expect;
  } cases[] = {
      {"a 3x3 speck becomes outline",
       [](int32_t x, int32_t y) {
         if (Inside(x, y, 10, 10, 13, 13)) return G;
         if (Inside(x, y, 9, 9, 14, 14)) return K;
         return W;
       },
       [](const TBitmap& p) { EXPECT_EQ(p.PixelAt(11, 11), K); }},
      {"a rare colour along outlines takes the nearest other colour",
       [](int32_t x, int32_t y) {
         if (Inside(x, y, 10, 4, 12, 14)) return RGB(250, 235, 235);  // 20 pixels of pale pink
         if (Inside(x, y, 9, 3, 13, 15)) return K;
         if (Inside(x, y, 20, 4, 28, 14)) return B;
         if (Inside(x, y, 19, 3, 29, 15)) return K;
         return W;
       },
       [](const TBitmap& p) { EXPECT_EQ(p.PixelAt(10, 4), W); }},
      {"an area the scan never seeds loses its first pixel",
       // Column 0 ends in red area A; red area B starts column 1, so the scan
       // sees one run and B gets no seed point.
       [](int32_t x, int32_t y) {
         if (x == 0 && y >= 20) return R;
         if (x == 1 && y < 20) return R;
         return K;
       },
       [](const TBitmap& p) {
         EXPECT_EQ(p.PixelAt(1, 0), K);
         EXPECT_EQ(p.PixelAt(1, 1), R);
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TBitmap picture;
    Paint(picture, 40, 40, c.paint);
    EXPECT_NE(Problems(picture), "");
    RemoveUnplayable(picture, options);
    c.expect(picture);
    EXPECT_EQ(Problems(picture), "");
  }
}

TEST(Import, MeanRgbDistance) {
  TBitmap a, b;
  MakeBitmap(a, {{K, W}});
  MakeBitmap(b, {{RGB(3, 4, 0), W}});
  EXPECT_DOUBLE_EQ(MeanRgbDistance(a, b), 2.5);
  MakeBitmap(b, {{K}});
  EXPECT_THROW(MeanRgbDistance(a, b), EInvalidGraphic);
}

TEST(Import, WholeDrawingChecksCleanOrFailsClearly) {
  TImportOptions options;
  // Soft-edged shapes with touching fills and no outline between some.
  TBitmap drawing, picture;
  Paint(drawing, 64, 48, [](int32_t x, int32_t y) {
    const double d = std::hypot(x - 20.0, y - 24.0) - 14;
    if (std::abs(d) < 1) return RGB(110, 90, 90);  // a blend of red and white
    if (d < 0) return R;
    if (Inside(x, y, 34, 8, 60, 40)) return x < 47 ? G : B;  // green meets blue
    return W;
  });
  const TImportReport report = ImportDrawing(drawing, options, picture);
  EXPECT_EQ(Problems(picture), "");
  EXPECT_EQ(report.Colors, 4);
  EXPECT_EQ(report.Areas, 4);
  EXPECT_LT(report.Distance, 40);
  EXPECT_GT(report.ToBlack, 0);

  // Nothing to colour: all outline, all one colour.
  for (TColor c : {K, R}) {
    MakeBitmap(drawing, {{c, c, c}, {c, c, c}});
    EXPECT_THROW(ImportDrawing(drawing, options, picture), EConvertError) << ColorText(c);
  }
}

TEST(Import, WrittenBitmapReadsBackTheSame) {
  // Colours 5-6-5 bit fields hold exactly, so every form can carry them.
  const std::vector<TColor> px = {K, W, RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), W, K};
  const TBmpFileFormat formats[] = {TBmpFileFormat::Bgr24, TBmpFileFormat::Bgr24TopDown,
                                    TBmpFileFormat::Pal8,  TBmpFileFormat::Rle8,
                                    TBmpFileFormat::Pal4,  TBmpFileFormat::Rgb565};
  for (TBmpFileFormat f : formats) {
    const std::vector<uint8_t> file = WriteBmp(px.data(), 7, 1, f);
    TBitmap read;
    ASSERT_EQ(testhelp::Outcome(file, read), "OK 7x1") << int(f);
    EXPECT_EQ(std::vector<TColor>(read.Pixels(), read.Pixels() + 7), px) << int(f);
  }
  // Seventeen colours do not fit a 4-bit table.
  std::vector<TColor> many(17);
  for (size_t i = 0; i < many.size(); ++i) many[i] = RGB(uint8_t(i * 10), 0, 0);
  EXPECT_THROW(WriteBmp(many.data(), 17, 1, TBmpFileFormat::Pal4), EInvalidGraphic);
  EXPECT_THROW(WriteBmp(many.data(), 100000, 100000, TBmpFileFormat::Bgr24), EOutOfResources);
}

}  // namespace
}  // namespace tintbox

namespace tintbox {
namespace {

// Random scribbles: blocks of random colours with random dark strokes, many
// sizes. Each either imports into a picture the checker finds nothing wrong
// with, or is refused as having too few colours.
TEST(Import, RandomDrawingsAlwaysCheckClean) {
  std::mt19937 random(12345);
  constexpr int Rounds = 150;
  int refused = 0;
  for (int round = 0; round < Rounds; ++round) {
    const int32_t w = int32_t(random() % 60) + 1, h = int32_t(random() % 45) + 1;
    const int block = int(random() % 6) + 1;
    std::vector<TColor> palette(size_t(random() % 14) + 1);
    for (TColor& c : palette) c = TColor(random() & 0xFFFFFF);
    TBitmap drawing, picture;
    Paint(drawing, w, h, [&](int32_t, int32_t) { return clWhite; });
    TColor* p = drawing.WritablePixels();
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) {
        const uint32_t cell = uint32_t((x / block) * 7919 + (y / block) * 104729 + round);
        p[size_t(y) * size_t(w) + size_t(x)] =
            random() % 9 == 0 ? TColor(random() % 0x303030) : palette[cell % palette.size()];
      }
    }
    TImportOptions options;
    options.MaxColors = int(random() % 9) + 2;
    SCOPED_TRACE("round " + std::to_string(round));
    try {
      const TImportReport report = ImportDrawing(drawing, options, picture);
      ASSERT_EQ(Problems(picture), "");
      EXPECT_LE(report.Colors, options.MaxColors);
      EXPECT_GE(report.Colors, 2);
    } catch (const EConvertError&) {
      ++refused;
    }
  }
  EXPECT_LT(refused, Rounds / 2);  // most scribbles make a picture
}

}  // namespace
}  // namespace tintbox
