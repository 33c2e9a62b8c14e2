// The bitmap reader over the bmpsuite corpus (tests/data/bmpsuite): every good
// file reads to its reference picture; bad and questionable files never crash
// and give what this program's own reading rules give.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/testbitmaps.h"
#include "picture/bitmap.h"
#include "picture/bmpreader.h"
#include "picture/errors.h"

namespace tintbox {
namespace {

using testhelp::Outcome;

namespace fs = std::filesystem;
using TBytes = std::vector<uint8_t>;

const fs::path Suite = fs::path(TINTBOX_TEST_DATA) / "bmpsuite";

using testhelp::ReadFile;

std::vector<fs::path> Bitmaps(const char* folder) {
  std::vector<fs::path> v;
  for (const auto& e : fs::directory_iterator(Suite / folder))
    if (e.path().extension() == ".bmp") v.push_back(e.path());
  std::sort(v.begin(), v.end());
  return v;
}

// A binary PPM (P6, maxval 255) as colours, top row first.
struct TPpm {
  int Width = 0, Height = 0;
  std::vector<TColor> Pixels;
};

TPpm ReadPpm(const fs::path& p) {
  const TBytes bytes = ReadFile(p);
  TPpm ppm;
  size_t pos = 0;
  auto token = [&] {
    std::string t;
    while (pos < bytes.size()) {
      const char c = char(bytes[pos]);
      if (c == '#') {
        while (pos < bytes.size() && bytes[pos] != '\n') ++pos;
      } else if (std::isspace(uint8_t(c))) {
        ++pos;
        if (!t.empty()) break;
      } else {
        t += c;
        ++pos;
      }
    }
    return t;
  };
  if (token() != "P6") return ppm;
  ppm.Width = std::atoi(token().c_str());
  ppm.Height = std::atoi(token().c_str());
  if (token() != "255") return TPpm{};
  for (size_t i = 0; i < size_t(ppm.Width) * size_t(ppm.Height) && pos + 3 <= bytes.size();
       ++i, pos += 3)
    ppm.Pixels.push_back(RGB(bytes[pos], bytes[pos + 1], bytes[pos + 2]));
  return ppm;
}

TEST(BmpSuite, GoodFilesReadToTheirReferencePictures) {
  const auto files = Bitmaps("good");
  ASSERT_GE(files.size(), 20u) << Suite;
  for (const fs::path& p : files) {
    SCOPED_TRACE(p.filename().string());
    const TPpm want = ReadPpm(fs::path(p).replace_extension(".expected.ppm"));
    ASSERT_GT(want.Width, 0);
    ASSERT_EQ(want.Pixels.size(), size_t(want.Width) * size_t(want.Height));
    TBitmap b;
    ASSERT_EQ(Outcome(ReadFile(p), b),
              "OK " + std::to_string(want.Width) + "x" + std::to_string(want.Height));
    int worst = 0, worstX = 0, worstY = 0;
    for (int y = 0; y < want.Height; ++y)
      for (int x = 0; x < want.Width; ++x) {
        const TColor got = b.PixelAt(x, y), w = want.Pixels[size_t(y) * want.Width + x];
        for (int shift : {0, 8, 16}) {
          const int d = std::abs(int((got >> shift) & 255) - int((w >> shift) & 255));
          if (d > worst) worst = d, worstX = x, worstY = y;
        }
      }
    EXPECT_LE(worst, 8) << "at (" << worstX << ", " << worstY << ") got " << std::hex
                        << b.PixelAt(worstX, worstY) << " want "
                        << want.Pixels[size_t(worstY) * want.Width + worstX];
  }
}

// What each bad or questionable file gives under this program's rules: pixels
// straight after the table (the pixel-data offset is not used), tables of more
// than 256 entries refused, the fourth byte of a 32-bit pixel kept apart from
// the colour, header sizes below 40 other than 12 refused, and only the
// compressions that this reader decodes.
const std::map<std::string, std::string>& Expected() {
  static const std::map<std::string, std::string> table = {
      // bad/
      {"bad/badbitcount.bmp", "EInvalidGraphic: Bitmap image is not valid"},
      {"bad/badbitssize.bmp", "OK 127x64"},
      {"bad/baddens1.bmp", "OK 127x64"},
      {"bad/baddens2.bmp", "OK 127x64"},
      {"bad/badfilesize.bmp", "OK 127x64"},
      {"bad/badheadersize.bmp", "OK 127x64"},
      {"bad/badpalettesize.bmp", "EInvalidGraphic: Bitmap image is not valid"},
      {"bad/badplanes.bmp", "EInvalidGraphic: Bitmap image is not valid"},
      {"bad/badrle.bmp", "OK 127x64"},
      {"bad/badrle4.bmp", "OK 127x64"},
      {"bad/badrle4bis.bmp", "OK 127x64"},
      {"bad/badrle4ter.bmp", "OK 127x64"},
      {"bad/badrlebis.bmp", "OK 127x64"},
      {"bad/badrleter.bmp", "OK 127x64"},
      {"bad/badwidth.bmp", "EInvalidGraphic: Bitmap image is not valid"},
      {"bad/pal8badindex.bmp", "OK 127x64"},
      {"bad/reallybig.bmp", "EOutOfResources: Out of system resources"},
      {"bad/rgb16-880.bmp", "OK 127x64"},
      {"bad/rletopdown.bmp", "EInvalidGraphic: Bitmap image is not valid"},
      {"bad/shortfile.bmp", "OK 127x64"},
      // questionable/
      {"questionable/pal1huffmsb.bmp", "EInvalidGraphic: Bitmap image is not valid"},
      {"questionable/pal1p1.bmp", "OK 127x64"},
      {"questionable/pal2.bmp", "EInvalidGraphic: Bitmap image is not valid"},
      {"questionable/pal2color.bmp", "EInvalidGraphic: Bitmap image is not valid"},
      {"questionable/pal4rlecut.bmp", "OK 127x64"},
      {"questionable/pal4rletrns.bmp", "OK 127x64"},
      {"questionable/pal8offs.bmp", "OK 127x64"},
      {"questionable/pal8os2-hs.bmp", "OK 127x64"},
      {"questionable/pal8os2-sz.bmp", "OK 127x64"},
      {"questionable/pal8os2sp.bmp", "OK 127x64"},
      {"questionable/pal8os2v2-16.bmp", "EInvalidGraphic: Bitmap image is not valid"},
      {"questionable/pal8os2v2-40sz.bmp", "OK 127x64"},
      {"questionable/pal8os2v2-sz.bmp", "OK 127x64"},
      {"questionable/pal8os2v2.bmp", "OK 127x64"},
      {"questionable/pal8oversizepal.bmp", "EInvalidGraphic: Bitmap image is not valid"},
      {"questionable/pal8rlecut.bmp", "OK 127x64"},
      {"questionable/pal8rletrns.bmp", "OK 127x64"},
      {"questionable/rgb16-231.bmp", "OK 127x64"},
      {"questionable/rgb16-3103.bmp", "OK 127x64"},
      {"questionable/rgb16faketrns.bmp", "OK 127x64"},
      {"questionable/rgb24jpeg.bmp", "EInvalidGraphic: Bitmap image is not valid"},
      {"questionable/rgb24largepal.bmp", "EInvalidGraphic: Bitmap image is not valid"},
      {"questionable/rgb24lprof.bmp", "OK 127x64"},
      {"questionable/rgb24png.bmp", "EInvalidGraphic: Bitmap image is not valid"},
      {"questionable/rgb24prof.bmp", "OK 127x64"},
      {"questionable/rgb24prof2.bmp", "OK 127x64"},
      {"questionable/rgb24rle24.bmp", "EInvalidGraphic: Bitmap image is not valid"},
      {"questionable/rgb32-111110.bmp", "OK 127x64"},
      {"questionable/rgb32-7187.bmp", "OK 127x64"},
      {"questionable/rgb32-xbgr.bmp", "OK 127x64"},
      {"questionable/rgb32fakealpha.bmp", "OK 127x64"},
      {"questionable/rgb32h52.bmp", "OK 127x64"},
      {"questionable/rgba16-1924.bmp", "OK 127x64"},
      {"questionable/rgba16-4444.bmp", "OK 127x64"},
      {"questionable/rgba16-5551.bmp", "OK 127x64"},
      {"questionable/rgba32-1.bmp", "OK 127x64"},
      {"questionable/rgba32-1010102.bmp", "OK 127x64"},
      {"questionable/rgba32-2.bmp", "OK 127x64"},
      {"questionable/rgba32-61754.bmp", "OK 127x64"},
      {"questionable/rgba32-81284.bmp", "OK 127x64"},
      {"questionable/rgba32abf.bmp", "EInvalidGraphic: Bitmap image is not valid"},
      {"questionable/rgba32h56.bmp", "OK 127x64"},
      {"questionable/rgba64.bmp", "EInvalidGraphic: Bitmap image is not valid"},
  };
  return table;
}

TEST(BmpSuite, BadAndQuestionableFilesGiveTheProgramsOwnOutcome) {
  std::map<std::string, std::string> got;
  for (const char* folder : {"bad", "questionable"})
    for (const fs::path& p : Bitmaps(folder)) {
      TBitmap b;
      const std::string outcome = Outcome(ReadFile(p), b);
      // Touch every pixel: a store that is smaller than its size says fails under ASan.
      uint64_t sum = 0;
      for (int32_t y = 0; y < b.Height(); ++y)
        for (int32_t x = 0; x < b.Width(); ++x) sum += b.PixelAt(x, y);
      (void)sum;
      got[std::string(folder) + "/" + p.filename().string()] = outcome;
    }
  ASSERT_GE(got.size(), 50u) << Suite;
  for (const auto& [name, outcome] : got) {
    const auto want = Expected().find(name);
    if (want == Expected().end()) {
      ADD_FAILURE() << "no expected outcome for " << name << ": got {\"" << name << "\", \""
                    << outcome << "\"},";
      continue;
    }
    EXPECT_EQ(outcome, want->second) << name;
  }
  for (const auto& [name, outcome] : Expected())
    EXPECT_TRUE(got.count(name)) << "missing file " << name;
}

}  // namespace
}  // namespace tintbox
