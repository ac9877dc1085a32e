#include "common/Utf8Text.h"

#include <gtest/gtest.h>

namespace mirvel {
namespace {

// Each bad sequence after enough ASCII and kana that the eight-byte and kana shortcuts run
// first, so that a shortcut which skipped it would be caught.
TEST(Utf8Text, FindsTheFirstByteThatIsNotUtf8)
{
    const std::string before = "abcdefghijk\xE3\x81\x82\xC3\xA9";  // "abcdefghijkあé"
    for (const char* bad : {
             "\x80",              // a continuation byte alone
             "\xC0\xAF",          // overlong "/"
             "\xE0\x80\xAF",      // overlong "/" in three bytes
             "\xED\xA0\x80",      // a surrogate
             "\xF4\x90\x80\x80",  // beyond U+10FFFF
             "\xE3\x81",          // cut at the end
             "\xE3\x81x",         // cut before the next character
             "\xF8\x88\x80\x80\x80",
         }) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(FindInvalidUtf8(before + bad), before.size());
        EXPECT_EQ(Utf8SequenceLength(before + bad, before.size()), 0u);
    }
    EXPECT_TRUE(IsValidUtf8(before + "\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF\xEF\xBF\xBD"));
    EXPECT_TRUE(IsValidUtf8(""));
}

TEST(Utf8Text, DecodesWhatItWrites)
{
    // 0xDC82 is an escaped byte as the converter carries it: written and read back unchecked.
    for (const char32_t c : {char32_t{0xDC82}, U'\0', U'A', U'\u00E9', U'\u07FF', U'\u3042', U'\uFFFD',
                             U'\U0001F600', U'\U0010FFFF'}) {
        SCOPED_TRACE(static_cast<unsigned>(c));
        std::string text = "x";
        AppendUtf8(text, c);
        std::size_t at = 1;
        EXPECT_EQ(NextUtf8(text, at), c);
        EXPECT_EQ(at, text.size());
    }
}

}  // namespace
}  // namespace mirvel
