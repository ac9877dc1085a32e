#include "tests/common/ErrorOf.h"
#include "common/InOutError.h"
#include "tests/support/PlatformErrors.h"
#include "tests/common/ReadOnly.h"
#include "tests/support/TempDir.h"
#include "tests/common/Wine.h"
#include "common/WordFile.h"
#include "common/os/File.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#ifdef _WIN32
#include "common/os/Win32Api.h"
#include <winioctl.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mirvel {
namespace {

using test::CodeOf;
using test::MessageOf;
using test::ReadAll;
using test::TempDir;
using test::WriteAll;

// A record whose unused bytes carry a pattern, so that a lost tail shows.
TWordRec Record(int i)
{
    TWordRec record;
    for (std::size_t b = 0; b < sizeof record; ++b)
        reinterpret_cast<unsigned char*>(&record)[b] = static_cast<unsigned char>(i * 7 + b);
    record.SetFrancais("mot" + std::to_string(i));
    record.SetJaponais("\x8c\xea" + std::to_string(i));
    return record;
}

WordList Records(int count)
{
    WordList words;
    for (int i = 0; i < count; ++i) words.push_back(Record(i));
    return words;
}

std::string Bytes(const WordList& words)
{
    return {reinterpret_cast<const char*>(words.data()), words.size() * RecordSize};
}

// A file of `size` bytes that takes no room on the disk.
void MakeSparse(const std::string& path, std::uint64_t size)
{
#ifdef _WIN32
    // Through the handle: MinGW's std::filesystem::resize_file stops at 2 GB.
    const HANDLE file =
        ::CreateFileW(std::filesystem::u8path(path).wstring().c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD returned = 0;  // NTFS would otherwise set the whole size aside
    ::DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    EXPECT_TRUE(::SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file));
    ::CloseHandle(file);
#else
    std::ofstream(path).close();
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(size)), 0);
#endif
}

class WordFile : public ::testing::Test {
protected:
    void SetUp() override { os::ClearFaults(); }
    void TearDown() override { os::ClearFaults(); }

    // Names in the folder other than `keep`: a failed save leaves no temporary behind.
    std::vector<std::string> Strays(const std::string& keep = "words.mirvel") const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            if (entry.path().filename() != keep) names.push_back(entry.path().filename().string());
        return names;
    }

    TempDir dir;
    std::string path = dir.File("words.mirvel");
};

TEST_F(WordFile, RecordCountIsTheSizeDividedBy60)
{
    // The last two: a list large enough to be given room to the end of its last huge page.
    for (const auto& [size, count] : {std::pair{0, 0},
                                      {59, 0},
                                      {60, 1},
                                      {61, 1},
                                      {179, 2},
                                      {6 << 20, 104857},
                                      {(6 << 20) + 59, 104858}}) {
        WriteAll(path, std::string(static_cast<std::size_t>(size), '\x01'));
        EXPECT_EQ(ReadWordFile(path).size(), static_cast<std::size_t>(count)) << size << " bytes";
    }
}

TEST_F(WordFile, WritesExactlyTheRecordsInMemoryAndReadsThemBack)
{
    const WordList words = Records(WordFileReader::BlockRecords + 5);  // more than one read block
    WriteWordFile(path, words);
    EXPECT_EQ(ReadAll(path), Bytes(words));
    EXPECT_EQ(Bytes(ReadWordFile(path)), Bytes(words));
}

TEST_F(WordFile, ASourceIsReadInWholeRecordsWhateverPiecesItGivesAndKeepsItsPartialEnd)
{
    const WordList words = Records(WordFileReader::BlockRecords + 3);
    const std::string bytes = Bytes(words) + std::string(23, 'x');
    const auto source = [&] {
        return [&, at = std::size_t{0}](void* buffer, std::size_t size) mutable {
            const std::size_t n = std::min({size, std::size_t{7}, bytes.size() - at});  // a pipe's pieces
            std::memcpy(buffer, bytes.data() + at, n);
            at += n;
            return n;
        };
    };
    WordFileReader blocks{source()};
    std::string seen;
    std::vector<std::int64_t> firsts;
    blocks.ForEachBlock([&](const TWordRec* records, std::size_t count, std::int64_t first) {
        seen.append(reinterpret_cast<const char*>(records), count * RecordSize);
        firsts.push_back(first);
    });
    EXPECT_EQ(seen, Bytes(words));
    EXPECT_EQ(firsts, (std::vector<std::int64_t>{1, WordFileReader::BlockRecords + 1}));
    EXPECT_EQ(blocks.Trailing(), std::string(23, 'x'));

    WordFileReader whole{source()};
    EXPECT_EQ(Bytes(ReadWords(whole)), Bytes(words));
    EXPECT_EQ(whole.Trailing(), std::string(23, 'x'));
}

TEST_F(WordFile, WritesOnlyTheFirstCountRecords)
{
    const WordList words = Records(5);
    WriteWordFile(path, words.data(), 3);
    EXPECT_EQ(ReadAll(path), Bytes(WordList(words.begin(), words.begin() + 3)));
    WriteWordFile(path, words.data(), 0);
    EXPECT_EQ(ReadAll(path), "");
    EXPECT_TRUE(ReadWordFile(path).empty());
}

