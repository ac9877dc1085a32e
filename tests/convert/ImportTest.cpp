#include "convert/Import.h"

#include "common/CodePage.h"
#include "convert/InputDecoder.h"
#include "convert/Messages.h"
#include "convert/Utf8.h"

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

struct Kinds {
    ImportIssue::Kind kind;
    long line;
};

void ExpectIssues(const ImportResult& result, std::initializer_list<Kinds> expected)
{
    ASSERT_EQ(result.issues.size(), expected.size());
    std::size_t i = 0;
    for (const Kinds& want : expected) {
        SCOPED_TRACE(i);
        EXPECT_EQ(result.issues[i].kind, want.kind);
        EXPECT_EQ(result.issues[i].at.line, want.line);
        ++i;
    }
}

TEST(Import, HeadersAreReadAboveTheFirstRowAndHashLinesAreNeverRows)
{
    const ImportResult result = Import(
        "#Separator: SEMICOLON\n"  // 1: any case, spaces around
        "# a note: not a header\n"
        "#colour:blue\n"       // 3: unknown key, told and passed over
        "#deck:Français\n"     // 4: accepted, says nothing of the words
        "#tags column:3\n"     // 5
        "\"a;b\";\"de \"\"la\"\"\";t1\n"  // 6: quoted, whatever the separator
        "#html:true\n"         // 7: below the first row, a comment
        "#1;un\n"              // 8: looks like a pair
        "# section\n"
        "c;d;t2\n");
    ExpectIssues(result, {{ImportIssue::UnknownHeader, 3},
                          {ImportIssue::LateHeader, 7},
                          {ImportIssue::CommentedRow, 8}});
    EXPECT_EQ(result.issues[0].text, "colour");
    EXPECT_EQ(result.problems, 0u);
    EXPECT_EQ(result.separator, ';');
    ASSERT_EQ(result.words.size(), 2u);
    EXPECT_EQ(result.words[0].FrancaisBytes(), "a;b");
    EXPECT_EQ(result.words[0].JaponaisBytes(), "de \"la\"");
    EXPECT_EQ(result.words[1].FrancaisBytes(), "c");

    // A literal separator; without a header a TSV keeps its quotes, and a '#' line is still no row.
    EXPECT_EQ(Import("#separator:|\n\"x\"|y\n").words[0].FrancaisBytes(), "x");
    const ImportResult plain = Import("# comment\n\"x\"\ty\n");
    EXPECT_TRUE(plain.issues.empty());
    EXPECT_EQ(plain.words[0].FrancaisBytes(), "\"x\"");
}

TEST(Import, ABadHeaderValueOrARowUnlikeColumnsIsAProblemAtTheHeadersLine)
{
    const ImportResult bad = Import("#html:yes\n#separator:tabs\n#deck column:two\na\tb\n", false, true);
    ExpectIssues(bad, {{ImportIssue::BadHeader, 1}, {ImportIssue::BadHeader, 2}, {ImportIssue::BadHeader, 3}});
    EXPECT_EQ(bad.issues[0].kept, "yes");
    EXPECT_EQ(bad.words.size(), 1u);
    EXPECT_FALSE(bad.Writable());  // --skip takes out rows, not headers

    // Trailing empty fields are a spreadsheet's padding; a field more or less is not.
    const std::string text = "#separator:tab\n#columns:fr\tja\na\tb\t\nc\td\te\nf\n";
    const ImportResult once = Import(text);
    ExpectIssues(once, {{ImportIssue::ColumnsMismatch, 2}, {ImportIssue::MissingJaponais, 5}});
    EXPECT_EQ(once.issues[0].column, 2u);
    EXPECT_EQ(once.issues[0].bytes, 3u);
    EXPECT_EQ(once.issues[0].lastLine, 4);
    EXPECT_EQ(once.problems, 2u);
    const ImportResult skipped = Import(text, false, true);
    EXPECT_EQ(skipped.skippedRows, 2u);
    ASSERT_EQ(skipped.words.size(), 1u);
    EXPECT_TRUE(skipped.Writable());
}

