#include "common/IniFile.h"
#include "common/InOutError.h"
#include "tests/support/PlatformErrors.h"
#include "tests/common/ReadOnly.h"
#include "tests/support/TempDir.h"
#include "common/os/File.h"

#include <gtest/gtest.h>

namespace mirvel {
namespace {

using test::ReadAll;
using test::WriteAll;

TEST(SettingsPath, ReplacesOrAppendsTheExtension)
{
    EXPECT_EQ(SettingsPathFor("/opt/mirvel/bin/Mirvel"), "/opt/mirvel/bin/Mirvel.ini");
    EXPECT_EQ(SettingsPathFor("C:\\Mirvel\\Mirvel.exe"), "C:\\Mirvel\\Mirvel.ini");
    EXPECT_EQ(SettingsPathFor("/a.b/Mirveledit"), "/a.b/Mirveledit.ini");
    EXPECT_EQ(SettingsPathFor("/x/prog.tar.gz"), "/x/prog.tar.ini");
    EXPECT_EQ(SettingsPathFor("Mirvel"), "Mirvel.ini");
}

class IniFile : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string path = dir.File("Mirvel.ini");
};

TEST_F(IniFile, AMissingFileOrKeyYieldsTheDefault)
{
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("Form", "Left", "189"), "189");
    WriteAll(path, "[Form]\r\nTop=5\r\n");
    EXPECT_EQ(TIniFile(path).ReadString("Form", "Left", "189"), "189");
    EXPECT_EQ(TIniFile(path).ReadString("User", "Top", "x"), "x");
}

TEST_F(IniFile, ReadsByTheProfileRules)
{
    WriteAll(path,
             "; comment\r\n"
             "[user]\r\n"
             "  order =  jf  \r\n"
             "FSIZE=12\n"
             "Quoted=\"  spaced  \"\r\n"
             "Half=\"open\r\n"
             "Empty=\r\n"
             "Bare\r\n"
             "order=second\r\n"
             "[ Form ]\r\n"
             "Left=-20\r\n"
             "[Other]\r\n"
             "Left=99");
    const TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("User", "Order", "FJ"), "jf");
    EXPECT_EQ(ini.ReadString("USER", "fsize", "9"), "12");
    EXPECT_EQ(ini.ReadString("User", "Quoted", ""), "  spaced  ");
    EXPECT_EQ(ini.ReadString("User", "Half", ""), "\"open");
    EXPECT_EQ(ini.ReadString("User", "Empty", "d"), "");
    EXPECT_EQ(ini.ReadString("User", "Bare", "d"), "");
    EXPECT_EQ(ini.ReadString("Form", "Left", "0"), "-20");
    EXPECT_EQ(ini.ReadString("Other", "Left", "0"), "99");
    EXPECT_EQ(ini.ReadString("User", "; comment", "d"), "d");
}

TEST_F(IniFile, ValuesAreCutTo2047Bytes)
{
    WriteAll(path, "[User]\r\nOrder=" + std::string(3000, 'a') + "\r\n");
    EXPECT_EQ(TIniFile(path).ReadString("User", "Order", ""), std::string(2047, 'a'));
}

TEST_F(IniFile, WritingCreatesTheFileAndItsSectionsInOrder)
{
    TIniFile ini(path);
    ini.WriteString("Form", "Left", "100");
    ini.WriteString("Form", "Top", "200");
    ini.WriteString("User", "Order", "FJ");
    ini.WriteString("Form", "Left", "-3");
    EXPECT_EQ(ReadAll(path), "[Form]\r\nLeft=-3\r\nTop=200\r\n[User]\r\nOrder=FJ\r\n");
    EXPECT_EQ(ini.ReadString("form", "left", ""), "-3");
    EXPECT_EQ(TIniFile(path).ReadString("User", "Order", ""), "FJ");
}

TEST_F(IniFile, WritingOneKeyKeepsEveryOtherLine)
{
    WriteAll(path,
             "; kept\n"
             "[Form]\n"
             "  LEFT = 1 \n"
             "Extra = kept\n"
             "\n"
             "[User]\n"
             "FSize=9\n");
    TIniFile ini(path);
    ini.WriteString("Form", "Left", "7");
    ini.WriteString("Form", "Top", "8");
    EXPECT_EQ(ReadAll(path),
              "; kept\n"
              "[Form]\n"
              "LEFT=7\n"
              "Extra = kept\n"
              "Top=8\r\n"
              "\n"
              "[User]\n"
              "FSize=9\n");
}

