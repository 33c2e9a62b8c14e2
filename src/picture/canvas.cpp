#include "picture/canvas.h"

#include <climits>
#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace tintbox {

namespace {

// A span of pixels [XLeft, XRight] already painted on row Y - DY, whose
// neighbours on row Y are still to be explored.
struct TSpan {
  int32_t Y;
  int32_t XLeft;
  int32_t XRight;
  int32_t DY;
};

// Scratch kept between fills so that a click does not allocate.
//
// The area may hold pixels of the brush colour already, so a pixel's colour
// cannot tell whether the fill has been there; a bit per pixel (Visited) does.
// Bits are set as pixels are painted and cleared again at the end of the fill
// on the painted part of each row, so the bits are all clear between fills.
struct TFillScratch {
  std::vector<TSpan> Stack;
  std::vector<int32_t> RowFirst;  // leftmost painted x of each row, INT32_MAX if none
  std::vector<int32_t> RowLast;   // rightmost painted x of each row
  std::vector<uint8_t> Visited;   // bit x % 8 of byte x / 8 of each row
  bool Dirty = false;             // a fill ended early and left bits set
};

TFillScratch& Scratch() {
  thread_local TFillScratch scratch;
  return scratch;
}

// Eight pixels at a time: a bit per pixel that is not inside by its colour
// (border fill: has the border colour; surface fill: lacks the surface
// colour), and a store of eight brush pixels. Plain C++, SSE2 (every x86-64)
// and AVX2 (chosen at run time where the processor has it).
struct TScalarBlocks {
  template <bool Surface>
  static uint32_t Outside8(const TColor* APixels, TColor AColor) {
    uint32_t out = 0;
    for (int i = 0; i < 8; ++i) out |= uint32_t((APixels[i] == AColor) != Surface) << i;
    return out;
  }
  static void Store8(TColor* APixels, TColor ABrush) {
    for (int i = 0; i < 8; ++i) APixels[i] = ABrush;
  }
};

#if defined(__SSE2__)
struct TSse2Blocks {
  template <bool Surface>
  static uint32_t Outside8(const TColor* APixels, TColor AColor) {
    const __m128i color = _mm_set1_epi32(int(AColor));
    const __m128i* p = reinterpret_cast<const __m128i*>(APixels);
    const uint32_t same =
        uint32_t(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(_mm_loadu_si128(p), color)))) |
        uint32_t(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(_mm_loadu_si128(p + 1), color))))
            << 4;
    return Surface ? ~same & 0xFF : same;
  }
  static void Store8(TColor* APixels, TColor ABrush) {
    const __m128i brush = _mm_set1_epi32(int(ABrush));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(APixels), brush);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(APixels) + 1, brush);
  }
};
using TBaseBlocks = TSse2Blocks;
#else
using TBaseBlocks = TScalarBlocks;
#endif

#if defined(__x86_64__) || defined(__i386__)
#define TINTBOX_AVX2 __attribute__((target("avx2")))
struct TAvx2Blocks {
  template <bool Surface>
  TINTBOX_AVX2 static uint32_t Outside8(const TColor* APixels, TColor AColor) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(APixels));
    const uint32_t same = uint32_t(_mm256_movemask_ps(
        _mm256_castsi256_ps(_mm256_cmpeq_epi32(v, _mm256_set1_epi32(int(AColor))))));
    return Surface ? ~same & 0xFF : same;
  }
  TINTBOX_AVX2 static void Store8(TColor* APixels, TColor ABrush) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(APixels), _mm256_set1_epi32(int(ABrush)));
  }
};
#endif

// One row of the fill: which of its pixels are inside the area and still
// unpainted, and the painting of runs of them.
template <typename TBlocks, bool Surface>
struct TRowFill {
  TColor* Row;
  uint8_t* Visited;
  int32_t Width;
  TColor Color;  // the border or the surface colour
  TColor Brush;

  [[gnu::always_inline]] bool Inside(int32_t x) const {
    if ((Visited[x >> 3] >> (x & 7)) & 1) return false;
    return (Row[x] == Color) == Surface;
  }
  [[gnu::always_inline]] void Paint(int32_t x) {
    Row[x] = Brush;
    Visited[x >> 3] = uint8_t(Visited[x >> 3] | (1u << (x & 7)));
  }

  // Eight pixels from a multiple of 8: paints them all and returns true, or
  // paints up to the first one that is not inside, leaves x there and returns false.
  [[gnu::always_inline]] bool PaintBlock(int32_t& x) {
    const uint32_t out = TBlocks::template Outside8<Surface>(Row + x, Color) | Visited[x >> 3];
    if (out) {
      const int32_t end = x + __builtin_ctz(out);
      while (x < end) Paint(x++);
      return false;
    }
    TBlocks::Store8(Row + x, Brush);
    Visited[x >> 3] = 0xFF;
    return true;
  }

