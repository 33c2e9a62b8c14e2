// tintbox-check: reads pictures the way the game does and tells what a player
// would meet.
//
//   tintbox-check [--ppm DIR] FILE...
//       per file "<file>: OK <width>x<height> <bits>-bit" or
//       "<file>: <ErrorClass> <message>"; --ppm writes each picture read as
//       DIR/<name>.ppm (binary P6). Exit 1 when a file cannot be read.
//   tintbox-check [--seeds] [--areas] DIR
//       the folder as the game counts it (N, files beyond a gap, folders named
//       like pictures), then per picture its colours, areas and problems;
//       --seeds lists each colour with its seed points, --areas each area.
//       Exit 1 when a picture would stop the game (unreadable, more than 10
//       colours) or could never be solved.
//   tintbox-check --gif FILE --frames DIR
//       writes the frames of a GIF as the animator paints them.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "check_gif.h"
#include "picture/canvas.h"
#include "picture/errors.h"
#include "picture/picture.h"
#include "ppm.h"
#include "rules/catalogue.h"
#include "rules/colorslist.h"
#include "rules/picturecheck.h"

using namespace tintbox;
using tools::WritePpm;

namespace {

void Usage() {
  std::fputs(
      "usage: tintbox-check [--ppm DIR] FILE...\n"
      "       tintbox-check [--seeds] [--areas] DIR\n"
      "       tintbox-check --gif FILE --frames DIR\n"
      "Reads bitmap pictures as the game does. For a folder, checks the numbered\n"
      "pictures 1.bmp, 2.bmp, ... as the game counts them and reports their colours,\n"
      "areas and the problems a player would meet.\n",
      stderr);
}

struct TOptions {
  std::string ppmDir;
  bool seeds = false;
  bool areas = false;
};

// Reads AFileName into APicture; on failure prints the error line and
// returns false.
bool LoadPicture(const std::string& AFileName, TPicture& APicture) {
  try {
    APicture.LoadFromFile(AFileName);
    return true;
  } catch (const Exception& e) {
    std::printf("%s: %s %s\n", AFileName.c_str(), e.ClassName(), e.Message().c_str());
  } catch (const std::exception& e) {
    std::printf("%s: Exception %s\n", AFileName.c_str(), e.what());
  }
  return false;
}

std::string FormatText(const TPicture& APicture) {
  const int bits = APicture.Bitmap() ? APicture.Bitmap()->Format().FileBitsPerPixel : 0;
  return "OK " + std::to_string(APicture.Width()) + "x" + std::to_string(APicture.Height()) + " " +
         std::to_string(bits) + "-bit";
}

int CheckFile(const std::string& AFileName, const TOptions& AOptions) {
  TPicture picture;
  if (!LoadPicture(AFileName, picture)) return 1;
  std::printf("%s: %s\n", AFileName.c_str(), FormatText(picture).c_str());
  if (!AOptions.ppmDir.empty() && picture.Bitmap()) {
    std::string name = std::filesystem::path(AFileName).filename().string();
    if (name.size() > 4 && (name.ends_with(".bmp") || name.ends_with(".BMP"))) {
      name.resize(name.size() - 4);
    }
    const std::string path = AOptions.ppmDir + "/" + name + ".ppm";
    const TBitmap& bitmap = *picture.Bitmap();
    if (!WritePpm(path, bitmap.Width(), bitmap.Height(),
                  [&](int32_t x, int32_t y) { return bitmap.ScanLine(y)[x]; })) {
      std::printf("%s: cannot write %s\n", AFileName.c_str(), path.c_str());
      return 1;
    }
  }
  return 0;
}

// Plays the picture as a player who knows the answer: blank it as the game
// does, fill every area with its colour, then ask the completion test.
bool SolvesByClickingEveryArea(const TBitmap& ASource, const TPictureReport& AReport) {
  TBitmap work;
  work.Assign(ASource);
  TColorsList list;
  ScanPicture(work, list);
  TCanvas& canvas = work.Canvas();
  BlankPicture(canvas, list);
  for (const TPictureArea& area : AReport.areas) {
    canvas.Brush.SetColor(area.color);
    canvas.FloodFill(area.point.X, area.point.Y, clBlack, fsBorder);
  }
  return list.IsCorrectColors(canvas);
}

bool IsProblemFatal(TProblemKind AKind) {
  return AKind == TProblemKind::TooManyColors || AKind == TProblemKind::TouchingColors;
}

// Checks one picture of the catalogue; returns 1 when it stops the game or can
// never be solved.
int CheckCataloguePicture(const std::string& AFileName, const TOptions& AOptions) {
  TPicture picture;
  if (!LoadPicture(AFileName, picture)) {
    std::printf("  error: the game stops when it opens this picture\n");
    return 1;
  }
  TBitmap empty;
  const TBitmap& bitmap = picture.Bitmap() ? *picture.Bitmap() : empty;
  const TPictureReport report = CheckPicture(bitmap);
  std::printf("%s: %s, %d colours, %zu areas\n", AFileName.c_str(), FormatText(picture).c_str(),
              report.colors.Count(), report.areas.size());
  if (AOptions.seeds) {
    for (const TPColors& entry : report.colors.colors) {
      std::string line = "  ";
      line += ColorText(entry.color);
      for (const TPoint& p : entry.points) {
        line += ' ';
        line += PointText(p);
      }
      std::printf("%s\n", line.c_str());
    }
  }
  if (AOptions.areas) {
    for (const TPictureArea& area : report.areas) {
      std::printf("  %s %s\n", PointText(area.point).c_str(), ColorText(area.color).c_str());
    }
  }
  int status = 0;
  for (const TPictureProblem& p : report.problems) {
    const bool fatal = IsProblemFatal(p.kind);
    std::printf("  %s: %s\n", fatal ? "error" : "warning", p.text.c_str());
    if (fatal) status = 1;
  }
  if (report.colors.Count() == 0) {
    std::printf("  note: no colours; the first click solves it\n");
  }
  if (!report.Unsolvable() && !SolvesByClickingEveryArea(bitmap, report)) {
    std::printf("  error: filling every area with its colour does not solve it\n");
    status = 1;
  }
  return status;
}

// A name the game could look up: decimal digits without a leading zero, then
// ".bmp". Returns the number, or 0.
long PictureNumber(const std::string& AName) {
  if (AName.size() < 5 || !AName.ends_with(".bmp")) return 0;
  const std::string digits = AName.substr(0, AName.size() - 4);
  if (digits.size() > 9 || digits[0] < '1' || digits[0] > '9') return 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 0;
  }
  return std::stol(digits);
}

