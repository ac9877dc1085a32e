#include "IniFile.h"

#include "InOutError.h"
#include "os/File.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>
#include <system_error>

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

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

std::optional<std::string_view> SectionName(std::string_view line)
{
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const auto close = line.rfind(']');
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

std::optional<Section> FindSection(const std::vector<std::string>& lines, std::string_view name)
{
    name = Trim(name);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto found = SectionName(lines[i]);
        if (!found || !SameName(*found, name)) continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !SectionName(lines[end])) ++end;
        return Section{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<std::string>& lines, Section section,
                                   std::string_view key)
{
    key = Trim(key);
    for (std::size_t i = section.header + 1; i < section.end; ++i) {
        const auto entry = EntryOf(lines[i]);
        if (entry && SameName(entry->key, key)) return i;
    }
    return std::nullopt;
}

// The file's text; empty when there is no file yet, nullopt when there is one that can't be
// read (refused, a folder, a failing disk).
std::optional<std::string> ReadText(const std::string& path)
{
    const auto file = std::filesystem::u8path(path);
    std::error_code error;
    const auto type = std::filesystem::status(file, error).type();
    if (type == std::filesystem::file_type::not_found) return std::string();
    if (type != std::filesystem::file_type::regular) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    try {
        return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    } catch (const std::exception&) {
        // The stream buffer throws on a failing read whatever the stream's exception mask.
        return std::nullopt;
    }
}

std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

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
    std::string_view value = defaultValue;
    if (const auto found = FindSection(lines_, section)) {
        if (const auto at = FindKey(lines_, *found, key)) value = WithoutQuotes(EntryOf(lines_[*at])->value);
    }
    // Profile values are C strings: a NUL byte in a damaged file ends the value there, as it
    // would end any message made from it.
    value = value.substr(0, value.find('\0'));
    return std::string(value.substr(0, MaxValueBytes));
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    if (!readable_) throw MessageError(path_ + " に書き込めません");
    std::vector<std::string> lines = lines_;
    const auto found = FindSection(lines, section);
    if (!found) {
        if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
        lines.push_back("[" + section + "]");
        lines.push_back(key + "=" + value);
    } else if (const auto at = FindKey(lines, *found, key)) {
        lines[*at] = std::string(EntryOf(lines[*at])->key) + "=" + value;
    } else {
        std::size_t after = found->end;
        while (after > found->header + 1 && Trim(lines[after - 1]).empty()) --after;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after), key + "=" + value);
    }

    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
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
