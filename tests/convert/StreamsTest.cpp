// The converter's inputs and outputs that aren't plain files: "-" for the standard streams,
// pipes and devices named otherwise, and lists larger than the memory it may use.
#include "convert/Commands.h"
#include "tests/convert/RunConvert.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifndef _WIN32
#include "tests/common/ChildProcess.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace mirvel::convert {
namespace {

using test::ReadAll;
using test::TempDir;

using test::Convert;
using test::Outcome;
using test::Starter;
const std::string AccessDenied = "ファイルへのアクセスが拒否されました";

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

#ifndef _WIN32
// Runs the converter with `input` coming through a pipe on standard input, as a shell's `|` does.
Outcome ConvertPiped(const std::string& input, const std::vector<std::string>& args)
{
    int ends[2];
    if (::pipe(ends) != 0) return {-1, {}, {}};
    const int saved = ::dup(0);
    ::dup2(ends[0], 0);
    ::close(ends[0]);
    std::clearerr(stdin);
    // Small enough for the pipe's buffer: written whole before the converter reads.
    (void)!::write(ends[1], input.data(), input.size());
    ::close(ends[1]);
    const Outcome outcome = Convert(args);
    ::dup2(saved, 0);
    ::close(saved);
    std::clearerr(stdin);
    return outcome;
}

// The child's address space as it stands, in bytes.
[[maybe_unused]] std::uint64_t AddressSpace()  // unused where the limit test is skipped
{
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}
#endif

TEST(Streams, DashReadsStandardInputAndWritesStandardOutput)
{
    const std::string list = ReadAll(Starter);
    ASSERT_GT(list.size(), 600u);
    TempDir dir;
    const Outcome fromFile = Convert({"export", Starter, "-o", dir.File("words.tsv")});
    ASSERT_EQ(fromFile.code, ExitSuccess) << fromFile.err;
    const std::string table = ReadAll(dir.File("words.tsv"));

    // To standard output: the table's bytes alone, no report mixed in.
    const Outcome toOut = Convert({"export", Starter, "-o", "-"});
    EXPECT_EQ(toOut.code, ExitSuccess);
    EXPECT_EQ(toOut.out, table);
#ifdef _WIN32
    GTEST_SKIP() << "the rest puts a pipe on standard input with POSIX calls";
#else
    const Outcome exported = ConvertPiped(list, {"export", "-", "-o", "-"});
    EXPECT_EQ(exported.out, table) << exported.err;
    const Outcome checked = ConvertPiped(list, {"check", "-"});
    EXPECT_EQ(checked.code, ExitSuccess) << checked.err;
    EXPECT_EQ(checked.out, Convert({"check", Starter}).out.replace(0, Starter.size(), "-"));
    EXPECT_EQ(ConvertPiped(list, {"list", "-"}).out, Convert({"list", Starter}).out);
    const Outcome imported = ConvertPiped(table, {"import", "-", "-o", dir.File("back.mirvel")});
    EXPECT_EQ(imported.code, ExitSuccess) << imported.err;
    EXPECT_EQ(ReadAll(dir.File("back.mirvel")), list);
#endif
}

TEST(Streams, PipesNamedOtherwiseAndDevicesAreRefusedAtOnce)
{
#ifdef _WIN32
    EXPECT_TRUE(Has(Convert({"check", "NUL"}).err, AccessDenied));
#else
    TempDir dir;
    const std::string fifo = dir.File("fifo.mirvel");
    const std::string tableFifo = dir.File("fifo.tsv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    ASSERT_EQ(::mkfifo(tableFifo.c_str(), 0666), 0);
    // In a child with an alarm: a read that blocks on the pipe ends the child, not the tests.
    const int refused = test::RunInChild([&] {
        ::alarm(10);
        int ends[2];  // standard input a pipe whose writer never writes, as /dev/stdin in `a | b`
        if (::pipe(ends) != 0 || ::dup2(ends[0], 0) < 0) return 0;
        int count = 0;
        for (const auto& args :
             std::vector<std::vector<std::string> >{{"check", fifo},
                                                    {"list", fifo},
                                                    {"export", fifo, "-o", dir.File("out.tsv")},
                                                    {"import", tableFifo, "-o", dir.File("out.mirvel")},
                                                    {"check", "/dev/stdin"}}) {
            const Outcome outcome = Convert(args);
            count += outcome.code == ExitProblems &&
                     Has(outcome.err, "標準入力から読み込むには - と指定してください");
        }
        const Outcome toFifo = Convert({"export", Starter, "-o", tableFifo});
        count += toFifo.code == ExitProblems && Has(toFifo.err, "-o - と指定してください");
        const Outcome device = Convert({"check", "/dev/zero"});
        count += device.code == ExitProblems && Has(device.err, AccessDenied);
        return count;
    });
    EXPECT_EQ(refused, 7);
    struct stat info {};
    ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    ASSERT_EQ(::lstat(tableFifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
#endif
}

TEST(Streams, AnImportHoldsItsInputOnceWhateverTheNumberOfPairs)
{
#if defined(_WIN32)
    GTEST_SKIP() << "Windows has no address-space limit that a test can set on a child";
#elif defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP()
        << "AddressSanitizer's own mappings fail under an address-space limit; the plain build runs this";
#else
    // Two million pairs: about 40 MB of table that would be 120 MB of records.
    constexpr int Pairs = 2'000'000;
    TempDir dir;
    const std::string table = dir.File("words.tsv");
    {
        std::ofstream out(table, std::ios::binary);
        for (int i = 0; i < Pairs; ++i) out << "mot" << i << "\t語" << i << "\r\n";
    }
    const auto size = std::filesystem::file_size(table);
    const int written = test::RunInChild([&] {
        const rlimit limit{AddressSpace() + size + (32u << 20), RLIM_INFINITY};
        ::setrlimit(RLIMIT_AS, &limit);
        return Convert({"import", table, "-o", dir.File("words.mirvel")}).code == ExitSuccess ? 1 : 0;
    });
    EXPECT_EQ(written, 1);
    EXPECT_EQ(std::filesystem::file_size(dir.File("words.mirvel")), Pairs * 60u);
#endif
}

TEST(Streams, CheckAndExportReadAListManyTimesLargerThanTheirMemory)
{
#if defined(_WIN32)
    GTEST_SKIP() << "Windows has no address-space limit that a test can set on a child";
#elif defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP()
        << "AddressSanitizer's own mappings fail under an address-space limit; the plain build runs this";
#else
    TempDir dir;
    const std::string huge = dir.File("huge.mirvel");
    // 10 million empty pairs, 600 MB that take no room on the disk.
    std::ofstream(huge).close();
    ASSERT_EQ(::truncate(huge.c_str(), 60 * 10'000'000LL), 0);
    const int clean = test::RunInChild([&] {
        const rlimit limit{AddressSpace() + (48u << 20), RLIM_INFINITY};
        ::setrlimit(RLIMIT_AS, &limit);
        const Outcome checked = Convert({"check", huge});
        // Export too, over 2 million of them (120 MB) so that its output stays small.
        if (::truncate(huge.c_str(), 60 * 2'000'000LL) != 0) return 0;
        const Outcome exported = Convert({"export", huge, "-o", dir.File("huge.tsv")});
        return checked.code == ExitSuccess && Has(checked.out, "レコード 10000000 件") &&
                       exported.code == ExitSuccess
                   ? 1
                   : 0;
    });
    EXPECT_EQ(clean, 1);
    EXPECT_EQ(std::filesystem::file_size(dir.File("huge.tsv")), 3 * 2'000'000u);  // "\t\r\n" each

    ASSERT_EQ(::truncate(huge.c_str(), 60 * 2147483648LL), 0);
    EXPECT_TRUE(Has(Convert({"check", huge}).err, "ファイルが大きすぎます"));
#endif
}

}  // namespace
}  // namespace mirvel::convert
