#include "import/import.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "import/labcolor.h"
#include "import/palette.h"
#include "import/segment.h"
#include "picture/areas.h"
#include "picture/errors.h"

namespace tintbox {

using importer::BinLab;
using importer::BinOf;
using importer::Dist2;
using importer::TLab;
using importer::ToLab;

// Why these thresholds (colour differences are CIELAB distances, where about
// 2.3 is the least a person notices):
// - DarkLightness, DarkChroma: greys and browns darker than lightness 30 read
//   as outline ink; saturated dark colours (navy, dark red) stay colours.
// - RecolorDistance: a pixel this far from its new colour counts as changed.
namespace {

constexpr float DarkLightness = 30, DarkChroma = 25;
constexpr float RecolorDistance = 20;

}  // namespace

TImportSize FitInto(int64_t AWidth, int64_t AHeight, TImportSize ABox) {
  if (AWidth < 1 || AHeight < 1 || ABox.Width < 1 || ABox.Height < 1) return {};
  // Width-bound when AWidth / AHeight >= box width / box height, compared
  // exactly in integers (each product fits 64 bits for 32-bit sizes).
  const bool wide = AWidth * ABox.Height >= AHeight * ABox.Width;
  const double scale =
      wide ? double(ABox.Width) / double(AWidth) : double(ABox.Height) / double(AHeight);
  auto side = [&](int64_t v, int32_t limit) {
    return std::clamp<int32_t>(int32_t(std::lround(std::min(double(v) * scale, 1e9))), 1, limit);
  };
  return wide ? TImportSize{ABox.Width, side(AHeight, ABox.Height)}
              : TImportSize{side(AWidth, ABox.Width), ABox.Height};
}

void PlaceDrawing(const uint32_t* APixels, int32_t AWidth, int32_t AHeight, size_t AStride,
                  TBitmap& AOut, TImportSize ABox) {
  if (AWidth < 0 || AHeight < 0 || AWidth > ABox.Width || AHeight > ABox.Height ||
      (AHeight > 0 && AStride < size_t(AWidth))) {
    throw EInvalidGraphic(SInvalidBitmap);
  }
  AOut.SetSize(ABox.Width, ABox.Height, clWhite);
  TColor* out = AOut.WritablePixels();
  const int32_t left = (ABox.Width - AWidth) / 2, top = (ABox.Height - AHeight) / 2;
  for (int32_t y = 0; y < AHeight; ++y) {
    const uint32_t* row = APixels + size_t(y) * AStride;
    TColor* dst = out + size_t(y + top) * size_t(ABox.Width) + size_t(left);
    for (int32_t x = 0; x < AWidth; ++x) {
      // Premultiplied: the colour over white is the colour plus the white
      // that shows through.
      const uint32_t p = row[x];
      const uint32_t clear = 255 - (p >> 24);
      auto channel = [&](int shift) {
        return uint8_t(std::min<uint32_t>(255, ((p >> shift) & 255) + clear));
      };
      dst[x] = RGB(channel(16), channel(8), channel(0));
    }
  }
}

std::vector<uint8_t> OutlineMask(const TBitmap& ADrawing, int AGreyLimit) {
  const size_t n = size_t(ADrawing.Width()) * size_t(ADrawing.Height());
  const TColor* px = ADrawing.Pixels();
  const std::vector<TLab>& lab = BinLab();
  std::vector<uint8_t> ink(n);
  for (size_t i = 0; i < n; ++i) {
    const TColor c = px[i];
    const TLab& l = lab[BinOf(c)];
    ink[i] = NearBlack(c, AGreyLimit) ||
             (l.L < DarkLightness && l.a * l.a + l.b * l.b < DarkChroma * DarkChroma);
  }
  return ink;
}

void FlattenColors(const TBitmap& ADrawing, const std::vector<uint8_t>& AInk,
                   const TImportOptions& AOptions, TBitmap& APicture) {
  const size_t n = size_t(ADrawing.Width()) * size_t(ADrawing.Height());
  if (AInk.size() != n) throw EInvalidGraphic(SInvalidBitmap);
  APicture.SetSize(ADrawing.Width(), ADrawing.Height(), clBlack);
  if (n == 0) return;
  importer::TAreaWork areas(ADrawing, AInk);
  importer::JoinSimilarNeighbours(areas, AInk);
  importer::AbsorbSlivers(areas, AOptions.PixelScale);
  const std::vector<TColor> color = importer::ChoosePalette(areas, AOptions);
  TColor* out = APicture.WritablePixels();
  for (size_t i = 0; i < n; ++i) out[i] = color[size_t(areas.root[i])];
}

double MeanRgbDistance(const TBitmap& A, const TBitmap& B) {
  if (A.Width() != B.Width() || A.Height() != B.Height()) throw EInvalidGraphic(SInvalidBitmap);
  const size_t n = size_t(A.Width()) * size_t(A.Height());
  if (n == 0) return 0;
  const TColor* p = A.Pixels();
  const TColor* q = B.Pixels();
  double sum = 0;
  for (size_t i = 0; i < n; ++i) {
    const int dr = GetRValue(p[i]) - GetRValue(q[i]), dg = GetGValue(p[i]) - GetGValue(q[i]),
              db = GetBValue(p[i]) - GetBValue(q[i]);
    sum += std::sqrt(double(dr * dr + dg * dg + db * db));
  }
  return sum / double(n);
}

TImportReport ImportDrawing(const TBitmap& ADrawing, const TImportOptions& AOptions,
                            TBitmap& APicture) {
  const std::vector<uint8_t> ink = OutlineMask(ADrawing, AOptions.GreyLimit);
  FlattenColors(ADrawing, ink, AOptions, APicture);
  SeparateColors(APicture, ADrawing);
  RemoveUnplayable(APicture, AOptions);

  TImportReport report;
  report.Width = APicture.Width();
  report.Height = APicture.Height();
  const size_t n = size_t(report.Width) * size_t(report.Height);
  const TColor* out = APicture.Pixels();
  const TColor* src = ADrawing.Pixels();
  std::map<TColor, TLab> colors;
  int64_t toBlack = 0, recolored = 0;
  const std::vector<TLab>& binLab = BinLab();
  for (size_t i = 0; i < n; ++i) {
    if (out[i] == clBlack) {
      toBlack += !ink[i];
      continue;
    }
    auto found = colors.find(out[i]);
    if (found == colors.end()) found = colors.emplace(out[i], ToLab(out[i])).first;
    recolored += Dist2(found->second, binLab[BinOf(src[i])]) > RecolorDistance * RecolorDistance;
  }
  report.Colors = int(colors.size());
  if (report.Colors < 2) {
    throw EConvertError(report.Colors == 0
                            ? "nothing to colour: the drawing is all outline"
                            : "nothing to colour: the drawing has only one colour besides its "
                              "outlines, and the game needs two");
  }
  report.Areas = int64_t(LabelAreas(APicture).Count());
  report.ToBlack = n ? double(toBlack) / double(n) : 0;
  report.Recolored = n ? double(recolored) / double(n) : 0;
  report.Distance = MeanRgbDistance(APicture, ADrawing);
  return report;
}

}  // namespace tintbox
