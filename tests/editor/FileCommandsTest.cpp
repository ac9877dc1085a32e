#include "tests/editor/EditorFixture.h"
#include "common/IniFile.h"
#include "common/gui/WindowPlacement.h"
#include "common/os/File.h"

#include <QAccessible>

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <filesystem>
#include "common/os/Win32Api.h"
#endif

namespace editor::test {
namespace {

std::string RecordBytes(std::string_view francais, std::string_view japonais, unsigned char tail)
{
    mirvel::TWordRec record;
    std::memset(&record, tail, sizeof record);
    record.SetFrancais(francais);
    record.SetJaponais(japonais);
    return {reinterpret_cast<const char*>(&record), sizeof record};
}

// Makes a file unwritable in a way root respects, and always undoes it: the immutable flag on
// Linux, the read-only attribute on Windows (which binds administrators too).
class Immutable {
public:
    explicit Immutable(std::string path) : path_(std::move(path)) { set_ = Apply(true); }
    ~Immutable()
    {
        if (set_) Apply(false);
    }
    bool IsSet() const { return set_; }

private:
    bool Apply(bool on) const
    {
#ifdef _WIN32
        const std::wstring wide = std::filesystem::u8path(path_).wstring();
        const DWORD attributes = ::GetFileAttributesW(wide.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return false;
        const DWORD wanted = on ? attributes | FILE_ATTRIBUTE_READONLY : attributes & ~FILE_ATTRIBUTE_READONLY;
        return ::SetFileAttributesW(wide.c_str(), wanted) != 0;
#else
        return std::system(((on ? "chattr +i '" : "chattr -i '") + path_ + "'").c_str()) == 0;
#endif
    }

    std::string path_;
    bool set_ = false;
};

class FileCommandsTest : public EditorTest {
protected:
    void SetUp() override
    {
        mirvel::os::ClearFaults();
        EditorTest::SetUp();
    }
    void TearDown() override
    {
        mirvel::os::ClearFaults();
        EditorTest::TearDown();
    }

    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string path = dir.File(name);
        mirvel::test::WriteAll(path, bytes);
        return path;
    }
    void Open(const std::string& path)
    {
        shell.openAnswers.push_back(QString::fromStdString(path));
        form->Open1Click();
    }
    void SaveAs(const std::string& path)
    {
        shell.saveAnswers.push_back(QString::fromStdString(path));
        form->SaveAs1Click();
    }
    std::string Settings() const { return mirvel::test::ReadAll(SettingsPath()); }
};

const std::string ThreePairs =
    RecordBytes("un", "ichi", 0x11) + RecordBytes("deux", "ni", 0x22) + RecordBytes("trois", "san", 0x33);

TEST_F(FileCommandsTest, OpenShowsTheFirstPairAndTheFileName)
{
    const std::string path = Write("words.mirvel", ThreePairs + "xyz");
    Open(path);
    EXPECT_EQ(ItemCount(), 3);
    EXPECT_EQ(Item(2), "trois");
    EXPECT_EQ(SelectedRow(), 0);
    EXPECT_EQ(edF()->text(), "un");
    EXPECT_EQ(edJ()->text(), "ichi");
    EXPECT_EQ(Counter(), "1/3");
    EXPECT_EQ(FileLabel(), "words.mirvel");
    EXPECT_EQ(form->windowTitle(), "Mirveledit");
    EXPECT_FALSE(form->Doc().Modified());
}

// A file name is never markup; a screen reader says what the label shows.
TEST_F(FileCommandsTest, TheFileLabelShowsTheNameAsItIs)
{
    Open(Write("a&lt;b.mirvel", ThreePairs));
    QLabel* label = Get<QLabel>("lblFileName");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name), "a&lt;b.mirvel");
}

TEST_F(FileCommandsTest, FilesOfSixtyAndSixtyOneBytesOpenAsOnePair)
{
    for (const std::string& bytes : {ThreePairs.substr(0, 60), ThreePairs.substr(0, 61)}) {
        Open(Write("one.mirvel", bytes));
        EXPECT_EQ(ItemCount(), 1);
        EXPECT_EQ(Counter(), "1/1");
        EXPECT_EQ(edF()->text(), "un");
    }
}

