#include "editor/BoxBytes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using editor::BoxBytes;
using mirvel::CodePage;

struct Fitted {
    bool accepted;
    std::u16string text;
    std::size_t caret;
};

// What the box takes when `inserted` is typed or pasted at `at` of its text `before`.
Fitted Insert(CodePage codePage, std::size_t maxBytes, const std::u16string& before, std::size_t at,
              const std::u16string& inserted)
{
    std::u16string text = before.substr(0, at) + inserted + before.substr(at);
    std::size_t caret = at + inserted.size();
    const bool accepted = editor::FitBoxInput(codePage, maxBytes, before, text, caret);
    return {accepted, text, caret};
}

TEST(FitBoxInputTest, CharactersWithAStandardEquivalentBecomeItWithinTheLimit)
{
    const std::u16string cats(19, u'猫');  // 38 bytes of the Japanese box's 40
    // 〜 is stored as ～ (0x8160), two bytes like any kanji: it fits at 38 bytes, not at 39.
    const Fitted wave = Insert(CodePage::ShiftJis, 40, cats, 2, u"〜");
    EXPECT_TRUE(wave.accepted);
    EXPECT_EQ(wave.text, u"猫猫～" + cats.substr(2));
    EXPECT_FALSE(Insert(CodePage::ShiftJis, 40, cats + u"a", 0, u"〜").accepted);
    // A paste keeps what fits after mapping, cut at a character's end.
    const Fitted pasted = Insert(CodePage::ShiftJis, 40, cats, 0, u"−—〜");
    EXPECT_TRUE(pasted.accepted);
    EXPECT_EQ(pasted.text, u"－" + cats);
    EXPECT_EQ(pasted.caret, 1u);

    // French typography's narrow no-break space and the figure space are the no-break space.
    const Fitted french = Insert(CodePage::Windows1252, 16, u"oui", 3, u" ! ");
    EXPECT_TRUE(french.accepted);
    EXPECT_EQ(french.text, u"oui ! ");
    EXPECT_FALSE(Insert(CodePage::Windows1252, 16, std::u16string(16, u'a'), 16, u" ").accepted);

    // Nothing else is guessed: each side keeps to its own table, and what has no equivalent
    // refuses the whole insertion.
    EXPECT_FALSE(Insert(CodePage::Windows1252, 16, u"", 0, u"〜").accepted);
    EXPECT_FALSE(Insert(CodePage::ShiftJis, 40, u"", 0, u" ").accepted);
    EXPECT_FALSE(Insert(CodePage::ShiftJis, 40, u"", 0, u"〜œ").accepted);
}

TEST(BoxBytesTest, AnUntouchedBoxGivesBackItsRecordsOwnBytes)
{
    // 17 bytes are more than a box lets a user type; 0x81 shows as the C1 control of its value.
    const std::string stored = "abcdefghijklmnop\x81";
    EXPECT_EQ(BoxBytes(CodePage::Windows1252, "abcdefghijklmnop\u0081", stored), stored);
    const std::string brokenJapanese = "\x93\xfa\x81";  // 日 and half a character
    EXPECT_EQ(BoxBytes(CodePage::ShiftJis, "日\uFFFD", brokenJapanese), brokenJapanese);
}

TEST(BoxBytesTest, AnEditedBoxIsEncodedWithStandInsStoredAsQuestionMarks)
{
    EXPECT_EQ(BoxBytes(CodePage::Windows1252, "é", "e"), "\xe9");
    EXPECT_EQ(BoxBytes(CodePage::Windows1252, "\uFFFDx", "\x81"), "?x");
    EXPECT_EQ(BoxBytes(CodePage::ShiftJis, "日\uFFFD本", "\x93\xfa\x81"), "\x93\xfa?\x96\x7b");
    EXPECT_EQ(BoxBytes(CodePage::ShiftJis, "", "\x93\xfa"), "");
}

}  // namespace
