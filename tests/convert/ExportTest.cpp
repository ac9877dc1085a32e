#include "convert/Export.h"

#include "common/CodePage.h"
#include "convert/Import.h"

#include <gtest/gtest.h>

namespace mirvel::convert {
namespace {

TWordRec Pair(std::string_view francais, std::string_view japonais)
{
    TWordRec record{};
    record.SetFrancais(*EncodeFromUtf8(CodePage::Windows1252, francais));
    record.SetJaponais(*EncodeFromUtf8(CodePage::ShiftJis, japonais));
    return record;
}

ExportResult Export(const WordList& words, bool csv, TextEncoding encoding = TextEncoding::Utf8,
                    bool bom = false)
{
    ExportOptions options;
    options.csv = csv;
    options.encoding = encoding;
    options.bom = bom;
    return ExportWords(words, options);
}

std::string Raw(const TWordRec& record) { return std::string(reinterpret_cast<const char*>(&record), 60); }

TEST(Export, CsvQuotesWhatNeedsItAndReadsBackTheSame)
{
    const WordList words = {Pair("vin, rouge", "赤\"ワイン\""), Pair("a\r\nb", "改\n行"),
                            Pair("plain", "普通"), Pair("", "")};
    const ExportResult result = Export(words, true);
    ASSERT_EQ(result.refusals, 0u);
    EXPECT_EQ(result.bytes,
              "\"vin, rouge\",\"赤\"\"ワイン\"\"\"\r\n\"a\r\nb\",\"改\n行\"\r\nplain,普通\r\n,\r\n");

    ImportOptions csv;
    csv.csv = true;
    const ImportResult back = ImportText(result.bytes, csv);
    ASSERT_EQ(back.problems, 0u);
    ASSERT_EQ(back.words.size(), words.size());
    for (std::size_t i = 0; i < words.size(); ++i) EXPECT_EQ(Raw(back.words[i]), Raw(words[i])) << i;
}

TEST(Export, TsvRefusesTabsQuotesAndLineBreaksWithTheirRecordNumbers)
{
    const WordList words = {Pair("ok", "よい"), Pair("a\tb", "x"), Pair("ok", "\"引用\""), Pair("c\nd", "y"),
                            Pair("vin, rouge", "コンマは平気")};
    const ExportResult result = Export(words, false);
    ASSERT_EQ(result.refusals, 3u);
    EXPECT_EQ(result.bytes, "");
    const std::pair<std::int64_t, Side> expected[] = {
        {2, Side::Francais}, {3, Side::Japonais}, {4, Side::Francais}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(result.issues[i].kind, ExportIssue::TsvSeparator);
        EXPECT_EQ(result.issues[i].record, expected[i].first);
        EXPECT_EQ(result.issues[i].side, expected[i].second);
    }
    EXPECT_EQ(Export({words[4]}, false).bytes, "vin, rouge\tコンマは平気\r\n");
}

TEST(Export, RefusesBytesThatWouldComeBackAsReplacementCharacters)
{
    TWordRec broken = Pair("caf", "");
    broken.SetFrancais("caf\x81");       // no character at 0x81 in Windows-1252
    broken.SetJaponais("\x82\xA0\x82");  // a lead byte cut from its trail byte
    const ExportResult result = Export({Pair("ok", "よい"), broken}, true);
    ASSERT_EQ(result.refusals, 2u);
    EXPECT_EQ(result.issues[0].record, 2);
    EXPECT_EQ(result.issues[0].byteIndex, 3u);
    EXPECT_EQ(result.issues[0].bytes, "\x81");
    EXPECT_EQ(result.issues[1].side, Side::Japonais);
    EXPECT_EQ(result.issues[1].byteIndex, 2u);
    EXPECT_EQ(result.bytes, "");
}

TEST(Export, LegacyEncodingsRefuseWhatTheyCannotHoldAndBomIsUtf8Only)
{
    const WordList words = {Pair("chat", "猫"), Pair("café", "喫茶店")};
    const ExportResult cp932 = Export(words, false, TextEncoding::Cp932);
    ASSERT_EQ(cp932.refusals, 1u);
    EXPECT_EQ(cp932.issues[0].record, 2);
    EXPECT_EQ(cp932.issues[0].character, U'é');
    EXPECT_EQ(Export({words[0]}, false, TextEncoding::Cp932).bytes, "chat\t\x94\x4C\r\n");

    EXPECT_EQ(Export({Pair("café", "")}, false, TextEncoding::Cp1252).bytes, "caf\xE9\t\r\n");
    EXPECT_EQ(Export({words[0]}, false, TextEncoding::Cp1252).refusals, 1u);
    EXPECT_EQ(Export({words[0]}, false, TextEncoding::Utf8, true).bytes,
              "\xEF\xBB\xBF"
              "chat\t猫\r\n");
}

TEST(Export, ADamagedLengthByteIsWrittenAsTheProgramsShowItAndNoted)
{
    TWordRec damaged = Pair("abcdefghijklmnopq", "x");
    damaged.Francais[0] = 200;
    const ExportResult result = Export({damaged}, false);
    EXPECT_EQ(result.refusals, 0u);
    ASSERT_EQ(result.issues.size(), 1u);
    EXPECT_EQ(result.issues[0].kind, ExportIssue::LengthAboveCapacity);
    EXPECT_EQ(result.issues[0].length, 200u);
    EXPECT_EQ(result.bytes, "abcdefghijklmnopq\tx\r\n");
}

}  // namespace
}  // namespace mirvel::convert
