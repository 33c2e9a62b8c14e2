// The program's random source: a 32-bit linear congruential generator.
// Only the palette shuffle draws from it.
#pragma once

#include <cstdint>

namespace tintbox {

class TRandom {
 public:
  explicit TRandom(uint32_t AState = 0) : FState(AState) {}

  uint32_t State() const { return FState; }
  void SetState(uint32_t AState) { FState = AState; }

  // Advances the state (state := state * 134775813 + 1 mod 2^32), then
  // returns the upper 32 bits of the 64-bit product state * ARange: an
  // integer in 0 .. ARange - 1, and 0 for ARange 0 (which still advances).
  uint32_t Draw(uint32_t ARange);

 private:
  uint32_t FState;
};

// The program-wide source used by the game.
TRandom& ProgramRandom();

// Seeds the program-wide source from a 64-bit count: state := low 32 bits
// XOR high 32 bits.
void Randomize(uint64_t ACounter);

// Seeds it from the high-resolution clock (steady_clock, nanoseconds); done
// once at program start.
void Randomize();

}  // namespace tintbox
