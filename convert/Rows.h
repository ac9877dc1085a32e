#pragma once

#include "convert/TextEncoding.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mirvel::convert {

// A place in a text file as an editor shows it: lines and columns from 1, a column counting
// characters. CR LF, LF and a lone CR each end a line.
struct TextPosition {
    std::int64_t line = 1;
    std::int64_t column = 1;
};

// How a field that starts with a quote is read. Csv (RFC 4180): it runs to the closing quote,
// over separators and line breaks, "" standing for a quote; a quote never closed, or text after
// the closing one, is a fault. Tsv, as spreadsheets write tab-separated text: the same, but a
// quote that doesn't close a field just before a tab or a line break leaves the field as it is
// written. A quote inside a field is a character in both.
enum class Quoting { Csv, Tsv };

struct Field {
    std::size_t begin = 0;  // the value's bytes in the text: inside the quotes of a quoted field
    std::size_t end = 0;
    bool quoted = false;  // "" in the value stands for one quote
};

enum class RowFault { None, UnclosedQuote, TextAfterQuote, QuoteAsText };

struct Row {
    std::vector<Field> fields;  // kept from row to row; only the first `count` are this row's
    std::size_t count = 0;
    std::size_t begin = 0;  // a row always starts a line
    std::size_t end = 0;    // where its content ends, before its line break
    std::int64_t line = 1;
    std::int64_t lastLine = 1;  // a quoted field may run over several lines
    RowFault fault = RowFault::None;
    std::size_t faultAt = 0;
    bool comment = false;  // a line that starts with '#': no fields, its text from begin to end
};

// The rows of separated fields in the input's own bytes, so that the input is held once. The
// separator, quotes and line breaks are ASCII, which no byte of a UTF-8 or Shift-JIS character
// is below 0x40; a separator from 0x40 up may be a Shift-JIS trail byte, so such a file is
// then stepped a character at a time.
class RowReader {
public:
    // `comments` false reads a '#' at a row's start as text (a header's own value).
    RowReader(std::string_view text, const InputCodec& codec, char separator, Quoting quoting,
              bool comments = true);

    // The next row that isn't a blank line; false at the end of the text.
    bool Next(Row& row);

    // Goes back to a row's start, to read it again.
    void Restart(std::size_t at, std::int64_t line) { at_ = at, line_ = line; }

    std::string_view Text() const { return text_; }

    // A field's bytes without its quoting (in `storage` when "" had to be undone).
    std::string_view Value(const Field& field, std::string& storage) const;

    // Where the character `chars` characters into a field's value lies.
    TextPosition Locate(const Row& row, const Field& field, std::size_t chars) const;
    TextPosition PositionOf(const Row& row, std::size_t offset) const;

private:
    std::size_t FieldEnd(std::size_t from) const;
    std::size_t NextQuote(std::size_t from) const;
    void ReadQuoted(Row& row, Field& field);
    void PassLineBreak();

    std::string_view text_;
    InputCodec codec_;
    char separator_;
    Quoting quoting_;
    bool comments_;
    bool stepChars_;  // a separator that may be a trail byte
    std::size_t at_ = 0;
    std::int64_t line_ = 1;
    // The first quote at or after quoteFrom_ is at quoteAt_ (npos: none), so that stray quotes
    // cost one search of the text, not one each.
    mutable std::size_t quoteFrom_ = 1;
    mutable std::size_t quoteAt_ = 0;
};

}  // namespace mirvel::convert
