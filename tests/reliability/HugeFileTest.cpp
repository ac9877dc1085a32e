// A sparse word list whose size holds more than 2^31 - 1 records: both programs refuse it with
// one clear message before allocating anything, and keep what they showed.
#include "tests/reliability/EditorFixture.h"
#include "tests/reliability/ViewerFixture.h"

namespace mirvel::reliability {
namespace {

constexpr std::uint64_t BeyondCount = RecordSize * 2147483648ULL;  // 2^31 records, 120 GiB
// A refused file may cost a little bookkeeping, never its records.
constexpr std::int64_t AllowedGrowthKiB = 32 * 1024;

class HugeFileViewerTest : public ViewerTest {};
class HugeFileEditorTest : public EditorTest {};

TEST_F(HugeFileViewerTest, RefusedFromTheCommandLineAndFromTheOpenDialog)
{
    const std::string huge = dir.File("huge.mirvel");
    ASSERT_TRUE(MakeSparse(huge, BeyondCount));
    const QString tooLarge = Utf8("ファイルが大きすぎます.");
    const std::int64_t peak = PeakResidentKiB();

    auto started = Create({QString::fromStdString(huge)});
    EXPECT_EQ(shell.errors, std::vector<QString>{tooLarge});
    EXPECT_EQ(started->Cards().WordCount(), 0);

    auto form = Create({Write("three.mirvel", PatternedList(3, "mot"))});
    Click(*form, "btnNext");
    const CardState before = CardState::Of(*form);
    shell.errors.clear();
    shell.openAnswers.push_back(QString::fromStdString(huge));
    Click(*form, "btnOpen");
    EXPECT_EQ(shell.errors, std::vector<QString>{tooLarge});
    EXPECT_TRUE(CardState::Of(*form) == before);
    EXPECT_LT(PeakResidentKiB() - peak, AllowedGrowthKiB);
}

TEST_F(HugeFileEditorTest, RefusedByOpen)
{
    const std::string huge = dir.File("huge.mirvel");
    ASSERT_TRUE(MakeSparse(huge, BeyondCount));
    auto form = EditedDocument(Write("words.mirvel", PatternedList(3, "mot")));
    const EditorState before = EditorState::Of(*form);
    const std::int64_t peak = PeakResidentKiB();

    shell.yesNoAnswers.push_back(false);
    shell.openAnswers.push_back(QString::fromStdString(huge));
    form->Open1Click();
    EXPECT_EQ(shell.errors, std::vector<QString>{Utf8("ファイルが大きすぎます.")});
    EXPECT_TRUE(EditorState::Of(*form) == before);
    EXPECT_LT(PeakResidentKiB() - peak, AllowedGrowthKiB);
    Discard(form);
}

}  // namespace
}  // namespace mirvel::reliability
