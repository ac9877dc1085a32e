#pragma once

#include <cstddef>
#include <string_view>

namespace mirvel {

inline bool IsShiftJisLeadByte(unsigned char b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
inline bool IsShiftJisTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// The bytes that decode together at `at`: 2 for a lead byte with a trail byte after it, else 1.
// A lead byte whose next byte can't be a trail byte is broken alone, and the next byte starts
// afresh, so that one bad byte never takes a good character with it.
inline std::size_t ShiftJisUnitLength(std::string_view bytes, std::size_t at)
{
    return IsShiftJisLeadByte(static_cast<unsigned char>(bytes[at])) && at + 1 < bytes.size() &&
                   IsShiftJisTrailByte(static_cast<unsigned char>(bytes[at + 1]))
               ? 2
               : 1;
}

}  // namespace mirvel
