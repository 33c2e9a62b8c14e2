// Writing a picture as a binary PPM (P6), for the checker's previews.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "picture/color.h"

namespace tintbox::tools {

// Writes AWidth x AHeight pixels, AColorAt(x, y) giving each one's TColor.
template <typename TColorAt>
bool WritePpm(const std::string& APath, int32_t AWidth, int32_t AHeight, TColorAt&& AColorAt) {
  std::ofstream out(APath, std::ios::binary);
  out << "P6\n" << AWidth << ' ' << AHeight << "\n255\n";
  std::vector<char> row(size_t(AWidth) * 3);
  for (int32_t y = 0; y < AHeight; ++y) {
    for (int32_t x = 0; x < AWidth; ++x) {
      const TColor c = AColorAt(x, y);
      row[size_t(x) * 3] = char(GetRValue(c));
      row[size_t(x) * 3 + 1] = char(GetGValue(c));
      row[size_t(x) * 3 + 2] = char(GetBValue(c));
    }
    out.write(row.data(), std::streamsize(row.size()));
  }
  return bool(out);
}

}  // namespace tintbox::tools
