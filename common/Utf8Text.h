#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mirvel {

// Appends one character as UTF-8. Surrogate values are written as they come, which the
// converter relies on to carry undecodable input bytes through its text.
void AppendUtf8(std::string& out, char32_t c);

// The length of the well-formed UTF-8 sequence at `at`, or 0 when the bytes there are not one
// (overlong forms, surrogates and values beyond U+10FFFF included).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

// The offset of the first byte that is not well-formed UTF-8, or npos.
std::size_t FindInvalidUtf8(std::string_view text);

inline bool IsValidUtf8(std::string_view text) { return FindInvalidUtf8(text) == std::string_view::npos; }

inline bool IsContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// The character at `at` of text already known to be UTF-8 (lone surrogates allowed, as
// AppendUtf8 writes them); `at` moves past it. Nothing is checked: inline, with kana, kanji
// and accented letters first, for the loops that see every character of a large import.
inline char32_t NextUtf8(std::string_view text, std::size_t& at)
{
    const auto byte = [&](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(text[i]) & 0x3F);
    };
    const auto first = static_cast<unsigned char>(text[at]);
    const std::size_t left = text.size() - at;
    if (first < 0x80) {
        ++at;
        return first;
    }
    if ((first & 0xF0) == 0xE0 && left >= 3) {
        const char32_t c = (static_cast<char32_t>(first & 0x0F) << 12) | (byte(at + 1) << 6) | byte(at + 2);
        at += 3;
        return c;
    }
    if ((first & 0xE0) == 0xC0 && left >= 2) {
        const char32_t c = (static_cast<char32_t>(first & 0x1F) << 6) | byte(at + 1);
        at += 2;
        return c;
    }
    std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : 2;
    char32_t c = first & (first >= 0xF0 ? 0x07 : first >= 0xE0 ? 0x0F : 0x1F);
    if (length > left) length = left;  // only reached on broken text
    for (std::size_t i = 1; i < length; ++i) c = (c << 6) | byte(at + i);
    at += length;
    return c;
}

}  // namespace mirvel
