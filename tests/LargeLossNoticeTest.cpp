#include "LargeLossNotice.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The notices are shown on desktops whose players know them in code page 932;
// their byte counts there are the reference this file checks against.
#ifdef _WIN32
// Windows converts with its own tables of code page 932, which Wine has too,
// whatever the locale of the run.
std::string ToCp932(const std::string &utf8)
{
    const int utf8Size = static_cast<int>(utf8.size());
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(
        CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), utf8Size, wide.data(), utf8Size)));
    if (wide.empty() && !utf8.empty())
        throw std::runtime_error("not UTF-8: " + utf8);
    std::string out(wide.size() * 2, '\0');
    BOOL lost = FALSE;
    out.resize(static_cast<std::size_t>(
        WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                            out.data(), static_cast<int>(out.size()), nullptr, &lost)));
    if (lost || (out.empty() && !wide.empty()))
        throw std::runtime_error("not representable in CP932: " + utf8);
    return out;
}
#else
std::string ToCp932(const std::string &utf8)
{
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error("iconv has no CP932");
    std::string out(utf8.size() * 2 + 16, '\0');
    char *in = const_cast<char *>(utf8.data());
    std::size_t inLeft = utf8.size();
    char *outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1))
        throw std::runtime_error("not representable in CP932: " + utf8);
    out.resize(out.size() - outLeft);
    return out;
}
#endif

// Splits at CR LF; every line, the last included, must end with it.
std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find("\r\n", start);
        if (end == std::string::npos)
            throw std::runtime_error("text does not end with CR LF");
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::u32string Decode(const std::string &utf8)
{
    std::u32string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        const int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? c : c & (0x7F >> length);
        for (int k = 1; k < length; ++k)
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out.push_back(code);
        i += length;
    }
    return out;
}

std::size_t Count(const std::u32string &line, char32_t c)
{
    return static_cast<std::size_t>(std::count(line.begin(), line.end(), c));
}

constexpr Zeny kMillions = 1234567;
constexpr Zeny kThousands = 123456;

struct ArtLine
{
    bool millions;     // which notice
    std::size_t index; // 0-based line of the notice
    std::size_t bytes, characters, ideographicSpaces, asciiSpaces;
    std::u32string opening; // the blanks that open the line
};

class NoticeArtLine : public testing::TestWithParam<ArtLine>
{};

TEST_P(NoticeArtLine, HasItsCp932LengthAndBlanks)
{
    const ArtLine &a = GetParam();
    const auto lines = Lines(ComposeLargeLossNotice(a.millions ? kMillions : kThousands));
    ASSERT_EQ(lines.size(), 9u);
    const std::string &line = lines[a.index];
    const std::u32string chars = Decode(line);

    EXPECT_EQ(ToCp932(line).size(), a.bytes);
    EXPECT_EQ(chars.size(), a.characters);
    EXPECT_EQ(Count(chars, U'\u3000'), a.ideographicSpaces);
    EXPECT_EQ(Count(chars, U' '), a.asciiSpaces);
    EXPECT_EQ(chars.substr(0, a.opening.size()), a.opening);
    const auto openingLength = chars.find_first_not_of(U"\u3000 ");
    EXPECT_EQ(openingLength, a.opening.size()) << "more blanks open the line than expected";
    EXPECT_NE(chars.back(), U' ');
    EXPECT_NE(chars.back(), U'\u3000');
}

constexpr char32_t I = U'\u3000'; // ideographic space

INSTANTIATE_TEST_SUITE_P(Millions, NoticeArtLine,
                         testing::Values(ArtLine{true, 0, 93, 89, 4, 17, {I, I, I, I}},
                                         ArtLine{true, 1, 99, 95, 4, 10, {I, I, I}},
                                         ArtLine{
                                             true, 2, 80, 70, 7, 12, {I, I, I, I, I, I, I, U' '}},
                                         ArtLine{true, 3, 80, 67, 7, 6, {I, I, I, I, I, U' ', I}},
                                         ArtLine{true, 4, 87, 78, 5, 10, {I, I, I, I, I, U' '}},
                                         ArtLine{true, 5, 85, 75, 7, 15, {I, I, U' ', I, I, U' '}},
                                         ArtLine{true, 6, 31, 18, 0, 1, {}}));

