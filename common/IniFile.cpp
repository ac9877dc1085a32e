#include "common/IniFile.h"

#include "common/InOutError.h"
#include "common/os/File.h"

#include <optional>
#include <string_view>

namespace mirvel {
namespace {

constexpr std::size_t MaxValueBytes = 2047;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Settings text is in the system code page, 932 for the program's users: a lead byte and the
// byte after it are one character, whose second byte may look like "A" or "]".
bool IsLeadByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool IsTrailByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

std::size_t CharLength(std::string_view text, std::size_t at)
{
    return IsLeadByte(text[at]) && at + 1 < text.size() && IsTrailByte(text[at + 1]) ? 2 : 1;
}

// Only ASCII letters fold, so ア (83 41) and ヂ (83 61) stay two names.
bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t length = CharLength(a, i);
        if (length == 2) {
            if (a.compare(i, 2, b, i, 2) != 0) return false;
        } else if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
        i += length;
    }
    return true;
}

std::optional<std::string_view> SectionName(std::string_view line)
{
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    // The last "]" that is a character of its own; whatever follows it is no part of the name.
    std::size_t close = std::string_view::npos;
    for (std::size_t i = 1; i < line.size(); i += CharLength(line, i))
        if (line[i] == ']') close = i;
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

struct Entry {
    std::string_view key;
    std::string_view value;
};

// A "Key=Value" line; a line without "=" is a key without value, as the profile functions have
// it. Blank lines and ";" comments are no entries.
std::optional<Entry> EntryOf(std::string_view line)
{
    const auto equals = line.find('=');
    const std::string_view key = Trim(line.substr(0, equals));
    if (key.empty() || key.front() == ';') return std::nullopt;
    if (equals == std::string_view::npos) return Entry{key, {}};
    return Entry{key, Trim(line.substr(equals + 1))};
}

std::string_view WithoutQuotes(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

struct Section {
    std::size_t header;
    std::size_t end;  // one past its last line
};

std::optional<Section> FindSection(const std::vector<IniLine>& lines, std::string_view name)
{
    name = Trim(name);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto found = SectionName(lines[i].text);
        if (!found || !SameName(*found, name)) continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !SectionName(lines[end].text)) ++end;
        return Section{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<IniLine>& lines, Section section, std::string_view key)
{
    key = Trim(key);
    for (std::size_t i = section.header + 1; i < section.end; ++i) {
        const auto entry = EntryOf(lines[i].text);
        if (entry && SameName(entry->key, key)) return i;
    }
    return std::nullopt;
}

// The file's text; empty when there is no file yet, nullopt when there is one that can't be
// read (refused, a folder, a failing disk).
std::optional<std::string> ReadText(const std::string& path)
{
    try {
        os::File file = os::File::OpenForReading(path);
        return file.ReadAll();
    } catch (const InOutError& error) {
        if (error.Code() == IoFileNotFound || error.Code() == IoPathNotFound) return std::string();
        return std::nullopt;
    } catch (const MessageError&) {
        return std::nullopt;
    }
}

// A line ends at CR LF, at a CR alone or at an LF alone, as the profile functions have it; each
// line keeps its own end so that a write gives back every other line byte for byte.
std::vector<IniLine> LinesOf(const std::string& text)
{
    std::vector<IniLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::size_t endLength = text.compare(end, 2, "\r\n") == 0 ? 2 : end < text.size() ? 1 : 0;
        lines.push_back({text.substr(start, end - start), text.substr(end, endLength)});
        start = end + endLength;
    }
    return lines;
}

IniLine NewLine(std::string text) { return {std::move(text), "\r\n"}; }

}  // namespace

std::string SettingsPathFor(const std::string& executablePath)
{
    const auto nameStart = executablePath.find_last_of("/\\");
    const auto dot = executablePath.rfind('.');
    const bool hasExtension = dot != std::string::npos && (nameStart == std::string::npos || dot > nameStart);
    return (hasExtension ? executablePath.substr(0, dot) : executablePath) + ".ini";
}

TIniFile::TIniFile(std::string path) : path_(std::move(path))
{
    // A file that can't be read reads as empty, as the profile functions have it, so the
    // defaults apply; it is never rewritten from that emptiness, which would drop its values.
    const std::optional<std::string> text = ReadText(path_);
    readable_ = text.has_value();
    if (text) lines_ = LinesOf(*text);
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const
{
    const auto found = FindSection(lines_, section);
    const auto at = found ? FindKey(lines_, *found, key) : std::nullopt;
    std::string_view value = at ? WithoutQuotes(EntryOf(lines_[*at].text)->value) : defaultValue;
    // Profile values are C strings: a NUL byte in a damaged file ends the value there, as it
    // would end any message made from it.
    value = value.substr(0, value.find('\0'));
    if (!at) {
        while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
    }
    return std::string(value.substr(0, MaxValueBytes));
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    if (!readable_) throw MessageError(path_ + " に書き込めません");
    std::vector<IniLine> lines = lines_;
    const auto found = FindSection(lines, section);
    if (!found) {
        lines.push_back(NewLine("[" + section + "]"));
        lines.push_back(NewLine(key + "=" + value));
    } else if (const auto at = FindKey(lines, *found, key)) {
        lines[*at].text = std::string(EntryOf(lines[*at].text)->key) + "=" + value;
    } else {
        std::size_t after = found->end;
        while (after > found->header + 1 && Trim(lines[after - 1].text).empty()) --after;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after), NewLine(key + "=" + value));
    }

    std::string text;
    for (const auto& line : lines) text += line.text + (line.end.empty() ? "\r\n" : line.end);
    try {
        os::ReplaceFile(path_, [&](os::File& file) {
            if (file.Write(text.data(), text.size()) < text.size()) throw InOutError(IoDiskFull);
        });
    } catch (const InOutError&) {
        throw MessageError(path_ + " に書き込めません");
    }
    lines_ = std::move(lines);
}

}  // namespace mirvel