  // Paints the run that starts at AX and goes right; returns the first x past
  // it. Whole bytes of visited bits are handled eight pixels at a time, and
  // whole 32-bit words of them 32 pixels at a time where a long run allows.
  [[gnu::always_inline]] int32_t PaintRight(int32_t AX) {
    int32_t x = AX;
    while ((x & 7) != 0 && x < Width && Inside(x)) Paint(x++);
    if ((x & 7) != 0) return x;
    for (; (x & 31) != 0 && x + 8 <= Width; x += 8)
      if (!PaintBlock(x)) return x;
    for (; x + 32 <= Width; x += 32) {
      uint32_t visited;
      std::memcpy(&visited, Visited + (x >> 3), 4);
      const uint32_t out = TBlocks::template Outside8<Surface>(Row + x, Color) |
                           TBlocks::template Outside8<Surface>(Row + x + 8, Color) << 8 |
                           TBlocks::template Outside8<Surface>(Row + x + 16, Color) << 16 |
                           TBlocks::template Outside8<Surface>(Row + x + 24, Color) << 24;
      if (out | visited) break;  // the eight-pixel blocks below find the end
      for (int i = 0; i < 32; i += 8) TBlocks::Store8(Row + x + i, Brush);
      std::memset(Visited + (x >> 3), 0xFF, 4);
    }
    for (; x + 8 <= Width; x += 8)
      if (!PaintBlock(x)) return x;
    while (x < Width && Inside(x)) Paint(x++);
    return x;
  }

  // Paints the run that ends at AX and goes left; returns the last x before it.
  [[gnu::always_inline]] int32_t PaintLeft(int32_t AX) {
    int32_t x = AX;
    while (((x + 1) & 7) != 0 && x >= 0 && Inside(x)) Paint(x--);
    if (((x + 1) & 7) != 0) return x;
    for (; x >= 7; x -= 8) {
      const int32_t block = x - 7;
      const uint32_t out =
          TBlocks::template Outside8<Surface>(Row + block, Color) | Visited[block >> 3];
      if (out) {
        const int32_t stop = block + (31 - __builtin_clz(out));
        while (x > stop) Paint(x--);
        return x;
      }
      TBlocks::Store8(Row + block, Brush);
      Visited[block >> 3] = 0xFF;
    }
    while (x >= 0 && Inside(x)) Paint(x--);
    return x;
  }
};

