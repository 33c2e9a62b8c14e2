// Union-find over pixel indices, for the importer's areas while they form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <numeric>
#include <vector>

namespace tintbox::importer {

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

}  // namespace tintbox::importer