TEST(Import, TheWordColumnsAreTheFirstTwoThatNoHeaderGivesAwayOrTheNamedOnes)
{
    // Anki's "Notes in Plain Text": note type, deck, the two fields, tags.
    const std::string anki = "#notetype column:1\n#deck column:2\n#tags column:5\nBasic\tFR\tchat\t猫\tanimal\n";
    const ImportResult byRoles = Import(anki);
    EXPECT_EQ(byRoles.problems, 0u);
    ASSERT_EQ(byRoles.words.size(), 1u);
    EXPECT_EQ(byRoles.words[0].FrancaisBytes(), "chat");

    ImportOptions options;
    options.csv = true;
    options.columns = {"Français", "1"};  // by name in any case or by number, in either order
    const std::string table = "#columns:japonais,français,notes\nねこ,chat,animal\nx,,y\n";
    const ImportResult byName = ImportText(table, options);
    EXPECT_EQ(byName.problems, 0u);  // the third column ignored
    ASSERT_EQ(byName.words.size(), 2u);
    EXPECT_EQ(byName.words[0].FrancaisBytes(), "chat");
    EXPECT_EQ(byName.words[0].JaponaisBytes(), Sjis("ねこ"));
    options.columns = {"3", "2"};
    const ImportResult missing = ImportText("a,b,c\nd,e\n", options);
    ExpectIssues(missing, {{ImportIssue::MissingFrancais, 2}});
    EXPECT_EQ(missing.issues[0].column, 3u);

    // A header row names the columns and is no pair; a wrong name lists the names there are.
    options.header = true;
    options.columns = {"notes", "Francais"};
    try {
        ImportText("Fr,Ja,Notes\nchat,猫,animal\n", options);
        ADD_FAILURE() << "a column Francais was found";
    } catch (const ColumnsError& error) {
        EXPECT_EQ(error.asked, "Francais");
        EXPECT_EQ(error.names, (std::vector<std::string>{"Fr", "Ja", "Notes"}));
    }
    options.columns = {"notes", "ja"};
    const ImportResult named = ImportText("Fr,Ja,Notes\nchat,猫,animal\n", options);
    ASSERT_EQ(named.words.size(), 1u);
    EXPECT_EQ(named.words[0].FrancaisBytes(), "animal");
    options.header = false;
    options.columns = {"1", "4"};
    try {
        ImportText("a,b,c\n", options);
        ADD_FAILURE() << "a fourth column was found";
    } catch (const ColumnsError& error) {
        EXPECT_EQ(ColumnsErrorText(error), "--columns の 4 列目はありません。列は 1 から 3 までです");
    }
}

TEST(Import, ACsvIsReadWithSemicolonsWhenItsFirstRowsSplitOnThemAndNotOnCommas)
{
    // "oui, merci" splits on the comma where the other rows don't.
    const ImportResult french = Import("bonjour;こんにちは\noui, merci;はい\n\"a;b\";c\n", true);
    EXPECT_TRUE(french.semicolonGuessed);
    EXPECT_EQ(french.problems, 0u);
    EXPECT_EQ(french.words[1].FrancaisBytes(), "oui, merci");
    EXPECT_EQ(french.words[2].FrancaisBytes(), "a;b");
    // Both split alike: a comma, as ever; not a CSV, or the separator stated: no guess.
    const ImportResult both = Import("a;b,c;d\ne;f,g;h\n", true);
    EXPECT_FALSE(both.semicolonGuessed);
    EXPECT_EQ(both.separator, ',');
    EXPECT_FALSE(Import("a;b\n", false).semicolonGuessed);
    ImportOptions stated;
    stated.csv = true;
    stated.separator = ',';
    EXPECT_EQ(ImportText("a;b\n", stated).separator, ',');
    EXPECT_EQ(Import("#separator:comma\na;b\n", true).separator, ',');

    // The rows the guess reads are the same wherever the file's chunks end.
    ImportOptions csv;
    csv.csv = true;
    ChunkedImport chunked(csv, 3);
    chunked.Feed("oui, merci;hai\n", false);  // alone, it splits on either
    chunked.Feed("chat;neko\n", false);
    chunked.Feed("chien;inu\n", true);
    const ImportResult read = chunked.Finish();
    EXPECT_TRUE(read.semicolonGuessed);
    ASSERT_EQ(read.words.size(), 3u);
    EXPECT_EQ(read.words[0].FrancaisBytes(), "oui, merci");
}

TEST(Import, ControlCharactersInAWordAreProblemsWhereTheyStand)
{
    using namespace std::string_literals;
    const ImportResult result = Import("a\0b\tok\nok\tx\x7F\nok\t\x01\n"s);
    ExpectIssues(result, {{ImportIssue::ControlCharacter, 1},
                          {ImportIssue::ControlCharacter, 2},
                          {ImportIssue::ControlCharacter, 3}});
    EXPECT_EQ(result.issues[0].at.column, 2);
    EXPECT_EQ(result.issues[0].character, U'\0');
    EXPECT_EQ(result.issues[1].side, Side::Japonais);
    EXPECT_EQ(result.issues[1].at.column, 5);
    EXPECT_EQ(result.issues[2].character, U'\x01');
    // A quoted field's tab and line break are the file's own.
    const ImportResult quoted = Import("\"tab\tand\r\nline\",ok\nabcdefgh\x1F,x\n", true);
    ExpectIssues(quoted, {{ImportIssue::ControlCharacter, 3}});
    EXPECT_EQ(quoted.issues[0].at.column, 9);
}

