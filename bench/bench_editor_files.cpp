// The editor's Open (list filled and shown) and Save of a 1,000,000-pair file, against the same
// on 1,000 pairs and against the bare read and write of the file, in the same run. The goal for
// opening a million pairs is under one second.
#include "tests/support/FakeShell.h"
#include "tests/support/TempDir.h"
#include "editor/Unit1.h"

#include "common/WordFile.h"

#include <QApplication>
#include "bench/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int Small = 1'000;
constexpr int Large = 1'000'000;

mirvel::test::TempDir* workDir = nullptr;

std::string ListFile(int pairs)
{
    const std::string path = workDir->File("list" + std::to_string(pairs) + ".mirvel");
    if (!mirvel::FileExists(path)) {
        mirvel::WordList words(static_cast<std::size_t>(pairs));
        for (int i = 0; i < pairs; ++i) {
            words[static_cast<std::size_t>(i)].SetFrancais("mot " + std::to_string(i));
            words[static_cast<std::size_t>(i)].SetJaponais("\x92\x50\x8c\xea");  // 単語
        }
        mirvel::WriteWordFile(path, words);
    }
    return path;
}

// The window shown, as the user has it, with events processed after each command so that the
// list's own work is counted.
class EditorWindow {
public:
    EditorWindow() : form_(shell_, QString::fromStdString(workDir->File("Mirveledit.ini"))) { form_.show(); }
    ~EditorWindow() { form_.hide(); }
    void Open(const std::string& path)
    {
        shell_.openAnswers.push_back(QString::fromStdString(path));
        form_.Open1Click();
        QCoreApplication::processEvents();
    }
    void Save()
    {
        form_.Save1Click();
        QCoreApplication::processEvents();
    }
    bool Failed() const { return !shell_.errors.empty(); }
    int Count() const { return form_.Doc().WordCount(); }

private:
    mirvel::test::FakeShell shell_;
    editor::TForm1 form_;
};

void BM_EditorOpen(benchmark::State& state)
{
    const std::string path = ListFile(static_cast<int>(state.range(0)));
    EditorWindow window;
    for (auto _ : state) window.Open(path);
    if (window.Failed() || window.Count() != state.range(0)) state.SkipWithError("the open failed");
}

void BM_EditorSave(benchmark::State& state)
{
    const std::string path = ListFile(static_cast<int>(state.range(0)));
    EditorWindow window;
    window.Open(path);
    for (auto _ : state) window.Save();
    if (window.Failed()) state.SkipWithError("the save failed");
}

void BM_BareRead(benchmark::State& state)
{
    const std::string path = ListFile(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(mirvel::ReadWordFile(path).data());
}

void BM_BareWrite(benchmark::State& state)
{
    const std::string path = ListFile(static_cast<int>(state.range(0)));
    const mirvel::WordList words = mirvel::ReadWordFile(path);
    for (auto _ : state) mirvel::WriteWordFile(path, words);
}

BENCHMARK(BM_EditorOpen)->Arg(Small)->Arg(Large)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BareRead)->Arg(Large)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_EditorSave)->Arg(Small)->Arg(Large)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_BareWrite)->Arg(Large)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("QT_QPA_PLATFORMTHEME");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Mirveledit"));
    mirvel::test::TempDir dir;
    workDir = &dir;

    benchmark::Initialize(&argc, argv);
    mirvel::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto large = "/" + std::to_string(Large);
    const auto small = "/" + std::to_string(Small);
    const double open = reporter.Seconds("BM_EditorOpen" + large);
    const double save = reporter.Seconds("BM_EditorSave" + large);
    if (open > 0 && save > 0) {
        std::printf("\nEditor, 1,000,000 pairs:\n");
        std::printf(
            "  open, list filled   %8.1f ms (goal: under 1000 ms); %.0fx the 1,000-pair open; %.2fx the bare "
            "read\n",
            open * 1e3, open / reporter.Seconds("BM_EditorOpen" + small),
            open / reporter.Seconds("BM_BareRead" + large));
        std::printf("  save                %8.1f ms; %.0fx the 1,000-pair save; %.2fx the bare write\n",
                    save * 1e3, save / reporter.Seconds("BM_EditorSave" + small),
                    save / reporter.Seconds("BM_BareWrite" + large));
    }
    return 0;
}
