#include "editor/AccentTable.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using editor::AccentTable;

TEST(AccentTableTest, HoldsTheTwentyEightPairsInTestOrder)
{
    // Key code, letter, Windows-1252 replacement, as the keys are documented for the user.
    const std::string expected =
        "\x71"
        "E\xC9"
        "\x71"
        "e\xE9"
        "\x72"
        "E\xC8"
        "\x72"
        "e\xE8"
        "\x72"
        "A\xC0"
        "\x72"
        "a\xE0"
        "\x72"
        "U\xD9"
        "\x72"
        "u\xF9"
        "\x73"
        "A\xC2"
        "\x73"
        "a\xE2"
        "\x73"
        "E\xCA"
        "\x73"
        "e\xEA"
        "\x73"
        "I\xCE"
        "\x73"
        "i\xEE"
        "\x73"
        "O\xD4"
        "\x73"
        "o\xF4"
        "\x73"
        "U\xDB"
        "\x73"
        "u\xFB"
        "\x74"
        "E\xCB"
        "\x74"
        "e\xEB"
        "\x74"
        "I\xCF"
        "\x74"
        "i\xEF"
        "\x74"
        "U\xDC"
        "\x74"
        "u\xFC"
        "\x75"
        "C\xC7"
        "\x75"
        "c\xE7"
        "\x76"
        "O\x8C"
        "\x76"
        "o\x9C";
    std::string actual;
    for (const auto& pair : AccentTable()) {
        actual += static_cast<char>(pair.KeyCode);
        actual += pair.Letter;
        actual += static_cast<char>(pair.Replacement);
    }
    EXPECT_EQ(actual, expected);
}

TEST(AccentTableTest, OnlyF2ToF7AreAccentKeys)
{
    EXPECT_FALSE(editor::IsAccentKey(0x70));
    for (int key = 0x71; key <= 0x76; ++key) EXPECT_TRUE(editor::IsAccentKey(key)) << key;
    EXPECT_FALSE(editor::IsAccentKey(0x77));
}

TEST(AccentTableTest, HelpTextsAreThirteenWindows1252Bytes)
{
    const char* const expected[] = {
        "e , F2 ... \xE9 ", "e , F3 ... \xE8 ", "e , F4 ... \xEA ",
        "e , F5 ... \xEB ", "c , F6 ... \xE7 ", "o , F7 ... \x9C ",
    };
    for (int offset = 0; offset < 6; ++offset) {
        EXPECT_EQ(editor::AccentHelpText(offset), expected[offset]) << offset;
        EXPECT_EQ(editor::AccentHelpText(offset).size(), 13u);
    }
}

TEST(AccentTableTest, AccentedLetterLooksUpOneKeyAndLetter)
{
    EXPECT_EQ(editor::AccentedLetter(0x71, U'e'), 0xE9);
    EXPECT_EQ(editor::AccentedLetter(0x76, U'O'), 0x8C);  // Œ, outside Latin-1
    EXPECT_FALSE(editor::AccentedLetter(0x71, U'a'));     // F2 knows only E and e
    EXPECT_FALSE(editor::AccentedLetter(0x70, U'e'));     // F1 is no accent key
    // A character whose low byte is a letter is no letter.
    EXPECT_FALSE(editor::AccentedLetter(0x71, U'\u0165'));
}

}  // namespace
