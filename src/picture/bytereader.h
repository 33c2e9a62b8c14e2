// A little-endian reader over a byte buffer. Every read is guarded by has(n):
// a read past the end raises EReadError "Stream read error" and moves nothing.
// Decoders reach the raw bytes only through this reader (Take hands out a
// checked span for a row loop to walk).
#pragma once

#include <cstddef>
#include <cstdint>

#include "picture/errors.h"

namespace tintbox {

class TByteReader {
 public:
  TByteReader() = default;
  TByteReader(const uint8_t* AData, size_t ASize) : FData(AData), FSize(AData ? ASize : 0) {}

  // True when n more bytes can be read.
  bool has(uint64_t n) const { return n <= FSize - FPos; }
  size_t Rest() const { return FSize - FPos; }
  size_t Position() const { return FPos; }

  uint8_t U8() {
    Need(1);
    return FData[FPos++];
  }
  uint16_t U16() {
    Need(2);
    const uint8_t* p = FData + FPos;
    FPos += 2;
    return uint16_t(p[0] | (p[1] << 8));
  }
  uint32_t U32() {
    Need(4);
    const uint8_t* p = FData + FPos;
    FPos += 4;
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
  }
  int32_t I32() { return int32_t(U32()); }

  void Skip(uint64_t n) {
    Need(n);
    FPos += size_t(n);
  }

  // The next n bytes, to be walked by the caller; the reader moves past them.
  const uint8_t* Take(uint64_t n) {
    Need(n);
    const uint8_t* p = FData + FPos;
    FPos += size_t(n);
    return p;
  }

  // A reader over the next min(n, Rest()) bytes; this reader moves past them.
  TByteReader Sub(uint64_t n) {
    const size_t count = has(n) ? size_t(n) : Rest();
    TByteReader sub(FData + FPos, count);
    FPos += count;
    return sub;
  }

 private:
  void Need(uint64_t n) const {
    if (!has(n)) throw EReadError(SReadError);
  }

  const uint8_t* FData = nullptr;
  size_t FSize = 0;
  size_t FPos = 0;
};

}  // namespace tintbox
