#include "convert/ListReader.h"

#include "common/InOutError.h"
#include "convert/StandardInput.h"
#include "common/WordFile.h"
#include "common/os/File.h"

#include <cstring>
#include <vector>

namespace mirvel::convert {
namespace {

// Records per read: few system calls, and about a megabyte whatever the list's size.
constexpr std::size_t BlockRecords = 16384;

// Hands out whole records from what `fill` brings in, and keeps the partial one at the end.
template <class Fill>
std::string ReadBlocks(const Fill& fill, const ListBlock& onBlock)
{
    WordList block(BlockRecords);  // aligned: the system copies into it several times faster
    auto* bytes = reinterpret_cast<char*>(block.data());
    const std::size_t capacity = BlockRecords * RecordSize;
    std::size_t held = 0;
    std::int64_t first = 1;
    for (;;) {
        const std::size_t n = fill(bytes + held, capacity - held);
        held += n;
        const std::size_t whole = held / RecordSize;
        if (whole > 0 && (held == capacity || n == 0)) {
            RequireRecordCount(first - 1 + static_cast<std::int64_t>(whole));
            onBlock(block.data(), whole, first);
            first += static_cast<std::int64_t>(whole);
            const std::size_t rest = held - whole * RecordSize;
            std::memmove(bytes, bytes + whole * RecordSize, rest);
            held = rest;
        }
        if (n == 0) return std::string(bytes, held);
    }
}

}  // namespace

ListReader::ListReader(std::string path, int passes) : path_(std::move(path)), passes_(passes) {}

std::string ListReader::Read(const ListBlock& onBlock)
{
    const int pass = ++done_;
    if (IsStandardStream(path_)) {
        if (pass > 1) {
            std::size_t at = 0;
            return ReadBlocks(
                [&](char* buffer, std::size_t size) {
                    const std::size_t n = std::min(size, kept_.size() - at);
                    std::memcpy(buffer, kept_.data() + at, n);
                    at += n;
                    return n;
                },
                onBlock);
        }
        return ReadBlocks(
            [&](char* buffer, std::size_t size) {
                const std::size_t n = ReadStandardInput(buffer, size);
                if (passes_ > 1) kept_.append(buffer, n);
                return n;
            },
            onBlock);
    }

    RefusePipe(path_, false);
    os::File file = os::File::OpenForReading(path_);
    // The size read first decides: the list is refused before a block is read, and a file that
    // grows meanwhile is read as it was.
    const std::int64_t size = file.Size();
    RequireRecordCount(size / static_cast<std::int64_t>(RecordSize));
    auto left = static_cast<std::uint64_t>(size);
    std::string trailing = ReadBlocks(
        [&](char* buffer, std::size_t wanted) {
            const std::size_t asked = static_cast<std::size_t>(std::min<std::uint64_t>(wanted, left));
            const std::size_t n = asked > 0 ? file.Read(buffer, asked) : 0;
            if (n < asked) throw InOutError(IoReadPastEnd);  // the file shrank under us
            left -= n;
            return n;
        },
        onBlock);
    file.Close();
    return trailing;
}

void RefusePipe(const std::string& path, bool output)
{
    if (!os::IsPipe(path)) return;
    throw MessageError(output ? "パイプには書き出せません。標準出力に書き出すには -o - と指定してください"
                              : "パイプからは読み込めません。標準入力から読み込むには - と指定してください");
}

}  // namespace mirvel::convert
