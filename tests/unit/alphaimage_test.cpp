// The stored wait picture (src/ui/data/wait.dat): its stored form, its pixels
// and how it blends over the window colour; and reading stored pictures.
#include "picture/alphaimage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "common/testbitmaps.h"
#include "picture/bmpreader.h"
#include "picture/bmpwriter.h"
#include "picture/draw.h"
#include "picture/errors.h"

namespace tintbox {
namespace {

constexpr TColor WindowColor = RGB(173, 255, 91);
constexpr TColor Teal = RGB(82, 177, 177);
constexpr TColor Sand = RGB(204, 190, 176);
constexpr TColor Shade = RGB(82, 83, 84);

using testhelp::ReadFile;

const std::vector<uint8_t>& WaitData() {
  static const std::vector<uint8_t> data =
      ReadFile(std::string(TINTBOX_SOURCE_DIR) + "/src/ui/data/wait.dat");
  return data;
}

void Put32(std::vector<uint8_t>& AOut, uint32_t AValue) {
  for (int i = 0; i < 4; ++i) AOut.push_back(uint8_t(AValue >> (8 * i)));
}

// A stored picture: name length, name, 32-bit count, then ABody.
std::vector<uint8_t> Stored(const std::string& AName, int32_t ACount,
                            const std::vector<uint8_t>& ABody) {
  std::vector<uint8_t> out;
  out.push_back(uint8_t(AName.size()));
  for (char c : AName) out.push_back(uint8_t(c));
  Put32(out, uint32_t(ACount));
  out.insert(out.end(), ABody.begin(), ABody.end());
  return out;
}

// A 2 x 1 BMP of 32 bits per pixel: (10, 20, 30, alpha 40), (50, 60, 70, alpha 255).
std::vector<uint8_t> TinyBmp() {
  return Bmp32({30, 20, 10, 40, 70, 60, 50, 255}, 2, 1);  // B, G, R, A
}

TEST(StoredPicture, WaitPictureHeaderIsExact) {
  const std::vector<uint8_t>& d = WaitData();
  ASSERT_EQ(d.size(), 1u + 11 + 4 + 1048630) << "got " << d.size() << " bytes";
  const uint8_t want[] = {
      11,   'T',  'A',  'l',  'p', 'h', 'a', 'I', 'm', 'a', 'g', 'e',  // class name
      0x36, 0x00, 0x10, 0x00,                                          // count 1048630
      'B',  'M',                                                       // bfType
      0x36, 0x00, 0x10, 0x00,                                          // bfSize 1048630
      0,    0,    0,    0,                                             // reserved
      54,   0,    0,    0,                                             // bfOffBits
      40,   0,    0,    0,                                             // biSize
      0x00, 0x02, 0,    0,                                             // biWidth 512
      0x00, 0x02, 0,    0,                                             // biHeight 512 (bottom-up)
      1,    0,                                                         // biPlanes
      32,   0,                                                         // biBitCount
      0,    0,    0,    0,                                             // BI_RGB
      0x00, 0x00, 0x10, 0x00,                                          // biSizeImage 1048576
      0,    0,    0,    0,    0,   0,   0,   0,                        // resolutions
      0,    0,    0,    0,    0,   0,   0,   0,                        // colours used, important
  };
  for (size_t i = 0; i < sizeof(want); ++i) EXPECT_EQ(int(d[i]), int(want[i])) << "byte " << i;
}

class WaitPicture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Picture = new TPicture;
    ReadStoredPicture(WaitData().data(), WaitData().size(), *Picture);
  }
  static void TearDownTestSuite() {
    delete Picture;
    Picture = nullptr;
  }
  static uint8_t AlphaAt(int x, int y) {
    return Picture->Bitmap()->AlphaPlane()[size_t(y) * 512 + size_t(x)];
  }
  static TColor ColorAt(int x, int y) { return Picture->Bitmap()->PixelAt(x, y); }
  static TPicture* Picture;
};
TPicture* WaitPicture::Picture = nullptr;

TEST_F(WaitPicture, ReadsAsA512SquareAlphaImage) {
  EXPECT_EQ(Picture->Kind(), TGraphicKind::AlphaImage);
  ASSERT_EQ(Picture->Width(), 512);
  ASSERT_EQ(Picture->Height(), 512);
  ASSERT_NE(Picture->Bitmap()->AlphaPlane(), nullptr);
  EXPECT_EQ(Picture->Bitmap()->Format().FileBitsPerPixel, 32);
}

