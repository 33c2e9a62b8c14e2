#include "rules/picturecheck.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

#include "picture/areas.h"

namespace tintbox {

// The thresholds of the warnings are the limits of rules/limits.h.

std::string PointText(TPoint APoint) {
  return std::to_string(APoint.X) + "," + std::to_string(APoint.Y);
}

namespace {

// Lists at most this many problems of one kind, then one line for the rest.
constexpr size_t MaxListed = 20;

class TProblemList {
 public:
  explicit TProblemList(std::vector<TPictureProblem>& AOut) : FOut(AOut) {}
  void Add(TProblemKind AKind, TPoint APoint, std::string AText) {
    const size_t seen = ++FCounts[AKind];
    if (seen <= MaxListed) FOut.push_back({AKind, APoint, std::move(AText)});
  }
  void Summarise() {
    for (const auto& [kind, count] : FCounts) {
      if (count > MaxListed) {
        FOut.push_back(
            {kind, TPoint{},
             "... and " + std::to_string(count - MaxListed) + " more of the kind above"});
      }
    }
  }

 private:
  std::vector<TPictureProblem>& FOut;
  std::map<TProblemKind, size_t> FCounts;
};

}  // namespace

std::string ColorText(TColor AColor) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(AColor), GetGValue(AColor),
                GetBValue(AColor));
  return text;
}

bool TPictureReport::StopsGame() const {
  return std::any_of(problems.begin(), problems.end(), [](const TPictureProblem& p) {
    return p.kind == TProblemKind::TooManyColors;
  });
}

bool TPictureReport::Unsolvable() const {
  return std::any_of(problems.begin(), problems.end(), [](const TPictureProblem& p) {
    return p.kind == TProblemKind::TouchingColors;
  });
}

TPictureReport CheckPicture(const TBitmap& ABitmap) {
  TPictureReport report;
  report.width = ABitmap.Width();
  report.height = ABitmap.Height();
  ScanPicture(ABitmap, report.colors);
  TProblemList problems(report.problems);

  const int32_t w = report.width, h = report.height;
  if (w > ViewWidth || h > ViewHeight) {
    problems.Add(TProblemKind::TooLarge, TPoint{ViewWidth, ViewHeight},
                 std::to_string(w) + "x" + std::to_string(h) + " is larger than " +
                     std::to_string(ViewWidth) + "x" + std::to_string(ViewHeight) +
                     ": only the top-left part can be seen and clicked");
  }
  if (report.colors.Count() > MaxColors) {
    problems.Add(TProblemKind::TooManyColors, TPoint{},
                 std::to_string(report.colors.Count()) + " colours, more than " +
                     std::to_string(MaxColors) + ": the game refuses the picture");
  }
  if (w <= 0 || h <= 0) return report;

  const size_t stride = size_t(w);
  const TColor* pixels = ABitmap.Pixels();
  auto at = [&](int32_t x, int32_t y) { return pixels[size_t(y) * stride + size_t(x)]; };

  // Areas as a fill covers them; an area is mixed when it holds a colour
  // other than its first pixel's.
  const TAreaMap areas = LabelAreas(ABitmap);
  for (size_t k = 0; k < areas.Count(); ++k) {
    TPictureArea area;
    area.point = areas.First[k];
    area.color = at(area.point.X, area.point.Y);
    area.pixels = areas.Pixels[k];
    report.areas.push_back(area);
  }
  for (size_t i = 0; i < areas.Label.size(); ++i) {
    if (areas.Label[i] < 0) continue;
    TPictureArea& area = report.areas[size_t(areas.Label[i])];
    if (pixels[i] != area.color) area.mixed = true;
  }

  // Different colours side by side: each pair of colours once, at the first
  // place found.
  std::map<std::pair<TColor, TColor>, TPoint> touching;
  for (int32_t x = 0; x < w; ++x) {
    for (int32_t y = 0; y < h; ++y) {
      const TColor c = at(x, y);
      if (c == clBlack) continue;
      const TPoint next[2] = {{x + 1, y}, {x, y + 1}};
      for (const TPoint& q : next) {
        if (q.X >= w || q.Y >= h) continue;
        const TColor d = at(q.X, q.Y);
        if (d == clBlack || d == c) continue;
        touching.emplace(std::minmax(c, d), TPoint{x, y});
      }
    }
  }
  for (const auto& [pair, point] : touching) {
    problems.Add(TProblemKind::TouchingColors, point,
                 ColorText(pair.first) + " and " + ColorText(pair.second) +
                     " touch without black at " + PointText(point) +
                     ": the picture can never be solved");
  }

  for (const TPColors& entry : report.colors.colors) {
    for (const TPoint& p : entry.points) {
      report.areas[size_t(areas.At(p))].seeded = true;
    }
  }
  for (const TPictureArea& area : report.areas) {
    if (!area.seeded) {
      problems.Add(TProblemKind::NoSeed, area.point,
                   "area at " + PointText(area.point) + " (" + ColorText(area.color) + ", " +
                       std::to_string(area.pixels) +
                       " pixels) has no seed point: it is never blanked nor tested");
    }
  }
  for (const TPictureArea& area : report.areas) {
    if (area.pixels < TinyAreaPixels) {
      problems.Add(TProblemKind::TinyArea, area.point,
                   "area at " + PointText(area.point) + " (" + ColorText(area.color) +
                       ") has only " + std::to_string(area.pixels) + " pixels");
    }
  }

  const std::map<TColor, TColorUse> uses = ColorUses(ABitmap);
  for (const TPColors& entry : report.colors.colors) {
    const auto found = uses.find(entry.color);
    if (found == uses.end()) continue;
    const TColorUse& use = found->second;
    const std::string where =
        std::to_string(use.Pixels) + " pixels, first at " + PointText(use.First);
    if (NearBlack(entry.color)) {
      problems.Add(TProblemKind::GreyOutline, use.First,
                   "near-black colour " + ColorText(entry.color) + " (" + where +
                       "): grey outline pixels count as a colour");
    } else if (use.Pixels <= StrayPixels && use.NextToBlack == use.Pixels) {
      problems.Add(TProblemKind::StrayColor, use.First,
                   "colour " + ColorText(entry.color) + " (" + where +
                       ") lies only along outlines: anti-aliased outline?");
    }
  }
  problems.Summarise();
  return report;
}

}  // namespace tintbox
