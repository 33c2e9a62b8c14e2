// The picture surface against its peers: a boundary fill of a whole 640x480
// area against OpenCV's floodFill and a memset of the same pixels, and pixel
// reads through the canvas against a plain walk over the buffer.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

// OpenCV's headers mix enumeration types, which C++20 deprecates.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-enum-enum-conversion"
#include <opencv2/imgproc.hpp>
#pragma GCC diagnostic pop

#include "picture/canvas.h"

namespace {

using namespace tintbox;

constexpr int32_t W = 640, H = 480;

// A white area framed by a one-pixel black outline: the picture the game
// blanks and colours.
void FramedArea(TBitmap& ABitmap) {
  ABitmap.SetSize(W, H, clWhite);
  TColor* p = ABitmap.WritablePixels();
  for (int32_t x = 0; x < W; ++x) p[x] = p[size_t(H - 1) * W + x] = clBlack;
  for (int32_t y = 0; y < H; ++y) p[size_t(y) * W] = p[size_t(y) * W + W - 1] = clBlack;
}

// Two brush colours by turns, so that every fill paints the whole area again
// and no reset is needed between iterations.
void BM_FillFullArea(benchmark::State& state) {
  TBitmap bitmap;
  FramedArea(bitmap);
  TCanvas& canvas = bitmap.Canvas();
  const TColor colours[2] = {RGB(255, 0, 0), RGB(0, 0, 255)};
  unsigned turn = 0;
  for (auto _ : state) {
    canvas.Brush.SetColor(colours[turn++ & 1]);
    canvas.FloodFill(W / 2, H / 2, clBlack, fsBorder);
    benchmark::DoNotOptimize(bitmap.Pixels()[size_t(H / 2) * W + W / 2]);
  }
  if (canvas.Pixels(1, 1) == clWhite) state.SkipWithError("the fill painted nothing");
}
BENCHMARK(BM_FillFullArea);

// OpenCV's flood fill on the same picture, 4-connected from the same seed: its
// fill without tolerances paints the run of the seed's colour, which here is
// the same area.
void BM_CvFloodFill(benchmark::State& state) {
  cv::Mat image(H, W, CV_8UC3, cv::Scalar(255, 255, 255));
  cv::rectangle(image, cv::Rect(0, 0, W, H), cv::Scalar(0, 0, 0), 1);
  const cv::Scalar colours[2] = {cv::Scalar(0, 0, 255), cv::Scalar(255, 0, 0)};
  unsigned turn = 0;
  for (auto _ : state) {
    cv::floodFill(image, cv::Point(W / 2, H / 2), colours[turn++ & 1], nullptr, cv::Scalar(),
                  cv::Scalar(), 4);
    benchmark::DoNotOptimize(image.data);
  }
  if (image.at<cv::Vec3b>(1, 1) == cv::Vec3b(255, 255, 255))
    state.SkipWithError("the fill painted nothing");
}
BENCHMARK(BM_CvFloodFill);

void BM_MemsetArea(benchmark::State& state) {
  std::vector<TColor> pixels(size_t(W) * H);
  int value = 0;
  for (auto _ : state) {
    std::memset(pixels.data(), ++value & 0xFF, pixels.size() * sizeof(TColor));
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemsetArea);

// Every pixel of a 640x480 picture read once, as the game's scan does.
void BM_PixelsRead(benchmark::State& state) {
  TBitmap bitmap;
  FramedArea(bitmap);
  const TCanvas& canvas = bitmap.Canvas();
  for (auto _ : state) {
    uint64_t sum = 0;
    for (int32_t y = 0; y < H; ++y)
      for (int32_t x = 0; x < W; ++x) sum += canvas.Pixels(x, y);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_PixelsRead);

void BM_PlainWalk(benchmark::State& state) {
  TBitmap bitmap;
  FramedArea(bitmap);
  const TColor* pixels = bitmap.Pixels();
  for (auto _ : state) {
    benchmark::DoNotOptimize(pixels);
    uint64_t sum = 0;
    for (int32_t y = 0; y < H; ++y)
      for (int32_t x = 0; x < W; ++x) sum += pixels[size_t(y) * W + x];
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_PlainWalk);

}  // namespace
