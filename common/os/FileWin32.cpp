#include "common/os/File.h"

#include "common/InOutError.h"
#include "common/os/Internal.h"
#include "common/os/Utf16.h"

#include <algorithm>
#include <cwctype>
#include <exception>
#include <optional>
#include <random>
#include <tuple>

namespace mirvel::os {

struct FileAdopter {
    static File Adopt(HANDLE handle)
    {
        File file;
        file.handle_ = handle;
        return file;
    }
    static File InMemory(std::string& sink)
    {
        File file;
        file.memory_ = &sink;
        return file;
    }
};

namespace {

constexpr DWORD ShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD MaxTransfer = 1u << 30;

[[noreturn]] void Fail(DWORD error, const std::string& path)
{
    throw InOutError(MapPlatformError(static_cast<int>(error), path));
}

detail::Injected CountCall(Op op)
{
    detail::Injected injected = detail::NextCall(op);
    if (injected.platformError != 0) Fail(static_cast<DWORD>(injected.platformError), {});
    return injected;
}

bool IsFullDisk(DWORD error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

// A full disk is a short write, which the caller reports as such; any other failure throws.
std::size_t WriteFailed(DWORD error, std::size_t done)
{
    if (!IsFullDisk(error)) Fail(error, {});
    return done;
}

bool StartsWithPipePrefix(const std::wstring& path)
{
    if (path.size() < 9) return false;
    std::wstring head = path.substr(0, 9);
    for (auto& c : head) c = c == L'/' ? L'\\' : static_cast<wchar_t>(::towlower(c));
    return head == L"\\\\.\\pipe\\" || head == L"\\\\?\\pipe\\";
}

// Whether an existing name is something other than a regular file: a folder, a device (NUL,
// CON, COM1, also with an extension or in a folder), a pipe. A pipe is told by its name alone:
// opening one would take an instance from the program that serves it.
bool IsSomethingElse(const std::wstring& path)
{
    if (StartsWithPipePrefix(path)) return true;
    const HANDLE handle = ::CreateFileW(path.c_str(), 0, ShareReadWrite | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool disk = ::GetFileType(handle) == FILE_TYPE_DISK;
    const bool folder = disk && ::GetFileInformationByHandle(handle, &info) &&
                        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    ::CloseHandle(handle);
    return !disk || folder;
}

std::wstring WidePath(const std::string& path)
{
    auto wide = Utf16FromUtf8(path);
    if (!wide) throw InOutError(IoPathNotFound);
    return *std::move(wide);
}

// Like CreateFileW, with an injected fault failing it the same way.
HANDLE OpenCounted(const std::wstring& path, DWORD access, DWORD share, DWORD disposition)
{
    const detail::Injected injected = detail::NextCall(Op::Open);
    if (injected.platformError != 0) {
        ::SetLastError(static_cast<DWORD>(injected.platformError));
        return INVALID_HANDLE_VALUE;
    }
    return ::CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Opens an existing regular file; anything else is refused before it is opened and again on
// the handle itself.
HANDLE OpenRegular(const std::string& path, DWORD access)
{
    const std::wstring wide = WidePath(path);
    if (IsSomethingElse(wide)) throw InOutError(IoAccessDenied);
    const HANDLE handle = OpenCounted(wide, access, ShareReadWrite, OPEN_EXISTING);
    if (handle == INVALID_HANDLE_VALUE) Fail(::GetLastError(), path);
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        throw InOutError(IoAccessDenied);
    }
    return handle;
}

bool SetEnd(HANDLE handle, std::int64_t size)
{
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = size;
    return ::SetFileInformationByHandle(handle, FileEndOfFileInfo, &end, sizeof end);
}

// Room for the new file, taken before any old byte is overwritten, so that a full disk fails
// here and not half-way through the old file: the clusters set aside, then the file grown over
// them (a grown file that isn't sparse has its clusters at once). A file system that can't do
// either is refused as full: writing over the old file there could not be undone.
// What a file system (or Wine) answers for an information class it doesn't have.
bool Unsupported(DWORD error)
{
    return error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_PARAMETER ||
           error == ERROR_INVALID_FUNCTION || error == ERROR_CALL_NOT_IMPLEMENTED;
}

void Reserve(HANDLE handle, std::size_t size, std::size_t oldSize)
{
    DWORD error = static_cast<DWORD>(detail::NextCall(Op::Reserve).platformError);
    if (error == 0 && size > oldSize) {
        FILE_ALLOCATION_INFO allocation{};
        allocation.AllocationSize.QuadPart = static_cast<LONGLONG>(size);
        if (!::SetFileInformationByHandle(handle, FileAllocationInfo, &allocation, sizeof allocation))
            error = ::GetLastError();
        if (Unsupported(error)) error = 0;  // growing the file below still reserves its room
        if (error == 0 && !SetEnd(handle, static_cast<std::int64_t>(size))) error = ::GetLastError();
    }
    if (error == 0) return;
    SetEnd(handle, static_cast<std::int64_t>(oldSize));
    if (IsFullDisk(error) || Unsupported(error)) throw InOutError(IoDiskFull);
    Fail(error, {});
}

// The way back after a failed in-place write, never counted by the fault seam: the old bytes
// written again and the file cut to its old size, through the open handle while there is one,
// else through the target opened anew. What can't be put back is left as it is; the failure
// that started it is the one reported.
void PutBack(HANDLE handle, const std::wstring& target, const std::string& old)
{
    const HANDLE own = handle ? nullptr
                              : ::CreateFileW(target.c_str(), GENERIC_WRITE, ShareReadWrite, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const HANDLE use = handle ? handle : own;
    if (use == INVALID_HANDLE_VALUE) return;
    LARGE_INTEGER start{};
    if (::SetFilePointerEx(use, start, nullptr, FILE_BEGIN)) {
        for (std::size_t done = 0; done < old.size();) {
            DWORD moved = 0;
            const auto chunk = static_cast<DWORD>(std::min<std::size_t>(old.size() - done, MaxTransfer));
            if (!::WriteFile(use, old.data() + done, chunk, &moved, nullptr) || moved == 0) break;
            done += moved;
        }
    }
    SetEnd(use, static_cast<std::int64_t>(old.size()));
    ::FlushFileBuffers(use);
    if (own) ::CloseHandle(own);
}

std::wstring FolderOf(const std::wstring& path)
{
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

std::wstring NameOf(const std::wstring& path)
{
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The file that an existing path finally names, symbolic links followed; the path itself when
// nothing is there yet.
std::wstring ResolveLinks(const std::wstring& path)
{
    const HANDLE handle = ::CreateFileW(path.c_str(), 0, ShareReadWrite | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return path;
    std::wstring final(32768, L'\0');
    const DWORD length = ::GetFinalPathNameByHandleW(handle, final.data(), static_cast<DWORD>(final.size()),
                                                     FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    ::CloseHandle(handle);
    if (length == 0 || length >= final.size()) return path;
    final.resize(length);
    return final;
}

// ReplaceFileW keeps the target's attributes and security, which a rename would not. The old
// file goes through a backup name because ReplaceFileW can fail after moving it there (error
// 1177); it is then moved back, so that a failed save never leaves the target missing.
void ReplaceExisting(const std::wstring& target, const std::wstring& replacement, const std::string& path)
{
    const std::wstring backup = replacement.substr(0, replacement.rfind(L'.')) + L".old";
    DWORD error = static_cast<DWORD>(detail::NextCall(Op::Rename).platformError);
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        // The state that this error leaves behind, so that an injected one tests the way back.
        ::MoveFileExW(target.c_str(), backup.c_str(), 0);
    } else if (error == 0 && !::ReplaceFileW(target.c_str(), replacement.c_str(), backup.c_str(),
                                             REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                                             nullptr, nullptr)) {
        error = ::GetLastError();
    }
    if (error == 0) {
        ::DeleteFileW(backup.c_str());
        return;
    }
    const bool targetGone = ::GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES;
    if (targetGone && ::GetFileAttributesW(backup.c_str()) != INVALID_FILE_ATTRIBUTES)
        ::MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    Fail(error, path);
}

// The fallback where the folder refuses a new file: the target itself is overwritten, with the
// new bytes all known and their room reserved first, and the old bytes at hand to put back.
void WriteInPlace(const std::wstring& target, const std::string& path,
                  const std::function<void(File&)>& write)
{
    std::string next;
    {
        File memory = FileAdopter::InMemory(next);
        write(memory);
    }
    const HANDLE handle = OpenCounted(target, GENERIC_READ | GENERIC_WRITE, ShareReadWrite, OPEN_EXISTING);
    if (handle == INVALID_HANDLE_VALUE) Fail(::GetLastError(), path);
    File file = FileAdopter::Adopt(handle);
    if (::GetFileType(handle) != FILE_TYPE_DISK) throw InOutError(IoAccessDenied);
    const std::string old = file.ReadAll();
    Reserve(handle, next.size(), old.size());

    detail::WriteAndClose(
        file,
        [&](File&) {
            LARGE_INTEGER start{};
            if (!::SetFilePointerEx(handle, start, nullptr, FILE_BEGIN)) Fail(::GetLastError(), {});
            if (!next.empty() && file.Write(next.data(), next.size()) < next.size())
                throw InOutError(IoDiskFull);
            CountCall(Op::Truncate);
            if (!SetEnd(handle, static_cast<std::int64_t>(next.size()))) Fail(::GetLastError(), {});
        },
        [&](bool stillOpen) { PutBack(stillOpen ? handle : nullptr, target, old); });
}

}  // namespace

File::File(File&& other) noexcept : handle_(other.handle_), memory_(other.memory_)
{
    other.handle_ = nullptr;
    other.memory_ = nullptr;
}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        if (handle_) ::CloseHandle(handle_);
        handle_ = other.handle_;
        memory_ = other.memory_;
        other.handle_ = nullptr;
        other.memory_ = nullptr;
    }
    return *this;
}

File::~File()
{
    if (handle_) ::CloseHandle(handle_);
}

File File::OpenExisting(const std::string& path)
{
    return FileAdopter::Adopt(OpenRegular(path, GENERIC_READ | GENERIC_WRITE));
}

File File::OpenForReading(const std::string& path)
{
    return FileAdopter::Adopt(OpenRegular(path, GENERIC_READ));
}

std::int64_t File::Size()
{
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle_, &size)) Fail(::GetLastError(), {});
    return size.QuadPart;
}

std::size_t File::Read(void* buffer, std::size_t size)
{
    const std::size_t wanted = CountCall(Op::Read).Cut(size);
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < wanted) {
        DWORD moved = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(wanted - done, MaxTransfer));
        if (!::ReadFile(handle_, bytes + done, chunk, &moved, nullptr)) Fail(::GetLastError(), {});
        if (moved == 0) break;
        done += moved;
    }
    return done;
}

std::size_t File::Write(const void* buffer, std::size_t size)
{
    if (memory_) {
        memory_->append(static_cast<const char*>(buffer), size);
        return size;
    }
    // An injected error stands in for WriteFile's own, so that a full disk meets the same handling.
    const detail::Injected injected = detail::NextCall(Op::Write);
    if (injected.platformError != 0) return WriteFailed(static_cast<DWORD>(injected.platformError), 0);
    const std::size_t wanted = injected.Cut(size);
    const auto* bytes = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < wanted) {
        DWORD moved = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(wanted - done, MaxTransfer));
        if (!::WriteFile(handle_, bytes + done, chunk, &moved, nullptr))
            return WriteFailed(::GetLastError(), done);
        if (moved == 0) break;
        done += moved;
    }
    return done;
}

