#include "common/os/File.h"

#include "common/os/Internal.h"
#include "common/InOutError.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <exception>
#include <fcntl.h>
#include <random>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace mirvel::os {

struct FileAdopter {
    static File Adopt(int fd)
    {
        File file;
        file.fd_ = fd;
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

[[noreturn]] void Fail(int error, const std::string& path)
{
    throw InOutError(MapPlatformError(error, path));
}

detail::Injected CountCall(Op op)
{
    detail::Injected injected = detail::NextCall(op);
    if (injected.platformError != 0) Fail(injected.platformError, {});
    return injected;
}

bool IsFullDisk(int error) { return error == ENOSPC || error == EDQUOT || error == EFBIG; }

// A full disk (or the file-size limit) is a short write, which the caller reports as such; any
// other failure throws.
std::size_t WriteFailed(int error, std::size_t done)
{
    if (!IsFullDisk(error)) Fail(error, {});
    return done;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Follows symbolic links to the file that a save must replace; a dangling link yields the
// path it names, where the new file is created.
std::string ResolveLinks(const std::string& path)
{
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0) {
            if (errno == ENOENT) return current;
            Fail(errno, path);
        }
        if (!S_ISLNK(info.st_mode)) return current;
        std::string link(4096, '\0');
        const ssize_t length = ::readlink(current.c_str(), link.data(), link.size());
        if (length < 0) Fail(errno, path);
        link.resize(static_cast<std::size_t>(length));
        current = !link.empty() && link.front() == '/' ? link : FolderOf(current) + "/" + link;
    }
    Fail(ELOOP, path);
}

// Like open(2), with an injected fault failing it the same way.
int OpenCounted(const std::string& path, int flags, mode_t mode = 0)
{
    const detail::Injected injected = detail::NextCall(Op::Open);
    if (injected.platformError != 0) {
        errno = injected.platformError;
        return -1;
    }
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOCTTY, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Opens an existing regular file. Non-blocking while opening, so that a pipe swapped in after
// the check can't stall the open, and checked again on the descriptor itself.
int OpenRegular(const std::string& path, int flags)
{
    RequireRegularFile(path);
    const int fd = OpenCounted(path, flags | O_NONBLOCK);
    if (fd < 0) Fail(errno, path);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw InOutError(IoAccessDenied);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

// A new file beside `target`, with the target's permissions (and, where allowed, owner) when
// it exists. Returns the descriptor, or -errno.
int CreateTemporary(const std::string& target, const struct stat* existing, std::string& tempPath)
{
    static std::mt19937_64 random{std::random_device{}()};
    const std::string prefix = FolderOf(target) + "/." + NameOf(target).substr(0, 96) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = prefix + std::to_string(random() % 1000000000) + ".tmp";
        const int fd = OpenCounted(tempPath, O_RDWR | O_CREAT | O_EXCL, existing ? 0600 : 0666);
        if (fd >= 0) {
            if (existing) {
                ::fchmod(fd, existing->st_mode & 07777);
                if (existing->st_uid != ::geteuid() || existing->st_gid != ::getegid())
                    (void)!::fchown(fd, existing->st_uid, existing->st_gid);
            }
            return fd;
        }
        if (errno != EEXIST) return -errno;
    }
    return -EEXIST;
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

// Room for `size` bytes from the start of the file, taken before any old byte is overwritten,
// so that a full disk fails here and not half-way through the old file. A file system that
// can't set room aside is refused as full: writing over the old file there could not be undone.
void Reserve(int fd, std::size_t size, std::size_t oldSize)
{
    int error = detail::NextCall(Op::Reserve).platformError;
    if (error == 0 && size > 0) {
#ifdef __linux__
        do {
            error = ::fallocate(fd, 0, 0, static_cast<off_t>(size)) == 0 ? 0 : errno;
        } while (error == EINTR);
        // NFS before 4.2 and some others lack fallocate; the C library can emulate it there.
        if (error == EOPNOTSUPP) error = ::posix_fallocate(fd, 0, static_cast<off_t>(size));
#else
        error = ::posix_fallocate(fd, 0, static_cast<off_t>(size));
#endif
    }
    if (error == 0) return;
    (void)!::ftruncate(fd, static_cast<off_t>(oldSize));  // a partial reservation may have grown it
    if (IsFullDisk(error) || error == EOPNOTSUPP || error == EINVAL) throw InOutError(IoDiskFull);
    Fail(error, {});
}

// The way back after a failed in-place write, never counted by the fault seam: the old bytes
// written again and the file cut to its old size, through the open descriptor while there is
// one, else through the target opened anew. What can't be put back is left as it is; the
// failure that started it is the one reported.
void PutBack(int fd, const std::string& target, std::string_view old)
{
    const int own = fd >= 0 ? -1 : ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    const int use = fd >= 0 ? fd : own;
    if (use < 0) return;
    for (std::size_t done = 0; done < old.size();) {
        const ssize_t n = ::pwrite(use, old.data() + done, old.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    (void)!::ftruncate(use, static_cast<off_t>(old.size()));
    ::fsync(use);
    if (own >= 0) ::close(own);
}

// The fallback where the folder refuses a new file: the target itself is overwritten, with the
// new bytes all known and their room reserved first, and the old bytes at hand to put back.
void WriteInPlace(const std::string& target, const std::string& path, const std::function<void(File&)>& write)
{
    std::string next;
    {
        File memory = FileAdopter::InMemory(next);
        write(memory);
    }
    const int fd = OpenCounted(target, O_RDWR | O_NONBLOCK);
    if (fd < 0) Fail(errno, path);
    File file = FileAdopter::Adopt(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) throw InOutError(IoAccessDenied);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    const std::string old = file.ReadAll();
    Reserve(fd, next.size(), old.size());

    detail::WriteAndClose(
        file,
        [&](File&) {
            if (::lseek(fd, 0, SEEK_SET) < 0) Fail(errno, {});
            if (!next.empty() && file.Write(next.data(), next.size()) < next.size())
                throw InOutError(IoDiskFull);
            CountCall(Op::Truncate);
            if (::ftruncate(fd, static_cast<off_t>(next.size())) != 0) Fail(errno, {});
        },
        [&](bool stillOpen) { PutBack(stillOpen ? fd : -1, target, old); });
}

}  // namespace

File::File(File&& other) noexcept : fd_(other.fd_), memory_(other.memory_)
{
    other.fd_ = -1;
    other.memory_ = nullptr;
}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        memory_ = other.memory_;
        other.fd_ = -1;
        other.memory_ = nullptr;
    }
    return *this;
}

File::~File()
{
    if (fd_ >= 0) ::close(fd_);
}

File File::OpenExisting(const std::string& path) { return FileAdopter::Adopt(OpenRegular(path, O_RDWR)); }

File File::OpenForReading(const std::string& path) { return FileAdopter::Adopt(OpenRegular(path, O_RDONLY)); }

std::int64_t File::Size()
{
    struct stat info {};
    if (::fstat(fd_, &info) != 0) Fail(errno, {});
    return info.st_size;
}

std::size_t File::Read(void* buffer, std::size_t size)
{
    const std::size_t wanted = CountCall(Op::Read).Cut(size);
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < wanted) {
        const ssize_t n = ::read(fd_, bytes + done, wanted - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail(errno, {});
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::size_t File::Write(const void* buffer, std::size_t size)
{
    if (memory_) {
        memory_->append(static_cast<const char*>(buffer), size);
        return size;
    }
    // An injected error stands in for write(2)'s own, so that a full disk meets the same handling.
    const detail::Injected injected = detail::NextCall(Op::Write);
    if (injected.platformError != 0) return WriteFailed(injected.platformError, 0);
    const std::size_t wanted = injected.Cut(size);
    const auto* bytes = static_cast<const char*>(buffer);
    std::size_t done = 0;
    while (done < wanted) {
        const ssize_t n = ::write(fd_, bytes + done, wanted - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return WriteFailed(errno, done);
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

void File::Flush()
{
    if (memory_) return;
    CountCall(Op::Flush);
    if (::fsync(fd_) != 0) Fail(errno, {});
}

void File::Close()
{
    memory_ = nullptr;
    if (fd_ < 0) return;
    const int fd = fd_;
    fd_ = -1;
    const detail::Injected injected = detail::NextCall(Op::Close);
    // Linux releases the descriptor even when close reports EINTR; retrying could close another.
    const bool failed = ::close(fd) != 0 && errno != EINTR;
    if (injected.platformError != 0) Fail(injected.platformError, {});
    if (failed) Fail(errno, {});
}

bool File::IsOpen() const { return fd_ >= 0 || memory_; }

void ReplaceFile(const std::string& path, const std::function<void(File&)>& write)
{
    const std::string target = ResolveLinks(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) Fail(EISDIR, path);
        if (!S_ISREG(existing.st_mode)) throw InOutError(IoAccessDenied);
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) Fail(errno, path);
    }

    std::string tempPath;
    const int fd = CreateTemporary(target, exists ? &existing : nullptr, tempPath);
    if (fd < 0) {
        const int error = -fd;
        const bool folderRefused = error == EACCES || error == EPERM || error == EROFS;
        if (!exists || !folderRefused) Fail(error, target);
        WriteInPlace(target, path, write);
        return;
    }

    detail::Undo removeTemporary([&] { ::unlink(tempPath.c_str()); });
    File file = FileAdopter::Adopt(fd);
    detail::WriteAndClose(file, write);
    CountCall(Op::Rename);
    if (::rename(tempPath.c_str(), target.c_str()) != 0) Fail(errno, path);
    removeTemporary.Dismiss();
    SyncFolder(FolderOf(target));
}

bool Exists(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool IsSameFile(const std::string& first, const std::string& second)
{
    struct stat a {
    }, b{};
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

void RequireRegularFile(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) throw InOutError(IoAccessDenied);
}

bool IsPipe(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode));
}

void IgnoreFileSizeLimitSignal() { std::signal(SIGXFSZ, SIG_IGN); }

int MapPlatformError(int platformError, const std::string& path)
{
    switch (platformError) {
        case ENOENT:
            return !path.empty() && IsFolder(FolderOf(path)) ? IoFileNotFound : IoPathNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
            return IoPathNotFound;
        case EMFILE:
        case ENFILE:
            return IoTooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
            return IoAccessDenied;
        case EIO:
            return 1117;  // ERROR_IO_DEVICE; EIO's own 5 would read as access denied
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return 112;  // ERROR_DISK_FULL
        default:
            return platformError;
    }
}

}  // namespace mirvel::os
