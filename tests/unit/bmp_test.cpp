// The bitmap file reader on tiny files built here field by field.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/testbitmaps.h"
#include "picture/bitmap.h"
#include "picture/bmpreader.h"
#include "picture/bmpwriter.h"
#include "picture/errors.h"

namespace tintbox {
namespace {

using testhelp::Outcome;

using TBytes = std::vector<uint8_t>;

// What a test file holds, by default a 3 x 2 8-bit file; WriteBmp writes it
// field by field.
struct TFile : TBmpFields {
  TFile() {
    Width = 3;
    Height = 2;
    BitCount = 8;
  }
};

std::string Hex(const std::vector<TColor>& v) {
  std::string s;
  char buf[16];
  for (TColor c : v) {
    std::snprintf(buf, sizeof buf, "%06X ", c);
    s += buf;
  }
  return s;
}

std::vector<TColor> PixelsOf(const TBitmap& b) {
  std::vector<TColor> v;
  for (int32_t y = 0; y < b.Height(); ++y)
    for (int32_t x = 0; x < b.Width(); ++x) v.push_back(b.PixelAt(x, y));
  return v;
}

std::string Outcome(const TBytes& file) {
  TBitmap b;
  return Outcome(file, b);
}

constexpr TColor C0 = RGB(10, 20, 30), C1 = RGB(200, 100, 50), C2 = RGB(1, 2, 3),
                 C3 = RGB(250, 251, 252);
const std::vector<TColor> Table4 = {C0, C1, C2, C3};

// ---- Depths and headers ----------------------------------------------------

struct TDepthCase {
  const char* Name;
  TFile File;
  std::vector<TColor> Want;  // top row first
  int BitsPerPixel;
  bool HasMasks;
  size_t TableSize;
};

std::vector<TDepthCase> DepthCases() {
  std::vector<TDepthCase> cases;
  auto add = [&](const char* name, TFile f, std::vector<TColor> want, bool masks, size_t table) {
    cases.push_back({name, f, want, f.BitCount, masks, table});
  };
  TFile f;
  // 1 bit, 3x2: bottom row 1,0,1 then top row 0,1,1; each row padded to 4 bytes.
  f = {};
  f.BitCount = 1;
  f.Table = {C0, C1};
  f.Pixels = {0xA0, 0, 0, 0, 0x60, 0, 0, 0};
  add("1 bit", f, {C0, C1, C1, C1, C0, C1}, false, 2);
  // 4 bits, 3x2.
  f = {};
  f.BitCount = 4;
  f.ColorsUsed = 4;
  f.Table = Table4;
  f.Pixels = {0x01, 0x20, 0, 0, 0x33, 0x10, 0, 0};
  add("4 bits", f, {C3, C3, C1, C0, C1, C2}, false, 4);
  // 8 bits, 3x2, colours-used 4.
  f = {};
  f.ColorsUsed = 4;
  f.Table = Table4;
  f.Pixels = {3, 2, 1, 0, 0, 1, 2, 0};
  add("8 bits", f, {C0, C1, C2, C3, C2, C1}, false, 4);
  // 8 bits behind a core header: 3-byte table entries, 256 of them by default.
  f = {};
  f.HeaderSize = 12;
  f.Table.assign(256, clBlack);
  f.Table[0] = C0;
  f.Table[1] = C1;
  f.Table[255] = C3;
  f.Pixels = {255, 0, 1, 0, 1, 1, 0, 0};
  add("core header", f, {C1, C1, C0, C3, C0, C1}, false, 256);
  // 8 bits behind 56-, 108- and 124-byte headers.
  for (uint32_t size : {56u, 108u, 124u}) {
    f = {};
    f.HeaderSize = size;
    f.ColorsUsed = 4;
    f.Table = Table4;
    f.Pixels = {3, 2, 1, 0, 0, 1, 2, 0};
    add(size == 56    ? "56-byte header"
        : size == 108 ? "108-byte header"
                      : "124-byte header",
        f, {C0, C1, C2, C3, C2, C1}, false, 4);
  }
  // 16 bits without masks: 5-5-5, widened by bit replication (0x10 -> 0x84).
  f = {};
  f.BitCount = 16;
  f.Pixels = {0x00, 0x7C, 0xE0, 0x03, 0x10, 0x00, 0, 0,   // red, green, blue 0x10
              0xFF, 0x7F, 0x00, 0x00, 0x1F, 0x80, 0, 0};  // white, black, blue + top bit
  add("16 bits 5-5-5", f,
      {clWhite, clBlack, RGB(0, 0, 0xFF), RGB(0xFF, 0, 0), RGB(0, 0xFF, 0), RGB(0, 0, 0x84)}, false,
      0);
  // 16 bits, bit fields 5-6-5 after a 40-byte header.
  f = {};
  f.BitCount = 16;
  f.Compression = 3;
  f.Masks = {0xF800, 0x07E0, 0x001F};
  f.Pixels = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0,   // red, green, blue
              0x20, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0, 0};  // green 1/63, red 0x10, white
  add("16 bits 5-6-5 after header", f,
      {RGB(0, 0x04, 0), RGB(0x84, 0, 0), clWhite, RGB(0xFF, 0, 0), RGB(0, 0xFF, 0),
       RGB(0, 0, 0xFF)},
      true, 0);
  // The same masks carried by a 52-byte header.
  f.HeaderSize = 52;
  add("16 bits 5-6-5 in 52-byte header", f,
      {RGB(0, 0x04, 0), RGB(0x84, 0, 0), clWhite, RGB(0xFF, 0, 0), RGB(0, 0xFF, 0),
       RGB(0, 0, 0xFF)},
      true, 0);
  // 24 bits: blue, green, red; rows padded to 12 bytes.
  f = {};
  f.BitCount = 24;
  f.Pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0};
  add("24 bits", f,
      {RGB(12, 11, 10), RGB(15, 14, 13), RGB(18, 17, 16), RGB(3, 2, 1), RGB(6, 5, 4), RGB(9, 8, 7)},
      false, 0);
  // 32 bits: blue, green, red, and a fourth byte that does not change the colour.
  f = {};
  f.BitCount = 32;
  f.Width = 2;
  f.Pixels = {1, 2, 3, 0x80, 4, 5, 6, 0, 7, 8, 9, 0xFF, 10, 11, 12, 1};
  add("32 bits", f, {RGB(9, 8, 7), RGB(12, 11, 10), RGB(3, 2, 1), RGB(6, 5, 4)}, false, 0);
  // 32 bits, 10-10-10 bit fields: each channel keeps its top 8 bits.
  f = {};
  f.BitCount = 32;
  f.Width = 2;
  f.Height = 1;
  f.Compression = 3;
  f.Masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
  f.Pixels = {0xFF, 0x03, 0x00, 0x00,   // blue 0x3FF
              0x00, 0x00, 0x10, 0x20};  // red 0x201
  add("32 bits 10-10-10", f, {RGB(0, 0, 0xFF), RGB(0x80, 0, 0)}, true, 0);
  // A table given with 24 bits is read and changes nothing.
  f = {};
  f.BitCount = 24;
  f.Width = 1;
  f.Height = 1;
  f.ColorsUsed = 2;
  f.Table = {C1, C2};
  f.Pixels = {1, 2, 3, 0};
  add("24 bits with a table", f, {RGB(3, 2, 1)}, false, 0);
  return cases;
}