void File::Flush()
{
    if (memory_) return;
    CountCall(Op::Flush);
    if (!::FlushFileBuffers(handle_)) Fail(::GetLastError(), {});
}

void File::Close()
{
    memory_ = nullptr;
    if (!handle_) return;
    const HANDLE handle = handle_;
    handle_ = nullptr;
    const detail::Injected injected = detail::NextCall(Op::Close);
    const bool closed = ::CloseHandle(handle);
    const DWORD error = closed ? 0 : ::GetLastError();
    if (injected.platformError != 0) Fail(static_cast<DWORD>(injected.platformError), {});
    if (!closed) Fail(error, {});
}

bool File::IsOpen() const { return handle_ != nullptr || memory_; }

void ReplaceFile(const std::string& path, const std::function<void(File&)>& write)
{
    const std::wstring target = ResolveLinks(WidePath(path));
    if (IsSomethingElse(target)) throw InOutError(IoAccessDenied);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists) {
        // Opening for writing refuses a read-only file, a folder or a file locked against writers.
        const HANDLE check = ::CreateFileW(target.c_str(), GENERIC_WRITE, ShareReadWrite | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (check == INVALID_HANDLE_VALUE) Fail(::GetLastError(), path);
        ::CloseHandle(check);
    }

    static std::mt19937_64 random{std::random_device{}()};
    const std::wstring prefix = FolderOf(target) + L"\\~" + NameOf(target).substr(0, 96) + L".";
    std::wstring tempPath;
    HANDLE temp = INVALID_HANDLE_VALUE;
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < 100 && temp == INVALID_HANDLE_VALUE && error == ERROR_FILE_EXISTS;
         ++attempt) {
        tempPath = prefix + std::to_wstring(random() % 1000000000) + L".tmp";
        temp = OpenCounted(tempPath, GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
        if (temp == INVALID_HANDLE_VALUE) error = ::GetLastError();
    }
    if (temp == INVALID_HANDLE_VALUE) {
        if (!exists || error != ERROR_ACCESS_DENIED) Fail(error, path);
        WriteInPlace(target, path, write);
        return;
    }

    detail::Undo removeTemporary([&] { ::DeleteFileW(tempPath.c_str()); });
    File file = FileAdopter::Adopt(temp);
    detail::WriteAndClose(file, write);
    if (exists) {
        ReplaceExisting(target, tempPath, path);
    } else {
        CountCall(Op::Rename);
        if (!::MoveFileExW(tempPath.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            Fail(::GetLastError(), path);
    }
    removeTemporary.Dismiss();
}

bool Exists(const std::string& path)
{
    const auto wide = Utf16FromUtf8(path);
    if (!wide) return false;
    // Windows answers for a pipe's name only sometimes (Wine never); counted as there, a pipe
    // reaches the reader, which refuses it with access denied as a FIFO is refused elsewhere,
    // instead of the program doing nothing at all.
    if (StartsWithPipePrefix(*wide)) return true;
    const DWORD attributes = ::GetFileAttributesW(wide->c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsSameFile(const std::string& first, const std::string& second)
{
    // A pipe's name is left alone: opening it would take an instance from its server.
    const auto identity = [](const std::string& path) -> std::optional<std::tuple<DWORD, DWORD, DWORD>> {
        const auto wide = Utf16FromUtf8(path);
        if (!wide || StartsWithPipePrefix(*wide)) return std::nullopt;
        const HANDLE handle = ::CreateFileW(wide->c_str(), 0, ShareReadWrite | FILE_SHARE_DELETE, nullptr,
                                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
        BY_HANDLE_FILE_INFORMATION info{};
        const bool known = ::GetFileInformationByHandle(handle, &info);
        ::CloseHandle(handle);
        if (!known) return std::nullopt;
        return std::make_tuple(info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow);
    };
    const auto one = identity(first);
    return one && one == identity(second);
}

void RequireRegularFile(const std::string& path)
{
    if (IsSomethingElse(WidePath(path))) throw InOutError(IoAccessDenied);
}

bool IsPipe(const std::string& path)
{
    const auto wide = Utf16FromUtf8(path);
    return wide && StartsWithPipePrefix(*wide);
}

void IgnoreFileSizeLimitSignal() {}  // Windows has no such signal: a write past a quota just fails

int MapPlatformError(int platformError, const std::string&)
{
    switch (platformError) {
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
        case ERROR_FILENAME_EXCED_RANGE:
        case ERROR_DIRECTORY:
            return IoPathNotFound;
        default:
            return platformError;
    }
}

}  // namespace mirvel::os
