#pragma once

#include <cstdint>
#include <string>

// An amount of Zeny. A payment is what the lower-placed player pays the
// higher-placed one; a negative payment means the direction is reversed.
using Zeny = std::int64_t;

// The score difference priced at the rate (Zeny per 1000 points), truncated
// toward zero, plus the side bet. Exact for every 32-bit input: the largest
// product, (2^32 - 1) * 2^31, stays below 2^63.
Zeny CalcPayment(std::int32_t upperScore, std::int32_t lowerScore, std::int32_t rate,
                 std::int32_t sideBet);

// The display form of a payment: a blank, an optional "-", the digits grouped
// in threes with ",", then "z". Independent of the locale: " 1,234,567z".
std::string FormatPayment(Zeny payment);
