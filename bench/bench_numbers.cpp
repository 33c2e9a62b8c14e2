// Placing the numbers of colour by number over a 640x480 picture in which
// every area is wrong: the areas labelled, the distance transform, each
// area's furthest point and its digit. Beside opening the same picture in
// the core (bench_open.cpp), in the same run.
#include <benchmark/benchmark.h>

#include <string>

#include "picture/picture.h"
#include "rules/colorslist.h"
#include "rules/numbers.h"
#include "rules/random.h"

namespace {

using namespace tintbox;

void BM_PlaceNumbers(benchmark::State& state) {
  // Picture 1 of the bundled set, opened as the game opens it, then every
  // seeded area filled with a colour of no entry, so that every one of them
  // is wrong and gets its number.
  TPicture picture;
  picture.LoadFromFile(std::string(TINTBOX_SOURCE_DIR) + "/img/1.bmp");
  TBitmap& bitmap = *picture.Bitmap();
  TColorsList list;
  TRandom random(1);
  ScanPicture(bitmap, list);
  list.Shuffle(random);
  TCanvas& canvas = bitmap.Canvas();
  canvas.Brush.SetColor(RGB(1, 2, 3));
  for (const TPColors& entry : list.colors)
    for (const TPoint& p : entry.points)
      if (canvas.Pixels(p.X, p.Y) != RGB(1, 2, 3)) canvas.FloodFill(p.X, p.Y, clBlack, fsBorder);
  size_t placed = 0;
  for (auto _ : state) {
    const std::vector<TNumberMark> marks = PlaceNumbers(bitmap, list);
    placed = marks.size();
    benchmark::DoNotOptimize(marks.data());
    benchmark::ClobberMemory();
  }
  state.counters["numbers"] = double(placed);
}
BENCHMARK(BM_PlaceNumbers)->Unit(benchmark::kMicrosecond);

}  // namespace
