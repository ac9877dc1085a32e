#include "convert/AnkiHeaders.h"

#include <cctype>
#include <string>
#include <utility>

namespace mirvel::convert {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

bool SameLettersAnyCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string_view TrimSpaces(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

HeaderLine ParseHeaderLine(std::string_view line)
{
    HeaderLine header;
    const std::size_t colon = line.find(':');
    if (line.size() < 2 || !IsAsciiLetter(line[1]) || colon == std::string_view::npos) return header;
    const std::string_view name = TrimSpaces(line.substr(1, colon - 1));
    for (const char c : name) {
        if (!IsAsciiLetter(c) && c != ' ') return header;
    }
    header.name = name;
    header.value = line.substr(colon + 1);
    struct Known {
        const char* name;
        HeaderKey key;
    };
    static constexpr Known known[] = {
        {"separator", HeaderKey::Separator},
        {"html", HeaderKey::Html},
        {"columns", HeaderKey::Columns},
        {"tags column", HeaderKey::TagsColumn},
        {"deck column", HeaderKey::DeckColumn},
        {"notetype column", HeaderKey::NotetypeColumn},
        {"guid column", HeaderKey::GuidColumn},
        {"tags", HeaderKey::Ignored},
        {"deck", HeaderKey::Ignored},
        {"notetype", HeaderKey::Ignored},
        {"if matches", HeaderKey::Ignored},
        {"match scope", HeaderKey::Ignored},
    };
    header.key = HeaderKey::Unknown;
    for (const Known& entry : known) {
        if (SameLettersAnyCase(name, entry.name)) header.key = entry.key;
    }
    return header;
}

std::optional<char> ParseSeparatorName(std::string_view value)
{
    static constexpr std::pair<const char*, char> names[] = {
        {"tab", '\t'}, {"comma", ','}, {"semicolon", ';'}, {"pipe", '|'}, {"space", ' '}, {"colon", ':'},
    };
    const std::string_view trimmed = TrimSpaces(value);
    for (const auto& [name, separator] : names) {
        if (SameLettersAnyCase(trimmed, name)) return separator;
    }
    // "#separator: " is a space, as Anki reads it; "#separator: ;" a semicolon.
    const std::string_view literal = value.size() == 1 ? value : trimmed;
    if (literal.size() != 1) return std::nullopt;
    const char c = literal[0];
    if (c != '\t' && (c < 0x20 || c > 0x7E)) return std::nullopt;
    if (c == '"' || c == '#') return std::nullopt;
    return c;
}

std::optional<bool> ParseHtmlValue(std::string_view value)
{
    const std::string_view trimmed = TrimSpaces(value);
    if (SameLettersAnyCase(trimmed, "true")) return true;
    if (SameLettersAnyCase(trimmed, "false")) return false;
    return std::nullopt;
}

bool IsNumber(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::optional<std::size_t> ParseColumnNumber(std::string_view value)
{
    const std::string_view trimmed = TrimSpaces(value);
    if (!IsNumber(trimmed) || trimmed.size() > 6) return std::nullopt;
    return std::stoul(std::string(trimmed));
}

}  // namespace mirvel::convert
