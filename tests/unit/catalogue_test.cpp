#include "rules/catalogue.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tintbox {
namespace {

namespace fs = std::filesystem;

// A fresh folder under the temp dir, removed with everything in it.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "tintbox-cat-XXXXXX").string();
    Path = mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(Path, ec);
  }
  std::string Path;
};

TEST(Catalogue, ImagesPathBesideTheProgramFile) {
  struct Case {
    const char* program;
    const char* want;
  } cases[] = {
      {"/opt/tintbox/tintbox", "/opt/tintbox/img"},
      {"/tintbox", "/img"},
      {"tintbox", "img"},
      {"./bin/tintbox", "./bin/img"},
      {"/opt/tintbox/", "/opt/tintbox/img"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ImagesPathFor(c.program), c.want) << c.program;
  }
}

TEST(Catalogue, ImagesPathOfAFolderOfOnesOwn) {
  struct Case {
    const char* folder;
    const char* want;
  } cases[] = {
      {"/home/ann/pics", "/home/ann/pics"},
      {"pics/", "pics"},
      {"pics//", "pics"},
      {"/", "/"},
      {"", ""},
      {".", "."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ImagesPathOf(c.folder), c.want) << c.folder;
  }
}

TEST(Catalogue, PictureFileNameIsDecimalWithoutZeros) {
  EXPECT_EQ(PictureFileName("/a/img", 1), "/a/img/1.bmp");
  EXPECT_EQ(PictureFileName("/a/img", 12), "/a/img/12.bmp");
  EXPECT_EQ(PictureFileName("img", 65535), "img/65535.bmp");
}

TEST(Catalogue, CountTable) {
  // Each entry: a name and what it is: 'f' file, 'd' folder, 'l' link to an
  // existing file, 'x' dangling link.
  struct Entry {
    const char* name;
    char kind;
  };
  struct Case {
    const char* title;
    std::vector<Entry> entries;
    int want;
  };
  const Case cases[] = {
      {"no folder content", {}, 0},
      {"three in a row", {{"1.bmp", 'f'}, {"2.bmp", 'f'}, {"3.bmp", 'f'}}, 3},
      {"a gap ends the count", {{"1.bmp", 'f'}, {"2.bmp", 'f'}, {"4.bmp", 'f'}}, 2},
      {"no picture 1", {{"2.bmp", 'f'}, {"3.bmp", 'f'}}, 0},
      {"01.bmp is not picture 1", {{"01.bmp", 'f'}, {"2.bmp", 'f'}}, 0},
      {"a folder named 3.bmp", {{"1.bmp", 'f'}, {"2.bmp", 'f'}, {"3.bmp", 'd'}, {"4.bmp", 'f'}}, 2},
      {"a link to a file counts", {{"1.bmp", 'f'}, {"2.bmp", 'l'}, {"3.bmp", 'f'}}, 3},
      {"a dangling link ends the count", {{"1.bmp", 'f'}, {"2.bmp", 'x'}, {"3.bmp", 'f'}}, 1},
      {"the letter case matters", {{"1.BMP", 'f'}}, 0},
  };
  for (const Case& c : cases) {
    TempDir dir;
    std::ofstream(dir.Path + "/target.dat") << "x";
    for (const Entry& e : c.entries) {
      const std::string path = dir.Path + "/" + e.name;
      switch (e.kind) {
        case 'f':
          std::ofstream(path) << "";  // existence is all that counts
          break;
        case 'd':
          fs::create_directory(path);
          break;
        case 'l':
          fs::create_symlink(dir.Path + "/target.dat", path);
          break;
        case 'x':
          fs::create_symlink(dir.Path + "/missing.dat", path);
          break;
      }
    }
    EXPECT_EQ(CountPictures(dir.Path), c.want) << c.title;
  }
}

TEST(Catalogue, MissingFolderCountsNone) {
  TempDir dir;
  std::ofstream(dir.Path + "/1.bmp") << "";
  // Missing, a file where the folder should be, and an empty name (not the
  // root folder): no pictures.
  EXPECT_EQ(CountPictures(dir.Path + "/img"), 0);
  EXPECT_EQ(CountPictures(dir.Path + "/1.bmp"), 0);
  EXPECT_EQ(CountPictures(ImagesPathOf("")), 0);
}

TEST(Catalogue, UnreadableFileStillCounts) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  TempDir dir;
  const std::string path = dir.Path + "/1.bmp";
  std::ofstream(path) << "BM";
  chmod(path.c_str(), 0);
  EXPECT_EQ(CountPictures(dir.Path), 1);
}

}  // namespace
}  // namespace tintbox
