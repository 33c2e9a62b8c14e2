// Union-find over indices: the importer's pixels while its areas form, the
// runs of pixels of an area when the numbers are placed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <numeric>
#include <vector>

namespace tintbox {

// Disjoint sets of indices, with path halving.
class TSets {
 public:
  TSets() = default;
  explicit TSets(size_t n) : FParent(n) { std::iota(FParent.begin(), FParent.end(), 0); }
  // A new set of its own; returns its index.
  int32_t Add() {
    FParent.push_back(int32_t(FParent.size()));
    return FParent.back();
  }
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

}  // namespace tintbox
