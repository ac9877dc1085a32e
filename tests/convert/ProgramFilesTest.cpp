// Word tables as the programs learners keep their words in write them, imported through the
// command line: each must become its pairs, record for record, byte for byte.
#include "convert/Commands.h"
#include "tests/convert/RunConvert.h"

#include <gtest/gtest.h>

#include <utility>

namespace mirvel::convert {
namespace {

using test::Convert;
using test::Imported;
using test::ImportFile;
using test::Outcome;
using test::ReadAll;
using test::Records;
using test::Starter;
using test::TempDir;
using test::WriteAll;

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(ProgramFiles, TheStarterTableWithItsCommentLinesIsTheStarterList)
{
    TempDir dir;
    const Outcome outcome = Convert(
        {"import", std::string(MIRVEL_SAMPLES_DIR) + "/starter.tsv", "-o", dir.File("starter.mirvel")});
    ASSERT_EQ(outcome.code, ExitSuccess) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(ReadAll(dir.File("starter.mirvel")), ReadAll(Starter));
}

TEST(ProgramFiles, AnkisNotesInPlainTextWithItsHeadersQuotesAndOtherColumns)
{
    // As Anki 2.1.55 and later export it with the deck, note type and tags included: fields
    // quoted where they hold a quote or a '#', the tags column empty or not.
    const std::string tab =
        "#separator:tab\n"
        "#html:true\n"
        "#notetype column:1\n"
        "#deck column:2\n"
        "#tags column:5\n"
        "Basic\tFrançais::Vocabulaire\tchat\t猫\tanimaux\n"
        "Basic (and reversed card)\tFrançais::Vocabulaire\t\"\"\"oui\"\" ou \"\"non\"\"\"\tはい、いいえ\t\n"
        "Basic\tFrançais::Vocabulaire\t\"#1\"\t一番\t\n"
        "Basic\tFrançais::Vocabulaire\tl'œuvre\t作品\tart\n"
        "Basic\tFrançais::Vocabulaire\t<b>le</b> chat\t\"<img src=\"\"neko.jpg\"\">猫[sound:neko.mp3]\"\t\n"
        "Basic\tFrançais::Vocabulaire\tl&#39;&oelig;uvre&nbsp;d&#x27;art\t<div>作品</div><div>芸術</"
        "div>\tart\n";
    TempDir dir;
    const Imported anki = ImportFile(dir, "notes.txt", tab);
    ASSERT_EQ(anki.outcome.code, ExitSuccess) << anki.outcome.err;
    EXPECT_EQ(anki.outcome.err, "");
    EXPECT_EQ(anki.records, Records({{"chat", "猫"},
                                     {"\"oui\" ou \"non\"", "はい、いいえ"},
                                     {"#1", "一番"},
                                     {"l'œuvre", "作品"},
                                     {"le chat", "猫"},
                                     {"l'œuvre d'art", "作品 芸術"}}));

    // The same kind of file with commas, the tags column last.
    const std::string comma =
        "#separator:Comma\n"
        "#html:false\n"
        "#tags column:3\n"
        "bonjour,こんにちは,salutations\n"
        "\"oui, merci\",はい、ありがとう,\n"
        "\"il a dit \"\"non\"\"\",「いいえ」と言った,verbes\n";
    const Imported commas = ImportFile(dir, "comma.txt", comma);
    ASSERT_EQ(commas.outcome.code, ExitSuccess) << commas.outcome.err;
    EXPECT_EQ(commas.records, Records({{"bonjour", "こんにちは"},
                                       {"oui, merci", "はい、ありがとう"},
                                       {"il a dit \"non\"", "「いいえ」と言った"}}));

    // What export --anki writes for Anki comes back as the list it was.
    ASSERT_EQ(Convert({"export", Starter, "-o", dir.File("starter.txt"), "--anki"}).code, ExitSuccess);
    const Imported back = ImportFile(dir, "starter.txt", ReadAll(dir.File("starter.txt")));
    ASSERT_EQ(back.outcome.code, ExitSuccess) << back.outcome.err;
    EXPECT_EQ(back.records, ReadAll(Starter));
}

TEST(ProgramFiles, ALibreOfficeCsvInAFrenchLocaleIsReadWithItsSemicolons)
{
    // UTF-8, CR LF, fields quoted where they hold the separator or a quote.
    const std::string csv =
        "bonjour;こんにちは\r\n"
        "\"oui; bien sûr\";はい、もちろん\r\n"
        "oui, merci;はい、ありがとう\r\n"
        "\"le \"\"Monde\"\"\";ル・モンド\r\n";
    TempDir dir;
    const Imported imported = ImportFile(dir, "mots.csv", csv);
    ASSERT_EQ(imported.outcome.code, ExitSuccess) << imported.outcome.err;
    EXPECT_EQ(imported.outcome.err,
              "mots.csv"
              ": 各行がコンマではなくセミコロン (;) で区切られているため、セミコロン"
              "区切りとして読みました（区切りは --separator で指定できます）\n");
    EXPECT_EQ(imported.records, Records({{"bonjour", "こんにちは"},
                                         {"oui; bien sûr", "はい、もちろん"},
                                         {"oui, merci", "はい、ありがとう"},
                                         {"le \"Monde\"", "ル・モンド"}}));
    // Stated, the separator is taken as it is.
    EXPECT_EQ(ImportFile(dir, "mots.csv", csv, {"--separator", "comma"}).outcome.code, ExitProblems);
}

TEST(ProgramFiles, ExcelsCsvOnAJapaneseWindowsIsReadAsShiftJis)
{
    // "CSV (コンマ区切り)": code page 932, CR LF, fields quoted where they need it; Excel can't
    // put an accent into code page 932, so the French is plain.
    const std::string text =
        "chat,猫\r\n"
        "chien,犬\r\n"
        "\"oui, merci\",はい、ありがとう\r\n"
        "\"dit \"\"non\"\"\",「いいえ」と言った\r\n"
        "kana,ｶﾀｶﾅ\r\n";
    TempDir dir;
    const Imported imported = ImportFile(dir, "Book1.csv", *EncodeFromUtf8(CodePage::ShiftJis, text));
    ASSERT_EQ(imported.outcome.code, ExitSuccess) << imported.outcome.err;
    EXPECT_EQ(imported.outcome.err,
              "Book1.csv"
              ": UTF-8 ではないため、Shift-JIS として読みました（ほかの文字コードなら "
              "--encoding で指定してください）\n");
    EXPECT_EQ(imported.records, Records({{"chat", "猫"},
                                         {"chien", "犬"},
                                         {"oui, merci", "はい、ありがとう"},
                                         {"dit \"non\"", "「いいえ」と言った"},
                                         {"kana", "ｶﾀｶﾅ"}}));
}

TEST(ProgramFiles, ASpreadsheetWithAHeaderRowAndAThirdColumnWritesItsPairsWithHeader)
{
    // Excel's "CSV UTF-8": a BOM, CR LF, a notes column filled on some rows only.
    const std::string csv =
        "\xEF\xBB\xBF"
        "Français,Japonais,Notes\r\n"
        "chat,猫,animal\r\n"
        "le livre,本,\r\n";
    TempDir dir;
    const std::string expected = Records({{"chat", "猫"}, {"le livre", "本"}});
    // "Japonais" holds no Japanese where the rows below do: the names, and the notes column
    // goes with them.
    const Imported plain = ImportFile(dir, "Classeur1.csv", csv);
    ASSERT_EQ(plain.outcome.code, ExitSuccess) << plain.outcome.err;
    EXPECT_EQ(plain.records, expected);
    EXPECT_EQ(
        plain.outcome.err,
        "Classeur1.csv:1: この行は日本語の欄に日本語の文字がなく、続く行は単語の組なので、列の名前の行として"
        "読み飛ばしました（組として読むには --no-header を付けてください）\n");
    const Imported pairs = ImportFile(dir, "Classeur1.csv", csv, {"--no-header"});
    EXPECT_EQ(pairs.outcome.code, ExitProblems);
    EXPECT_TRUE(Has(pairs.outcome.err, ":2:8: 3 つ目の欄「animal」があります")) << pairs.outcome.err;

    const Imported header = ImportFile(dir, "Classeur1.csv", csv, {"--header"});
    ASSERT_EQ(header.outcome.code, ExitSuccess) << header.outcome.err;
    EXPECT_EQ(header.records, expected);
    EXPECT_EQ(ImportFile(dir, "Classeur1.csv", csv, {"--header", "--columns", "français,2"}).records,
              expected);

    const Imported wrong =
        ImportFile(dir, "Classeur1.csv", csv, {"--header", "--columns", "Francais,Japonais"});
    EXPECT_EQ(wrong.outcome.code, ExitUsage);
    EXPECT_EQ(
        wrong.outcome.err,
        "mirvel-convert: --columns の「Francais」という列はありません。列は 1「Français」、2「Japonais」、"
        "3「Notes」です\n使い方は mirvel-convert import --help で表示されます\n");
}

}  // namespace
}  // namespace mirvel::convert
