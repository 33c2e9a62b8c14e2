// The sounds the widget tests hear: every test binary's main puts this
// recorder in place of the real sound output, so no test plays a sound.
#pragma once

#include <ostream>
#include <utility>
#include <vector>

#include "widgets/sounds.h"

namespace tintbox {

// Readable sounds in failure messages.
inline void PrintTo(TSound ASound, std::ostream* AOut) {
  *AOut << (ASound == TSound::Note ? "note" : ASound == TSound::Pop ? "pop" : "cheer");
}

}  // namespace tintbox

namespace tintbox::test {

class TSoundLog : public TSoundOutput {
 public:
  using TPlayed = std::pair<TSound, int>;  // the sound, and the note for TSound::Note

  std::vector<TPlayed> Played;
  int Loads = 0;

  void Load() override { ++Loads; }
  void Play(TSound ASound, int ANote) override {
    Played.emplace_back(ASound, ASound == TSound::Note ? ANote : 0);
  }
  // What was played since the last call.
  std::vector<TPlayed> Take() { return std::exchange(Played, {}); }
};

// The recorder in place for the whole run.
inline TSoundLog& SoundLog() {
  static TSoundLog log;
  return log;
}

}  // namespace tintbox::test
