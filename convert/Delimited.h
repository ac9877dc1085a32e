#pragma once

#include "convert/TextPosition.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mirvel::convert {

struct DelimitedField {
    std::string_view value;  // quotes removed, "" read as "; valid until the next row is read
    std::size_t offset = 0;  // where the field starts in the text (its opening quote, if quoted)
    bool quoted = false;
    std::string unquoted;  // a quoted field's value, which can't be a view of the text
};

enum class SyntaxFault { None, UnclosedQuote, TextAfterQuote };

struct DelimitedRow {
    std::vector<DelimitedField> fields;  // kept from row to row; only the first `count` are this row's
    std::size_t count = 0;
    TextPosition start;   // a row always starts a line
    long lastLine = 0;    // a quoted field may run over several lines
    std::size_t end = 0;  // where the row's content ends, before its line break
    SyntaxFault fault = SyntaxFault::None;
    std::size_t faultOffset = 0;
    // A line that starts with '#': no fields (count 0), its text from start.offset to end.
    bool comment = false;
};

// Rows of separated fields; rows end at CR LF, LF or a lone CR. With quoting (CSV, RFC 4180) a
// field that starts with a quote runs to the closing quote, over separators and line breaks,
// with "" for a quote in it, and a quote inside an unquoted field is an ordinary character.
// Without it (TSV) every quote is an ordinary character, so none is ever dropped. A line that
// starts with '#' is never a row: it comes back whole, as a comment, for its header to be read.
class DelimitedReader {
public:
    // `comments` false reads a '#' at a row's start as text (a header's own value).
    DelimitedReader(std::string_view text, char separator, bool quoting, bool comments = true)
        : text_(text), separator_(separator), quoting_(quoting), comments_(comments)
    {
    }

    // The next row that isn't a blank line; false at the end of the text.
    bool Next(DelimitedRow& row);

    // Where a character of a field lies in the text: `valueOffset` is its offset in the value.
    TextPosition Locate(const DelimitedRow& row, const DelimitedField& field, std::size_t valueOffset) const;

    std::string_view Text() const { return text_; }
    // The line the reader has come to: at the end, one more than the text's line breaks.
    long Line() const { return line_; }

    // What the rows after a file's headers are read with; Restart reads again from the start
    // of a row already read (its offset and line), with the format now in force.
    void SetFormat(char separator, bool quoting) { separator_ = separator, quoting_ = quoting; }
    void Restart(std::size_t offset, long line) { at_ = offset, line_ = line; }

private:
    bool AtRowEnd() const;
    std::size_t LineBreakLength(std::size_t at) const;
    std::size_t FindFieldEnd(std::size_t from) const;
    void ReadPlain(DelimitedField& field);
    void ReadQuoted(DelimitedRow& row, DelimitedField& field);
    void CountLines(std::size_t from, std::size_t to);

    std::string_view text_;
    char separator_;
    bool quoting_;
    bool comments_;
    std::size_t at_ = 0;
    long line_ = 1;
};

}  // namespace mirvel::convert
