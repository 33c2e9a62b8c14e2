// The importer's segmentation: the areas of a drawing while they form, from
// single pixels joined into areas of one look.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "import/labcolor.h"
#include "picture/bitmap.h"
#include "picture/color.h"
#include "picture/disjointsets.h"

namespace tintbox::importer {

// What an area under construction knows, kept at its root pixel. Its colour
// is the mean of the pixels it grew from; pixels it absorbs as slivers count
// towards its size only, so a fringe does not tint it.
struct TAreaStats {
  int32_t count = 0;
  int32_t own = 0;
  double L = 0, a = 0, b = 0;
  int64_t R = 0, G = 0, B = 0;
  bool ink = false;
  TLab Mean() const { return {float(L / own), float(a / own), float(b / own)}; }
  TColor Color() const {
    return RGB(uint8_t((R + own / 2) / own), uint8_t((G + own / 2) / own),
               uint8_t((B + own / 2) / own));
  }
};

// The areas of a drawing while they form: disjoint sets over its pixels, each
// area's figures kept at its root pixel.
struct TAreaWork {
  int32_t w = 0, h = 0;
  size_t n = 0;
  const TColor* px = nullptr;
  std::vector<TAreaStats> stats;
  TSets sets;
  std::vector<int32_t> root;  // filled by Roots()

  TAreaWork(const TBitmap& ADrawing, const std::vector<uint8_t>& AInk)
      : w(ADrawing.Width()),
        h(ADrawing.Height()),
        n(size_t(w) * size_t(h)),
        px(ADrawing.Pixels()),
        stats(n),
        sets(n),
        root(n) {
    // Every pixel starts as an area of its own.
    const std::vector<TLab>& binLab = BinLab();
    for (size_t i = 0; i < n; ++i) {
      const TLab& l = binLab[BinOf(px[i])];
      TAreaStats& s = stats[i];
      s.count = s.own = 1;
      s.L = l.L, s.a = l.a, s.b = l.b;
      s.R = GetRValue(px[i]), s.G = GetGValue(px[i]), s.B = GetBValue(px[i]);
      s.ink = AInk[i] != 0;
    }
  }
  void Roots() {
    for (size_t i = 0; i < n; ++i) root[i] = sets.Find(int32_t(i));
  }
  // Joins two roots into one area whose colour is their pooled mean.
  void Pool(int32_t ra, int32_t rb) {
    if (stats[size_t(ra)].count < stats[size_t(rb)].count) std::swap(ra, rb);
    TAreaStats& a = stats[size_t(ra)];
    const TAreaStats& b = stats[size_t(rb)];
    a.count += b.count, a.own += b.own;
    a.L += b.L, a.a += b.a, a.b += b.b, a.R += b.R, a.G += b.G, a.B += b.B;
    sets.Link(rb, ra);
  }
  // AArea joins AInto and takes its colour (and its ink) with it.
  void Absorb(int32_t AArea, int32_t AInto) {
    TAreaStats keep = stats[size_t(AInto)];
    keep.count += stats[size_t(AArea)].count;
    sets.Link(AArea, AInto);
    stats[size_t(AInto)] = keep;
  }
};

// Neighbouring pixels join, closest first, while the area's colour stays near
// both; outline pixels join outline pixels. The steps between neighbours are
// sorted into buckets of half a unit of difference.
void JoinSimilarNeighbours(TAreaWork& A, const std::vector<uint8_t>& AInk);

// Slivers and specks join the neighbouring area (or outline) they look most
// like, a few rounds, since a speck may first join another speck. Inside
// means the pixels AScale away on all four sides are in the area too, so a
// line one drawing pixel wide is a sliver however much it was enlarged.
void AbsorbSlivers(TAreaWork& A, int32_t AScale);

}  // namespace tintbox::importer
