#include "picture/picture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "picture/bmpwriter.h"
#include "picture/canvas.h"
#include "picture/errors.h"

namespace tintbox {
namespace {

namespace fs = std::filesystem;

constexpr TColor Red = RGB(255, 0, 0);
constexpr TColor Green = RGB(0, 255, 0);
constexpr TColor Blue = RGB(0, 0, 255);

// A 24-bit bottom-up BMP file of the given rows (row 0 at the top).
std::vector<uint8_t> FileOf(const std::vector<std::vector<TColor>>& ARows) {
  const int32_t h = int32_t(ARows.size()), w = h ? int32_t(ARows[0].size()) : 0;
  return tintbox::Bmp24(w, h, [&](int32_t x, int32_t y) { return ARows[size_t(y)][size_t(x)]; });
}

const std::vector<std::vector<TColor>> Rgb3x2 = {{Red, Green, Blue}, {clBlack, clWhite, Red}};
const std::vector<std::vector<TColor>> Gray1x1 = {{clGray}};

class PictureFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    FDir = fs::temp_directory_path() /
           ("tintbox-picture-test-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(FDir);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(FDir, ec);
  }
  std::string Write(const std::string& AName, const std::vector<uint8_t>& ABytes) {
    const fs::path path = FDir / AName;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(ABytes.data()), std::streamsize(ABytes.size()));
    return path.string();
  }
  fs::path FDir;
};

std::string ErrorOf(TPicture& APicture, const std::string& AFileName, std::string& AClass) {
  try {
    APicture.LoadFromFile(AFileName);
  } catch (const Exception& e) {
    AClass = e.ClassName();
    return e.Message();
  }
  AClass = "none";
  return "";
}

TEST_F(PictureFiles, LoadsBitmapsWhateverTheCaseOfTheirExtension) {
  for (const char* name : {"a.bmp", "b.BMP", "c.Bmp", "d.with.dots.bMp", ".bmp"}) {
    const std::string path = Write(name, FileOf(Rgb3x2));
    TPicture picture;
    int notified = 0;
    picture.OnChange = [&] { ++notified; };
    ASSERT_NO_THROW(picture.LoadFromFile(path)) << name;
    EXPECT_EQ(picture.Kind(), TGraphicKind::Bitmap) << name;
    EXPECT_EQ(notified, 1) << name;
    ASSERT_EQ(picture.Width(), 3) << name;
    ASSERT_EQ(picture.Height(), 2) << name;
    const TCanvas& canvas = picture.Bitmap()->Canvas();
    for (int32_t y = 0; y < 2; ++y)
      for (int32_t x = 0; x < 3; ++x)
        EXPECT_EQ(canvas.Pixels(x, y), Rgb3x2[size_t(y)][size_t(x)])
            << name << " at " << x << "," << y;
  }
}

TEST_F(PictureFiles, UnknownExtensionsAreNamedAsWritten) {
  struct {
    const char* Name;
    const char* Want;
  } cases[] = {
      {"x.png", "Unknown picture file extension (.png)"},
      {"x.PNG", "Unknown picture file extension (.PNG)"},
      {"noextension", "Unknown picture file extension (.)"},
      {"trailingdot.", "Unknown picture file extension (.)"},
      {"x.bmp.gif", "Unknown picture file extension (.gif)"},
      {"x.bmpx", "Unknown picture file extension (.bmpx)"},
      {"folder.bmp/file",
       "Unknown picture file extension (.)"},  // the folder's dot is not the name's
      {"", "Unknown picture file extension (.)"},
  };
  for (const auto& c : cases) {
    // The file exists and is a good bitmap: the name alone decides.
    const std::string path = *c.Name ? Write(c.Name, FileOf(Gray1x1)) : std::string();
    TPicture picture;
    std::string cls;
    EXPECT_EQ(ErrorOf(picture, path, cls), c.Want) << "name \"" << c.Name << "\"";
    EXPECT_EQ(cls, "EInvalidGraphic") << c.Name;
    EXPECT_TRUE(picture.Empty()) << c.Name;
  }
}