TEST_F(WaitPicture, AlphaIsStraightAndConfinedToTheDisc) {
  std::set<int> levels;
  int left = 512, right = -1, top = 512, bottom = -1;
  for (int y = 0; y < 512; ++y) {
    for (int x = 0; x < 512; ++x) {
      const uint8_t a = AlphaAt(x, y);
      levels.insert(a);
      if (a == 0) {
        ASSERT_EQ(ColorAt(x, y), clBlack) << "transparent pixel at " << x << "," << y;
        continue;
      }
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  EXPECT_GE(levels.size(), 200u);
  EXPECT_LE(levels.size(), 256u);
  EXPECT_TRUE(levels.count(0) && levels.count(255));
  EXPECT_GE(left, 21);
  EXPECT_GE(top, 21);
  EXPECT_LE(right, 490);
  EXPECT_LE(bottom, 490);
  // The disc reaches the margin on all four sides.
  EXPECT_EQ(left, 21);
  EXPECT_EQ(top, 21);
  EXPECT_EQ(right, 490);
  EXPECT_EQ(bottom, 490);
  for (auto [x, y] : {std::pair{0, 0}, {511, 0}, {0, 511}, {511, 511}, {60, 60}, {451, 451}})
    EXPECT_EQ(AlphaAt(x, y), 0) << x << "," << y;
}

TEST_F(WaitPicture, ShowsAnHourglassInATealDisc) {
  // Opaque teal inside the disc, left and right of the hourglass.
  for (auto [x, y] : {std::pair{60, 256}, {451, 256}, {256, 60}, {256, 451}}) {
    EXPECT_EQ(AlphaAt(x, y), 255) << x << "," << y;
    EXPECT_EQ(ColorAt(x, y), Teal) << x << "," << y << " got " << std::hex << ColorAt(x, y);
  }
  // Count the colours of opaque pixels, above and below the middle.
  struct TCount {
    int Above = 0, Below = 0, Left = 0, Right = 0;
  };
  TCount white, sand, shade;
  for (int y = 0; y < 512; ++y) {
    for (int x = 0; x < 512; ++x) {
      if (AlphaAt(x, y) != 255) continue;
      TCount* c = ColorAt(x, y) == clWhite ? &white
                  : ColorAt(x, y) == Sand  ? &sand
                  : ColorAt(x, y) == Shade ? &shade
                                           : nullptr;
      if (!c) continue;
      ++(y < 256 ? c->Above : c->Below);
      ++(x < 256 ? c->Left : c->Right);
    }
  }
  // A white frame in both halves (the bars and the walls).
  EXPECT_GT(white.Above, 2000);
  EXPECT_GT(white.Below, 2000);
  EXPECT_GT(white.Left, 2000);
  EXPECT_GT(white.Right, 2000);
  // Sand in the upper and the lower bulb.
  EXPECT_GT(sand.Above, 500);
  EXPECT_GT(sand.Below, 500);
  // The shading runs along one side only.
  EXPECT_GT(shade.Above + shade.Below, 500);
  EXPECT_TRUE(shade.Left == 0 || shade.Right == 0)
      << "shading on both sides: " << shade.Left << " left, " << shade.Right << " right";
}

TEST_F(WaitPicture, OpaqueWhiteOverTheWindowColourBlendsBy256) {
  // A white pixel of the picture that is fully opaque, drawn 1:1 over the window colour.
  int wx = -1, wy = -1;
  for (int y = 0; y < 512 && wx < 0; ++y)
    for (int x = 0; x < 512 && wx < 0; ++x)
      if (ColorAt(x, y) == clWhite && AlphaAt(x, y) == 255) wx = x, wy = y;
  ASSERT_GE(wx, 0) << "no opaque white pixel";
  std::vector<uint32_t> bits(size_t(512) * 512, ToRGB32(WindowColor));
  const TSurface32 target{bits.data(), 512, 512, 512};
  AlphaStretchDraw(target, TRect{0, 0, 512, 512}, *Picture->Bitmap());
  const TColor got = FromRGB32(bits[size_t(wy) * 512 + size_t(wx)]);
  EXPECT_EQ(got, RGB(254, 255, 254))
      << "got " << int(GetRValue(got)) << "," << int(GetGValue(got)) << "," << int(GetBValue(got));
  // The transparent corner keeps the window colour.
  EXPECT_EQ(FromRGB32(bits[0]), WindowColor);
}

TEST_F(WaitPicture, HalvingTakesColourAndAlphaFromOneSourcePixel) {
  std::vector<uint32_t> bits(size_t(256) * 256, ToRGB32(WindowColor));
  const TSurface32 target{bits.data(), 256, 256, 256};
  AlphaStretchDraw(target, TRect{0, 0, 256, 256}, *Picture->Bitmap());
  const uint32_t window = ToRGB32(WindowColor);
  auto blend = [&](int sx, int sy) {
    const TColor s = ColorAt(sx, sy);
    const uint8_t a = AlphaAt(sx, sy);
    return TColor(RGB(BlendChannel(GetRValue(s), uint8_t(window >> 16), a),
                      BlendChannel(GetGValue(s), uint8_t(window >> 8), a),
                      BlendChannel(GetBValue(s), uint8_t(window), a)));
  };
  // Which of the four source pixels of each 2 x 2 block can explain the
  // result; one of them must explain every destination pixel.
  bool consistent[2][2] = {{true, true}, {true, true}};
  int rim = 0;
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      const TColor got = FromRGB32(bits[size_t(y) * 256 + size_t(x)]);
      bool any = false;
      for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i) {
          const bool match = blend(2 * x + i, 2 * y + j) == got;
          consistent[j][i] = consistent[j][i] && match;
          any = any || match;
        }
      ASSERT_TRUE(any) << "pixel " << x << "," << y << " got " << std::hex << got
                       << ", no source pixel of its block gives it";
      const uint8_t a = AlphaAt(2 * x, 2 * y);
      rim += a != 0 && a != 255;
    }
  }
  EXPECT_TRUE(consistent[0][0] || consistent[0][1] || consistent[1][0] || consistent[1][1])
      << "the destination pixels do not all take the same source pixel of their block";
  EXPECT_GT(rim, 100);  // the rim was crossed, where a mixed pick would show
}

