#pragma once

// The platform file layer: the only place that talks to the operating system about files.
// Every failure throws InOutError with the Windows-style code (POSIX errors are mapped:
// not found 2, missing folder / bad or too long name 3, too many open files 4, access denied or
// read-only target 5, and, so that they can't pass for those, an I/O error 1117 and a full disk
// 112 outside a write; a file grown past the file-size limit is a full disk too; anything else
// keeps its own number).
//
// Only regular files are read or written: a pipe, a device or a socket is refused with code 5
// before it is opened for reading (a pipe with no writer would block the reader, and a device
// never ends), and a save never replaces one.

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
    // Opens an existing file for reading alone, for the converter, which never writes its input.
    static File OpenForReading(const std::string& path);

    std::int64_t Size();
    // The whole file from its start, for a file read at once (the settings, the old bytes of an
    // in-place save); one that comes up shorter than its size fails with code 100, one beyond
    // memory with "メモリが足りません".
    std::string ReadAll();
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
    std::string* memory_ = nullptr;  // set: writes collect here, nothing else is done
};

// Writes a file in the target's folder through `write`, flushes it and puts it in place of
// `path` in one rename. An existing target is checked for write access first (code 5 when it
// is read-only), its permissions are kept, and a symbolic link is followed to the file it
// names. Where the folder refuses a new file but the target itself is writable, the target is
// written in place instead: `write` then runs into memory first, the old bytes are kept in
// memory, room for the whole new file is reserved before its first byte is overwritten (a file
// system that can't reserve refuses with code 101 and nothing changes), and a failing step
// writes the old bytes back and cuts the file to its old size before the failure is thrown.
// On any failure the temporary file is removed and the target is as it was, and the first
// failure is thrown; a failing close after a failing write reports the close.
void ReplaceFile(const std::string& path, const std::function<void(File&)>& write);

bool Exists(const std::string& path);  // a file (not a folder) is there

// Both names lead to one existing file, links followed (the converter refuses to write over
// its own input).
bool IsSameFile(const std::string& first, const std::string& second);

// Throws code 5 when `path` leads (links followed) to something that is there but isn't a
// regular file; a missing name passes, for the open to report.
void RequireRegularFile(const std::string& path);

// The name leads to a pipe (a FIFO, a shell's <(...), /dev/stdin on a pipe), which the converter
// reads only when it is given as "-".
bool IsPipe(const std::string& path);

// A write beyond the file-size limit (ulimit -f) fails with its error like any other failing
// write instead of ending the program halfway through a save. Call it first thing in main().
void IgnoreFileSizeLimitSignal();

// Fault injection for tests: make the nth call (1-based, counted from now) of an operation fail
// with the given platform error number (errno here, GetLastError() on Windows). Open counts every
// file the layer opens or creates (ReplaceFile's temporary file, or the target it writes in
// place); ReplaceFile's write-access check is not an open. An injected Close fault still closes.
// Reserve and Truncate are the in-place save's reservation of room and its cut to the new size;
// putting the old bytes back after a failure is never counted.
enum class Op { Open, Read, Write, Flush, Rename, Close, Reserve, Truncate };
void InjectFault(Op op, int nth, int platformError);
// A short transfer instead of an error: the nth read or write moves only `bytes` bytes.
void InjectShortTransfer(Op op, int nth, std::size_t bytes);
void ClearFaults();

// The code an error number maps to, for this platform.
int MapPlatformError(int platformError, const std::string& path);

}  // namespace mirvel::os
