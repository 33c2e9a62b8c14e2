// Opening a picture in the game's own window, as a player does: the game's
// LoadPicture (the loading look painted, the file read, scanned and
// shuffled, the palette buttons made, the picture blanked) and the window
// repainted, on Qt's offscreen platform; beside stb_image reading the same
// file from disk, in the same run. Both count the CPU time of the whole
// process, so that work Qt hands to its own threads counts too.
#include <benchmark/benchmark.h>

#include <QTest>
#include <string>

#include "game/game.h"
#include "rules/random.h"
#include "stb_peer.h"
#include "ui/application.h"
#include "ui/mainwindow.h"

namespace {

using namespace tintbox;

// The bundled pictures lie in img/ beside this (imagined) program file.
const std::string ProgramFile = std::string(TINTBOX_SOURCE_DIR) + "/tintbox";
const std::string PictureFile = std::string(TINTBOX_SOURCE_DIR) + "/img/1.bmp";

void BM_OpenPictureInWindow(benchmark::State& state) {
  TRandom random(1);
  TForm1 form;
  TGame game(form, random, ProgramFile);
  game.FormCreate();
  game.FormShow();
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) {
    state.SkipWithError("the window did not show");
    return;
  }
  for (auto _ : state) {
    game.LoadPicture(1);
    form.repaint();
  }
  state.counters["colours"] = double(game.ColorsList()->Count());
}
BENCHMARK(BM_OpenPictureInWindow)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

void BM_StbOpenFileBesideWindow(benchmark::State& state) {
  StbLoadEachIteration(state, PictureFile);
}
BENCHMARK(BM_StbOpenFileBesideWindow)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
