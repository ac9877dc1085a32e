#include "convert/TerminalText.h"
#include "tests/convert/RunConvert.h"
#include "tests/support/TempDir.h"

#include "common/WordFile.h"

#include "common/CodePage.h"

#include <gtest/gtest.h>

namespace mirvel::convert {
namespace {

using test::Pair;

// `check` on the records and the bytes after them, the file's name left out of what it prints.
test::Outcome CheckWords(const WordList& words, const std::string& trailingBytes)
{
    test::TempDir dir;
    const std::string file = dir.File("w.mirvel");
    test::WriteAll(file, std::string(reinterpret_cast<const char*>(words.data()), words.size() * RecordSize) +
                             trailingBytes);
    test::Outcome checked = test::Convert({"check", file});
    checked.out.erase(0, file.size());
    return checked;
}

TEST(Check, ACleanFileHasNoFindingsEvenAtFullCapacity)
{
    // 17 and 41 bytes come only from files, but they are within the records' capacity.
    const WordList words = {Pair("abcdefghijklmnopq", "a一二三四五六七八九十一二三四五六七八九十"),
                            Pair("", "")};
    const test::Outcome checked = CheckWords(words, "");
    EXPECT_EQ(checked.code, ExitSuccess);
    EXPECT_EQ(checked.out, ": レコード 2 件\n問題はありません\n");
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
    const test::Outcome checked =
        CheckWords({Pair("ok", "よい"), lengths, bytes, controls}, std::string(23, 'x'));
    EXPECT_EQ(checked.code, ExitProblems);
    EXPECT_EQ(checked.out,
              ": レコード 4 件\n"
              "レコード 2: フランス語の長さバイトが 18 で、容量の 17 バイトを超えています\n"
              "レコード 2: 日本語の長さバイトが 255 で、容量の 41 バイトを超えています\n"
              "レコード 3: 日本語の 2 バイト目 0x85 0x40 は Shift-JIS として読めません\n"
              "レコード 4: フランス語の 2 バイト目に制御文字 U+0000 があります\n"
              "レコード 4: 日本語の 1 バイト目 0x94 は Shift-JIS として読めません\n"
              "レコード 4: 日本語の 2 バイト目に制御文字 U+001B があります\n"
              "レコード 4: 日本語の 3 バイト目に制御文字 U+007F があります\n"
              "レコード 5: 末尾の 23 バイトは 1 件 60 バイトに満たない半端なレコードです"
              "（どちらのプログラムも読み飛ばします）\n"
              "問題が 8 件あります\n");
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
