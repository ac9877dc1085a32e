#include "FieldText.h"

#include "ShiftJisUnits.h"

namespace mirvel::convert {
namespace {

constexpr std::string_view Replacement = "\xEF\xBF\xBD";

}  // namespace

FieldText DecodeField(Side side, std::string_view bytes)
{
    const CodePage codePage = CodePageOf(side);
    FieldText field{DecodeToUtf8(codePage, bytes), {}};
    // Neither code page maps any bytes to U+FFFD, so without one everything decoded.
    if (field.text.find(Replacement) == std::string::npos) return field;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = side == Side::Japonais ? ShiftJisUnitLength(bytes, at) : 1;
        const std::string_view unit = bytes.substr(at, length);
        if (DecodeToUtf8(codePage, unit).find(Replacement) != std::string::npos)
            field.undecodable.push_back({at, std::string(unit)});
        at += length;
    }
    return field;
}

}  // namespace mirvel::convert
