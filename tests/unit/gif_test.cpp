// GIF reading and LZW decoding. Every GIF here is built byte by byte by the
// shared helpers of common/gifbuild.h.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "common/gifbuild.h"
#include "common/testbitmaps.h"
#include "picture/bytereader.h"
#include "picture/errors.h"
#include "picture/gifimage.h"
#include "picture/lzw.h"

namespace tintbox {
namespace {

using namespace giftest;

void Load(TGIFImage& AImage, const TBytes& ABytes) {
  AImage.LoadFromGIF(ABytes.data(), ABytes.size());
}

std::vector<TColor> Row(const TBitmap& ABitmap, int32_t AY) {
  return std::vector<TColor>(ABitmap.ScanLine(AY), ABitmap.ScanLine(AY) + ABitmap.Width());
}

TColor C(const TPalette& APalette, int AIndex) {
  return RGB(APalette[AIndex][0], APalette[AIndex][1], APalette[AIndex][2]);
}

// Expects AAction to raise E with AMessage.
template <typename E, typename F>
void ExpectError(F&& AAction, const std::string& AMessage) {
  try {
    AAction();
    ADD_FAILURE() << "no error; want " << AMessage;
  } catch (const E& e) {
    EXPECT_EQ(e.Message(), AMessage);
  } catch (const Exception& e) {
    ADD_FAILURE() << "got " << e.ClassName() << " " << e.Message() << "; want " << AMessage;
  }
}

// ---------------------------------------------------------------------------
// Header and logical screen

TEST(GifRead, VersionsAndSignature) {
  struct Case {
    std::string signature;  // the first six bytes
    bool ok;
    TGIFVersion version;
  };
  const Case cases[] = {
      {"GIF87a", true, gv87a},      {"GIF89a", true, gv89a},      {"GIF88a", false, gvUnknown},
      {"GIF89b", false, gvUnknown}, {"gif89a", false, gvUnknown}, {"JIF89a", false, gvUnknown},
  };
  for (const Case& c : cases) {
    TBytes gif = Cat({Screen(2, 1, Four), Image(0, 0, 2, 1, {1, 2}), Trailer});
    std::copy(c.signature.begin(), c.signature.end(), gif.begin());
    TGIFImage image;
    if (c.ok) {
      ASSERT_NO_THROW(Load(image, gif)) << c.signature;
      EXPECT_EQ(image.Version(), c.version) << c.signature;
      EXPECT_EQ(image.Count(), 1) << c.signature;
    } else {
      ExpectError<EInvalidGraphic>([&] { Load(image, gif); }, "Unknown GIF version");
    }
  }
}

TEST(GifRead, LogicalScreenGlobalTableAndBackground) {
  TGIFImage image;
  Load(image, Cat({Screen(300, 200, Four, /*background*/ 2), Image(0, 0, 1, 1, {0}), Trailer}));
  EXPECT_EQ(image.ScreenWidth(), 300);
  EXPECT_EQ(image.ScreenHeight(), 200);
  EXPECT_EQ(image.Header().FBitsPerPixel, 2);
  EXPECT_EQ(image.Header().FColorResBits, 8);
  EXPECT_EQ(image.Header().FColorMap.Count, 4);
  EXPECT_EQ(image.BackgroundColor(), C(Four, 2));
  EXPECT_EQ(image.FrameIndex(), 0);

  // A background index past the table, and no table at all: no background colour.
  Load(image, Cat({Screen(2, 2, Four, /*background*/ 4), Image(0, 0, 1, 1, {0}), Trailer}));
  EXPECT_EQ(image.BackgroundColor(), clNone);
  Load(image, Cat({Screen(2, 2, {}), Image(0, 0, 1, 1, {0}, 2, Four), Trailer}));
  EXPECT_EQ(image.BackgroundColor(), clNone);
}

TEST(GifRead, HeaderCutShortIsAReadError) {
  const TBytes full = Cat({Screen(2, 1, Four), Trailer});
  for (size_t n : {size_t(0), size_t(5), size_t(6), size_t(12), size_t(13 + 11)}) {
    TGIFImage image;
    ExpectError<EReadError>([&] { image.LoadFromGIF(full.data(), n); }, "Stream read error");
  }
}

// ---------------------------------------------------------------------------
// The block loop

TEST(GifRead, UnknownExtensionLabelIsNamedInHex) {
  for (auto [label, text] : {std::pair{0x77, "77"}, {0xAB, "ab"}, {0x00 + 0x02, "02"}}) {
    TGIFImage image;
    const TBytes gif = Cat({Screen(1, 1, Four), {0x21, uint8_t(label), 0}, Trailer});
    ExpectError<EInvalidGraphic>([&] { Load(image, gif); },
                                 std::string("Unrecognized extension block: ") + text);
  }
}

TEST(GifRead, UnexpectedIntroducers) {
  const TBytes head = Screen(2, 1, Four);
  const TBytes frame = Image(0, 0, 2, 1, {1, 2});
  struct Case {
    const char* name;
    TBytes gif;
    int frames;  // -1: fails with "Stream read error"
  };
  const Case cases[] = {
      {"junk instead of the first block", Cat({head, {'X'}, frame, Trailer}), -1},
      {"junk after an extension", Cat({head, Gce(0, -1, 0), {'X'}, frame, Trailer}), -1},
      {"junk after an image ends the stream", Cat({head, frame, {'X'}, frame, Trailer}), 1},
      {"zero bytes before introducers are skipped", Cat({head, {0, 0}, frame, {0}, frame, Trailer}),
       2},
      {"no trailer", Cat({head, frame, frame}), 2},
      {"an introducer as the very last byte", Cat({head, frame, Gce(0, -1, 0), {0x2C}}), 1},
      {"trailer first", Cat({head, Trailer, frame}), 0},
  };
  for (const Case& c : cases) {
    TGIFImage image;
    if (c.frames < 0) {
      SCOPED_TRACE(c.name);
      ExpectError<EReadError>([&] { Load(image, c.gif); }, "Stream read error");
    } else {
      ASSERT_NO_THROW(Load(image, c.gif)) << c.name;
      EXPECT_EQ(image.Count(), c.frames) << c.name;
    }
  }
}

TEST(GifRead, PlainTextDropsTheExtensionsKeptBeforeIt) {
  const TBytes plainText{0x21, 0x01, 12,  0,   0, 0, 0, 0,
                         0,    0,    0,   0,   0, 0, 0,  // label, 12-byte header
                         3,    'a',  'b', 'c', 0};       // one sub-block, end
  TGIFImage image;
  Load(image, Cat({Screen(2, 1, Four), Gce(2, 1, 7), plainText, Image(0, 0, 2, 1, {1, 2}),
                   plainText, Gce(1, 3, 9), Image(0, 0, 2, 1, {1, 3}), Trailer}));
  ASSERT_EQ(image.Count(), 2);
  EXPECT_TRUE(image.Frames(0).Extensions().empty());
  EXPECT_EQ(image.Frames(0).TransparentColor(), clNone);
  EXPECT_EQ(image.Frames(0).AnimateInterval(), 0);
  EXPECT_EQ(image.Frames(0).Disposal(), dmUndefined);
  // A control after the plain text still belongs to the next image.
  EXPECT_EQ(image.Frames(1).TransparentColor(), C(Four, 3));
  EXPECT_EQ(image.Frames(1).AnimateInterval(), 90);
  EXPECT_EQ(image.Frames(1).Disposal(), dmLeave);
}

TEST(GifRead, LoopingExtensions) {
  const auto app = AppExtension;
  struct Case {
    const char* name;
    TBytes block;
    bool looping;
    uint16_t repeat;
  };
  const Case cases[] = {
      {"NETSCAPE2.0 count 5", app("NETSCAPE2.0", {1, 5, 0}), true, 5},
      {"ANIMEXTS1.0 count 0", app("ANIMEXTS1.0", {1, 0, 0}), true, 0},
      {"count capped at 30000", app("NETSCAPE2.0", {1, 0x40, 0x9C}), true, 30000},
      {"sub-block id 2", app("NETSCAPE2.0", {2, 5, 0}), false, 1},
      {"sub-block of 2 bytes", app("NETSCAPE2.0", {1, 5}), false, 1},
      {"other application", app("XMP DataXMP", {1, 5, 0}), false, 1},
  };
  for (const Case& c : cases) {
    TGIFImage image;
    Load(image, Cat({Screen(1, 1, Four), c.block, Image(0, 0, 1, 1, {0}), Trailer}));
    EXPECT_EQ(image.Looping(), c.looping) << c.name;
    EXPECT_EQ(image.RepeatCount(), c.repeat) << c.name;
    EXPECT_EQ(image.Count(), 1) << c.name;
    EXPECT_TRUE(image.Frames(0).Extensions().empty()) << c.name;
  }
}

TEST(GifRead, CommentsGoToTheNextFrameOrTheImage) {
  const TBytes comment{0x21, 0xFE, 2, 'h', 'i', 3, 'y', 'o', 'u', 0};
  TGIFImage image;
  Load(image, Cat({Screen(1, 1, Four), comment, Image(0, 0, 1, 1, {0}), comment, Trailer}));
  ASSERT_EQ(image.Frames(0).Extensions().size(), 1u);
  EXPECT_EQ(image.Frames(0).Extensions()[0].FLines, (std::vector<std::string>{"hi", "you"}));
  EXPECT_EQ(image.Header().FComment, (std::vector<std::string>{"hi", "you"}));
}

// ---------------------------------------------------------------------------
// Frames

TEST(GifRead, FrameRecordFromDescriptorAndControls) {
  TGIFImage image;
  Load(image,
       Cat({Screen(8, 6, Four), Gce(/*disposal*/ 3, /*transparent*/ 2, /*delay*/ 25),
            Image(/*left*/ 3, /*top*/ 1, /*width*/ 2, /*height*/ 2, {0, 1, 2, 3}), Trailer}));
  const TGIFFrame& f = image.Frames(0);
  EXPECT_EQ(f.TopLeft(), (TPoint{3, 1}));
  EXPECT_EQ(f.Width(), 2);
  EXPECT_EQ(f.Height(), 2);
  EXPECT_EQ(f.Disposal(), dmRestorePrevious);
  EXPECT_EQ(f.AnimateInterval(), 250);
  EXPECT_EQ(f.TransparentColor(), C(Four, 2));
  EXPECT_FALSE(f.LocalColors());
  EXPECT_FALSE(f.Interlaced());
  EXPECT_FALSE(f.Corrupted());
  EXPECT_EQ(f.Item().FBitsPerPixel, 2);
  EXPECT_TRUE(image.Transparent());
  EXPECT_FALSE(image.Empty());
}

TEST(GifRead, DelaysAndSeveralControls) {
  struct Case {
    std::vector<uint16_t> delays;  // one graphic control each, in order
    uint16_t want;                 // milliseconds
  };
  const Case cases[] = {
      {{0}, 0},         {{10}, 100},     {{6553}, 65530}, {{6554}, 65535},
      {{65535}, 65535}, {{30, 10}, 300}, {{10, 30}, 300}, {{}, 0},
  };
  for (const Case& c : cases) {
    TBytes controls;
    for (uint16_t d : c.delays) controls = Cat({controls, Gce(0, -1, d)});
    TGIFImage image;
    Load(image, Cat({Screen(1, 1, Four), controls, Image(0, 0, 1, 1, {0}), Trailer}));
    EXPECT_EQ(image.Frames(0).AnimateInterval(), c.want) << "delays " << c.delays.size();
  }
}

TEST(GifRead, TransparentIndex) {
  struct Case {
    const char* name;
    TBytes controls;
    TColor want;
  };
  const Case cases[] = {
      {"index in range", Gce(0, 3, 0), C(Four, 3)},
      {"index past the table: opaque", Gce(0, 4, 0), clNone},
      {"flag clear", Gce(0, -1, 0), clNone},
      {"out of range keeps the earlier colour", Cat({Gce(0, 1, 0), Gce(0, 9, 0)}), C(Four, 1)},
      {"a clear flag drops the earlier colour", Cat({Gce(0, 1, 0), Gce(0, -1, 0)}), clNone},
  };
  for (const Case& c : cases) {
    TGIFImage image;
    Load(image, Cat({Screen(2, 1, Four), c.controls, Image(0, 0, 2, 1, {1, 3}), Trailer}));
    EXPECT_EQ(image.Frames(0).TransparentColor(), c.want) << c.name;
    EXPECT_EQ(image.Transparent(), c.want != clNone) << c.name;
  }
}

TEST(GifRead, TransparentColourIsMadeUnique) {
  struct Case {
    const char* name;
    TPalette table;
    int transparent;
    TColor want;
  };
  const Case cases[] = {
      {"unique already", {{{1, 2, 3}}, {{4, 5, 6}}}, 1, RGB(4, 5, 6)},
      {"blue steps down", {{{10, 20, 30}}, {{10, 20, 30}}}, 1, RGB(10, 20, 29)},
      {"until no entry matches",
       {{{10, 20, 30}}, {{10, 20, 30}}, {{10, 20, 29}}, {{10, 20, 28}}},
       1,
       RGB(10, 20, 27)},
      {"blue 0 steps up", {{{5, 5, 0}}, {{5, 5, 0}}, {{5, 5, 1}}, {{0, 0, 0}}}, 0, RGB(5, 5, 2)},
      {"blue 255 steps down", {{{1, 1, 255}}, {{1, 1, 255}}}, 0, RGB(1, 1, 254)},
      {"down to 0, then up past the start",
       {{{7, 7, 1}}, {{7, 7, 1}}, {{7, 7, 0}}, {{7, 7, 2}}},
       0,
       RGB(7, 7, 3)},
  };
  for (const Case& c : cases) {
    TGIFImage image;
    // Frame 0 marks the entry transparent; frame 1 has no control and keeps the table as it was.
    Load(image, Cat({Screen(2, 1, c.table), Gce(0, c.transparent, 0),
                     Image(0, 0, 2, 1, {uint8_t(c.transparent), uint8_t(1 - c.transparent)}),
                     Image(0, 0, 1, 1, {uint8_t(c.transparent)}), Trailer}));
    const TColor original = C(c.table, c.transparent);
    TGIFFrame& f = image.Frames(0);
    EXPECT_EQ(f.TransparentColor(), c.want) << c.name;
    // Only the transparent index shows the changed colour; the twin stays visible.
    EXPECT_EQ(f.Bitmap().PixelAt(0, 0), c.want) << c.name;
    EXPECT_EQ(f.Bitmap().PixelAt(1, 0), C(c.table, 1 - c.transparent)) << c.name;
    EXPECT_EQ(image.Frames(1).Bitmap().PixelAt(0, 0), original) << c.name;
    EXPECT_EQ(image.Header().FColorMap.ColorOf(c.transparent), original) << c.name;
  }
}

TEST(GifRead, ZeroSizeTakesTheScreenSize) {
  TGIFImage image;
  Load(image, Cat({Screen(3, 2, Four), Image(0, 0, 0, 0, {1, 1, 1, 2, 2, 2}),
                   Image(1, 0, 2, 0, {3, 3, 3, 3}), Trailer}));
  EXPECT_EQ(image.Frames(0).Width(), 3);
  EXPECT_EQ(image.Frames(0).Height(), 2);
  EXPECT_EQ(Row(image.Frames(0).Bitmap(), 1), (std::vector<TColor>(3, C(Four, 2))));
  EXPECT_EQ(image.Frames(1).Width(), 2);
  EXPECT_EQ(image.Frames(1).Height(), 2);
}

TEST(GifRead, LocalTableTakesPrecedence) {
  const TPalette local{{{1, 1, 1}}, {{2, 2, 2}}, {{3, 3, 3}}, {{4, 4, 4}},
                       {{5, 5, 5}}, {{6, 6, 6}}, {{7, 7, 7}}, {{8, 8, 8}}};
  TGIFImage image;
  Load(image, Cat({Screen(2, 1, Four), Image(0, 0, 2, 1, {7, 1}, 3, local), Trailer}));
  const TGIFFrame& f = image.Frames(0);
  EXPECT_TRUE(f.LocalColors());
  EXPECT_EQ(f.Item().FBitsPerPixel, 3);
  EXPECT_EQ(Row(image.Frames(0).Bitmap(), 0), (std::vector<TColor>{RGB(8, 8, 8), RGB(2, 2, 2)}));
}

TEST(GifRead, DataCutShortKeepsTheFrameAndTheOnesBefore) {
  // 64 x 64 pixels of noise, so the data takes more than one sub-block.
  std::mt19937 random(3);
  std::vector<uint8_t> pixels(64 * 64);
  for (uint8_t& p : pixels) p = uint8_t(random() % 4);
  const TBytes good = Image(0, 0, 64, 64, pixels);
  const TBytes head = Screen(64, 64, Four);
  const TBytes whole = Cat({head, good, good});
  ASSERT_GT(good.size(), 10u + 300u);  // at least two sub-blocks

  // Cut inside the second frame's second sub-block.
  const size_t cut = head.size() + good.size() + 10 + 1 + 256 + 20;
  TGIFImage image;
  ASSERT_NO_THROW(image.LoadFromGIF(whole.data(), cut));
  ASSERT_EQ(image.Count(), 2);
  EXPECT_FALSE(image.Frames(0).Corrupted());
  EXPECT_TRUE(image.Frames(1).Corrupted());
  EXPECT_TRUE(image.Corrupted());
  // The first frame reads whole; the second keeps its first sub-block's pixels.
  const TBitmap& first = image.Frames(0).Bitmap();
  const TBitmap& second = image.Frames(1).Bitmap();
  for (int32_t x = 0; x < 64; ++x) {
    EXPECT_EQ(first.PixelAt(x, 63), C(Four, pixels[63 * 64 + x])) << "x " << x;
    EXPECT_EQ(second.PixelAt(x, 0), C(Four, pixels[x])) << "x " << x;
    // Far past what one sub-block holds: index 0.
    EXPECT_EQ(second.PixelAt(x, 63), C(Four, 0)) << "x " << x;
  }

  // Cut right after the descriptor: no data at all, still a frame.
  ASSERT_NO_THROW(image.LoadFromGIF(whole.data(), head.size() + good.size() + 10));
  EXPECT_EQ(image.Count(), 2);
  EXPECT_TRUE(image.Frames(1).Corrupted());
}

TEST(GifRead, InterlacedRowsFollowTheFourPasses) {
  // Sixteen colours, one per row; a 1 x 10 frame sends its rows pass by pass.
  TPalette sixteen;
  for (int i = 0; i < 16; ++i) sixteen.push_back({uint8_t(i * 10), uint8_t(i), uint8_t(200 - i)});
  const std::vector<uint8_t> sent{0, 8, 4, 2, 6, 1, 3, 5, 7, 9};  // row numbers in data order
  for (int height : {10, 1, 2, 3, 5}) {
    std::vector<uint8_t> data;
    for (uint8_t r : sent)
      if (r < height) data.push_back(r);
    TGIFImage image;
    Load(image, Cat({Screen(1, uint16_t(height), sixteen),
                     Image(0, 0, 1, uint16_t(height), data, 4, {}, true), Trailer}));
    ASSERT_TRUE(image.Frames(0).Interlaced());
    const TBitmap& b = image.Frames(0).Bitmap();
    for (int y = 0; y < height; ++y)
      EXPECT_EQ(b.PixelAt(0, y), C(sixteen, y)) << "height " << height << " row " << y;
  }
}

TEST(GifRead, CodeSizeOutOfRangeIsClampedAndMarked) {
  struct Case {
    int encodedWith;  // the size the codes really have
    int header;       // the size the data's first byte claims
    bool corrupted;
  };
  const Case cases[] = {{2, 2, false}, {2, 1, true},  {2, 0, true},  {8, 8, false},
                        {9, 9, false}, {9, 10, true}, {9, 255, true}};
  for (const Case& c : cases) {
    const TBytes frame = Cat({{0x2C, 0, 0, 0, 0, 4, 0, 1, 0, 0},  // descriptor: 4 x 1 at (0, 0)
                              LzwData(c.encodedWith, {1, 3, 2, 1}, c.header)});
    TGIFImage image;
    ASSERT_NO_THROW(Load(image, Cat({Screen(4, 1, Four), frame, Trailer}))) << c.header;
    EXPECT_EQ(image.Frames(0).Corrupted(), c.corrupted) << "header " << c.header;
    EXPECT_EQ(Row(image.Frames(0).Bitmap(), 0),
              (std::vector<TColor>{C(Four, 1), C(Four, 3), C(Four, 2), C(Four, 1)}))
        << "header " << c.header;
  }
}

TEST(GifRead, BitmapDepthAndIndicesPastTheTable) {
  const TColor gray = RGB(128, 128, 128);
  const TPalette two{{{1, 1, 1}}, {{2, 2, 2}}};
  TPalette eight;
  for (int i = 0; i < 8; ++i) eight.push_back({uint8_t(i), uint8_t(i), uint8_t(i)});
  struct Case {
    const char* name;
    TPalette table;
    std::vector<uint8_t> indices;
    std::vector<TColor> want;
  };
  const Case cases[] = {
      // A 1-bit bitmap keeps an index's low bit.
      {"2 entries", two, {0, 1, 2, 3}, {RGB(1, 1, 1), RGB(2, 2, 2), RGB(1, 1, 1), RGB(2, 2, 2)}},
      // A 4-bit bitmap has 16 palette entries; those past the table's 8 are gray.
      {"8 entries", eight, {7, 8, 15, 17}, {RGB(7, 7, 7), gray, gray, RGB(1, 1, 1)}},
  };
  for (const Case& c : cases) {
    TGIFImage image;
    Load(image, Cat({Screen(4, 1, c.table), Image(0, 0, 4, 1, c.indices, 5), Trailer}));
    EXPECT_EQ(Row(image.Frames(0).Bitmap(), 0), c.want) << c.name;
  }
}

TEST(GifRead, FrameWithoutAnyColourTableFailsAndIsRemoved) {
  TGIFImage image;
  int changes = 0;
  image.OnChange = [&] { ++changes; };
  const TBytes gif = Cat({Screen(2, 1, {}), Image(0, 0, 2, 1, {0, 1}), Trailer});
  ExpectError<EInvalidGraphic>([&] { Load(image, gif); },
                               "Wrong number of colors; must be a power of 2");
  EXPECT_EQ(image.Count(), 0);
  EXPECT_TRUE(image.Empty());
  EXPECT_EQ(changes, 1);
}

TEST(GifRead, FramesOverThePixelStoreCapFailWithOutOfResources) {
  TGIFImage image;
  // A 65535 x 65535 frame would need 16 GiB.
  const TBytes gif = Cat({Screen(1, 1, Four), Image(0, 0, 65535, 65535, {0}), Trailer});
  ExpectError<EOutOfResources>([&] { Load(image, gif); }, "Out of system resources");
  EXPECT_EQ(image.Count(), 0);

  // A later frame is only decoded when asked for, and fails then.
  Load(image,
       Cat({Screen(1, 1, Four), Image(0, 0, 1, 1, {0}), Image(0, 0, 9000, 9000, {0}), Trailer}));
  EXPECT_FALSE(image.Frames(1).Decoded());
  ExpectError<EOutOfResources>([&] { image.Frames(1).Bitmap(); }, "Out of system resources");
}

TEST(GifRead, OtherFramesAreDecodedOnFirstUse) {
  TGIFImage image;
  Load(image,
       Cat({Screen(2, 1, Four), Image(0, 0, 2, 1, {1, 2}), Image(0, 0, 2, 1, {3, 0}), Trailer}));
  EXPECT_TRUE(image.Frames(0).Decoded());
  EXPECT_FALSE(image.Frames(1).Decoded());
  const TBitmap& b = image.Frames(1).Bitmap();
  EXPECT_TRUE(image.Frames(1).Decoded());
  EXPECT_EQ(&image.Frames(1).Bitmap(), &b);  // kept, not decoded again
  EXPECT_EQ(Row(b, 0), (std::vector<TColor>{C(Four, 3), C(Four, 0)}));
}

// ---------------------------------------------------------------------------
// The stored form and the change notification

TEST(GifRead, StoredFormCount) {
  const TBytes gif = Cat({Screen(2, 1, Four), Image(0, 0, 2, 1, {1, 2}), Trailer});
  auto stored = [&](int32_t ACount, size_t AGifBytes) {
    TBytes out{uint8_t(ACount), uint8_t(ACount >> 8), uint8_t(ACount >> 16), uint8_t(ACount >> 24)};
    out.insert(out.end(), gif.begin(), gif.begin() + long(AGifBytes));
    return out;
  };
  struct Case {
    const char* name;
    TBytes bytes;
    int frames;  // -1: EReadError
  };
  const Case cases[] = {
      {"count equal to the bytes", stored(int32_t(gif.size()), gif.size()), 1},
      {"bytes after the count are left alone",
       Cat({stored(int32_t(gif.size()), gif.size()), {1, 2}}), 1},
      {"count 0", stored(0, gif.size()), 0},
      {"negative count", stored(-5, gif.size()), 0},
      {"most negative count", stored(INT32_MIN, gif.size()), 0},
      {"count past the bytes", stored(int32_t(gif.size()) + 1, gif.size()), -1},
      {"count 2^31-1", stored(INT32_MAX, gif.size()), -1},
      {"count cut short", TBytes{5, 0}, -1},
  };
  for (const Case& c : cases) {
    TGIFImage image;
    int changes = 0;
    image.OnChange = [&] { ++changes; };
    if (c.frames < 0) {
      SCOPED_TRACE(c.name);
      ExpectError<EReadError>([&] { image.ReadData(c.bytes.data(), c.bytes.size()); },
                              "Stream read error");
    } else {
      ASSERT_NO_THROW(image.ReadData(c.bytes.data(), c.bytes.size())) << c.name;
      EXPECT_EQ(image.Count(), c.frames) << c.name;
      EXPECT_EQ(image.FrameIndex(), c.frames > 0 ? 0 : -1) << c.name;
    }
    EXPECT_EQ(changes, 1) << c.name;
  }
}

TEST(GifRead, ReadingAgainClearsTheImage) {
  TGIFImage image;
  Load(image, Cat({Screen(2, 1, Four, 1), LoopExtension(7), Image(0, 0, 2, 1, {1, 2}),
                   Image(0, 0, 2, 1, {1, 2}), Trailer}));
  ASSERT_TRUE(image.Looping());
  const TBytes empty{0, 0, 0, 0};
  image.ReadData(empty.data(), empty.size());
  EXPECT_EQ(image.Count(), 0);
  EXPECT_EQ(image.FrameIndex(), -1);
  EXPECT_EQ(image.BackgroundColor(), clNone);
  EXPECT_FALSE(image.Looping());
  EXPECT_EQ(image.RepeatCount(), 1);
  EXPECT_EQ(image.Version(), gvUnknown);
  EXPECT_TRUE(image.Empty());
  EXPECT_FALSE(image.Transparent());
}

// ---------------------------------------------------------------------------
// LZW

// The code bytes of encoded image data (the code size, then sub-blocks) as
// the reader keeps them: joined, then LZWPadding zeros.
std::vector<uint8_t> JoinedCodes(const TBytes& AData) {
  TByteReader in(AData.data() + 1, AData.size() - 1);
  std::vector<uint8_t> codes;
  EXPECT_TRUE(JoinSubBlocks(in, codes));
  codes.insert(codes.end(), LZWPadding, 0);
  return codes;
}

TEST(GifLzw, RoundTripsEveryCodeSize) {
  std::mt19937 random(7);
  for (int codeSize = 2; codeSize <= 8; ++codeSize) {
    // Long runs fill the table with long strings; noise fills it with many
    // short ones, forcing clear codes.
    for (size_t n : {size_t(1), size_t(2), size_t(100), size_t(70000)}) {
      for (bool runs : {false, true}) {
        std::vector<uint8_t> pixels(n);
        for (size_t i = 0; i < n; ++i)
          pixels[i] = uint8_t(runs ? (i / 97) % (1u << codeSize) : random() % (1u << codeSize));
        const TBytes data = LzwData(codeSize, pixels);
        ASSERT_EQ(data[0], codeSize);
        const std::vector<uint8_t> codes = JoinedCodes(data);
        std::vector<uint8_t> out(n + LZWPadding, 0xEE);
        const TLZWResult r =
            DecodeLZW(codeSize, codes.data(), codes.size() - LZWPadding, out.data(), n);
        out.resize(n);
        EXPECT_EQ(r.Written, n) << "code size " << codeSize << " n " << n;
        EXPECT_FALSE(r.Corrupted) << "code size " << codeSize << " n " << n;
        EXPECT_TRUE(out == pixels) << "code size " << codeSize << " n " << n << " runs " << runs;
      }
    }
  }
}

TEST(GifLzw, CorruptDataStopsQuietly) {
  // Code size 2: clear 4, end 5, first free entry 6; codes are 3 bits wide
  // until entry 7 is made, then 4. Each case gives every code with its width.
  using TCodes = std::vector<std::pair<int, int>>;
  auto pack = [](const TCodes& ACodes) {
    std::vector<uint8_t> out;
    uint32_t bits = 0;
    int count = 0;
    for (auto [code, width] : ACodes) {
      bits |= uint32_t(code) << count;
      for (count += width; count >= 8; count -= 8, bits >>= 8) out.push_back(uint8_t(bits));
    }
    if (count) out.push_back(uint8_t(bits));
    out.insert(out.end(), LZWPadding, 0);
    return out;
  };
  struct Case {
    const char* name;
    TCodes codes;
    std::vector<uint8_t> want;  // 6 pixels
    bool corrupted;
  };
  const Case cases[] = {
      {"end code before the last pixel",
       {{4, 3}, {1, 3}, {2, 3}, {6, 3}, {3, 4}, {5, 4}},
       {1, 2, 1, 2, 3, 0},
       false},
      {"KwKwK", {{4, 3}, {1, 3}, {6, 3}, {7, 3}, {5, 4}}, {1, 1, 1, 1, 1, 1}, false},
      {"code past the table", {{4, 3}, {1, 3}, {7, 3}, {2, 3}, {5, 3}}, {1, 0, 0, 0, 0, 0}, true},
      {"string code first", {{4, 3}, {6, 3}, {1, 3}, {5, 3}}, {0, 0, 0, 0, 0, 0}, true},
      {"end code at once", {{4, 3}, {5, 3}, {1, 3}, {1, 3}}, {0, 0, 0, 0, 0, 0}, false},
      {"no clear code first", {{2, 3}, {3, 3}, {6, 3}, {5, 4}}, {2, 3, 2, 3, 0, 0}, false},
      {"clear in the middle",
       {{4, 3}, {1, 3}, {4, 3}, {2, 3}, {6, 3}, {5, 3}},
       {1, 2, 2, 2, 0, 0},
       false},
      {"data runs out", {{4, 3}, {1, 3}, {2, 3}, {3, 3}, {1, 3}}, {1, 2, 3, 1, 0, 0}, true},
  };
  for (const Case& c : cases) {
    const std::vector<uint8_t> codes = pack(c.codes);
    std::vector<uint8_t> out(6 + LZWPadding, 0xEE);
    const TLZWResult r = DecodeLZW(2, codes.data(), codes.size() - LZWPadding, out.data(), 6);
    out.resize(6);
    EXPECT_EQ(out, c.want) << c.name;
    EXPECT_EQ(r.Corrupted, c.corrupted) << c.name;
  }
}

TEST(GifLzw, OutputStopsAtThePictureSize) {
  const TBytes data = LzwData(2, std::vector<uint8_t>(100, 3));
  const std::vector<uint8_t> codes = JoinedCodes(data);
  std::vector<uint8_t> out(7 + LZWPadding, 0);
  const TLZWResult r = DecodeLZW(2, codes.data(), codes.size() - LZWPadding, out.data(), 7);
  EXPECT_EQ(r.Written, 7u);
  EXPECT_FALSE(r.Corrupted);
  EXPECT_EQ(std::vector<uint8_t>(out.begin(), out.begin() + 7), std::vector<uint8_t>(7, 3));
}

// ---------------------------------------------------------------------------
// The committed firework

TEST(GifFirework, CommittedFileHasTheStoredProperties) {
  const TBytes bytes =
      testhelp::ReadFile(std::string(TINTBOX_SOURCE_DIR) + "/src/ui/data/firework.dat");
  ASSERT_FALSE(bytes.empty());
  ASSERT_GT(bytes.size(), 4u);
  const uint32_t count = uint32_t(bytes[0]) | (uint32_t(bytes[1]) << 8) |
                         (uint32_t(bytes[2]) << 16) | (uint32_t(bytes[3]) << 24);
  EXPECT_EQ(count, bytes.size() - 4);

  TGIFImage image;
  ASSERT_NO_THROW(image.ReadData(bytes.data(), bytes.size()));
  EXPECT_EQ(image.Version(), gv89a);
  EXPECT_EQ(image.ScreenWidth(), 249);
  EXPECT_EQ(image.ScreenHeight(), 255);
  EXPECT_EQ(image.Header().FColorMap.Count, 256);
  EXPECT_EQ(image.Header().FColorResBits, 8);
  EXPECT_EQ(image.Header().FAspectRatio, 0);
  EXPECT_EQ(image.BackgroundColor(), RGB(255, 250, 26));
  EXPECT_TRUE(image.Looping());
  EXPECT_EQ(image.RepeatCount(), 0);
  for (int i = 0; i < 256; ++i)
    EXPECT_EQ(image.Header().FColorMap.ColorOf(i) == clWhite, i == 244) << "entry " << i;
  ASSERT_EQ(image.Count(), 9);
  for (int32_t k = 0; k < 9; ++k) {
    TGIFFrame& f = image.Frames(k);
    EXPECT_EQ(f.TopLeft(), (TPoint{0, 0})) << k;
    EXPECT_EQ(f.Width(), 249) << k;
    EXPECT_EQ(f.Height(), 255) << k;
    EXPECT_FALSE(f.LocalColors()) << k;
    EXPECT_FALSE(f.Interlaced()) << k;
    EXPECT_FALSE(f.Corrupted()) << k;
    EXPECT_EQ(f.TransparentColor(), clWhite) << k;
    EXPECT_EQ(f.AnimateInterval(), k < 8 ? 100 : 500) << k;
    EXPECT_EQ(f.Disposal(), k < 8 ? dmRestoreBackground : dmLeave) << k;
    const TBitmap& b = f.Bitmap();
    EXPECT_FALSE(f.Corrupted()) << k;
    // How far the sparks reach from the centre, and whether any show at all.
    int32_t left = 249, right = -1, top = 255, bottom = -1;
    for (int32_t y = 0; y < 255; ++y)
      for (int32_t x = 0; x < 249; ++x)
        if (b.PixelAt(x, y) != clWhite) {
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
        }
    if (k == 8) {
      EXPECT_EQ(right, -1) << "frame 9 is fully transparent";
    } else if (k == 0) {
      EXPECT_NEAR(right - left + 1, 80, 12) << "frame 1 is about 80 pixels across";
    } else if (k == 7) {
      EXPECT_EQ(left, 0);
      EXPECT_EQ(top, 0);
      EXPECT_EQ(right, 248);
      EXPECT_EQ(bottom, 254);
    }
  }
}

}  // namespace
}  // namespace tintbox
