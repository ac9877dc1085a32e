#include "IniFile.h"
#include "InOutError.h"
#include "Placement.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <limits>

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
