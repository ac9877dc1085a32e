#include "viewer/Preferences.h"

#include "common/IniFile.h"
#include "common/InOutError.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace viewer {
namespace {

using mirvel::test::TempDir;
using mirvel::test::WriteAll;

// The values as "Order FSize FBold JSize JBold ShowHint ShowNumber", to compare at a glance.
std::string Shown(const PreferenceValues& values)
{
    return values.Order + ' ' + std::to_string(values.FSize) + ' ' + std::to_string(values.FBold) + ' ' +
           std::to_string(values.JSize) + ' ' + std::to_string(values.JBold) + ' ' +
           std::to_string(values.ShowHint) + ' ' + std::to_string(values.ShowNumber);
}

// Starts from values unlike the defaults, so that a key that isn't read shows.
PreferenceValues Odd() { return {"JF", 20, false, 30, true, false, false}; }

std::string ReadFrom(const std::string& iniText)
{
    TempDir dir;
    const std::string path = dir.File("Mirvel.ini");
    if (!iniText.empty()) WriteAll(path, iniText);
    PreferenceValues values = Odd();
    ReadPreferences(mirvel::TIniFile(path), values);
    return Shown(values);
}

TEST(PreferencesTest, MissingKeysGiveTheDefaults)
{
    EXPECT_EQ(ReadFrom(""), Shown(PreferenceValues{}));
    EXPECT_EQ(Shown(PreferenceValues{}), "FJ 9 1 9 0 1 1");
}

TEST(PreferencesTest, OnlyTheExactWordsChangeTheFlags)
{
    EXPECT_EQ(ReadFrom("[User]\r\nFBold=no\r\nJBold=yes\r\nShowHint=False\r\nShowNumber=FALSE\r\n"),
              "FJ 9 1 9 0 1 1");
    EXPECT_EQ(ReadFrom("[User]\r\nFBold=false\r\nJBold=true\r\nShowHint=false\r\nShowNumber=false\r\n"),
              "FJ 9 0 9 1 0 0");
    EXPECT_EQ(ReadFrom("[User]\r\nFBold=true\r\nJBold=false\r\nShowHint=true\r\n"), "FJ 9 1 9 0 1 1");
}

TEST(PreferencesTest, SizesAreKeptWithinTheUsableRange)
{
    EXPECT_EQ(ReadFrom("[User]\r\nFSize=0\r\nJSize=1000\r\n"), "FJ 1 1 96 0 1 1");
    EXPECT_EQ(ReadFrom("[User]\r\nFSize=-5\r\nJSize=$14\r\n"), "FJ 1 1 20 0 1 1");
}

TEST(PreferencesTest, NonIntegerSizeStopsBeforeTheLaterKeys)
{
    TempDir dir;
    const std::string path = dir.File("Mirvel.ini");
    WriteAll(path, "[User]\r\nOrder=xy\r\nFSize=big\r\nFBold=false\r\nShowHint=false\r\n");
    PreferenceValues values = Odd();
    try {
        ReadPreferences(mirvel::TIniFile(path), values);
        FAIL() << "a non-integer size must throw";
    } catch (const mirvel::MessageError& error) {
        EXPECT_STREQ(error.what(), "'big' は整数ではありません");
    }
    PreferenceValues expected = Odd();
    expected.Order = "xy";
    EXPECT_EQ(Shown(values), Shown(expected));
}

}  // namespace
}  // namespace viewer
