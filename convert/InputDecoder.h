#pragma once

#include "TextEncoding.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace mirvel::convert {

struct DecodedInput {
    std::string text;  // converter text: UTF-8, undecodable bytes escaped (Utf8.h)
    TextEncoding encoding = TextEncoding::Utf8;
    bool bom = false;
    // Set when the file is neither marked by a BOM nor valid UTF-8 and no encoding was stated:
    // the offset of the first byte that isn't UTF-8. `text` is then empty.
    std::optional<std::size_t> notUtf8At;
};

// A BOM decides; else valid UTF-8 is UTF-8 (a stated encoding would only misread it); else the
// stated encoding is used, with each byte it can't decode escaped for the field check to report.
DecodedInput DecodeInput(std::string_view bytes, std::optional<TextEncoding> stated);

// Decoders of one encoding each, BOM already removed.
std::string DecodeUtf8Escaping(std::string_view bytes);
std::string DecodeUtf16Escaping(std::string_view bytes, bool bigEndian);
std::string DecodeCp1252Escaping(std::string_view bytes);
std::string DecodeCp932Escaping(std::string_view bytes);

}  // namespace mirvel::convert
