#include "Preferences.h"

#include "IniFile.h"
#include "InOutError.h"
#include "TempDir.h"

#include <gtest/gtest.h>

namespace viewer {
namespace {

using mirvel::test::TempDir;
using mirvel::test::WriteAll;

// Records what reading handed over, in order.
class Recorder : public PreferenceTarget {
public:
    std::vector<std::string> calls;
    void SetOrder(const std::string& order) override { calls.push_back("Order=" + order); }
    void SetFrancaisSize(int points) override { calls.push_back("FSize=" + std::to_string(points)); }
    void SetFrancaisBold(bool bold) override { calls.push_back(bold ? "FBold=1" : "FBold=0"); }
    void SetJaponaisSize(int points) override { calls.push_back("JSize=" + std::to_string(points)); }
    void SetJaponaisBold(bool bold) override { calls.push_back(bold ? "JBold=1" : "JBold=0"); }
    void SetShowHint(bool show) override { calls.push_back(show ? "ShowHint=1" : "ShowHint=0"); }
    void SetShowNumber(bool show) override { calls.push_back(show ? "ShowNumber=1" : "ShowNumber=0"); }
};

std::vector<std::string> ReadFrom(const std::string& iniText)
{
    TempDir dir;
    const std::string path = dir.File("Mirvel.ini");
    if (!iniText.empty()) WriteAll(path, iniText);
    Recorder recorder;
    ReadPreferences(mirvel::TIniFile(path), recorder);
    return recorder.calls;
}

TEST(PreferencesTest, OnlyTheExactWordsChangeTheFlags)
{
    EXPECT_EQ(ReadFrom("[User]\r\nFBold=no\r\nJBold=yes\r\nShowHint=False\r\nShowNumber=FALSE\r\n"),
              (std::vector<std::string>{"Order=FJ", "FSize=9", "JSize=9"}));
    EXPECT_EQ(ReadFrom("[User]\r\nFBold=false\r\nJBold=true\r\nShowHint=false\r\nShowNumber=false\r\n"),
              (std::vector<std::string>{"Order=FJ", "FSize=9", "FBold=0", "JSize=9", "JBold=1", "ShowHint=0",
                                        "ShowNumber=0"}));
}

TEST(PreferencesTest, SizesAreKeptWithinTheUsableRange)
{
    EXPECT_EQ(ReadFrom("[User]\r\nFSize=0\r\nJSize=1000\r\n"),
              (std::vector<std::string>{"Order=FJ", "FSize=1", "JSize=96"}));
    EXPECT_EQ(ReadFrom("[User]\r\nFSize=-5\r\nJSize=$14\r\n"),
              (std::vector<std::string>{"Order=FJ", "FSize=1", "JSize=20"}));
}

TEST(PreferencesTest, NonIntegerSizeStopsBeforeTheLaterKeys)
{
    TempDir dir;
    const std::string path = dir.File("Mirvel.ini");
    WriteAll(path, "[User]\r\nOrder=JF\r\nFSize=big\r\nFBold=false\r\nShowHint=false\r\n");
    Recorder recorder;
    try {
        ReadPreferences(mirvel::TIniFile(path), recorder);
        FAIL() << "a non-integer size must throw";
    } catch (const mirvel::MessageError& error) {
        EXPECT_STREQ(error.what(), "'big' は整数ではありません");
    }
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"Order=JF"}));
}

}  // namespace
}  // namespace viewer
