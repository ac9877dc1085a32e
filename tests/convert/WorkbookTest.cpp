// The workbook reader on workbooks LibreOffice and openpyxl wrote (tests/convert/workbooks, with
// the script that wrote them), their import, and hostile ones built here refused by the command.
#include "convert/Workbook.h"
#include "convert/WorkbookParts.h"
#include "tests/convert/RunConvert.h"

#include <gtest/gtest.h>
#include <minizip/zip.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace mirvel::convert;
using mirvel::test::TempDir;

const std::string Workbooks = MIRVEL_WORKBOOKS_DIR;

// One line a cell: "Sheet!B7=text", or "Sheet!B7:kind" for a problem.
std::string Lines(const std::string& sheet, const std::vector<WorkbookRow>& rows)
{
    static const char* const kinds[] = {"", "date", "boolean", "error", "no result", "formatted"};
    std::string out;
    for (const WorkbookRow& row : rows)
        for (const WorkbookCell& cell : row.cells) {
            out += CellReference(sheet, row.number, cell.column);
            if (cell.problem == CellProblem::None)
                out += "=" + cell.text;
            else
                out += std::string(":") + kinds[static_cast<int>(cell.problem)];
            out += "\n";
        }
    return out;
}

std::string Read(const std::string& path, SheetChoice sheet = {})
{
    std::vector<WorkbookRow> rows;
    const std::string name =
        ReadWorkbookFile(path, sheet, [&rows](const WorkbookRow& row) { rows.push_back(row); });
    return Lines(name, rows);
}

std::string ReadBytes(std::string_view bytes)
{
    std::vector<WorkbookRow> rows;
    const std::string name =
        ReadWorkbook(bytes, {}, [&rows](const WorkbookRow& row) { rows.push_back(row); });
    return Lines(name, rows);
}

