#include "FileIo.h"

#include "InOutError.h"
#include "LargeBuffer.h"
#include "ListReader.h"
#include "StandardInput.h"
#include "os/File.h"

#include <cstdint>
#include <filesystem>
#include <limits>
#include <new>
#include <stdexcept>
#include <system_error>

namespace mirvel::convert {
namespace {

namespace fs = std::filesystem;

fs::path PathOf(const std::string& path) { return fs::u8path(path); }

template <class Fill>
void Allocate(std::string& bytes, std::size_t size, Fill fill)
{
    try {
        fill(bytes, size);
    } catch (const std::bad_alloc&) {
        throw MessageError("メモリが足りません");
    } catch (const std::length_error&) {
        throw MessageError("メモリが足りません");
    }
}

std::string ReadStandardInputWhole()
{
    constexpr std::size_t Chunk = std::size_t{1} << 20;
    std::string bytes;
    for (;;) {
        const std::size_t held = bytes.size();
        Allocate(bytes, held + Chunk, [](std::string& b, std::size_t size) { b.resize(size); });
        const std::size_t n = ReadStandardInput(bytes.data() + held, Chunk);
        bytes.resize(held + n);
        if (n < Chunk) return bytes;
    }
}

}  // namespace

std::string ReadWholeFile(const std::string& path)
{
    if (IsStandardStream(path)) return ReadStandardInputWhole();
    RefusePipe(path, false);
    os::File file = os::File::OpenForReading(path);
    const auto size = static_cast<std::uint64_t>(file.Size());
    if (size > std::numeric_limits<std::size_t>::max() / 2) throw MessageError("メモリが足りません");
    std::string bytes;
    Allocate(bytes, static_cast<std::size_t>(size), [](std::string& b, std::size_t n) {
        b.reserve(n);
        PreferHugePages(b.data(), b.capacity());
        b.resize(n);
    });
    if (file.Read(bytes.data(), bytes.size()) < bytes.size()) throw InOutError(IoReadPastEnd);
    file.Close();
    return bytes;
}

bool IsSameFile(const std::string& first, const std::string& second)
{
    if (IsStandardStream(first) || IsStandardStream(second)) return false;
    std::error_code error;
    return fs::equivalent(PathOf(first), PathOf(second), error) && !error;
}

}  // namespace mirvel::convert
