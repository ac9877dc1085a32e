// A pipe or a device given to either program as a word list: refused with the access-denied
// box at once (a pipe with no writer must not hang the window), the shown list kept, and a save
// to one never replacing it, also through a symbolic link.
#include "EditorFixture.h"
#include "ViewerFixture.h"

#include <sys/stat.h>
#include <unistd.h>

namespace mirvel::reliability {
namespace {

const char* const Denied = "ファイルへのアクセスが拒否されました.";

bool IsFifo(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

// A read that blocks on a pipe ends the test program instead of hanging it.
class Watchdog {
public:
    Watchdog() { ::alarm(30); }
    ~Watchdog() { ::alarm(0); }
};

class SpecialFiles : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
        ASSERT_EQ(::symlink("fifo.mirvel", link.c_str()), 0);
    }
    std::string fifo = dir.File("fifo.mirvel");
    std::string link = dir.File("link.mirvel");
    Watchdog watchdog;
};

TEST_F(SpecialFiles, TheViewerRefusesThemOnTheCommandLineAndThroughOpen)
{
    auto atStart = std::make_unique<viewer::TForm1>(shell, QString::fromStdString(dir.File("Mirvel.ini")),
                                                    QStringList{QString::fromStdString(fifo)});
    EXPECT_EQ(shell.errors, std::vector<QString>{Utf8(Denied)});
    EXPECT_EQ(atStart->Cards().WordCount(), 0);

    const std::string shown = Write("shown.mirvel", PatternedList(3, "mot"));
    viewer::TForm1 form(shell, QString::fromStdString(dir.File("Mirvel.ini")),
                        {QString::fromStdString(shown)});
    form.show();
    for (const std::string& name : {fifo, link, std::string("/dev/zero"), std::string("/dev/urandom")}) {
        SCOPED_TRACE(name);
        shell.errors.clear();
        shell.openAnswers.push_back(QString::fromStdString(name));
        QTest::mouseClick(form.findChild<QPushButton*>("btnOpen"), Qt::LeftButton);
        EXPECT_EQ(shell.errors, std::vector<QString>{Utf8(Denied)});
        EXPECT_EQ(Bytes(form.Cards().Words()), Bytes(PatternedList(3, "mot")));
    }
}

TEST_F(SpecialFiles, TheEditorRefusesToOpenThemAndItsSaveNeverReplacesOne)
{
    const std::string path = Write("words.mirvel", PatternedList(3, "mot"));
    auto form = EditedDocument(path);
    const EditorState before = EditorState::Of(*form);
    for (const std::string& name : {fifo, std::string("/dev/zero")}) {
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
    EXPECT_TRUE(IsFifo(fifo));
    struct stat info {};
    EXPECT_TRUE(::lstat(link.c_str(), &info) == 0 && S_ISLNK(info.st_mode));
    Discard(form);
}

}  // namespace
}  // namespace mirvel::reliability
