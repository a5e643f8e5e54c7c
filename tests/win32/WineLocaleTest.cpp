// Proves which Windows the suites ran on: scripts/dev windows runs them once in
// a Japanese and once in an English locale, and says which code pages it
// expects through RILO_EXPECT_ACP and RILO_EXPECT_OEMCP. Without them (a
// single run by hand) there is nothing to compare against.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

unsigned Expected(const char *name)
{
    const char *value = std::getenv(name);
    return value ? static_cast<unsigned>(std::strtoul(value, nullptr, 10)) : 0;
}

TEST(WineLocale, CodePagesAreTheOnesThisRunWasStartedFor)
{
    const unsigned acp = Expected("RILO_EXPECT_ACP");
    const unsigned oemcp = Expected("RILO_EXPECT_OEMCP");
    if (acp == 0 || oemcp == 0)
        GTEST_SKIP() << "no expected code pages given";
    EXPECT_EQ(GetACP(), acp);
    EXPECT_EQ(GetOEMCP(), oemcp);
}

// The title of the program is formed from 8-bit text in the ANSI code page, so
// under code page 932 a double-byte file name must survive the round trip
// through the A functions; "表" has "\" as its trail byte.
TEST(WineLocale, ShiftJisRoundTripsThroughTheAnsiCodePage)
{
    if (GetACP() != 932)
        GTEST_SKIP() << "ANSI code page is " << GetACP();
    const std::string sjis = "\x95\x5c\x8e\xa6"; // 表示
    wchar_t wide[8] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, sjis.c_str(), -1, wide, 8), 3);
    EXPECT_EQ(std::wstring(wide), L"\u8868\u793a");
    EXPECT_TRUE(IsDBCSLeadByte(0x95));
    char lowered[] = "\x95\x5c\x8e\xa6";
    CharLowerA(lowered);
    EXPECT_EQ(std::string(lowered), sjis) << "CharLowerA must leave double-byte characters alone";
}

} // namespace