int CheckFolder(const std::string& ADir, const TOptions& AOptions) {
  const int count = CountPictures(ADir);
  std::printf("%s: %d pictures\n", ADir.c_str(), count);
  int status = 0;
  if (count == 0) {
    std::printf("  error: no picture 1.bmp: the game stops at start\n");
    status = 1;
  }
  if (count == MaxPictures) {
    std::printf("  warning: the count stops at %d pictures\n", MaxPictures);
  }

  // What lies in the folder besides the counted pictures.
  std::vector<std::pair<long, std::string>> named;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(ADir, ec)) {
    const std::string name = entry.path().filename().string();
    const long n = PictureNumber(name);
    if (n > 0) {
      named.emplace_back(n, name);
    } else if (name.ends_with(".bmp") || name.ends_with(".BMP")) {
      std::printf("  warning: %s is not a picture name (pictures are 1.bmp, 2.bmp, ...)\n",
                  name.c_str());
    }
  }
  std::sort(named.begin(), named.end());
  for (const auto& [n, name] : named) {
    const std::string path = ADir + "/" + name;
    if (n <= count) continue;
    struct stat st {};
    const bool isDir = stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    if (isDir) {
      std::printf("  warning: %s is a folder%s\n", name.c_str(),
                  n == count + 1 ? " and ends the catalogue" : "");
    } else if (n == count + 1) {
      std::printf("  warning: %s cannot be opened and ends the catalogue\n", name.c_str());
    } else {
      std::printf("  warning: %s lies beyond a gap (%d.bmp is missing): it can never be opened\n",
                  name.c_str(), count + 1);
    }
  }

  for (int n = 1; n <= count; ++n) {
    status |= CheckCataloguePicture(PictureFileName(ADir, n), AOptions);
  }
  return status;
}

bool IsFolder(const std::string& APath) {
  struct stat st {};
  return stat(APath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

int main(int argc, char** argv) {
  TOptions options;
  std::vector<std::string> paths;
  std::string gif, frames;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& AOut) {
      if (i + 1 >= argc) {
        Usage();
        std::exit(2);
      }
      AOut = argv[++i];
    };
    if (arg == "--ppm") {
      value(options.ppmDir);
    } else if (arg == "--seeds") {
      options.seeds = true;
    } else if (arg == "--areas") {
      options.areas = true;
    } else if (arg == "--gif") {
      value(gif);
    } else if (arg == "--frames") {
      value(frames);
    } else if (arg == "--help" || arg == "-h") {
      Usage();
      return 0;
    } else if (arg.starts_with("--")) {
      std::fprintf(stderr, "tintbox-check: unknown option %s\n", arg.c_str());
      Usage();
      return 2;
    } else {
      paths.push_back(arg);
    }
  }
  if (!gif.empty() || !frames.empty()) {
    if (gif.empty() || frames.empty() || !paths.empty()) {
      Usage();
      return 2;
    }
    return CheckGifFrames(gif, frames);
  }
  if (paths.empty()) {
    Usage();
    return 2;
  }
  int status = 0;
  for (const std::string& path : paths) {
    status |= IsFolder(path) ? CheckFolder(path, options) : CheckFile(path, options);
  }
  return status;
}
