#pragma once

#include <cstdint>
#include <string_view>

// Converts a field text to a signed 32-bit integer.
//
// Accepted, after any number of leading ASCII spaces: a decimal number with an
// optional "+" or "-" sign (-2147483648 to 2147483647), or a hexadecimal
// number behind one of the prefixes "$", "x", "X", "0x", "0X" (at most
// FFFFFFFF, taken as a 32-bit pattern, so 80000000 and above are negative).
// Leading zeros are allowed in both. Any other text, including an empty one,
// throws EConvertError with the text unaltered in its message.
std::int32_t TextToInt(std::string_view text);
