#pragma once

#include "common/WordRec.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace mirvel::convert {

// Records of a word list, a block at a time: `first` is the number (from 1) of records[0].
using ListBlock = std::function<void(const TWordRec* records, std::size_t count, std::int64_t first)>;

// A word list read block by block, so that memory doesn't grow with the list. "-" is standard
// input. A pipe named any other way, or anything else that isn't a regular file, is refused
// before it is opened (a pipe with no writer would block). Failures throw InOutError or
// MessageError; more records than a signed 32-bit count is "ファイルが大きすぎます".
class ListReader {
public:
    // `passes`: how often the list will be read. Standard input can be read only once, so for
    // more passes it is kept in memory as it comes in.
    explicit ListReader(std::string path, int passes = 1);

    // Reads the whole list from its start; returns the bytes of a partial record at the end.
    std::string Read(const ListBlock& onBlock);

private:
    std::string path_;
    int passes_;
    int done_ = 0;
    std::string kept_;  // standard input, for the passes after the first
};

// Refuses a name that leads to a pipe, with the hint to give it as "-".
void RefusePipe(const std::string& path, bool output);

}  // namespace mirvel::convert
