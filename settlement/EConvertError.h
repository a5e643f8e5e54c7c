#pragma once

#include "Exception.h"

#include <string_view>

// Raised when a field text is not an integer. The message quotes the whole text
// exactly as the user typed it, blanks included.
class EConvertError : public Exception
{
public:
    explicit EConvertError(std::string_view text) : Exception(MessageFor(text)) {}

private:
    static std::string MessageFor(std::string_view text)
    {
        constexpr std::string_view suffix = "' は整数ではありません";
        std::string message;
        message.reserve(1 + text.size() + suffix.size());
        message += '\'';
        message += text;
        message += suffix;
        return message;
    }
};
