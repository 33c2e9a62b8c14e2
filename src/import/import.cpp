#include "import/import.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <numeric>
#include <unordered_map>

#include "picture/areas.h"
#include "picture/errors.h"

namespace tintbox {

// Why these thresholds (colour differences are CIELAB distances, where about
// 2.3 is the least a person notices):
// - DarkLightness, DarkChroma: greys and browns darker than lightness 30 read
//   as outline ink; saturated dark colours (navy, dark red) stay colours.
// - LocalStep: neighbouring pixels closer than this belong to one area: JPEG
//   noise, texture grain and the steps of a gradient are well below it, the
//   edge between two fills is above it.
// - AreaSpread: an area never takes a pixel this far from its mean, so a
//   soft edge between two fills does not join them however gradual it is.
// - SameLook: areas whose colours are this close look the same on a palette
//   button (two reds a shade apart) and share a colour.
// - MinInterior: an area needs this many pixels with all four neighbours in
//   it, or it is a sliver or a speck that joins its neighbour.
// - InkSpeck: outline of fewer drawing pixels is a grain of noise or dirt,
//   not a line; it joins the area around it.
// - RecolorDistance: a pixel this far from its new colour counts as changed.
namespace {

constexpr float DarkLightness = 30, DarkChroma = 25;
constexpr float LocalStep = 10;
constexpr float AreaSpread = 40;
constexpr float SameLook = 18;
constexpr int32_t MinInterior = 16;
constexpr int32_t InkSpeck = 4;
constexpr float RecolorDistance = 20;
constexpr int MaxAbsorbPasses = 24;
constexpr int MaxCleanupPasses = 256;

struct TLab {
  float L = 0, a = 0, b = 0;
};

float Dist2(const TLab& p, const TLab& q) {
  const float dL = p.L - q.L, da = p.a - q.a, db = p.b - q.b;
  return dL * dL + da * da + db * db;
}

TLab ToLab(uint8_t r8, uint8_t g8, uint8_t b8) {
  auto linear = [](uint8_t v) {
    const double c = v / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  const double r = linear(r8), g = linear(g8), b = linear(b8);
  // sRGB to XYZ, D65 white.
  const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
  const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
  const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
  auto f = [](double t) {
    return t > 216.0 / 24389.0 ? std::cbrt(t) : (24389.0 / 27.0 * t + 16.0) / 116.0;
  };
  const double fx = f(x), fy = f(y), fz = f(z);
  return {float(116 * fy - 16), float(500 * (fx - fy)), float(200 * (fy - fz))};
}

TLab ToLab(TColor c) {
  return ToLab(GetRValue(c), GetGValue(c), GetBValue(c));
}

// Colours are looked up by 5 bits a channel: finer than any difference the
// steps below tell apart, and 32768 entries worked out once.
uint16_t BinOf(TColor c) {
  return uint16_t(((GetRValue(c) >> 3) << 10) | ((GetGValue(c) >> 3) << 5) | (GetBValue(c) >> 3));
}

const std::vector<TLab>& BinLab() {
  static const std::vector<TLab> table = [] {
    std::vector<TLab> t(32768);
    auto level = [](unsigned v) { return uint8_t((v * 255 + 15) / 31); };
    for (unsigned i = 0; i < t.size(); ++i) {
      t[i] = ToLab(level(i >> 10), level((i >> 5) & 31), level(i & 31));
    }
    return t;
  }();
  return table;
}

// Disjoint sets of pixel indices, with path halving.
class TSets {
 public:
  explicit TSets(size_t n) : FParent(n) { std::iota(FParent.begin(), FParent.end(), 0); }
  int32_t Find(int32_t i) {
    while (FParent[size_t(i)] != i) {
      FParent[size_t(i)] = FParent[size_t(FParent[size_t(i)])];
      i = FParent[size_t(i)];
    }
    return i;
  }
  void Link(int32_t AChild, int32_t ARoot) { FParent[size_t(AChild)] = ARoot; }

 private:
  std::vector<int32_t> FParent;
};

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

// One colour of the palette while the palette is being chosen: it is placed
// by the mean of its areas, and painted in the colour of its largest area, so
// a white background stays exactly white whatever paler specks joined it.
struct TGroup {
  double weight = 0;
  double L = 0, a = 0, b = 0;
  double leadWeight = 0;
  TColor lead = clBlack;
  int32_t leadArea = -1;
  TLab Mean() const { return {float(L / weight), float(a / weight), float(b / weight)}; }
  void Add(const TGroup& o) {
    weight += o.weight, L += o.L, a += o.a, b += o.b;
    if (o.leadWeight > leadWeight) leadWeight = o.leadWeight, lead = o.lead, leadArea = o.leadArea;
  }
};

// Merges groups until none are closer than ASameLook, then, while more than
// AMaxGroups remain, the pair whose merge moves the fewest pixels the least
// (Ward's criterion). AOwner[k] follows each original group to its survivor.
void MergeGroups(std::vector<TGroup>& AGroups, std::vector<int>& AOwner, float ASameLook,
                 size_t AMaxGroups) {
  std::vector<int> alive(AGroups.size());
  std::iota(alive.begin(), alive.end(), 0);
  std::vector<int> into(AGroups.size());
  std::iota(into.begin(), into.end(), 0);
  while (alive.size() > 1) {
    size_t bi = 0, bj = 0;
    double bestNear = std::numeric_limits<double>::max(), bestWard = bestNear;
    size_t wi = 0, wj = 0;
    for (size_t i = 0; i < alive.size(); ++i) {
      const TGroup& g = AGroups[size_t(alive[i])];
      const TLab gm = g.Mean();
      for (size_t j = i + 1; j < alive.size(); ++j) {
        const TGroup& h = AGroups[size_t(alive[j])];
        const double d2 = Dist2(gm, h.Mean());
        if (d2 < bestNear) bestNear = d2, bi = i, bj = j;
        const double ward = g.weight * h.weight / (g.weight + h.weight) * d2;
        if (ward < bestWard) bestWard = ward, wi = i, wj = j;
      }
    }
    if (bestNear >= double(ASameLook) * ASameLook) {
      if (alive.size() <= AMaxGroups) break;
      bi = wi, bj = wj;
    }
    const int keep = alive[bi], gone = alive[bj];
    AGroups[size_t(keep)].Add(AGroups[size_t(gone)]);
    into[size_t(gone)] = keep;
    alive.erase(alive.begin() + std::ptrdiff_t(bj));
  }
  for (int& o : AOwner) {
    while (into[size_t(o)] != o) o = into[size_t(o)];
  }
}

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

// The palette: areas whose colours look the same share one, and at most
// AOptions.MaxColors remain. Largest areas first, each joins the closest
// group within SameLook or starts one; then the groups are merged. Returns
// the colour of each area by its root pixel (black for the outline).
std::vector<TColor> ChoosePalette(TAreaWork& A, const TImportOptions& AOptions) {
  A.Roots();
  const std::vector<int32_t>& root = A.root;
  std::vector<int32_t> areas;
  for (size_t i = 0; i < A.n; ++i) {
    if (root[i] == int32_t(i) && !A.stats[i].ink) areas.push_back(int32_t(i));
  }
  std::sort(areas.begin(), areas.end(), [&](int32_t p, int32_t q) {
    return A.stats[size_t(p)].count != A.stats[size_t(q)].count
               ? A.stats[size_t(p)].count > A.stats[size_t(q)].count
               : p < q;
  });
  constexpr size_t MaxGroups = 256;  // beyond it areas join their nearest group
  std::vector<TGroup> groups;
  std::vector<int> groupOf(A.n, -1);
  for (int32_t r : areas) {
    const TAreaStats& s = A.stats[size_t(r)];
    const TLab m = s.Mean();
    int found = -1;
    float nearest = std::numeric_limits<float>::max();
    for (size_t g = 0; g < groups.size(); ++g) {
      const float d = Dist2(m, groups[g].Mean());
      if (d < nearest) nearest = d, found = int(g);
    }
    // An area counts by its size, its colour by the pixels it grew from.
    const double f = double(s.count) / s.own;
    const TGroup mine{double(s.count), s.L * f, s.a * f, s.b * f, double(s.count), s.Color(), r};
    if (found < 0 || (nearest >= SameLook * SameLook && groups.size() < MaxGroups)) {
      groups.push_back(mine);
      found = int(groups.size() - 1);
    } else {
      groups[size_t(found)].Add(mine);
    }
    groupOf[size_t(r)] = found;
  }
  std::vector<int> owner(groups.size());
  std::iota(owner.begin(), owner.end(), 0);
  MergeGroups(groups, owner, SameLook, size_t(std::clamp(AOptions.MaxColors, 1, 256)));

  // A flat lead area keeps its exact colour (a white background stays white):
  // the commonest colour of its pixels when a quarter of them have it.
  {
    std::vector<int32_t> leadOf(A.n, -1);
    for (size_t g = 0; g < groups.size(); ++g) {
      if (size_t(owner[g]) == g) leadOf[size_t(groups[g].leadArea)] = int32_t(g);
    }
    std::vector<std::unordered_map<TColor, int32_t>> counts(groups.size());
    for (size_t i = 0; i < A.n; ++i) {
      const int32_t g = leadOf[size_t(root[i])];
      if (g >= 0) ++counts[size_t(g)][A.px[i]];
    }
    for (size_t g = 0; g < groups.size(); ++g) {
      int64_t all = 0, most = 0;
      TColor mode = clBlack;
      for (const auto& [color, count] : counts[g]) {
        all += count;
        if (count > most || (count == most && color < mode)) most = count, mode = color;
      }
      if (all > 0 && most * 4 >= all) groups[g].lead = mode;
    }
  }
  // Groups are placed by their means but painted in their lead colours; two
  // lead colours that still look the same become one.
  for (size_t g = 0; g < groups.size(); ++g) {
    if (size_t(owner[g]) != g) continue;
    for (size_t k = 0; k < g; ++k) {
      if (size_t(owner[k]) != k ||
          Dist2(ToLab(groups[g].lead), ToLab(groups[k].lead)) >= SameLook * SameLook) {
        continue;
      }
      groups[k].Add(groups[g]);
      for (int& o : owner) {
        if (o == int(g)) o = int(k);
      }
      break;
    }
  }
  // A colour the checker would call near-black is outline.
  std::vector<TColor> color(A.n, clBlack);
  for (int32_t r : areas) {
    const TColor c = groups[size_t(owner[size_t(groupOf[size_t(r)])])].lead;
    const bool nearBlack = GetRValue(c) < AOptions.GreyLimit && GetGValue(c) < AOptions.GreyLimit &&
                           GetBValue(c) < AOptions.GreyLimit;
    color[size_t(r)] = nearBlack ? clBlack : c;
  }
  return color;
}

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
    const int top = std::max({GetRValue(c), GetGValue(c), GetBValue(c)});
    const TLab& l = lab[BinOf(c)];
    ink[i] = top < AGreyLimit ||
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
  TAreaWork areas(ADrawing, AInk);
  JoinSimilarNeighbours(areas, AInk);
  AbsorbSlivers(areas, AOptions.PixelScale);
  const std::vector<TColor> color = ChoosePalette(areas, AOptions);
  TColor* out = APicture.WritablePixels();
  for (size_t i = 0; i < n; ++i) out[i] = color[size_t(areas.root[i])];
}

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

    // The game's scan seeds a run where a pixel is not black and differs from
    // the pixel scanned before it; an area without a seed is never blanked.
    std::vector<uint8_t> seeded(areas.Count());
    TColor last = clBlack;
    for (int32_t x = 0; x < w; ++x) {
      for (int32_t y = 0; y < h; ++y) {
        const TColor c = at(x, y);
        if (c != last && c != clBlack) seeded[size_t(areas.At({x, y}))] = 1;
        last = c;
      }
    }
    for (size_t a = 0; a < areas.Count(); ++a) {
      if (!seeded[a]) {
        at(areas.First[a].X, areas.First[a].Y) = clBlack;  // the next pixel down starts a run
        changed = true;
      }
    }
    if (!changed) return;
  }
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
