#include "common/IniFile.h"
#include "common/InOutError.h"
#include "common/Placement.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <limits>
#include <utility>
#include <vector>

namespace mirvel {
namespace {

TEST(Placement, DefaultCentresRoundingTowardZero)
{
    EXPECT_EQ(DefaultPlacement(1024, 156), 434);
    EXPECT_EQ(DefaultPlacement(768, 77), 345);
    EXPECT_EQ(DefaultPlacement(100, 257), -78);  // -78.5
    EXPECT_EQ(DefaultPlacement(800, 800), 0);
    constexpr auto max = std::numeric_limits<std::int32_t>::max();
    constexpr auto min = std::numeric_limits<std::int32_t>::min();
    EXPECT_EQ(DefaultPlacement(max, min), max);
    EXPECT_EQ(DefaultPlacement(min, max), min + 1);  // -2147483647.5
}

TEST(Placement, AWindowStaysWhereSixteenBySixteenPixelsOfItsGripAreOnAWorkArea)
{
    // A second screen to the right of the first, reaching higher.
    const std::vector<ScreenRect> areas{{0, 0, 1024, 738}, {1024, -200, 1280, 984}};
    const auto reachable = [&](std::int64_t left, std::int64_t top) {
        return GripOnScreen({left, top, 154, 58}, areas);
    };
    EXPECT_TRUE(reachable(-20, 10));  // half off the edge
    EXPECT_TRUE(reachable(-138, 10));
    EXPECT_FALSE(reachable(-139, 10));  // 15 pixels left
    EXPECT_TRUE(reachable(10, 722));
    EXPECT_FALSE(reachable(10, 723));
    EXPECT_TRUE(reachable(1500, -150));  // on the second screen only
    EXPECT_FALSE(reachable(2289, 0));
    EXPECT_FALSE(reachable(500, -243));  // above both
    constexpr std::int64_t max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int64_t min = std::numeric_limits<std::int32_t>::min();
    for (const auto& [left, top] : std::vector<std::pair<std::int64_t, std::int64_t>>{
             {99999999, 10}, {-99999999, 10}, {10, 99999999}, {10, -99999999}, {max, max}, {min, min}})
        EXPECT_FALSE(reachable(left, top)) << left << "," << top;
    EXPECT_FALSE(GripOnScreen({0, 0, 154, 58}, {}));
}

class FormPosition : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string path = dir.File("Mirveledit.ini");
};

TEST_F(FormPosition, MissingKeysCentreTheWindow)
{
    const TIniFile ini(path);
    EXPECT_EQ(ReadFormLeft(ini, 1024, 475), 274);
    EXPECT_EQ(ReadFormTop(ini, 768, 254), 257);
}

TEST_F(FormPosition, StoredValuesAreRestoredUnchecked)
{
    test::WriteAll(path, "[Form]\r\nLeft=-40\r\nTop=$10\r\n");
    const TIniFile ini(path);
    EXPECT_EQ(ReadFormLeft(ini, 1024, 156), -40);
    EXPECT_EQ(ReadFormTop(ini, 768, 76), 16);
}

TEST_F(FormPosition, AKeyHoldsAValueEvenWhenItIsEmptyOrZero)
{
    test::WriteAll(path, "[Form]\r\nLeft=\r\nTop=0\r\n[User]\r\nBottom=1\r\n");
    const TIniFile ini(path);
    EXPECT_TRUE(HasFormValue(ini, "Left"));
    EXPECT_TRUE(HasFormValue(ini, "top"));
    EXPECT_FALSE(HasFormValue(ini, "Bottom"));
}

TEST_F(FormPosition, AStoredValueThatIsNoIntegerFails)
{
    test::WriteAll(path, "[Form]\r\nLeft=\r\nTop=12abc\r\n");
    const TIniFile ini(path);
    try {
        ReadFormTop(ini, 768, 76);
        FAIL() << "no error";
    } catch (const MessageError& error) {
        EXPECT_STREQ(error.what(), "'12abc' は整数ではありません");
    }
    EXPECT_THROW(ReadFormLeft(ini, 1024, 156), MessageError);
}

TEST_F(FormPosition, WritesLeftThenTopEvenWhenTheyAreTheDefaults)
{
    TIniFile ini(path);
    WriteFormPosition(ini, DefaultPlacement(1024, 156), DefaultPlacement(768, 76));
    EXPECT_EQ(test::ReadAll(path), "[Form]\r\nLeft=434\r\nTop=346\r\n");
    WriteFormPosition(ini, -5, 0);
    EXPECT_EQ(test::ReadAll(path), "[Form]\r\nLeft=-5\r\nTop=0\r\n");
}

}  // namespace
}  // namespace mirvel
