#include "common/Utf8Text.h"

#include <cstdint>
#include <cstring>

namespace mirvel {

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

namespace {

// Kept inline for the validation loop, which sees every byte of an imported file.
inline std::size_t SequenceLength(const unsigned char* bytes, std::size_t left)
{
    const unsigned char first = bytes[0];
    if (first < 0x80) return 1;
    std::size_t length;
    char32_t c;
    char32_t minimum;
    if ((first & 0xE0) == 0xC0) {
        length = 2, c = first & 0x1F, minimum = 0x80;
    } else if ((first & 0xF0) == 0xE0) {
        length = 3, c = first & 0x0F, minimum = 0x800;
    } else if ((first & 0xF8) == 0xF0) {
        length = 4, c = first & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (left < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((bytes[i] & 0xC0) != 0x80) return 0;
        c = (c << 6) | (bytes[i] & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at)
{
    return SequenceLength(reinterpret_cast<const unsigned char*>(text.data()) + at, text.size() - at);
}

std::size_t FindInvalidUtf8(std::string_view text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t at = 0;
    while (at < size) {
        // Word lists are mostly ASCII on the French side: skip it eight bytes at a time.
        if (size - at >= 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes + at, 8);
            const std::uint64_t highs = word & 0x8080808080808080ULL;
            if (highs == 0) {
                at += 8;
                continue;
            }
#if defined(__GNUC__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
            // The ASCII before the first high byte needs no look either.
            at += static_cast<std::size_t>(__builtin_ctzll(highs)) / 8;
#endif
        }
        const unsigned char first = bytes[at];
        if (first < 0x80) {
            ++at;
            continue;
        }
        // Kana, kanji and accented letters without the general loop; any other sequence, and
        // anything doubtful, goes through it.
        if (first >= 0xE1 && first <= 0xEF && first != 0xED && size - at >= 3 &&
            (bytes[at + 1] & 0xC0) == 0x80 && (bytes[at + 2] & 0xC0) == 0x80) {
            at += 3;
            continue;
        }
        if (first >= 0xC2 && first <= 0xDF && size - at >= 2 && (bytes[at + 1] & 0xC0) == 0x80) {
            at += 2;
            continue;
        }
        const std::size_t length = SequenceLength(bytes + at, size - at);
        if (length == 0) return at;
        at += length;
    }
    return std::string_view::npos;
}

}  // namespace mirvel
