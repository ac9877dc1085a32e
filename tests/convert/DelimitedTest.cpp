#include "convert/Delimited.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mirvel::convert {
namespace {

struct ReadRow {
    std::vector<std::string> fields;
    long line;
    long lastLine;
    SyntaxFault fault;
};

std::vector<ReadRow> ReadAll(std::string_view text, char separator)
{
    DelimitedReader reader(text, separator, separator == ',');
    DelimitedRow row;
    std::vector<ReadRow> rows;
    while (reader.Next(row)) {
        ReadRow& read = rows.emplace_back(ReadRow{{}, row.start.line, row.lastLine, row.fault});
        for (std::size_t i = 0; i < row.count; ++i) read.fields.emplace_back(row.fields[i].value);
    }
    return rows;
}

using Fields = std::vector<std::string>;

TEST(Delimited, QuotedCsvFieldsKeepSeparatorsQuotesAndLineBreaks)
{
    const auto rows = ReadAll("\"a,b\",\"say \"\"oui\"\"\"\r\n\"deux\nlignes\",x\n,\n", ',');
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].fields, (Fields{"a,b", "say \"oui\""}));
    EXPECT_EQ(rows[1].fields, (Fields{"deux\nlignes", "x"}));
    EXPECT_EQ(rows[1].line, 2);
    EXPECT_EQ(rows[1].lastLine, 3);
    EXPECT_EQ(rows[2].fields, (Fields{"", ""}));
    EXPECT_EQ(rows[2].line, 4);
}

TEST(Delimited, BlankLinesAreSkippedButCountedWhateverTheLineEnd)
{
    const auto rows = ReadAll("\n\r\na\tb\r\r\n\nc\td", '\t');
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].fields, (Fields{"a", "b"}));
    EXPECT_EQ(rows[0].line, 3);
    EXPECT_EQ(rows[1].fields, (Fields{"c", "d"}));
    EXPECT_EQ(rows[1].line, 6);  // a lone CR ends line 3, CR LF line 4, LF line 5
}

TEST(Delimited, QuotesAreOrdinaryInsideUnquotedCsvFieldsAndEverywhereInTsv)
{
    const auto csv = ReadAll("l'\"ami\",x\n", ',');
    ASSERT_EQ(csv.size(), 1u);
    EXPECT_EQ(csv[0].fields, (Fields{"l'\"ami\"", "x"}));
    const auto tsv = ReadAll("\"Le Monde\"\t\"x, y\n\"ouvert\tz\n", '\t');
    ASSERT_EQ(tsv.size(), 2u);
    EXPECT_EQ(tsv[0].fields, (Fields{"\"Le Monde\"", "\"x, y"}));
    EXPECT_EQ(tsv[1].fields, (Fields{"\"ouvert", "z"}));
    EXPECT_EQ(tsv[1].fault, SyntaxFault::None);
}

TEST(Delimited, AnUnclosedQuoteCostsOnlyItsOwnLine)
{
    const auto rows = ReadAll("\"ouvert,a\nb,c\n", ',');
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].fault, SyntaxFault::UnclosedQuote);
    EXPECT_EQ(rows[0].fields, (Fields{"\"ouvert", "a"}));
    EXPECT_EQ(rows[1].fields, (Fields{"b", "c"}));
    EXPECT_EQ(rows[1].line, 2);
    EXPECT_EQ(rows[1].fault, SyntaxFault::None);
}

TEST(Delimited, TextAfterAClosingQuoteIsAFault)
{
    const auto rows = ReadAll("\"a\"b,c\n", ',');
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].fault, SyntaxFault::TextAfterQuote);
    EXPECT_EQ(rows[0].fields, (Fields{"ab", "c"}));
}

TEST(Delimited, LocatesCharactersOfQuotedMultiLineFields)
{
    // Row from line 2; the Japanese field opens on line 2 and its "い" lies on line 3.
    const std::string text = "x,y\n\"q\"\"é\",\"あ\r\nい\"\n";
    DelimitedReader reader(text, ',', true);
    DelimitedRow row;
    ASSERT_TRUE(reader.Next(row));
    ASSERT_TRUE(reader.Next(row));
    const DelimitedField& francais = row.fields[0];
    EXPECT_EQ(francais.value, "q\"é");
    const TextPosition e = reader.Locate(row, francais, 2);  // after q and the doubled quote
    EXPECT_EQ(e.line, 2);
    EXPECT_EQ(e.column, 5);
    const DelimitedField& japonais = row.fields[1];
    const TextPosition i = reader.Locate(row, japonais, std::string("あ\r\n").size());
    EXPECT_EQ(i.line, 3);
    EXPECT_EQ(i.column, 1);
}

TEST(Delimited, ALineThatStartsWithAHashComesBackWholeAsAComment)
{
    // A '#' inside a field, or opening a line inside a quoted field, is text.
    const std::string text = "#separator:Comma\r\na#b,\"x\n#y\"\n# fin";
    DelimitedReader reader(text, ',', true);
    DelimitedRow row;
    ASSERT_TRUE(reader.Next(row));
    EXPECT_TRUE(row.comment);
    EXPECT_EQ(row.count, 0u);
    EXPECT_EQ(text.substr(row.start.offset, row.end - row.start.offset), "#separator:Comma");
    ASSERT_TRUE(reader.Next(row));
    EXPECT_FALSE(row.comment);
    EXPECT_EQ(row.fields[0].value, "a#b");
    EXPECT_EQ(row.fields[1].value, "x\n#y");
    ASSERT_TRUE(reader.Next(row));
    EXPECT_TRUE(row.comment);
    EXPECT_EQ(row.start.line, 4);
    EXPECT_FALSE(reader.Next(row));

    // Read again from a row's start with another separator, as after a file's headers.
    DelimitedReader again("a;b,c\n", ',', true);
    ASSERT_TRUE(again.Next(row));
    EXPECT_EQ(row.count, 2u);
    again.SetFormat(';', true);
    again.Restart(row.start.offset, row.start.line);
    ASSERT_TRUE(again.Next(row));
    EXPECT_EQ(row.fields[1].value, "b,c");
}

}  // namespace
}  // namespace mirvel::convert
