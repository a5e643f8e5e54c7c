#include "LargeLossNotice.h"

#include <array>
#include <string_view>

namespace {

// Ideographic spaces (U+3000) are written as escapes so that they can be told
// from ASCII blanks; every other character stands as it is shown.
// Lines 1 to 7 of the millions notice.
constexpr std::array<std::string_view, 7> kMillionsArt = {
    "\u3000\u3000\u3000\u3000. . : : : :: : : :: : ::: :: : :::: :: ::: ::: ::::::::::::::::::::::::::::::::::::::",
    "\u3000\u3000\u3000.\u3000. .... ..: : :: :: ::: :::::: :::::::::::: : :::::::::::::::::::::::::::::::::::::::::::::",
    "\u3000\u3000\u3000\u3000\u3000\u3000\u3000 Λ＿Λ . . . .: : : ::: : :: ::::::::: ::::::::::::::::::::::::::",
    "\u3000\u3000\u3000\u3000\u3000 \u3000/:彡ミ゛ヽ;）ー､\u3000. ::: : :: ::::::::: ::::::::::::::::::::::::::::",
    "\u3000\u3000\u3000\u3000\u3000 / :::/:: ヽ、ヽ、 ::i . .:: :.: ::: . ::::::::::::::::::::::::::::::::::::::",
    "\u3000\u3000 \u3000\u3000 / :::/;;: \u3000 ヽ\u3000ヽ ::ｌ\u3000. :. :. .:: : :: :: :::::::: : ::::::::::::::::::",
    "￣￣￣（_,ノ ￣￣￣ヽ､_ノ￣￣￣",
};

// Lines 3 to 9 of the thousands notice.
constexpr std::array<std::string_view, 7> kThousandsArt = {
    "\u3000\u3000\u3000\u3000/＼＿＿_／ヽ\u3000 \u3000ヽ",
    "\u3000\u3000 ／\u3000\u3000\u3000\u3000:::::::::::::::::＼\u3000つ",
    "\u3000 . | \u3000,,-‐‐\u3000 \u3000‐‐-､ .:::|\u3000わ",
    "\u3000\u3000|\u3000 ､_(o)_,:\u3000 _(o)_,\u3000:::|ぁぁ",
    ". \u3000 |\u3000\u3000\u3000\u3000::<\u3000\u3000\u3000 \u3000 .:::|あぁ",
    "\u3000\u3000 ＼\u3000 /( [三] )ヽ :／ああ",
    "\u3000\u3000\u3000／｀ー‐--‐‐―´＼ぁあ",
};

constexpr std::string_view kLineEnd = "\r\n";

template <std::size_t N>
void AppendLines(std::string &text, const std::array<std::string_view, N> &lines)
{
    for (const auto line : lines) {
        text += line;
        text += kLineEnd;
    }
}

std::string MillionsNotice(Zeny payment)
{
    std::string text;
    AppendLines(text, kMillionsArt);
    text += kLineEnd;
    text += ">>４位\u3000";
    text += std::to_string(payment / 1000000);
    text += ',';
    text += static_cast<char>('0' + payment / 100000 % 10);
    text += "Mはさすがに痛いよ･･･";
    text += kLineEnd;
    return text;
}

std::string ThousandsNotice(Zeny payment)
{
    std::string text = ">>４位\u3000１回で";
    text += std::to_string(payment / 1000);
    text += "kも負けてる";
    text += kLineEnd;
    text += kLineEnd;
    AppendLines(text, kThousandsArt);
    return text;
}

} // namespace

std::string ComposeLargeLossNotice(Zeny payment)
{
    if (payment > 999999)
        return MillionsNotice(payment);
    if (payment > 100000)
        return ThousandsNotice(payment);
    return {};
}
