#include "common/InOutError.h"
#include "common/IntParse.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "common/os/Win32Api.h"
#endif

namespace mirvel {
namespace {

TEST(IntParse, AcceptsDecimalAndHexForms)
{
    const std::pair<const char*, std::int32_t> cases[] = {
        {"0", 0},
        {"189", 189},
        {"+7", 7},
        {"-42", -42},
        {"   -3", -3},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"$10", 16},
        {"x1f", 31},
        {"XfF", 255},
        {"0x7FFFFFFF", 2147483647},
        {"0X80000000", -2147483647 - 1},
        {"$FFFFFFFF", -1},
        {"$000000000001", 1},
        {"  $a", 10},
    };
    for (const auto& [text, value] : cases) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(TryStrToInt(text).has_value());
        EXPECT_EQ(*TryStrToInt(text), value);
    }
}

TEST(IntParse, RefusesEverythingElse)
{
    const char* const cases[] = {
        "",           " ",           "-",           "+",   "12 ", " 1 2", "1a",         "abc",
        "2147483648", "-2147483649", "99999999999", "$",   "0x",  "x",    "$100000000", "-$1",
        "+0x1",       "$-1",         "0x 1",        "\t5", "1.0", "１２", "0xG",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(TryStrToInt(text).has_value());
    }
    EXPECT_FALSE(TryStrToInt(std::string("5\0", 2)).has_value());
}

TEST(IntParse, StrToIntNamesTheOffendingText)
{
    EXPECT_EQ(StrToInt(" 12"), 12);
    try {
        StrToInt(" 12px");
        FAIL() << "no error";
    } catch (const MessageError& error) {
        EXPECT_STREQ(error.what(), "' 12px' は整数ではありません");
    }
    EXPECT_THROW(StrToInt(""), MessageError);
}

// A settings value is in the system's code page; the message is UTF-8.
TEST(IntParse, StrToIntShowsTheTextAsTheSystemCodePageReadsIt)
{
#ifdef _WIN32
    if (::GetACP() != 932) GTEST_SKIP() << "the system code page is " << ::GetACP() << ", not 932";
#endif
    try {
        StrToInt("\x82\x50\x82\x51");  // "１２" in code page 932
        FAIL() << "no error";
    } catch (const MessageError& error) {
        EXPECT_STREQ(error.what(), "'１２' は整数ではありません");
    }
}

}  // namespace
}  // namespace mirvel
