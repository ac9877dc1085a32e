#include "common/os/SystemText.h"

#include "common/os/Utf16.h"

namespace mirvel::os {

std::string SystemTextToUtf8(std::string_view bytes)
{
    if (bytes.empty()) return {};
    // Without MB_ERR_INVALID_CHARS the system puts its own stand-in where a byte has no character.
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length);
    return Utf8FromUtf16(wide);
}

}  // namespace mirvel::os
