#include "convert/Import.h"

#include "common/CodePage.h"
#include "convert/InputDecoder.h"

#include <gtest/gtest.h>

namespace mirvel::convert {
namespace {

ImportResult Import(std::string_view text, bool csv = false, bool skip = false, bool cut = false)
{
    ImportOptions options;
    options.csv = csv;
    options.skip = skip;
    options.cut = cut;
    return ImportText(text, options);
}

std::string Sjis(std::string_view text) { return *EncodeFromUtf8(CodePage::ShiftJis, text); }

// Twenty double-byte characters: exactly the Japanese limit of 40 bytes.
const std::string Forty = "一二三四五六七八九十一二三四五六七八九十";

TEST(Import, BuildsZeroFilledRecordsInTheirCodePages)
{
    const ImportResult result = Import(
        "\xC5"
        "\x93uvre\t作品\n\nabcdefghijklmnop\t" +
        Forty + "\n\t\n");
    ASSERT_EQ(result.problems, 0u);
    ASSERT_EQ(result.words.size(), 3u);
    EXPECT_EQ(result.words[0].FrancaisBytes(), "\x9Cuvre");
    EXPECT_EQ(result.words[0].JaponaisBytes(), Sjis("作品"));
    EXPECT_EQ(result.words[1].JaponaisBytes().size(), 40u);
    // A tab alone is an empty pair, kept so that record numbers survive a round trip.
    EXPECT_EQ(result.words[2].FrancaisBytes(), "");
    TWordRec zero{};
    zero.SetFrancais("\x9Cuvre");
    zero.SetJaponais(Sjis("作品"));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&result.words[0]), 60),
              std::string(reinterpret_cast<const char*>(&zero), 60));
}

TEST(Import, ReportsEveryProblemKindAtItsLineAndColumn)
{
    const std::string text =
        "abcdefghijklmnopq\tok\n"  // 1: French 17 bytes
        "ok\t" +
        Forty +
        "あ\n"                // 2: Japanese 42 bytes
        "Łódź\tポーランド\n"  // 3: Ł not in Windows-1252 (column 1), nor ź (4)
        "ok\t波〜\n"          // 4: U+301C not in Shift-JIS, at column 5
        "seul\n"              // 5: no Japanese field; the column is the line's end
        "a\tb\tc\n"           // 6: a third field
        "a\tb\t\t\n";         // 7: trailing empty fields are fine
    const ImportResult result = Import(text);
    struct Expected {
        ImportIssue::Kind kind;
        long line;
        long column;
    };
    const Expected expected[] = {
        {ImportIssue::TooLong, 1, 1},       {ImportIssue::TooLong, 2, 4},
        {ImportIssue::NotInCodePage, 3, 1}, {ImportIssue::NotInCodePage, 3, 4},
        {ImportIssue::NotInCodePage, 4, 5}, {ImportIssue::MissingJaponais, 5, 5},
        {ImportIssue::ExtraField, 6, 5},
    };
    ASSERT_EQ(result.issues.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(result.issues[i].kind, expected[i].kind);
        EXPECT_EQ(result.issues[i].at.line, expected[i].line);
        EXPECT_EQ(result.issues[i].at.column, expected[i].column);
    }
    EXPECT_EQ(result.issues[0].bytes, 17u);
    EXPECT_EQ(result.issues[0].limit, 16u);
    EXPECT_EQ(result.issues[1].side, Side::Japonais);
    EXPECT_EQ(result.issues[1].bytes, 42u);
    EXPECT_EQ(result.issues[1].limit, 40u);
    EXPECT_EQ(result.issues[2].character, U'Ł');
    EXPECT_EQ(result.issues[4].character, U'\u301C');
    EXPECT_EQ(result.issues[6].text, "c");
    EXPECT_EQ(result.problems, 7u);
    EXPECT_FALSE(result.Writable());
}

