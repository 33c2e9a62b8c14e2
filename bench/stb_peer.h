// The peer of the picture-opening benchmarks: stb_image reading a file from
// disk into 24-bit pixels, once an iteration.
#pragma once

#include <benchmark/benchmark.h>
#include <stb/stb_image.h>

#include <string>

inline void StbLoadEachIteration(benchmark::State& AState, const std::string& AFileName) {
  for (auto _ : AState) {
    int w = 0, h = 0, n = 0;
    unsigned char* pixels = stbi_load(AFileName.c_str(), &w, &h, &n, 3);
    if (!pixels) {
      AState.SkipWithError("stb_image cannot read the picture");
      break;
    }
    benchmark::DoNotOptimize(pixels);
    stbi_image_free(pixels);
  }
}
