#include "tests/common/ErrorOf.h"
#include "common/IniFile.h"
#include "common/InOutError.h"
#include "tests/support/TempDir.h"
#include "common/WordFile.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace mirvel {
namespace {

// Paths reach the file layer as UTF-8; Windows wants UTF-16, and a conversion through the ANSI
// code page would garble these names or make them unreachable.
class FileNames : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(std::filesystem::u8path(folder)); }

    // The names in `folder` as the system lists them, in UTF-8.
    std::vector<std::string> Listed() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(folder)))
            names.push_back(entry.path().filename().u8string());
        return names;
    }

    test::TempDir dir;
    const std::string folder = dir.Path().u8string() + "/単語帳フォルダ";
};

TEST_F(FileNames, AJapaneseFolderAndFileNameRoundTrip)
{
    const std::string path = folder + "/フランス語の単語.mirvel";
    TWordRec record;
    std::memset(&record, 0, sizeof record);
    record.SetFrancais("\xE9l\xE8ve");
    record.SetJaponais("\x90\xB6\x93\x6B");
    WriteWordFile(path, &record, 1);

    EXPECT_EQ(Listed(), std::vector<std::string>{"フランス語の単語.mirvel"});
    EXPECT_TRUE(FileExists(path));
    const WordList back = ReadWordFile(path);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(std::memcmp(&back[0], &record, sizeof record), 0);

    WriteWordFile(path, &record, 0);  // replacing keeps the name as well
    EXPECT_EQ(Listed(), std::vector<std::string>{"フランス語の単語.mirvel"});
    EXPECT_TRUE(ReadWordFile(path).empty());
}

TEST_F(FileNames, ASettingsFileInAJapaneseFolderIsReadAndWritten)
{
    const std::string path = folder + "/Mirvel.ini";
    TIniFile(path).WriteString("Form", "Left", "12");
    EXPECT_EQ(TIniFile(path).ReadString("Form", "Left", ""), "12");
    EXPECT_EQ(Listed(), std::vector<std::string>{"Mirvel.ini"});
}

TEST_F(FileNames, AJapaneseNameInAMissingFolderIsABadFileName)
{
    const std::string path = folder + "/ない/単語.mirvel";
    EXPECT_EQ(test::MessageOf([&] { ReadWordFile(path); }), "不正なファイル名です");
    EXPECT_EQ(test::MessageOf([&] { WriteWordFile(path, WordList(1)); }), "不正なファイル名です");
    EXPECT_EQ(test::MessageOf([&] { ReadWordFile(folder + "/ない.mirvel"); }), "ファイルが見つかりません");
}

TEST_F(FileNames, NamesWindowsCannotHoldAreBadFileNames)
{
#ifndef _WIN32
    GTEST_SKIP() << "a Linux file name may hold any character but '/' and NUL";
#else
    for (const char* name : {"a<b.mirvel", "a|b.mirvel", "a?.mirvel", "a*.mirvel", "a\".mirvel"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(test::CodeOf([&] { ReadWordFile(folder + "/" + name); }), IoPathNotFound);
        EXPECT_EQ(test::CodeOf([&] { WriteWordFile(folder + "/" + name, WordList(1)); }), IoPathNotFound);
    }
    EXPECT_TRUE(Listed().empty());
#endif
}

}  // namespace
}  // namespace mirvel
