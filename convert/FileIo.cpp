#include "FileIo.h"

#include "StandardInput.h"

#include <filesystem>
#include <system_error>

namespace mirvel::convert {
namespace {

namespace fs = std::filesystem;

fs::path PathOf(const std::string& path) { return fs::u8path(path); }

}  // namespace

bool IsSameFile(const std::string& first, const std::string& second)
{
    if (IsStandardStream(first) || IsStandardStream(second)) return false;
    std::error_code error;
    return fs::equivalent(PathOf(first), PathOf(second), error) && !error;
}

}  // namespace mirvel::convert
