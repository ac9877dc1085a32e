// Loading a large word list into the card window and showing its first card, against the bare
// read of the same file in the same run. The card shows one record, so the load should cost
// little more than the read itself.
#include "tests/support/FakeShell.h"
#include "tests/support/TempDir.h"
#include "viewer/Unit1.h"

#include "common/WordFile.h"

#include <QApplication>
#include "bench/RatioReporter.h"

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

}  // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);

    mirvel::test::TempDir dir;
    workDir = &dir;
    WriteLargeList();

    mirvel::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double bare = reporter.Seconds("BM_ReadWordFile");
    const double viewer = reporter.Seconds("BM_ViewerLoadWordFile");
    if (bare > 0 && viewer > 0) {
        std::printf("viewer load / bare read (%d records): %.2fx (goal: within 1.5x)\n", RecordCount,
                    viewer / bare);
    }
    return 0;
}
