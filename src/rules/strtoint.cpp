#include "rules/strtoint.h"

#include "picture/errors.h"

namespace tintbox {

namespace {

[[noreturn]] void NotAnInteger(const std::string& AText) {
  throw EConvertError("'" + AText + "' is not a valid integer value for Integer type");
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

int32_t StrToInt(const std::string& AText) {
  const size_t n = AText.size();
  size_t i = 0;
  while (i < n && AText[i] == ' ') ++i;

  bool negative = false;
  if (i < n && (AText[i] == '+' || AText[i] == '-')) {
    negative = AText[i] == '-';
    ++i;
  }

  bool hex = false;
  if (i < n && (AText[i] == '$' || AText[i] == 'x' || AText[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < n && AText[i] == '0' && (AText[i + 1] == 'x' || AText[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }

  if (i >= n) NotAnInteger(AText);  // no digits at all

  // The magnitude is kept in 64 bits and checked after every digit, so any
  // number of digits is read without overflow.
  uint64_t value = 0;
  const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  for (; i < n; ++i) {
    const int d =
        hex ? HexDigit(AText[i]) : (AText[i] >= '0' && AText[i] <= '9' ? AText[i] - '0' : -1);
    if (d < 0) NotAnInteger(AText);  // a stray character, a trailing space included
    value = value * (hex ? 16 : 10) + uint64_t(d);
    if (value > limit) NotAnInteger(AText);
  }

  // Hexadecimal values are 32-bit patterns: $FFFFFFFF is -1.
  uint32_t bits = uint32_t(value);
  if (negative) bits = 0u - bits;
  return int32_t(bits);
}

}  // namespace tintbox