TEST_F(PictureFiles, FilesThatCannotBeOpenedNameTheFullPathAndTheCause) {
  const std::string missing = (FDir / "missing.bmp").string();
  fs::create_directories(FDir / "folder.bmp");
  const std::string fifo = (FDir / "pipe.bmp").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);  // no writer: a blocking open would hang
  struct {
    std::string Name;
    std::string Want;
  } cases[] = {
      {missing, "Cannot open file \"" + missing + "\". No such file or directory"},
      {(FDir / "folder.bmp").string(),
       "Cannot open file \"" + (FDir / "folder.bmp").string() + "\". Is a directory"},
      {fifo, "Cannot open file \"" + fifo + "\". Invalid argument"},
  };
  for (const auto& c : cases) {
    TPicture picture;
    std::string cls;
    EXPECT_EQ(ErrorOf(picture, c.Name, cls), c.Want);
    EXPECT_EQ(cls, "EFOpenError") << c.Name;
  }
}

// A file larger than any picture the program may hold is refused before a
// buffer for it is made (the file is sparse: it takes no disk space).
TEST_F(PictureFiles, AFileLargerThanAnyPictureIsRefusedUnread) {
  const fs::path path = FDir / "huge.bmp";
  std::ofstream(path, std::ios::binary).write("BM", 2);
  fs::resize_file(path, MaxPixelStoreBytes + 1024 * 1024);
  TPicture picture;
  std::string cls;
  EXPECT_EQ(ErrorOf(picture, path.string(), cls), "Out of system resources");
  EXPECT_EQ(cls, "EOutOfResources");
  EXPECT_TRUE(picture.Empty());
}

TEST_F(PictureFiles, ARelativeNameIsReportedWithItsFullPath) {
  const fs::path old = fs::current_path();
  fs::current_path(FDir);
  TPicture picture;
  std::string cls;
  const std::string got = ErrorOf(picture, "./sub/../nothere.bmp", cls);
  fs::current_path(old);
  const std::string full = (fs::canonical(FDir) / "nothere.bmp").string();
  EXPECT_EQ(got, "Cannot open file \"" + full + "\". No such file or directory");
}

TEST_F(PictureFiles, AFailedLoadLeavesThePreviousPictureAndTellsNobody) {
  const std::string good = Write("good.bmp", FileOf(Rgb3x2));
  std::vector<uint8_t> notBm = FileOf(Gray1x1);
  notBm[1] = 'A';
  struct {
    std::string Name;
    const char* Class;
  } cases[] = {
      {Write("short.bmp", std::vector<uint8_t>(10, 'B')), "EReadError"},
      {Write("ba.bmp", notBm), "EInvalidGraphic"},
      {(FDir / "missing.bmp").string(), "EFOpenError"},
      {Write("other.gif", FileOf(Gray1x1)), "EInvalidGraphic"},
  };
  for (const auto& c : cases) {
    TPicture picture;
    picture.LoadFromFile(good);
    TBitmap* before = picture.Bitmap();
    int notified = 0;
    picture.OnChange = [&] { ++notified; };
    std::string cls;
    ErrorOf(picture, c.Name, cls);
    EXPECT_EQ(cls, c.Class) << c.Name;
    EXPECT_EQ(picture.Bitmap(), before) << c.Name;
    EXPECT_EQ(picture.Width(), 3) << c.Name;
    EXPECT_EQ(picture.Bitmap()->PixelAt(2, 1), Red) << c.Name;
    EXPECT_EQ(notified, 0) << c.Name;
  }
}

TEST_F(PictureFiles, AnEmptyFileLoadsAsAnEmptyBitmap) {
  TPicture picture;
  picture.LoadFromFile(Write("empty.bmp", {}));
  EXPECT_EQ(picture.Kind(), TGraphicKind::Bitmap);
  EXPECT_EQ(picture.Width(), 0);
  EXPECT_EQ(picture.Height(), 0);
}

