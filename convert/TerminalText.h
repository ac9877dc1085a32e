#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mirvel::convert {

// Terminal columns of UTF-8 text: 2 for East Asian wide and fullwidth characters, 0 for
// combining marks and zero-width characters, else 1 (ambiguous ones too, as terminals outside a
// CJK legacy code page draw them).
std::size_t DisplayWidth(std::string_view text);

// The text with control characters as their control pictures (U+2400...), so that a tab or an
// escape byte from a file neither breaks the columns nor reaches the terminal.
std::string Printable(std::string_view text);

}  // namespace mirvel::convert
