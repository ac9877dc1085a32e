#include "convert/List.h"

#include "common/CodePage.h"
#include "convert/TerminalText.h"

#include <algorithm>

namespace mirvel::convert {
namespace {

std::string FrancaisOf(const TWordRec& record)
{
    return Printable(DecodeToUtf8(CodePage::Windows1252, record.FrancaisBytes()));
}

}  // namespace

void ListPrinter::Measure(const TWordRec* records, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        francaisWidth_ = std::max(francaisWidth_, DisplayWidth(FrancaisOf(records[i])));
    count_ += static_cast<std::int64_t>(count);
}

std::string ListPrinter::Print(const TWordRec* records, std::size_t count, std::int64_t first) const
{
    const std::size_t numberWidth = std::to_string(count_).size();
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string number = std::to_string(first + static_cast<std::int64_t>(i));
        out.append(numberWidth - std::min(numberWidth, number.size()), ' ');
        out += number;
        out += "  ";
        const std::string francais = FrancaisOf(records[i]);
        out += francais;
        const std::string japonais = Printable(DecodeToUtf8(CodePage::ShiftJis, records[i].JaponaisBytes()));
        if (!japonais.empty()) {
            out.append(francaisWidth_ - std::min(francaisWidth_, DisplayWidth(francais)) + 2, ' ');
            out += japonais;
        }
        out += '\n';
    }
    return out;
}

}  // namespace mirvel::convert