TEST(Import, ReportsQuotingFaultsAndUndecodableBytes)
{
    const ImportResult csv = Import("\"a\"x,b\n\"ouvert,b\n", true);
    ASSERT_EQ(csv.issues.size(), 2u);
    EXPECT_EQ(csv.issues[0].kind, ImportIssue::TextAfterQuote);
    EXPECT_EQ(csv.issues[0].at.column, 4);
    EXPECT_EQ(csv.issues[1].kind, ImportIssue::UnclosedQuote);
    EXPECT_EQ(csv.issues[1].at.line, 2);

    // "あ" then a pair cp932 has no character for, in the Japanese field of line 2.
    const DecodedInput input = DecodeInput("a\t\x82\xA0\nb\t\x82\xA0\x85\x40\n", TextEncoding::Cp932);
    const ImportResult bad = ImportText(input.text, {});
    ASSERT_EQ(bad.issues.size(), 2u);
    EXPECT_EQ(bad.issues[0].kind, ImportIssue::UndecodableByte);
    EXPECT_EQ(bad.issues[0].byte, 0x85);
    EXPECT_EQ(bad.issues[0].at.line, 2);
    EXPECT_EQ(bad.issues[0].at.column, 4);
    EXPECT_EQ(bad.issues[1].byte, 0x40);
}

TEST(Import, SkipWritesTheGoodPairsAndListsTheLinesLeftOut)
{
    const ImportResult result = Import("un,one\n\"deux\nlignes\"x,y\ntrois,三\n", true, true);
    // The quoted field runs over the line break, so the bad row is lines 2 to 3.
    ASSERT_EQ(result.words.size(), 2u);
    EXPECT_EQ(result.words[1].FrancaisBytes(), "trois");
    ASSERT_EQ(result.skippedRows, 1u);
    const ImportIssue& skipped = result.issues.back();
    EXPECT_EQ(skipped.kind, ImportIssue::Skipped);
    EXPECT_EQ(skipped.at.line, 2);
    EXPECT_EQ(skipped.lastLine, 3);
    EXPECT_TRUE(result.Writable());

    // Skipping every line would put an empty list over the target.
    EXPECT_FALSE(Import("seul\n", false, true).Writable());
    EXPECT_TRUE(Import("", false, true).Writable());
}

TEST(Import, ACutNeverSplitsADoubleByteCharacter)
{
    // 1 + 40 bytes: the last kanji would straddle the limit, so it goes whole and 39 remain.
    const ImportResult japonais = Import("x\ta" + Forty + "\n", false, false, true);
    ASSERT_EQ(japonais.words.size(), 1u);
    const std::string_view kept = japonais.words[0].JaponaisBytes();
    EXPECT_EQ(kept.size(), 39u);
    EXPECT_EQ(kept, Sjis("a一二三四五六七八九十一二三四五六七八九"));
    ASSERT_EQ(japonais.issues.size(), 1u);
    EXPECT_EQ(japonais.issues[0].kind, ImportIssue::Cut);
    EXPECT_EQ(japonais.issues[0].kept, "a一二三四五六七八九十一二三四五六七八九");
    EXPECT_EQ(japonais.problems, 0u);

    const ImportResult francais = Import("électroencéphalogramme\tx\n", false, false, true);
    EXPECT_EQ(francais.words[0].FrancaisBytes(), "\xE9lectroenc\xE9phalo");
    EXPECT_EQ(francais.cutFields, 1u);
}

TEST(Import, CutDoesNotRescueALineWithOtherProblems)
{
    const ImportResult result = Import("abcdefghijklmnopq\tŁ\n", false, false, true);
    EXPECT_EQ(result.cutFields, 0u);
    EXPECT_EQ(result.problems, 1u);
    EXPECT_FALSE(result.Writable());
    // With --skip too, the line goes, and the cut that never happened is not listed.
    const ImportResult skipped = Import("abcdefghijklmnopq\tŁ\n", false, true, true);
    ASSERT_EQ(skipped.issues.size(), 2u);
    EXPECT_EQ(skipped.issues[0].kind, ImportIssue::NotInCodePage);
    EXPECT_EQ(skipped.issues[1].kind, ImportIssue::Skipped);
}

}  // namespace
}  // namespace mirvel::convert
