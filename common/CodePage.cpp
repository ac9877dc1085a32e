#include "common/CodePage.h"

#include "common/ShiftJisUnits.h"
#include "common/Utf8Text.h"
#include "common/os/ShiftJis.h"

#include <algorithm>
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

std::atomic<std::uint32_t> detail::shiftJisBytes[0x10000];

std::size_t detail::EncodeCharAsking(CodePage codePage, char32_t c, char* out)
{
    if (codePage == CodePage::Windows1252) {
        const auto high = std::find(Windows1252High.begin(), Windows1252High.end(), c);
        if (high == Windows1252High.end()) return 0;
        out[0] = static_cast<char>(0x80 + (high - Windows1252High.begin()));
        return 1;
    }
    if (c >= 0xD800 && (c <= 0xDFFF || c > 0xFFFF)) return 0;  // surrogates; nothing beyond the BMP
    // Only an exact round trip counts: a look-alike substitute is no mapping.
    std::string utf8;
    AppendUtf8(utf8, c);
    const auto bytes = os::Utf8ToShiftJis(utf8);
    const auto back = bytes ? os::ShiftJisToUtf8(*bytes) : std::nullopt;
    std::uint32_t packed = 1u << 24;
    if (back && *back == utf8 && !bytes->empty() && bytes->size() <= 2) {
        packed |= static_cast<std::uint32_t>(bytes->size()) << 16;
        for (std::size_t i = 0; i < bytes->size(); ++i)
            packed |= static_cast<std::uint32_t>(static_cast<unsigned char>((*bytes)[i])) << (8 * i);
    }
    // Written whole, so that a thread racing this one at worst asks again.
    shiftJisBytes[c].store(packed, std::memory_order_relaxed);
    return EncodeChar(codePage, c, out);
}

std::optional<std::string> EncodeFromUtf8(CodePage codePage, std::string_view utf8)
{
    if (!IsValidUtf8(utf8)) return std::nullopt;
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        char bytes[2];
        const std::size_t length = EncodeChar(codePage, NextUtf8(utf8, at), bytes);
        if (length == 0) return std::nullopt;
        out.append(bytes, length);
    }
    return out;
}

}  // namespace mirvel
