// The editor on a failing disk: a save failing at any step leaves the old file byte for byte
// and keeps Modified, the document's file and its label; a load failing at any step changes
// nothing; a close whose save fails keeps the window and the changes; settings that can't be
// written at close have their error box and the window still closes.
#include "tests/reliability/EditorFixture.h"

#include <QCloseEvent>

namespace mirvel::reliability {
namespace {

using EditorFaultTest = EditorTest;

const StepFault SaveFaults[] = {
    // Not an access-denied open: a save then rightly writes an existing target in place.
    {os::Op::Open, test::platform::TooManyOpenFiles, "オープンしたファイルが多すぎます."},
    {os::Op::Open, test::platform::DiskFull, "I/O エラー (112)"},
    {os::Op::Write, test::platform::DeviceError, "I/O エラー (1117)"},
    {os::Op::Write, test::platform::DiskFull, "ディスクがいっぱいです."},
    {os::Op::Write, 0, "ディスクがいっぱいです."},
    {os::Op::Flush, test::platform::DeviceError, "I/O エラー (1117)"},
    {os::Op::Flush, test::platform::DiskFull, "I/O エラー (112)"},
    {os::Op::Rename, test::platform::AccessDenied, "ファイルへのアクセスが拒否されました."},
    {os::Op::Rename, test::platform::OtherDevice, test::platform::OtherDeviceMessage},
    {os::Op::Close, test::platform::DeviceError, "I/O エラー (1117)"},
};

const StepFault LoadFaults[] = {
    {os::Op::Open, test::platform::NotFound, "ファイルが見つかりません."},
    {os::Op::Open, test::platform::AccessDenied, "ファイルへのアクセスが拒否されました."},
    {os::Op::Read, test::platform::DeviceError, "I/O エラー (1117)"},
    {os::Op::Read, 0, "ファイルの末尾以降を読み込みました."},
    {os::Op::Close, test::platform::DeviceError, "I/O エラー (1117)"},
};

TEST_F(EditorFaultTest, ASaveFailingAtAnyStepLeavesTheOldFileAndTheDocumentAsTheyWere)
{
    const std::string path = Write("words.mirvel", PatternedList(3, "mot"));
    const std::string old = test::ReadAll(path);
    for (const StepFault& fault : SaveFaults) {
        const int steps = AtEveryStep(fault, Scratch(), [&](int nth) {
            test::WriteAll(path, old);
            auto form = EditedDocument(path);
            const EditorState before = EditorState::Of(*form);
            const auto listing = FolderListing(dir.Path());
            const auto descriptors = DescriptorsOpen();
            shell.errors.clear();

            fault.InjectAt(nth);
            form->Save1Click();
            const bool failed = !shell.errors.empty();
            if (failed) {
                SCOPED_TRACE(fault.Name(nth));
                EXPECT_EQ(shell.errors, std::vector<QString>{Utf8(fault.message)});
                EXPECT_EQ(test::ReadAll(path), old);
                EXPECT_EQ(FolderListing(dir.Path()), listing);
                EXPECT_TRUE(EditorState::Of(*form) == before);
                EXPECT_TRUE(form->Doc().Modified());
                EXPECT_EQ(DescriptorsOpen(), descriptors);
            } else {
                EXPECT_EQ(test::ReadAll(path), Bytes(form->Doc().Words()));
            }
            Discard(form);
            return failed;
        });
        EXPECT_GE(steps, 1) << fault.Name(0);
    }
}

TEST_F(EditorFaultTest, ASaveAsFailingAtAnyStepKeepsTheDocumentOnItsOldFile)
{
    const std::string path = Write("words.mirvel", PatternedList(3, "mot"));
    const std::string other = Write("other.mirvel", PatternedList(2, "autre"));
    const std::string otherBytes = test::ReadAll(other);
    for (const StepFault& fault : SaveFaults) {
        for (const std::string& target : {other, dir.File("new.mirvel")}) {
            AtEveryStep(fault, Scratch(), [&](int nth) {
                test::WriteAll(other, otherBytes);
                std::filesystem::remove(dir.File("new.mirvel"));
                auto form = EditedDocument(path);
                const EditorState before = EditorState::Of(*form);
                const auto listing = FolderListing(dir.Path());
                shell.errors.clear();

                fault.InjectAt(nth);
                shell.saveAnswers.push_back(QString::fromStdString(target));
                form->SaveAs1Click();
                const bool failed = !shell.errors.empty();
                if (failed) {
                    SCOPED_TRACE(fault.Name(nth) + " to " + target);
                    EXPECT_EQ(shell.errors, std::vector<QString>{Utf8(fault.message)});
                    EXPECT_EQ(test::ReadAll(other), otherBytes);
                    EXPECT_EQ(FolderListing(dir.Path()), listing);
                    EXPECT_TRUE(EditorState::Of(*form) == before);
                }
                Discard(form);
                return failed;
            });
        }
    }
}

TEST_F(EditorFaultTest, ALoadFailingAtAnyStepChangesNothing)
{
    const std::string path = Write("words.mirvel", PatternedList(3, "mot"));
    const std::string big = Write("big.mirvel", PatternedList(2500, "grand"));
    for (const StepFault& fault : LoadFaults) {
        const int steps = AtEveryStep(fault, Scratch(), [&](int nth) {
            auto form = EditedDocument(path);
            const EditorState before = EditorState::Of(*form);
            const auto descriptors = DescriptorsOpen();
            shell.errors.clear();

            fault.InjectAt(nth);
            shell.yesNoAnswers.push_back(false);  // drop the changes: the load is what fails
            shell.openAnswers.push_back(QString::fromStdString(big));
            form->Open1Click();
            const bool failed = !shell.errors.empty();
            if (failed) {
                SCOPED_TRACE(fault.Name(nth));
                EXPECT_EQ(shell.errors, std::vector<QString>{Utf8(fault.message)});
                EXPECT_TRUE(EditorState::Of(*form) == before);
                EXPECT_EQ(DescriptorsOpen(), descriptors);
            } else {
                EXPECT_EQ(form->Doc().WordCount(), 2500);
            }
            Discard(form);
            return failed;
        });
        EXPECT_GE(steps, 1) << fault.Name(0);
    }
}

TEST_F(EditorFaultTest, AFileGoneBetweenTheDialogAndTheReadIsNotFoundAndNothingElse)
{
    auto form = EditedDocument(Write("words.mirvel", PatternedList(3, "mot")));
    const EditorState before = EditorState::Of(*form);
    const std::string vanishing = Write("vanishing.mirvel", PatternedList(5, "x"));
    shell.events.clear();

    os::InjectFault(os::Op::Open, 1, test::platform::NotFound);
    shell.yesNoAnswers.push_back(false);
    shell.openAnswers.push_back(QString::fromStdString(vanishing));
    form->Open1Click();

    EXPECT_EQ(shell.events, (std::vector<QString>{"prompt", "open", "error"}));
    EXPECT_EQ(shell.errors, std::vector<QString>{Utf8("ファイルが見つかりません.")});
    EXPECT_TRUE(EditorState::Of(*form) == before);
    Discard(form);
}

TEST_F(EditorFaultTest, ClosingWhenTheSaveFailsKeepsTheWindowAndTheChanges)
{
    const std::string path = Write("words.mirvel", PatternedList(3, "mot"));
    const std::string old = test::ReadAll(path);
    auto form = EditedDocument(path);
    const EditorState before = EditorState::Of(*form);

    os::InjectFault(os::Op::Flush, 1, test::platform::DeviceError);
    shell.yesNoAnswers.push_back(true);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(shell.errors, std::vector<QString>{Utf8("I/O エラー (1117)")});
    EXPECT_EQ(test::ReadAll(path), old);
    EXPECT_TRUE(EditorState::Of(*form) == before);

    // Once the disk is back, Yes saves and the window closes.
    shell.yesNoAnswers.push_back(true);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(test::ReadAll(path), before.words);
}

TEST_F(EditorFaultTest, SettingsFailingAtAnyStepOfTheCloseStillLetItClose)
{
    const StepFault faults[] = {{os::Op::Open, test::platform::TooManyOpenFiles, nullptr},
                                {os::Op::Write, 0, nullptr},
                                {os::Op::Flush, test::platform::DiskFull, nullptr},
                                {os::Op::Rename, test::platform::AccessDenied, nullptr},
                                {os::Op::Close, test::platform::DeviceError, nullptr}};
    ExpectClosingSurvivesSettingsFaults(faults, dir.File("Mirveledit.ini"), Scratch(), shell.errors,
                                        [&] { return Create(); });
}

}  // namespace
}  // namespace mirvel::reliability