TEST(StoredPicture, KnownClassesReadTheirBitmap) {
  struct TCase {
    std::string Name;
    TGraphicKind Kind;
  } cases[] = {{"TAlphaImage", TGraphicKind::AlphaImage}, {"TBitmap", TGraphicKind::Bitmap}};
  for (const TCase& c : cases) {
    const std::vector<uint8_t> bmp = TinyBmp();
    const std::vector<uint8_t> data = Stored(c.Name, int32_t(bmp.size()), bmp);
    TPicture p;
    ReadStoredPicture(data.data(), data.size(), p);
    EXPECT_EQ(p.Kind(), c.Kind) << c.Name;
    ASSERT_EQ(p.Width(), 2) << c.Name;
    ASSERT_EQ(p.Height(), 1) << c.Name;
    EXPECT_EQ(p.Bitmap()->PixelAt(0, 0), RGB(10, 20, 30)) << c.Name;
    EXPECT_EQ(p.Bitmap()->PixelAt(1, 0), RGB(50, 60, 70)) << c.Name;
    ASSERT_NE(p.Bitmap()->AlphaPlane(), nullptr) << c.Name;
    EXPECT_EQ(int(p.Bitmap()->AlphaPlane()[0]), 40) << c.Name;
    EXPECT_EQ(int(p.Bitmap()->AlphaPlane()[1]), 255) << c.Name;
  }
}

TEST(StoredPicture, BytesAfterTheCountedFileAreNotRead) {
  const std::vector<uint8_t> bmp = TinyBmp();
  std::vector<uint8_t> data = Stored("TAlphaImage", int32_t(bmp.size()), bmp);
  data.insert(data.end(), {'j', 'u', 'n', 'k'});
  TPicture p;
  ReadStoredPicture(data.data(), data.size(), p);
  EXPECT_EQ(p.Width(), 2);
}

