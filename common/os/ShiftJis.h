#pragma once

// The platform's code page 932 tables (iconv's "CP932" here, the system's on Windows). Both
// directions are strict: nullopt when any byte sequence or character fails to convert.

#include <optional>
#include <string>
#include <string_view>

namespace mirvel::os {

std::optional<std::string> ShiftJisToUtf8(std::string_view bytes);

// May yield a look-alike for a character the code page lacks (iconv's "¥" to 0x5C); callers
// that want exact text check the round trip.
std::optional<std::string> Utf8ToShiftJis(std::string_view utf8);

}  // namespace mirvel::os
