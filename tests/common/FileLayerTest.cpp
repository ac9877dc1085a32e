#include "tests/common/ErrorOf.h"
#include "common/InOutError.h"
#include "tests/support/PlatformErrors.h"
#include "tests/support/TempDir.h"
#include "common/os/File.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

#ifdef _WIN32
#include "common/os/Win32Api.h"
#else
#include "tests/common/SmallVolume.h"
#endif

namespace mirvel {
namespace {

using test::CodeOf;
using test::ReadAll;
using test::TempDir;
using test::WriteAll;

#ifdef _WIN32
void Store(const std::string& path, const std::string& bytes)
{
    os::ReplaceFile(path, [&](os::File& file) { file.Write(bytes.data(), bytes.size()); });
}
#endif

TEST(FileLayer, PosixErrorsMapOntoTheWindowsCodes)
{
#ifdef _WIN32
    GTEST_SKIP() << "errno values exist only for the POSIX layer; Windows reports its codes itself";
#else
    test::TempDir dir;
    EXPECT_EQ(os::MapPlatformError(ENOENT, dir.File("missing")), IoFileNotFound);
    EXPECT_EQ(os::MapPlatformError(ENOENT, dir.File("missing/x")), IoPathNotFound);
    EXPECT_EQ(os::MapPlatformError(ENOENT, ""), IoPathNotFound);
    EXPECT_EQ(os::MapPlatformError(ENOTDIR, "x"), IoPathNotFound);
    EXPECT_EQ(os::MapPlatformError(ENAMETOOLONG, "x"), IoPathNotFound);
    EXPECT_EQ(os::MapPlatformError(EMFILE, "x"), IoTooManyOpenFiles);
    EXPECT_EQ(os::MapPlatformError(ENFILE, "x"), IoTooManyOpenFiles);
    for (int error : {EACCES, EPERM, EROFS, EISDIR})
        EXPECT_EQ(os::MapPlatformError(error, "x"), IoAccessDenied);
    EXPECT_EQ(os::MapPlatformError(EIO, "x"), 1117);  // not 5, which would read as access denied
    EXPECT_EQ(os::MapPlatformError(ENOSPC, "x"), 112);
    EXPECT_EQ(os::MapPlatformError(EBUSY, "x"), EBUSY);
#endif
}

TEST(FileLayer, AFullDiskIsAShortWriteNotAnError)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no always-full device; an injected full disk takes the same path";
#else
    // A full volume of its own: /dev/full is a device, which the layer refuses to open.
    TempDir dir;
    test::SmallVolume volume(dir.Path().string());
    if (!volume.Mounted()) GTEST_SKIP() << volume.Why();
    WriteAll(dir.File("list.mirvel"), "");
    os::File file = os::File::OpenExisting(dir.File("list.mirvel"));
    const std::string bytes(128 * 1024, 'x');
    const std::size_t stored = file.Write(bytes.data(), bytes.size());
    EXPECT_LT(stored, bytes.size());
    EXPECT_EQ(file.Write(bytes.data(), 60), 0u);
#endif
}

TEST(FileLayer, ReadsStopShortOnlyAtTheEnd)
{
    test::TempDir dir;
    const std::string path = dir.File("f");
    WriteAll(path, "0123456789");
    os::File file = os::File::OpenExisting(path);
    EXPECT_EQ(file.Size(), 10);
    char buffer[8];
    EXPECT_EQ(file.Read(buffer, 8), 8u);
    EXPECT_EQ(file.Read(buffer, 8), 2u);
    EXPECT_EQ(file.Read(buffer, 8), 0u);
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    file.Close();  // a second close is harmless
}

TEST(FileLayer, AnInjectedCloseFaultStillClosesTheFile)
{
    test::TempDir dir;
    const std::string path = dir.File("f");
    WriteAll(path, "x");
    os::File file = os::File::OpenExisting(path);
    os::InjectFault(os::Op::Close, 1, test::platform::DeviceError);
    EXPECT_THROW(file.Close(), InOutError);
    EXPECT_FALSE(file.IsOpen());
    os::ClearFaults();
}

TEST(FileLayer, OpenFilesLockOutNeitherReadersNorWriters)
{
    test::TempDir dir;
    const std::string path = dir.File("f");
    WriteAll(path, "old");
    os::File first = os::File::OpenExisting(path);
    os::File second = os::File::OpenExisting(path);
    EXPECT_EQ(second.Write("new", 3), 3u);
    char buffer[3];
    EXPECT_EQ(first.Read(buffer, 3), 3u);
    EXPECT_EQ(std::string(buffer, 3), "new");
}

TEST(FileLayer, AFileLockedByAnotherProgramKeepsItsOwnCodeAndItsBytes)
{
#ifndef _WIN32
    GTEST_SKIP() << "POSIX has no share modes: no program can lock a file against other openers";
#else
    test::TempDir dir;
    const std::string path = dir.File("f");
    WriteAll(path, "old");
    const HANDLE locked =
        ::CreateFileW(std::filesystem::u8path(path).wstring().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CodeOf([&] { os::File::OpenExisting(path); }), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(test::MessageOf([&] { os::File::OpenExisting(path); }), "I/O エラー (32)");
    EXPECT_EQ(CodeOf([&] { Store(path, "new"); }), ERROR_SHARING_VIOLATION);
    ::CloseHandle(locked);
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
#endif
}

TEST(FileLayer, AReplaceThatFailsAfterMovingTheOldFileAsidePutsItBack)
{
#ifndef _WIN32
    GTEST_SKIP() << "rename(2) happens whole or not at all; only ReplaceFileW can stop half-way";
#else
    test::TempDir dir;
    const std::string path = dir.File("f");
    WriteAll(path, "old");
    os::InjectFault(os::Op::Rename, 1, ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    EXPECT_EQ(CodeOf([&] { Store(path, "new"); }), ERROR_UNABLE_TO_MOVE_REPLACEMENT_2);
    os::ClearFaults();
    EXPECT_EQ(ReadAll(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    Store(path, "new");
    EXPECT_EQ(ReadAll(path), "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
#endif
}

}  // namespace
}  // namespace mirvel
