// libFuzzer target for the settlement core.
//
// The input bytes are the seven field texts in window order, separated by '\n':
//
//   Edit1 \n Edit2 \n Edit3 \n Edit4 \n Edit5 \n Edit6 \n Edit9
//
// Missing fields are empty texts. The last field (the rate, Edit9) takes the
// rest of the input, further '\n' bytes included, so that a line break inside
// a text is reachable too.
//
// CalcSettlement runs over a fake window and its outcome is checked against a
// model written here from the documented rules alone, with its own parsing,
// __int128 arithmetic and its own grouping of the payment text: the exact
// conversion error for the first bad text in reading order, or both payment
// texts and the returned payment. The large-loss notice is checked for the
// payments too. Any disagreement traps.

#include "CalcSettlement.h"
#include "EConvertError.h"
#include "LargeLossNotice.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Int128 = __int128;

[[noreturn]] void Fail(const char *what)
{
    std::fprintf(stderr, "settlement_fuzz: mismatch: %s\n", what);
    __builtin_trap();
}

void Require(bool ok, const char *what)
{
    if (!ok)
        Fail(what);
}

// ---- The model ----------------------------------------------------------

std::optional<int> ModelHexDigit(char c)
{
    static constexpr std::string_view kLower = "0123456789abcdef";
    static constexpr std::string_view kUpper = "0123456789ABCDEF";
    if (const auto p = kLower.find(c); p != std::string_view::npos)
        return static_cast<int>(p);
    if (const auto p = kUpper.find(c); p != std::string_view::npos)
        return static_cast<int>(p);
    return std::nullopt;
}

// A field text as an integer, or nothing when the program must reject it.
std::optional<Int128> ModelInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const std::string_view rest = text.substr(i);
    if (rest.empty())
        return std::nullopt;

    std::size_t hexPrefix = 0;
    if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X'))
        hexPrefix = 2;
    else if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')
        hexPrefix = 1;

    if (hexPrefix != 0) {
        const std::string_view digits = rest.substr(hexPrefix);
        if (digits.empty())
            return std::nullopt;
        Int128 value = 0;
        for (const char c : digits) {
            const auto d = ModelHexDigit(c);
            if (!d)
                return std::nullopt;
            value = value * 16 + *d;
            if (value > Int128{0xFFFFFFFF})
                return std::nullopt;
        }
        // A 32-bit pattern: the top bit set means negative.
        return value >= (Int128{1} << 31) ? value - (Int128{1} << 32) : value;
    }

    std::size_t pos = 0;
    int sign = 1;
    if (rest[0] == '+' || rest[0] == '-') {
        sign = rest[0] == '-' ? -1 : 1;
        pos = 1;
    }
    if (pos == rest.size())
        return std::nullopt;
    Int128 magnitude = 0;
    for (; pos < rest.size(); ++pos) {
        const char c = rest[pos];
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > (Int128{1} << 31)) // beyond every 32-bit magnitude
            return std::nullopt;
    }
    const Int128 value = sign * magnitude;
    if (value < -(Int128{1} << 31) || value > (Int128{1} << 31) - 1)
        return std::nullopt;
    return value;
}

Int128 ModelPayment(Int128 upper, Int128 lower, Int128 rate, Int128 sideBet)
{
    // Integer division of __int128 truncates toward zero.
    return (upper - lower) * rate / 1000 + sideBet;
}

std::string Decimal(Int128 value)
{
    if (value == 0)
        return "0";
    const bool negative = value < 0;
    std::string reversed;
    for (Int128 v = value; v != 0; v /= 10) {
        const int digit = static_cast<int>(v % 10);
        reversed += static_cast<char>('0' + (digit < 0 ? -digit : digit));
    }
    if (negative)
        reversed += '-';
    return {reversed.rbegin(), reversed.rend()};
}

std::string ModelPaymentText(Int128 payment)
{
    const std::string digits = Decimal(payment < 0 ? -payment : payment);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        const std::size_t left = digits.size() - i;
        if (i != 0 && left % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return std::string(" ") + (payment < 0 ? "-" : "") + grouped + "z";
}

// ---- The fake window ----------------------------------------------------

struct Write
{
    OutputField field;
    std::string text;
};

class FakeFields : public SettlementFields
{
public:
    // Window order: Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit9.
    std::array<std::string, 7> texts;
    std::vector<InputField> reads;
    std::vector<Write> writes;

    std::string ReadText(InputField field) override
    {
        reads.push_back(field);
        return texts[Slot(field)];
    }

    void WriteText(OutputField field, const std::string &text) override
    {
        writes.push_back({field, text});
    }

    static std::size_t Slot(InputField field)
    {
        switch (field) {
        case InputField::Edit1:
            return 0;
        case InputField::Edit2:
            return 1;
        case InputField::Edit3:
            return 2;
        case InputField::Edit4:
            return 3;
        case InputField::Edit5:
            return 4;
        case InputField::Edit6:
            return 5;
        case InputField::Edit9:
            return 6;
        }
        Fail("unknown input field");
    }
};

std::array<std::string, 7> SplitFields(const std::uint8_t *data, std::size_t size)
{
    std::array<std::string, 7> texts;
    std::size_t field = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\n' && field + 1 < texts.size())
            ++field;
        else
            texts[field] += c;
    }
    return texts;
}

