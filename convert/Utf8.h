#pragma once

// The converter's text is UTF-8 with one extension: an input byte that doesn't decode travels
// through the text as the lone surrogate U+DC00 + byte (as Python's "surrogateescape" does), so
// the parser keeps its place and the field check can name it. Well-formed UTF-8 never holds a
// surrogate, so an escape can't be mistaken for text, and the code-page encoders refuse it.

#include "common/Utf8Text.h"

#include <string>

namespace mirvel::convert {

constexpr char32_t EscapeBase = 0xDC00;

inline bool IsEscape(char32_t c) { return c >= EscapeBase && c <= EscapeBase + 0xFF; }
inline unsigned char EscapedByte(char32_t c) { return static_cast<unsigned char>(c - EscapeBase); }

inline void AppendEscape(std::string& out, unsigned char byte) { AppendUtf8(out, EscapeBase + byte); }

// The character at `at` of converter text (well-formed UTF-8 plus escapes); `at` moves past it.
inline char32_t NextChar(std::string_view text, std::size_t& at) { return NextUtf8(text, at); }

}  // namespace mirvel::convert
