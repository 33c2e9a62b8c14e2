// Small helpers the unit and widget tests share: bitmaps from rows of colours or
// of ink letters, the rows a bitmap holds, the outcome of reading a bitmap file
// as one line, and reading a file.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "picture/bitmap.h"
#include "picture/bmpreader.h"
#include "picture/bmpwriter.h"
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

// Pictures drawn as rows of ink letters, row 0 at the top.
using TRows = std::vector<std::string>;

struct TInk {
  char Letter;
  TColor Color;
};
using TInks = std::span<const TInk>;

// '#' black outline, '.' white, 'a' to 'k' eleven flat colours (none of them
// gray or the window colour): enough for a full palette and one more.
inline constexpr TInk Inks[] = {
    {'#', clBlack},  {'.', clWhite},  {'a', 0x0000FF}, {'b', 0x00FF00}, {'c', 0xFF0000},
    {'d', 0x00FFFF}, {'e', 0xFF00FF}, {'f', 0xFFFF00}, {'g', 0x000080}, {'h', 0x008000},
    {'i', 0x800000}, {'j', 0x008080}, {'k', 0x800080},
};
// '#' black, '.' white, 'r' red, 'g' green, 'b' blue.
inline constexpr TInk RgbInks[] = {
    {'#', clBlack}, {'.', clWhite}, {'r', 0x0000FF}, {'g', 0x00FF00}, {'b', 0xFF0000},
};

inline TColor Ink(char ALetter, TInks AInks = Inks) {
  for (const TInk& i : AInks)
    if (i.Letter == ALetter) return i.Color;
  ADD_FAILURE() << "no ink '" << ALetter << "'";
  return clBlack;
}

// '?' for a colour that no ink has (the window colour, a frame, ...).
inline char LetterOf(TColor AColor, TInks AInks = Inks) {
  for (const TInk& i : AInks)
    if (i.Color == AColor) return i.Letter;
  return '?';
}

// The bitmap drawn by ARows.
inline void DrawRows(TBitmap& ABitmap, const TRows& ARows, TInks AInks = Inks) {
  const int32_t h = int32_t(ARows.size()), w = h ? int32_t(ARows[0].size()) : 0;
  ABitmap.SetSize(w, h);
  TColor* p = ABitmap.WritablePixels();
  for (const std::string& row : ARows)
    for (char c : row) *p++ = Ink(c, AInks);
}

inline TRows RowsOf(const TBitmap& ABitmap, TInks AInks = Inks) {
  TRows rows;
  for (int32_t y = 0; y < ABitmap.Height(); ++y) {
    std::string row;
    for (int32_t x = 0; x < ABitmap.Width(); ++x) row += LetterOf(ABitmap.PixelAt(x, y), AInks);
    rows.push_back(row);
  }
  return rows;
}

// The rows one to a line, for failure messages.
inline std::string Show(const TRows& ARows) {
  std::string s;
  for (const std::string& r : ARows) s += "\n  " + r;
  return s;
}

// A 24-bit bottom-up bitmap file of the rows.
inline std::vector<uint8_t> BitmapFile(const TRows& ARows) {
  return Bmp24(int32_t(ARows.at(0).size()), int32_t(ARows.size()),
               [&](int32_t x, int32_t y) { return Ink(ARows[size_t(y)].at(size_t(x))); });
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

// The bytes of a file; a test failure when it cannot be opened.
inline std::vector<uint8_t> ReadFile(const std::filesystem::path& APath) {
  std::ifstream in(APath, std::ios::binary);
  EXPECT_TRUE(in) << "cannot open " << APath;
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace tintbox::testhelp
