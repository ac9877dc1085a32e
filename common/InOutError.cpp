#include "common/InOutError.h"

namespace mirvel {

std::string IoErrorMessage(int code)
{
    switch (code) {
    case IoFileNotFound: return "ファイルが見つかりません";
    case IoPathNotFound: return "不正なファイル名です";
    case IoTooManyOpenFiles: return "オープンしたファイルが多すぎます";
    case IoAccessDenied: return "ファイルへのアクセスが拒否されました";
    case IoReadPastEnd: return "ファイルの末尾以降を読み込みました";
    case IoDiskFull: return "ディスクがいっぱいです";
    case IoInvalidNumeric: return "入力値が数値ではありません";
    default: return "I/O エラー (" + std::to_string(code) + ")";
    }
}

InOutError::InOutError(int code) : std::runtime_error(IoErrorMessage(code)), code_(code) {}

std::string ErrorBoxText(const std::string& message)
{
    if (message.empty()) return message;
    // Find the last UTF-8 character. Any non-ASCII character has a Shift-JIS lead byte (or a
    // single byte) of 0x81 or above, or is shown as '?', which is also above 0x2E.
    std::size_t start = message.size() - 1;
    while (start > 0 && (static_cast<unsigned char>(message[start]) & 0xC0) == 0x80) --start;
    const auto first = static_cast<unsigned char>(message[start]);
    const bool ascii = first < 0x80;
    if (!ascii || first > 0x2E) return message + ".";
    return message;
}

}  // namespace mirvel
