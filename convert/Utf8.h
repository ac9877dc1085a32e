#pragma once

// The converter's text is UTF-8 with one extension: an input byte that doesn't decode travels
// through the text as the lone surrogate U+DC00 + byte (as Python's "surrogateescape" does), so
// the parser keeps its place and the field check can name it. Well-formed UTF-8 never holds a
// surrogate, so an escape can't be mistaken for text, and the code-page encoders refuse it.

#include "Utf8Text.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace mirvel::convert {

constexpr char32_t EscapeBase = 0xDC00;

inline bool IsEscape(char32_t c) { return c >= EscapeBase && c <= EscapeBase + 0xFF; }
inline unsigned char EscapedByte(char32_t c) { return static_cast<unsigned char>(c - EscapeBase); }

using mirvel::AppendUtf8;
inline void AppendEscape(std::string& out, unsigned char byte) { AppendUtf8(out, EscapeBase + byte); }

// The character at `at` of converter text (well-formed UTF-8 plus escapes); `at` moves past it.
inline char32_t NextChar(std::string_view text, std::size_t& at)
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

// The length of the well-formed UTF-8 sequence at `at`, or 0 when the bytes there are not one
// (overlong forms, surrogates and values beyond U+10FFFF included).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t at);

// The offset of the first byte that is not well-formed UTF-8, or npos.
std::size_t FindInvalidUtf8(std::string_view text);

inline bool IsContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

}  // namespace mirvel::convert
