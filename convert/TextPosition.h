#pragma once

#include <cstddef>
#include <string_view>

namespace mirvel::convert {

// A place in a text file as an editor shows it: lines and columns from 1, a column counting
// characters. CR LF, LF and a lone CR each end a line.
struct TextPosition {
    long line = 1;
    long column = 1;
    std::size_t offset = 0;
};

// The position of `offset`, walking forward from `from` (which must not lie past it).
TextPosition Advance(std::string_view text, TextPosition from, std::size_t offset);

inline TextPosition PositionOf(std::string_view text, std::size_t offset)
{
    return Advance(text, TextPosition{}, offset);
}

}  // namespace mirvel::convert
