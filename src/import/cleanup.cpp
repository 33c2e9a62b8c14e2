// The importer's clean-up: colours kept apart by black, and what a player
// could not use taken out.
#include <algorithm>
#include <limits>
#include <map>

#include "import/import.h"
#include "import/labcolor.h"
#include "picture/areas.h"
#include "picture/errors.h"
#include "rules/colorslist.h"

namespace tintbox {

using importer::Dist2;
using importer::ToLab;

namespace {

constexpr int MaxCleanupPasses = 256;

}  // namespace

void SeparateColors(TBitmap& APicture, const TBitmap& ADrawing) {
  const int32_t w = APicture.Width(), h = APicture.Height();
  if (ADrawing.Width() != w || ADrawing.Height() != h) throw EInvalidGraphic(SInvalidBitmap);
  TColor* out = APicture.WritablePixels();
  const TColor* src = ADrawing.Pixels();
  auto error = [&](size_t i) {
    const int dr = GetRValue(out[i]) - GetRValue(src[i]),
              dg = GetGValue(out[i]) - GetGValue(src[i]),
              db = GetBValue(out[i]) - GetBValue(src[i]);
    return dr * dr + dg * dg + db * db;
  };
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const size_t i = size_t(y) * size_t(w) + size_t(x);
      const size_t next[2] = {x + 1 < w ? i + 1 : i, y + 1 < h ? i + size_t(w) : i};
      for (size_t j : next) {
        if (j == i || out[i] == clBlack || out[j] == clBlack || out[i] == out[j]) continue;
        out[error(i) >= error(j) ? i : j] = clBlack;
      }
    }
  }
}

void RemoveUnplayable(TBitmap& APicture, const TImportOptions& AOptions) {
  const int32_t w = APicture.Width(), h = APicture.Height();
  const size_t n = size_t(w) * size_t(h);
  TColor* px = APicture.WritablePixels();
  auto at = [&](int32_t x, int32_t y) -> TColor& { return px[size_t(y) * size_t(w) + size_t(x)]; };
  for (int pass = 0; pass < MaxCleanupPasses; ++pass) {
    // Different colours never touch here, so the areas a fill covers are
    // areas of one colour.
    const TAreaMap areas = LabelAreas(APicture);

    // Too small to click: outline.
    bool changed = false;
    for (size_t i = 0; i < n; ++i) {
      if (areas.Label[i] >= 0 && areas.Pixels[size_t(areas.Label[i])] < AOptions.MinAreaPixels) {
        px[i] = clBlack;
        changed = true;
      }
    }
    if (changed) continue;

    // A rare colour lying only along outlines takes the nearest other colour;
    // every area is walled in by black, so a whole colour may change.
    const std::map<TColor, TColorUse> uses = ColorUses(APicture);
    for (const auto& [color, use] : uses) {
      if (use.Pixels > AOptions.StrayPixels || use.NextToBlack < use.Pixels) continue;
      TColor nearest = clBlack;
      float d = std::numeric_limits<float>::max();
      for (const auto& [other, otherUse] : uses) {
        if (other == color) continue;
        const float e = Dist2(ToLab(color), ToLab(other));
        if (e < d) d = e, nearest = other;
      }
      std::replace(px, px + n, color, nearest);
      changed = true;
      break;  // the counts are stale now
    }
    if (changed) continue;

    // An area the game's scan finds no seed point in is never blanked.
    std::vector<uint8_t> seeded(areas.Count());
    ScanSeeds(APicture, [&](TColor, TPoint APoint) { seeded[size_t(areas.At(APoint))] = 1; });
    for (size_t a = 0; a < areas.Count(); ++a) {
      if (!seeded[a]) {
        at(areas.First[a].X, areas.First[a].Y) = clBlack;  // the next pixel down starts a run
        changed = true;
      }
    }
    if (!changed) return;
  }
}

}  // namespace tintbox
