#include "List.h"

#include "CodePage.h"
#include "TerminalText.h"

#include <algorithm>
#include <vector>

namespace mirvel::convert {

std::string ListWords(const WordList& words)
{
    std::vector<std::string> francais;
    francais.reserve(words.size());
    std::size_t francaisWidth = 0;
    for (const TWordRec& record : words) {
        francais.push_back(Printable(DecodeToUtf8(CodePage::Windows1252, record.FrancaisBytes())));
        francaisWidth = std::max(francaisWidth, DisplayWidth(francais.back()));
    }
    const std::size_t numberWidth = std::to_string(words.size()).size();

    std::string out;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        out.append(numberWidth - number.size(), ' ');
        out += number;
        out += "  ";
        out += francais[i];
        const std::string japonais = Printable(DecodeToUtf8(CodePage::ShiftJis, words[i].JaponaisBytes()));
        if (!japonais.empty()) {
            out.append(francaisWidth - DisplayWidth(francais[i]) + 2, ' ');
            out += japonais;
        }
        out += '\n';
    }
    return out;
}

}  // namespace mirvel::convert