TEST(StoredPicture, BadFormsFailAndLeaveThePictureAsItWas) {
  const std::vector<uint8_t> bmp = TinyBmp();
  const int32_t n = int32_t(bmp.size());
  const std::vector<uint8_t> good = Stored("TAlphaImage", n, bmp);
  std::vector<uint8_t> badSignature = bmp;
  badSignature[1] = 'A';  // "BA"
  struct TCase {
    const char* What;
    std::vector<uint8_t> Data;
    bool ReadError;  // else the bitmap reader's EInvalidGraphic
  } cases[] = {
      {"nothing at all", {}, true},
      {"unknown class", Stored("TJPEGImage", n, bmp), true},
      {"empty class name", Stored("", n, bmp), true},
      {"class name in another case", Stored("talphaimage", n, bmp), true},
      {"name cut short", {11, 'T', 'A', 'l', 'p'}, true},
      {"count cut short", {good.begin(), good.begin() + 14}, true},
      {"negative count", Stored("TAlphaImage", -1, bmp), true},
      {"count beyond the bytes present", Stored("TAlphaImage", n + 1, bmp), true},
      {"file cut short", {good.begin(), good.end() - 1}, true},
      {"most negative count", Stored("TAlphaImage", INT32_MIN, bmp), true},
      {"not a bitmap file", Stored("TAlphaImage", n, badSignature), false},
  };
  for (const TCase& c : cases) {
    TPicture p;
    ReadStoredPicture(good.data(), good.size(), p);
    const TBitmap* before = p.Bitmap();
    try {
      ReadStoredPicture(c.Data.data(), c.Data.size(), p);
      ADD_FAILURE() << c.What << ": read without error";
    } catch (const EReadError& e) {
      EXPECT_TRUE(c.ReadError) << c.What << ": got EReadError, want EInvalidGraphic";
      EXPECT_EQ(e.Message(), SReadError) << c.What;
    } catch (const EInvalidGraphic& e) {
      EXPECT_FALSE(c.ReadError) << c.What << ": got EInvalidGraphic, want EReadError";
      EXPECT_EQ(e.Message(), SInvalidBitmap) << c.What;
    }
    EXPECT_EQ(p.Bitmap(), before) << c.What << ": the picture was changed";
    EXPECT_EQ(p.Width(), 2) << c.What;
  }
}

// The window icon's files, read as the window reads them.
TEST(ProgramIcon, EverySizeReadsWithAlphaAndATransparentGround) {
  for (int size : {16, 32, 48, 64, 128, 256}) {
    const std::string name = "icon" + std::to_string(size) + ".bmp";
    const std::vector<uint8_t> data =
        ReadFile(std::string(TINTBOX_SOURCE_DIR) + "/src/ui/data/" + name);
    TBitmap b;
    ReadBitmap(data.data(), data.size(), b);
    ASSERT_EQ(b.Width(), size) << name;
    ASSERT_EQ(b.Height(), size) << name;
    ASSERT_NE(b.AlphaPlane(), nullptr) << name;
    const uint8_t* alpha = b.AlphaPlane();
    int opaque = 0, transparent = 0, between = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const uint8_t a = alpha[size_t(y) * size_t(size) + size_t(x)];
        opaque += a == 255;
        between += a != 0 && a != 255;
        if (a == 0) {
          ++transparent;
          EXPECT_EQ(b.PixelAt(x, y), clBlack) << name << " at " << x << "," << y;
        }
      }
    }
    for (auto [x, y] : {std::pair{0, 0}, {size - 1, 0}, {0, size - 1}, {size - 1, size - 1}})
      EXPECT_EQ(alpha[size_t(y) * size_t(size) + size_t(x)], 0)
          << name << " corner " << x << "," << y;
    EXPECT_GT(opaque, size * size / 4) << name;        // a drawing, not a ghost
    EXPECT_GT(transparent, size * size / 10) << name;  // on a transparent ground
    EXPECT_GT(between, size) << name;                  // with soft edges
  }
}

TEST(AlphaBlend, OpaqueWhiteOverTheWindowColourAndHalfAlpha) {
  struct TCase {
    TColor Source;
    uint8_t Alpha;
    TColor Want;
  } cases[] = {
      {clWhite, 255, RGB(254, 255, 254)},  // divides by 256, not 255
      {clWhite, 0, WindowColor},
      {clBlack, 128, RGB(86, 127, 45)},  // 173*128/256 = 86.5 truncated
      {Teal, 255, RGB(82, 177, 176)},    // blue (177*255 + 91)/256 = 176.7
  };
  for (const TCase& c : cases) {
    TBitmap b;
    b.SetSize(1, 1, c.Source, true);
    b.WritableAlpha()[0] = c.Alpha;
    uint32_t pixel = ToRGB32(WindowColor);
    AlphaStretchDraw(TSurface32{&pixel, 1, 1, 1}, TRect{0, 0, 1, 1}, b);
    const TColor got = FromRGB32(pixel);
    EXPECT_EQ(got, c.Want) << "source " << std::hex << c.Source << " alpha " << std::dec
                           << int(c.Alpha) << ": got " << int(GetRValue(got)) << ","
                           << int(GetGValue(got)) << "," << int(GetBValue(got));
  }
}

}  // namespace
}  // namespace tintbox
