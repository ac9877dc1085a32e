#pragma once

#include "convert/EncodedField.h"
#include "convert/TextEncoding.h"
#include "common/WordRec.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirvel::convert {

// What a record of a word list holds that the programs would read differently from what was
// written, or that an export can't carry. `check` and `export` find a field's damage by the same
// scan (ScanField); each adds kinds of its own.
struct RecordFinding {
    enum Kind {
        // Refusals of an export: with any of these nothing is written.
        Undecodable,    // byteIndex, bytes: bytes that don't decode in the field's code page
        TsvSeparator,   // export: character, a tab, quote or line break that TSV can't carry
        NotInEncoding,  // export: character, which the output encoding lacks
        // Notes: an export writes the record as the programs show it.
        LengthAboveCapacity,  // length: the damaged length byte
        ControlCharacter,     // check: byteIndex, bytes: the one byte
        TrailingPartial,      // check: record: the one it would have been; bytes: what there is of it
    };
    Kind kind = Undecodable;
    std::int64_t record = 0;  // from 1, as the programs count
    Side side = Side::Francais;
    unsigned length = 0;
    std::size_t byteIndex = 0;
    std::string bytes;
    char32_t character = 0;
    std::string text;  // the field's text, for the user to find it

    bool IsRefusal() const { return kind <= NotInEncoding; }
};

RecordFinding& AddFinding(std::vector<RecordFinding>& findings, RecordFinding::Kind kind, std::int64_t record,
                          Side side = Side::Francais, const std::string& text = {});

// A field as the programs read it: a length byte above its capacity, bytes its code page can't
// show, and with `controls` control characters, which no word holds and the importer refuses,
// so that a list made elsewhere is not called clean with a NUL inside a word (tab and line
// breaks pass, as a quoted field may hold them). Returns the field's text, or nothing when
// some of its bytes don't decode.
std::optional<std::string> ScanField(std::vector<RecordFinding>& findings, std::int64_t record, Side side,
                                     unsigned char length, std::string_view bytes, bool controls);

// `check` on a block of records, `first` the number of records[0]: both fields of each, with
// control characters. A list read block by block costs memory for its findings only.
void CheckRecords(const TWordRec* records, std::size_t count, std::int64_t first,
                  std::vector<RecordFinding>& findings);

struct ExportOptions {
    bool csv = false;
    TextEncoding encoding = TextEncoding::Utf8;  // Utf8, Cp932 or Cp1252
    bool bom = false;                            // UTF-8 only
    bool anki = false;  // a text file for Anki: UTF-8, tabs, its headers (csv, encoding and bom unused)
};

struct ExportResult {
    std::string bytes;  // the whole output file
    std::vector<RecordFinding> issues;
    // For Anki: records with an empty French word, which Anki refuses as a note without its
    // first field; counted, with the first one's number, so that a list of many says it once.
    std::int64_t emptyFrancais = 0;
    std::int64_t firstEmptyFrancais = 0;

    std::size_t Refusals() const;
};

// One line per record, French then Japanese, lines ending in CR LF (what spreadsheets on the
// users' Windows expect). A field is refused rather than changed: bytes that don't decode
// would come back as U+FFFD, and a TSV field with a tab, quote or line break would come back
// split or unquoted.
//
// For Anki the lines end in LF, as Anki writes its own text files, after the headers that
// leave it no question: "#separator:tab" and "#html:false" (so that "<" and "&" stay text).
// There is no "#columns:" line and no BOM. Anki maps named columns onto the note type's fields
// by name, which would leave the Japanese side out of a note type whose fields are "表面" and
// "裏面" or "Front" and "Back"; unnamed, the first column goes to the first field and the
// second to the second whatever they are called. The first Anki versions that read headers
// took a BOM as part of the first one, which they then ignored. A field is quoted only where
// it holds a tab, a quote or a line break, and the French one also where it begins with '#',
// as Anki skips a line that does.
//
// A block of records at a time, for a list read block by block: each Add appends its lines to
// result.bytes (the BOM or Anki's headers first), which the caller writes out and clears; the
// issues and refusals gather over all blocks. The bytes of a block with a refusal are not taken
// back: the caller decides what a refusal means for its output.
class ExportWriter {
public:
    explicit ExportWriter(const ExportOptions& options);
    void Add(const TWordRec* records, std::size_t count, std::int64_t first);

    ExportResult result;

private:
    void AppendField(Side side, unsigned char length, std::string_view bytes);

    ExportOptions options_;
    std::int64_t record_ = 0;
};

}  // namespace mirvel::convert
