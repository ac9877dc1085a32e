#pragma once

#include "convert/Side.h"
#include "convert/TextPosition.h"
#include "common/WordRec.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace mirvel::convert {

struct ImportOptions {
    bool csv = false;   // RFC 4180 with its quoting; else tab-separated, quotes as they are
    bool skip = false;  // write the good pairs and list the lines left out
    bool cut = false;   // cut over-long fields at a character boundary and list each cut
};

struct ImportIssue {
    enum Kind {
        // Problems: with any of these nothing is written unless the line is skipped.
        TooLong,          // side, bytes, limit, text
        NotInCodePage,    // side, character
        UndecodableByte,  // side, byte
        MissingJaponais,
        ExtraField,  // text: the first extra field that isn't empty
        UnclosedQuote,
        TextAfterQuote,
        // What --cut and --skip did.
        Cut,      // side, bytes, limit, text, kept
        Skipped,  // at.line to lastLine
    };
    Kind kind = TooLong;
    TextPosition at;
    long lastLine = 0;
    Side side = Side::Francais;
    std::size_t bytes = 0;
    std::size_t limit = 0;
    char32_t character = 0;
    unsigned char byte = 0;
    std::string text;
    std::string kept;

    bool IsProblem() const { return kind != Cut && kind != Skipped; }
};

struct ImportResult {
    WordList words;                   // zero-filled records, one per good line, in file order
    std::vector<ImportIssue> issues;  // in file order
    std::size_t problems = 0;
    std::size_t skippedRows = 0;
    std::size_t cutFields = 0;

    // Nothing may be written while a problem stands that --skip didn't take out, nor when
    // --skip took out every line: an empty list over the target is never what was meant.
    bool Writable() const { return problems == 0 || (skippedRows > 0 && !words.empty()); }
};

// Checks every line of converter text (Utf8.h) and builds the records of the good ones: one
// pair a line, French then Japanese, blank lines skipped. Trailing empty fields are allowed
// (spreadsheets write them for columns used elsewhere); any other third field is a problem.
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

}  // namespace mirvel::convert
