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

TEST(ProgramFiles, EveryFormLibreOfficeSavesASheetInImportsWithoutOptions)
{
    // The sheet's header row, empty rows, a note with a line break, quotes, 〜 and U+202F.
    const std::string pairs = Records({{"bonjour", "こんにちは"},
                                       {"café", "コーヒー"},
                                       {"œuf", "卵"},
                                       {"\"oui\", non; si", "「はい」、いいえ"},
                                       {"à bientôt", "またね"},
                                       {"élève", "生徒"},
                                       {"Ça va\u00A0?", "元気？～"},
                                       {"Noël", "クリスマス"},
                                       {"forêt", "森"}});
    // What every form says at its header row, its first empty row (of how many) and its first
    // look-alike, the Shift-JIS one without the equivalents the spreadsheet made.
    const auto notes = [](const std::string& header, const std::string& empty, int emptyRows,
                          const std::string& equivalents) {
        std::string text = header +
                           ": この行はフランス語の欄に Windows-1252 "
                           "にない文字があり、続く行は単語の組なので、列の名前の行として"
                           "読み飛ばしました（組として読むには --no-header を付けてください）\n" +
                           empty + ": フランス語も日本語も空の行を " + std::to_string(emptyRows) +
                           " 行読み飛ばしました（最初の行がここです）\n";
        if (equivalents.empty()) return text;
        return text + equivalents +
               ": フランス語の U+202F は Windows-1252 にないため、規格で同じ文字とされる U+00A0 "
               "として読みました（1 か所、最初がここです）\n" +
               equivalents +
               ": 日本語の「〜」(U+301C)は Shift-JIS "
               "にないため、規格で同じ文字とされる「～」(U+FF5E)として読みました（1 か所、最初がここです）\n";
    };
    TempDir dir;
    for (const std::string name :
         {"utf8.csv", "bom-crlf.csv", "semicolon.csv", "tab.txt", "quoted.csv", "utf16.txt"}) {
        SCOPED_TRACE(name);
        const Imported sheet = ImportFile(dir, name, ReadAll(std::string(MIRVEL_SHEETS_DIR) + "/" + name));
        ASSERT_EQ(sheet.outcome.code, ExitSuccess) << sheet.outcome.err;
        EXPECT_EQ(sheet.records, pairs);
        std::string expected = notes(name + ":1", name + ":5", 3, name + ":11");
        if (name == "semicolon.csv")
            expected =
                name +
                ": 各行がコンマではなくセミコロン (;) で区切られているため、セミコロン区切りとして読みました"
                "（区切りは --separator で指定できます）\n" +
                expected;
        EXPECT_EQ(sheet.outcome.err, expected);
    }

    // The same sheet as workbooks, written by LibreOffice and by openpyxl: places are cells and
    // rows; a row with nothing in it is no pair, as a blank line, and a row with only a note is
    // an empty row.
    for (const std::string name :
         {"vocabulaire-libreoffice.xlsx", "vocabulaire-libreoffice.ods", "vocabulaire-openpyxl.xlsx"}) {
        SCOPED_TRACE(name);
        const Imported book = ImportFile(dir, name, ReadAll(std::string(MIRVEL_WORKBOOKS_DIR) + "/" + name));
        ASSERT_EQ(book.outcome.code, ExitSuccess) << book.outcome.err;
        EXPECT_EQ(book.records, pairs);
        EXPECT_EQ(book.outcome.err,
                  notes(name + ":単語の 1 行目", name + ":単語の 8 行目", 1, name + ":単語の 10 行目"));
    }

    // Excel's "CSV (コンマ区切り)" on a Japanese Windows: the spreadsheet wrote "?" for what
    // code page 932 lacks, and 〜 as 0x8160.
    const Imported sjis =
        ImportFile(dir, "sjis.csv", ReadAll(std::string(MIRVEL_SHEETS_DIR) + "/sjis-crlf.csv"));
    ASSERT_EQ(sjis.outcome.code, ExitSuccess) << sjis.outcome.err;
    EXPECT_EQ(sjis.records, Records({{"bonjour", "こんにちは"},
                                     {"caf?", "コーヒー"},
                                     {"?uf", "卵"},
                                     {"\"oui\", non; si", "「はい」、いいえ"},
                                     {"? bient?t", "またね"},
                                     {"?l?ve", "生徒"},
                                     {"?a va??", "元気？～"},
                                     {"No?l", "クリスマス"},
                                     {"for?t", "森"}}));
    EXPECT_EQ(
        sjis.outcome.err,
        "sjis.csv: UTF-8 ではないため、Shift-JIS として読みました（ほかの文字コードなら --encoding で指定して"
        "ください）\n" +
            notes("sjis.csv:1", "sjis.csv:5", 3, "") +
            "sjis.csv:3: フランス語の 7 組で文字のとなりに「?」があります（最初がここです）。表計算ソフトが "
            "Shift-JIS で保存したときにアクセント付きの文字が失われたようです。「CSV UTF-8」で保存し直して、"
            "もう一度読み込んでください\n");
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
