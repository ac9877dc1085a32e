// A pipe or a device given to either program as a word list: refused with the access-denied
// box at once (a pipe with no writer must not hang the window), the shown list kept, and a save
// to one never replacing it, also through a symbolic link.
#include "tests/reliability/EditorFixture.h"
#include "tests/reliability/ViewerFixture.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace mirvel::reliability {
namespace {

const char* const Denied = "ファイルへのアクセスが拒否されました.";

#ifdef _WIN32
// Windows' own kinds: a named pipe with a server waiting on it, and the null device.
class PipesAndDevices : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        pipe_ = ::CreateNamedPipeW(LR"(\\.\pipe\mirvel-reliability)", PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1,
                                   4096, 4096, 0, nullptr);
        ASSERT_NE(pipe_, INVALID_HANDLE_VALUE);
    }
    void TearDown() override
    {
        if (pipe_ != INVALID_HANDLE_VALUE) ::CloseHandle(pipe_);
        EditorTest::TearDown();
    }
    std::string fifo = R"(\\.\pipe\mirvel-reliability)";
    std::string link = "NUL";
    std::vector<std::string> devices = {"NUL"};
    HANDLE pipe_ = INVALID_HANDLE_VALUE;
};
#else
// A read that blocks on a pipe ends the test program instead of hanging it.
class Watchdog {
public:
    Watchdog() { ::alarm(30); }
    ~Watchdog() { ::alarm(0); }
};

class PipesAndDevices : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
        ASSERT_EQ(::symlink("fifo.mirvel", link.c_str()), 0);
    }
    // The save replaced neither the pipe nor the link to it.
    bool StillThere() const
    {
        struct stat info {};
        const bool fifoKept = ::lstat(fifo.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
        return fifoKept && ::lstat(link.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
    }
    std::string fifo = dir.File("fifo.mirvel");
    std::string link = dir.File("link.mirvel");
    std::vector<std::string> devices = {"/dev/zero", "/dev/urandom"};
    Watchdog watchdog;
};
#endif

TEST_F(PipesAndDevices, TheViewerRefusesThemOnTheCommandLineAndThroughOpen)
{
    auto atStart = std::make_unique<viewer::TForm1>(shell, QString::fromStdString(dir.File("Mirvel.ini")),
                                                    QStringList{QString::fromStdString(fifo)});
    EXPECT_EQ(shell.errors, std::vector<QString>{Utf8(Denied)});
    EXPECT_EQ(atStart->Cards().WordCount(), 0);

    const std::string shown = Write("shown.mirvel", PatternedList(3, "mot"));
    viewer::TForm1 form(shell, QString::fromStdString(dir.File("Mirvel.ini")),
                        {QString::fromStdString(shown)});
    form.show();
    std::vector<std::string> names = {fifo, link};
    names.insert(names.end(), devices.begin(), devices.end());
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        shell.errors.clear();
        shell.openAnswers.push_back(QString::fromStdString(name));
        QTest::mouseClick(form.findChild<QPushButton*>("btnOpen"), Qt::LeftButton);
        EXPECT_EQ(shell.errors, std::vector<QString>{Utf8(Denied)});
        EXPECT_EQ(Bytes(form.Cards().Words()), Bytes(PatternedList(3, "mot")));
    }
}

TEST_F(PipesAndDevices, TheEditorRefusesToOpenThemAndItsSaveNeverReplacesOne)
{
    const std::string path = Write("words.mirvel", PatternedList(3, "mot"));
    auto form = EditedDocument(path);
    const EditorState before = EditorState::Of(*form);
    for (const std::string& name : {fifo, devices.front()}) {
        SCOPED_TRACE(name);
        shell.errors.clear();
        shell.yesNoAnswers.push_back(false);  // drop the changes: the load is what is refused
        shell.openAnswers.push_back(QString::fromStdString(name));
        form->Open1Click();
        EXPECT_EQ(shell.errors, std::vector<QString>{Utf8(Denied)});
        EXPECT_TRUE(EditorState::Of(*form) == before);
    }
    for (const std::string& name : {fifo, link}) {
        SCOPED_TRACE(name);
        shell.errors.clear();
        shell.saveAnswers.push_back(QString::fromStdString(name));
        form->SaveAs1Click();
        EXPECT_EQ(shell.errors, std::vector<QString>{Utf8(Denied)});
        EXPECT_TRUE(EditorState::Of(*form) == before);
    }
#ifndef _WIN32
    EXPECT_TRUE(StillThere());
#endif
    Discard(form);
}

}  // namespace
}  // namespace mirvel::reliability