TEST_F(FileCommandsTest, AZeroRecordFileOpensAsOneEmptyPairTitledWithIt)
{
    Fill(2);
    form->Save1Click();  // untitled: Save As, cancelled
    Open(Write("empty.mirvel", std::string(59, 'x')));
    EXPECT_EQ(ItemCount(), 1);
    EXPECT_EQ(Counter(), "1/1");
    EXPECT_EQ(edF()->text(), QString());
    EXPECT_EQ(FileLabel(), "empty.mirvel");
    EXPECT_FALSE(form->Doc().Modified());
}

TEST_F(FileCommandsTest, AMissingFileOrACancelledDialogChangesNothing)
{
    Fill(2);
    Open(dir.File("missing.mirvel"));
    form->Open1Click();  // cancelled
    EXPECT_EQ(ItemCount(), 2);
    EXPECT_EQ(Counter(), "2/2");
    EXPECT_TRUE(shell.errors.empty());
    EXPECT_TRUE(form->Doc().Modified());
    // The name chosen last is proposed next time, even when nothing was there.
    EXPECT_EQ(shell.openCalls.back().proposedFile, QString::fromStdString(dir.File("missing.mirvel")));
}

TEST_F(FileCommandsTest, AFileThatFailsPartWayChangesNothing)
{
    const std::string a = Write("a.mirvel", ThreePairs);
    Open(a);
    ClickItem(1);
    const std::string b = Write("b.mirvel", ThreePairs + ThreePairs);
    mirvel::os::InjectShortTransfer(mirvel::os::Op::Read, 1, 90);
    Open(b);
    ASSERT_EQ(shell.errors, std::vector<QString>{"ファイルの末尾以降を読み込みました."});
    EXPECT_EQ(ItemCount(), 3);
    EXPECT_EQ(SelectedRow(), 1);
    EXPECT_EQ(Counter(), "2/3");
    EXPECT_EQ(edF()->text(), "deux");
    EXPECT_EQ(FileLabel(), "a.mirvel");
    form->Save1Click();
    EXPECT_EQ(mirvel::test::ReadAll(a), ThreePairs);
    EXPECT_EQ(mirvel::test::ReadAll(b), ThreePairs + ThreePairs);
}

TEST_F(FileCommandsTest, SaveOnAnUntitledDocumentAsksForANameAndCancellingKeepsItAsItWas)
{
    Store("chat", "猫");
    form->Save1Click();
    ASSERT_EQ(shell.saveCalls.size(), 1u);
    EXPECT_EQ(shell.saveCalls[0].filter, "Mirvel Files(*.mirvel)|*.MIRVEL");
    EXPECT_EQ(shell.saveCalls[0].defaultExtension, "mirvel");
    EXPECT_EQ(shell.saveCalls[0].initialFolder, mirvel::gui::ExecutableFolder());
    EXPECT_EQ(FileLabel(), "新規");
    EXPECT_TRUE(form->Doc().Modified());
}

TEST_F(FileCommandsTest, SaveRewritesTheOpenedFileWithEveryRecordAndItsTails)
{
    const std::string a = Write("a.mirvel", ThreePairs);
    Open(a);
    ClickItem(2);
    Store("quatre", "yon");
    Click("btnAdd");
    form->Save1Click();
    EXPECT_TRUE(shell.saveCalls.empty());
    EXPECT_FALSE(form->Doc().Modified());
    const std::string expected = ThreePairs.substr(0, 120) + [] {
        std::string third = RecordBytes("trois", "san", 0x33);
        third[0] = 6;
        std::memcpy(&third[1], "quatre", 6);
        third[18] = 3;
        std::memcpy(&third[19], "yon", 3);
        return third;
    }() + std::string(60, '\0');
    EXPECT_EQ(mirvel::test::ReadAll(a), expected);

    // Reopened, the same pairs come back in the same order.
    Open(dir.File("a.mirvel"));
    EXPECT_EQ(ItemCount(), 4);
    EXPECT_EQ(Item(2), "quatre");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(form->Doc().Words().data()), 240), expected);
}

