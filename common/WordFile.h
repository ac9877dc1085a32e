#pragma once

#include "common/WordRec.h"
#include "common/os/File.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace mirvel {

// The one reader of word-list files: whole records, block by block, from a file or from any
// byte source (the converter's standard input). A file's record count is its size div 60 as
// first read, refused beyond a signed 32-bit count ("ファイルが大きすぎます") before anything
// is read; a file that shrinks under the reader ends in code 100. Failures throw InOutError or
// MessageError.
class WordFileReader {
public:
    // Records per read call, about a megabyte: large files load in few system calls, and a
    // command that goes through a list block by block holds one block whatever its length.
    static constexpr std::size_t BlockRecords = 16384;

    // Fills up to `size` bytes, returns how many; fewer only at its end, 0 once there.
    using Source = std::function<std::size_t(void* buffer, std::size_t size)>;
    // Records of a block; `first` is the number (from 1) of records[0].
    using Block = std::function<void(const TWordRec* records, std::size_t count, std::int64_t first)>;

    // The programs open their list for reading and writing, sharing it with other readers and
    // writers, so that a read-only file fails with code 5; the converter only reads its input.
    enum class Access { ReadWrite, ReadOnly };
    WordFileReader(const std::string& path, Access access);
    explicit WordFileReader(Source source);

    // The records a file holds, known before reading; -1 for a source, known at its end only.
    std::int64_t Count() const { return count_; }

    // Reads up to `capacity` records into `records` (one read call for a file); fewer only at
    // the end. A partial record at the end lands after the whole ones and is kept in Trailing().
    std::size_t Read(TWordRec* records, std::size_t capacity);

    // The rest of the list, one block at a time, through a block of the reader's own.
    void ForEachBlock(const Block& onBlock);

    // The bytes of a partial record after the last whole one, once the end was reached.
    const std::string& Trailing() const { return trailing_; }

    void Close();  // reports a failing close of a file

private:
    std::size_t Fill(char* buffer, std::size_t size);

    os::File file_;
    Source source_;
    std::uint64_t left_ = 0;  // of the file's size as first read
    std::int64_t count_ = -1;
    std::int64_t done_ = 0;  // whole records handed out
    bool ended_ = false;
    std::string trailing_;
};

// Reads the rest of a list into a new one: a file in one allocation of exactly its records
// (refused with "メモリが足りません" before anything is read when memory can't hold it), each
// block cleared just before it is read into; a source grows its list block by block.
WordList ReadWords(WordFileReader& reader);

// Reads a whole word-list file as the programs do (Access::ReadWrite) into a new list; the
// caller's own list is untouched until it swaps the result in.
WordList ReadWordFile(const std::string& path);

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
