#include "ChildProcess.h"
#include "InOutError.h"
#include "TempDir.h"
#include "WordFile.h"
#include "os/File.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirvel {
namespace {

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

template <typename Body>
int CodeOf(Body body)
{
    try {
        body();
    } catch (const InOutError& error) {
        return error.Code();
    }
    return 0;
}

template <typename Body>
std::string MessageOf(Body body)
{
    try {
        body();
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
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
    for (const auto& [size, count] : {std::pair{0, 0}, {59, 0}, {60, 1}, {61, 1}, {179, 2}}) {
        WriteAll(path, std::string(static_cast<std::size_t>(size), '\x01'));
        EXPECT_EQ(ReadWordFile(path).size(), static_cast<std::size_t>(count)) << size << " bytes";
    }
}

TEST_F(WordFile, WritesExactlyTheRecordsInMemoryAndReadsThemBack)
{
    const WordList words = Records(2500);  // more than one read block
    WriteWordFile(path, words);
    EXPECT_EQ(ReadAll(path), Bytes(words));

    std::vector<std::int32_t> seen;
    const WordList back = ReadWordFile(path, [&](std::int32_t index, const TWordRec& record) {
        EXPECT_EQ(std::memcmp(&record, &words[static_cast<std::size_t>(index)], RecordSize), 0);
        seen.push_back(index);
    });
    EXPECT_EQ(Bytes(back), Bytes(words));
    ASSERT_EQ(seen.size(), words.size());
    for (std::size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], static_cast<std::int32_t>(i));
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
}

TEST_F(WordFile, AReadOnlyFileCannotBeViewed)
{
    WriteWordFile(path, Records(2));
    ::chmod(path.c_str(), 0444);
    const int code = test::RunInChild([&] {
        test::DropFileOverride();
        return CodeOf([&] { ReadWordFile(path); });
    });
    EXPECT_EQ(code, IoAccessDenied);
}

TEST_F(WordFile, AShortReadFailsWith100AfterTheWholeRecordsOfItsBlock)
{
    WriteWordFile(path, Records(3));
    os::InjectShortTransfer(os::Op::Read, 1, 150);
    int calls = 0;
    EXPECT_EQ(CodeOf([&] { ReadWordFile(path, [&](std::int32_t, const TWordRec&) { ++calls; }); }),
              IoReadPastEnd);
    EXPECT_EQ(calls, 2);
}

TEST_F(WordFile, InjectedFaultsHitTheNthCallCountedFromNow)
{
    WriteWordFile(path, Records(1));
    ReadWordFile(path);
    os::InjectFault(os::Op::Open, 2, EMFILE);
    EXPECT_EQ(CodeOf([&] { ReadWordFile(path); }), 0);
    EXPECT_EQ(CodeOf([&] { ReadWordFile(path); }), IoTooManyOpenFiles);
    EXPECT_EQ(CodeOf([&] { ReadWordFile(path); }), 0);
    os::InjectFault(os::Op::Read, 1, EIO);
    EXPECT_EQ(CodeOf([&] { ReadWordFile(path); }), 1117);
    os::InjectFault(os::Op::Close, 1, EBADF);
    EXPECT_EQ(CodeOf([&] { ReadWordFile(path); }), EBADF);
}

TEST_F(WordFile, ARecordCountBeyond32BitsIsRefusedBeforeReading)
{
    {
        std::ofstream create(path);
    }
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(RecordSize) * 2147483648LL), 0);  // sparse
    EXPECT_EQ(MessageOf([&] { ReadWordFile(path); }), "ファイルが大きすぎます");
}

TEST_F(WordFile, AListBeyondMemoryIsRefusedBeforeReading)
{
    {
        std::ofstream create(path);
    }
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(RecordSize) * 20'000'000), 0);  // 1.2 GB, sparse
    const int refused = test::RunInChild([&] {
        const rlimit limit{512u << 20, 512u << 20};
        ::setrlimit(RLIMIT_AS, &limit);
        int reads = 0;
        const std::string message =
            MessageOf([&] { ReadWordFile(path, [&](std::int32_t, const TWordRec&) { ++reads; }); });
        return message == "メモリが足りません" && reads == 0 ? 1 : 0;
    });
    EXPECT_EQ(refused, 1);
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
        {os::Op::Open, EMFILE, IoTooManyOpenFiles},
        {os::Op::Write, 0, IoDiskFull},
        {os::Op::Write, EIO, 1117},
        {os::Op::Flush, ENOSPC, 112},
        {os::Op::Close, EIO, 1117},
        {os::Op::Rename, EACCES, IoAccessDenied},
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
    os::InjectFault(os::Op::Close, 1, EMFILE);
    EXPECT_EQ(CodeOf([&] { WriteWordFile(path, Records(2)); }), IoTooManyOpenFiles);
    EXPECT_EQ(ReadAll(path), Bytes(Records(1)));
}

TEST_F(WordFile, AReadOnlyTargetFailsWithAccessDeniedAndStaysAsItWas)
{
    WriteWordFile(path, Records(3));
    ::chmod(path.c_str(), 0444);
    const int code = test::RunInChild([&] {
        test::DropFileOverride();
        return CodeOf([&] { WriteWordFile(path, Records(5)); });
    });
    EXPECT_EQ(code, IoAccessDenied);
    EXPECT_EQ(ReadAll(path), Bytes(Records(3)));
    EXPECT_TRUE(Strays().empty());
}

TEST_F(WordFile, SavingKeepsPermissionsAndFollowsSymbolicLinks)
{
    const std::string real = dir.File("real.mirvel");
    WriteWordFile(real, Records(1));
    ::chmod(real.c_str(), 0640);
    ::symlink("real.mirvel", path.c_str());

    WriteWordFile(path, Records(6));
    struct stat info {};
    ASSERT_EQ(::lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadAll(real), Bytes(Records(6)));
}

TEST_F(WordFile, ADanglingLinkIsSavedToTheFileItNames)
{
    ::symlink("made.mirvel", path.c_str());
    WriteWordFile(path, Records(2));
    EXPECT_EQ(ReadAll(dir.File("made.mirvel")), Bytes(Records(2)));
}

TEST_F(WordFile, AFolderThatRefusesNewFilesGetsTheTargetWrittenInPlace)
{
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
}

TEST_F(WordFile, SavingIntoAMissingFolderFailsWithPathNotFound)
{
    EXPECT_EQ(CodeOf([&] { WriteWordFile(dir.File("gone/words.mirvel"), Records(1)); }), IoPathNotFound);
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