TEST_F(FileCommandsTest, SaveWritesToTheOpenedFileNotTheOneSavedAsBefore)
{
    Fill(2);
    const std::string b = dir.File("b.mirvel");
    SaveAs(b);
    EXPECT_EQ(FileLabel(), "b.mirvel");
    const std::string savedB = mirvel::test::ReadAll(b);
    EXPECT_EQ(savedB.size(), 120u);
    const std::string c = Write("c.mirvel", ThreePairs);
    Open(c);
    Store("changed", "x");
    form->Save1Click();
    EXPECT_EQ(mirvel::test::ReadAll(b), savedB);
    EXPECT_EQ(mirvel::test::ReadAll(c).substr(0, 8), std::string("\x07"
                                                                 "changed",
                                                                 8));
    // The save dialog proposes the name chosen in it last.
    form->SaveAs1Click();
    EXPECT_EQ(shell.saveCalls.back().proposedFile, QString::fromStdString(b));
}

TEST_F(FileCommandsTest, ANameWithoutExtensionGetsTheDefaultOne)
{
    Fill(1);
    SaveAs(dir.File("liste"));
    EXPECT_EQ(mirvel::test::ReadAll(dir.File("liste.mirvel")).size(), 60u);
    EXPECT_FALSE(mirvel::FileExists(dir.File("liste")));
    EXPECT_EQ(FileLabel(), "liste.mirvel");
}

TEST_F(FileCommandsTest, AFileNamedLikeTheUntitledLabelCountsAsUntitled)
{
    const std::string path = Write("新規", ThreePairs);
    Open(path);
    EXPECT_EQ(FileLabel(), "新規");
    Store("x", "y");
    form->Save1Click();
    EXPECT_EQ(shell.saveCalls.size(), 1u);
    EXPECT_EQ(mirvel::test::ReadAll(path), ThreePairs);
}

TEST_F(FileCommandsTest, AReadOnlyTargetReportsAccessDeniedAndStaysAsItWas)
{
    const std::string a = Write("a.mirvel", ThreePairs);
    Open(a);
    Store("x", "y");
    {
        Immutable readOnly(a);
        ASSERT_TRUE(readOnly.IsSet()) << "the file could not be made read-only (chattr +i on Linux)";
        form->Save1Click();
    }
    EXPECT_EQ(shell.errors, std::vector<QString>{"ファイルへのアクセスが拒否されました."});
    EXPECT_EQ(mirvel::test::ReadAll(a), ThreePairs);
    EXPECT_TRUE(form->Doc().Modified());
}

TEST_F(FileCommandsTest, ASaveThatFailsHalfWayLeavesTheOldFileAndTheState)
{
    const std::string a = Write("a.mirvel", ThreePairs);
    Open(a);
    Click("btnAdd");
    mirvel::os::InjectShortTransfer(mirvel::os::Op::Write, 1, 90);
    form->Save1Click();
    EXPECT_EQ(shell.errors, std::vector<QString>{"ディスクがいっぱいです."});
    EXPECT_EQ(mirvel::test::ReadAll(a), ThreePairs);
    EXPECT_TRUE(form->Doc().Modified());

    mirvel::os::InjectShortTransfer(mirvel::os::Op::Write, 1, 90);
    SaveAs(dir.File("b.mirvel"));
    EXPECT_EQ(FileLabel(), "a.mirvel");
    EXPECT_FALSE(mirvel::FileExists(dir.File("b.mirvel")));
}

TEST_F(FileCommandsTest, YesAtOpenSavesBeforeTheDialogEvenWhenItIsCancelled)
{
    const std::string a = Write("a.mirvel", ThreePairs);
    Open(a);
    Store("x", "y");
    shell.events.clear();
    shell.yesNoAnswers.push_back(true);
    form->Open1Click();
    EXPECT_EQ(shell.events, (std::vector<QString>{"prompt", "open"}));
    EXPECT_EQ(shell.prompts.back(), std::make_pair(QString("確認"), QString("変更を保存しますか？")));
    EXPECT_EQ(mirvel::test::ReadAll(a).substr(0, 2), std::string("\x01x", 2));
    EXPECT_FALSE(form->Doc().Modified());
    EXPECT_EQ(shell.openCalls.back().filter, "Mirvel files (*.mirvel)|*.mirvel");
    EXPECT_EQ(shell.openCalls.back().defaultExtension, "mirvel");
}