TEST_F(WordFile, OpenFailuresCarryTheWindowsCodes)
{
    EXPECT_EQ(CodeOf([&] { ReadWordFile(dir.File("missing.mirvel")); }), IoFileNotFound);
    EXPECT_EQ(CodeOf([&] { ReadWordFile(dir.File("no/such/folder.mirvel")); }), IoPathNotFound);
    EXPECT_EQ(CodeOf([&] { ReadWordFile(""); }), IoPathNotFound);
    EXPECT_EQ(CodeOf([&] { ReadWordFile(dir.Path().string()); }), IoAccessDenied);
    EXPECT_EQ(MessageOf([&] { ReadWordFile(dir.File("missing.mirvel")); }), "ファイルが見つかりません");
    EXPECT_EQ(MessageOf([&] { ReadWordFile(dir.File("no/such/folder.mirvel")); }), "不正なファイル名です");
}

TEST_F(WordFile, AReadOnlyFileCannotBeViewed)
{
    WriteWordFile(path, Records(2));
    test::ReadOnlyFile readOnly(path);
    ASSERT_TRUE(readOnly.Applied());
    EXPECT_EQ(test::RunBoundByReadOnly([&] { return CodeOf([&] { ReadWordFile(path); }); }), IoAccessDenied);
    const int shown = test::RunBoundByReadOnly(
        [&] { return MessageOf([&] { ReadWordFile(path); }) == "ファイルへのアクセスが拒否されました"; });
    EXPECT_EQ(shown, 1);
}

TEST_F(WordFile, AFileThatComesUpShorterThanItsSizeFailsWith100)
{
    WriteWordFile(path, Records(3));
    os::InjectShortTransfer(os::Op::Read, 1, 150);
    EXPECT_EQ(CodeOf([&] { ReadWordFile(path); }), IoReadPastEnd);
}

TEST_F(WordFile, InjectedFaultsHitTheNthCallCountedFromNow)
{
    WriteWordFile(path, Records(1));
    ReadWordFile(path);
    os::InjectFault(os::Op::Open, 2, test::platform::TooManyOpenFiles);
    EXPECT_EQ(CodeOf([&] { ReadWordFile(path); }), 0);
    EXPECT_EQ(CodeOf([&] { ReadWordFile(path); }), IoTooManyOpenFiles);
    EXPECT_EQ(CodeOf([&] { ReadWordFile(path); }), 0);
    os::InjectFault(os::Op::Read, 1, test::platform::DeviceError);
    EXPECT_EQ(CodeOf([&] { ReadWordFile(path); }), 1117);
    os::InjectFault(os::Op::Close, 1, test::platform::BadHandle);
    EXPECT_EQ(CodeOf([&] { ReadWordFile(path); }), test::platform::BadHandle);
}

TEST_F(WordFile, ARecordCountBeyond32BitsIsRefusedBeforeReading)
{
    ASSERT_NO_FATAL_FAILURE(MakeSparse(path, RecordSize * 2147483648ULL));
    EXPECT_EQ(MessageOf([&] { ReadWordFile(path); }), "ファイルが大きすぎます");
}

TEST_F(WordFile, AListBeyondMemoryIsRefusedBeforeReading)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no address-space limit that a test can set on itself and lift again";
#elif defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP()
        << "AddressSanitizer's own mappings fail under an address-space limit; the plain build runs this";
#else
    ASSERT_NO_FATAL_FAILURE(MakeSparse(path, RecordSize * 20'000'000ULL));  // 1.2 GB
    const int refused = test::RunInChild([&] {
        const rlimit limit{512u << 20, 512u << 20};
        ::setrlimit(RLIMIT_AS, &limit);
        return MessageOf([&] { ReadWordFile(path); }) == "メモリが足りません" ? 1 : 0;
    });
    EXPECT_EQ(refused, 1);
#endif
}

TEST_F(WordFile, AFailedSaveLeavesTheOldFileByteForByte)
{
    const WordList old = Records(4);
    WriteWordFile(path, old);
    const WordList next = Records(9);
    const struct {
        os::Op op;
        int error;  // 0: a short write
        int code;
    } faults[] = {
        {os::Op::Open, test::platform::TooManyOpenFiles, IoTooManyOpenFiles},
        {os::Op::Write, 0, IoDiskFull},
        {os::Op::Write, test::platform::DiskFull, IoDiskFull},
        {os::Op::Write, test::platform::DeviceError, 1117},
        {os::Op::Flush, test::platform::DiskFull, 112},
        {os::Op::Close, test::platform::DeviceError, 1117},
        {os::Op::Rename, test::platform::AccessDenied, IoAccessDenied},
    };
    for (const auto& fault : faults) {
        SCOPED_TRACE(static_cast<int>(fault.op));
        if (fault.error == 0)
            os::InjectShortTransfer(fault.op, 1, 100);
        else
            os::InjectFault(fault.op, 1, fault.error);
        EXPECT_EQ(CodeOf([&] { WriteWordFile(path, next); }), fault.code);
        EXPECT_EQ(ReadAll(path), Bytes(old));
        EXPECT_TRUE(Strays().empty());
    }
}