TEST(Import, HtmlFieldsAreReadAsTheirCardsShowThemWhenTheFileOrTheUserSaysSo)
{
    std::string sixteen;
    for (int i = 0; i < 16; ++i) sixteen += "&eacute;";  // 128 bytes that are 16 letters
    const ImportResult html =
        Import("#html:true\n<b>caf&eacute;</b>\t<div>コーヒー</div>\n" + sixteen + "\tx\n\"<i>Łódź</i>\"\tx\n");
    ExpectIssues(html, {{ImportIssue::NotInCodePage, 4}, {ImportIssue::NotInCodePage, 4}});
    EXPECT_EQ(html.issues[0].at.column, 2);  // no closer than the field's start, after its quote
    ASSERT_EQ(html.words.size(), 2u);
    EXPECT_EQ(html.words[0].FrancaisBytes(), "caf\xE9");
    EXPECT_EQ(html.words[0].JaponaisBytes(), Sjis("コーヒー"));
    EXPECT_EQ(html.words[1].FrancaisBytes(), std::string(16, '\xE9'));

    // Else a field is what it says, tags and all.
    const std::string table = "<b>caf&eacute;</b>\tx\n";
    const ImportResult literal = Import(table);
    ExpectIssues(literal, {{ImportIssue::TooLong, 1}});
    EXPECT_EQ(literal.issues[0].text, "<b>caf&eacute;</b>");
    ImportOptions options;
    options.html = true;
    EXPECT_EQ(ImportText(table, options).words[0].FrancaisBytes(), "caf\xE9");
}

EncodingVerdict Choose(std::initializer_list<std::string_view> chunks, const ImportOptions& options = {})
{
    EncodingChoice choice(options);
    std::size_t left = chunks.size();
    for (const std::string_view chunk : chunks) choice.Feed(chunk, --left == 0);
    return choice.Finish();
}

TEST(EncodingChoice, TakesTheReadingUnderWhichEveryWordIsInItsCodePage)
{
    // Windows-1252 "élève" is two Shift-JIS pairs (E9 6C, E8 76): kanji in a French field.
    EXPECT_EQ(Choose({"\xE9l\xE8ve\tseito\r\ncaf\xE9\tkohi\r\n"}).chosen, TextEncoding::Cp1252);
    // Shift-JIS 犬 (8C A2) is "Œ¢" in Windows-1252: no Japanese field may hold an Œ.
    EXPECT_EQ(Choose({"chat\t\x94\x4C\r\n", "chien\t\x8C\xA2\r\n"}).chosen, TextEncoding::Cp932);

    // 猫 (94 4C) reads as "”L", which Shift-JIS has too: both fit, with other words.
    const EncodingVerdict both = Choose({"chat\t\x94\x4C\r\n"});
    EXPECT_FALSE(both.chosen);
    EXPECT_FALSE(both.shiftJis);
    EXPECT_FALSE(both.windows1252);
    // The same words under both, the other bytes in a tags column: either will do.
    EXPECT_EQ(Choose({"#tags column:3\nchat\tneko\t\x94\x4C\n"}).chosen, TextEncoding::Cp932);

    const EncodingVerdict neither = Choose({"chat\t\x94\x4C\r\n", "\xE9l\xE8ve\t\x8C\xA2\r\n"});
    EXPECT_FALSE(neither.chosen);
    ASSERT_TRUE(neither.shiftJis && neither.windows1252);
    EXPECT_EQ(neither.shiftJis->at.line, 2);
    EXPECT_EQ(neither.shiftJis->side, Side::Francais);
    EXPECT_EQ(neither.windows1252->at.line, 2);
    EXPECT_EQ(neither.windows1252->at.column, 7);
    EXPECT_EQ(neither.windows1252->character, U'Œ');
    // A lone lead byte before the tab doesn't decode: that is a misfit too.
    const EncodingVerdict lone = Choose({"caf\xE9\t\x82\xA0\n"});
    ASSERT_TRUE(lone.shiftJis);
    EXPECT_TRUE(IsEscape(lone.shiftJis->character));

    ImportOptions options;
    options.columns = {"5", "1"};
    EXPECT_THROW(Choose({"chat\t\x8C\xA2\n"}, options), ColumnsError);
}

}  // namespace
}  // namespace mirvel::convert
