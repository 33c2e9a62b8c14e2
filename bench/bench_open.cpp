// Opening a picture as the game does, minus the window: read the file into a
// picture, keep a copy for the example, scan it, shuffle the palette, blank it
// and paint it 1:1 into a 640x480 surface; against stb_image reading the same
// file from disk.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "picture/draw.h"
#include "picture/picture.h"
#include "rules/colorslist.h"
#include "rules/random.h"
#include "stb_peer.h"

namespace {

using namespace tintbox;

// Picture 1 of the bundled set: 640x480, 24-bit.
const std::string PictureFile = std::string(TINTBOX_SOURCE_DIR) + "/img/1.bmp";

void BM_OpenPicture(benchmark::State& state) {
  std::vector<uint32_t> screen(640 * 480);
  const TSurface32 surface{screen.data(), 640, 480, 640};
  TColorsList list;
  TRandom random(1);
  for (auto _ : state) {
    TPicture picture;
    picture.LoadFromFile(PictureFile);
    // The example keeps the picture as read: blanking then copies the shared
    // pixel store, as it does in the game.
    TPicture example;
    example.Assign(&picture);
    TBitmap& bitmap = *picture.Bitmap();
    ScanPicture(bitmap, list);
    list.Shuffle(random);
    BlankPicture(bitmap.Canvas(), list);
    StretchDraw(surface, TRect{0, 0, bitmap.Width(), bitmap.Height()}, bitmap);
    benchmark::DoNotOptimize(screen.data());
    benchmark::ClobberMemory();
  }
  state.counters["colours"] = double(list.Count());
}
BENCHMARK(BM_OpenPicture)->Unit(benchmark::kMicrosecond);

void BM_StbOpenFile(benchmark::State& state) {
  StbLoadEachIteration(state, PictureFile);
}
BENCHMARK(BM_StbOpenFile)->Unit(benchmark::kMicrosecond);

}  // namespace
