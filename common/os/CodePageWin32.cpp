#include "common/os/ShiftJis.h"
#include "common/os/Utf16.h"

namespace mirvel::os {
namespace {

constexpr UINT ShiftJisCodePage = 932;

}  // namespace

std::optional<std::string> ShiftJisToUtf8(std::string_view bytes)
{
    const auto wide = Utf16FromCodePage(ShiftJisCodePage, bytes);
    if (!wide) return std::nullopt;
    return Utf8FromUtf16(*wide);
}

std::optional<std::string> Utf8ToShiftJis(std::string_view utf8)
{
    const auto wide = Utf16FromUtf8(utf8);
    if (!wide) return std::nullopt;
    if (wide->empty()) return std::string();
    const int size = static_cast<int>(wide->size());
    BOOL usedDefault = FALSE;
    const int length = ::WideCharToMultiByte(ShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide->data(), size,
                                             nullptr, 0, nullptr, &usedDefault);
    if (length == 0 || usedDefault) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(ShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide->data(), size, bytes.data(), length,
                          nullptr, nullptr);
    return bytes;
}

}  // namespace mirvel::os