TEST_F(IniFile, ACarriageReturnAloneEndsALine)
{
    WriteAll(path, "[Form]\rLeft=1\r\n\rTop=2\n\r[User]\rOrder=FJ");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("Form", "Left", ""), "1");
    EXPECT_EQ(ini.ReadString("Form", "Top", ""), "2");
    EXPECT_EQ(ini.ReadString("User", "Order", ""), "FJ");
    ini.WriteString("Form", "Left", "3");
    ini.WriteString("User", "FSize", "9");
    EXPECT_EQ(ReadAll(path), "[Form]\rLeft=3\r\n\rTop=2\n\r[User]\rOrder=FJ\r\nFSize=9\r\n");
}

TEST_F(IniFile, TrailingSpacesOfTheDefaultAreDropped)
{
    const TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("Form", "Left", " 12  "), " 12");
    EXPECT_EQ(ini.ReadString("Form", "Left", "12\t"), "12\t");
    EXPECT_EQ(ini.ReadString("Form", "Left", "   "), "");
}

// ア 83 41, ヂ 83 61, ゾ 83 5D in code page 932.
TEST_F(IniFile, DoubleByteCharactersOfNamesCountWhole)
{
    WriteAll(path,
             "[\x83\x41]\r\n"
             "\x83\x41=a\r\n"
             "[\x83\x5D\r\n"
             "x=in a\r\n"
             "[Form]\x83\x5D\r\n"
             "Left=5\r\n");
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("\x83\x41", "x", ""), "in a");
    EXPECT_EQ(ini.ReadString("\x83", "x", "none"), "none");
    EXPECT_EQ(ini.ReadString("FORM", "left", ""), "5");
    EXPECT_EQ(ini.ReadString("\x83\x61", "\x83\x41", "none"), "none");
    EXPECT_EQ(ini.ReadString("\x83\x41", "\x83\x61", "none"), "none");
    ini.WriteString("\x83\x61", "\x83\x61", "d");
    ini.WriteString("\x83\x41", "\x83\x61", "d");
    const TIniFile reread(path);
    EXPECT_EQ(reread.ReadString("\x83\x41", "\x83\x41", ""), "a");
    EXPECT_EQ(reread.ReadString("\x83\x41", "\x83\x61", ""), "d");
    EXPECT_EQ(reread.ReadString("\x83\x61", "\x83\x61", ""), "d");
}

TEST_F(IniFile, TheFileIsReadOnceWhenTheObjectIsMade)
{
    WriteAll(path, "[Form]\r\nLeft=1\r\n");
    TIniFile ini(path);
    WriteAll(path, "[Form]\r\nLeft=2\r\n");
    EXPECT_EQ(ini.ReadString("Form", "Left", ""), "1");
}

TEST_F(IniFile, AFailedWriteNamesTheFileAndChangesNothing)
{
    const std::string nowhere = dir.File("missing/Mirvel.ini");
    TIniFile lost(nowhere);
    try {
        lost.WriteString("Form", "Left", "1");
        FAIL() << "no error";
    } catch (const MessageError& error) {
        EXPECT_EQ(error.what(), nowhere + " に書き込めません");
    }

    WriteAll(path, "[Form]\r\nLeft=1\r\n");
    test::ReadOnlyFile readOnly(path);
    ASSERT_TRUE(readOnly.Applied());
    const int result = test::RunBoundByReadOnly([&] {
        TIniFile ini(path);
        try {
            ini.WriteString("Form", "Left", "2");
        } catch (const MessageError&) {
            return ini.ReadString("Form", "Left", "") == "1" ? 1 : 2;
        }
        return 0;
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(ReadAll(path), "[Form]\r\nLeft=1\r\n");
}

TEST_F(IniFile, AFileThatFailsToOpenOrReadGivesTheDefaultsAndIsNeverWrittenOver)
{
    const std::string settings = "[Form]\r\nLeft=1\r\n";
    WriteAll(path, settings);
    for (const os::Op op : {os::Op::Open, os::Op::Read}) {
        SCOPED_TRACE(static_cast<int>(op));
        os::InjectFault(op, 1, test::platform::DeviceError);
        TIniFile ini(path);
        os::ClearFaults();
        EXPECT_EQ(ini.ReadString("Form", "Left", "9"), "9");
        EXPECT_THROW(ini.WriteString("Form", "Top", "2"), MessageError);
        EXPECT_EQ(ReadAll(path), settings);
    }
}

}  // namespace
}  // namespace mirvel
