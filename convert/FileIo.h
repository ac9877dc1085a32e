#pragma once

#include "WordRec.h"

#include <string>
#include <string_view>

namespace mirvel::convert {

// The converter only ever reads its input, so it opens it for reading alone: unlike the two
// programs, it can export or check a read-only word list. Failures throw InOutError with the
// common codes (2 not found, 3 bad path, 5 access denied or a folder, 100 a short read) or a
// MessageError when the file can't fit in memory.
std::string ReadWholeFile(const std::string& path);

struct WordFileContents {
    WordList words;
    std::string trailingBytes;  // a partial record at the end, which the programs ignore
};

// A word-list file; more records than a signed 32-bit count is refused ("ファイルが大きすぎます").
WordFileContents ReadWordListFile(const std::string& path);

// Replaces the target atomically through the common file layer (old file intact on failure).
void WriteTextFile(const std::string& path, std::string_view bytes);

// Both names lead to one existing file (links followed).
bool IsSameFile(const std::string& first, const std::string& second);

}  // namespace mirvel::convert