TEST_F(FileCommandsTest, NoAtNewDiscardsAndNewClearsTheProposals)
{
    const std::string a = Write("a.mirvel", ThreePairs);
    Open(a);
    Store("x", "y");
    form->New1Click();  // answered No
    EXPECT_EQ(shell.prompts.size(), 1u);
    EXPECT_EQ(ItemCount(), 1);
    EXPECT_EQ(FileLabel(), "新規");
    EXPECT_FALSE(form->Doc().Modified());
    EXPECT_EQ(mirvel::test::ReadAll(a), ThreePairs);
    form->Open1Click();
    EXPECT_EQ(shell.openCalls.back().proposedFile, QString());
    EXPECT_EQ(shell.openCalls.back().initialFolder, mirvel::gui::ExecutableFolder());
}

TEST_F(FileCommandsTest, ACancelledOrFailedSaveAfterYesAbandonsTheCommandThatAsked)
{
    Store("chat", "猫");
    shell.yesNoAnswers.push_back(true);
    form->New1Click();  // Yes, then the Save As dialog is cancelled
    EXPECT_EQ(Item(0), "chat");
    EXPECT_TRUE(form->Doc().Modified());

    shell.yesNoAnswers.push_back(true);
    shell.events.clear();
    form->Open1Click();
    EXPECT_EQ(shell.events, (std::vector<QString>{"prompt", "save"}));

    shell.yesNoAnswers.push_back(true);
    shell.saveAnswers.push_back(QString::fromStdString(dir.File("no/such/folder/x.mirvel")));
    form->New1Click();
    EXPECT_EQ(shell.errors.size(), 1u);
    EXPECT_EQ(Item(0), "chat");
    EXPECT_TRUE(form->Doc().Modified());
}

TEST_F(FileCommandsTest, ClosingUnmodifiedAsksNothingAndWritesLeftThenTop)
{
    const QPoint position = mirvel::gui::OuterPosition(*form);
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(shell.prompts.empty());
    EXPECT_EQ(Settings(), "[Form]\r\nLeft=" + std::to_string(position.x()) +
                              "\r\nTop=" + std::to_string(position.y()) + "\r\n");
}

TEST_F(FileCommandsTest, ClosingIsAbandonedWhenTheSaveAfterYesIsCancelled)
{
    Store("chat", "猫");
    shell.yesNoAnswers.push_back(true);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(shell.saveCalls.size(), 1u);
    EXPECT_FALSE(mirvel::FileExists(SettingsPath()));
    EXPECT_TRUE(form->Doc().Modified());

    // Yes with a name saves and closes; the Exit item closes the same way.
    shell.yesNoAnswers.push_back(true);
    shell.saveAnswers.push_back(QString::fromStdString(dir.File("chat")));
    form->findChild<QAction*>("Exit1")->trigger();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(mirvel::test::ReadAll(dir.File("chat.mirvel")).size(), 60u);
    EXPECT_TRUE(mirvel::FileExists(SettingsPath()));
}

TEST_F(FileCommandsTest, NoAtClosingDiscardsAndASettingsFileThatCantBeWrittenStillCloses)
{
    form->hide();
    form.reset();
    form = std::make_unique<TForm1>(shell, QString::fromStdString(dir.File("no/such/folder/Mirveledit.ini")));
    form->show();
    Store("chat", "猫");
    EXPECT_TRUE(form->close());
    EXPECT_EQ(shell.prompts.size(), 1u);
    ASSERT_EQ(shell.errors.size(), 1u);
    EXPECT_TRUE(shell.errors[0].endsWith("に書き込めません."));
}

}  // namespace
}  // namespace editor::test
