#include "Utf8.h"

namespace mirvel::convert {

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

char32_t NextChar(std::string_view text, std::size_t& at)
{
    const auto first = static_cast<unsigned char>(text[at]);
    if (first < 0x80) {
        ++at;
        return first;
    }
    std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : 2;
    char32_t c = first & (first >= 0xF0 ? 0x07 : first >= 0xE0 ? 0x0F : 0x1F);
    if (length > text.size() - at) length = text.size() - at;  // only reached on broken text
    for (std::size_t i = 1; i < length; ++i) c = (c << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
    at += length;
    return c;
}

std::size_t Utf8SequenceLength(std::string_view text, std::size_t at)
{
    const auto first = static_cast<unsigned char>(text[at]);
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
    if (text.size() - at < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return 0;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    return length;
}

std::size_t FindInvalidUtf8(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        // Word lists are mostly ASCII on the French side: skip it eight bytes at a time.
        while (at + 8 <= text.size()) {
            unsigned char any = 0;
            for (std::size_t i = 0; i < 8; ++i) any |= static_cast<unsigned char>(text[at + i]);
            if (any & 0x80) break;
            at += 8;
        }
        if (at >= text.size()) break;
        const std::size_t length = Utf8SequenceLength(text, at);
        if (length == 0) return at;
        at += length;
    }
    return std::string_view::npos;
}

}  // namespace mirvel::convert
