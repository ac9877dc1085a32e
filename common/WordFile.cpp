#include "common/WordFile.h"

#include "common/InOutError.h"

#include <algorithm>
#include <limits>
#include <new>
#include <stdexcept>

namespace mirvel {
namespace {

// The room to reserve for a file's records. Where the list is given huge pages, only its whole
// 2 MiB pages are, and the last part of a list in ordinary 4 KiB pages costs as much again as
// all the huge pages before it (on a virtual machine a page fault costs about 15 us: 1,000,000
// records read in 6 ms against 12 ms), so a large list is given room to the end of its last huge
// page. The room past the records is never touched before the list grows into it.
std::size_t RoomFor(std::size_t records)
{
#if defined(__linux__)
    constexpr std::size_t HugePage = std::size_t{2} << 20;
    const std::size_t bytes = records * RecordSize;
    // The allocator starts a buffer of 4 MiB or more on a huge page boundary.
    if (records > 0 && bytes / RecordSize == records && bytes >= 2 * HugePage) {
        const std::size_t wholePages = (bytes + HugePage - 1) / HugePage * HugePage;
        if (wholePages > bytes) return (wholePages + RecordSize - 1) / RecordSize;
    }
#endif
    return records;
}

}  // namespace

WordFileReader::WordFileReader(const std::string& path, Access access)
    : file_(access == Access::ReadWrite ? os::File::OpenExisting(path) : os::File::OpenForReading(path))
{
    const std::int64_t size = file_.Size();
    count_ = size / static_cast<std::int64_t>(RecordSize);
    RequireRecordCount(count_);
    left_ = static_cast<std::uint64_t>(size);
}

WordFileReader::WordFileReader(Source source) : source_(std::move(source)) {}

std::size_t WordFileReader::Fill(char* buffer, std::size_t size)
{
    if (source_) return source_(buffer, size);
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(size, left_));
    const std::size_t n = wanted > 0 ? file_.Read(buffer, wanted) : 0;
    if (n < wanted) throw InOutError(IoReadPastEnd);
    left_ -= n;
    return n;
}

std::size_t WordFileReader::Read(TWordRec* records, std::size_t capacity)
{
    auto* bytes = reinterpret_cast<char*>(records);
    const std::size_t wanted = capacity * RecordSize;
    std::size_t held = 0;
    while (!ended_ && held < wanted) {
        const std::size_t n = Fill(bytes + held, wanted - held);
        ended_ = n == 0;
        held += n;
    }
    const std::size_t whole = held / RecordSize;
    if (ended_) trailing_.assign(bytes + whole * RecordSize, held - whole * RecordSize);
    done_ += static_cast<std::int64_t>(whole);
    RequireRecordCount(done_);
    return whole;
}

void WordFileReader::ForEachBlock(const Block& onBlock)
{
    WordList block(BlockRecords);  // aligned: the system copies into it several times faster
    while (!ended_) {
        const std::int64_t first = done_ + 1;
        const std::size_t count = Read(block.data(), BlockRecords);
        if (count > 0) onBlock(block.data(), count, first);
    }
}

void WordFileReader::Close()
{
    if (file_.IsOpen()) file_.Close();
}

WordList ReadWords(WordFileReader& reader)
{
    // A file's list is allocated at once, over huge pages where the system has them
    // (LargeBufferAllocator), so that a large list costs a few page faults instead of one per
    // 4 KiB (RoomFor). Each block is cleared just before it is read into, while it is in the cache, so
    // that the list goes out to memory once rather than twice.
    WordList words;
    if (reader.Count() >= 0) {
        try {
            words.reserve(RoomFor(static_cast<std::size_t>(reader.Count())));
        } catch (const std::bad_alloc&) {
            throw MessageError(OutOfMemoryMessage);
        } catch (const std::length_error&) {
            throw MessageError(OutOfMemoryMessage);
        }
    }
    for (;;) {
        const std::size_t first = words.size();
        const std::size_t wanted =
            reader.Count() >= 0
                ? std::min(WordFileReader::BlockRecords, static_cast<std::size_t>(reader.Count()) - first)
                : WordFileReader::BlockRecords;
        if (wanted == 0) break;
        words.resize(first + wanted);
        const std::size_t got = reader.Read(&words[first], wanted);
        words.resize(first + got);
        if (got < wanted) break;
    }
    return words;
}

WordList ReadWordFile(const std::string& path)
{
    WordFileReader reader(path, WordFileReader::Access::ReadWrite);
    WordList words = ReadWords(reader);
    reader.Close();
    return words;
}

void WriteWordFile(const std::string& path, const TWordRec* records, std::int32_t count)
{
    const std::size_t bytes = count > 0 ? static_cast<std::size_t>(count) * RecordSize : 0;
    os::ReplaceFile(path, [&](os::File& file) {
        if (bytes > 0 && file.Write(records, bytes) < bytes) throw InOutError(IoDiskFull);
    });
}

void RequireRecordCount(std::int64_t records)
{
    if (records > std::numeric_limits<std::int32_t>::max()) throw MessageError("ファイルが大きすぎます");
}

bool FileExists(const std::string& path) { return os::Exists(path); }

}  // namespace mirvel
