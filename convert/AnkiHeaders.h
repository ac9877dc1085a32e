#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace mirvel::convert {

// The header lines that Anki writes at the top of its text files and reads there: "#key:value".
enum class HeaderKey {
    Comment,  // not a header: "# text", or no key before a colon
    Unknown,  // "#key:value" with a key Anki doesn't have
    Separator,
    Html,
    Columns,
    TagsColumn,
    DeckColumn,
    NotetypeColumn,
    GuidColumn,
    Ignored,  // #tags:, #deck:, #notetype:, #if matches:, #match scope: say nothing about the words
};

struct HeaderLine {
    HeaderKey key = HeaderKey::Comment;
    std::string_view name;   // the key as written, spaces around it dropped
    std::string_view value;  // everything after the colon, as written
};

// `line` starts with '#' and holds no line break. Keys are matched in any case, as Anki does;
// a key must follow the '#' at once, so that "# a note: like this" stays a comment.
HeaderLine ParseHeaderLine(std::string_view line);

// "Tab", "Comma", "Semicolon", "Pipe", "Space", "Colon" in any case, or one literal character
// (printable ASCII or a tab, neither a quote nor '#').
std::optional<char> ParseSeparatorName(std::string_view value);

// "true" or "false", in any case.
std::optional<bool> ParseHtmlValue(std::string_view value);

// Only digits, at least one: a column or a sheet asked for by number rather than by name.
bool IsNumber(std::string_view text);

// A column by its 1-based number; 0 says there is none, as Anki takes it.
std::optional<std::size_t> ParseColumnNumber(std::string_view value);

std::string_view TrimSpaces(std::string_view text);

// Equal but for the case of ASCII letters, as Anki matches its keys and names.
bool SameLettersAnyCase(std::string_view a, std::string_view b);

}  // namespace mirvel::convert
