#include "Delimited.h"

namespace mirvel::convert {

bool DelimitedReader::AtRowEnd() const
{
    return at_ >= text_.size() || text_[at_] == '\n' || text_[at_] == '\r';
}

bool DelimitedReader::Next(DelimitedRow& row)
{
    while (at_ < text_.size() && (text_[at_] == '\n' || text_[at_] == '\r')) {
        at_ += text_.compare(at_, 2, "\r\n") == 0 ? 2 : 1;
        ++line_;
    }
    if (at_ >= text_.size()) return false;

    row.count = 0;
    row.start = TextPosition{line_, 1, at_};
    row.fault = SyntaxFault::None;
    for (;;) {
        if (row.fields.size() == row.count) row.fields.emplace_back();
        DelimitedField& field = row.fields[row.count++];
        field.value.clear();
        field.offset = at_;
        field.quoted = at_ < text_.size() && text_[at_] == '"';
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
        if (at_ < text_.size()) {
            at_ += text_.compare(at_, 2, "\r\n") == 0 ? 2 : 1;
            ++line_;
        }
        return true;
    }
}

void DelimitedReader::ReadPlain(DelimitedField& field)
{
    const std::size_t start = at_;
    while (at_ < text_.size()) {
        const char c = text_[at_];
        if (c == separator_ || c == '\n' || c == '\r') break;
        ++at_;
    }
    field.value.append(text_.substr(start, at_ - start));
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
            field.value.clear();
            field.quoted = false;
            at_ = field.offset;
            line_ = openingLine;
            ReadPlain(field);
            return;
        }
        field.value.append(text_.substr(from, quote - from));
        CountLines(from, quote);
        if (quote + 1 < text_.size() && text_[quote + 1] == '"') {
            field.value += '"';
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
