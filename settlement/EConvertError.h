#pragma once

#include "Exception.h"

#include <string_view>

// Raised when a field text is not an integer. The message quotes the whole text
// exactly as the user typed it, blanks included.
class EConvertError : public Exception
{
public:
    explicit EConvertError(std::string_view text)
        : Exception("'" + std::string(text) + "' は整数ではありません")
    {}
};
