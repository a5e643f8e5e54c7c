#include "Payment.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct PaymentCase
{
    std::int32_t upper, lower, rate, sideBet;
    Zeny payment;
    const char *text;
};

class CalcPaymentTest : public testing::TestWithParam<PaymentCase>
{};

TEST_P(CalcPaymentTest, ComputesAndFormats)
{
    const auto &c = GetParam();
    const Zeny payment = CalcPayment(c.upper, c.lower, c.rate, c.sideBet);
    EXPECT_EQ(payment, c.payment);
    EXPECT_EQ(FormatPayment(payment), c.text);
}

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Rows, CalcPaymentTest,
    testing::Values(PaymentCase{45000, 5000, 1000, 0, 40000, " 40,000z"},
                    PaymentCase{45000, 5000, 500, 10000, 30000, " 30,000z"},
                    PaymentCase{30500, 30000, 999, 0, 499, " 499z"}, // 499.5 truncated
                    PaymentCase{45000, 5000, 0, 300, 300, " 300z"},
                    PaymentCase{45000, 5000, 1000, -500, 39500, " 39,500z"},
                    PaymentCase{0, 0, 1000, 0, 0, " 0z"},
                    // A lower-placed player with the higher score: the direction reverses.
                    PaymentCase{10000, 20000, 1000, 0, -10000, " -10,000z"},
                    PaymentCase{1000, 900, 1000, -500, -400, " -400z"},
                    PaymentCase{30000, 30000, 1000, -1, -1, " -1z"},
                    PaymentCase{45000, 5000, 0, -1, -1, " -1z"},
                    // Products beyond 32 bits are exact.
                    PaymentCase{100000, 0, 50000, 0, 5000000, " 5,000,000z"},
                    PaymentCase{3000000, 0, 1000, 0, 3000000, " 3,000,000z"},
                    PaymentCase{45000, 5000, -1000, 0, -40000, " -40,000z"},
                    // Truncation is toward zero on both sides.
                    PaymentCase{30000, 30500, 999, 0, -499, " -499z"},
                    PaymentCase{1, 0, 999, 0, 0, " 0z"}, PaymentCase{0, 1, 999, 0, 0, " 0z"}));

// At the extremes of the 32-bit inputs nothing may overflow: the results are
// the exact values, computed here by hand.
INSTANTIATE_TEST_SUITE_P(Extremes, CalcPaymentTest,
                         testing::Values(
                             // (2^32 - 1) * (2^31 - 1) / 1000 + (2^31 - 1)
                             PaymentCase{kMax, kMin, kMax, kMax, 9223372030412324 + 2147483647,
                                         " 9,223,374,177,895,971z"},
                             // (2^32 - 1) * -2^31 / 1000 - 2^31
                             PaymentCase{kMax, kMin, kMin, kMin, -9223372034707292 - 2147483648,
                                         " -9,223,374,182,190,940z"},
                             PaymentCase{kMin, kMax, kMin, kMax, 9223372034707292 + 2147483647,
                                         " 9,223,374,182,190,939z"},
                             PaymentCase{kMin, kMax, kMax, kMin, -9223372030412324 - 2147483648,
                                         " -9,223,374,177,895,972z"}));

struct FormatCase
{
    Zeny payment;
    const char *text;
};

class FormatPaymentTest : public testing::TestWithParam<FormatCase>
{};

TEST_P(FormatPaymentTest, GroupsDigitsInThrees)
{
    EXPECT_EQ(FormatPayment(GetParam().payment), GetParam().text);
}

// Every digit count from 1 to 19, and the sign in front of the first group.
INSTANTIATE_TEST_SUITE_P(
    DigitCounts, FormatPaymentTest,
    testing::Values(FormatCase{0, " 0z"}, FormatCase{7, " 7z"}, FormatCase{99, " 99z"},
                    FormatCase{999, " 999z"}, FormatCase{1000, " 1,000z"},
                    FormatCase{12345, " 12,345z"}, FormatCase{123456, " 123,456z"},
                    FormatCase{1000000, " 1,000,000z"}, FormatCase{12345678, " 12,345,678z"},
                    FormatCase{123456789, " 123,456,789z"},
                    FormatCase{4294967295, " 4,294,967,295z"},
                    FormatCase{12345678901, " 12,345,678,901z"},
                    FormatCase{123456789012, " 123,456,789,012z"},
                    FormatCase{1234567890123, " 1,234,567,890,123z"},
                    FormatCase{12345678901234, " 12,345,678,901,234z"},
                    FormatCase{123456789012345, " 123,456,789,012,345z"},
                    FormatCase{1234567890123456, " 1,234,567,890,123,456z"},
                    FormatCase{12345678901234567, " 12,345,678,901,234,567z"},
                    FormatCase{123456789012345678, " 123,456,789,012,345,678z"},
                    FormatCase{std::numeric_limits<Zeny>::max(), " 9,223,372,036,854,775,807z"},
                    FormatCase{-1, " -1z"}, FormatCase{-999, " -999z"},
                    FormatCase{-1000, " -1,000z"}, FormatCase{-123456, " -123,456z"},
                    FormatCase{std::numeric_limits<Zeny>::min(), " -9,223,372,036,854,775,808z"}));

} // namespace
