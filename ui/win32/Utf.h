#pragma once

#include <string>
#include <string_view>

// The settlement core speaks UTF-8 and Windows speaks UTF-16: every text
// crosses between them here. Text from an A function is in the ANSI code
// page instead: pass CP_ACP (0) as the code page.
std::wstring Widen(std::string_view text, unsigned codePage = 65001 /* CP_UTF8 */);
std::string Narrow(std::wstring_view utf16);
