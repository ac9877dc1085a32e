#include "convert/Rows.h"

#include "common/ShiftJisUnits.h"
#include "common/Utf8Text.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mirvel::convert {
namespace {

bool IsLineBreak(char c) { return c == '\n' || c == '\r'; }

}  // namespace

RowReader::RowReader(std::string_view text, const InputCodec& codec, char separator, Quoting quoting,
                     bool comments)
    : text_(text),
      codec_(codec),
      separator_(separator),
      quoting_(quoting),
      comments_(comments),
      stepChars_(codec.Encoding() == TextEncoding::Cp932 && static_cast<unsigned char>(separator) >= 0x40)
{
}

std::size_t RowReader::FieldEnd(std::size_t from) const
{
    const char* const bytes = text_.data();
    const auto ends = [&](char c) { return c == separator_ || IsLineBreak(c); };
    if (stepChars_) {
        while (from < text_.size() && !ends(bytes[from])) from += ShiftJisUnitLength(text_, from);
        return std::min(from, text_.size());
    }
    // Sixteen bytes at a time while none of them ends the field: a whole imported file goes
    // through here.
#if defined(__SSE2__)
    const __m128i separator16 = _mm_set1_epi8(separator_);
    const __m128i lineFeed16 = _mm_set1_epi8('\n');
    const __m128i carriageReturn16 = _mm_set1_epi8('\r');
    while (text_.size() - from >= 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from));
        const __m128i hits =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, separator16), _mm_cmpeq_epi8(chunk, lineFeed16)),
                         _mm_cmpeq_epi8(chunk, carriageReturn16));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        if (mask != 0) return from + static_cast<std::size_t>(__builtin_ctz(mask));
        from += 16;
    }
#endif
    while (from < text_.size() && !ends(bytes[from])) ++from;
    return from;
}

std::size_t RowReader::NextQuote(std::size_t from) const
{
    if (quoteFrom_ <= from && from <= quoteAt_) return quoteAt_;
    quoteFrom_ = from;
    quoteAt_ = text_.find('"', from);
    return quoteAt_;
}

void RowReader::PassLineBreak()
{
    if (at_ >= text_.size()) return;
    at_ += text_[at_] == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n' ? 2 : 1;
    ++line_;
}

bool RowReader::Next(Row& row)
{
    while (at_ < text_.size() && IsLineBreak(text_[at_])) PassLineBreak();
    if (at_ >= text_.size()) return false;

    row.count = 0;
    row.begin = at_;
    row.line = line_;
    row.fault = RowFault::None;
    row.comment = comments_ && text_[at_] == '#';
    if (row.comment) at_ = std::min(text_.find_first_of("\r\n", at_), text_.size());
    for (bool more = !row.comment; more;) {
        if (row.fields.size() == row.count) row.fields.emplace_back();
        Field& field = row.fields[row.count++];
        if (at_ < text_.size() && text_[at_] == '"') {
            ReadQuoted(row, field);
        } else {
            field = Field{at_, FieldEnd(at_), false};
            at_ = field.end;
        }
        more = at_ < text_.size() && text_[at_] == separator_;
        if (more) ++at_;
    }
    row.end = at_;
    row.lastLine = line_;
    PassLineBreak();
    return true;
}

void RowReader::ReadQuoted(Row& row, Field& field)
{
    const std::size_t opening = at_;
    std::size_t close = NextQuote(opening + 1);
    while (close != std::string_view::npos && close + 1 < text_.size() && text_[close + 1] == '"')
        close = NextQuote(close + 2);
    const std::size_t after = close == std::string_view::npos ? close : close + 1;
    const bool ends = after != std::string_view::npos &&
                      (after == text_.size() || text_[after] == separator_ || IsLineBreak(text_[after]));
    const auto fault = [&](RowFault kind, std::size_t at) {
        if (row.fault == RowFault::None) row.fault = kind, row.faultAt = at;
    };
    if (after == std::string_view::npos || (!ends && quoting_ == Quoting::Tsv)) {
        // Read as an ordinary field instead, so that one stray quote costs its own line and not
        // every line after it.
        fault(quoting_ == Quoting::Tsv ? RowFault::QuoteAsText : RowFault::UnclosedQuote, opening);
        field = Field{opening, FieldEnd(opening), false};
        at_ = field.end;
        return;
    }
    for (std::size_t i = opening + 1; i < close; ++i) {
        if (text_[i] == '\n' || (text_[i] == '\r' && text_[i + 1] != '\n')) ++line_;
    }
    field = Field{opening + 1, close, true};
    at_ = after;
    if (!ends) {
        fault(RowFault::TextAfterQuote, after);
        at_ = field.end = FieldEnd(after);
    }
}

std::string_view RowReader::Value(const Field& field, std::string& storage) const
{
    const std::string_view raw = text_.substr(field.begin, field.end - field.begin);
    if (!field.quoted || raw.find('"') == std::string_view::npos) return raw;
    storage.clear();
    for (std::size_t i = 0; i < raw.size(); ++i) {
        storage += raw[i];
        if (raw[i] == '"' && i + 1 < raw.size() && raw[i + 1] == '"') ++i;
    }
    return storage;
}

TextPosition RowReader::Locate(const Row& row, const Field& field, std::size_t chars) const
{
    std::size_t at = field.begin;
    for (std::size_t i = 0; i < chars && at < field.end; ++i) {
        const bool doubled = field.quoted && text_[at] == '"' && at + 1 < field.end && text_[at + 1] == '"';
        at += doubled ? 2 : codec_.CharLength(text_, at);
    }
    return PositionOf(row, at);
}

TextPosition RowReader::PositionOf(const Row& row, std::size_t offset) const
{
    // A byte a column but for UTF-8's continuation bytes and Shift-JIS's trail bytes.
    const bool utf8 = !codec_.Legacy();
    const bool shiftJis = codec_.Encoding() == TextEncoding::Cp932;
    TextPosition position{row.line, 1};
    offset = std::min(offset, text_.size());
    for (std::size_t at = row.begin; at < offset; ++at) {
        const char c = text_[at];
        if (c == '\n' || (c == '\r' && (at + 1 >= text_.size() || text_[at + 1] != '\n'))) {
            ++position.line;
            position.column = 1;
        } else if (c != '\r' && !(utf8 && IsContinuationByte(c))) {
            ++position.column;
            if (shiftJis) at += ShiftJisUnitLength(text_, at) - 1;
        }
    }
    return position;
}

}  // namespace mirvel::convert
