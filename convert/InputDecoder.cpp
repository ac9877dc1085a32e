#include "convert/InputDecoder.h"

#include "common/CodePage.h"
#include "convert/InputChunks.h"
#include "convert/Utf8.h"

#include <array>
#include <vector>

namespace mirvel::convert {
namespace {

bool StartsWith(std::string_view bytes, std::string_view prefix)
{
    return bytes.substr(0, prefix.size()) == prefix;
}

void AppendEscapes(std::string& out, std::string_view bytes)
{
    for (const char byte : bytes) AppendEscape(out, static_cast<unsigned char>(byte));
}

// The decoded text with each undecodable run's U+FFFD put back as escapes of its bytes.
std::string EscapeUndecodable(std::string_view bytes, std::string_view text,
                              const std::vector<UndecodableRun>& runs)
{
    constexpr std::size_t ReplacementLength = 3;  // U+FFFD in UTF-8
    std::string out;
    out.reserve(text.size() + runs.size() * ReplacementLength);
    std::size_t copied = 0;
    for (const UndecodableRun& run : runs) {
        out.append(text.substr(copied, run.textOffset - copied));
        AppendEscapes(out, bytes.substr(run.index, run.length));
        copied = run.textOffset + ReplacementLength;
    }
    out.append(text.substr(copied));
    return out;
}

std::string DecodeEscaping(CodePage codePage, std::string_view bytes)
{
    std::vector<UndecodableRun> runs;
    std::string text = DecodeToUtf8(codePage, bytes, runs);
    return runs.empty() ? text : EscapeUndecodable(bytes, text, runs);
}

}  // namespace

std::string DecodeUtf8Escaping(std::string_view bytes)
{
    std::size_t bad = FindInvalidUtf8(bytes);
    if (bad == std::string_view::npos) return std::string(bytes);
    std::string out(bytes.substr(0, bad));
    for (std::size_t at = bad; at < bytes.size();) {
        const std::size_t length = Utf8SequenceLength(bytes, at);
        if (length == 0) {
            AppendEscape(out, static_cast<unsigned char>(bytes[at]));
            ++at;
        } else {
            out.append(bytes.substr(at, length));
            at += length;
        }
    }
    return out;
}

std::string DecodeUtf16Escaping(std::string_view bytes, bool bigEndian)
{
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    auto unitAt = [&](std::size_t at) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const auto second = static_cast<unsigned char>(bytes[at + 1]);
        return static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    std::size_t at = 0;
    while (at + 1 < bytes.size()) {
        const char32_t unit = unitAt(at);
        if (unit >= 0xD800 && unit <= 0xDBFF && at + 3 < bytes.size()) {
            const char32_t low = unitAt(at + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                at += 4;
                continue;
            }
        }
        if (unit >= 0xD800 && unit <= 0xDFFF)
            AppendEscapes(out, bytes.substr(at, 2));
        else
            AppendUtf8(out, unit);
        at += 2;
    }
    AppendEscapes(out, bytes.substr(at));  // an odd byte at the end
    return out;
}

std::string DecodeCp1252Escaping(std::string_view bytes)
{
    // The common decoder's own mapping, byte by byte, so both directions agree with it.
    static const std::array<std::string, 256> table = [] {
        std::array<std::string, 256> result;
        for (int byte = 0; byte < 256; ++byte) {
            result[byte] = DecodeEscaping(CodePage::Windows1252, std::string(1, static_cast<char>(byte)));
        }
        return result;
    }();
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char byte : bytes) out += table[static_cast<unsigned char>(byte)];
    return out;
}

std::string DecodeCp932Escaping(std::string_view bytes)
{
    // Line by line: a trail byte is never below 0x40, so a line feed always ends a line, and one
    // bad byte sends only its own line down the slow path.
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t end = bytes.find('\n', start);
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        out += DecodeEscaping(CodePage::ShiftJis, bytes.substr(start, end - start));
        start = end;
    }
    return out;
}

