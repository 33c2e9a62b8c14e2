// The importer's colour maths: CIELAB colours (D65 white) and a table of
// them for every colour at 5 bits a channel.
#pragma once

#include <cstdint>
#include <vector>

#include "picture/color.h"

namespace tintbox::importer {

struct TLab {
  float L = 0, a = 0, b = 0;
};

// The squared CIELAB distance; about 2.3 is the least difference a person notices.
inline float Dist2(const TLab& p, const TLab& q) {
  const float dL = p.L - q.L, da = p.a - q.a, db = p.b - q.b;
  return dL * dL + da * da + db * db;
}

TLab ToLab(uint8_t r8, uint8_t g8, uint8_t b8);
TLab ToLab(TColor c);

// Colours are looked up by 5 bits a channel: finer than any difference the
// import steps tell apart, and 32768 entries worked out once.
inline uint16_t BinOf(TColor c) {
  return uint16_t(((GetRValue(c) >> 3) << 10) | ((GetGValue(c) >> 3) << 5) | (GetBValue(c) >> 3));
}

// The CIELAB colour of every 5-bit bin, by BinOf.
const std::vector<TLab>& BinLab();

}  // namespace tintbox::importer
