#include "convert/Export.h"

#include "common/CodePage.h"
#include "convert/Import.h"
#include "tests/convert/RunConvert.h"
#include "tests/support/TempDir.h"
#include "common/WordFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mirvel::convert {
namespace {

using test::Pair;

// The whole list in one block, what was written taken back on a refusal as the command does.
ExportResult ExportAll(const WordList& words, const ExportOptions& options)
{
    ExportWriter writer(options);
    writer.Add(words.data(), words.size(), 1);
    if (writer.result.Refusals() > 0) writer.result.bytes.clear();
    return std::move(writer.result);
}

ExportResult Export(const WordList& words, bool csv, TextEncoding encoding = TextEncoding::Utf8,
                    bool bom = false)
{
    ExportOptions options;
    options.csv = csv;
    options.encoding = encoding;
    options.bom = bom;
    return ExportAll(words, options);
}

std::string Raw(const TWordRec& record) { return std::string(reinterpret_cast<const char*>(&record), 60); }

using Rows = std::vector<std::vector<std::string>>;

// A text file read as Anki reads it: the '#' lines at the top are its headers, then records as
// its CSV reader takes them with the separator they name, any field quoted, a record that
// begins with '#' a comment and an empty line nothing.
Rows ReadAsAnki(const std::string& file, std::vector<std::string>& headers)
{
    std::size_t at = 0;
    while (at < file.size() && file[at] == '#') {
        const std::size_t end = file.find('\n', at);
        headers.push_back(file.substr(at, end - at));
        at = end + 1;
    }
    Rows rows;
    while (at < file.size()) {
        if (file[at] == '\n') {
            ++at;
            continue;
        }
        if (file[at] == '#') {
            at = file.find('\n', at) + 1;
            continue;
        }
        std::vector<std::string>& row = rows.emplace_back();
        for (bool more = true; more;) {
            std::string& field = row.emplace_back();
            if (file[at] == '"') {
                for (++at; !(file[at] == '"' && file[at + 1] != '"'); ++at) {
                    if (file[at] == '"') ++at;
                    field += file[at];
                }
                ++at;
            } else {
                while (at < file.size() && file[at] != '\t' && file[at] != '\n') field += file[at++];
            }
            more = at < file.size() && file[at] == '\t';
            ++at;
        }
    }
    return rows;
}

TEST(Export, CsvQuotesWhatNeedsItAndReadsBackTheSame)
{
    const WordList words = {Pair("vin, rouge", "赤\"ワイン\""), Pair("a\r\nb", "改\n行"),
                            Pair("plain", "普通"), Pair("", "")};
    const ExportResult result = Export(words, true);
    ASSERT_EQ(result.Refusals(), 0u);
    EXPECT_EQ(result.bytes,
              "\"vin, rouge\",\"赤\"\"ワイン\"\"\"\r\n\"a\r\nb\",\"改\n行\"\r\nplain,普通\r\n,\r\n");

    ImportOptions csv;
    csv.csv = true;
    WordList back;
    const ImportPlan plan = PlanImport(result.bytes, std::nullopt, std::nullopt, csv);
    const ImportResult read =
        ImportRows(result.bytes, plan, csv, [&](const TWordRec& r) { back.push_back(r); });
    ASSERT_EQ(read.problems, 0u);
    // A pair with both words empty is no pair to the import.
    ASSERT_EQ(back.size(), words.size() - 1);
    for (std::size_t i = 0; i < back.size(); ++i) EXPECT_EQ(Raw(back[i]), Raw(words[i])) << i;
}

TEST(Export, TsvRefusesTabsQuotesAndLineBreaksWithTheirRecordNumbers)
{
    const WordList words = {Pair("ok", "よい"), Pair("a\tb", "x"), Pair("ok", "\"引用\""), Pair("c\nd", "y"),
                            Pair("vin, rouge", "コンマは平気")};
    const ExportResult result = Export(words, false);
    ASSERT_EQ(result.Refusals(), 3u);
    EXPECT_EQ(result.bytes, "");
    const std::pair<std::int64_t, Side> expected[] = {
        {2, Side::Francais}, {3, Side::Japonais}, {4, Side::Francais}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(result.issues[i].kind, RecordFinding::TsvSeparator);
        EXPECT_EQ(result.issues[i].record, expected[i].first);
        EXPECT_EQ(result.issues[i].side, expected[i].second);
    }
    EXPECT_EQ(Export({words[4]}, false).bytes, "vin, rouge\tコンマは平気\r\n");
}

TEST(Export, RefusesBytesThatWouldComeBackAsReplacementCharacters)
{
    TWordRec broken = Pair("caf", "");
    broken.SetFrancais("caf\x81");       // U+0081, as Windows maps it: it comes back as 0x81
    broken.SetJaponais("\x82\xA0\x82");  // a lead byte cut from its trail byte
    const ExportResult result = Export({Pair("ok", "よい"), broken}, true);
    ASSERT_EQ(result.Refusals(), 1u);
    EXPECT_EQ(result.issues[0].record, 2);
    EXPECT_EQ(result.issues[0].side, Side::Japonais);
    EXPECT_EQ(result.issues[0].byteIndex, 2u);
    EXPECT_EQ(result.bytes, "");
    broken.SetJaponais("");
    EXPECT_EQ(Export({broken}, true).bytes, "caf\u0081,\r\n");
}

TEST(Export, LegacyEncodingsRefuseWhatTheyCannotHoldAndBomIsUtf8Only)
{
    const WordList words = {Pair("chat", "猫"), Pair("café", "喫茶店")};
    const ExportResult cp932 = Export(words, false, TextEncoding::Cp932);
    ASSERT_EQ(cp932.Refusals(), 1u);
    EXPECT_EQ(cp932.issues[0].record, 2);
    EXPECT_EQ(cp932.issues[0].character, U'é');
    EXPECT_EQ(Export({words[0]}, false, TextEncoding::Cp932).bytes, "chat\t\x94\x4C\r\n");

    EXPECT_EQ(Export({Pair("café", "")}, false, TextEncoding::Cp1252).bytes, "caf\xE9\t\r\n");
    EXPECT_EQ(Export({words[0]}, false, TextEncoding::Cp1252).Refusals(), 1u);
    EXPECT_EQ(Export({words[0]}, false, TextEncoding::Utf8, true).bytes,
              "\xEF\xBB\xBF"
              "chat\t猫\r\n");
}

TEST(Export, AnkiFileHasItsHeadersQuotesOnlyWhatNeedsItAndReadsBackAsTheSamePairs)
{
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"chat", "猫"},  {"a\tb", "赤\"ワイン\""}, {"deux\r\nlignes", "x"},
        {"#1", "#一番"}, {"vin, rouge", "a;b"},    {"<b>&amp;", "\"\""},
        {"", ""},
    };
    WordList words;
    for (const auto& [francais, japonais] : pairs) words.push_back(Pair(francais, japonais));
    ExportOptions options;
    options.anki = true;
    const ExportResult result = ExportAll(words, options);
    ASSERT_EQ(result.Refusals(), 0u);
    EXPECT_EQ(result.bytes,
              "#separator:tab\n#html:false\n"
              "chat\t猫\n"
              "\"a\tb\"\t\"赤\"\"ワイン\"\"\"\n"
              "\"deux\r\nlignes\"\tx\n"
              "\"#1\"\t#一番\n"
              "vin, rouge\ta;b\n"
              "<b>&amp;\t\"\"\"\"\"\"\n"
              "\t\n");

    std::vector<std::string> headers;
    const Rows rows = ReadAsAnki(result.bytes, headers);
    EXPECT_EQ(headers, (std::vector<std::string>{"#separator:tab", "#html:false"}));
    ASSERT_EQ(rows.size(), pairs.size());
    for (std::size_t i = 0; i < pairs.size(); ++i)
        EXPECT_EQ(rows[i], (std::vector<std::string>{pairs[i].first, pairs[i].second})) << i;

    // Bytes that don't decode are refused as in any export.
    TWordRec broken = Pair("caf", "");
    broken.SetJaponais("\x82");
    EXPECT_EQ(ExportAll({broken}, options).Refusals(), 1u);
}