DecodedInput DecodeInput(std::string bytes, std::optional<TextEncoding> stated)
{
    DecodedInput input;
    const std::string_view view = bytes;
    if (StartsWith(view, "\xEF\xBB\xBF")) {
        input.bom = true;
        bytes.erase(0, 3);
        input.text =
            FindInvalidUtf8(bytes) == std::string_view::npos ? std::move(bytes) : DecodeUtf8Escaping(bytes);
        return input;
    }
    if (StartsWith(view, "\xFF\xFE") || StartsWith(view, "\xFE\xFF")) {
        const bool bigEndian = bytes[0] == '\xFE';
        input.bom = true;
        input.encoding = bigEndian ? TextEncoding::Utf16Be : TextEncoding::Utf16Le;
        input.text = DecodeUtf16Escaping(view.substr(2), bigEndian);
        return input;
    }
    const std::size_t invalid = FindInvalidUtf8(view);
    if (invalid == std::string_view::npos) {
        input.text = std::move(bytes);
        return input;
    }
    if (!stated) {
        // Everything before the first bad byte is UTF-8, so its line and column are exact.
        input.notUtf8At = PositionOf(view, invalid);
        input.notUtf8Byte = static_cast<unsigned char>(bytes[invalid]);
        return input;
    }
    input.encoding = *stated;
    switch (*stated) {
        case TextEncoding::Cp932:
            input.text = DecodeCp932Escaping(bytes);
            break;
        case TextEncoding::Cp1252:
            input.text = DecodeCp1252Escaping(bytes);
            break;
        default:
            input.text = DecodeUtf8Escaping(bytes);
            break;
    }
    return input;
}

void InputProbe::Add(std::string_view chunk)
{
    if (!started_) {
        started_ = true;
        utf8Bom_ = StartsWith(chunk, "\xEF\xBB\xBF");
        utf16Bom_ = StartsWith(chunk, "\xFF\xFE") || StartsWith(chunk, "\xFE\xFF");
        bigEndian_ = utf16Bom_ && chunk[0] == '\xFE';
        if (utf8Bom_) chunk.remove_prefix(3);
    }
    const std::size_t lineFeeds = LineFeedCount(chunk);
    lineFeeds_ += lineFeeds;
    if (utf16Bom_ || !valid_) return;
    const std::size_t invalid = FindInvalidUtf8(chunk);
    if (invalid == std::string_view::npos) {
        linesBefore_ += static_cast<long>(lineFeeds + LoneCarriageReturnCount(chunk));
        return;
    }
    valid_ = false;
    // Everything before the first bad byte is UTF-8, so its line and column are exact.
    invalidAt_ = PositionOf(chunk, invalid);
    invalidAt_->line += linesBefore_;
    invalidByte_ = static_cast<unsigned char>(chunk[invalid]);
}

DecodedInput InputProbe::Decide(std::optional<TextEncoding> stated) const
{
    DecodedInput input;
    if (utf8Bom_ || utf16Bom_) {
        input.bom = true;
        if (utf16Bom_) input.encoding = bigEndian_ ? TextEncoding::Utf16Be : TextEncoding::Utf16Le;
        return input;
    }
    if (valid_) return input;
    if (!stated) {
        input.notUtf8At = invalidAt_;
        input.notUtf8Byte = invalidByte_;
        return input;
    }
    input.encoding = *stated;
    return input;
}

std::string_view InputProbe::DecodeChunk(const DecodedInput& decided, std::string_view chunk, bool first,
                                         std::string& storage) const
{
    if (first && decided.bom) chunk.remove_prefix(utf16Bom_ ? 2 : 3);
    switch (decided.encoding) {
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be:
            storage = DecodeUtf16Escaping(chunk, decided.encoding == TextEncoding::Utf16Be);
            return storage;
        case TextEncoding::Cp932:
            storage = DecodeCp932Escaping(chunk);
            return storage;
        case TextEncoding::Cp1252:
            storage = DecodeCp1252Escaping(chunk);
            return storage;
        default:
            if (valid_) return chunk;  // valid UTF-8 is the text as it is, without a copy
            storage = DecodeUtf8Escaping(chunk);
            return storage;
    }
}

}  // namespace mirvel::convert
