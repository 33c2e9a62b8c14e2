// Analysis of a picture by the game's rules, for the picture checker: the
// colours the scan finds with their seed points, the areas a fill covers,
// and the problems a player would meet.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture/bitmap.h"
#include "picture/color.h"
#include "rules/colorslist.h"
#include "rules/limits.h"

namespace tintbox {

// One area: a 4-connected set of non-black pixels, the set one fill covers.
struct TPictureArea {
  TPoint point;         // its first pixel in scan order (column by column)
  TColor color = 0;     // the colour of that pixel
  int64_t pixels = 0;   // its size
  bool seeded = false;  // a seed point of the scan lies in it
  bool mixed = false;   // it holds more than one colour
};

enum class TProblemKind {
  TooManyColors,   // more than MaxColors: the game refuses the picture
  TouchingColors,  // different colours touch without black: never solvable
  NoSeed,          // an area no seed point lies in: never blanked, never tested
  GreyOutline,     // near-black pixels: dark outline pixels that are not black
  StrayColor,      // a colour of only a few pixels, all next to black
  TinyArea,        // an area too small to click comfortably
  TooLarge,        // parts beyond 640 x 480 cannot be seen or clicked
};

struct TPictureProblem {
  TProblemKind kind;
  TPoint point;      // where it shows first
  std::string text;  // one line for a person
};

struct TPictureReport {
  int32_t width = 0, height = 0;
  TColorsList colors;               // as the scan leaves it, before the shuffle
  std::vector<TPictureArea> areas;  // in scan order of their first pixels
  std::vector<TPictureProblem> problems;

  // The game would refuse it (more than MaxColors colours).
  bool StopsGame() const;
  // It could never be solved (different colours touch without black).
  bool Unsolvable() const;
};

TPictureReport CheckPicture(const TBitmap& ABitmap);

// "#RRGGBB" of a colour.
std::string ColorText(TColor AColor);
// "x,y" of a point.
std::string PointText(TPoint APoint);

}  // namespace tintbox
