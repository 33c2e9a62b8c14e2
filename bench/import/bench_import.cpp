// Importing a 1600x1200 drawing with the tintbox-import command, beside
// ImageMagick reducing the same file to ten colours (`convert DRAWING -colors
// 10 OUT.bmp`), in the same run. Both are whole commands started as processes:
// reading the file, the work, and writing the BMP. Timed by the clock on the
// wall: the processes' work is not this thread's CPU time.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

const char* const ImageMagick = "/usr/bin/convert";
std::string Folder, Drawing;

// Runs AArgs with its output discarded; true when it exits with 0.
bool Run(std::vector<std::string> AArgs) {
  std::vector<char*> argv;
  for (std::string& a : AArgs) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  return spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

void Each(benchmark::State& state, const std::vector<std::string>& AArgs) {
  if (Drawing.empty()) {
    state.SkipWithError("no drawing (is ImageMagick installed?)");
    return;
  }
  for (auto _ : state) {
    if (!Run(AArgs)) {
      state.SkipWithError((AArgs[0] + " failed").c_str());
      return;
    }
  }
}

void BM_ImportDrawing1600(benchmark::State& state) {
  Each(state, {TINTBOX_IMPORT, Drawing, Folder + "/imported.bmp"});
}
BENCHMARK(BM_ImportDrawing1600)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ConvertColors10(benchmark::State& state) {
  Each(state, {ImageMagick, Drawing, "-colors", "10", Folder + "/converted.bmp"});
}
BENCHMARK(BM_ConvertColors10)->Unit(benchmark::kMillisecond)->UseRealTime();

// A cartoon with anti-aliased outlines, a gradient and a few fills.
bool MakeDrawing() {
  char folder[] = "/tmp/tintbox-bench-import-XXXXXX";
  if (!mkdtemp(folder)) return false;
  Folder = folder;
  const std::string path = Folder + "/drawing.png";
  if (!Run({ImageMagick, "-size",   "1600x1200",    "gradient:#fff8e8-#c8e4ff",
            "-stroke",   "black",   "-strokewidth", "10",
            "-fill",     "#e04a3c", "-draw",        "circle 520,560 520,220",
            "-fill",     "#3c8ce6", "-draw",        "roundrectangle 980,180 1480,760 50,50",
            "-fill",     "#f0cd37", "-draw",        "polygon 120,1140 800,880 1500,1150",
            "-fill",     "#5ab450", "-draw",        "ellipse 1200,1000 260,120 0,360",
            "-fill",     "white",   "-draw",        "circle 450,480 450,420",
            path})) {
    return false;
  }
  Drawing = path;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  MakeDrawing();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  for (const char* name : {"/drawing.png", "/imported.bmp", "/converted.bmp"}) {
    std::remove((Folder + name).c_str());
  }
  if (!Folder.empty()) rmdir(Folder.c_str());
  return 0;
}
