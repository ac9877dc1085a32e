#pragma once

// The platform file layer: the only place that talks to the operating system about files.
// Every failure throws InOutError with the Windows-style code (POSIX errors are mapped:
// not found 2, missing folder / bad or too long name 3, too many open files 4, access denied or
// read-only target 5, and, so that they can't pass for those, an I/O error 1117 and a full disk
// 112 outside a write; anything else keeps its own number).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace mirvel::os {

class File {
public:
    File() = default;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();  // closes quietly; call Close() to learn of a failing close

    // Opens an existing file for reading and writing, sharing it with other readers and writers.
    static File OpenExisting(const std::string& path);

    std::int64_t Size();
    // Returns the bytes read; fewer than asked only at the end of the file.
    std::size_t Read(void* buffer, std::size_t size);
    // Returns the bytes stored; fewer than asked means the disk filled up (a full disk is not
    // an error here).
    std::size_t Write(const void* buffer, std::size_t size);
    void Flush();  // to the disk, not only to the system's cache
    void Close();
    bool IsOpen() const;

private:
    friend struct FileAdopter;  // the platform layer's own way to wrap a handle it opened
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

// Writes a file in the target's folder through `write`, flushes it and puts it in place of
// `path` in one rename. An existing target is checked for write access first (code 5 when it
// is read-only), its permissions are kept, and a symbolic link is followed to the file it
// names. Where the folder refuses a new file but the target itself is writable, the target is
// written in place instead. On any failure the temporary file is removed and the target is
// untouched (in place: as far as the platform allows), and the first failure is thrown; a
// failing close after a failing write reports the close.
void ReplaceFile(const std::string& path, const std::function<void(File&)>& write);

bool Exists(const std::string& path);  // a file (not a folder) is there

// Fault injection for tests: make the nth call (1-based, counted from now) of an operation fail
// with the given platform error number (errno here, GetLastError() on Windows). Open counts every
// file the layer opens or creates (ReplaceFile's temporary file, or the target it writes in
// place); ReplaceFile's write-access check is not an open. An injected Close fault still closes.
enum class Op { Open, Read, Write, Flush, Rename, Close };
void InjectFault(Op op, int nth, int platformError);
// A short transfer instead of an error: the nth read or write moves only `bytes` bytes.
void InjectShortTransfer(Op op, int nth, std::size_t bytes);
void ClearFaults();

// The code an error number maps to, for this platform.
int MapPlatformError(int platformError, const std::string& path);

}  // namespace mirvel::os