INSTANTIATE_TEST_SUITE_P(Thousands, NoticeArtLine,
                         testing::Values(ArtLine{false, 2, 27, 15, 6, 1, {I, I, I, I}},
                                         ArtLine{false, 3, 38, 28, 7, 1, {I, I, U' '}},
                                         ArtLine{false, 4, 37, 27, 5, 5, {I, U' '}},
                                         ArtLine{false, 5, 35, 28, 5, 2, {I, I}},
                                         ArtLine{false, 6, 36, 25, 9, 4, {}},
                                         ArtLine{false, 7, 29, 20, 3, 5, {I, I, U' '}},
                                         ArtLine{false, 8, 30, 16, 3, 0, {I, I, I}}));

TEST(LargeLossNotice, MillionsLineTwoHasAnIdeographicSpaceAsFifthCharacter)
{
    const auto chars = Decode(Lines(ComposeLargeLossNotice(kMillions))[1]);
    EXPECT_EQ(chars[3], U'.');
    EXPECT_EQ(chars[4], U'\u3000');
}

TEST(LargeLossNotice, WholeTextsHaveTheirCp932LengthAndLayout)
{
    const std::string millions = ComposeLargeLossNotice(kMillions);
    EXPECT_EQ(ToCp932(millions).size(), 604u);
    const auto m = Lines(millions);
    EXPECT_EQ(m[7], "");
    EXPECT_EQ(ToCp932(m[8]).size(), 31u);

    const std::string thousands = ComposeLargeLossNotice(kThousands);
    EXPECT_EQ(ToCp932(thousands).size(), 278u);
    const auto t = Lines(thousands);
    EXPECT_EQ(t[1], "");
    EXPECT_EQ(ToCp932(t[0]).size(), 28u);

    // CR and LF come only in pairs at line ends; no other control characters.
    for (const std::string *text : {&millions, &thousands}) {
        std::string joined;
        for (const auto &line : Lines(*text))
            joined += line;
        EXPECT_TRUE(std::none_of(joined.begin(), joined.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        }));
    }
}

// Characters that are easily taken for others, with their CP932 bytes, and
// the lines that must hold them.
struct LookAlike
{
    const char *character;
    const char *cp932;
    bool millions;
    std::vector<std::size_t> lines; // 0-based
};

class NoticeLookAlike : public testing::TestWithParam<LookAlike>
{};

TEST_P(NoticeLookAlike, StandsInItsLinesWithItsBytes)
{
    const LookAlike &l = GetParam();
    EXPECT_EQ(ToCp932(l.character), l.cp932);
    const auto lines = Lines(ComposeLargeLossNotice(l.millions ? kMillions : kThousands));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool expected = std::find(l.lines.begin(), l.lines.end(), i) != l.lines.end();
        EXPECT_EQ(lines[i].find(l.character) != std::string::npos, expected)
            << "line " << i + 1 << ": " << lines[i];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Millions, NoticeLookAlike,
    testing::Values(
        LookAlike{"\u3000", "\x81\x40", true, {0, 1, 2, 3, 4, 5, 8}},
        LookAlike{"\u3001", "\x81\x41", true, {4}}, LookAlike{"\uFF64", "\xA4", true, {3, 6}},
        LookAlike{"\uFF65", "\xA5", true, {8}}, LookAlike{"\u309B", "\x81\x4A", true, {3}},
        LookAlike{"\uFFE3", "\x81\x50", true, {6}}, LookAlike{"\uFF3F", "\x81\x51", true, {2}},
        LookAlike{"\u30FD", "\x81\x52", true, {3, 4, 5, 6}},
        LookAlike{"\u30FC", "\x81\x5B", true, {3}}, LookAlike{"\uFF08", "\x81\x69", true, {6}},
        LookAlike{"\uFF09", "\x81\x6A", true, {3}}, LookAlike{"\uFF14", "\x82\x53", true, {8}},
        LookAlike{"\uFF4C", "\x82\x8C", true, {5}}, LookAlike{"\u30CE", "\x83\x6D", true, {6}},
        LookAlike{"\u30DF", "\x83\x7E", true, {3}}, LookAlike{"\u039B", "\x83\xA9", true, {2}},
        LookAlike{"\u5F61", "\x9C\x63", true, {3}}));

