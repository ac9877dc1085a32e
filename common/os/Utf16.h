#pragma once

// Text to and from the UTF-16 of the Windows "W" functions.

#include <optional>
#include <string>
#include <string_view>
#include "common/os/Win32Api.h"

namespace mirvel::os {

// Bytes of a code page to UTF-16; nullopt when any byte sequence has no mapping there.
inline std::optional<std::wstring> Utf16FromCodePage(UINT codePage, std::string_view bytes)
{
    if (bytes.empty()) return std::wstring();
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (length == 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), length);
    return wide;
}

inline std::optional<std::wstring> Utf16FromUtf8(std::string_view utf8)
{
    return Utf16FromCodePage(CP_UTF8, utf8);
}

inline std::string Utf8FromUtf16(std::wstring_view wide)
{
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

}  // namespace mirvel::os
