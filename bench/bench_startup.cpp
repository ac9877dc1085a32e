// Start-up: each program's main window constructed and shown with its settings read, against
// an empty window of the same toolkit, in the same run. Two figures each: the whole process
// (start, toolkit set up, window shown; the bench starts itself in a child mode for that), and
// the window alone inside a running application. A second baseline, a window showing one line
// of text, carries the toolkit's one-time font set-up (font configuration, font database, the
// first shaped text) that no window with text can avoid, so that what remains is the programs'
// own cost. A third pair: the viewer started on a 1,000,000-pair list against one pair, until
// its counter reads 1/1000000 (or 1/1).
#include "tests/support/FakeShell.h"
#include "tests/support/TempDir.h"
#include "editor/Unit1.h"
#include "editor/Unit2.h"
#include "viewer/Unit1.h"
#include "viewer/Unit2.h"
#include "viewer/Unit3.h"

#include "common/WordFile.h"
#include "common/gui/Shell.h"

#include <QApplication>
#include <QLabel>
#include "bench/RatioReporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string settingsFolder;

const char* const ViewerSettings =
    "[Form]\r\nLeft=100\r\nTop=120\r\n\r\n[User]\r\nOrder=FJ\r\nFSize=12\r\nFBold=true\r\nJSize=10\r\n"
    "JBold=false\r\nShowHint=true\r\nShowNumber=true\r\n";
const char* const EditorSettings = "[Form]\r\nLeft=200\r\nTop=150\r\n";

std::string SettingsFile(const char* name) { return settingsFolder + "/" + name; }

// Shown means mapped and painted once.
void Settle(QWidget& window)
{
    window.show();
    QCoreApplication::processEvents();
}

std::string ListFile(const std::string& pairs) { return settingsFolder + "/" + pairs + ".mirvel"; }

void WriteList(std::int32_t pairs)
{
    mirvel::WordList words(static_cast<std::size_t>(pairs));
    for (std::int32_t i = 0; i < pairs; ++i) {
        words[static_cast<std::size_t>(i)].SetFrancais("mot " + std::to_string(i));
        words[static_cast<std::size_t>(i)].SetJaponais("\x92\x50\x8c\xea " + std::to_string(i));  // 単語
    }
    mirvel::WriteWordFile(ListFile(std::to_string(pairs)), words);
}

// The windows as each program's main function makes them. Returns the counter's text.
QString ShowViewer(mirvel::gui::Shell& shell, const QStringList& args = {})
{
    viewer::TForm1 form1(shell, QString::fromStdString(SettingsFile("Mirvel.ini")), args);
    viewer::TForm2 form2;
    viewer::TForm3 form3;
    form1.SetDialogs(&form2, &form3);
    Settle(form1);
    const auto* counter = form1.findChild<QLabel*>(QStringLiteral("lblDataNum"));
    return counter ? counter->text() : QString();
}

void ShowEditor(mirvel::gui::Shell& shell)
{
    editor::TForm1 form1(shell, QString::fromStdString(SettingsFile("Mirveledit.ini")));
    editor::TForm2 form2(&form1);
    form1.SetAboutBox(&form2);
    Settle(form1);
    form1.hide();  // closing would write the settings
}

void ShowEmpty()
{
    QWidget window;
    window.resize(156, 76);
    Settle(window);
}

void ShowText()
{
    QLabel window(QStringLiteral("Mirvel"));
    window.resize(156, 76);
    Settle(window);
}

void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

// Child mode: the whole start of one program, then out without tearing down.
int RunChild(int argc, char* argv[], const std::string& which)
{
    qInstallMessageHandler(Quiet);
    QApplication application(argc, argv);
    if (which == "empty") {
        ShowEmpty();
    } else if (which == "text") {
        ShowText();
    } else {
        mirvel::gui::QtShell shell;
        if (which == "viewer") {
            ShowViewer(shell);
        } else if (which.rfind("viewer-", 0) == 0) {
            // The list given on the command line, loaded and its first card shown.
            const std::string pairs = which.substr(7);
            const QString counter = ShowViewer(shell, {QString::fromStdString(ListFile(pairs))});
            if (counter != QString::fromStdString("1/" + pairs)) ::_exit(2);
        } else {
            ShowEditor(shell);
        }
    }
    std::fflush(nullptr);
    ::_exit(0);
}

