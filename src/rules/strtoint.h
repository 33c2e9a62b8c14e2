// Reading a typed number as a whole signed 32-bit integer.
#pragma once

#include <cstdint>
#include <string>

namespace tintbox {

// Accepts leading spaces, an optional "+" or "-", then decimal digits or
// hexadecimal digits (either case) after "$", "x", "X", "0x" or "0X", and
// nothing after the digits. A decimal value must fit in signed 32 bits; a
// hexadecimal one must fit in 32 bits and is taken as the 32-bit pattern
// ("$FFFFFFFF" is -1), its sign applied after. Anything else raises
// EConvertError "'<text>' is not a valid integer value for Integer type".
int32_t StrToInt(const std::string& AText);

}  // namespace tintbox