// ---- The notice ---------------------------------------------------------

std::vector<std::string> CrLfLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find("\r\n", start);
        Require(end != std::string::npos, "notice: last line lacks CR LF");
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

void CheckNotice(Int128 payment)
{
    const std::string notice = ComposeLargeLossNotice(static_cast<Zeny>(payment));
    if (payment <= 100000) {
        Require(notice.empty(), "notice: given for a payment of 100000 or less");
        return;
    }
    const auto lines = CrLfLines(notice);
    Require(lines.size() == 9, "notice: not nine lines");
    for (const auto &line : lines)
        Require(line.find_first_of("\r\n") == std::string::npos, "notice: stray CR or LF");

    if (payment > 999999) {
        const std::string figure = ">>４位\u3000" + Decimal(payment / 1000000) + "," +
                                   Decimal(payment / 100000 % 10) + "Mはさすがに痛いよ･･･";
        Require(lines[8] == figure, "notice: millions figure line");
        Require(lines[7].empty(), "notice: no empty line before the millions figure");
    } else {
        const std::string figure = ">>４位\u3000１回で" + Decimal(payment / 1000) + "kも負けてる";
        Require(lines[0] == figure, "notice: thousands figure line");
        Require(lines[1].empty(), "notice: no empty line after the thousands figure");
    }
}

// ---- One run ------------------------------------------------------------

struct Step
{
    InputField field;
    std::size_t slot;
};

// The order in which the settlement reads; the 4th-to-1st payment is written
// after the first four reads.
constexpr std::array<Step, 8> kReadOrder = {{
    {InputField::Edit1, 0},
    {InputField::Edit4, 3},
    {InputField::Edit9, 6},
    {InputField::Edit6, 5},
    {InputField::Edit2, 1},
    {InputField::Edit3, 2},
    {InputField::Edit9, 6},
    {InputField::Edit5, 4},
}};
constexpr std::size_t kFirstGroupSize = 4;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FakeFields fields;
    fields.texts = SplitFields(data, size);

    // The model's outcome: values in reading order, up to the first bad text.
    std::array<Int128, 8> values{};
    std::optional<std::size_t> badStep;
    for (std::size_t step = 0; step < kReadOrder.size(); ++step) {
        const auto value = ModelInt(fields.texts[kReadOrder[step].slot]);
        if (!value) {
            badStep = step;
            break;
        }
        values[step] = *value;
    }
    const std::size_t readCount = badStep ? *badStep + 1 : kReadOrder.size();
    const bool firstGroupDone = !badStep || *badStep >= kFirstGroupSize;
    const Int128 payment1 =
        firstGroupDone ? ModelPayment(values[0], values[1], values[2], values[3]) : 0;

    std::optional<Zeny> returned;
    try {
        returned = CalcSettlement(fields);
        Require(!badStep, "settled although a text is bad");
    } catch (const EConvertError &error) {
        Require(badStep.has_value(), "conversion error for good texts");
        const std::string &text = fields.texts[kReadOrder[*badStep].slot];
        const std::string message = "'" + text + "' は整数ではありません";
        Require(error.Message() == message, "conversion error message");
        // what() is a C string: a NUL typed into the field ends it there.
        Require(std::string_view(error.what()) == std::string_view(message.c_str()),
                "conversion error what()");
    } catch (...) {
        Fail("an exception other than EConvertError");
    }

    Require(fields.reads.size() == readCount, "number of reads");
    for (std::size_t i = 0; i < readCount; ++i)
        Require(fields.reads[i] == kReadOrder[i].field, "reading order");

    if (!firstGroupDone) {
        Require(fields.writes.empty(), "a payment was written before the error");
        return 0;
    }
    Require(!fields.writes.empty() && fields.writes[0].field == OutputField::Edit7,
            "4th-to-1st payment not written first");
    Require(fields.writes[0].text == ModelPaymentText(payment1), "4th-to-1st payment text");
    CheckNotice(payment1);

    if (badStep) {
        Require(fields.writes.size() == 1, "3rd-to-2nd payment written despite the error");
        return 0;
    }
    const Int128 payment2 = ModelPayment(values[4], values[5], values[6], values[7]);
    Require(fields.writes.size() == 2 && fields.writes[1].field == OutputField::Edit8,
            "3rd-to-2nd payment not written second");
    Require(fields.writes[1].text == ModelPaymentText(payment2), "3rd-to-2nd payment text");
    Require(returned.has_value() && Int128{*returned} == payment1, "returned payment");
    CheckNotice(payment2);
    return 0;
}
