#include "TextToInt.h"

#include "EConvertError.h"

#include <optional>

namespace {

std::optional<int> HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return std::nullopt;
}

// The digits behind a hexadecimal prefix: one or more, value at most 0xFFFFFFFF.
std::optional<std::int32_t> ParseHexDigits(std::string_view digits)
{
    if (digits.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        const auto digit = HexDigit(c);
        if (!digit)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(*digit);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<std::int32_t> ParseDecimal(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > limit)
            return std::nullopt;
    }
    const auto signedValue = static_cast<std::int64_t>(value);
    return static_cast<std::int32_t>(negative ? -signedValue : signedValue);
}

std::optional<std::int32_t> ParseNumber(std::string_view text)
{
    if (text.starts_with("0x") || text.starts_with("0X"))
        return ParseHexDigits(text.substr(2));
    if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X'))
        return ParseHexDigits(text.substr(1));
    return ParseDecimal(text);
}

} // namespace

std::int32_t TextToInt(std::string_view text)
{
    const auto firstNonBlank = text.find_first_not_of(' ');
    if (firstNonBlank != std::string_view::npos) {
        if (const auto value = ParseNumber(text.substr(firstNonBlank)))
            return *value;
    }
    throw EConvertError(text);
}