TEST(BmpRead, EveryDepthAndHeaderReadsItsPixels) {
  for (const TDepthCase& c : DepthCases()) {
    SCOPED_TRACE(c.Name);
    TBitmap b;
    ASSERT_EQ(Outcome(WriteBmp(c.File), b),
              "OK " + std::to_string(c.File.Width) + "x" + std::to_string(c.File.Height));
    EXPECT_EQ(Hex(PixelsOf(b)), Hex(c.Want));
    EXPECT_EQ(b.Format().BitsPerPixel, c.BitsPerPixel);
    EXPECT_EQ(b.Format().FileBitsPerPixel, c.BitsPerPixel);
    EXPECT_EQ(b.Format().Compression, c.File.Compression);
    EXPECT_EQ(b.Format().HasMasks, c.HasMasks);
    if (c.HasMasks) {
      EXPECT_EQ(b.Format().RedMask, c.File.Masks[0]);
      EXPECT_EQ(b.Format().BlueMask, c.File.Masks[2]);
    }
    EXPECT_EQ(b.Format().ColorTable.size(), c.TableSize);
    EXPECT_FALSE(b.Format().TopDown);
    EXPECT_TRUE(b.Modified);
  }
}

TEST(BmpRead, ThirtyTwoBitFilesKeepTheFourthByteInTheAlphaPlane) {
  TFile f;
  f.BitCount = 32;
  f.Width = 2;
  f.Pixels = {1, 2, 3, 0x80, 4, 5, 6, 0, 7, 8, 9, 0xFF, 10, 11, 12, 1};
  TBitmap b;
  ASSERT_EQ(Outcome(WriteBmp(f), b), "OK 2x2");
  ASSERT_NE(b.AlphaPlane(), nullptr);
  const std::vector<int> got(b.AlphaPlane(), b.AlphaPlane() + 4);
  EXPECT_EQ(got, (std::vector<int>{0xFF, 1, 0x80, 0}));
  // Other depths have no alpha plane.
  f.BitCount = 24;
  f.Pixels.assign(16, 0);
  ASSERT_EQ(Outcome(WriteBmp(f), b), "OK 2x2");
  EXPECT_EQ(b.AlphaPlane(), nullptr);
}

