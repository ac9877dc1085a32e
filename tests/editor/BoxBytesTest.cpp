#include "editor/BoxBytes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using editor::BoxBytes;
using mirvel::CodePage;

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
