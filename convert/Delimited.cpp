#include "convert/Delimited.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mirvel::convert {

std::size_t DelimitedReader::LineBreakLength(std::size_t at) const
{
    return text_[at] == '\r' && at + 1 < text_.size() && text_[at + 1] == '\n' ? 2 : 1;
}

std::size_t DelimitedReader::FindFieldEnd(std::size_t from) const
{
    // Eight bytes at a time while none of them is a separator, CR or LF: a whole imported file
    // goes through here.
    constexpr std::uint64_t Ones = 0x0101010101010101ULL;
    constexpr std::uint64_t Highs = 0x8080808080808080ULL;
    const std::uint64_t separators = Ones * static_cast<unsigned char>(separator_);
    const auto hasZeroByte = [](std::uint64_t word) { return (word - Ones) & ~word & Highs; };
    const char* const bytes = text_.data();
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
    while (text_.size() - from >= 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + from, 8);
        if (hasZeroByte(word ^ separators) | hasZeroByte(word ^ (Ones * '\n')) |
            hasZeroByte(word ^ (Ones * '\r')))
            break;
        from += 8;
    }
    while (from < text_.size() && bytes[from] != separator_ && bytes[from] != '\n' && bytes[from] != '\r')
        ++from;
    return from;
}

bool DelimitedReader::AtRowEnd() const
{
    return at_ >= text_.size() || text_[at_] == '\n' || text_[at_] == '\r';
}

bool DelimitedReader::Next(DelimitedRow& row)
{
    while (at_ < text_.size() && (text_[at_] == '\n' || text_[at_] == '\r')) {
        at_ += LineBreakLength(at_);
        ++line_;
    }
    if (at_ >= text_.size()) return false;

    row.count = 0;
    row.start = TextPosition{line_, 1, at_};
    row.fault = SyntaxFault::None;
    row.comment = comments_ && text_[at_] == '#';
    if (row.comment) {
        at_ = std::min(text_.find_first_of("\r\n", at_), text_.size());
        row.end = at_;
        row.lastLine = line_;
        if (at_ < text_.size()) {
            at_ += LineBreakLength(at_);
            ++line_;
        }
        return true;
    }
    for (;;) {
        if (row.fields.size() == row.count) row.fields.emplace_back();
        DelimitedField& field = row.fields[row.count++];
        field.unquoted.clear();
        field.offset = at_;
        field.quoted = quoting_ && at_ < text_.size() && text_[at_] == '"';
        if (field.quoted)
            ReadQuoted(row, field);
        else
            ReadPlain(field);
        if (at_ < text_.size() && text_[at_] == separator_) {
            ++at_;
            continue;
        }
        row.end = at_;
        row.lastLine = line_;
        // Only now: adding a field may have moved the earlier fields' own strings.
        for (std::size_t i = 0; i < row.count; ++i) {
            if (row.fields[i].quoted) row.fields[i].value = row.fields[i].unquoted;
        }
        if (at_ < text_.size()) {
            at_ += LineBreakLength(at_);
            ++line_;
        }
        return true;
    }
}

void DelimitedReader::ReadPlain(DelimitedField& field)
{
    const std::size_t start = at_;
    at_ = FindFieldEnd(at_);
    if (field.quoted)
        field.unquoted.append(text_.substr(start, at_ - start));
    else
        field.value = text_.substr(start, at_ - start);
}

void DelimitedReader::ReadQuoted(DelimitedRow& row, DelimitedField& field)
{
    const long openingLine = line_;
    std::size_t from = at_ + 1;
    for (;;) {
        const std::size_t quote = text_.find('"', from);
        if (quote == std::string_view::npos) {
            // Read as an ordinary field instead, so that one stray quote costs its own line and
            // not every line after it.
            if (row.fault == SyntaxFault::None)
                row.fault = SyntaxFault::UnclosedQuote, row.faultOffset = field.offset;
            field.quoted = false;
            at_ = field.offset;
            line_ = openingLine;
            ReadPlain(field);
            return;
        }
        field.unquoted.append(text_.substr(from, quote - from));
        CountLines(from, quote);
        if (quote + 1 < text_.size() && text_[quote + 1] == '"') {
            field.unquoted += '"';
            from = quote + 2;
            continue;
        }
        at_ = quote + 1;
        break;
    }
    if (at_ < text_.size() && text_[at_] != separator_ && !AtRowEnd()) {
        if (row.fault == SyntaxFault::None) row.fault = SyntaxFault::TextAfterQuote, row.faultOffset = at_;
        ReadPlain(field);
    }
}

void DelimitedReader::CountLines(std::size_t from, std::size_t to)
{
    for (std::size_t i = from; i < to; ++i) {
        if (text_[i] == '\n' || (text_[i] == '\r' && (i + 1 >= text_.size() || text_[i + 1] != '\n')))
            ++line_;
    }
}

TextPosition DelimitedReader::Locate(const DelimitedRow& row, const DelimitedField& field,
                                     std::size_t valueOffset) const
{
    if (!field.quoted) return Advance(text_, row.start, field.offset + valueOffset);
    // Step over the opening quote, count each doubled quote as the one it stands for, and the
    // closing quote as nothing (text may follow it in a faulty row).
    std::size_t offset = field.offset + 1;
    bool inside = true;
    for (std::size_t value = 0; value < valueOffset && offset < text_.size();) {
        if (inside && text_[offset] == '"') {
            const bool doubled = offset + 1 < text_.size() && text_[offset + 1] == '"';
            offset += doubled ? 2 : 1;
            if (!doubled) {
                inside = false;
                continue;
            }
        } else {
            ++offset;
        }
        ++value;
    }
    if (inside && offset < text_.size() && text_[offset] == '"' && text_.compare(offset, 2, "\"\"") != 0)
        ++offset;
    return Advance(text_, row.start, offset);
}

}  // namespace mirvel::convert
