#include "import/labcolor.h"

#include <cmath>

namespace tintbox::importer {

TLab ToLab(uint8_t r8, uint8_t g8, uint8_t b8) {
  auto linear = [](uint8_t v) {
    const double c = v / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  const double r = linear(r8), g = linear(g8), b = linear(b8);
  // sRGB to XYZ, D65 white.
  const double x = (0.4124564 * r + 0.3575761 * g + 0.1804375 * b) / 0.95047;
  const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
  const double z = (0.0193339 * r + 0.1191920 * g + 0.9503041 * b) / 1.08883;
  auto f = [](double t) {
    return t > 216.0 / 24389.0 ? std::cbrt(t) : (24389.0 / 27.0 * t + 16.0) / 116.0;
  };
  const double fx = f(x), fy = f(y), fz = f(z);
  return {float(116 * fy - 16), float(500 * (fx - fy)), float(200 * (fy - fz))};
}

TLab ToLab(TColor c) {
  return ToLab(GetRValue(c), GetGValue(c), GetBValue(c));
}

const std::vector<TLab>& BinLab() {
  static const std::vector<TLab> table = [] {
    std::vector<TLab> t(32768);
    auto level = [](unsigned v) { return uint8_t((v * 255 + 15) / 31); };
    for (unsigned i = 0; i < t.size(); ++i) {
      t[i] = ToLab(level(i >> 10), level((i >> 5) & 31), level(i & 31));
    }
    return t;
  }();
  return table;
}

}  // namespace tintbox::importer
