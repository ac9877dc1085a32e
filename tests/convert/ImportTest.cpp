// The import through the command's own path: a table in, the records written and what was
// said on standard error.
#include "tests/convert/RunConvert.h"

#include <gtest/gtest.h>

namespace mirvel::convert {
namespace {

using namespace std::string_literals;
using test::ImportFile;
using test::Records;
using test::TempDir;

std::string Sjis(std::string_view text) { return *EncodeFromUtf8(CodePage::ShiftJis, text); }

// Twenty double-byte characters: exactly the Japanese limit of 40 bytes.
const std::string Forty = "一二三四五六七八九十一二三四五六七八九十";

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(Import, EveryProblemAtItsLineAndColumnAndNothingWritten)
{
    TempDir dir;
    const std::string text =
        "abcdefghijklmnopq\tok\n"  // 1: French 17 bytes
        "ok\t" +
        Forty +
        "あ\n"                 // 2: Japanese 42 bytes
        "Łódź\tポーランド\n"   // 3: Ł and ź not in Windows-1252
        "ok\ta\xE2\x80\x8B\n"  // 4: an invisible character, by its code point
        "seul\n"               // 5: no Japanese field; the column is the line's end
        "a\tb\tc\n"            // 6: a third field
        "a\0b\tx\x7F\n"s       // 7: control characters
        "a\tb\t\t\n";          // 8: trailing empty fields are fine
    test::WriteAll(dir.File("in.tsv.mirvel"), "previous");
    const auto imported = ImportFile(dir, "in.tsv", text);
    EXPECT_EQ(imported.outcome.code, ExitProblems);
    EXPECT_EQ(test::ReadAll(dir.File("in.tsv.mirvel")), "previous");
    EXPECT_EQ(imported.outcome.err,
              "in.tsv:1:1: フランス語「abcdefghijklmnopq」は Windows-1252 で 17 バイトあり、上限の 16 "
              "バイトを超えて"
              "います\n"
              "in.tsv:2:4: 日本語「" +
                  Forty +
                  "あ」は Shift-JIS で 42 バイトあり、上限の 40 バイトを超えています\n"
                  "in.tsv:3:1: フランス語の「Ł」(U+0141)は Windows-1252 にない文字です\n"
                  "in.tsv:3:4: フランス語の「ź」(U+017A)は Windows-1252 にない文字です\n"
                  "in.tsv:4:5: 日本語の U+200B は Shift-JIS にない文字です\n"
                  "in.tsv:5:5: 日本語の欄がありません（フランス語と日本語をタブで区切ってください）\n"
                  "in.tsv:6:5: 3 つ目の欄「c」があります（欄はフランス語と日本語の 2 "
                  "つです。ほかの列を無視するには "
                  "--columns 1,2 を、1 行目が列の名前なら --header も付けてください）\n"
                  "in.tsv:7:2: フランス語の欄に制御文字 U+0000 があります\n"
                  "in.tsv:7:6: 日本語の欄に制御文字 U+007F があります\n"
                  "問題が 9 件あったため、in.tsv.mirvel "
                  "には何も書き込んでいません。問題のある行を飛ばして書き込むには "
                  "--skip を、長すぎる欄を切り詰めるには --cut を付けてください\n");
}

TEST(Import, SkipAndCut)
{
    TempDir dir;
    // The quoted field runs over the line break, so the bad row is lines 2 to 3.
    const auto skipped = ImportFile(dir, "a.csv", "un,one\n\"deux\nlignes\"x,y\ntrois,三\n", {"--skip"});
    ASSERT_EQ(skipped.outcome.code, ExitSuccess) << skipped.outcome.err;
    EXPECT_EQ(skipped.records, Records({{"un", "one"}, {"trois", "三"}}));
    EXPECT_EQ(skipped.outcome.err,
              "a.csv:3:8: 閉じる引用符 \" のあとに区切り以外の文字があります\n"
              "a.csv:2: 2 行目から 3 行目までを飛ばしました\n");
    // Skipping every line would put an empty list over the target.
    EXPECT_EQ(ImportFile(dir, "b.tsv", "seul\n", {"--skip"}).outcome.code, ExitProblems);

    // 1 + 40 bytes: the last kanji would straddle the limit, so it goes whole and 39 remain.
    const auto cut = ImportFile(dir, "c.tsv", "électroencéphalogramme\ta" + Forty + "\n", {"--cut"});
    ASSERT_EQ(cut.outcome.code, ExitSuccess) << cut.outcome.err;
    EXPECT_EQ(cut.records, Records({{"électroencéphalo", "a一二三四五六七八九十一二三四五六七八九"}}));
    EXPECT_TRUE(Has(cut.outcome.out, "（切り詰めた欄 2）")) << cut.outcome.out;
    // A cut doesn't rescue a line with other problems, and one never made is not listed.
    const auto both = ImportFile(dir, "d.tsv", "abcdefghijklmnopq\tŁ\nok\tok\n", {"--cut", "--skip"});
    EXPECT_EQ(
        both.outcome.err,
        "d.tsv:1:19: 日本語の「Ł」(U+0141)は Shift-JIS にない文字です\nd.tsv:1: この行を飛ばしました\n");
}

TEST(Import, EmptyRowsAreNoPairsAndAnEmptyWordIsNamed)
{
    // As spreadsheets write empty rows: a separator alone, two tabs, a note in the third column.
    TempDir dir;
    const auto csv = ImportFile(dir, "a.csv", "chat,猫\r\n,\r\n,,note\r\ncafé,\r\n,\"\"\r\nchien,犬\r\n");
    ASSERT_EQ(csv.outcome.code, ExitSuccess) << csv.outcome.err;
    EXPECT_EQ(csv.records, Records({{"chat", "猫"}, {"café", ""}, {"chien", "犬"}}));
    EXPECT_EQ(csv.outcome.err,
              "a.csv:4: 日本語が空の組です\n"
              "a.csv:2: フランス語も日本語も空の行を 3 行読み飛ばしました（最初の行がここです）\n");
    const auto tsv = ImportFile(dir, "b.tsv", "\t\t\n\tねこ\n");
    EXPECT_EQ(tsv.records, Records({{"", "ねこ"}}));
}

TEST(Import, TabSeparatedCellsQuotedAsSpreadsheetsQuoteThem)
{
    TempDir dir;
    const auto quoted = ImportFile(
        dir, "a.tsv",
        "\"\"\"oui\"\", non; si\"\tはい\n\"deux\nlignes\"\t二行\ndit \"non\"\t「いいえ」\n\"a\"b\tc\n");
    ASSERT_EQ(quoted.outcome.code, ExitSuccess) << quoted.outcome.err;
    EXPECT_EQ(quoted.records, Records({{"\"oui\", non; si", "はい"},
                                       {"deux\nlignes", "二行"},
                                       {"dit \"non\"", "「いいえ」"},
                                       {"\"a\"b", "c"}}));
    EXPECT_EQ(quoted.outcome.err,
              "a.tsv:5:1: \" で始まる欄が引用符で閉じていないため、\" も文字として読みました\n");
    // A quote opened on line 1 and never closed costs its own field, not the rest of the file.
    const auto open = ImportFile(dir, "b.tsv", "\"ouvert\tえ\nchat\t猫\n");
    EXPECT_EQ(open.records, Records({{"\"ouvert", "え"}, {"chat", "猫"}}));
    // In a CSV that is a problem.
    EXPECT_TRUE(Has(ImportFile(dir, "c.csv", "a,b\n\"ouvert,b\n").outcome.err,
                    "c.csv:2:1: 引用符 \" が閉じていません"));
}

TEST(Import, AFirstRowThatCantBeAPairNamesTheColumns)
{
    TempDir dir;
    const auto french = ImportFile(dir, "a.csv", "フランス語,日本語\nchat,猫\nchien,犬\n");
    ASSERT_EQ(french.outcome.code, ExitSuccess) << french.outcome.err;
    EXPECT_EQ(french.records, Records({{"chat", "猫"}, {"chien", "犬"}}));
    EXPECT_TRUE(Has(french.outcome.err, "a.csv:1: この行はフランス語の欄に Windows-1252 にない文字があり"));
    // In Shift-JIS too: the encoding is chosen past that row.
    const auto sjis = ImportFile(dir, "b.csv", Sjis("フランス語,日本語\r\nchat,猫\r\n"));
    EXPECT_EQ(sjis.records, Records({{"chat", "猫"}}));
    EXPECT_TRUE(Has(sjis.outcome.err, "Shift-JIS として読みました")) << sjis.outcome.err;
    // Where the rows below are mostly Latin too, or the user says so, it is a pair.
    EXPECT_EQ(ImportFile(dir, "c.tsv", "OK\tOK\nchat\t猫\n", {"--no-header"}).records,
              Records({{"OK", "OK"}, {"chat", "猫"}}));
    EXPECT_EQ(ImportFile(dir, "d.tsv", "CD\tCD\nDVD\tDVD\nchat\t猫\n").outcome.err, "");
}

TEST(Import, StandardEquivalentsAreStoredWithOneNoteEach)
{
    TempDir dir;
    const auto imported = ImportFile(dir, "a.tsv", "a\t波〜\nb\t〜〜\nc\u202F!\t−1\n");
    ASSERT_EQ(imported.outcome.code, ExitSuccess) << imported.outcome.err;
    EXPECT_EQ(imported.records, Records({{"a", "波～"}, {"b", "～～"}, {"c\u00A0!", "－1"}}));
    EXPECT_EQ(imported.outcome.err,
              "a.tsv:1: 日本語の「〜」(U+301C)は Shift-JIS "
              "にないため、規格で同じ文字とされる「～」(U+FF5E)として読みました（"
              "3 か所、最初がここです）\n"
              "a.tsv:3: フランス語の U+202F は Windows-1252 にないため、規格で同じ文字とされる U+00A0 "
              "として読みました（1 か所、最初がここです）\n"
              "a.tsv:3: 日本語の「−」(U+2212)は Shift-JIS "
              "にないため、規格で同じ文字とされる「－」(U+FF0D)として読みました（"
              "1 か所、最初がここです）\n");
}

TEST(Import, TheEncodingIsTheReadingUnderWhichEveryWordFitsItsCodePage)
{
    TempDir dir;
    // Windows-1252 "élève" is two Shift-JIS pairs (E9 6C, E8 76): kanji in a French field.
    EXPECT_EQ(ImportFile(dir, "a.tsv", "\xE9l\xE8ve\tseito\r\n").records, Records({{"élève", "seito"}}));
    // 猫 (94 4C) reads as "”L", which Shift-JIS has too: both fit, with other words.
    const auto both = ImportFile(dir, "b.csv", "chat,\x94\x4C\r\n");
    EXPECT_EQ(
        both.outcome.err,
        "b.csv:1:6: Shift-JIS としても Windows-1252 としても読めるため、どちらか決められません。文字コードを "
        "--encoding cp932 か --encoding cp1252 で指定してください\n");
    EXPECT_EQ(ImportFile(dir, "b.csv", "chat,\x94\x4C\r\n", {"--encoding", "cp932"}).records,
              Records({{"chat", "猫"}}));
    const auto neither = ImportFile(dir, "c.tsv", "chat\t\x94\x4C\r\n\xE9l\xE8ve\t\x8C\xA2\r\n");
    EXPECT_EQ(
        neither.outcome.err,
        "c.tsv: Shift-JIS としても Windows-1252 としても読めません（Shift-JIS では 2 行目 1 "
        "列目のフランス語の"
        "「駘」(U+99D8)が Windows-1252 になく、Windows-1252 では 2 行目 7 列目の日本語の「Œ」(U+0152)が "
        "Shift-JIS にありません）。文字コードを --encoding cp932 か --encoding cp1252 で指定してください\n");
    // Bytes a stated encoding can't decode are named where they stand.
    const auto bad = ImportFile(dir, "d.tsv", "a\t\x82\xA0\nb\t\x82\xA0\x85\x40\n", {"--encoding", "cp932"});
    EXPECT_TRUE(Has(bad.outcome.err, "d.tsv:2:4: 日本語の欄のバイト 0x85 は cp932 として読めません"))
        << bad.outcome.err;
}

TEST(Import, AccentsLostByASpreadsheetAreNoted)
{
    TempDir dir;
    const auto lost = ImportFile(dir, "a.csv", Sjis("caf?,コーヒー\r\n?l?ve,生徒\r\nquoi ?,何\r\n"));
    ASSERT_EQ(lost.outcome.code, ExitSuccess) << lost.outcome.err;
    EXPECT_TRUE(Has(lost.outcome.err,
                    "a.csv:1: フランス語の 2 組で文字のとなりに「?」があります（最初がここです）。"
                    "表計算ソフトが Shift-JIS で保存したときにアクセント付きの文字が失われたようです。"
                    "「CSV UTF-8」で保存し直して、もう一度読み込んでください\n"))
        << lost.outcome.err;
    EXPECT_FALSE(Has(ImportFile(dir, "b.csv", "caf?,コーヒー\r\n").outcome.err, "?"));  // UTF-8 lost nothing
}

TEST(Import, AnkisHeadersAboveTheFirstRowAndHashLinesAreNeverRows)
{
    TempDir dir;
    const auto read = ImportFile(dir, "a.txt",
                                 "#Separator: SEMICOLON\n"  // any case, spaces around
                                 "# a note: not a header\n"
                                 "#colour:blue\n"    // 3: unknown key, told and passed over
                                 "#deck:Français\n"  // says nothing of the words
                                 "#tags column:3\n"
                                 "\"a;b\";\"de \"\"la\"\"\";t1\n"
                                 "#html:true\n"  // 7: below the first row, a comment
                                 "#1;un\n"       // 8: looks like a pair
                                 "c;d;t2\n");
    ASSERT_EQ(read.outcome.code, ExitSuccess) << read.outcome.err;
    EXPECT_EQ(read.records, Records({{"a;b", "de \"la\""}, {"c", "d"}}));
    EXPECT_EQ(read.outcome.err,
              "a.txt:3: 知らないヘッダー「#colour:」を無視しました\n"
              "a.txt:7: ヘッダー「#html:」は表の最初の行より上にしか書けないため、無視しました\n"
              "a.txt:8: # で始まる行はセミコロンを含んでいても単語の組ではなく注釈として読み飛ばしました\n");

    // --skip takes out rows, not headers.
    const auto bad = ImportFile(dir, "b.txt", "#html:yes\n#deck column:two\na\tb\n", {"--skip"});
    EXPECT_EQ(bad.outcome.code, ExitProblems);
    EXPECT_TRUE(
        Has(bad.outcome.err, "b.txt:1: ヘッダー「#html:」の値「yes」は使えません（true か false です）"));
    EXPECT_TRUE(
        Has(bad.outcome.err, "b.txt:2: ヘッダー「#deck column:」の値「two」は使えません（1 から数える"));

    // Trailing empty fields are a spreadsheet's padding; a field more or less is not.
    const auto columns = ImportFile(dir, "c.txt", "#separator:tab\n#columns:fr\tja\na\tb\t\nc\td\te\nf\n");
    EXPECT_EQ(
        columns.outcome.err,
        "c.txt:2: #columns: の列は 2 つですが、4 行目は 3 列です（列の数が合わない行は書き込みません）\n"
        "c.txt:5:2: 日本語の欄がありません（フランス語と日本語をタブで区切ってください）\n"
        "問題が 2 件あったため、c.txt.mirvel には何も書き込んでいません。問題のある行を飛ばして書き込むには "
        "--skip を付けてください\n");
}

TEST(Import, TheWordColumnsAreTheFirstTwoNoHeaderGivesAwayOrTheNamedOnes)
{
    TempDir dir;
    const auto byRoles = ImportFile(
        dir, "a.txt", "#notetype column:1\n#deck column:2\n#tags column:5\nBasic\tFR\tchat\t猫\tanimal\n");
    EXPECT_EQ(byRoles.records, Records({{"chat", "猫"}}));
    // By name in any case or by number, in either order; the other columns ignored.
    const auto byName = ImportFile(dir, "b.csv", "#columns:japonais,français,notes\nねこ,chat,animal\nx,,y\n",
                                   {"--columns", "Français,1"});
    EXPECT_EQ(byName.records, Records({{"chat", "ねこ"}, {"", "x"}}));
    const auto missing = ImportFile(dir, "c.csv", "a,b,c\nd,e\n", {"--columns", "3,2"});
    EXPECT_TRUE(Has(missing.outcome.err, "c.csv:2:4: 3 列目のフランス語の欄がありません"))
        << missing.outcome.err;
    const auto fourth = ImportFile(dir, "d.csv", "a,b,c\n", {"--columns", "1,4"});
    EXPECT_EQ(fourth.outcome.code, ExitUsage);
    EXPECT_TRUE(Has(fourth.outcome.err, "--columns の 4 列目はありません。列は 1 から 3 までです"));
    EXPECT_EQ(ImportFile(dir, "e.csv", "Fr,Ja,Notes\nchat,猫,animal\n", {"--header", "--columns", "notes,ja"})
                  .records,
              Records({{"animal", "猫"}}));
}

TEST(Import, ACsvIsReadWithSemicolonsWhenItsFirstRowsSplitOnThemAndNotOnCommas)
{
    TempDir dir;
    EXPECT_EQ(ImportFile(dir, "a.csv", "bonjour;こんにちは\noui, merci;はい\n\"a;b\";c\n").records,
              Records({{"bonjour", "こんにちは"}, {"oui, merci", "はい"}, {"a;b", "c"}}));
    // Both split alike: a comma, as ever; the separator stated: no guess.
    EXPECT_EQ(ImportFile(dir, "b.csv", "a;b,c;d\ne;f,g;h\n", {"--columns", "1,2"}).records,
              Records({{"a;b", "c;d"}, {"e;f", "g;h"}}));
    EXPECT_EQ(ImportFile(dir, "c.csv", "#separator:comma\na;b,c\n").records, Records({{"a;b", "c"}}));
}

TEST(Import, HtmlFieldsAreReadAsTheirCardsShowThemWhenTheFileOrTheUserSaysSo)
{
    TempDir dir;
    std::string sixteen;
    for (int i = 0; i < 16; ++i) sixteen += "&eacute;";  // 128 bytes that are 16 letters
    const auto html = ImportFile(
        dir, "a.txt",
        "#html:true\n<b>caf&eacute;</b>\t<div>コーヒー</div>\n" + sixteen + "\tx\n\"<i>Łódź</i>\"\tx\n",
        {"--skip"});
    EXPECT_EQ(html.records, Records({{"café", "コーヒー"}, {"éééééééééééééééé", "x"}}));
    EXPECT_TRUE(
        Has(html.outcome.err, "a.txt:4:2: フランス語の「Ł」"));  // at the field's start, after its quote
    EXPECT_EQ(ImportFile(dir, "b.tsv", "<b>caf&eacute;</b>\tx\n", {"--html"}).records,
              Records({{"café", "x"}}));
}

TEST(Import, HostileInputIsRefusedInItsOwnWords)
{
    TempDir dir;
    // A UTF-16 file with a lone surrogate, and one that ends in an odd byte.
    const auto utf16 = ImportFile(dir, "a.txt",
                                  "\xFF\xFE"
                                  "c\0h\0\t\0\x2B\x73\n\0"
                                  "d\0\t\0\x00\xD8\n\0"s);
    EXPECT_TRUE(Has(utf16.outcome.err, "a.txt:2:3: 日本語の欄のバイト 0x00 は UTF-16LE として読めません"))
        << utf16.outcome.err;
    const auto odd = ImportFile(dir, "b.txt", "\xFE\xFF\0a\0\t\0b\0"s);
    EXPECT_TRUE(Has(odd.outcome.err, "b.txt:1:4: 日本語の欄のバイト 0x00 は UTF-16BE として読めません"))
        << odd.outcome.err;
    EXPECT_EQ(ImportFile(dir, "c.txt", "\xFE\xFF\0a\0\t\x30\x42"s).records, Records({{"a", "あ"}}));
}

}  // namespace
}  // namespace mirvel::convert
