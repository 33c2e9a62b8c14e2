#include "import/segment.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace tintbox::importer {

// Why these thresholds (colour differences are CIELAB distances):
// - LocalStep: neighbouring pixels closer than this belong to one area: JPEG
//   noise, texture grain and the steps of a gradient are well below it, the
//   edge between two fills is above it.
// - AreaSpread: an area never takes a pixel this far from its mean, so a
//   soft edge between two fills does not join them however gradual it is.
// - MinInterior: an area needs this many pixels with all four neighbours in
//   it, or it is a sliver or a speck that joins its neighbour.
// - InkSpeck: outline of fewer drawing pixels is a grain of noise or dirt,
//   not a line; it joins the area around it.
namespace {

constexpr float LocalStep = 10;
constexpr float AreaSpread = 40;
constexpr int32_t MinInterior = 16;
constexpr int32_t InkSpeck = 4;
constexpr int MaxAbsorbPasses = 24;

}  // namespace

// Neighbouring pixels join, closest first, while the area's colour stays near
// both; outline pixels join outline pixels. The steps between neighbours are
// sorted into buckets of half a unit of difference.
void JoinSimilarNeighbours(TAreaWork& A, const std::vector<uint8_t>& AInk) {
  const std::vector<TLab>& binLab = BinLab();
  auto labAt = [&](size_t i) -> const TLab& { return binLab[BinOf(A.px[i])]; };
  const size_t w = size_t(A.w);
  constexpr int Buckets = int(LocalStep * 2);
  std::vector<uint8_t> step(A.n * 2, 255);  // per pixel: to the right, downwards
  std::array<size_t, Buckets + 1> start{};
  for (int32_t y = 0; y < A.h; ++y) {
    for (int32_t x = 0; x < A.w; ++x) {
      const size_t i = size_t(y) * w + size_t(x);
      const size_t next[2] = {x + 1 < A.w ? i + 1 : i, y + 1 < A.h ? i + w : i};
      for (size_t k = 0; k < 2; ++k) {
        const size_t j = next[k];
        if (j == i) continue;
        if (AInk[i] || AInk[j]) {
          if (AInk[i] && AInk[j]) {
            const int32_t ri = A.sets.Find(int32_t(i)), rj = A.sets.Find(int32_t(j));
            if (ri != rj) A.Pool(ri, rj);
          }
          continue;
        }
        const float d = std::sqrt(Dist2(labAt(i), labAt(j)));
        if (d < LocalStep) {
          step[i * 2 + k] = uint8_t(d * 2);
          ++start[size_t(d * 2) + 1];
        }
      }
    }
  }
  for (int k = 0; k < Buckets; ++k) start[size_t(k) + 1] += start[size_t(k)];
  std::vector<uint32_t> edges(start[Buckets]);
  for (size_t e = 0; e < A.n * 2; ++e) {
    if (step[e] != 255) edges[start[step[e]]++] = uint32_t(e);
  }
  step = {};
  for (uint32_t e : edges) {
    const size_t i = e / 2;
    const size_t j = e % 2 ? i + w : i + 1;
    const int32_t ri = A.sets.Find(int32_t(i)), rj = A.sets.Find(int32_t(j));
    if (ri == rj) continue;
    if (Dist2(A.stats[size_t(ri)].Mean(), A.stats[size_t(rj)].Mean()) < AreaSpread * AreaSpread) {
      A.Pool(ri, rj);
    }
  }
}

// Slivers and specks join the neighbouring area (or outline) they look most
// like, a few rounds, since a speck may first join another speck. Inside
// means the pixels AScale away on all four sides are in the area too, so a
// line one drawing pixel wide is a sliver however much it was enlarged.
void AbsorbSlivers(TAreaWork& A, int32_t AScale) {
  const size_t w = size_t(A.w);
  const int32_t k = std::clamp(AScale, 1, 64);
  const size_t ks = size_t(k);
  std::vector<int32_t> interior(A.n), bestArea(A.n);
  std::vector<float> best(A.n);
  for (int pass = 0; pass < MaxAbsorbPasses; ++pass) {
    A.Roots();
    const std::vector<int32_t>& root = A.root;
    std::fill(interior.begin(), interior.end(), 0);
    for (int32_t y = 0; y < A.h; ++y) {
      for (int32_t x = 0; x < A.w; ++x) {
        const size_t i = size_t(y) * w + size_t(x);
        const int32_t r = root[i];
        const bool inside = (x < k || root[i - ks] == r) && (x + k >= A.w || root[i + ks] == r) &&
                            (y < k || root[i - ks * w] == r) &&
                            (y + k >= A.h || root[i + ks * w] == r);
        interior[size_t(r)] += inside;
      }
    }
    std::fill(best.begin(), best.end(), std::numeric_limits<float>::max());
    std::fill(bestArea.begin(), bestArea.end(), -1);
    bool any = false;
    auto small = [&](int32_t r) {
      const TAreaStats& s = A.stats[size_t(r)];
      return s.ink ? s.count < InkSpeck * k * k : interior[size_t(r)] < MinInterior;
    };
    auto consider = [&](int32_t a, int32_t b) {
      if (!small(a)) return;
      const float d = Dist2(A.stats[size_t(a)].Mean(), A.stats[size_t(b)].Mean());
      if (d < best[size_t(a)]) best[size_t(a)] = d, bestArea[size_t(a)] = b, any = true;
    };
    for (int32_t y = 0; y < A.h; ++y) {
      for (int32_t x = 0; x < A.w; ++x) {
        const size_t i = size_t(y) * w + size_t(x);
        const int32_t a = root[i];
        if (x + 1 < A.w && root[i + 1] != a) consider(a, root[i + 1]), consider(root[i + 1], a);
        if (y + 1 < A.h && root[i + w] != a) consider(a, root[i + w]), consider(root[i + w], a);
      }
    }
    if (!any) return;
    for (size_t r = 0; r < A.n; ++r) {
      if (bestArea[r] < 0 || root[r] != int32_t(r)) continue;
      const int32_t a = A.sets.Find(int32_t(r)), b = A.sets.Find(bestArea[r]);
      if (a != b) A.Absorb(a, b);
    }
  }
}

}  // namespace tintbox::importer