TEST(BmpRead, FullTableReadsBackExactly) {
  TFile f;
  f.Width = 16;
  f.Height = -16;  // top-down, so pixel (x, y) holds index 16 y + x
  for (int i = 0; i < 256; ++i) {
    f.Table.push_back(RGB(uint8_t(i), uint8_t(255 - i), uint8_t(i * 37)));
    f.Pixels.push_back(uint8_t(i));
  }
  TBitmap b;
  ASSERT_EQ(Outcome(WriteBmp(f), b), "OK 16x16");
  EXPECT_EQ(Hex(b.Format().ColorTable), Hex(f.Table));
  EXPECT_EQ(Hex(PixelsOf(b)), Hex(f.Table));
  EXPECT_TRUE(b.Format().TopDown);
}

TEST(BmpRead, IndicesPastTheTableReadBlack) {
  TFile f;
  f.Width = 3;
  f.Height = 1;
  f.ColorsUsed = 2;
  f.Table = {C1, C2};
  f.Pixels = {1, 2, 200, 0};
  TBitmap b;
  ASSERT_EQ(Outcome(WriteBmp(f), b), "OK 3x1");
  EXPECT_EQ(Hex(PixelsOf(b)), Hex({C2, clBlack, clBlack}));
}

TEST(BmpRead, BottomUpAndTopDownReadTheSamePixels) {
  TFile up;
  up.Table = Table4;
  up.ColorsUsed = 4;
  up.Height = 3;
  up.Pixels = {0, 0, 1, 0, 2, 2, 3, 0, 3, 1, 0, 0};  // bottom row first
  TFile down = up;
  down.Height = -3;
  down.Pixels = {3, 1, 0, 0, 2, 2, 3, 0, 0, 0, 1, 0};  // top row first
  TBitmap a, b;
  ASSERT_EQ(Outcome(WriteBmp(up), a), "OK 3x3");
  ASSERT_EQ(Outcome(WriteBmp(down), b), "OK 3x3");
  EXPECT_EQ(Hex(PixelsOf(a)), Hex({C3, C1, C0, C2, C2, C3, C0, C0, C1}));
  EXPECT_EQ(Hex(PixelsOf(b)), Hex(PixelsOf(a)));
  EXPECT_FALSE(a.Format().TopDown);
  EXPECT_TRUE(b.Format().TopDown);
}

// ---- Files cut short -------------------------------------------------------

struct TCutCase {
  const char* Name;
  TFile File;
  std::vector<TColor> Want;
};

TEST(BmpRead, FilesCutShortReadMissingPixelsAsZeroValues) {
  const std::vector<TCutCase> cases = [] {
    std::vector<TCutCase> v;
    TFile f;
    f.Table = {C1, C2, C3};  // entry 0 is C1
    f.ColorsUsed = 3;
    f.Height = 3;
    // Bottom-up, cut after 1.5 rows: the top rows read as entry 0.
    f.Pixels = {2, 2, 2, 0, 1, 2};
    v.push_back({"8 bits bottom-up", f, {C1, C1, C1, C2, C3, C1, C3, C3, C3}});
    // Top-down, the same bytes: the bottom rows read as entry 0.
    f.Height = -3;
    v.push_back({"8 bits top-down", f, {C3, C3, C3, C2, C3, C1, C1, C1, C1}});
    // 24 bits cut inside a pixel: the bytes present count, the rest are zero.
    f = {};
    f.BitCount = 24;
    f.Width = 2;
    f.Height = 1;
    f.Pixels = {1, 2, 3, 0x40, 0x50};
    v.push_back({"24 bits inside a pixel", f, {RGB(3, 2, 1), RGB(0, 0x50, 0x40)}});
    // 1 bit cut after the first byte of a 10-pixel row.
    f = {};
    f.BitCount = 1;
    f.Width = 10;
    f.Height = 1;
    f.Table = {C1, C2};
    f.Pixels = {0xFF};
    v.push_back({"1 bit", f, {C2, C2, C2, C2, C2, C2, C2, C2, C1, C1}});
    // Nothing after the table.
    f.Pixels = {};
    v.push_back({"no pixels", f, std::vector<TColor>(10, C1)});
    return v;
  }();
  for (const TCutCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TBitmap b;
    const TBytes file = WriteBmp(c.File);
    ASSERT_EQ(Outcome(file, b).substr(0, 2), "OK");
    EXPECT_EQ(Hex(PixelsOf(b)), Hex(c.Want));
  }
}

