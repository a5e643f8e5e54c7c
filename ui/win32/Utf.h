#pragma once

#include <string>
#include <string_view>

// The settlement core speaks UTF-8 and Windows speaks UTF-16: every text
// crosses between them here.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);
