#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace mirvel {

// The settings' integer syntax: optional leading spaces, then either an optional sign and
// decimal digits within the signed 32-bit range, or (unsigned) "$", "x", "X", "0x", "0X" and at
// least one hex digit fitting 32 bits, taken as a bit pattern ("$FFFFFFFF" is -1). Nothing may
// follow the digits.
std::optional<std::int32_t> TryStrToInt(const std::string& text);

// The same, throwing MessageError "'<text>' は整数ではありません" on anything else, with the
// text (a settings value) shown as the system's code page reads it.
std::int32_t StrToInt(const std::string& text);

}  // namespace mirvel
