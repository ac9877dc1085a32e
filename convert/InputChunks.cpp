#include "convert/InputChunks.h"

#include "convert/StandardInput.h"
#include "common/os/File.h"

#include <cstring>

namespace mirvel::convert {
namespace {

constexpr std::size_t ChunkBytes = std::size_t{1} << 20;

// Where the chunk ends in `held`: just after its last line feed; 0 when there is none.
std::size_t ChunkEnd(std::string_view held, std::size_t unitSize, bool bigEndian)
{
    if (unitSize == 1) {
        for (std::size_t at = held.size(); at > 0; --at)
            if (held[at - 1] == '\n') return at;
        return 0;
    }
    for (std::size_t at = held.size() & ~std::size_t{1}; at >= 2; at -= 2) {
        const char first = held[at - 2];
        const char second = held[at - 1];
        if (bigEndian ? first == 0 && second == '\n' : first == '\n' && second == 0) return at;
    }
    return 0;
}

}  // namespace

InputChunks::InputChunks(std::string path) : path_(std::move(path)) {}

void InputChunks::Read(const std::function<void(std::string_view, bool)>& onChunk, std::size_t unitSize,
                       bool bigEndian)
{
    std::function<std::size_t(char*, std::size_t)> fill;
    os::File file;
    std::size_t replayed = 0;
    if (IsStandardStream(path_) && readOnce_) {
        fill = [&](char* buffer, std::size_t size) {
            const std::size_t n = std::min(size, kept_.size() - replayed);
            std::memcpy(buffer, kept_.data() + replayed, n);
            replayed += n;
            return n;
        };
    } else if (IsStandardStream(path_)) {
        fill = [&](char* buffer, std::size_t size) {
            const std::size_t n = ReadStandardInput(buffer, size);
            kept_.append(buffer, n);
            return n;
        };
    } else {
        RefusePipe(path_, false);
        file = os::File::OpenForReading(path_);
        fill = [&](char* buffer, std::size_t size) { return file.Read(buffer, size); };
    }
    readOnce_ = true;

    std::string held(ChunkBytes, '\0');
    std::size_t size = 0;
    for (;;) {
        if (size == held.size()) held.resize(held.size() * 2);  // a line longer than a chunk
        const std::size_t n = fill(held.data() + size, held.size() - size);
        size += n;
        if (n == 0) {
            onChunk(std::string_view(held.data(), size), true);
            break;
        }
        if (size < held.size()) continue;
        const std::size_t end = ChunkEnd(std::string_view(held.data(), size), unitSize, bigEndian);
        if (end == 0) continue;
        onChunk(std::string_view(held.data(), end), false);
        std::memmove(held.data(), held.data() + end, size - end);
        size -= end;
    }
    if (file.IsOpen()) file.Close();
}

std::size_t LineFeedCount(std::string_view text)
{
    std::size_t count = 0;
    if (text.empty()) return count;
    const char* const end = text.data() + text.size();
    for (const char* at = text.data(); (at = static_cast<const char*>(std::memchr(at, '\n', end - at))); ++at)
        ++count;
    return count;
}

std::size_t LoneCarriageReturnCount(std::string_view text)
{
    std::size_t count = 0;
    if (text.empty()) return count;
    const char* const end = text.data() + text.size();
    for (const char* at = text.data(); (at = static_cast<const char*>(std::memchr(at, '\r', end - at))); ++at)
        if (at + 1 == end || at[1] != '\n') ++count;
    return count;
}

}  // namespace mirvel::convert
