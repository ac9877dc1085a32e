#include "common/CodePage.h"

#include "common/ShiftJisUnits.h"
#include "common/Utf8Text.h"
#include "common/os/ShiftJis.h"

#include <array>

namespace mirvel {
namespace {

constexpr char32_t Replacement = 0xFFFD;

// Windows-1252 bytes 0x80 to 0x9F. Every other byte is the Latin-1 code point of the same value,
// and so are the five bytes the code page leaves without a character (0x81, 0x8D, 0x8F, 0x90,
// 0x9D): Windows reads them as the C1 controls of their value and writes those back as them, so
// a word holding one keeps it through the boxes.
constexpr std::array<char16_t, 32> Windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

// `undecodable` may be null when the caller only wants the text.
void AppendReplacement(std::string& out, std::size_t index, std::size_t length,
                       std::vector<UndecodableRun>* undecodable)
{
    if (undecodable) undecodable->push_back({index, length, out.size()});
    AppendUtf8(out, Replacement);
}

std::string DecodeWindows1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        AppendUtf8(out, b >= 0x80 && b < 0xA0 ? Windows1252High[b - 0x80] : b);
    }
    return out;
}

std::optional<std::string> EncodeWindows1252(std::string_view utf8)
{
    std::string out;
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t c = NextUtf8(utf8, at);
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

std::string DecodeShiftJis(std::string_view bytes, std::vector<UndecodableRun>* undecodable)
{
    if (auto whole = os::ShiftJisToUtf8(bytes)) return *std::move(whole);
    // Character by character, so that only what has no mapping is replaced.
    std::string out;
    for (std::size_t at = 0; at < bytes.size();) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        if (first < 0x80) {
            out += static_cast<char>(first);
            ++at;
            continue;
        }
        const std::size_t length = ShiftJisUnitLength(bytes, at);
        if (auto one = os::ShiftJisToUtf8(bytes.substr(at, length)))
            out += *one;
        else
            AppendReplacement(out, at, length, undecodable);
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

char32_t StandardEquivalent(CodePage codePage, char32_t c)
{
    if (codePage == CodePage::Windows1252) return c == U'\u202F' || c == U'\u2007' ? U'\u00A0' : 0;
    switch (c) {
        case U'\u301C':
            return U'\uFF5E';  // 〜 → ～ (0x8160)
        case U'\u2016':
            return U'\u2225';  // ‖ → ∥ (0x8161)
        case U'\u2212':
            return U'\uFF0D';  // − → － (0x817C)
        case U'\u00A2':
            return U'\uFFE0';  // ¢ → ￠ (0x8191)
        case U'\u00A3':
            return U'\uFFE1';  // £ → ￡ (0x8192)
        case U'\u00AC':
            return U'\uFFE2';  // ¬ → ￢ (0x81CA)
        case U'\u2014':
            return U'\u2015';  // — → ― (0x815C)
        default:
            return 0;
    }
}

std::string DecodeToUtf8(CodePage codePage, std::string_view bytes)
{
    return codePage == CodePage::ShiftJis ? DecodeShiftJis(bytes, nullptr) : DecodeWindows1252(bytes);
}

std::string DecodeToUtf8(CodePage codePage, std::string_view bytes, std::vector<UndecodableRun>& undecodable)
{
    return codePage == CodePage::ShiftJis ? DecodeShiftJis(bytes, &undecodable) : DecodeWindows1252(bytes);
}

std::optional<std::string> EncodeFromUtf8(CodePage codePage, std::string_view utf8)
{
    if (!IsValidUtf8(utf8)) return std::nullopt;
    return codePage == CodePage::ShiftJis ? EncodeShiftJis(utf8) : EncodeWindows1252(utf8);
}

}  // namespace mirvel
