#include "File.h"

#include "Internal.h"
#include "InOutError.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <random>
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

// A full disk is a short write, which the caller reports as such; any other failure throws.
std::size_t WriteFailed(int error, std::size_t done)
{
    if (error != ENOSPC && error != EDQUOT) Fail(error, {});
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
        fd = ::open(path.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
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

}  // namespace

File::File(File&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

File::~File()
{
    if (fd_ >= 0) ::close(fd_);
}

File File::OpenExisting(const std::string& path)
{
    const int fd = OpenCounted(path, O_RDWR);
    if (fd < 0) Fail(errno, path);
    return FileAdopter::Adopt(fd);
}

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
    CountCall(Op::Flush);
    if (::fsync(fd_) != 0) Fail(errno, {});
}

void File::Close()
{
    if (fd_ < 0) return;
    const int fd = fd_;
    fd_ = -1;
    const detail::Injected injected = detail::NextCall(Op::Close);
    // Linux releases the descriptor even when close reports EINTR; retrying could close another.
    const bool failed = ::close(fd) != 0 && errno != EINTR;
    if (injected.platformError != 0) Fail(injected.platformError, {});
    if (failed) Fail(errno, {});
}

bool File::IsOpen() const { return fd_ >= 0; }

void ReplaceFile(const std::string& path, const std::function<void(File&)>& write)
{
    const std::string target = ResolveLinks(path);
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) Fail(EISDIR, path);
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) Fail(errno, path);
    }

    std::string tempPath;
    const int fd = CreateTemporary(target, exists ? &existing : nullptr, tempPath);
    if (fd < 0) {
        const int error = -fd;
        const bool folderRefused = error == EACCES || error == EPERM || error == EROFS;
        if (!exists || !folderRefused) Fail(error, target);
        const int direct = OpenCounted(target, O_WRONLY | O_TRUNC);
        if (direct < 0) Fail(errno, path);
        File file = FileAdopter::Adopt(direct);
        detail::WriteAndClose(file, write);
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
            return 112;  // ERROR_DISK_FULL
        default:
            return platformError;
    }
}

}  // namespace mirvel::os
