#include "common/CodePage.h"
#include "common/Utf8Text.h"

#include <gtest/gtest.h>

namespace mirvel {

// Found by the comparison of vectors, which looks only in this namespace.
bool operator==(const UndecodableRun& a, const UndecodableRun& b)
{
    return a.index == b.index && a.length == b.length && a.textOffset == b.textOffset;
}

namespace {

const std::string Replacement = "\xEF\xBF\xBD";

std::string Decode1252(std::string_view bytes) { return DecodeToUtf8(CodePage::Windows1252, bytes); }
std::string DecodeSjis(std::string_view bytes) { return DecodeToUtf8(CodePage::ShiftJis, bytes); }
std::optional<std::string> Encode1252(std::string_view text)
{
    return EncodeFromUtf8(CodePage::Windows1252, text);
}
std::optional<std::string> EncodeSjis(std::string_view text)
{
    return EncodeFromUtf8(CodePage::ShiftJis, text);
}

TEST(Windows1252, DecodesTheFrenchLetters)
{
    EXPECT_EQ(Decode1252("caf\xE9"), "café");
    EXPECT_EQ(Decode1252(std::string("\x9Cuvre \xC7") + "a \xE0 l'\xEE" + "le"), "œuvre Ça à l'île");
    EXPECT_EQ(Decode1252("\x80\x8C\x9F\xA0\xFF"), "€ŒŸ\u00A0ÿ");
}

// The code page leaves five bytes without a character; Windows maps them to the C1 controls of
// their value both ways, so a word holding one survives being shown and stored again.
TEST(Windows1252, EveryByteDecodesAndEncodesBackAsWindowsMapsIt)
{
    for (const char* byte : {"\x81", "\x8D", "\x8F", "\x90", "\x9D"}) {
        const char32_t control = static_cast<unsigned char>(byte[0]);
        SCOPED_TRACE(static_cast<int>(control));
        std::string text = "a";
        AppendUtf8(text, control);
        EXPECT_EQ(Decode1252(std::string("a") + byte), text);
        EXPECT_EQ(Encode1252(text), std::string("a") + byte);
    }
    for (int byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE(byte);
        const std::string one(1, static_cast<char>(byte));
        const std::string text = Decode1252(one);
        EXPECT_NE(text, Replacement);
        EXPECT_EQ(Encode1252(text), one);
    }
}

TEST(Windows1252, RefusesWhatItCannotHold)
{
    EXPECT_EQ(Encode1252("élève"), "\xE9l\xE8ve");
    EXPECT_EQ(Encode1252("œ"), "\x9C");
    EXPECT_EQ(Encode1252(""), "");
    EXPECT_FALSE(Encode1252("日本"));
    EXPECT_FALSE(Encode1252("\u0080"));  // a C1 control whose byte is the euro sign
    EXPECT_FALSE(Encode1252("a\u0142"));
    EXPECT_FALSE(Encode1252(Replacement));
}

TEST(Utf8Input, MalformedTextIsRefusedByBothCodePages)
{
    for (const char* bad :
         {"\xE9", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE3\x81", "a\x80"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(Encode1252(bad));
        EXPECT_FALSE(EncodeSjis(bad));
    }
}

TEST(ShiftJis, DecodesJapanese)
{
    EXPECT_EQ(DecodeSjis("\x82\xa0\x82\xa2\x89\xc6"), "あい家");
    EXPECT_EQ(DecodeSjis("\xb1\xb2"), "ｱｲ");  // half-width katakana are single bytes
    EXPECT_EQ(DecodeSjis("C:\\a~"), "C:\\a~");
    EXPECT_EQ(DecodeSjis("\x81\x60\x81\x7c"), "～－");
    EXPECT_EQ(DecodeSjis(""), "");
}

TEST(ShiftJis, BrokenSequencesShowReplacementsAndKeepTheRest)
{
    // A value cut inside its last double-byte character.
    EXPECT_EQ(DecodeSjis("\x82\xa0\x82"), "あ" + Replacement);
    // A lead byte before a byte that can't follow it: the second byte still shows.
    EXPECT_EQ(DecodeSjis(std::string("\x82") + "0"), Replacement + "0");
    EXPECT_EQ(DecodeSjis("\x82\x20\x82\xa0"), Replacement + " あ");
    // A well-formed pair without a character is one replacement.
    EXPECT_EQ(DecodeSjis("\x85\x40x"), Replacement + "x");
}

TEST(CodePage, SaysWhereTheUndecodableBytesAre)
{
    std::vector<UndecodableRun> runs;
    // The pair without a character, a lead byte before one that can't follow it, a lead byte cut
    // off at the end; the text offsets count the characters decoded before them.
    EXPECT_EQ(DecodeToUtf8(CodePage::ShiftJis, std::string("\x82\xa0\x85\x40\x82") + "0\x82", runs),
              "あ" + Replacement + Replacement + "0" + Replacement);
    EXPECT_EQ(runs, (std::vector<UndecodableRun>{{2, 2, 3}, {4, 1, 6}, {6, 1, 10}}));

    runs.clear();
    EXPECT_EQ(DecodeToUtf8(CodePage::Windows1252, "\x81\xE9\x9D", runs), "\u0081é\u009D");
    EXPECT_TRUE(runs.empty());

    runs.clear();
    EXPECT_EQ(DecodeToUtf8(CodePage::ShiftJis, "\x82\xa0", runs), "あ");
    EXPECT_TRUE(runs.empty());
}

TEST(ShiftJis, EncodesOnlyExactCharacters)
{
    EXPECT_EQ(EncodeSjis("あい家"), "\x82\xa0\x82\xa2\x89\xc6");
    EXPECT_EQ(EncodeSjis("～－"), "\x81\x60\x81\x7c");
    EXPECT_EQ(EncodeSjis("ｱ"), "\xb1");
    // Look-alikes that a best-fit table would substitute.
    EXPECT_FALSE(EncodeSjis("¥"));
    EXPECT_FALSE(EncodeSjis("\u203E"));
    EXPECT_FALSE(EncodeSjis("\u301C"));  // wave dash; the code page has the full-width tilde
    EXPECT_FALSE(EncodeSjis("\u2212"));  // minus sign; the code page has the full-width hyphen-minus
    EXPECT_FALSE(EncodeSjis("é"));
    EXPECT_FALSE(EncodeSjis("😀"));
}

TEST(ShiftJis, EveryDecodedPairEncodesToTheSameText)
{
    int pairs = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string text = DecodeSjis(bytes);
            if (text == Replacement) continue;
            ++pairs;
            const auto back = EncodeSjis(text);
            ASSERT_TRUE(back) << std::hex << lead << ' ' << trail;
            // Duplicate codes (the NEC and IBM extensions) may come back as their twin.
            EXPECT_EQ(DecodeSjis(*back), text) << std::hex << lead << ' ' << trail;
        }
    }
    EXPECT_GT(pairs, 7000);
}

TEST(CodePage, StandardEquivalentsAreTheCodesTheStandardsAssign)
{
    const std::pair<char32_t, std::string_view> shiftJis[] = {
        {U'\u301C', "\x81\x60"}, {U'\u2016', "\x81\x61"}, {U'\u2212', "\x81\x7C"}, {U'\u00A2', "\x81\x91"},
        {U'\u00A3', "\x81\x92"}, {U'\u00AC', "\x81\xCA"}, {U'\u2014', "\x81\x5C"}};
    for (const auto& [c, code] : shiftJis) {
        std::string equivalent;
        AppendUtf8(equivalent, StandardEquivalent(CodePage::ShiftJis, c));
        EXPECT_EQ(EncodeSjis(equivalent), std::string(code)) << std::hex << c;
    }
    for (const char32_t c : {U'\u202F', U'\u2007'})
        EXPECT_EQ(StandardEquivalent(CodePage::Windows1252, c), U'\u00A0');
    // Nothing is guessed beyond them, and a character the code page holds has no equivalent.
    EXPECT_EQ(StandardEquivalent(CodePage::ShiftJis, U'\u202F'), 0U);
    EXPECT_EQ(StandardEquivalent(CodePage::Windows1252, U'\u301C'), 0U);
    EXPECT_EQ(StandardEquivalent(CodePage::ShiftJis, U'\uFF5E'), 0U);
}

}  // namespace
}  // namespace mirvel
