// The editor's list commands on a 1,000,000-pair document against the same commands on a
// 1,000-pair one, in the same run, through the real window: the document, its list model and
// the list view that shows it, events processed after each command so that the view's own
// work is counted. A command should cost about the same on both lists; delete may cost one
// move of the records after the deleted one, shown beside it as a bare memmove.
#include "tests/support/FakeShell.h"
#include "tests/support/TempDir.h"
#include "editor/Unit1.h"
#include "common/WordFile.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include "bench/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int Small = 1'000;
constexpr int Large = 1'000'000;

mirvel::test::TempDir* workDir = nullptr;

// One window holding a list of `pairs` pairs, opened from a file as the user would.
class EditorWindow {
public:
    explicit EditorWindow(int pairs)
    {
        mirvel::WordList words(static_cast<std::size_t>(pairs));
        for (int i = 0; i < pairs; ++i) {
            words[static_cast<std::size_t>(i)].SetFrancais("mot " + std::to_string(i));
            words[static_cast<std::size_t>(i)].SetJaponais("\x92\x50\x8c\xea");  // 単語
        }
        const std::string path = workDir->File("list" + std::to_string(pairs) + ".mirvel");
        mirvel::WriteWordFile(path, words);
        form_ =
            std::make_unique<editor::TForm1>(shell_, QString::fromStdString(workDir->File("Mirveledit.ini")));
        form_->show();
        shell_.openAnswers.push_back(QString::fromStdString(path));
        form_->Open1Click();
        list_ = form_->findChild<QAbstractItemView*>("ListBox1");
        Settle();
    }
    ~EditorWindow() { form_->hide(); }

    editor::TForm1& Form() { return *form_; }
    int Count() const { return form_->Doc().WordCount(); }
    bool Failed() const { return !shell_.errors.empty(); }

    // The user picks an item, which runs ListBox1Click.
    void Select(int row)
    {
        list_->selectionModel()->setCurrentIndex(list_->model()->index(row, 0),
                                                 QItemSelectionModel::ClearAndSelect);
        Settle();
    }
    static void Settle() { QCoreApplication::processEvents(); }

private:
    mirvel::test::FakeShell shell_;
    std::unique_ptr<editor::TForm1> form_;
    QAbstractItemView* list_ = nullptr;
};

std::map<int, std::unique_ptr<EditorWindow>> windows;  // cleared before the application ends

EditorWindow& WindowOf(int pairs)
{
    auto& window = windows[pairs];
    if (!window) window = std::make_unique<EditorWindow>(pairs);
    return *window;
}

void BM_Add(benchmark::State& state)
{
    EditorWindow& window = WindowOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        window.Form().btnAddClick();
        EditorWindow::Settle();
    }
    if (window.Failed()) state.SkipWithError("a command failed");
}

void BM_DeleteFront(benchmark::State& state)
{
    EditorWindow& window = WindowOf(static_cast<int>(state.range(0)));
    window.Select(0);
    for (auto _ : state) {
        window.Form().btnDeleteClick();
        EditorWindow::Settle();
        // Keep the list at its size and the first pair current, off the clock.
        state.PauseTiming();
        window.Form().btnAddClick();
        window.Select(0);
        state.ResumeTiming();
    }
    if (window.Failed()) state.SkipWithError("a command failed");
}

void BM_UpDownMiddle(benchmark::State& state)
{
    EditorWindow& window = WindowOf(static_cast<int>(state.range(0)));
    window.Select(window.Count() / 2);
    for (auto _ : state) {
        window.Form().btnUpClick();
        EditorWindow::Settle();
        window.Form().btnDownClick();
        EditorWindow::Settle();
    }
    if (window.Failed()) state.SkipWithError("a command failed");
}

void BM_Update(benchmark::State& state)
{
    EditorWindow& window = WindowOf(static_cast<int>(state.range(0)));
    window.Select(window.Count() / 2);
    auto* edF = window.Form().findChild<QLineEdit*>("edF");
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        edF->setText(QString::number(++n % 1000));
        state.ResumeTiming();
        window.Form().btnRenewClick();
        EditorWindow::Settle();
    }
    if (window.Failed()) state.SkipWithError("a command failed");
}

// The one move of records that deleting the first of a million pairs must make.
void BM_MemmoveAfterFirst(benchmark::State& state)
{
    const auto count = static_cast<std::size_t>(state.range(0));
    std::vector<mirvel::TWordRec> records(count);
    for (auto _ : state) {
        std::memmove(&records[0], &records[1], (count - 1) * sizeof(mirvel::TWordRec));
        benchmark::DoNotOptimize(records.data());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(BM_Add)->Arg(Small)->Arg(Large)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeleteFront)->Arg(Small)->Arg(Large)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpDownMiddle)->Arg(Small)->Arg(Large)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Update)->Arg(Small)->Arg(Large)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MemmoveAfterFirst)->Arg(Large)->Unit(benchmark::kMicrosecond);

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

    std::printf("\n1,000,000 pairs against 1,000 pairs (goal: within 3x; delete within one memmove):\n");
    for (const char* name : {"BM_Add", "BM_DeleteFront", "BM_UpDownMiddle", "BM_Update"}) {
        const double small = reporter.Seconds(std::string(name) + "/" + std::to_string(Small));
        const double large = reporter.Seconds(std::string(name) + "/" + std::to_string(Large));
        if (small <= 0 || large <= 0) continue;
        std::printf("  %-16s %10.1f us / %8.1f us = %8.2fx\n", name + 3, large * 1e6, small * 1e6, large / small);
    }
    const double memmove = reporter.Seconds("BM_MemmoveAfterFirst/" + std::to_string(Large));
    const double deleteLarge = reporter.Seconds("BM_DeleteFront/" + std::to_string(Large));
    if (memmove > 0 && deleteLarge > 0) {
        std::printf(
            "  delete at the front of 1,000,000 pairs: %.1f us, one memmove of the rest: %.1f us (%.2fx)\n",
            deleteLarge * 1e6, memmove * 1e6, deleteLarge / memmove);
    }
    windows.clear();
    benchmark::Shutdown();
    return 0;
}
