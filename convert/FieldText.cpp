#include "convert/FieldText.h"

namespace mirvel::convert {

FieldText DecodeField(Side side, std::string_view bytes)
{
    std::vector<UndecodableRun> runs;
    FieldText field{DecodeToUtf8(CodePageOf(side), bytes, runs), {}};
    for (const UndecodableRun& run : runs)
        field.undecodable.push_back({run.index, std::string(bytes.substr(run.index, run.length))});
    return field;
}

}  // namespace mirvel::convert