TEST_F(PictureFiles, ACopyKeepsItsPixelsThroughFillsAndLoadsOfTheOriginal) {
  TPicture im, ex;
  im.LoadFromFile(Write("a.bmp", FileOf(Rgb3x2)));
  ex.Assign(&im);
  EXPECT_TRUE(ex.Bitmap()->SharesStoreWith(*im.Bitmap()));  // nothing copied yet

  im.Bitmap()->Canvas().Brush.SetColor(clGray);
  im.Bitmap()->Canvas().FloodFill(0, 0, clBlack, fsBorder);
  EXPECT_EQ(im.Bitmap()->PixelAt(0, 0), clGray);
  EXPECT_EQ(ex.Bitmap()->PixelAt(0, 0), Red);

  EXPECT_THROW(im.LoadFromFile((FDir / "missing.bmp").string()), EFOpenError);
  im.LoadFromFile(Write("b.bmp", FileOf(Gray1x1)));
  EXPECT_EQ(im.Width(), 1);
  ASSERT_EQ(ex.Width(), 3);
  EXPECT_EQ(ex.Bitmap()->PixelAt(0, 0), Red);
  EXPECT_EQ(ex.Bitmap()->PixelAt(2, 1), Red);
}

TEST(Picture, AssignSharesTheStoreAndNotifies) {
  TPicture source;
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(3, 2, Green);
  source.SetGraphic(std::move(bitmap));
  TPicture target;
  int notified = 0;
  target.OnChange = [&] { ++notified; };
  target.Assign(&source);
  EXPECT_EQ(notified, 1);
  ASSERT_NE(target.Bitmap(), nullptr);
  EXPECT_NE(target.Bitmap(), source.Bitmap());
  EXPECT_TRUE(target.Bitmap()->SharesStoreWith(*source.Bitmap()));
  EXPECT_EQ(target.Width(), 3);
  EXPECT_EQ(target.Height(), 2);
  EXPECT_EQ(target.Kind(), TGraphicKind::Bitmap);
}

TEST(Picture, AssignOfNothingOrOfAnEmptyPictureEmpties) {
  TPicture empty;
  for (const TPicture* source : std::vector<const TPicture*>{nullptr, &empty}) {
    TPicture target;
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(4, 4, clWhite);
    target.SetGraphic(std::move(bitmap));
    int notified = 0;
    target.OnChange = [&] { ++notified; };
    target.Assign(source);
    EXPECT_TRUE(target.Empty());
    EXPECT_EQ(target.Bitmap(), nullptr);
    EXPECT_EQ(target.Kind(), TGraphicKind::None);
    EXPECT_EQ(target.Width(), 0);
    EXPECT_EQ(target.Height(), 0);
    EXPECT_EQ(notified, 1);
  }
}

TEST(Picture, AssignToItselfKeepsThePixels) {
  TPicture picture;
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(2, 2, Blue);
  picture.SetGraphic(std::move(bitmap), TGraphicKind::AlphaImage);
  picture.Assign(&picture);
  ASSERT_EQ(picture.Width(), 2);
  EXPECT_EQ(picture.Bitmap()->PixelAt(1, 1), Blue);
  EXPECT_EQ(picture.Kind(), TGraphicKind::AlphaImage);
}

TEST(Picture, DrawingOnTheBitmapNotifiesThePicture) {
  TPicture picture;
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(2, 2, clWhite);
  picture.SetGraphic(std::move(bitmap));
  int notified = 0;
  picture.OnChange = [&] { ++notified; };
  TCanvas& canvas = picture.Bitmap()->Canvas();
  canvas.FloodFill(0, 0, clBlack, fsBorder);
  canvas.FloodFill(-1, 0, clBlack, fsBorder);  // paints nothing, still tells
  EXPECT_EQ(notified, 2);
  // An assigned copy's bitmap is wired to its own picture.
  TPicture copy;
  int copyNotified = 0;
  copy.OnChange = [&] { ++copyNotified; };
  copy.Assign(&picture);
  copy.Bitmap()->Canvas().FloodFill(0, 0, clBlack, fsBorder);
  EXPECT_EQ(copyNotified, 2);
  EXPECT_EQ(notified, 2);
}

TEST(Picture, SetGraphicOfNothingEmpties) {
  TPicture picture;
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetSize(2, 2);
  picture.SetGraphic(std::move(bitmap));
  int notified = 0;
  picture.OnChange = [&] { ++notified; };
  picture.SetGraphic(nullptr);
  EXPECT_TRUE(picture.Empty());
  EXPECT_EQ(picture.Kind(), TGraphicKind::None);
  EXPECT_EQ(picture.Width(), 0);
  EXPECT_EQ(notified, 1);
}

}  // namespace
}  // namespace tintbox
