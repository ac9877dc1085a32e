// Resident memory of each program holding a 1,000,000-pair list (its window shown, the list
// loaded as the user loads it), against 60 MB of records plus an empty window of the same
// toolkit. Each figure comes from a fresh child process of this program, so that nothing one
// measurement allocated stays in another's.
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

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::int32_t RecordCount = 1'000'000;
constexpr double RecordMB = RecordCount * 60 / 1e6;
constexpr int Runs = 3;

struct Resident {
    long long currentKiB = 0;
    long long peakKiB = 0;
};

Resident ResidentNow()
{
    Resident figures;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) figures.currentKiB = std::stoll(line.substr(6));
        if (line.rfind("VmHWM:", 0) == 0) figures.peakKiB = std::stoll(line.substr(6));
    }
    return figures;
}

void Settle(QWidget& window)
{
    window.show();
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

// Child mode: one program's window with the list, then its memory on the pipe.
int RunChild(int argc, char* argv[], const std::string& which, const std::string& list, int pipe)
{
    qInstallMessageHandler(Quiet);
    QApplication application(argc, argv);
    mirvel::test::TempDir dir;
    bool loaded = true;
    if (which == "empty") {
        QWidget window;
        window.resize(156, 76);
        Settle(window);
    } else if (which == "viewer") {
        mirvel::gui::QtShell shell;
        static viewer::TForm1 form1(shell, QString::fromStdString(dir.File("Mirvel.ini")),
                                    {QString::fromStdString(list)});
        static viewer::TForm2 form2;
        static viewer::TForm3 form3;
        form1.SetDialogs(&form2, &form3);
        Settle(form1);
        loaded = form1.Cards().WordCount() == RecordCount;
    } else {
        static mirvel::test::FakeShell shell;
        static editor::TForm1 form1(shell, QString::fromStdString(dir.File("Mirveledit.ini")));
        static editor::TForm2 form2(&form1);
        form1.SetAboutBox(&form2);
        Settle(form1);
        shell.openAnswers.push_back(QString::fromStdString(list));
        form1.Open1Click();
        Settle(form1);
        loaded = form1.Doc().WordCount() == RecordCount && shell.errors.empty();
    }
    const Resident figures = ResidentNow();
    char text[64];
    const int length = std::snprintf(text, sizeof text, "%lld %lld", figures.currentKiB, figures.peakKiB);
    if (::write(pipe, text, static_cast<std::size_t>(length)) != length) loaded = false;
    ::_exit(loaded ? 0 : 1);
}

bool Measure(const char* which, const std::string& list, Resident& median)
{
    std::vector<Resident> runs;
    for (int run = 0; run < Runs; ++run) {
        int fds[2];
        if (::pipe(fds) != 0) return false;
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::close(fds[0]);
            std::string mode = std::string("--child=") + which;
            std::string listArg = "--list=" + list;
            std::string pipeArg = "--pipe=" + std::to_string(fds[1]);
            ::execl("/proc/self/exe", "bench_memory", mode.c_str(), listArg.c_str(), pipeArg.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        char text[64] = {};
        const ssize_t got = ::read(fds[0], text, sizeof text - 1);
        ::close(fds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        Resident figures;
        if (got <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
            std::sscanf(text, "%lld %lld", &figures.currentKiB, &figures.peakKiB) != 2)
            return false;
        runs.push_back(figures);
    }
    std::sort(runs.begin(), runs.end(),
              [](const Resident& a, const Resident& b) { return a.currentKiB < b.currentKiB; });
    median = runs[runs.size() / 2];
    return true;
}

std::string WriteLargeList(const mirvel::test::TempDir& dir)
{
    mirvel::WordList words(RecordCount);
    for (std::int32_t i = 0; i < RecordCount; ++i) {
        const std::string number = std::to_string(i);
        words[static_cast<std::size_t>(i)].SetFrancais("mot " + number);
        words[static_cast<std::size_t>(i)].SetJaponais("\x92\x50\x8c\xea " + number);  // 単語
    }
    const std::string path = dir.File("large.mirvel");
    mirvel::WriteWordFile(path, words);
    return path;
}

double MB(long long kib) { return kib * 1024 / 1e6; }

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("QT_QPA_PLATFORMTHEME");
    if (argc >= 4 && std::strncmp(argv[1], "--child=", 8) == 0)
        return RunChild(argc, argv, argv[1] + 8, argv[2] + std::strlen("--list="),
                        std::atoi(argv[3] + std::strlen("--pipe=")));

    const mirvel::test::TempDir dir;
    const std::string list = WriteLargeList(dir);
    Resident empty, viewerFigures, editorFigures;
    if (!Measure("empty", list, empty) || !Measure("viewer", list, viewerFigures) ||
        !Measure("editor", list, editorFigures)) {
        std::fprintf(stderr, "bench_memory: a child failed\n");
        return 1;
    }

    std::printf("Resident memory, median of %d fresh processes (%s platform), MB = 10^6 bytes:\n", Runs,
                qgetenv("QT_QPA_PLATFORM").constData());
    std::printf("  %-36s %8.1f MB (peak %.1f MB)\n", "empty window", MB(empty.currentKiB), MB(empty.peakKiB));
    const double budget = RecordMB * 1.25;
    for (const auto& [name, figures] : {std::pair{"viewer, 1,000,000 pairs", viewerFigures},
                                        std::pair{"editor, 1,000,000 pairs, list filled", editorFigures}}) {
        const double over = MB(figures.currentKiB - empty.currentKiB);
        const double peakOver = MB(figures.peakKiB - empty.peakKiB);
        std::printf(
            "  %-36s %8.1f MB (peak %.1f MB): %.1f MB over the empty window = %.2fx the %.0f MB of "
            "records (goal: within %.0f MB, 1.25x); peak %.1f MB over = %.2fx\n",
            name, MB(figures.currentKiB), MB(figures.peakKiB), over, over / RecordMB, RecordMB, budget,
            peakOver, peakOver / RecordMB);
    }
    return 0;
}
