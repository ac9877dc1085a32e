// Loading a large word list into the card window and showing its first card, against the bare
// read of the same file in the same run. The card shows one record, so the load should cost
// little more than the read itself.
#include "FakeShell.h"
#include "TempDir.h"
#include "Unit1.h"

#include "WordFile.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr std::int32_t RecordCount = 1'000'000;

mirvel::test::TempDir* workDir = nullptr;
std::string listPath;

void WriteLargeList()
{
    mirvel::WordList words(RecordCount);
    for (std::int32_t i = 0; i < RecordCount; ++i) {
        const std::string number = std::to_string(i);
        words[static_cast<std::size_t>(i)].SetFrancais("mot " + number);
        words[static_cast<std::size_t>(i)].SetJaponais("\x92\x50\x8c\xea " + number);  // 単語
    }
    listPath = workDir->File("large.mirvel");
    mirvel::WriteWordFile(listPath, words);
}

void BM_ReadWordFile(benchmark::State& state)
{
    for (auto _ : state) {
        mirvel::WordList words = mirvel::ReadWordFile(listPath);
        benchmark::DoNotOptimize(words.data());
    }
    state.SetItemsProcessed(state.iterations() * RecordCount);
}

void BM_ViewerLoadWordFile(benchmark::State& state)
{
    mirvel::test::FakeShell shell;
    viewer::TForm1 form(shell, QString::fromStdString(workDir->File("Mirvel.ini")), {});
    form.FileName = QString::fromStdString(listPath);
    for (auto _ : state) {
        form.LoadWordFile();
        benchmark::DoNotOptimize(form.Cards().WordCount());
    }
    if (!shell.errors.empty() || form.Cards().WordCount() != RecordCount)
        state.SkipWithError("the load failed");
    state.SetItemsProcessed(state.iterations() * RecordCount);
}

BENCHMARK(BM_ReadWordFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ViewerLoadWordFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Keeps each benchmark's real time per iteration, to print the ratio at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> realTimes;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                realTimes[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);

    mirvel::test::TempDir dir;
    workDir = &dir;
    WriteLargeList();

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto bare = reporter.realTimes.find("BM_ReadWordFile/min_time:2.000");
    const auto viewer = reporter.realTimes.find("BM_ViewerLoadWordFile/min_time:2.000");
    if (bare != reporter.realTimes.end() && viewer != reporter.realTimes.end()) {
        std::printf("viewer load / bare read (%d records): %.2fx (goal: within 1.5x)\n", RecordCount,
                    viewer->second / bare->second);
    }
    return 0;
}
