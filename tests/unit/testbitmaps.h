// Small helpers the unit tests share: bitmaps from rows of colours, and the
// outcome of reading a bitmap file as one line.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "picture/bitmap.h"
#include "picture/bmpreader.h"
#include "picture/errors.h"

namespace tintbox::testhelp {

// A bitmap from rows of colours, row 0 first.
inline void MakeBitmap(TBitmap& ABitmap, std::initializer_list<std::vector<TColor>> ARows) {
  const int32_t h = int32_t(ARows.size());
  const int32_t w = h ? int32_t(ARows.begin()->size()) : 0;
  ABitmap.SetSize(w, h);
  TColor* p = ABitmap.WritablePixels();
  for (const auto& row : ARows) {
    for (TColor c : row) *p++ = c;
  }
}

// Reads AFile into ABitmap: "OK WxH" or "EClass: text".
inline std::string Outcome(const std::vector<uint8_t>& AFile, TBitmap& ABitmap) {
  try {
    ReadBitmap(AFile.data(), AFile.size(), ABitmap);
  } catch (const Exception& e) {
    return std::string(e.ClassName()) + ": " + e.Message();
  }
  return "OK " + std::to_string(ABitmap.Width()) + "x" + std::to_string(ABitmap.Height());
}

}  // namespace tintbox::testhelp
