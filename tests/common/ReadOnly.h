#pragma once

// Read-only files that refuse writers even here, where the tests run as root.
//
// Linux: mode 0444, and the access runs in a child that has given up root's override of file
// modes. Windows: the read-only attribute, which binds every process, administrators included,
// so the access runs in the test itself. (Wine keeps that attribute as mode 0444, so it binds
// there only when Wine itself runs without root's override, as scripts/test-windows arranges.)

#include <functional>
#include <string>
#include <utility>

#ifdef _WIN32
#include <filesystem>
#include "common/os/Win32Api.h"
#else
#include "tests/common/ChildProcess.h"
#include <sys/stat.h>
#endif

namespace mirvel::test {

inline bool SetReadOnly(const std::string& path, bool readOnly)
{
#ifdef _WIN32
    const std::wstring wide = std::filesystem::u8path(path).wstring();
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    const DWORD wanted =
        readOnly ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~FILE_ATTRIBUTE_READONLY;
    return ::SetFileAttributesW(wide.c_str(), wanted) != 0;
#else
    return ::chmod(path.c_str(), readOnly ? 0444 : 0644) == 0;
#endif
}

// Read-only while it lives: a temporary folder can't remove a read-only file on Windows.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(std::string path) : path_(std::move(path)), applied_(SetReadOnly(path_, true)) {}
    ~ReadOnlyFile() { SetReadOnly(path_, false); }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool Applied() const { return applied_; }

private:
    std::string path_;
    bool applied_;
};

// Runs `body` where read-only files refuse writers and returns its result (0 to 254; 255 when
// it threw).
inline int RunBoundByReadOnly(const std::function<int()>& body)
{
#ifdef _WIN32
    try {
        return body();
    } catch (...) {
        return 255;
    }
#else
    return RunInChild([&] {
        DropFileOverride();
        return body();
    });
#endif
}

}  // namespace mirvel::test