TEST(BmpRead, ThirtyTwoBitFileCutShortHasZeroAlphaForMissingPixels) {
  TFile f;
  f.BitCount = 32;
  f.Width = 2;
  f.Height = 2;
  f.Pixels = {1, 2, 3, 0x77, 4, 5};  // bottom row: one whole pixel, one partial one
  TBitmap b;
  ASSERT_EQ(Outcome(WriteBmp(f), b), "OK 2x2");
  EXPECT_EQ(Hex(PixelsOf(b)), Hex({clBlack, clBlack, RGB(3, 2, 1), RGB(0, 5, 4)}));
  const std::vector<int> alpha(b.AlphaPlane(), b.AlphaPlane() + 4);
  EXPECT_EQ(alpha, (std::vector<int>{0, 0, 0x77, 0}));
}

TEST(BmpRead, BytesBetweenTableAndPixelsAreReadAsPixels) {
  TFile f;
  f.Table = Table4;
  f.ColorsUsed = 4;
  f.Width = 2;
  f.Height = -2;
  f.Gap = {1, 2, 0, 0};                 // bfOffBits points past these
  f.Pixels = {3, 3, 0, 0, 3, 3, 0, 0};  // so these are partly never read
  TBitmap b;
  ASSERT_EQ(Outcome(WriteBmp(f), b), "OK 2x2");
  EXPECT_EQ(Hex(PixelsOf(b)), Hex({C1, C2, C3, C3}));
}

// ---- Run-length data -------------------------------------------------------

struct TRleCase {
  const char* Name;
  uint16_t BitCount;  // 8: RLE8, 4: RLE4
  int32_t Width, Height;
  TBytes Data;
  std::vector<int> Want;  // table indices, top row first
};

// The table of every run-length case: entry i is Table4[i], entries past 3 black.
std::vector<TRleCase> RleCases() {
  return {
      {"RLE8 runs, end of line, end of bitmap",
       8,
       4,
       2,
       {3, 1, 1, 2,  // run 3 x 1, run 1 x 2
        0, 0,        // end of line
        2, 3,        // run 2 x 3
        0, 1},       // end of bitmap
       {3, 3, 0, 0, 1, 1, 1, 2}},
      {"RLE8 delta leaves pixels as entry 0",
       8,
       4,
       3,
       {1, 2,        // run 1 x 2 at (0, 0)
        0, 2, 2, 1,  // delta right 2, up 1
        1, 3,        // run 1 x 3 at (3, 1)
        0, 0, 0, 1},
       {0, 0, 0, 0, 0, 0, 0, 3, 2, 0, 0, 0}},
      {"RLE8 absolute mode, odd count padded",
       8,
       4,
       2,
       {0, 3, 1, 2, 3, 0,  // 3 literal pixels + 1 pad byte
        1, 1,              // run 1 x 1
        0, 0,              // end of line
        0, 4, 3, 2, 1, 0,  // 4 literal pixels, no pad
        0, 1},
       {3, 2, 1, 0, 1, 2, 3, 1}},
      {"RLE8 run past a row is clipped, not wrapped",
       8,
       3,
       2,
       {5, 1,  // run 5 x 1 in a 3-pixel row
        2, 2,  // still past the row: dropped
        0, 0, 1, 3, 0, 1},
       {3, 0, 0, 1, 1, 1}},
      {"RLE8 literal past a row is clipped", 8, 2, 1, {0, 3, 1, 2, 3, 0, 0, 1}, {1, 2}},
      {"RLE8 data past the last row is dropped",
       8,
       2,
       1,
       {2, 1, 0, 0, 2, 2, 0, 0, 2, 3, 0, 2, 0, 9, 2, 3},
       {1, 1}},
      {"RLE8 delta past the picture ends it", 8, 2, 2, {2, 1, 0, 2, 0, 5, 2, 3}, {0, 0, 1, 1}},
      {"RLE8 data cut short", 8, 3, 2, {3, 2, 0, 0, 1}, {0, 0, 0, 2, 2, 2}},
      {"RLE8 cut inside a literal", 8, 4, 1, {0, 4, 1, 2}, {1, 2, 0, 0}},
      {"RLE8 index past the table is black", 8, 2, 1, {2, 9, 0, 1}, {4, 4}},
      {"RLE4 run alternates nibbles", 4, 5, 1, {5, 0x12, 0, 1}, {1, 2, 1, 2, 1}},
      {"RLE4 absolute mode, odd byte count padded",
       4,
       5,
       2,
       {0, 3, 0x12, 0x30,           // 3 pixels in 2 bytes, no pad
        0, 0,                       // end of line
        0, 5, 0x32, 0x10, 0x30, 0,  // 5 pixels in 3 bytes + 1 pad byte
        0, 1},
       {3, 2, 1, 0, 3, 1, 2, 3, 0, 0}},
      {"RLE4 delta and clipping",
       4,
       3,
       2,
       {0, 2, 1, 1,  // delta right 1, up 1
        4, 0x33,     // run 4 x 3 from x = 1: clipped after 2
        0, 1},
       {0, 3, 3, 0, 0, 0}},
  };
}

