#include "picture/lzw.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "picture/bytereader.h"

namespace tintbox {

namespace {

constexpr int MaxCodeBits = 12;  // GIF codes are at most 12 bits wide
constexpr uint32_t TableSize = 1u << MaxCodeBits;

uint64_t Load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
  return v;
}

// Copies ALength bytes from AOut[ASource] to AOut[ADest] front to back, so a
// source that runs into the destination repeats itself (the KwKwK case).
// May write up to 7 bytes past ADest + ALength; the caller leaves that room.
inline void CopyForward(uint8_t* AOut, size_t ADest, size_t ASource, size_t ALength) {
  uint8_t* d = AOut + ADest;
  const uint8_t* s = AOut + ASource;
  if (ADest - ASource >= 8) {
    for (size_t i = 0; i < ALength; i += 8) std::memcpy(d + i, s + i, 8);
  } else {
    for (size_t i = 0; i < ALength; ++i) d[i] = s[i];
  }
}

}  // namespace

bool JoinSubBlocks(TByteReader& AReader, std::vector<uint8_t>& AOut) {
  for (;;) {
    if (!AReader.has(1)) return false;
    const uint8_t length = AReader.U8();
    if (length == 0) return true;  // Block Terminator
    if (!AReader.has(length)) {
      AReader.Skip(AReader.Rest());
      return false;
    }
    const uint8_t* p = AReader.Take(length);
    AOut.insert(AOut.end(), p, p + length);
  }
}

TLZWResult DecodeLZW(int AMinCodeSize, const uint8_t* ACodes, size_t ASize, uint8_t* AOut,
                     size_t APixels) {
  TLZWResult result;
  // Table positions are 32-bit; the pixel-store cap keeps frames far below that.
  if (APixels == 0) return result;
  if (APixels > UINT32_MAX) {
    std::memset(AOut, 0, APixels);
    result.Corrupted = true;
    return result;
  }
  // Codes wider than the table allows make no sense; a value out of range is
  // clamped so that the frame still shows what can be made of it.
  int minCodeSize = AMinCodeSize;
  if (minCodeSize < 2 || minCodeSize > 9) {
    minCodeSize = std::clamp(minCodeSize, 2, 9);
    result.Corrupted = true;
  }
  const uint32_t clearCode = 1u << minCodeSize;
  const uint32_t endCode = clearCode + 1;

  // Each code above endCode stands for a string already in the output: its
  // position there and its length. A new code is always the previous string
  // plus the first byte of the current one, which is exactly the previous
  // string's place extended by one byte.
  uint32_t entryPos[TableSize];
  uint16_t entryLen[TableSize];

  // States and their transitions:
  //   AwaitFirst --literal--> Running   (after the start or a clear code)
  //   Running    --clear----> AwaitFirst
  //   any        --end code, output full, data out, bad code--> Finished
  enum class TState { AwaitFirst, Running, Finished };
  TState state = TState::AwaitFirst;

  uint32_t codeBits = uint32_t(minCodeSize) + 1;
  uint32_t codeMask = (1u << codeBits) - 1;
  uint32_t nextCode = endCode + 1;
  size_t prevLen = 0;

  const uint64_t totalBits = uint64_t(ASize) * 8;
  uint64_t bitPos = 0;
  size_t out = 0;

  while (state != TState::Finished) {
    if (bitPos + codeBits > totalBits) {
      // The data ends before the picture does and without an end code.
      result.Corrupted = out < APixels;
      break;
    }
    const uint32_t code = uint32_t(Load64(ACodes + (bitPos >> 3)) >> (bitPos & 7)) & codeMask;
    bitPos += codeBits;

    if (code == clearCode) {
      codeBits = uint32_t(minCodeSize) + 1;
      codeMask = (1u << codeBits) - 1;
      nextCode = endCode + 1;
      state = TState::AwaitFirst;
      continue;
    }
    if (code == endCode) break;

    size_t length;
    if (code < clearCode) {
      AOut[out] = uint8_t(code);
      length = 1;
    } else if (state == TState::Running && code < nextCode) {
      length = entryLen[code];
      CopyForward(AOut, out, entryPos[code], std::min(length, APixels - out));
    } else if (state == TState::Running && code == nextCode && nextCode < TableSize) {
      // Not in the table yet: the previous string plus its own first byte.
      length = prevLen + 1;
      CopyForward(AOut, out, out - prevLen, std::min(length, APixels - out));
    } else {
      result.Corrupted = true;  // a code the table cannot hold yet
      break;
    }

    if (state == TState::Running && nextCode < TableSize) {
      entryPos[nextCode] = uint32_t(out - prevLen);
      entryLen[nextCode] = uint16_t(prevLen + 1);
      ++nextCode;
      if (nextCode > codeMask && codeBits < MaxCodeBits) {
        ++codeBits;
        codeMask = (1u << codeBits) - 1;
      }
    }
    state = TState::Running;
    prevLen = length;
    out += length;
    if (out >= APixels) {
      out = APixels;
      state = TState::Finished;
    }
  }

  result.Written = out;
  std::memset(AOut + out, 0, APixels - out);  // pixels not reached keep index 0
  return result;
}

}  // namespace tintbox
