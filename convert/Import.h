#pragma once

#include "convert/Side.h"
#include "convert/TextEncoding.h"
#include "convert/TextPosition.h"
#include "common/WordRec.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirvel::convert {

struct ImportOptions {
    // A CSV (by its name or --csv): a comma, or a semicolon where the first rows split on that
    // and not on commas. Else a tab. The file's "#separator:" goes before either, --separator
    // before all. Fields may be quoted (RFC 4180) unless the separator is a tab, and whatever
    // it is in a file with Anki's headers, as Anki writes them.
    bool csv = false;
    std::optional<char> separator;
    bool header = false;           // the first row names the columns and is not a pair
    // None, or the French and the Japanese column, each a number from 1 or a column's name.
    std::vector<std::string> columns;
    bool html = false;  // word fields are HTML, as "#html:true" says
    bool skip = false;  // write the good pairs and list the lines left out
    bool cut = false;   // cut over-long fields at a character boundary and list each cut
};

struct ImportIssue {
    enum Kind {
        // Problems: with any of these nothing is written unless the line is skipped.
        TooLong,           // side, bytes, limit, text
        NotInCodePage,     // side, character
        UndecodableByte,   // side, byte
        ControlCharacter,  // side, character
        MissingFrancais,   // column
        MissingJaponais,   // column
        ExtraField,        // text: the first extra field that isn't empty
        UnclosedQuote,
        TextAfterQuote,
        // A row that disagrees with "#columns:", once, at that header's line: column (how many
        // it names), bytes (how many the row has), lastLine (the row's line). Every row that
        // disagrees is refused.
        ColumnsMismatch,
        BadHeader,  // text: the key, kept: its value. No --skip takes this one out.
        // What --cut and --skip did, and what was read past.
        Cut,            // side, bytes, limit, text, kept
        Skipped,        // at.line to lastLine
        UnknownHeader,  // text: the key
        LateHeader,     // text: the key; a header below the first row is a comment
        CommentedRow,   // a '#' line that holds the separator, as a pair would
    };
    Kind kind = TooLong;
    TextPosition at;
    long lastLine = 0;
    Side side = Side::Francais;
    std::size_t column = 0;
    std::size_t bytes = 0;
    std::size_t limit = 0;
    char32_t character = 0;
    unsigned char byte = 0;
    std::string text;
    std::string kept;

    bool IsProblem() const { return kind < Cut; }
};

struct ImportResult {
    WordList words;                   // zero-filled records, one per good line, in file order
    std::vector<ImportIssue> issues;  // in file order, but for a disagreement with #columns:
    std::size_t problems = 0;
    std::size_t headerProblems = 0;  // of them, the ones in headers
    std::size_t skippedRows = 0;
    std::size_t cutFields = 0;
    char separator = '\t';          // what the rows were read with
    bool semicolonGuessed = false;  // a CSV read with ';' since its first rows split on that

    // Nothing may be written while a problem stands that --skip didn't take out, nor when
    // --skip took out every line: an empty list over the target is never what was meant.
    bool Writable() const
    {
        return headerProblems == 0 && (problems == 0 || (skippedRows > 0 && !words.empty()));
    }
};

// --columns names a column the file doesn't have: a usage error, shown with the columns there
// are (their names when a header row or "#columns:" gave them, else just how many).
class ColumnsError : public std::runtime_error {
public:
    ColumnsError(std::string askedFor, std::vector<std::string> namesThere, std::size_t countThere)
        : std::runtime_error("no such column"), asked(std::move(askedFor)), names(std::move(namesThere)),
          count(countThere)
    {
    }
    std::string asked;
    std::vector<std::string> names;
    std::size_t count;
};

// Checks every row of converter text (Utf8.h) and builds the records of the good ones: one
// pair a row, blank lines skipped, '#' lines never rows (Anki's headers among them are read).
// The words are the first two columns that no header gives to tags, deck, note type or guid,
// French first, or the columns the options name. In a plain file trailing empty fields are
// allowed (spreadsheets write them for columns used elsewhere) and any other third field is a
// problem, since it most often means a separator inside a word; with Anki's headers, a header
// row or named columns the other columns are ignored. Throws ColumnsError.
ImportResult ImportText(std::string_view text, const ImportOptions& options);

// The same over a text that comes in chunks ending at line breaks (InputChunks.h), so that only
// one chunk of the input is held besides the records. `lines`: at most how many lines there
// are, for the records to be allocated once. A CSV row whose quoted field runs past its chunk
// waits for the next one.
class Importer;
class ChunkedImport {
public:
    ChunkedImport(const ImportOptions& options, std::size_t lines);
    ~ChunkedImport();
    ChunkedImport(const ChunkedImport&) = delete;
    ChunkedImport& operator=(const ChunkedImport&) = delete;

    void Feed(std::string_view text, bool last);
    ImportResult Finish();

private:
    std::unique_ptr<Importer> importer_;
};

// The first character of a word field that an encoding, read as, can't give its code page:
// an escape (Utf8.h) for a byte that doesn't decode.
struct EncodingMisfit {
    TextPosition at;
    Side side = Side::Francais;
    char32_t character = 0;
};

// `chosen` unset: when both misfits are set, neither encoding fits; when neither is, both fit
// and give different words.
struct EncodingVerdict {
    std::optional<TextEncoding> chosen;
    std::optional<EncodingMisfit> shiftJis;
    std::optional<EncodingMisfit> windows1252;
};

// For a file that has no BOM and isn't UTF-8: reads its chunks (raw bytes, InputChunks.h) as
// Shift-JIS and as Windows-1252 side by side, one chunk at a time, and takes the one under
// which every French field is Windows-1252 and every Japanese field Shift-JIS. Decoding without
// error proves nothing: Windows-1252 "é" and a letter is a Shift-JIS pair, and nearly every
// byte is some Windows-1252 character. Where both fit, they must give the same words. A
// reading that can no longer fit stops being decoded. Throws ColumnsError when --columns names
// a column that neither reading has.
class EncodingChoice {
public:
    explicit EncodingChoice(const ImportOptions& options);
    ~EncodingChoice();
    EncodingChoice(const EncodingChoice&) = delete;
    EncodingChoice& operator=(const EncodingChoice&) = delete;

    void Feed(std::string_view bytes, bool last);
    EncodingVerdict Finish();

private:
    struct Reading;
    std::unique_ptr<Reading> shiftJis_;
    std::unique_ptr<Reading> windows1252_;
};

}  // namespace mirvel::convert
