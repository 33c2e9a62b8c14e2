#include "rules/random.h"

#include <chrono>

namespace tintbox {

uint32_t TRandom::Draw(uint32_t ARange) {
  FState = FState * 134775813u + 1u;  // wraps modulo 2^32
  return uint32_t((uint64_t(FState) * ARange) >> 32);
}

TRandom& ProgramRandom() {
  static TRandom random;
  return random;
}

void Randomize(uint64_t ACounter) {
  ProgramRandom().SetState(uint32_t(ACounter) ^ uint32_t(ACounter >> 32));
}

void Randomize() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  Randomize(uint64_t(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

}  // namespace tintbox
