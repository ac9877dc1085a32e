#include "convert/InputDecoder.h"

#include "convert/Utf8.h"

#include <gtest/gtest.h>

namespace mirvel::convert {
namespace {

std::string Escaped(std::initializer_list<unsigned char> bytes)
{
    std::string text;
    for (const unsigned char byte : bytes) AppendEscape(text, byte);
    return text;
}

TEST(InputDecoder, ABomDecidesTheEncoding)
{
    const DecodedInput utf8 = DecodeInput(
        "\xEF\xBB\xBF"
        "caf\xC3\xA9",
        TextEncoding::Cp932);
    EXPECT_TRUE(utf8.bom);
    EXPECT_EQ(utf8.encoding, TextEncoding::Utf8);
    EXPECT_EQ(utf8.text, "café");

    // "aあ" and U+1F600 as a surrogate pair, in both byte orders.
    const DecodedInput little = DecodeInput(std::string("\xFF\xFE"
                                                        "a\0\x42\x30\x3D\xD8\x00\xDE",
                                                        10),
                                            {});
    EXPECT_EQ(little.encoding, TextEncoding::Utf16Le);
    EXPECT_EQ(little.text, "aあ\U0001F600");
    const DecodedInput big = DecodeInput(std::string("\xFE\xFF\0a\x30\x42", 6), {});
    EXPECT_EQ(big.encoding, TextEncoding::Utf16Be);
    EXPECT_EQ(big.text, "aあ");
}

TEST(InputDecoder, ValidUtf8WinsOverAStatedEncoding)
{
    const DecodedInput input = DecodeInput("\xE3\x81\x82", TextEncoding::Cp932);  // "あ" in UTF-8
    EXPECT_EQ(input.encoding, TextEncoding::Utf8);
    EXPECT_EQ(input.text, "あ");
}

TEST(InputDecoder, TextThatIsNotUtf8NeedsAStatedEncoding)
{
    const std::string cp932 = "ok\t\x82\xA0\n";  // "あ" in Shift-JIS
    const DecodedInput unstated = DecodeInput(cp932, {});
    ASSERT_TRUE(unstated.notUtf8At);
    EXPECT_EQ(unstated.notUtf8At->line, 1);
    EXPECT_EQ(unstated.notUtf8At->column, 4);
    EXPECT_EQ(unstated.notUtf8Byte, 0x82);

    const DecodedInput stated = DecodeInput(cp932, TextEncoding::Cp932);
    EXPECT_FALSE(stated.notUtf8At);
    EXPECT_EQ(stated.text, "ok\tあ\n");
    EXPECT_EQ(DecodeInput("caf\xE9", TextEncoding::Cp1252).text, "café");
}

TEST(InputDecoder, UndecodableBytesTravelAsEscapesAndNothingElseIsLost)
{
    // cp932: a lone lead byte before a line feed, and an unassigned pair; the next line is fine.
    EXPECT_EQ(DecodeCp932Escaping("\x82\n\x85\x40\x82\xA2\nx\x82\xA0"),
              Escaped({0x82}) + "\n" + Escaped({0x85, 0x40}) + "い\nxあ");
    EXPECT_EQ(DecodeCp1252Escaping("a\x81\x80"), "a" + Escaped({0x81}) + "€");
    EXPECT_EQ(DecodeUtf8Escaping("a\xC3(\xE3\x81\x82"), "a" + Escaped({0xC3}) + "(あ");
    // An unpaired surrogate and an odd last byte.
    EXPECT_EQ(DecodeUtf16Escaping(std::string("\x00\xD8"
                                              "a\0z",
                                              5),
                                  false),
              Escaped({0x00, 0xD8}) + "a" + Escaped({'z'}));
}

}  // namespace
}  // namespace mirvel::convert
