#pragma once

#include "convert/AnkiHeaders.h"
#include "convert/Rows.h"
#include "convert/EncodedField.h"
#include "convert/TextEncoding.h"
#include "common/WordRec.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace mirvel::convert {

struct ImportOptions {
    // A CSV (by its name or --csv): a comma, or a semicolon where the first rows split on that
    // and not on commas. Else a tab. The file's "#separator:" goes before either, --separator
    // before all.
    bool csv = false;
    std::optional<char> separator;
    // The first row names the columns (true), is a pair (false), or is looked at (unset): it is
    // taken as names when it can't be a pair while the rows below can.
    std::optional<bool> header;
    // None, or the French and the Japanese column, each a number from 1 or a column's name.
    std::vector<std::string> columns;
    bool html = false;  // word fields are HTML, as "#html:true" says
    bool skip = false;  // write the good pairs and list the lines left out
    bool cut = false;   // cut over-long fields at a character boundary and list each cut
    // The rows are a sheet's cells (Sheet.h): no separator can split a word there, so other
    // columns are notes, and a row ends where its last cell does, the cells after it empty.
    bool cells = false;
};

// What the import found, each with what it needs to be worded. Problems: with any of them
// nothing is written unless --skip takes the row out (a header's never).
namespace found {
struct TooLong {
    Side side;
    std::size_t bytes, limit;
    std::string text;
};
struct NotInCodePage {
    Side side;
    char32_t character;
};
struct UndecodableByte {
    Side side;
    unsigned char byte;
};
struct ControlCharacter {
    Side side;
    char32_t character;
};
struct MissingField {
    Side side;
    std::size_t column;  // from 1
    char separator;      // what the row was split on
};
struct ExtraField {
    std::string text;  // the first extra field that isn't empty
};
struct UnclosedQuote {};
struct TextAfterQuote {};
// Rows unlike "#columns:", told once at that header's line; each such row is refused.
struct ColumnsMismatch {
    std::size_t named, found;
    std::int64_t line;  // the first such row
};
struct BadHeader {
    HeaderKey key;
    std::string name, value;
};
// Notes: what was done or read past.
struct Cut {
    Side side;
    std::size_t bytes, limit;
    std::string text, kept;
};
struct Skipped {
    std::int64_t lastLine;
};
struct UnknownHeader {
    std::string name;
};
struct LateHeader {  // a header below the first row is a comment
    std::string name;
};
struct CommentedRow {  // a '#' line that holds the separator, as a pair would
    char separator;
};
struct QuoteAsText {};  // tab-separated: a quote that opens no quoted field
struct HeaderRowTaken {
    bool francaisNotInCodePage;  // else: its Japanese has no Japanese character
};
struct EmptyWord {
    Side side;
};
struct EmptyRows {  // rows with both words empty, left out; at the first
    std::int64_t count;
};
struct Equivalent {  // a character stored as its standard equivalent; at the first
    Side side;
    char32_t character, stored;
    std::int64_t count;
};
struct LostAccents {  // "?" beside letters in French read from a legacy encoding; at the first
    std::int64_t count;
};
}  // namespace found

struct ImportIssue {
    TextPosition at;
    std::variant<found::TooLong, found::NotInCodePage, found::UndecodableByte, found::ControlCharacter,
                 found::MissingField, found::ExtraField, found::UnclosedQuote, found::TextAfterQuote,
                 found::ColumnsMismatch, found::BadHeader, found::Cut, found::Skipped, found::UnknownHeader,
                 found::LateHeader, found::CommentedRow, found::QuoteAsText, found::HeaderRowTaken,
                 found::EmptyWord, found::EmptyRows, found::Equivalent, found::LostAccents>
        what;

    // The problems come first in the variant.
    bool IsProblem() const { return what.index() <= 9; }
};

// --columns names a column the file doesn't have: a usage error, shown with the columns there
// are (their names when a header row or "#columns:" gave them, else just how many).
struct ColumnsError {
    std::string asked;
    std::vector<std::string> names;
    std::size_t count;
};

// How the rows are laid out: decided on the input before a row is read.
struct Layout {
    char separator = '\t';
    Quoting quoting = Quoting::Tsv;
    bool semicolonGuessed = false;
    bool html = false;
    bool lenient = false;  // columns besides the words are ignored
    std::size_t francais = 0, japonais = 1;
    std::size_t columnsNamed = 0;  // by "#columns:"; 0 without one
    TextPosition columnsAt;
    std::size_t rowsBegin = 0;  // the first row, and its line
    std::int64_t rowsLine = 1;
    bool headerRow = false;           // that row names the columns
    std::vector<ImportIssue> issues;  // the headers', and a header row taken
};

// The first word field that a reading can't give its code page: an escape (TextEncoding.h) for
// a byte that doesn't decode.
struct Misfit {
    TextPosition at;
    Side side = Side::Francais;
    char32_t character = 0;
};

// What the input is read as. For a file with no BOM that isn't UTF-8 and no --encoding, the
// words choose: the reading under which every French field is Windows-1252 and every Japanese
// field Shift-JIS. Decoding without error proves nothing: Windows-1252 "é" and a letter is a
// Shift-JIS pair, and nearly every byte is some Windows-1252 character.
struct ImportPlan {
    TextEncoding encoding = TextEncoding::Utf8;
    bool validUtf8 = true;
    bool chosen = false;  // by the words
    // Neither reading fits (both set), or both do and give different words (neither set).
    bool undecided = false;
    std::optional<Misfit> shiftJis, windows1252;
    TextPosition firstNotUtf8;
    Layout layout;
};

// Throws ColumnsError.
ImportPlan PlanImport(std::string_view text, std::optional<TextEncoding> bom,
                      std::optional<TextEncoding> stated, const ImportOptions& options);

struct ImportResult {
    std::vector<ImportIssue> issues;  // in file order, but for the notes that count
    std::size_t problems = 0;
    std::size_t headerProblems = 0;  // of them, the ones in headers
    std::size_t skippedRows = 0;
    std::size_t cutFields = 0;
    std::int64_t records = 0;

    // Nothing may be written while a problem stands that --skip didn't take out, nor when
    // --skip took out every line: an empty list over the target is never what was meant.
    bool Writable() const
    {
        return headerProblems == 0 && (problems == 0 || (skippedRows > 0 && records > 0));
    }
};

// Receives each record as it is made, zero-filled, in file order.
using RecordSink = std::function<void(const TWordRec& record)>;

// Reads every row once, checks its fields and hands the records of the good ones on: blank
// lines, '#' lines and rows whose two words are empty are no pairs. In a plain file trailing
// empty fields are allowed (spreadsheets write them for columns used elsewhere) and any other
// third field is a problem, since it most often means a separator inside a word. Throws
// MessageError beyond a signed 32-bit count of records.
ImportResult ImportRows(std::string_view text, const ImportPlan& plan, const ImportOptions& options,
                        const RecordSink& sink);

}  // namespace mirvel::convert
