#include "convert/TextEncoding.h"

#include <cctype>
#include <string>

namespace mirvel::convert {

std::optional<TextEncoding> ParseEncodingName(std::string_view name)
{
    std::string lower;
    for (const char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "utf-8" || lower == "utf8") return TextEncoding::Utf8;
    if (lower == "cp932" || lower == "shift_jis" || lower == "shift-jis" || lower == "sjis")
        return TextEncoding::Cp932;
    if (lower == "cp1252" || lower == "windows-1252") return TextEncoding::Cp1252;
    return std::nullopt;
}

const char* EncodingName(TextEncoding encoding)
{
    switch (encoding) {
        case TextEncoding::Utf8:
            return "UTF-8";
        case TextEncoding::Utf16Le:
            return "UTF-16LE";
        case TextEncoding::Utf16Be:
            return "UTF-16BE";
        case TextEncoding::Cp932:
            return "cp932";
        case TextEncoding::Cp1252:
            return "cp1252";
    }
    return "";
}

}  // namespace mirvel::convert
