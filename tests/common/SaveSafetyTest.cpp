// What a save or a load must never do whatever the disk and the name lead to: damage the old
// file when it is written in place, read a pipe or a device as a word list, replace one, or
// leave its temporary file behind when the file-size limit stops a write.
#include "tests/common/ErrorOf.h"
#include "common/InOutError.h"
#include "tests/support/PlatformErrors.h"
#include "tests/support/TempDir.h"
#include "common/WordFile.h"
#include "common/os/File.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#ifndef _WIN32
#include "tests/common/ChildProcess.h"
#include "tests/common/SmallVolume.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace mirvel {
namespace {

using test::CodeOf;
using test::ReadAll;
using test::TempDir;

WordList Records(int count, char fill)
{
    WordList words(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        auto* bytes = reinterpret_cast<unsigned char*>(&words[static_cast<std::size_t>(i)]);
        for (std::size_t b = 0; b < RecordSize; ++b) bytes[b] = static_cast<unsigned char>(fill + i * 3 + b);
    }
    return words;
}

std::string Bytes(const WordList& words)
{
    return {reinterpret_cast<const char*>(words.data()), words.size() * RecordSize};
}

class SaveSafety : public ::testing::Test {
protected:
    void SetUp() override { os::ClearFaults(); }
    void TearDown() override { os::ClearFaults(); }

    std::size_t Entries() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir.Path()), {}));
    }

    TempDir dir;
    std::string path = dir.File("words.mirvel");
};

// The folder refusing the temporary file sends the save down the in-place path; each step of
// that path then fails in turn.
TEST_F(SaveSafety, AnInPlaceSaveFailingAtAnyStepLeavesTheOldFileByteForByte)
{
    const WordList old = Records(4, 'a');
    const WordList next = Records(9, 'k');  // larger, so that a failure must also cut it back
    WriteWordFile(path, old);
    const struct {
        os::Op op;
        int nth;
        int error;  // 0: a short transfer
        int code;
    } faults[] = {
        {os::Op::Open, 2, test::platform::TooManyOpenFiles, IoTooManyOpenFiles},
        {os::Op::Read, 1, test::platform::DeviceError, 1117},
        {os::Op::Reserve, 1, test::platform::DiskFull, IoDiskFull},
        {os::Op::Write, 1, 0, IoDiskFull},
        {os::Op::Write, 1, test::platform::DiskFull, IoDiskFull},
        {os::Op::Write, 1, test::platform::DeviceError, 1117},
        {os::Op::Truncate, 1, test::platform::DeviceError, 1117},
        {os::Op::Flush, 1, test::platform::DiskFull, 112},
        {os::Op::Close, 1, test::platform::DeviceError, 1117},
    };
    for (const auto& fault : faults) {
        SCOPED_TRACE(static_cast<int>(fault.op));
        os::InjectFault(os::Op::Open, 1, test::platform::AccessDenied);
        if (fault.error == 0)
            os::InjectShortTransfer(fault.op, fault.nth, 100);
        else
            os::InjectFault(fault.op, fault.nth, fault.error);
        EXPECT_EQ(CodeOf([&] { WriteWordFile(path, next); }), fault.code);
        EXPECT_EQ(ReadAll(path), Bytes(old));
        EXPECT_EQ(Entries(), 1u);
        os::ClearFaults();
    }
    // And where nothing fails, the file holds exactly the new list, shorter or longer.
    for (const WordList* words : {&next, &old}) {
        os::InjectFault(os::Op::Open, 1, test::platform::AccessDenied);
        EXPECT_EQ(CodeOf([&] { WriteWordFile(path, *words); }), 0);
        EXPECT_EQ(ReadAll(path), Bytes(*words));
    }
}

TEST_F(SaveSafety, AnInPlaceSaveOnARealFullDiskLeavesTheOldFileByteForByte)
{
#ifdef _WIN32
    GTEST_SKIP() << "a small full volume needs a mount, which this test can only make on Linux";
#else
    const std::string mount = dir.File("small");
    std::filesystem::create_directory(mount);
    test::SmallVolume volume(mount);
    if (!volume.Mounted()) GTEST_SKIP() << volume.Why();
    const std::string target = mount + "/words.mirvel";
    const WordList old = Records(300, 'a');  // 18,000 bytes
    WriteWordFile(target, old);
    ::chmod(target.c_str(), 0666);
    {
        // The rest filled up to 16 KiB, less than the new list needs.
        std::ofstream filler(mount + "/filler", std::ios::binary);
        const std::string chunk(4096, 'z');
        while (std::filesystem::space(mount).available > 16384 && filler.write(chunk.data(), chunk.size()))
            filler.flush();
    }
    ::chmod(mount.c_str(), 0555);
    const int code = test::RunInChild([&] {
        test::DropFileOverride();
        return CodeOf([&] { WriteWordFile(target, Records(800, 'k')); });  // 48,000 bytes
    });
    EXPECT_EQ(code, IoDiskFull);
    EXPECT_EQ(ReadAll(target), Bytes(old));
#endif
}

TEST_F(SaveSafety, PipesAndDevicesAreRefusedWithoutBlockingAndNeverReplaced)
{
#ifdef _WIN32
    // The null device: a save that wrongly went ahead would write nothing anywhere.
    EXPECT_EQ(CodeOf([] { ReadWordFile("NUL"); }), IoAccessDenied);
    EXPECT_EQ(CodeOf([] { WriteWordFile("NUL", Records(1, 'a')); }), IoAccessDenied);
#else
    const std::string fifo = dir.File("fifo.mirvel");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    const std::string link = dir.File("link.mirvel");
    ASSERT_EQ(::symlink("fifo.mirvel", link.c_str()), 0);
    // In a child with an alarm: a read that blocks on the pipe ends the child, not the tests.
    const int result = test::RunInChild([&] {
        ::alarm(10);
        int refused = 0;
        for (const std::string& name : {fifo, link, std::string("/dev/zero")}) {
            refused += CodeOf([&] { ReadWordFile(name); }) == IoAccessDenied;
            refused += CodeOf([&] { WriteWordFile(name == "/dev/zero" ? fifo : name, Records(2, 'a')); }) ==
                       IoAccessDenied;
        }
        return refused;
    });
    EXPECT_EQ(result, 6);
    struct stat info {};
    ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(Entries(), 2u);

    // A device node of its own (the null device), so that a save that wrongly replaced it
    // could not touch the system's.
    const std::string device = dir.File("null.mirvel");
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "can't make a device node here (" << std::strerror(errno) << ")";
    EXPECT_EQ(CodeOf([&] { WriteWordFile(device, Records(2, 'a')); }), IoAccessDenied);
    ASSERT_EQ(::lstat(device.c_str(), &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
#endif
}

TEST_F(SaveSafety, AWriteStoppedByTheFileSizeLimitFailsAndLeavesNoTemporaryFile)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no file-size limit signal";
#else
    const WordList old = Records(3, 'a');
    WriteWordFile(path, old);
    const int code = test::RunInChild([&] {
        os::IgnoreFileSizeLimitSignal();
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return CodeOf([&] { WriteWordFile(path, Records(1000, 'k')); });
    });
    EXPECT_EQ(code, IoDiskFull);
    EXPECT_EQ(ReadAll(path), Bytes(old));
    EXPECT_EQ(Entries(), 1u);
#endif
}

}  // namespace
}  // namespace mirvel
