#include "InOutError.h"
#include "TempDir.h"
#include "os/File.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace mirvel {
namespace {

TEST(FileLayer, PosixErrorsMapOntoTheWindowsCodes)
{
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
}

TEST(FileLayer, AFullDiskIsAShortWriteNotAnError)
{
    os::File full = os::File::OpenExisting("/dev/full");
    const char bytes[60] = {};
    EXPECT_EQ(full.Write(bytes, sizeof bytes), 0u);
}

TEST(FileLayer, ReadsStopShortOnlyAtTheEnd)
{
    test::TempDir dir;
    const std::string path = dir.File("f");
    test::WriteAll(path, "0123456789");
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
    test::WriteAll(path, "x");
    os::File file = os::File::OpenExisting(path);
    os::InjectFault(os::Op::Close, 1, EIO);
    EXPECT_THROW(file.Close(), InOutError);
    EXPECT_FALSE(file.IsOpen());
    os::ClearFaults();
}

}  // namespace
}  // namespace mirvel
