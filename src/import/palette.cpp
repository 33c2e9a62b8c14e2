#include "import/palette.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <unordered_map>

#include "rules/limits.h"

namespace tintbox::importer {

// SameLook: areas whose colours are this close (a CIELAB distance) look the
// same on a palette button (two reds a shade apart) and share a colour.
namespace {

constexpr float SameLook = 18;

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

}  // namespace

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
    color[size_t(r)] = NearBlack(c, AOptions.GreyLimit) ? clBlack : c;
  }
  return color;
}

}  // namespace tintbox::importer