INSTANTIATE_TEST_SUITE_P(
    Thousands, NoticeLookAlike,
    testing::Values(
        LookAlike{"\u3000", "\x81\x40", false, {0, 2, 3, 4, 5, 6, 7, 8}},
        LookAlike{"\uFF64", "\xA4", false, {4, 5}}, LookAlike{"\u00B4", "\x81\x4C", false, {8}},
        LookAlike{"\uFF40", "\x81\x4D", false, {8}}, LookAlike{"\uFF3F", "\x81\x51", false, {2}},
        LookAlike{"\u30FD", "\x81\x52", false, {2, 7}}, LookAlike{"\u30FC", "\x81\x5B", false, {8}},
        LookAlike{"\u2015", "\x81\x5C", false, {8}}, LookAlike{"\u2010", "\x81\x5D", false, {4, 8}},
        LookAlike{"\uFF0F", "\x81\x5E", false, {2, 3, 7, 8}},
        LookAlike{"\uFF3C", "\x81\x5F", false, {2, 3, 7, 8}},
        LookAlike{"\uFF11", "\x82\x50", false, {0}}, LookAlike{"\uFF14", "\x82\x53", false, {0}},
        LookAlike{"\u3041", "\x82\x9F", false, {5, 6, 8}},
        LookAlike{"\u3042", "\x82\xA0", false, {6, 7, 8}}));

struct Threshold
{
    Zeny payment;
    const char *figureLine; // "" when no notice is due
};

class NoticeChoice : public testing::TestWithParam<Threshold>
{};

TEST_P(NoticeChoice, PicksTheNoticeAndItsFigure)
{
    const Threshold &t = GetParam();
    const std::string text = ComposeLargeLossNotice(t.payment);
    if (*t.figureLine == '\0') {
        EXPECT_EQ(text, "");
        return;
    }
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 9u);
    const bool millions = t.payment > 999999;
    EXPECT_EQ(lines[millions ? 8 : 0], t.figureLine);
}

INSTANTIATE_TEST_SUITE_P(
    Thresholds, NoticeChoice,
    testing::Values(Threshold{std::numeric_limits<Zeny>::min(), ""}, Threshold{-5000000, ""},
                    Threshold{-1, ""}, Threshold{0, ""}, Threshold{99999, ""},
                    Threshold{100000, ""}, Threshold{100001, ">>４位\u3000１回で100kも負けてる"},
                    Threshold{100999, ">>４位\u3000１回で100kも負けてる"},
                    Threshold{123456, ">>４位\u3000１回で123kも負けてる"},
                    Threshold{999999, ">>４位\u3000１回で999kも負けてる"},
                    Threshold{1000000, ">>４位\u30001,0Mはさすがに痛いよ･･･"},
                    Threshold{1234567, ">>４位\u30001,2Mはさすがに痛いよ･･･"},
                    Threshold{1999999, ">>４位\u30001,9Mはさすがに痛いよ･･･"},
                    Threshold{5000000, ">>４位\u30005,0Mはさすがに痛いよ･･･"},
                    Threshold{9999999, ">>４位\u30009,9Mはさすがに痛いよ･･･"},
                    Threshold{10000000, ">>４位\u300010,0Mはさすがに痛いよ･･･"},
                    Threshold{12345678, ">>４位\u300012,3Mはさすがに痛いよ･･･"},
                    Threshold{4294967295, ">>４位\u30004294,9Mはさすがに痛いよ･･･"},
                    Threshold{std::numeric_limits<Zeny>::max(),
                              ">>４位\u30009223372036854,7Mはさすがに痛いよ･･･"}));

TEST(LargeLossNotice, TextArtDoesNotDependOnTheAmount)
{
    const auto a = Lines(ComposeLargeLossNotice(1000000));
    const auto b = Lines(ComposeLargeLossNotice(987654321));
    EXPECT_TRUE(std::equal(a.begin(), a.begin() + 8, b.begin()));
    const auto c = Lines(ComposeLargeLossNotice(100001));
    const auto d = Lines(ComposeLargeLossNotice(999999));
    EXPECT_TRUE(std::equal(c.begin() + 1, c.end(), d.begin() + 1));
}

} // namespace
