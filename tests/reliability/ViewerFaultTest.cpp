// The card window on a failing disk: whatever step of a load fails, the card, its list and
// its position stay as they were and the one right message is shown; settings that can't be
// written at close have their error box and the window still closes.
#include "tests/reliability/ViewerFixture.h"

namespace mirvel::reliability {
namespace {

using ViewerFaultTest = ViewerTest;

const StepFault LoadFaults[] = {
    {os::Op::Open, test::platform::NotFound, "ファイルが見つかりません."},
    {os::Op::Open, test::platform::AccessDenied, "ファイルへのアクセスが拒否されました."},
    {os::Op::Open, test::platform::TooManyOpenFiles, "オープンしたファイルが多すぎます."},
    {os::Op::Read, test::platform::DeviceError, "I/O エラー (1117)"},
    {os::Op::Read, 0, "ファイルの末尾以降を読み込みました."},
    {os::Op::Close, test::platform::DeviceError, "I/O エラー (1117)"},
};

// Faults of one settings write; the message is the settings file's own.
const StepFault SettingsFaults[] = {
    {os::Op::Open, test::platform::TooManyOpenFiles, nullptr},
    {os::Op::Open, test::platform::DiskFull, nullptr},
    {os::Op::Write, test::platform::DeviceError, nullptr},
    {os::Op::Write, test::platform::DiskFull, nullptr},
    {os::Op::Write, 0, nullptr},
    {os::Op::Flush, test::platform::DeviceError, nullptr},
    {os::Op::Rename, test::platform::AccessDenied, nullptr},
    {os::Op::Close, test::platform::DeviceError, nullptr},
};

TEST_F(ViewerFaultTest, ALoadFailingAtAnyStepChangesNothing)
{
    const QString three = Write("three.mirvel", PatternedList(3, "mot"));
    // More records than one read call takes, so that every block's read is a step of its own.
    const QString big = Write("big.mirvel", PatternedList(2500, "grand"));

    for (const StepFault& fault : LoadFaults) {
        const int steps = AtEveryStep(fault, Scratch(), [&](int nth) {
            auto form = Create({three});
            Click(*form, "btnNext");
            Click(*form, "btnFJ");
            const CardState before = CardState::Of(*form);
            const auto descriptors = DescriptorsOpen();
            shell.errors.clear();

            fault.InjectAt(nth);
            shell.openAnswers.push_back(big);
            Click(*form, "btnOpen");
            if (shell.errors.empty()) {
                EXPECT_EQ(CardState::Of(*form).words, Bytes(PatternedList(2500, "grand")));
                return false;
            }
            SCOPED_TRACE(fault.Name(nth));
            EXPECT_EQ(shell.errors, std::vector<QString>{Utf8(fault.message)});
            EXPECT_TRUE(CardState::Of(*form) == before);
            EXPECT_EQ(DescriptorsOpen(), descriptors);
            // The card still works on the list it kept.
            Click(*form, "btnNext");
            EXPECT_EQ(form->Cards().WordIndex(), 2);
            return true;
        });
        EXPECT_GE(steps, 1) << fault.Name(0);
    }
}

TEST_F(ViewerFaultTest, AStartUpLoadFailingAtAnyStepLeavesAnEmptyCard)
{
    const QString big = Write("big.mirvel", PatternedList(1500, "grand"));
    const CardState empty = CardState::Of(*Create());
    for (const StepFault& fault : LoadFaults) {
        // The settings read opens its file (missing here) first; failing, it gives the defaults,
        // as the profile functions do. The faults start at the list's own steps.
        const int settingsOpens = fault.op == os::Op::Open ? 1 : 0;
        AtEveryStep(fault, Scratch(), [&](int nth) {
            shell.errors.clear();
            fault.InjectAt(nth + settingsOpens);
            auto form = Create({big});
            if (shell.errors.empty()) return false;
            SCOPED_TRACE(fault.Name(nth));
            EXPECT_EQ(shell.errors, std::vector<QString>{Utf8(fault.message)});
            EXPECT_EQ(form->Cards().WordCount(), 0);
            EXPECT_EQ(CardState::Of(*form).counter, empty.counter);
            EXPECT_EQ(CardState::Of(*form).francais, empty.francais);
            return true;
        });
    }
}

TEST_F(ViewerFaultTest, AFileGoneBetweenTheDialogAndTheReadIsNotFoundAndNothingElse)
{
    auto form = Create({Write("three.mirvel", PatternedList(3, "mot"))});
    Click(*form, "btnNext");
    const CardState before = CardState::Of(*form);
    shell.events.clear();

    // The existence test has passed; the file is gone when the read opens it.
    const QString vanishing = Write("vanishing.mirvel", PatternedList(5, "x"));
    os::InjectFault(os::Op::Open, 1, test::platform::NotFound);
    shell.openAnswers.push_back(vanishing);
    Click(*form, "btnOpen");

    EXPECT_EQ(shell.events, (std::vector<QString>{"open", "error"}));
    EXPECT_EQ(shell.errors, std::vector<QString>{Utf8("ファイルが見つかりません.")});
    EXPECT_TRUE(CardState::Of(*form) == before);
}

TEST_F(ViewerFaultTest, SettingsFailingAtAnyStepOfTheCloseStillLetItClose)
{
    // The position and the preferences: one write each, each a step that can fail.
    ExpectClosingSurvivesSettingsFaults(SettingsFaults, dir.File("Mirvel.ini"), Scratch(), shell.errors,
                                        [&] { return Create(); });
}

}  // namespace
}  // namespace mirvel::reliability