// Scan-line seed fill on an explicit stack: each popped span explores one
// row, paints the runs of inside pixels it meets, and pushes the runs onward
// (and backward where a run leaks past its parent). No recursion, so the
// depth of the call stack does not depend on the shape of the area.
template <typename TBlocks, bool Surface>
[[gnu::always_inline]] inline TRect ScanFill(TColor* APixels, int32_t AWidth, int32_t AHeight,
                                             int32_t AX, int32_t AY, TColor AColor, TColor ABrush,
                                             TFillScratch& AScratch) {
  std::vector<TSpan>& stack = AScratch.Stack;
  std::vector<int32_t>& first = AScratch.RowFirst;
  std::vector<int32_t>& last = AScratch.RowLast;
  const size_t visitedStride = (size_t(AWidth) + 7) / 8;
  // The sizes are those of a pixel store that exists, so they cannot overflow.
  const size_t visitedBytes = visitedStride * size_t(AHeight);
  if (AScratch.Dirty) std::memset(AScratch.Visited.data(), 0, AScratch.Visited.size());
  if (AScratch.Visited.size() < visitedBytes) AScratch.Visited.resize(visitedBytes, 0);
  AScratch.Dirty = true;
  stack.clear();
  first.assign(size_t(AHeight), INT32_MAX);
  last.assign(size_t(AHeight), -1);

  auto push = [&](int32_t y, int32_t xl, int32_t xr, int32_t dy) {
    const int32_t ny = y + dy;
    if (ny >= 0 && ny < AHeight) stack.push_back(TSpan{ny, xl, xr, dy});
  };
  auto note = [&](int32_t y, int32_t xl, int32_t xr) {
    if (xl < first[size_t(y)]) first[size_t(y)] = xl;
    if (xr > last[size_t(y)]) last[size_t(y)] = xr;
  };

  push(AY, AX, AX, 1);       // row below the seed, once the seed row is done
  push(AY + 1, AX, AX, -1);  // the seed row itself, popped first
  while (!stack.empty()) {
    const TSpan s = stack.back();
    stack.pop_back();
    TRowFill<TBlocks, Surface> row{APixels + size_t(s.Y) * size_t(AWidth),
                                   AScratch.Visited.data() + size_t(s.Y) * visitedStride, AWidth,
                                   AColor, ABrush};
    const int32_t x1 = s.XLeft, x2 = s.XRight, dy = s.DY;

    // Run left from x1.
    int32_t x = row.PaintLeft(x1);
    int32_t left;
    if (x < x1) {
      left = x + 1;
      if (left < x1) push(s.Y, left, x1 - 1, -dy);  // leaks past the parent's left end
      x = x1 + 1;
    } else {
      // x1 itself is not inside: look for the next inside pixel under the parent.
      ++x;
      while (x <= x2 && !row.Inside(x)) ++x;
      if (x > x2) continue;
      left = x;
    }
    for (;;) {
      x = row.PaintRight(x);
      note(s.Y, left, x - 1);
      push(s.Y, left, x - 1, dy);
      if (x > x2 + 1) push(s.Y, x2 + 1, x - 1, -dy);  // leaks past the right end
      ++x;                                            // row[x] is not inside
      while (x <= x2 && !row.Inside(x)) ++x;
      if (x > x2) break;
      left = x;
    }
  }

  // Clear the bits that were set, row by row, for the next fill; the rows
  // painted give the rectangle the fill changed.
  TRect changed{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (int32_t y = 0; y < AHeight; ++y) {
    const int32_t x0 = first[size_t(y)], x1 = last[size_t(y)];
    if (x0 > x1) continue;
    std::memset(AScratch.Visited.data() + size_t(y) * visitedStride + size_t(x0 >> 3), 0,
                size_t(x1 >> 3) - size_t(x0 >> 3) + 1);
    changed.Left = std::min(changed.Left, x0);
    changed.Right = std::max(changed.Right, x1 + 1);
    changed.Top = std::min(changed.Top, y);
    changed.Bottom = y + 1;
  }
  AScratch.Dirty = false;
  // A rare maze-like area can need a long stack; do not keep that memory.
  if (stack.capacity() > (size_t(1) << 20)) std::vector<TSpan>().swap(stack);
  return changed.Left <= changed.Right ? changed : TRect{};
}

template <bool Surface>
TRect BaseFill(TColor* APixels, int32_t AWidth, int32_t AHeight, int32_t AX, int32_t AY,
               TColor AColor, TColor ABrush, TFillScratch& AScratch) {
  return ScanFill<TBaseBlocks, Surface>(APixels, AWidth, AHeight, AX, AY, AColor, ABrush, AScratch);
}

#if defined(TINTBOX_AVX2)
template <bool Surface>
TINTBOX_AVX2 TRect Avx2Fill(TColor* APixels, int32_t AWidth, int32_t AHeight, int32_t AX,
                            int32_t AY, TColor AColor, TColor ABrush, TFillScratch& AScratch) {
  return ScanFill<TAvx2Blocks, Surface>(APixels, AWidth, AHeight, AX, AY, AColor, ABrush, AScratch);
}

bool HasAvx2() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has;
}
#endif

bool FillAvx2Enabled = true;

template <bool Surface>
TRect Fill(TColor* APixels, int32_t AWidth, int32_t AHeight, int32_t AX, int32_t AY, TColor AColor,
           TColor ABrush) {
  TFillScratch& scratch = Scratch();
#if defined(TINTBOX_AVX2)
  if (FillAvx2Enabled && HasAvx2())
    return Avx2Fill<Surface>(APixels, AWidth, AHeight, AX, AY, AColor, ABrush, scratch);
#endif
  return BaseFill<Surface>(APixels, AWidth, AHeight, AX, AY, AColor, ABrush, scratch);
}

}  // namespace

bool SetFillAvx2(bool AEnabled) {
  const bool previous = FillAvx2Enabled;
  FillAvx2Enabled = AEnabled;
  return previous;
}

TRect TCanvas::FloodFill(int32_t X, int32_t Y, TColor AColor, TFillStyle AFillStyle) {
  // A drawing operation owns its pixels: a shared store is copied first.
  TColor* pixels = FBitmap.WritablePixels();
  const int32_t w = FBitmap.Width(), h = FBitmap.Height();
  const TColor start = FBitmap.PixelAt(X, Y);
  const bool border = AFillStyle == fsBorder;
  TRect changed;
  if (start != NoPixel && (border ? start != AColor : start == AColor)) {
    // Only the colour part of the brush is painted: the store keeps 0x00BBGGRR
    // pixels, and 0xFFFFFFFF must never read back from inside the picture.
    const TColor brush = Brush.Color() & 0x00FFFFFFu;
    changed = border ? Fill<false>(pixels, w, h, X, Y, AColor, brush)
                     : Fill<true>(pixels, w, h, X, Y, AColor, brush);
  }
  FBitmap.Changed(changed);
  return changed;
}

}  // namespace tintbox
