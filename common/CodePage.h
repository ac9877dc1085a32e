#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mirvel {

enum class CodePage { Windows1252 = 1252, ShiftJis = 932 };

// Bytes of a code page to UTF-8. Never fails: a byte (or a broken double-byte sequence) without
// a mapping comes out as U+FFFD, so something is always shown.
std::string DecodeToUtf8(CodePage codePage, std::string_view bytes);

// UTF-8 to bytes of a code page; nullopt when any character has no mapping there (no best-fit
// substitutes, no silent '?'), or when the input is not valid UTF-8.
std::optional<std::string> EncodeFromUtf8(CodePage codePage, std::string_view utf8);

}  // namespace mirvel
