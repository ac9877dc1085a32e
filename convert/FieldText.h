#pragma once

#include "convert/Side.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mirvel::convert {

// Bytes of a record's field that its code page can't decode: where they start in the field
// (from 0) and what they are (one byte, or a Shift-JIS pair without a character).
struct UndecodableBytes {
    std::size_t index = 0;
    std::string bytes;
};

struct FieldText {
    std::string text;  // UTF-8; undecodable bytes show as U+FFFD
    std::vector<UndecodableBytes> undecodable;
};

// Decodes a field as the programs show it, and says which bytes didn't decode, since U+FFFD
// alone can't be told apart from a real character on the way back.
FieldText DecodeField(Side side, std::string_view bytes);

}  // namespace mirvel::convert
