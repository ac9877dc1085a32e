#include "common/IntParse.h"

#include "common/InOutError.h"
#include "common/os/SystemText.h"

namespace mirvel {
namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Length of a hex prefix at `at` ("$", "x", "X", "0x", "0X"), or 0.
std::size_t HexPrefix(const std::string& text, std::size_t at)
{
    if (at >= text.size()) return 0;
    const char c = text[at];
    if (c == '$' || c == 'x' || c == 'X') return 1;
    if (c == '0' && at + 1 < text.size() && (text[at + 1] == 'x' || text[at + 1] == 'X')) return 2;
    return 0;
}

std::optional<std::int32_t> ParseHex(const std::string& text, std::size_t at)
{
    if (at == text.size()) return std::nullopt;
    std::uint64_t value = 0;
    for (; at < text.size(); ++at) {
        const int digit = HexDigit(text[at]);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<std::int32_t> ParseDecimal(const std::string& text, std::size_t at)
{
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    if (at == text.size()) return std::nullopt;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > limit) return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace

std::optional<std::int32_t> TryStrToInt(const std::string& text)
{
    std::size_t at = 0;
    while (at < text.size() && text[at] == ' ') ++at;
    if (const std::size_t prefix = HexPrefix(text, at)) return ParseHex(text, at + prefix);
    return ParseDecimal(text, at);
}

std::int32_t StrToInt(const std::string& text)
{
    if (auto value = TryStrToInt(text)) return *value;
    // The message is UTF-8; the value, read from a settings file, is in the system's code page.
    throw MessageError("'" + os::SystemTextToUtf8(text) + "' は整数ではありません");
}

}  // namespace mirvel
