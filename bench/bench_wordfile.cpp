// Word-list file and settings costs. Read side by side: block reads against one read call per
// record, the reader and writer against one bulk call on a million records, and what a save or
// a settings write costs with its flush and rename.
#include "common/CodePage.h"
#include "common/IniFile.h"
#include "common/WordFile.h"
#include "common/os/File.h"

#include "tests/support/TempDir.h"

#include "bench/RatioReporter.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>
#include <string>
#include <unistd.h>

namespace {

using namespace mirvel;

// One folder for the whole run, removed at its end.
const mirvel::test::TempDir& Scratch()
{
    static const mirvel::test::TempDir folder;
    return folder;
}

WordList SampleWords(std::int64_t count)
{
    WordList words(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < words.size(); ++i) {
        words[i].SetFrancais("m\xE9morable " + std::to_string(i % 1000));
        words[i].SetJaponais("\x8b\x4c\x89\xaf\x82\xb7\x82\xd7\x82\xab " + std::to_string(i));  // 記憶すべき
    }
    return words;
}

std::string SampleFile(std::int64_t count)
{
    const std::string path = Scratch().File("sample-" + std::to_string(count) + ".mirvel");
    if (!FileExists(path)) WriteWordFile(path, SampleWords(count));
    return path;
}

void BM_ReadWordFile(benchmark::State& state)
{
    const std::string path = SampleFile(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(ReadWordFile(path));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadWordFile)->Arg(1000)->Arg(100000);

// The baseline: one read call per record, as record-at-a-time file access does it.
void BM_ReadOneRecordPerCall(benchmark::State& state)
{
    const std::string path = SampleFile(state.range(0));
    for (auto _ : state) {
        os::File file = os::File::OpenExisting(path);
        WordList words(static_cast<std::size_t>(file.Size() / static_cast<std::int64_t>(RecordSize)));
        for (auto& record : words) file.Read(&record, RecordSize);
        file.Close();
        benchmark::DoNotOptimize(words.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadOneRecordPerCall)->Arg(1000)->Arg(100000);

void BM_WriteWordFile(benchmark::State& state)
{
    const WordList words = SampleWords(state.range(0));
    const std::string path = Scratch().File("write.mirvel");
    for (auto _ : state) WriteWordFile(path, words);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WriteWordFile)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Both fields of every record to Unicode, as a list box filled from a loaded file needs.
void BM_DecodeRecords(benchmark::State& state)
{
    const WordList words = SampleWords(state.range(0));
    for (auto _ : state) {
        for (const auto& record : words) {
            benchmark::DoNotOptimize(DecodeToUtf8(CodePage::Windows1252, record.FrancaisBytes()));
            benchmark::DoNotOptimize(DecodeToUtf8(CodePage::ShiftJis, record.JaponaisBytes()));
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DecodeRecords)->Arg(1000);

// A close handler's settings: nine keys, each written through its own atomic rewrite.
void BM_WriteSettingsAtClose(benchmark::State& state)
{
    const std::string path = Scratch().File("bench.ini");
    const char* const keys[] = {"Order", "FSize", "FBold", "JSize", "JBold", "ShowHint", "ShowNumber"};
    for (auto _ : state) {
        TIniFile ini(path);
        ini.WriteString("Form", "Left", "434");
        ini.WriteString("Form", "Top", "346");
        for (const char* key : keys) ini.WriteString("User", key, "9");
    }
}
BENCHMARK(BM_WriteSettingsAtClose)->Unit(benchmark::kMillisecond);

// A million records through the word-list reader and writer, against the same bytes moved in
// one bulk call each. The bulk write is flushed to the disk too, as every save is.
constexpr std::int64_t MillionRecords = 1000000;

void BM_MillionRead(benchmark::State& state)
{
    const std::string path = SampleFile(MillionRecords);
    for (auto _ : state) benchmark::DoNotOptimize(ReadWordFile(path));
}
BENCHMARK(BM_MillionRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MillionBulkRead(benchmark::State& state)
{
    const std::string path = SampleFile(MillionRecords);
    for (auto _ : state) {
        // A fresh buffer each time, as a load gets a fresh list.
        const int fd = ::open(path.c_str(), O_RDONLY);
        const auto size = static_cast<std::size_t>(::lseek(fd, 0, SEEK_END));
        std::unique_ptr<char[]> buffer(new char[size]);
        benchmark::DoNotOptimize(::pread(fd, buffer.get(), size, 0));
        ::close(fd);
    }
}
BENCHMARK(BM_MillionBulkRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MillionWrite(benchmark::State& state)
{
    const WordList words = SampleWords(MillionRecords);
    const std::string path = Scratch().File("million-write.mirvel");
    for (auto _ : state) WriteWordFile(path, words);
}
BENCHMARK(BM_MillionWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MillionBulkWrite(benchmark::State& state)
{
    const WordList words = SampleWords(MillionRecords);
    const std::string path = Scratch().File("million-bulk.mirvel");
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        benchmark::DoNotOptimize(::write(fd, words.data(), words.size() * RecordSize));
        ::fsync(fd);
        ::close(fd);
    }
}
BENCHMARK(BM_MillionBulkWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

void PrintRatio(const mirvel::bench::RatioReporter& reporter, const char* what, const char* ours,
                const char* bulk)
{
    const double a = reporter.Seconds(ours), b = reporter.Seconds(bulk);
    if (a > 0 && b > 0) std::printf("%s: %.2fx the bulk call (goal: within 2x)\n", what, a / b);
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    mirvel::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintRatio(reporter, "read of 1,000,000 records", "BM_MillionRead", "BM_MillionBulkRead");
    PrintRatio(reporter, "write of 1,000,000 records", "BM_MillionWrite", "BM_MillionBulkWrite");
    benchmark::Shutdown();
    return 0;
}
