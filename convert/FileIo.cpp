#include "FileIo.h"

#include "InOutError.h"
#include "LargeBuffer.h"
#include "os/File.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <new>
#include <stdexcept>
#include <system_error>

namespace mirvel::convert {
namespace {

namespace fs = std::filesystem;

fs::path PathOf(const std::string& path) { return fs::u8path(path); }

// The standard streams don't say why an open failed; the file system does.
[[noreturn]] void FailToOpen(const std::string& path)
{
    std::error_code error;
    const fs::path name = PathOf(path);
    const fs::file_status status = fs::status(name, error);
    if (fs::exists(status)) throw InOutError(IoAccessDenied);
    const fs::path folder = name.has_parent_path() ? name.parent_path() : fs::path(".");
    throw InOutError(!path.empty() && fs::is_directory(folder, error) ? IoFileNotFound : IoPathNotFound);
}

}  // namespace

std::string ReadWholeFile(const std::string& path)
{
    std::error_code error;
    if (fs::is_directory(PathOf(path), error)) throw InOutError(IoAccessDenied);
    std::ifstream in(PathOf(path), std::ios::binary);
    if (!in) FailToOpen(path);
    const std::uintmax_t size = fs::file_size(PathOf(path), error);
    if (error) throw InOutError(IoAccessDenied);
    if (size > std::numeric_limits<std::size_t>::max() / 2) throw MessageError(OutOfMemoryMessage);
    std::string bytes;
    try {
        bytes.reserve(static_cast<std::size_t>(size));
        PreferHugePages(bytes.data(), bytes.capacity());
        bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        throw MessageError(OutOfMemoryMessage);
    } catch (const std::length_error&) {
        throw MessageError(OutOfMemoryMessage);
    }
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (static_cast<std::uintmax_t>(in.gcount()) < size) throw InOutError(IoReadPastEnd);
    return bytes;
}

WordFileContents ReadWordListFile(const std::string& path)
{
    std::string bytes = ReadWholeFile(path);
    const std::size_t count = bytes.size() / RecordSize;
    if (count > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw MessageError("ファイルが大きすぎます");
    WordFileContents contents;
    try {
        contents.words.resize(count);
    } catch (const std::bad_alloc&) {
        throw MessageError(OutOfMemoryMessage);
    }
    if (count > 0) std::memcpy(contents.words.data(), bytes.data(), count * RecordSize);
    contents.trailingBytes = bytes.substr(count * RecordSize);
    return contents;
}

void WriteTextFile(const std::string& path, std::string_view bytes)
{
    os::ReplaceFile(path, [&](os::File& file) {
        if (!bytes.empty() && file.Write(bytes.data(), bytes.size()) < bytes.size())
            throw InOutError(IoDiskFull);
    });
}

bool IsSameFile(const std::string& first, const std::string& second)
{
    std::error_code error;
    return fs::equivalent(PathOf(first), PathOf(second), error) && !error;
}

}  // namespace mirvel::convert
