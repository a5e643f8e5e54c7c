#include "Payment.h"

Zeny CalcPayment(std::int32_t upperScore, std::int32_t lowerScore, std::int32_t rate,
                 std::int32_t sideBet)
{
    const Zeny difference = Zeny{upperScore} - lowerScore;
    return difference * rate / 1000 + sideBet;
}

std::string FormatPayment(Zeny payment)
{
    // Work on the magnitude as unsigned, so that even the most negative amount
    // has a well-defined absolute value.
    std::uint64_t magnitude = static_cast<std::uint64_t>(payment);
    if (payment < 0)
        magnitude = ~magnitude + 1;

    std::string digits = std::to_string(magnitude);
    for (auto p = static_cast<std::ptrdiff_t>(digits.size()) - 3; p > 0; p -= 3)
        digits.insert(static_cast<std::size_t>(p), 1, ',');

    return std::string(" ") + (payment < 0 ? "-" : "") + digits + "z";
}
