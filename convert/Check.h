#pragma once

#include "convert/Side.h"
#include "common/WordRec.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirvel::convert {

// What a record of a word list holds that the programs would read differently from what was
// written, or that an export can't carry. `check` and `export` find the first kinds by the
// same scan (ScanField); the others are one command's own.
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

}  // namespace mirvel::convert