// What the import of a workbook is refused with ("Sheet1!B7: " before the message where it names
// a cell), once it checked that it was refused as a problem, with nothing written.
std::string Refusal(std::string_view bytes)
{
    TempDir dir;
    const auto imported = mirvel::test::ImportFile(dir, "book.xlsx", std::string(bytes));
    if (imported.outcome.code == ExitSuccess) return "(read)";
    EXPECT_EQ(imported.outcome.code, ExitProblems) << imported.outcome.err;
    EXPECT_FALSE(std::ifstream(dir.File("book.xlsx.mirvel")).good());
    const std::string head = "mirvel-convert: book.xlsx: ";
    const std::string& err = imported.outcome.err;
    EXPECT_EQ(err.substr(0, head.size()), head);
    return err.substr(head.size(), err.size() - head.size() - 1);
}

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A zip of the given entries, through minizip's writer; `repeat` writes an entry's text that
// many times over (a bomb), `password` encrypts every entry.
struct Entry {
    Entry(std::string entryName, std::string entryText, std::size_t times = 1, int deflateLevel = 9,
          std::string before = {})
        : name(std::move(entryName)),
          text(std::move(entryText)),
          repeat(times),
          level(deflateLevel),
          head(std::move(before))
    {
    }
    std::string name, text;
    std::size_t repeat;
    int level;
    std::string head;  // written once before the repeats
};
std::string Zip(const std::vector<Entry>& entries, const char* password = nullptr)
{
    TempDir dir;
    const std::string path = dir.File("book.zip");
    zipFile zip = zipOpen64(path.c_str(), 0);
    for (const Entry& entry : entries) {
        zipOpenNewFileInZip3_64(zip, entry.name.c_str(), nullptr, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                entry.level, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, password, 0,
                                1);
        zipWriteInFileInZip(zip, entry.head.data(), static_cast<unsigned>(entry.head.size()));
        for (std::size_t i = 0; i < entry.repeat; ++i)
            zipWriteInFileInZip(zip, entry.text.data(), static_cast<unsigned>(entry.text.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
    return FileBytes(path);
}

const char* const SheetStart =
    "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";

// A minimal .xlsx as Excel lays one out, with its one sheet's XML and shared strings.
std::vector<Entry> Xlsx(const std::string& sheet, const std::string& strings = {})
{
    std::vector<Entry> entries = {
        {"[Content_Types].xml",
         "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
        {"xl/workbook.xml",
         "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
         "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>"
         "<sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" "
         "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
         "worksheet\" Target=\"worksheets/sheet1.xml\"/>" +
             std::string(strings.empty()
                             ? ""
                             : "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/"
                               "officeDocument/2006/relationships/sharedStrings\" "
                               "Target=\"/xl/sharedStrings.xml\"/>") +
             "</Relationships>"},
        {"xl/worksheets/sheet1.xml", sheet},
    };
    if (!strings.empty()) entries.push_back({"xl/sharedStrings.xml", strings});
    return entries;
}

const char* const Vocabulary =
    "単語!A1=フランス語\n単語!B1=日本語\n単語!C1=メモ\n"
    "単語!A2=bonjour\n単語!B2=こんにちは\n単語!C2=挨拶\n"
    "単語!A3=café\n単語!B3=コーヒー\n"
    "単語!A4=œuf\n単語!B4=卵\n"
    "単語!A6=\"oui\", non; si\n単語!B6=「はい」、いいえ\n"
    "単語!A7=à bientôt\n単語!B7=またね\n単語!C7=別れ\n(友達に)\n"
    "単語!C8=あとで調べる\n"
    "単語!A9=élève\n単語!B9=生徒\n"
    "単語!A10=Ça va\u202f?\n単語!B10=元気？〜\n単語!C10=〜 は波ダッシュ\n"
    "単語!A11=Noël\n単語!B11=クリスマス\n"
    "単語!A13=forêt\n単語!B13=森\n単語!C13=la forêt\n";

TEST(Workbook, ReadsTheVocabularyAsLibreOfficeAndOpenpyxlWroteIt)
{
    // Shared strings (LibreOffice), inline strings (openpyxl) and OpenDocument paragraphs.
    EXPECT_EQ(Read(Workbooks + "/vocabulaire-libreoffice.xlsx"), Vocabulary);
    EXPECT_EQ(Read(Workbooks + "/vocabulaire-libreoffice.ods"), Vocabulary);
    EXPECT_EQ(Read(Workbooks + "/vocabulaire-openpyxl.xlsx"), Vocabulary);
}

TEST(Workbook, ImportNamesCellsThatAreNoTextInTheWordColumnsOnly)
{
    // Columns B and C of the cells' sheet: TRUE, #DIV/0! and a date take their rows out; the
    // date in A2 and the 50% in D2 are in no word column.
    TempDir dir;
    const auto imported = mirvel::test::ImportFile(
        dir, "c.ods", FileBytes(Workbooks + "/cellules-libreoffice.ods"), {"--columns", "2,3", "--skip"});
    ASSERT_EQ(imported.outcome.code, ExitSuccess) << imported.outcome.err;
    EXPECT_EQ(imported.records, mirvel::test::Records({{"42", "3.5"}, {"a  b", " x"}, {"", "-7"}}));
    EXPECT_EQ(
        imported.outcome.err,
        "c.ods:Cellules!B2: TRUE か FALSE の論理値のセルです\n"
        "c.ods:Cellules!C2: エラー値 #DIV/0! のセルです\n"
        "c.ods:Cellules の 2 行目: この行を飛ばしました\n"
        "c.ods:Cellules!B4: 日付か時刻のセルです（単語として読むには、セルの書式を文字列にして入力し直して"
        "ください）\n"
        "c.ods:Cellules の 4 行目: この行を飛ばしました\n"
        "c.ods:Cellules の 5 行目: フランス語が空の組です\n"
        "c.ods:Cellules の 7 行目: フランス語も日本語も空の行を 1 "
        "行読み飛ばしました（最初の行がここです）\n");
    // A cell's line break puts the cells after it on later lines of the text, not in later rows.
    const auto lines = mirvel::test::ImportFile(
        dir, "lines.xlsx",
        Zip(Xlsx(
            std::string(SheetStart) +
            "<row><c t=\"inlineStr\"><is><t>a\nb\r\nc</t></is></c><c t=\"e\"><v>#N/A</v></c></row>"
            "<row><c t=\"inlineStr\"><is><t>Łx</t></is></c><c><v>1</v></c></row></sheetData></worksheet>")));
    EXPECT_EQ(
        lines.outcome.err,
        "lines.xlsx:Sheet1!B1: エラー値 #N/A のセルです\n"
        "lines.xlsx:Sheet1!A2: フランス語の「Ł」(U+0141)は Windows-1252 にない文字です\n"
        "問題が 2 件あったため、lines.xlsx.mirvel には何も書き込んでいません。問題のある行を飛ばして書き込む"
        "には --skip を付けてください\n");
    // A text has no sheets, and a workbook no encoding or separator to choose.
    EXPECT_EQ(mirvel::test::ImportFile(dir, "a.csv", "chat,猫\n", {"--sheet", "2"}).outcome.code, ExitUsage);
    EXPECT_EQ(mirvel::test::ImportFile(dir, "c.ods", "", {"--encoding", "cp932"}).outcome.code, ExitUsage);
}

TEST(Workbook, GivesPlainCellsTheirTextAndNamesTheOthers)
{
    // One sheet saved by LibreOffice in both formats reads the same: numbers as written, a
    // formula's result, rich text joined, spaces kept; a date, a time, TRUE, #DIV/0!, 50% and
    // ￥100 are problems. The hidden row 4 is read; the merged A5:B5 is its top-left cell.
    const char* const cells =
        "Cellules!A1=texte\nCellules!B1=42\nCellules!C1=3.5\nCellules!D1=0.3\nCellules!E1=texte!\n"
        "Cellules!A2:date\nCellules!B2:boolean\nCellules!C2:error\nCellules!D2:formatted\nCellules!E2:"
        "formatted\n"
        "Cellules!A3=bonjour\nCellules!B3=a  b\nCellules!C3= x\nCellules!D3=0.001\nCellules!E3=1E+20\n"
        "Cellules!A4=caché\nCellules!B4:date\nCellules!C4=2.5\n"
        "Cellules!A5=fusion\nCellules!C5=-7\n"
        "Cellules!A7=fin\n";
    EXPECT_EQ(Read(Workbooks + "/cellules-libreoffice.xlsx"), cells);
    EXPECT_EQ(Read(Workbooks + "/cellules-libreoffice.ods"), cells);
    // openpyxl: 2.0 written as "2", a formula saved without its result, "#N/A", "0%" and a
    // "#,##0.00" number that shows its digits.
    EXPECT_EQ(Read(Workbooks + "/vocabulaire-openpyxl.xlsx", {"Cellules", 0}),
              "Cellules!A1=texte\nCellules!B1=42\nCellules!C1=3.5\nCellules!D1=2\nCellules!E1:no result\n"
              "Cellules!A2:date\nCellules!B2:boolean\nCellules!C2:error\nCellules!D2:formatted\nCellules!E2="
              "1234.5\n"
              "Cellules!A3=caché\nCellules!A4=fusion\nCellules!C4=0.001\nCellules!A6=fin\n");

    std::vector<WorkbookRow> rows;
    ReadWorkbookFile(Workbooks + "/cellules-libreoffice.xlsx", {},
                     [&](const WorkbookRow& row) { rows.push_back(row); });
    EXPECT_EQ(CellProblemText(rows[1].cells[2]), "エラー値 #DIV/0! のセルです");
}

TEST(Workbook, ChoosesTheSheetByNameOrNumberAndListsThemWhenThereIsNone)
{
    for (const char* book : {"/cellules-libreoffice.xlsx", "/cellules-libreoffice.ods"}) {
        EXPECT_EQ(Read(Workbooks + book, {"", 2}), "Deuxième!A1=deux\n");
        EXPECT_EQ(Read(Workbooks + book, {"Deuxième", 0}), "Deuxième!A1=deux\n");
        try {
            Read(Workbooks + book, {"Mots", 0});
            ADD_FAILURE() << book;
        } catch (const WorkbookError& error) {
            EXPECT_STREQ(error.what(),
                         "シート「Mots」はありません（このブックのシート: Cellules、Deuxième）");
        }
        EXPECT_THROW(Read(Workbooks + book, {"", 3}), WorkbookError);
    }
}

TEST(Workbook, ReadsWhatOtherWritersPutInCells)
{
    // Excel's furigana (rPh) beside a word is not its text; rich-text runs join; Excel's escape
    // for a CR and a CR LF come out as one LF, the escaped halves of an emoji as the emoji and a
    // lone half as U+FFFD; an escaped "_x" stays; an empty <v/> of a plain cell is no cell.
    const std::string strings =
        "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<si><t>猫</t><rPh sb=\"0\" eb=\"1\"><t>ねこ</t></rPh><phoneticPr fontId=\"1\"/></si>"
        "<si><r><t>bon</t></r><r><rPr><b/></rPr><t xml:space=\"preserve\">jour _x000D_\nà</t></r></si>"
        "<si><t>_xD83D__xDE00_ _xD800_</t></si></sst>";
    EXPECT_EQ(ReadBytes(Zip(Xlsx(
                  std::string(SheetStart) +
                      "<row r=\"2\"><c r=\"B2\" t=\"s\"><v>0</v></c><c r=\"C2\" t=\"s\"><v>1</v></c>"
                      "<c r=\"D2\"><v/></c><c r=\"E2\" t=\"inlineStr\"><is><t>a_x005F_x0041_</t></is></c>"
                      "<c r=\"F2\" t=\"s\"><v>2</v></c>"
                      "</row></sheetData></worksheet>",
                  strings))),
              "Sheet1!B2=猫\nSheet1!C2=bonjour \nà\nSheet1!E2=a_x0041_\nSheet1!F2=\U0001F600 \uFFFD\n");

    // OpenDocument: white space in the XML is one space, none at a paragraph's start; a comment
    // is not the cell's text; paragraphs are lines.
    std::vector<WorkbookRow> rows;
    const std::string content =
        "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
        "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:spreadsheet>"
        "<table:table table:name=\"My words\"><table:table-row><table:table-cell "
        "office:value-type=\"string\">"
        "<office:annotation><text:p>note</text:p></office:annotation>"
        "<text:p>\n  un \n\t deux</text:p><text:p>trois<text:tab/>quatre</text:p></table:table-cell>"
        "</table:table-row></table:table></office:spreadsheet></office:body></office:document-content>";
    const std::string name = workbook::ReadOdsContent(workbook::WholeText(content), {},
                                                      [&](const WorkbookRow& row) { rows.push_back(row); });
    EXPECT_EQ(Lines(name, rows), "'My words'!A1=un deux\ntrois\tquatre\n");
}

TEST(Workbook, NumbersShowAsASpreadsheetShowsThem)
{
    using workbook::PlainNumber;
    EXPECT_EQ(PlainNumber("2.0"), "2");
    EXPECT_EQ(PlainNumber("0.30000000000000004"), "0.3");
    EXPECT_EQ(PlainNumber("1E-3"), "0.001");
    EXPECT_EQ(PlainNumber("-0"), "0");
    EXPECT_EQ(PlainNumber("123456789012345678"), "1.23456789012346E+17");
    EXPECT_EQ(PlainNumber("12,5"), std::nullopt);
    EXPECT_EQ(ColumnName(16384), "XFD");
    EXPECT_TRUE(IsWorkbookName("Mots.XLSX") && IsWorkbookName("mots.ods"));
    EXPECT_FALSE(IsWorkbookName("mots.xlsx.csv") || IsWorkbookName("dossier.ods/mots"));
    EXPECT_EQ(CellReference("単語", 7, 27), "単語!AA7");
    EXPECT_EQ(CellReference("l'été", 1, 1), "'l''été'!A1");
}

TEST(Workbook, RefusesFilesThatAreNoWorkbook)
{
    EXPECT_EQ(Refusal(FileBytes(std::string(MIRVEL_WORKBOOKS_DIR) + "/../sheets/utf8.csv")),
              "表計算のブック (.xlsx、.ods) ではなく、テキスト（CSV など）のようです。"
              "CSV なら拡張子を .csv に、タブ区切りなら .tsv にしてください");
    // Excel saves a workbook with a password as an OLE compound file, as it saved .xls.
    EXPECT_EQ(Refusal(std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0", 10)),
              "パスワードで保護されたブックか、古い Excel 97-2003 形式 (.xls) のブックのため読めません。"
              "パスワードを付けずに .xlsx 形式で保存し直してください");
    const std::string book = FileBytes(Workbooks + "/vocabulaire-libreoffice.xlsx");
    EXPECT_EQ(Refusal(book.substr(0, book.size() / 2)),
              "ブックが壊れているか途中で切れていて、ZIP として読めません");
    EXPECT_EQ(Refusal(Zip(Xlsx("<worksheet/>"), "secret")),
              "ブックの中身 (xl/workbook.xml) "
              "が暗号化されていて読めません。パスワードを外して保存し直してください");
    EXPECT_EQ(Refusal(Zip({{"word/document.xml", "<w/>"}})),
              "ZIP ファイルですが、表計算のブック (.xlsx、.ods) ではありません");
}

TEST(Workbook, StopsInflatingAPartAtItsLimit)
{
    // Spaces are valid XML between elements, so only the limits stop these.
    const std::string spaces(1 << 20, ' ');
    const auto start = std::chrono::steady_clock::now();
    const std::string end = "</sheetData></worksheet>";
    const std::string pair =
        "<row><c t=\"inlineStr\"><is><t>chat</t></is></c><c t=\"inlineStr\"><is><t>猫</t></is></c></row>";
    EXPECT_EQ(Refusal(Zip(Xlsx(SheetStart + spaces.substr(0, 512 << 10) + pair + end))), "(read)")
        << "half a megabyte of a thousand times its size inflates freely";
    auto bomb = Xlsx({});
    bomb[3] = {"xl/worksheets/sheet1.xml", spaces, 40};  // 40 MB from about 40 KB
    EXPECT_EQ(Refusal(Zip(bomb)),
              "ブックの中身 (xl/worksheets/sheet1.xml) が圧縮された大きさの 1,000 倍を超えて膨らむため、"
              "読むのをやめました（ZIP 爆弾のおそれがあります）");
    // Past the absolute limit at a ratio an honest sheet might have: elements of a thousand
    // varied bytes, repeated.
    std::string block = "<x a=\"";
    for (std::uint32_t x = 1; block.size() < 996; x = x * 1103515245 + 12345)
        block += char('0' + (x >> 16) % 10);
    block += "\"/>";
    std::string megabyte;
    while (megabyte.size() < (1 << 20)) megabyte += block;
    bomb[3] = {"xl/worksheets/sheet1.xml", megabyte, 260, 1, SheetStart};
    EXPECT_EQ(Refusal(Zip(bomb)),
              "ブックの中身 (xl/worksheets/sheet1.xml) が展開すると 256 MB を超えるため、読むのをやめました");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
}

TEST(Workbook, RefusesHostileXmlAndCellsOutsideTheSheet)
{
    const std::string laughs =
        "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\"><!ENTITY lol2 "
        "\"&lol;&lol;&lol;&lol;\">]>"
        "<worksheet><sheetData><row><c "
        "t=\"inlineStr\"><is><t>&lol2;</t></is></c></row></sheetData></worksheet>";
    const std::string external =
        "<!DOCTYPE w [<!ENTITY e SYSTEM \"file:///etc/passwd\">]><worksheet><sheetData><row><c "
        "t=\"inlineStr\">"
        "<is><t>&e;</t></is></c></row></sheetData></worksheet>";
    const std::string refused =
        "ブックの中身 (xl/worksheets/sheet1.xml) に文書型宣言 (<!DOCTYPE>) "
        "があります。表計算ソフトが書かないもので、"
        "外部の参照や膨れ上がる実体を含みうるため、読みません";
    EXPECT_EQ(Refusal(Zip(Xlsx(laughs))), refused);
    EXPECT_EQ(Refusal(Zip(Xlsx(external))), refused);
    EXPECT_EQ(Refusal(Zip(Xlsx(std::string(SheetStart) + "<row><c>"))),
              "ブックの中身 (xl/worksheets/sheet1.xml) の XML が 1 行 97 文字目で壊れています");

    EXPECT_EQ(
        Refusal(Zip(Xlsx(std::string(SheetStart) +
                             "<row r=\"7\"><c r=\"B7\" t=\"s\"><v>1</v></c></row></sheetData></worksheet>",
                         "<sst><si><t>seul</t></si></sst>"))),
        "Sheet1!B7: 共有文字列の番号「1」が、1 個の共有文字列の中にありません");
    EXPECT_EQ(Refusal(Zip(
                  Xlsx(std::string(SheetStart) +
                       "<row r=\"10000000\"><c r=\"A10000000\"><v>1</v></c></row></sheetData></worksheet>"))),
              "Sheet1!A10000000: セルの位置が表計算の上限（1048576 行、16384 列）を超えています");

    EXPECT_EQ(Refusal(Zip(Xlsx(std::string(SheetStart) +
                               "<row r=\"2\"><c r=\"B2\"><v>1</v></c><c r=\"A2\"><v>2</v></c></row>"
                               "</sheetData></worksheet>"))),
              "シートのセル A2 が、並びの順序どおりに書かれていません（ブックが壊れています）");
    // One shared string of 100 KB in 3,000 cells: 300 MB of text from 100 KB of sheet.
    std::string cells;
    for (int row = 1; row <= 300; ++row) {
        cells += "<row>";
        for (int column = 0; column < 10; ++column) cells += "<c t=\"s\"><v>0</v></c>";
        cells += "</row>";
    }
    EXPECT_EQ(Refusal(Zip(Xlsx(SheetStart + cells + "</sheetData></worksheet>",
                               "<sst><si><t>" + std::string(100'000, 'a') + "</t></si></sst>"))),
              "Sheet1!E269: シートのセルの文字が合わせて 256 MB を超えるため、読むのをやめました");
}

TEST(Workbook, RepeatsCostNothingWhenEmptyAndStopAtTheSheetsEnd)
{
    const auto content = [](const std::string& rows) {
        return "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
               "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
               "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:"
               "spreadsheet>"
               "<table:table table:name=\"T\">" +
               rows + "</table:table></office:spreadsheet></office:body></office:document-content>";
    };
    const std::string mot =
        "<table:table-cell office:value-type=\"string\"><text:p>mot</text:p></table:table-cell>";
    std::size_t count = 0;
    std::uint32_t last = 0;
    const RowHandler onRow = [&](const WorkbookRow& row) {
        ++count;
        last = row.number;
    };
    // A million empty rows of a thousand empty cells, a word after three empty columns, then
    // empty rows down to row ten million.
    const std::string empty = "<table:table-cell table:number-columns-repeated=\"1024\"/>";
    workbook::ReadOdsContent(
        workbook::WholeText(
            content("<table:table-row table:number-rows-repeated=\"1000000\">" + empty +
                    "</table:table-row><table:table-row><table:table-cell "
                    "table:number-columns-repeated=\"3\"/>" +
                    mot + "</table:table-row><table:table-row table:number-rows-repeated=\"9000000\">" +
                    empty + "</table:table-row>")),
        {}, onRow);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(last, 1000001u);
    // Ten million empty rows and nothing else: no words, so nothing written over the target.
    EXPECT_EQ(
        Refusal(Zip({{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                     {"content.xml", content("<table:table-row table:number-rows-repeated=\"10000000\">" +
                                             empty + "</table:table-row>")}})),
        "シート「T」には文字の入ったセルがないため、何も書き込んでいません（ほかのシートは --sheet "
        "で選べます）");

    // A word repeated over ten million rows is handed out up to the sheet's last row.
    try {
        workbook::ReadOdsContent(
            workbook::WholeText(content("<table:table-row table:number-rows-repeated=\"10000000\">" + mot +
                                        "</table:table-row>")),
            {}, onRow);
        ADD_FAILURE();
    } catch (const WorkbookError& error) {
        EXPECT_EQ(error.reference, "T!A1048577");
    }
    EXPECT_EQ(count, 1u + 1048576u);
    EXPECT_EQ(last, 1048576u);
}

}  // namespace