void StartChild(benchmark::State& state, const char* which)
{
    char self[] = "/proc/self/exe";
    std::string mode = std::string("--child=") + which;
    std::string folder = "--settings=" + settingsFolder;
    char* argv[] = {self, mode.data(), folder.data(), nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        if (::posix_spawn(&pid, self, nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("posix_spawn failed");
            return;
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the child failed");
            return;
        }
    }
}

void BM_ProcessEmptyWindow(benchmark::State& state) { StartChild(state, "empty"); }
void BM_ProcessTextWindow(benchmark::State& state) { StartChild(state, "text"); }
void BM_ProcessViewer(benchmark::State& state) { StartChild(state, "viewer"); }
void BM_ProcessEditor(benchmark::State& state) { StartChild(state, "editor"); }
void BM_ProcessViewerOnePair(benchmark::State& state) { StartChild(state, "viewer-1"); }
void BM_ProcessViewerMillionPairs(benchmark::State& state) { StartChild(state, "viewer-1000000"); }

void BM_WindowEmpty(benchmark::State& state)
{
    for (auto _ : state) ShowEmpty();
}

void BM_WindowText(benchmark::State& state)
{
    for (auto _ : state) ShowText();
}

void BM_WindowViewer(benchmark::State& state)
{
    mirvel::test::FakeShell shell;
    for (auto _ : state) ShowViewer(shell);
    if (!shell.errors.empty()) state.SkipWithError("the create handler failed");
}

void BM_WindowEditor(benchmark::State& state)
{
    mirvel::test::FakeShell shell;
    for (auto _ : state) ShowEditor(shell);
    if (!shell.errors.empty()) state.SkipWithError("the create handler failed");
}

BENCHMARK(BM_ProcessEmptyWindow)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_ProcessTextWindow)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_ProcessViewer)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_ProcessEditor)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_ProcessViewerOnePair)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_ProcessViewerMillionPairs)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_WindowEmpty)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_WindowText)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_WindowViewer)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_WindowEditor)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void PrintRatio(const mirvel::bench::RatioReporter& reporter, const char* what, const char* program,
                const char* baseline)
{
    const double p = reporter.Seconds(program), b = reporter.Seconds(baseline);
    if (p <= 0 || b <= 0) return;
    std::printf("  %-40s %9.3f ms / %8.3f ms = %6.2fx\n", what, p * 1e3, b * 1e3, p / b);
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("QT_QPA_PLATFORMTHEME");
    if (argc >= 3 && std::strncmp(argv[1], "--child=", 8) == 0) {
        settingsFolder = argv[2] + std::strlen("--settings=");
        return RunChild(argc, argv, argv[1] + 8);
    }

    mirvel::test::TempDir dir;
    settingsFolder = dir.Path().string();
    mirvel::test::WriteAll(SettingsFile("Mirvel.ini"), ViewerSettings);
    mirvel::test::WriteAll(SettingsFile("Mirveledit.ini"), EditorSettings);
    WriteList(1);
    WriteList(1'000'000);

    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    mirvel::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nStart-up against an empty window (goal: within 1.5x; %s platform):\n",
                qgetenv("QT_QPA_PLATFORM").constData());
    PrintRatio(reporter, "viewer, process start to shown", "BM_ProcessViewer", "BM_ProcessEmptyWindow");
    PrintRatio(reporter, "editor, process start to shown", "BM_ProcessEditor", "BM_ProcessEmptyWindow");
    PrintRatio(reporter, "viewer, window in a running application", "BM_WindowViewer", "BM_WindowEmpty");
    PrintRatio(reporter, "editor, window in a running application", "BM_WindowEditor", "BM_WindowEmpty");
    std::printf("Against a window showing one line of text (the toolkit's font set-up paid by both):\n");
    PrintRatio(reporter, "viewer, process start to shown", "BM_ProcessViewer", "BM_ProcessTextWindow");
    PrintRatio(reporter, "editor, process start to shown", "BM_ProcessEditor", "BM_ProcessTextWindow");
    PrintRatio(reporter, "text window, process start to shown", "BM_ProcessTextWindow",
               "BM_ProcessEmptyWindow");
    std::printf(
        "A 1,000,000-pair list against one pair, process start to its first card (goal: within 1.5x):\n");
    PrintRatio(reporter, "viewer, 1,000,000 pairs against 1", "BM_ProcessViewerMillionPairs",
               "BM_ProcessViewerOnePair");
    return 0;
}
