#pragma once

#include "common/Utf8Text.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace mirvel::convert {

// The converter's text is UTF-8 with one extension: an input byte that doesn't decode travels
// through the text as the lone surrogate U+DC00 + byte (as Python's "surrogateescape" does), so
// the parser keeps its place and the field check can name it. Well-formed UTF-8 never holds a
// surrogate, so an escape can't be mistaken for text, and the code-page encoders refuse it;
// NextUtf8 reads it as any other character.
constexpr char32_t EscapeBase = 0xDC00;

inline bool IsEscape(char32_t c) { return c >= EscapeBase && c <= EscapeBase + 0xFF; }
inline unsigned char EscapedByte(char32_t c) { return static_cast<unsigned char>(c - EscapeBase); }

inline void AppendEscape(std::string& out, unsigned char byte) { AppendUtf8(out, EscapeBase + byte); }

// No byte from 0x80 up: the same text in every encoding the converter reads but UTF-16.
bool IsAscii(std::string_view bytes);

// The encodings of word-list text files. UTF-16 is only ever recognised by its BOM (what a
// spreadsheet's "Unicode text" export writes) and is turned into UTF-8 as it is read; it is
// never named on the command line.
enum class TextEncoding { Utf8, Utf16Le, Utf16Be, Cp932, Cp1252 };

// The names --encoding accepts, case-insensitively: utf-8, cp932, cp1252 and their usual aliases.
std::optional<TextEncoding> ParseEncodingName(std::string_view name);

// The name shown to the user.
const char* EncodingName(TextEncoding encoding);

// Bytes of one encoding as they lie in the input: where characters end, and what a field says
// as converter text (UTF-8, a byte that doesn't decode escaped, as above). UTF-16 input is UTF-8
// by the time it is read, so it is read as UTF-8. `validUtf8`: the whole input is known to be
// well-formed UTF-8, so that its fields need no look.
class InputCodec {
public:
    InputCodec(TextEncoding encoding, bool validUtf8) : encoding_(encoding), validUtf8_(validUtf8) {}

    TextEncoding Encoding() const { return encoding_; }
    bool Legacy() const { return encoding_ == TextEncoding::Cp932 || encoding_ == TextEncoding::Cp1252; }

    // Bytes of the character at `at` (at least 1).
    std::size_t CharLength(std::string_view text, std::size_t at) const;

    // The field as converter text: a view of `raw` when it already is that, else in `storage`.
    std::string_view Decode(std::string_view raw, std::string& storage) const;

private:
    TextEncoding encoding_;
    bool validUtf8_;
};

}  // namespace mirvel::convert
