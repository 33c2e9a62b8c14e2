// Frame composition, frame delays and painting a frame as the animator does.
#include "picture/gifcompose.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/gifbuild.h"
#include "common/testbitmaps.h"
#include "picture/errors.h"
#include "picture/gifimage.h"

namespace tintbox {
namespace {

using giftest::Cat;
using giftest::Gce;
using giftest::TBytes;
using giftest::TPalette;

const TColor Window = RGB(173, 255, 91);

// Entries: 0 background, 1 "A", 2 "B", 3 the transparent one.
const TPalette Table{{{200, 0, 0}}, {{0, 100, 0}}, {{0, 0, 150}}, {{9, 9, 9}}};
const TColor Bg = RGB(200, 0, 0), A = RGB(0, 100, 0), B = RGB(0, 0, 150), T = RGB(9, 9, 9);

TBytes Screen(uint16_t AWidth, uint16_t AHeight, uint8_t ABackground = 0) {
  return giftest::Screen(AWidth, AHeight, Table, ABackground, "89a");
}
TBytes Image(uint16_t ALeft, uint16_t ATop, uint16_t AWidth, uint16_t AHeight,
             const std::vector<uint8_t>& AIndices) {
  return giftest::Image(ALeft, ATop, AWidth, AHeight, AIndices, 2, {}, false);
}
using giftest::Trailer;

void Load(TGIFImage& AImage, const TBytes& ABytes) {
  AImage.LoadFromGIF(ABytes.data(), ABytes.size());
}

std::vector<TColor> Pixels(const TBitmap& ABitmap) {
  return std::vector<TColor>(ABitmap.Pixels(),
                             ABitmap.Pixels() + size_t(ABitmap.Width()) * ABitmap.Height());
}

std::vector<TColor> Compose(TGIFComposer& AComposer, TGIFImage& AImage, int32_t AIndex,
                            TColor* AKey = nullptr) {
  TColor key = 0;
  const TBitmap& b = AComposer.ComposeFrame(AImage, AIndex, Window, key);
  if (AKey) *AKey = key;
  return Pixels(b);
}

// ---------------------------------------------------------------------------
// Disposal and the cache

// A 3 x 1 screen: frame 0 covers it with A, opaque, with the disposal under
// test; frame 1 is one B pixel at x = 1.
TBytes TwoFrames(int ADisposal) {
  return Cat({Screen(3, 1), Gce(ADisposal, -1, 0), Image(0, 0, 3, 1, {1, 1, 1}),
              Image(1, 0, 1, 1, {2}), Trailer});
}

TEST(GifCompose, DisposalOfThePreviousFrame) {
  struct Case {
    TDisposalMethod disposal;
    std::vector<TColor> afterFrame0;  // frame 1 composed right after frame 0
    std::vector<TColor> fromScratch;  // frame 1 composed first
  };
  // No frame has a transparent colour: the background is the window colour.
  const Case cases[] = {
      {dmUndefined, {A, B, A}, {A, B, A}},
      {dmLeave, {A, B, A}, {A, B, A}},
      {dmRestoreBackground, {Window, B, Window}, {Window, B, Window}},
      {dmRestorePrevious, {Window, B, Window}, {Window, B, Window}},
      // A reserved value: drawn over when it is on the cached composite,
      // skipped when the composite is built from the start.
      {dmReserved4, {A, B, A}, {Window, B, Window}},
      {dmReserved7, {A, B, A}, {Window, B, Window}},
  };
  for (const Case& c : cases) {
    TGIFImage image;
    Load(image, TwoFrames(c.disposal));
    ASSERT_EQ(image.Frames(0).Disposal(), c.disposal);
    TGIFComposer composer;
    EXPECT_EQ(Compose(composer, image, 0), (std::vector<TColor>{A, A, A})) << int(c.disposal);
    EXPECT_EQ(Compose(composer, image, 1), c.afterFrame0)
        << "after frame 0, disposal " << int(c.disposal);
    TGIFComposer fresh;
    EXPECT_EQ(Compose(fresh, image, 1), c.fromScratch)
        << "from scratch, disposal " << int(c.disposal);
    // A repaint of the same frame builds it from the start again.
    EXPECT_EQ(Compose(composer, image, 1), c.fromScratch)
        << "repaint, disposal " << int(c.disposal);
    EXPECT_EQ(composer.CacheIndex(), 1);
  }
}

TEST(GifCompose, CacheIsDrawnOnForTheNextFrameOnly) {
  TGIFImage image;
  Load(image, TwoFrames(dmReserved4));
  TGIFComposer composer;
  Compose(composer, image, 0);
  const TBitmap* cached = composer.Cache();
  Compose(composer, image, 1);
  EXPECT_EQ(composer.Cache(), cached) << "frame 1 is drawn on frame 0's composite";
  // Frame 0 after frame 1 is built anew; an index past the end means the
  // last frame, which follows frame 0 and so is drawn on it.
  EXPECT_EQ(Compose(composer, image, 0), (std::vector<TColor>{A, A, A}));
  EXPECT_EQ(Compose(composer, image, 5), (std::vector<TColor>{A, B, A}));
  EXPECT_EQ(composer.CacheIndex(), 1);
  EXPECT_EQ(Compose(composer, image, 5), (std::vector<TColor>{Window, B, Window}));
  composer.Reset();
  EXPECT_EQ(composer.CacheIndex(), -1);
  EXPECT_EQ(composer.Cache(), nullptr);
  EXPECT_EQ(composer.TransColor(), clNone);
}

TEST(GifCompose, RestoreBackgroundUsesTheBackgroundOfTheLastBuild) {
  // Frame 0 is transparent, so the key colour T is the background; frame 1
  // (restore background) covers the screen with B; frame 2 is one A pixel.
  TGIFImage image;
  Load(image, Cat({Screen(3, 1), Gce(1, 3, 0), Image(0, 0, 3, 1, {3, 1, 3}), Gce(2, -1, 0),
                   Image(0, 0, 3, 1, {2, 2, 2}), Image(2, 0, 1, 1, {1}), Trailer}));
  TGIFComposer composer;
  TColor key = 0;
  EXPECT_EQ(Compose(composer, image, 0, &key), (std::vector<TColor>{T, A, T}));
  EXPECT_EQ(key, T);
  EXPECT_EQ(Compose(composer, image, 1, &key), (std::vector<TColor>{B, B, B}));
  EXPECT_EQ(Compose(composer, image, 2, &key), (std::vector<TColor>{T, T, A}));
  EXPECT_EQ(key, T);
  // Built from the start: frame 1 covers the screen and restores the
  // background, so frame 2 starts there and frame 1 leaves nothing.
  TGIFComposer fresh;
  EXPECT_EQ(Compose(fresh, image, 2, &key), (std::vector<TColor>{T, T, A}));
}

TEST(GifCompose, StartFrame) {
  // Frame 0: A everywhere (leave). Frame 1: the case's frame. Frame 2: one B
  // at x = 2 (leave). Composing frame 2 from scratch shows whether the
  // search stopped at frame 1 or went on to frame 0.
  struct Case {
    const char* name;
    TBytes frame1;
    std::vector<TColor> want;
  };
  const Case cases[] = {
      {"opaque and covering: starts there",
       Cat({Gce(1, -1, 0), Image(0, 0, 3, 1, {2, 0, 0})}),
       {B, Bg, B}},
      {"transparent, covering, restore background: starts there, leaves nothing",
       Cat({Gce(2, 3, 0), Image(0, 0, 3, 1, {3, 0, 3})}),
       {Bg, Bg, B}},
      {"transparent and covering, leave: goes on to frame 0",
       Cat({Gce(1, 3, 0), Image(0, 0, 3, 1, {3, 0, 3})}),
       {A, Bg, B}},
      {"opaque but smaller: goes on to frame 0",
       Cat({Gce(1, -1, 0), Image(0, 0, 2, 1, {0, 0})}),
       {Bg, Bg, B}},
  };
  for (const Case& c : cases) {
    TGIFImage image;
    // Frame 0 has no transparent colour; some frame has, and the background
    // entry exists: the background is the table's background colour.
    Load(image, Cat({Screen(3, 1, 0), Gce(1, -1, 0), Image(0, 0, 3, 1, {1, 1, 1}), c.frame1,
                     Gce(1, -1, 0), Image(2, 0, 1, 1, {2}), Trailer}));
    TGIFComposer composer;
    TColor key = 0;
    EXPECT_EQ(Compose(composer, image, 2, &key), c.want) << c.name;
    EXPECT_EQ(key, clNone) << c.name;
  }
}

TEST(GifCompose, BackgroundAndKeyColour) {
  struct Case {
    const char* name;
    TBytes gif;
    bool transparentFlag;
    TColor background;  // what an uncovered pixel shows
    TColor key;
  };
  // Frame 0 is one pixel at (1, 0) of a 2 x 1 screen; pixel 0 shows the background.
  const TBytes opaque0 = Image(1, 0, 1, 1, {1});
  const TBytes transparent1 = Cat({Gce(0, 3, 0), Image(0, 0, 1, 1, {3})});
  const Case cases[] = {
      {"frame 0 transparent: its colour is key and background",
       Cat({Screen(2, 1), Gce(0, 3, 0), opaque0, Trailer}), true, T, T},
      {"another frame transparent: the table's background",
       Cat({Screen(2, 1), opaque0, transparent1, Trailer}), true, Bg, clNone},
      {"transparent flag off: the window colour",
       Cat({Screen(2, 1), opaque0, transparent1, Trailer}), false, Window, clNone},
      {"background index past the table: the window colour",
       Cat({Screen(2, 1, 4), opaque0, transparent1, Trailer}), true, Window, clNone},
      {"no frame transparent: the window colour", Cat({Screen(2, 1), opaque0, Trailer}), true,
       Window, clNone},
  };
  for (const Case& c : cases) {
    TGIFImage image;
    image.SetTransparentFlag(c.transparentFlag);
    Load(image, c.gif);
    TGIFComposer composer;
    TColor key = 0;
    EXPECT_EQ(Compose(composer, image, 0, &key), (std::vector<TColor>{c.background, A})) << c.name;
    EXPECT_EQ(key, c.key) << c.name;
  }
}

TEST(GifCompose, FramesSmallerThanTheScreenSitAtTheirOrigin) {
  TGIFImage image;
  // 4 x 3 screen; a 2 x 1 frame at (1, 1); a 3 x 2 frame at (2, 2) that
  // reaches past the screen's right and bottom edges.
  Load(image, Cat({Screen(4, 3), Gce(1, -1, 0), Image(1, 1, 2, 1, {1, 2}),
                   Image(2, 2, 3, 2, {2, 2, 2, 2, 2, 2}), Trailer}));
  TGIFComposer composer;
  const TColor W = Window;
  EXPECT_EQ(Compose(composer, image, 0), (std::vector<TColor>{W, W, W, W,  //
                                                              W, A, B, W,  //
                                                              W, W, W, W}));
  EXPECT_EQ(Compose(composer, image, 1), (std::vector<TColor>{W, W, W, W,  //
                                                              W, A, B, W,  //
                                                              W, W, B, B}));
}

TEST(GifCompose, TransparentPixelsLetTheFramesBelowShow) {
  TGIFImage image;
  Load(image, Cat({Screen(3, 1), Gce(1, -1, 0), Image(0, 0, 3, 1, {1, 1, 1}), Gce(1, 3, 0),
                   Image(0, 0, 3, 1, {3, 2, 3}), Trailer}));
  TGIFComposer composer;
  EXPECT_EQ(Compose(composer, image, 1), (std::vector<TColor>{A, B, A}));
}

TEST(GifCompose, ImageWithoutFramesGivesAnEmptyComposite) {
  TGIFImage image;
  TGIFComposer composer;
  TColor key = 0;
  EXPECT_TRUE(composer.ComposeFrame(image, 0, Window, key).Empty());
  EXPECT_EQ(key, clNone);
}

TEST(GifCompose, ScreenOverThePixelStoreCapFails) {
  TGIFImage image;
  Load(image, Cat({Screen(65535, 65535), Image(0, 0, 1, 1, {1}), Trailer}));
  TGIFComposer composer;
  TColor key = 0;
  EXPECT_THROW(composer.ComposeFrame(image, 0, Window, key), EOutOfResources);
  EXPECT_EQ(composer.CacheIndex(), -1);
}

// ---------------------------------------------------------------------------
// Delays

TEST(GifDelay, ClampsAndSingleFrames) {
  struct Case {
    uint16_t hundredths;
    uint32_t want;  // milliseconds
  };
  const Case cases[] = {{0, 50},       {1, 50},       {4, 50},       {5, 50},
                        {6, 60},       {10, 100},     {1000, 10000}, {1001, 10000},
                        {6553, 10000}, {6554, 10000}, {65535, 10000}};
  for (const Case& c : cases) {
    TGIFImage image;
    Load(image, Cat({Screen(1, 1), Gce(0, -1, c.hundredths), Image(0, 0, 1, 1, {1}),
                     Gce(0, -1, c.hundredths), Image(0, 0, 1, 1, {1}), Trailer}));
    EXPECT_EQ(CurrentDelay(image, 0), c.want) << c.hundredths << " hundredths";
    EXPECT_EQ(CurrentDelay(image, 1), c.want) << c.hundredths << " hundredths";
    EXPECT_EQ(CurrentDelay(image, 2), 0u) << "past the last frame";
    EXPECT_EQ(CurrentDelay(image, -1), 0u) << "before the first frame";
  }
  TGIFImage one;
  Load(one, Cat({Screen(1, 1), Gce(0, -1, 100), Image(0, 0, 1, 1, {1}), Trailer}));
  EXPECT_EQ(CurrentDelay(one, 0), 0u) << "one frame is shown still";
  TGIFImage none;
  EXPECT_EQ(CurrentDelay(none, 0), 0u);
}

// ---------------------------------------------------------------------------
// Painting

struct TTarget {
  std::vector<uint32_t> Bits;
  TSurface32 Surface;
  TTarget(int32_t AWidth, int32_t AHeight)
      : Bits(size_t(AWidth) * AHeight, 0), Surface{Bits.data(), AWidth, AHeight, AWidth} {}
  TColor At(int32_t x, int32_t y) const { return FromRGB32(Bits[size_t(y) * Surface.Width + x]); }
};

TEST(GifPaint, KeyColourShowsTheBackdrop) {
  const TColor backdrop = RGB(1, 2, 3);
  TGIFImage image;
  Load(image, Cat({Screen(3, 1), Gce(0, 3, 0), Image(0, 0, 2, 1, {3, 1}), Trailer}));
  struct Case {
    const char* name;
    TGIFPaintOptions options;
    int32_t width, height;
    std::vector<TColor> want;  // row 0
  };
  const Case cases[] = {
      // The uncovered pixel 2 holds the background, which is the key colour.
      {"transparent", {}, 3, 1, {backdrop, A, backdrop}},
      {"not transparent", {false, false, false}, 3, 1, {T, A, T}},
      {"centred in a wider area",
       {false, true, true},
       5,
       1,
       {backdrop, backdrop, A, backdrop, backdrop}},
      {"stretched to twice the width",
       {true, false, true},
       6,
       1,
       {backdrop, backdrop, A, A, backdrop, backdrop}},
  };
  for (const Case& c : cases) {
    TTarget target(c.width, c.height);
    TGIFComposer composer;
    PaintGIFFrame(composer, image, 0, target.Surface, SolidBackdrop(backdrop), Window, c.options);
    std::vector<TColor> got;
    for (int32_t x = 0; x < c.width; ++x) got.push_back(target.At(x, 0));
    EXPECT_EQ(got, c.want) << c.name;
  }
}

TEST(GifPaint, AFrameThatCannotBeDecodedShowsTheBackdropAndTheFramesAfterItStillShow) {
  // No global table: frames 0 and 2 have local ones, frame 1 (covering the
  // screen) has none and cannot be decoded.
  TGIFImage image;
  Load(image, Cat({giftest::Screen(2, 1, {}), giftest::Image(0, 0, 2, 1, {1, 2}, 2, Table),
                   giftest::Image(0, 0, 2, 1, {2, 1}), giftest::Image(1, 0, 1, 1, {2}, 2, Table),
                   Trailer}));
  const TColor backdrop = RGB(7, 8, 9);
  TTarget target(2, 1);
  TGIFComposer composer;
  const auto shown = [&] { return std::vector<TColor>{target.At(0, 0), target.At(1, 0)}; };
  PaintGIFFrame(composer, image, 0, target.Surface, SolidBackdrop(backdrop), Window);
  EXPECT_EQ(shown(), (std::vector<TColor>{A, B}));
  EXPECT_THROW(PaintGIFFrame(composer, image, 1, target.Surface, SolidBackdrop(backdrop), Window),
               EInvalidGraphic);
  EXPECT_EQ(shown(), (std::vector<TColor>{backdrop, backdrop})) << "frame 1";
  // Frame 2 builds on frame 1, which leaves nothing behind: the window colour.
  EXPECT_NO_THROW(
      PaintGIFFrame(composer, image, 2, target.Surface, SolidBackdrop(backdrop), Window));
  EXPECT_EQ(shown(), (std::vector<TColor>{Window, B})) << "frame 2";
}

TEST(GifPaint, EmptyImageShowsOnlyTheBackdrop) {
  TGIFImage image;
  TTarget target(2, 2);
  TGIFComposer composer;
  PaintGIFFrame(composer, image, 0, target.Surface, SolidBackdrop(RGB(7, 8, 9)), Window);
  for (uint32_t p : target.Bits) EXPECT_EQ(FromRGB32(p), RGB(7, 8, 9));
  EXPECT_EQ(composer.CacheIndex(), -1);
}

TEST(GifPaint, FireworkShowsOneBurstAtATimeOverThePanel) {
  const TBytes bytes =
      testhelp::ReadFile(std::string(TINTBOX_SOURCE_DIR) + "/src/ui/data/firework.dat");
  ASSERT_FALSE(bytes.empty());
  TGIFImage image;
  image.ReadData(bytes.data(), bytes.size());
  ASSERT_EQ(image.Count(), 9);
  TGIFComposer composer;
  TTarget target(249, 255);
  // Frames 0 to 8, then 0 again (built from the start, since 8 is not k - 1).
  for (int32_t k : {0, 1, 2, 3, 4, 5, 6, 7, 8, 0}) {
    PaintGIFFrame(composer, image, k, target.Surface, SolidBackdrop(Window), Window);
    const TBitmap& frame = image.Frames(k).Bitmap();
    size_t mismatches = 0, white = 0;
    for (int32_t y = 0; y < 255; ++y)
      for (int32_t x = 0; x < 249; ++x) {
        const TColor src = frame.PixelAt(x, y);
        const TColor want = src == clWhite ? Window : src;
        mismatches += target.At(x, y) != want;
        white += target.At(x, y) == clWhite;
      }
    EXPECT_EQ(mismatches, 0u) << "frame " << k;
    EXPECT_EQ(white, 0u) << "frame " << k << ": the transparent entry's white never shows";
  }
}

}  // namespace
}  // namespace tintbox