TEST(BmpRead, RunLengthDataFollowsThePublishedRules) {
  for (const TRleCase& c : RleCases()) {
    SCOPED_TRACE(c.Name);
    TFile f;
    f.BitCount = c.BitCount;
    f.Compression = c.BitCount == 8 ? 1 : 2;
    f.Width = c.Width;
    f.Height = c.Height;
    f.ColorsUsed = 4;
    f.Table = Table4;
    f.ImageSize = uint32_t(c.Data.size());
    f.Pixels = c.Data;
    f.Pixels.insert(f.Pixels.end(), {2, 2, 2, 2});  // beyond the image size: never read
    TBitmap b;
    ASSERT_EQ(Outcome(WriteBmp(f), b),
              "OK " + std::to_string(c.Width) + "x" + std::to_string(c.Height));
    std::vector<TColor> want;
    for (int i : c.Want) want.push_back(i < 4 ? Table4[size_t(i)] : clBlack);
    EXPECT_EQ(Hex(PixelsOf(b)), Hex(want));
    // A run-length file becomes true colour without a colour table.
    EXPECT_EQ(b.Format().BitsPerPixel, 32);
    EXPECT_EQ(b.Format().FileBitsPerPixel, c.BitCount);
    EXPECT_EQ(b.Format().Compression, f.Compression);
    EXPECT_TRUE(b.Format().ColorTable.empty());
    EXPECT_EQ(b.AlphaPlane(), nullptr);
  }
}

TEST(BmpRead, RunLengthWithoutImageSizeReadsToTheEndOfTheFile) {
  TFile f;
  f.Compression = 1;
  f.Width = 2;
  f.Height = 1;
  f.ColorsUsed = 4;
  f.Table = Table4;
  f.Pixels = {1, 3, 1, 2, 0, 1};
  TBitmap b;
  ASSERT_EQ(Outcome(WriteBmp(f), b), "OK 2x1");
  EXPECT_EQ(Hex(PixelsOf(b)), Hex({C3, C2}));
}

// ---- Empty files and errors ------------------------------------------------

TEST(BmpRead, EmptyFileIsAnEmptyPicture) {
  TBitmap b;
  b.SetSize(3, 2);
  EXPECT_EQ(Outcome({}, b), "OK 0x0");
  EXPECT_TRUE(b.Empty());
}

TEST(BmpRead, ZeroWidthWithTwoBillionRowsIsAnEmptyPicture) {
  // Found by the fuzzer: a walk over every empty row took seconds.
  TFile f;
  f.Width = 0;
  f.Height = INT32_MAX;
  f.BitCount = 1;
  f.Table = {clBlack, clWhite};
  TBitmap b;
  EXPECT_EQ(Outcome(WriteBmp(f), b), "OK 0x2147483647");
  EXPECT_TRUE(b.Empty());
}

