#pragma once

#include <optional>
#include <string_view>

namespace mirvel::convert {

// The encodings of word-list text files. UTF-16 is only ever recognised by its BOM (what a
// spreadsheet's "Unicode text" export writes); it is never named on the command line.
enum class TextEncoding { Utf8, Utf16Le, Utf16Be, Cp932, Cp1252 };

// The names --encoding accepts, case-insensitively: utf-8, cp932, cp1252 and their usual aliases.
std::optional<TextEncoding> ParseEncodingName(std::string_view name);

// The name shown to the user.
const char* EncodingName(TextEncoding encoding);

}  // namespace mirvel::convert
