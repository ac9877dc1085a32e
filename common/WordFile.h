#pragma once

#include "common/WordRec.h"

#include <cstdint>
#include <functional>
#include <string>

namespace mirvel {

// Called right after record `index` was read (the editor adds its French word to its list).
using RecordRead = std::function<void(std::int32_t index, const TWordRec& record)>;

// Reads a whole word-list file into a new list: opened for reading and writing without locking
// others out (so a read-only file fails with code 5), record count = size div 60, records read
// in order, in blocks of up to 16,384 records (about a megabyte) per read call (onRecord runs
// for each record of a block once the block is in; a block that comes up short ends in code
// 100 after the callbacks for its whole records). Throws InOutError; the caller's own list is
// untouched until it swaps the result in. A record count beyond a signed 32-bit count
// ("ファイルが大きすぎます") or beyond memory ("メモリが足りません") is refused with a
// MessageError before the list is filled.
WordList ReadWordFile(const std::string& path, const RecordRead& onRecord = {});

// Writes the first `count` records exactly as they are in memory (60 × count bytes), replacing
// the target atomically: a failure at any step leaves the old file byte for byte as it was.
void WriteWordFile(const std::string& path, const TWordRec* records, std::int32_t count);
inline void WriteWordFile(const std::string& path, const WordList& words)
{
    WriteWordFile(path, words.data(), static_cast<std::int32_t>(words.size()));
}

// Refuses a word list of more records than a signed 32-bit count, which both programs and the
// converter count in: "ファイルが大きすぎます".
void RequireRecordCount(std::int64_t records);

// The existence test both programs make before loading a chosen file.
bool FileExists(const std::string& path);

}  // namespace mirvel