struct TErrorCase {
  const char* Name;
  TBytes File;
  std::string Want;
};

const char* const ReadError = "EReadError: Stream read error";
const char* const NotValid = "EInvalidGraphic: Bitmap image is not valid";
const char* const OutOfResources = "EOutOfResources: Out of system resources";

std::vector<TErrorCase> ErrorCases() {
  std::vector<TErrorCase> v;
  auto file = [](auto change) {
    TFile f;
    f.Table = Table4;
    f.ColorsUsed = 4;
    f.Pixels.assign(8, 0);
    change(f);
    return WriteBmp(f);
  };
  auto cut = [](TBytes b, size_t n) {
    b.resize(n);
    return b;
  };
  const TBytes good = file([](TFile&) {});
  v.push_back({"10 bytes", cut(good, 10), ReadError});
  v.push_back({"13 bytes", cut(good, 13), ReadError});
  v.push_back({"14 bytes: ends before the header size", cut(good, 14), NotValid});
  v.push_back({"ends inside the header", cut(good, 30), NotValid});
  v.push_back({"signature BA", file([](TFile& f) { f.Signature[1] = 'A'; }), NotValid});
  v.push_back({"planes 2", file([](TFile& f) { f.Planes = 2; }), NotValid});
  v.push_back({"planes 0", file([](TFile& f) { f.Planes = 0; }), NotValid});
  v.push_back({"colours used 257", file([](TFile& f) { f.ColorsUsed = 257; }), NotValid});
  v.push_back({"colours used 2^32-1", file([](TFile& f) { f.ColorsUsed = 0xFFFFFFFF; }), NotValid});
  v.push_back({"table cut short", cut(good, 14 + 40 + 10), ReadError});
  v.push_back({"masks cut short",
               cut(file([](TFile& f) {
                     f.BitCount = 16;
                     f.Compression = 3;
                     f.Table.clear();
                     f.ColorsUsed = 0;
                     f.Masks = {0xF800, 0x7E0, 0x1F};
                   }),
                   14 + 40 + 6),
               ReadError});
  v.push_back({"header size 16", file([](TFile& f) { f.HeaderSize = 16; }), NotValid});
  v.push_back({"header size 39", file([](TFile& f) { f.HeaderSize = 39; }), NotValid});
  v.push_back({"header size 0", file([](TFile& f) { f.HeaderSize = 0; }), NotValid});
  v.push_back({"header size 2^32-1", file([](TFile& f) { f.HeaderSize = 0xFFFFFFFF; }), NotValid});
  for (uint16_t bits : {0, 2, 3, 64, 30000})
    v.push_back({"depth", file([&](TFile& f) { f.BitCount = bits; }), NotValid});
  for (uint32_t c : {4u, 5u, 6u, 99u, 0x80000000u})
    v.push_back({"compression", file([&](TFile& f) { f.Compression = c; }), NotValid});
  v.push_back({"RLE8 with 4 bits", file([](TFile& f) {
                 f.Compression = 1;
                 f.BitCount = 4;
               }),
               NotValid});
  v.push_back({"RLE4 with 8 bits", file([](TFile& f) { f.Compression = 2; }), NotValid});
  v.push_back({"bit fields with 24 bits", file([](TFile& f) {
                 f.Compression = 3;
                 f.BitCount = 24;
               }),
               NotValid});
  v.push_back({"bit fields with 8 bits", file([](TFile& f) { f.Compression = 3; }), NotValid});
  v.push_back({"RLE8 top-down", file([](TFile& f) {
                 f.Compression = 1;
                 f.Height = -2;
               }),
               NotValid});
  v.push_back({"negative width", file([](TFile& f) { f.Width = -3; }), NotValid});
  v.push_back({"height -2^31", file([](TFile& f) { f.Height = INT32_MIN; }), NotValid});
  v.push_back({"width 0, height -2^31", file([](TFile& f) {
                 f.Width = 0;
                 f.Height = INT32_MIN;
               }),
               NotValid});
  // Huge pictures in tiny files fail before anything is allocated.
  v.push_back({"100000 x 100000", file([](TFile& f) {
                 f.Width = 100000;
                 f.Height = 100000;
               }),
               OutOfResources});
  v.push_back({"2^31-1 x -(2^31-1), 32 bits", file([](TFile& f) {
                 f.BitCount = 32;
                 f.Width = INT32_MAX;
                 f.Height = -INT32_MAX;
                 f.Table.clear();
                 f.ColorsUsed = 0;
               }),
               OutOfResources});
  v.push_back({"65535 x 65535 core header", file([](TFile& f) {
                 f.HeaderSize = 12;
                 f.Width = 0xFFFF;
                 f.Height = 0xFFFF;
                 f.Table.assign(256, 0);
               }),
               OutOfResources});
  v.push_back({"RLE8 40000 x 40000", file([](TFile& f) {
                 f.Compression = 1;
                 f.Width = 40000;
                 f.Height = 40000;
               }),
               OutOfResources});
  // 8192 x 8192 fits 256 MiB as plain pixels but not with an alpha plane.
  v.push_back({"8192 x 8192, 32 bits", file([](TFile& f) {
                 f.BitCount = 32;
                 f.Width = 8192;
                 f.Height = 8192;
               }),
               OutOfResources});
  return v;
}

