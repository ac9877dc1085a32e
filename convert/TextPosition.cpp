#include "convert/TextPosition.h"

#include "convert/Utf8.h"

namespace mirvel::convert {

TextPosition Advance(std::string_view text, TextPosition from, std::size_t offset)
{
    TextPosition at = from;
    for (; at.offset < offset && at.offset < text.size(); ++at.offset) {
        const char c = text[at.offset];
        if (c == '\n' || (c == '\r' && (at.offset + 1 >= text.size() || text[at.offset + 1] != '\n'))) {
            ++at.line;
            at.column = 1;
        } else if (c != '\r' && !IsContinuationByte(c)) {
            ++at.column;
        }
    }
    return at;
}

}  // namespace mirvel::convert
