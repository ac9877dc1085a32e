#include "CodePage.h"

#include "Utf8Text.h"
#include "os/ShiftJis.h"

#include <array>

namespace mirvel {
namespace {

constexpr char32_t Replacement = 0xFFFD;

// Windows-1252 bytes 0x80 to 0x9F; 0 marks the five bytes without a character. Every other
// byte is the Latin-1 code point of the same value.
constexpr std::array<char16_t, 32> Windows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

// The character starting at `at`, which then moves past it; nullopt for anything that isn't
// well-formed UTF-8 (overlong forms, surrogates and values beyond U+10FFFF included).
std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& at)
{
    const auto first = static_cast<unsigned char>(text[at]);
    std::size_t length;
    char32_t c;
    char32_t minimum;
    if (first < 0x80) {
        ++at;
        return first;
    } else if ((first & 0xE0) == 0xC0) {
        length = 2, c = first & 0x1F, minimum = 0x80;
    } else if ((first & 0xF0) == 0xE0) {
        length = 3, c = first & 0x0F, minimum = 0x800;
    } else if ((first & 0xF8) == 0xF0) {
        length = 4, c = first & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - at < length) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    at += length;
    return c;
}

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();)
        if (!NextUtf8(text, at)) return false;
    return true;
}

std::string DecodeWindows1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        char32_t c = b;
        if (b >= 0x80 && b < 0xA0) c = Windows1252High[b - 0x80] ? Windows1252High[b - 0x80] : Replacement;
        AppendUtf8(out, c);
    }
    return out;
}

std::optional<std::string> EncodeWindows1252(std::string_view utf8)
{
    std::string out;
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t c = *NextUtf8(utf8, at);
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        std::size_t i = 0;
        while (i < Windows1252High.size() && Windows1252High[i] != c) ++i;
        if (i == Windows1252High.size()) return std::nullopt;
        out += static_cast<char>(0x80 + i);
    }
    return out;
}

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

std::string DecodeShiftJis(std::string_view bytes)
{
    if (auto whole = os::ShiftJisToUtf8(bytes)) return *std::move(whole);
    // Character by character, so that only what has no mapping is replaced. A lead byte whose
    // next byte can't be a trail byte is broken alone, and the next byte starts afresh.
    std::string out;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        if (first < 0x80) {
            out += static_cast<char>(first);
            ++at;
            continue;
        }
        const bool pair = IsLeadByte(first) && at + 1 < bytes.size() &&
                          IsTrailByte(static_cast<unsigned char>(bytes[at + 1]));
        const std::size_t length = pair ? 2 : 1;
        if (auto one = os::ShiftJisToUtf8(bytes.substr(at, length)))
            out += *one;
        else
            AppendUtf8(out, Replacement);
        at += length;
    }
    return out;
}

std::optional<std::string> EncodeShiftJis(std::string_view utf8)
{
    auto bytes = os::Utf8ToShiftJis(utf8);
    if (!bytes) return std::nullopt;
    // Only an exact round trip counts: a look-alike substitute is no mapping.
    const auto back = os::ShiftJisToUtf8(*bytes);
    if (!back || *back != utf8) return std::nullopt;
    return bytes;
}

}  // namespace

std::string DecodeToUtf8(CodePage codePage, std::string_view bytes)
{
    return codePage == CodePage::ShiftJis ? DecodeShiftJis(bytes) : DecodeWindows1252(bytes);
}

std::optional<std::string> EncodeFromUtf8(CodePage codePage, std::string_view utf8)
{
    if (!IsValidUtf8(utf8)) return std::nullopt;
    return codePage == CodePage::ShiftJis ? EncodeShiftJis(utf8) : EncodeWindows1252(utf8);
}

}  // namespace mirvel