TEST(BmpRead, MalformedFilesFailWithTheirErrors) {
  for (const TErrorCase& c : ErrorCases()) {
    EXPECT_EQ(Outcome(c.File), c.Want) << c.Name;
  }
}

TEST(BmpRead, FailedReadLeavesTheBitmapAsItWas) {
  TBitmap b;
  b.SetSize(3, 2, C3);
  for (const TErrorCase& c : ErrorCases()) {
    ASSERT_NE(Outcome(c.File, b).substr(0, 2), "OK") << c.Name;
    EXPECT_EQ(b.Width(), 3) << c.Name;
    EXPECT_EQ(Hex(PixelsOf(b)), Hex(std::vector<TColor>(6, C3))) << c.Name;
  }
}

// Zero-sized pictures read without touching any pixel.
TEST(BmpRead, ZeroWidthOrHeightGivesAnEmptyPicture) {
  for (auto [w, h] : {std::pair{0, 5}, {5, 0}, {0, -5}}) {
    TFile f;
    f.Width = w;
    f.Height = h;
    f.Table = Table4;
    f.ColorsUsed = 4;
    EXPECT_EQ(Outcome(WriteBmp(f)), "OK " + std::to_string(w) + "x" + std::to_string(std::abs(h)));
  }
}

// ---- Fuzzer findings, kept as regression tests -----------------------------

struct TFinding {
  const char* Name;
  TBytes File;
  std::string Want;
};

TEST(BmpRead, FuzzFindingsReadWithoutFault) {
  const std::vector<TFinding> findings = {
      // Run-length data for a picture 0 rows high: the first run was written
      // before any row existed.
      {"RLE4, huge width, height 0",
       {'B',  'M',  0,    0,    0, 0,    0, 0, 0, 0, 0, 0, 0, 0,  // file header
        40,   0,    0,    0,                                      // biSize
        0x7F, 0x00, 0x1A, 0x0E,                                   // biWidth 236,585,087
        0,    0,    0,    0,                                      // biHeight 0
        1,    0,    4,    0,                                      // biPlanes 1, biBitCount 4
        2,    0,    0,    0,                                      // biCompression RLE4
        0,    0,    0,    0,    0, 0,    0, 0, 0, 0, 0, 0,        // biSizeImage, resolutions
        1,    0,    0,    0,    0, 0,    0, 0,                    // biClrUsed 1, biClrImportant
        0xFF, 0,    0x80, 0,                                      // table entry 0
        0xFF, 0x00, 0,    0,    0, 0x80, 1, 2, 0, 1},             // run, end of line, literal, end
       "OK 236585087x0"},
      {"RLE8, width 3, height 0",
       {'B',  'M', 0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // file header
        40,   0,   0,    0,                                // biSize
        3,    0,   0,    0, 0, 0, 0, 0,                    // biWidth 3, biHeight 0
        1,    0,   8,    0,                                // biPlanes 1, biBitCount 8
        1,    0,   0,    0,                                // biCompression RLE8
        0,    0,   0,    0, 0, 0, 0, 0, 0, 0, 0, 0,        // biSizeImage, resolutions
        1,    0,   0,    0, 0, 0, 0, 0,                    // biClrUsed 1, biClrImportant
        0xFF, 0,   0x80, 0,                                // table entry 0
        3,    0,   0,    3, 1, 2, 3, 0, 0, 1},             // run, literal, end of bitmap
       "OK 3x0"},
  };
  for (const TFinding& f : findings) EXPECT_EQ(Outcome(f.File), f.Want) << f.Name;
}

