#pragma once

#include "convert/Side.h"
#include "common/WordRec.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mirvel::convert {

struct CheckFinding {
    enum Kind {
        LengthAboveCapacity,  // length
        Undecodable,          // byteIndex, bytes
        TrailingPartial,      // record: the one it would have been; bytes.size(): how much of it
        ControlCharacter,     // byteIndex, bytes: the one byte
    };
    Kind kind = LengthAboveCapacity;
    std::int64_t record = 0;  // from 1
    Side side = Side::Francais;
    unsigned length = 0;
    std::size_t byteIndex = 0;
    std::string bytes;
};

struct CheckReport {
    std::int64_t recordCount = 0;
    std::vector<CheckFinding> findings;

    bool Clean() const { return findings.empty(); }
};

// What a word-list file holds that the programs would read differently from what was written:
// damaged length bytes, bytes their code page can't show, and a partial record at the end
// (which both programs ignore and the editor's next save drops). Also control characters,
// which no word holds and the importer refuses, so that a list made elsewhere is not called
// clean with a NUL inside a word. Tab and line breaks pass, as a quoted field may hold them.
// A block of records at a time, for a list read block by block: memory grows with the
// findings, not with the list.
class Checker {
public:
    void Add(const TWordRec* records, std::size_t count, std::int64_t first);
    CheckReport Finish(const std::string& trailingBytes);

private:
    CheckReport report_;
};

}  // namespace mirvel::convert
