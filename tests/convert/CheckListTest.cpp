#include "convert/Check.h"
#include "convert/TerminalText.h"
#include "tests/convert/RunConvert.h"
#include "tests/support/TempDir.h"

#include "common/WordFile.h"

#include "common/CodePage.h"

#include <gtest/gtest.h>

namespace mirvel::convert {
namespace {

using test::Pair;

CheckReport CheckWords(const WordList& words, const std::string& trailingBytes)
{
    Checker checker;
    checker.Add(words.data(), words.size(), 1);
    return checker.Finish(trailingBytes);
}

TEST(Check, ACleanFileHasNoFindingsEvenAtFullCapacity)
{
    // 17 and 41 bytes come only from files, but they are within the records' capacity.
    const WordList words = {Pair("abcdefghijklmnopq", "a一二三四五六七八九十一二三四五六七八九十"),
                            Pair("", "")};
    const CheckReport report = CheckWords(words, "");
    EXPECT_EQ(report.recordCount, 2);
    EXPECT_TRUE(report.Clean());
}

TEST(Check, FindsEachKindOfDamageWithItsRecordNumber)
{
    TWordRec lengths = Pair("ok", "よい");
    lengths.Francais[0] = 18;
    lengths.Japonais[0] = 255;
    // Windows-1252 has a character for every byte (0x8D is U+008D, as Windows maps it).
    TWordRec bytes = Pair("", "");
    bytes.SetFrancais("\x8D");
    bytes.SetJaponais("a\x85\x40");
    // A lead byte before a control byte is undecodable alone; tab and line breaks pass.
    TWordRec controls = Pair("", "");
    controls.SetFrancais(std::string("a\0b\t\n", 5));
    controls.SetJaponais("\x94\x1B\x7F");
    const CheckReport report =
        CheckWords({Pair("ok", "よい"), lengths, bytes, controls}, std::string(23, 'x'));
    EXPECT_EQ(report.recordCount, 4);
    ASSERT_EQ(report.findings.size(), 8u);
    EXPECT_EQ(report.findings[0].kind, CheckFinding::LengthAboveCapacity);
    EXPECT_EQ(report.findings[0].record, 2);
    EXPECT_EQ(report.findings[0].length, 18u);
    EXPECT_EQ(report.findings[1].side, Side::Japonais);
    EXPECT_EQ(report.findings[1].length, 255u);
    EXPECT_EQ(report.findings[2].kind, CheckFinding::Undecodable);
    EXPECT_EQ(report.findings[2].record, 3);
    EXPECT_EQ(report.findings[2].side, Side::Japonais);
    EXPECT_EQ(report.findings[2].byteIndex, 1u);
    EXPECT_EQ(report.findings[2].bytes, "\x85\x40");
    EXPECT_EQ(report.findings[3].kind, CheckFinding::ControlCharacter);
    EXPECT_EQ(report.findings[3].record, 4);
    EXPECT_EQ(report.findings[3].byteIndex, 1u);
    EXPECT_EQ(report.findings[3].bytes, std::string(1, '\0'));
    EXPECT_EQ(report.findings[4].kind, CheckFinding::Undecodable);
    EXPECT_EQ(report.findings[4].bytes, "\x94");
    EXPECT_EQ(report.findings[5].kind, CheckFinding::ControlCharacter);
    EXPECT_EQ(report.findings[5].bytes, "\x1B");
    EXPECT_EQ(report.findings[6].byteIndex, 2u);
    EXPECT_EQ(report.findings[7].kind, CheckFinding::TrailingPartial);
    EXPECT_EQ(report.findings[7].record, 5);
    EXPECT_EQ(report.findings[7].bytes.size(), 23u);
}

TEST(TerminalText, WideCharactersTakeTwoColumns)
{
    EXPECT_EQ(DisplayWidth("abc"), 3u);
    EXPECT_EQ(DisplayWidth("élève"), 5u);
    EXPECT_EQ(DisplayWidth("日本語"), 6u);
    EXPECT_EQ(DisplayWidth("ｶﾀｶﾅ"), 4u);     // halfwidth katakana
    EXPECT_EQ(DisplayWidth("ＡＢ　"), 6u);   // fullwidth letters and the ideographic space
    EXPECT_EQ(DisplayWidth("e\u0301"), 1u);  // a combining accent
    EXPECT_EQ(Printable("a\tb\x1B"), "a\u2409b\u241B");
}

TEST(List, AlignsByDisplayWidthOverTheWholeListWithRecordNumbers)
{
    // The widest French word comes in the last block of the list, and the numbers take five digits.
    WordList words(WordFileReader::BlockRecords + 2, Pair("chat", "猫"));
    words[0] = Pair("a\tb", "");
    words.back() = Pair("élève", "生徒");
    test::TempDir dir;
    WriteWordFile(dir.File("w.mirvel"), words);
    const test::Outcome listed = test::Convert({"list", dir.File("w.mirvel")});
    EXPECT_EQ(listed.code, ExitSuccess);
    const std::string expected =
        "    1  a␉b\n"
        "    2  chat   猫\n";
    EXPECT_EQ(listed.out.substr(0, expected.size()), expected);
    EXPECT_NE(listed.out.find("\n16386  élève  生徒\n"), std::string::npos);

    WriteWordFile(dir.File("empty.mirvel"), WordList{});
    EXPECT_EQ(test::Convert({"list", dir.File("empty.mirvel")}).out, "");
}

}  // namespace
}  // namespace mirvel::convert
