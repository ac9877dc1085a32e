#include "convert/TextEncoding.h"

#include "common/CodePage.h"
#include "common/ShiftJisUnits.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace mirvel::convert {
namespace {

void EscapeUtf8Into(std::string_view bytes, std::string& out)
{
    out.clear();
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = Utf8SequenceLength(bytes, at);
        if (length == 0) {
            AppendEscape(out, static_cast<unsigned char>(bytes[at++]));
        } else {
            out.append(bytes.substr(at, length));
            at += length;
        }
    }
}

// The common decoder's own mapping, with each U+FFFD it gives for bytes that don't decode put
// back as escapes of those bytes, so that the field check can name them.
void DecodeCodePageInto(CodePage codePage, std::string_view bytes, std::string& out)
{
    std::vector<UndecodableRun> runs;
    const std::string text = DecodeToUtf8(codePage, bytes, runs);
    constexpr std::size_t ReplacementLength = 3;  // U+FFFD in UTF-8
    out.clear();
    std::size_t copied = 0;
    for (const UndecodableRun& run : runs) {
        out.append(text, copied, run.textOffset - copied);
        for (std::size_t i = 0; i < run.length; ++i)
            AppendEscape(out, static_cast<unsigned char>(bytes[run.index + i]));
        copied = run.textOffset + ReplacementLength;
    }
    out.append(text, copied);
}

}  // namespace

bool IsAscii(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

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

std::size_t InputCodec::CharLength(std::string_view text, std::size_t at) const
{
    switch (encoding_) {
        case TextEncoding::Cp932:
            return ShiftJisUnitLength(text, at);
        case TextEncoding::Cp1252:
            return 1;
        case TextEncoding::Utf8:
            return std::max<std::size_t>(Utf8SequenceLength(text, at), 1);
        default: {
            // UTF-16 made UTF-8 on reading: an escape there is one unit's byte.
            const std::size_t length = Utf8SequenceLength(text, at);
            if (length == 0 && static_cast<unsigned char>(text[at]) == 0xED && at + 2 < text.size()) return 3;
            return std::max<std::size_t>(length, 1);
        }
    }
}

std::string_view InputCodec::Decode(std::string_view raw, std::string& storage) const
{
    if (encoding_ == TextEncoding::Utf16Le || encoding_ == TextEncoding::Utf16Be) return raw;  // made so
    if (!Legacy()) {
        if (validUtf8_ || IsValidUtf8(raw)) return raw;
        EscapeUtf8Into(raw, storage);
        return storage;
    }
    if (IsAscii(raw)) return raw;
    DecodeCodePageInto(encoding_ == TextEncoding::Cp932 ? CodePage::ShiftJis : CodePage::Windows1252, raw,
                       storage);
    return storage;
}

}  // namespace mirvel::convert
