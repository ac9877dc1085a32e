#pragma once

#include "convert/TextEncoding.h"
#include "convert/TextPosition.h"

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
    // where the first byte that isn't UTF-8 lies, and what it is. `text` is then empty.
    std::optional<TextPosition> notUtf8At;
    unsigned char notUtf8Byte = 0;
};

// A BOM decides; else valid UTF-8 is UTF-8 (a stated encoding would only misread it); else the
// stated encoding is used, with each byte it can't decode escaped for the field check to report.
// Valid UTF-8 becomes the text without a copy.
DecodedInput DecodeInput(std::string bytes, std::optional<TextEncoding> stated);

// DecodeInput's decision made over a file that comes in chunks ending at line feeds
// (InputChunks.h), one pass that keeps nothing of the text: Add each chunk, then Decide; on a
// second pass DecodeChunk turns each chunk into converter text.
class InputProbe {
public:
    void Add(std::string_view chunk);
    // `text` stays empty; notUtf8At is set as DecodeInput would set it.
    DecodedInput Decide(std::optional<TextEncoding> stated) const;
    std::size_t LineFeeds() const { return lineFeeds_; }
    // UTF-16 is found in chunks as two-byte units; Decide says which.
    std::string_view DecodeChunk(const DecodedInput& decided, std::string_view chunk, bool first,
                                 std::string& storage) const;

private:
    bool started_ = false;
    bool utf8Bom_ = false;
    bool utf16Bom_ = false;
    bool bigEndian_ = false;
    bool valid_ = true;
    std::optional<TextPosition> invalidAt_;
    unsigned char invalidByte_ = 0;
    long linesBefore_ = 0;
    std::size_t lineFeeds_ = 0;
};

// Decoders of one encoding each, BOM already removed.
std::string DecodeUtf8Escaping(std::string_view bytes);
std::string DecodeUtf16Escaping(std::string_view bytes, bool bigEndian);
std::string DecodeCp1252Escaping(std::string_view bytes);
std::string DecodeCp932Escaping(std::string_view bytes);

}  // namespace mirvel::convert