TEST_F(WordFile, AFailingCloseAfterAFailingWriteIsTheFailureReported)
{
    WriteWordFile(path, Records(1));
    os::InjectShortTransfer(os::Op::Write, 1, 10);
    os::InjectFault(os::Op::Close, 1, test::platform::TooManyOpenFiles);
    EXPECT_EQ(CodeOf([&] { WriteWordFile(path, Records(2)); }), IoTooManyOpenFiles);
    EXPECT_EQ(ReadAll(path), Bytes(Records(1)));
}

TEST_F(WordFile, AReadOnlyTargetFailsWithAccessDeniedAndStaysAsItWas)
{
    WriteWordFile(path, Records(3));
    test::ReadOnlyFile readOnly(path);
    ASSERT_TRUE(readOnly.Applied());
    const int code =
        test::RunBoundByReadOnly([&] { return CodeOf([&] { WriteWordFile(path, Records(5)); }); });
    EXPECT_EQ(code, IoAccessDenied);
    EXPECT_EQ(ReadAll(path), Bytes(Records(3)));
    EXPECT_TRUE(Strays().empty());
}

TEST_F(WordFile, SavingKeepsPermissionsAndFollowsSymbolicLinks)
{
    const std::string real = dir.File("real.mirvel");
    WriteWordFile(real, Records(1));
#ifdef _WIN32
    if (test::UnderWine())
        GTEST_SKIP() << "Wine 8 creates no symbolic links and its ReplaceFileW drops attributes";
    const std::wstring wideReal = std::filesystem::u8path(real).wstring();
    const DWORD kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    ASSERT_TRUE(::SetFileAttributesW(wideReal.c_str(), kept));
    WriteWordFile(real, Records(2));
    EXPECT_EQ(::GetFileAttributesW(wideReal.c_str()) & kept, kept);

    const std::wstring widePath = std::filesystem::u8path(path).wstring();
    if (!::CreateSymbolicLinkW(widePath.c_str(), L"real.mirvel",
                               SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
        GTEST_SKIP() << "symbolic links need developer mode or the privilege to create them";
    WriteWordFile(path, Records(6));
    EXPECT_TRUE(::GetFileAttributesW(widePath.c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);
#else
    ::chmod(real.c_str(), 0640);
    ::symlink("real.mirvel", path.c_str());
    WriteWordFile(path, Records(6));
    struct stat info {};
    ASSERT_EQ(::lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
#endif
    EXPECT_EQ(ReadAll(real), Bytes(Records(6)));
}

TEST_F(WordFile, ADanglingLinkIsSavedToTheFileItNames)
{
#ifdef _WIN32
    GTEST_SKIP() << "Wine 8 creates no symbolic links, and on Windows making one needs developer mode";
#else
    ::symlink("made.mirvel", path.c_str());
    WriteWordFile(path, Records(2));
    EXPECT_EQ(ReadAll(dir.File("made.mirvel")), Bytes(Records(2)));
#endif
}

TEST_F(WordFile, AFolderThatRefusesNewFilesGetsTheTargetWrittenInPlace)
{
#ifdef _WIN32
    GTEST_SKIP()
        << "a Windows folder refuses new files only through its access list, which Wine doesn't enforce";
#else
    const std::string folder = dir.File("locked");
    std::filesystem::create_directory(folder);
    const std::string inside = folder + "/words.mirvel";
    WriteWordFile(inside, Records(2));
    ::chmod(inside.c_str(), 0666);
    ::chmod(folder.c_str(), 0555);
    const int result = test::RunInChild([&] {
        test::DropFileOverride();
        const int existing = CodeOf([&] { WriteWordFile(inside, Records(7)); });
        const int fresh = CodeOf([&] { WriteWordFile(folder + "/new.mirvel", Records(1)); });
        return existing == 0 && fresh == IoAccessDenied ? 1 : 0;
    });
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(ReadAll(inside), Bytes(Records(7)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
#endif
}

TEST_F(WordFile, SavingIntoAMissingFolderFailsWithPathNotFound)
{
    const std::string lost = dir.File("gone/words.mirvel");
    EXPECT_EQ(CodeOf([&] { WriteWordFile(lost, Records(1)); }), IoPathNotFound);
    EXPECT_EQ(MessageOf([&] { WriteWordFile(lost, Records(1)); }), "不正なファイル名です");
    EXPECT_EQ(CodeOf([&] { WriteWordFile(dir.Path().string(), Records(1)); }), IoAccessDenied);
}

TEST_F(WordFile, ExistenceMeansAFileNotAFolder)
{
    EXPECT_FALSE(FileExists(path));
    WriteAll(path, "");
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(FileExists(dir.Path().string()));
}

}  // namespace
}  // namespace mirvel
