#include "common/WordFile.h"

#include "common/InOutError.h"
#include "common/os/File.h"

#include <algorithm>
#include <limits>
#include <new>
#include <stdexcept>

namespace mirvel {
namespace {

// Records per read call, about a megabyte: large files load in few system calls.
constexpr std::size_t BlockRecords = 16384;

}  // namespace

WordList ReadWordFile(const std::string& path, const RecordRead& onRecord)
{
    os::File file = os::File::OpenExisting(path);
    const std::int64_t count = file.Size() / static_cast<std::int64_t>(RecordSize);
    RequireRecordCount(count);
    const auto total = static_cast<std::size_t>(count);

    // The whole list is allocated and cleared at once, over huge pages where the system has
    // them (LargeBufferAllocator), so that a large list costs a few page faults instead of one
    // per 4 KiB.
    WordList words;
    try {
        words.resize(total);
    } catch (const std::bad_alloc&) {
        throw MessageError(OutOfMemoryMessage);
    } catch (const std::length_error&) {
        throw MessageError(OutOfMemoryMessage);
    }
    for (std::size_t first = 0; first < total;) {
        const std::size_t wanted = std::min(BlockRecords, total - first);
        const std::size_t whole = file.Read(&words[first], wanted * RecordSize) / RecordSize;
        if (onRecord) {
            for (std::size_t i = first; i < first + whole; ++i)
                onRecord(static_cast<std::int32_t>(i), words[i]);
        }
        if (whole < wanted) throw InOutError(IoReadPastEnd);
        first += wanted;
    }
    file.Close();
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