// A fuzzer time-out: an 86-byte RLE8 file for a 4 x 16,774,915 picture, just
// under the 256 MiB cap. It must read in one pass, with its few runs in place.
TEST(BmpRead, FuzzFindingTallRunLengthPictureJustUnderTheCap) {
  const TBytes file = {'B', 'M', 0, 0, 0, 0, 0, 0x3A, 0, 0, 0x40, 0, 0, 0,  // file header (offset
                                                                            // ignored)
                       40, 0, 0, 0,                                         // biSize
                       4, 0, 0, 0,                                          // biWidth 4
                       0x03, 0xF7, 0xFF, 0x00,                              // biHeight 16,774,915
                       1, 0, 8, 0,              // biPlanes 1, biBitCount 8
                       1, 0, 0, 0,              // biCompression RLE8
                       16, 0, 0, 0,             // biSizeImage 16
                       0, 0, 0, 0, 0, 0, 0, 0,  // resolutions
                       4, 0, 0, 0, 0, 0, 0, 0,  // biClrUsed 4, biClrImportant
                       0, 255, 0, 0, 1, 254, 7, 0, 2, 253, 14, 0, 3, 252, 21, 0,  // table
                       122, 1,            // run 122 x 1, clipped to 4
                       0, 0,              // end of line
                       0, 2, 1, 0,        // delta right 1
                       0, 3, 1, 2, 3, 0,  // literal 1, 2, 3 + pad
                       0, 1};             // end of bitmap
  TBitmap b;
  ASSERT_EQ(Outcome(file, b), "OK 4x16774915");
  const int32_t bottom = b.Height() - 1;
  const std::vector<TColor> got = {b.PixelAt(0, bottom), b.PixelAt(3, bottom),
                                   b.PixelAt(0, bottom - 1), b.PixelAt(3, bottom - 1),
                                   b.PixelAt(2, 0)};
  EXPECT_EQ(Hex(got),
            Hex({RGB(7, 254, 1), RGB(7, 254, 1), RGB(0, 255, 0), RGB(21, 252, 3), RGB(0, 255, 0)}));
}

// A fuzzer time-out: a 123-byte RLE4 file for a 4 x 10,420,227 picture. Only
// the 16 bytes of its image size are run-length data.
TEST(BmpRead, FuzzFindingTallRle4PictureReadsOnlyItsImageSize) {
  const TBytes file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // file header
                       40, 0, 0, 0,                                   // biSize
                       4, 0, 0, 0,                                    // biWidth 4
                       0x03, 0x00, 0x9F, 0x00,                        // biHeight 10,420,227
                       1, 0, 4, 0,                                    // biPlanes 1, biBitCount 4
                       2, 0, 0, 0,                                    // biCompression RLE4
                       16, 0, 0, 0,                                   // biSizeImage 16
                       0, 0, 0, 0, 0, 0, 0, 0,                        // resolutions
                       4, 0, 0, 0, 0, 0, 0, 0,                        // biClrUsed 4, biClrImportant
                       0, 255, 0, 0, 1, 254, 7, 0, 2, 253, 14, 0, 3, 252, 21, 0,  // table
                       // run 3 x (1, 2), end of line, literal 1 2 15 15, two clipped runs, end of
                       // line, a literal cut off by the image size; then bytes never read.
                       0x03, 0x12, 0x00, 0x00, 0x00, 0x04, 0x12, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00,
                       0x00, 0x00, 0x6A, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x79, 0xFF, 0xFF, 0xFF,
                       0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x7F, 0xFF, 0xFF, 0xFF, 0x88, 0x88,
                       0x88, 0x00, 0x00, 0x01, 0x57, 0x00, 0x00, 0x02, 0x00, 0x01, 0x02, 0x33, 0x00,
                       0x01};
  TBitmap b;
  ASSERT_EQ(Outcome(file, b), "OK 4x10420227");
  const int32_t bottom = b.Height() - 1;
  std::vector<TColor> got;
  for (int32_t y : {bottom, bottom - 1, bottom - 2})
    for (int32_t x = 0; x < 4; ++x) got.push_back(b.PixelAt(x, y));
  const TColor e0 = RGB(0, 255, 0), e1 = RGB(7, 254, 1), e2 = RGB(14, 253, 2);
  EXPECT_EQ(Hex(got), Hex({e1, e2, e1, e0, e1, e2, clBlack, clBlack, e0, e0, e0, e0}));
}

}  // namespace
}  // namespace tintbox
