#include "samples/WordListSource.h"

#include "common/CodePage.h"

#include <optional>
#include <string>

namespace samples {
namespace {

std::string Fail(int lineNumber, const std::string& why)
{
    return "line " + std::to_string(lineNumber) + ": " + why;
}

std::string Encoded(mirvel::CodePage codePage, const std::string& text, std::size_t maxBytes, int lineNumber,
                    const char* side)
{
    const std::optional<std::string> bytes = mirvel::EncodeFromUtf8(codePage, text);
    if (!bytes) {
        throw SourceError(Fail(lineNumber, std::string("the ") + side + " text \"" + text +
                                               "\" has characters its code page can't hold"));
    }
    if (bytes->size() > maxBytes) {
        throw SourceError(Fail(lineNumber, std::string("the ") + side + " text \"" + text + "\" is " +
                                               std::to_string(bytes->size()) + " bytes long, more than " +
                                               std::to_string(maxBytes)));
    }
    return *bytes;
}

}  // namespace

mirvel::WordList ParseWordListSource(std::istream& source)
{
    mirvel::WordList words;
    std::string line;
    int lineNumber = 0;
    while (std::getline(source, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#') continue;

        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos || line.find('\t', tab + 1) != std::string::npos) {
            throw SourceError(Fail(lineNumber, "expected French and Japanese separated by one tab"));
        }
        const std::string francais = Encoded(mirvel::CodePage::Windows1252, line.substr(0, tab),
                                             MaxFrancaisBytes, lineNumber, "French");
        const std::string japonais = Encoded(mirvel::CodePage::ShiftJis, line.substr(tab + 1),
                                             MaxJaponaisBytes, lineNumber, "Japanese");

        mirvel::TWordRec& record = words.emplace_back();
        record.SetFrancais(francais);
        record.SetJaponais(japonais);
    }
    return words;
}

}  // namespace samples