TEST(Export, ADamagedLengthByteIsWrittenAsTheProgramsShowItAndNoted)
{
    TWordRec damaged = Pair("abcdefghijklmnopq", "x");
    damaged.Francais[0] = 200;
    const ExportResult result = Export({damaged}, false);
    EXPECT_EQ(result.Refusals(), 0u);
    ASSERT_EQ(result.issues.size(), 1u);
    EXPECT_EQ(result.issues[0].kind, RecordFinding::LengthAboveCapacity);
    EXPECT_EQ(result.issues[0].length, 200u);
    EXPECT_EQ(result.bytes, "abcdefghijklmnopq\tx\r\n");
}

TEST(Export, AnkiExportNamesThePairsWithoutAFrenchWordAsAnkiRefusesThem)
{
    test::TempDir dir;
    const std::string list = dir.File("w.mirvel");
    WriteWordFile(list, {Pair("chat", "猫"), Pair("", "犬"), Pair("oui", "はい"), Pair("", "")});
    const test::Outcome anki = test::Convert({"export", list, "-o", dir.File("w.txt"), "--anki"});
    EXPECT_EQ(anki.code, ExitSuccess);
    EXPECT_NE(anki.err.find("レコード 2: フランス語が空です（ほかに 1 件）。Anki は"), std::string::npos)
        << anki.err;
    EXPECT_EQ(test::ReadAll(dir.File("w.txt")),
              "#separator:tab\n#html:false\nchat\t猫\n\t犬\noui\tはい\n\t\n");
    // A table for a spreadsheet takes them as they are.
    EXPECT_EQ(test::Convert({"export", list, "-o", dir.File("w.tsv")}).err, "");
}

}  // namespace
}  // namespace mirvel::convert
