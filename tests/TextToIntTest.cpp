#include "TextToInt.h"
#include "EConvertError.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Accepted
{
    std::string text;
    std::int32_t value;
};

class TextToIntAccepts : public testing::TestWithParam<Accepted>
{};

TEST_P(TextToIntAccepts, Converts)
{
    EXPECT_EQ(TextToInt(GetParam().text), GetParam().value) << "text: '" << GetParam().text << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Forms, TextToIntAccepts,
    testing::Values(Accepted{"0", 0}, Accepted{"+0", 0}, Accepted{"-0", 0}, Accepted{"0012", 12},
                    Accepted{" -5", -5}, Accepted{"   +5", 5}, Accepted{"2147483647", 2147483647},
                    Accepted{"-2147483648", -2147483647 - 1},
                    Accepted{"00000000002147483647", 2147483647},
                    Accepted{"-00000000002147483648", -2147483647 - 1}, Accepted{"$1F", 31},
                    Accepted{"$1f", 31}, Accepted{"x1F", 31}, Accepted{"X1f", 31},
                    Accepted{"0x1F", 31}, Accepted{"0X1f", 31}, Accepted{"  0x1f", 31},
                    Accepted{"$80000000", -2147483647 - 1}, Accepted{"$FFFFFFFF", -1},
                    Accepted{"$7fffffff", 2147483647}, Accepted{"$000000001", 1},
                    Accepted{"0x00000000FFFFFFFF", -1}, Accepted{"$0", 0}, Accepted{"7", 7}));

class TextToIntRejects : public testing::TestWithParam<std::string>
{};

TEST_P(TextToIntRejects, RaisesConvertErrorQuotingTheWholeText)
{
    const std::string &text = GetParam();
    try {
        TextToInt(text);
        FAIL() << "accepted '" << text << "'";
    } catch (const EConvertError &error) {
        EXPECT_EQ(error.Message(), "'" + text + "' は整数ではありません");
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, TextToIntRejects,
                         testing::Values("", " ", "   ", "+", "-", "$", "x", "X", "0x", "0X", " $",
                                         // trailing or inner characters
                                         "5 ", "- 5", "--5", "+-5", "12a", "1e3", "1,000", "1.0",
                                         "5\t",
                                         // other blanks
                                         "\t5", "\u30005", "\n5",
                                         // out of range
                                         "2147483648", "-2147483649", "4294967295",
                                         "99999999999999999999", "$100000000", "0x100000000",
                                         // signs and prefixes in the wrong place
                                         "-$1F", "+$1F", "+0x10", "-0x10", "00x1F", " 0 x1F", "$1G",
                                         "$ 1F", "$-1", "0x$1", "$$1", "xx1",
                                         // full-width forms and other non-ASCII text
                                         "５", "－５", "１２", "5５", "\xff",
                                         std::string("5\0", 2)));

TEST(TextToInt, ErrorIsAnException)
{
    // The error report catches the base class; the conversion error must reach it.
    EXPECT_THROW(TextToInt("12a"), Exception);
    try {
        TextToInt("12a");
    } catch (const std::exception &error) {
        EXPECT_STREQ(error.what(), "'12a' は整数ではありません");
    }
}

} // namespace
