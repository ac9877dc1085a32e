#include "common/InOutError.h"

#include <gtest/gtest.h>

namespace mirvel {
namespace {

TEST(InOutError, EveryCodeHasItsMessage)
{
    EXPECT_STREQ(InOutError(IoFileNotFound).what(), "ファイルが見つかりません");
    EXPECT_STREQ(InOutError(IoPathNotFound).what(), "不正なファイル名です");
    EXPECT_STREQ(InOutError(IoTooManyOpenFiles).what(), "オープンしたファイルが多すぎます");
    EXPECT_STREQ(InOutError(IoAccessDenied).what(), "ファイルへのアクセスが拒否されました");
    EXPECT_STREQ(InOutError(IoReadPastEnd).what(), "ファイルの末尾以降を読み込みました");
    EXPECT_STREQ(InOutError(IoDiskFull).what(), "ディスクがいっぱいです");
    EXPECT_STREQ(InOutError(IoInvalidNumeric).what(), "入力値が数値ではありません");
    EXPECT_STREQ(InOutError(32).what(), "I/O エラー (32)");
    EXPECT_EQ(InOutError(1117).Code(), 1117);
}

TEST(InOutError, ErrorBoxAppendsAFullStopAfterCharactersAbove0x2E)
{
    EXPECT_EQ(ErrorBoxText("ディスクがいっぱいです"), "ディスクがいっぱいです.");
    EXPECT_EQ(ErrorBoxText("I/O エラー (32)"), "I/O エラー (32)");
    EXPECT_EQ(ErrorBoxText("'x' は整数ではありません"), "'x' は整数ではありません.");
    EXPECT_EQ(ErrorBoxText("done."), "done.");  // 0x2E itself
    EXPECT_EQ(ErrorBoxText("a-"), "a-");
    EXPECT_EQ(ErrorBoxText("a/"), "a/.");
    EXPECT_EQ(ErrorBoxText("/tmp/x.ini に書き込めません"), "/tmp/x.ini に書き込めません.");
    EXPECT_EQ(ErrorBoxText(""), "");
}

}  // namespace
}  // namespace mirvel
