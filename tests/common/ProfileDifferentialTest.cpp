// The settings code against Windows' own GetPrivateProfileStringA and WritePrivateProfileStringA,
// in the same process, on generated settings files: every read must agree, and after each write
// every key must read the same from the file the project wrote as from the one Windows wrote.
#include "common/IniFile.h"
#include "tests/support/TempDir.h"
#include "tests/common/Wine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace mirvel {
namespace {

#ifdef _WIN32

using test::ReadAll;
using test::WriteAll;

using Lines = std::vector<std::string>;

const std::string A2046(2046, 'a');
const std::string A2047(2047, 'a');
const std::string A2048(2048, 'a');

// ア 83 41, ヂ 83 61, ゾ 83 5D, ソ 83 5C, 表 95 5C, 漢字 8A BF 8E 9A, ｱ B1.
const std::vector<Lines> Documents = {
    {"[Form]", "Left=120", "Top=-5", "[User]", "Order=FJ", "FSize=12", "Bold=true"},
    {"  [ Form ]  ", "\tLeft\t=\t 7 \t", " Top = 8", "[\tUser\t]", "Order =  jf  ", "a b = c d"},
    {"[Q]", "a=\"x y\"", "b='z'", "c=\"half", "d=\"\"", "e=\"", "f= \" padded \" ", "g='mixed\"", "h=''"},
    {"[Form]", "Left=1", "left=2", "[FORM]", "Left=3", "Top=4", "[form]", "Top=5", "Right=6"},
    {"; head", "[Form]", ";Left=9", "Left=1", "; Top=2", "[User] trailing", "Order=FJ", "[X]]", "k=v"},
    {"Left=1", "Top=2", "[Form]", "Left=3"},
    {"[Form]", "Left", "Top=2", "junk line", "[User", "Order=FJ", "[User]", "Bare", "=nameless"},
    {"", "[Form]", "", "Left=1", "", "", "[User]", "", "Order=FJ", ""},
    {"[Long]", "v2046=" + A2046, "v2047=" + A2047, "v2048=" + A2048, "v3000=" + std::string(3000, 'b'),
     "q2047=\"" + A2047 + "\"", "q2046=\"" + A2046 + "\"", "t=" + A2047 + "  "},
    {"[Form]", std::string("Left=1\0 2", 9), std::string("Top=\0", 5), std::string("\0junk", 5), "Right=3"},
    {"[\x83\x41]", "\x83\x41=1", "\x83\x61=2", "[\x83\x61]", "\x83\x41=3", "[\x83\x5D]", "\x83\x5D=4",
     "[\x83\x5C\x95\x5C]", "\x95\x5C=\x83\x5C", "\xB1=\x8A\xBF\x8E\x9A \x83\x41", "[\x83\x5D", "z=5",
     "[Form]\x83\x5D", "Left=6", "[Long]", "s=" + std::string(1023, 'x') + "\x8A\xBF\x8E\x9A"},
    {"\xEF\xBB\xBF[Form]", "Left=1", "[User]", "Order=FJ"},
};

const char* const LineEnds[] = {"\r\n", "\n", "\r"};

bool HasHighBytes(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

std::string Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return std::string(text);
}

std::string UpperAscii(std::string text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if ((b >= 0x81 && b <= 0x9F) || b >= 0xE0)
            ++i;  // a double-byte character stays as it is
        else if (text[i] >= 'a' && text[i] <= 'z')
            text[i] = static_cast<char>(text[i] - 'a' + 'A');
    }
    return text;
}

// One line end throughout, or all three in turn; with and without a final one.
std::vector<std::string> Renderings(const Lines& lines)
{
    std::vector<std::string> texts;
    for (int style = 0; style < 4; ++style) {
        for (const bool finalEnd : {true, false}) {
            std::string text;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                text += lines[i];
                if (i + 1 < lines.size() || finalEnd) text += LineEnds[style < 3 ? style : i % 3];
            }
            texts.push_back(std::move(text));
        }
    }
    return texts;
}

struct Query {
    std::string section;
    std::string key;
};

bool IsLeadByte(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return (b >= 0x81 && b <= 0x9F) || b >= 0xE0;
}

// The name in a "[Name]" line, up to its last "]" that isn't the second byte of a character.
std::optional<std::string> HeaderName(std::string_view line)
{
    const std::string trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
    std::optional<std::size_t> close;
    for (std::size_t i = 1; i < trimmed.size(); i += IsLeadByte(trimmed[i]) ? 2 : 1)
        if (trimmed[i] == ']') close = i;
    if (!close) return std::nullopt;
    return Trimmed(std::string_view(trimmed).substr(1, *close - 1));
}

// Every name the lines seem to hold, as found, in capitals and padded, and a few of the
// program's own and missing ones; the empty section name where keys come before the first
// section.
std::vector<Query> QueriesFor(const Lines& lines)
{
    std::set<std::string> sections = {"Form", "User", "Missing"};
    std::set<std::string> keys = {"Left", "Top", "Missing"};
    bool inSection = false;
    for (const std::string& raw : lines) {
        const std::string line = Trimmed(raw.substr(0, raw.find('\0')));
        if (const auto name = HeaderName(line)) {
            sections.insert(*name);
            inSection = true;
            continue;
        }
        const std::string key = Trimmed(line.substr(0, line.find('=')));
        if (key.empty() || key.front() == ';') continue;
        keys.insert(key);
        if (!inSection) sections.insert("");
    }
    std::vector<Query> queries;
    for (const auto& section : sections) {
        for (const auto& key : keys) {
            queries.push_back({section, key});
            if (UpperAscii(section) != section || UpperAscii(key) != key)
                queries.push_back({UpperAscii(section), UpperAscii(key)});
        }
    }
    queries.push_back({" Form\t", "\tLeft "});
    return queries;
}

std::string PlatformRead(const Query& query, const std::string& defaultValue, const std::string& path)
{
    char buffer[2048];
    ::GetPrivateProfileStringA(query.section.c_str(), query.key.c_str(), defaultValue.c_str(), buffer,
                               sizeof buffer, path.c_str());
    return buffer;
}

bool SameAscii(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && UpperAscii(std::string(a)) == UpperAscii(std::string(b));
}

// The lines of the query's sections whose name is the query's key, with what follows the "="
// (nullopt without one).
std::vector<std::optional<std::string>> ValuesOf(std::string_view text, const Query& query)
{
    std::vector<std::optional<std::string>> values;
    bool inSection = false;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string line = Trimmed(text.substr(start, end - start));
        const auto equals = line.find('=');
        if (const auto name = HeaderName(line)) {
            inSection = SameAscii(*name, Trimmed(query.section));
        } else if (inSection && SameAscii(Trimmed(line.substr(0, equals)), Trimmed(query.key))) {
            values.push_back(equals == std::string::npos ? std::nullopt
                                                         : std::optional(Trimmed(line.substr(equals + 1))));
        }
        start = end + 1;
    }
    return values;
}

// Where Wine's profile code is known to differ from Windows', or Windows' result isn't known
// and the settings code keeps its own; on Windows nothing is excluded.
struct Exclusion {
    const char* reason;
    bool (*applies)(std::string_view text, const Query& query, std::string_view defaultValue);
};

const Exclusion WineExclusions[] = {
    {"Wine takes a UTF-8 byte order mark for one; Windows reads its bytes as text of the first line",
     [](std::string_view text, const Query&, std::string_view) {
         return text.substr(0, 3) == "\xEF\xBB\xBF";
     }},
    {"Wine gives the keys before the first section to the empty section name",
     [](std::string_view, const Query& query, std::string_view) { return Trimmed(query.section).empty(); }},
    {"a line without \"=\": Wine reads it as no key and gives the default; the settings code keeps "
     "reading it as a key with an empty value",
     [](std::string_view text, const Query& query, std::string_view) {
         for (const auto& value : ValuesOf(text, query))
             if (!value) return true;
         return false;
     }},
    {"a quoted value whose closing quote lies beyond the 2,047-byte cut: Wine drops the last byte "
     "before the cut in the quote's place",
     [](std::string_view text, const Query& query, std::string_view) {
         for (const auto& value : ValuesOf(text, query))
             if (value && value->size() > 2048 && (value->front() == '"' || value->front() == '\'') &&
                 value->back() == value->front())
                 return true;
         return false;
     }},
    {"a default of spaces only: Wine keeps its first space; Windows documents every trailing blank "
     "of the default as dropped",
     [](std::string_view, const Query&, std::string_view defaultValue) {
         return !defaultValue.empty() && defaultValue.find_first_not_of(' ') == std::string_view::npos;
     }},
};

class Differential {
public:
    Differential() : underWine_(test::UnderWine()), codePage932_(::GetACP() == 932) {}

    bool Skips(std::string_view text) const { return HasHighBytes(text) && !codePage932_; }

    const Exclusion* ExclusionFor(std::string_view text, const Query& query,
                                  std::string_view defaultValue = "dflt")
    {
        if (!underWine_) return nullptr;
        for (const Exclusion& exclusion : WineExclusions)
            if (exclusion.applies(text, query, defaultValue)) {
                ++excluded_[exclusion.reason];
                return &exclusion;
            }
        return nullptr;
    }

    // A fresh name for every file, so that no cached profile stands in for the file on disk.
    std::string NewPath() { return dir_.File("p" + std::to_string(files_++) + ".ini"); }

    std::string Place(const std::optional<std::string>& text)
    {
        const std::string path = NewPath();
        if (text) WriteAll(path, *text);
        return path;
    }

    void CompareReads(const std::optional<std::string>& text, const std::vector<Query>& queries,
                      const std::string& what)
    {
        const std::string path = Place(text);
        const TIniFile ini(path);
        for (const Query& query : queries) {
            if (Skips(query.section + query.key) || ExclusionFor(text.value_or(""), query)) continue;
            ++reads_;
            EXPECT_EQ(ini.ReadString(query.section, query.key, "dflt"), PlatformRead(query, "dflt", path))
                << what << " [" << query.section << "] " << query.key;
        }
    }

    // The same writes in turn through both; each file is then read by both readers.
    void CompareWrites(const std::optional<std::string>& text, std::vector<Query> queries,
                       const std::vector<std::pair<Query, std::string>>& writes, const std::string& what)
    {
        const std::string own = Place(text);
        const std::string platform = Place(text);
        TIniFile ini(own);
        for (const auto& [query, value] : writes) queries.push_back(query);
        for (const auto& [written, value] : writes) {
            if (Skips(written.section + written.key + value) || ExclusionFor(text.value_or(""), written))
                continue;
            ++writes_;
            ini.WriteString(written.section, written.key, value);
            ASSERT_TRUE(::WritePrivateProfileStringA(written.section.c_str(), written.key.c_str(),
                                                     value.c_str(), platform.c_str()));
            const std::string ownCopy = Place(ReadAll(own));
            const TIniFile reread(own);
            for (const Query& query : queries) {
                if (Skips(query.section + query.key) || ExclusionFor(text.value_or(""), query)) continue;
                ++readsAfterWrites_;
                const std::string expected = PlatformRead(query, "dflt", platform);
                EXPECT_EQ(PlatformRead(query, "dflt", ownCopy), expected)
                    << what << " after writing [" << written.section << "] " << written.key << ": ["
                    << query.section << "] " << query.key;
                EXPECT_EQ(reread.ReadString(query.section, query.key, "dflt"), expected)
                    << what << " after writing [" << written.section << "] " << written.key << ": ["
                    << query.section << "] " << query.key;
            }
        }
    }

    void CompareDefaults(const std::vector<std::string>& defaults)
    {
        const std::string text = "[Form]\r\nLeft=1\r\n";
        const std::string path = Place(text);
        const TIniFile ini(path);
        for (const std::string& value : defaults) {
            if (ExclusionFor(text, {"Form", "Top"}, value)) continue;
            ++reads_;
            EXPECT_EQ(ini.ReadString("Form", "Top", value), PlatformRead({"Form", "Top"}, value, path))
                << "default \"" << value << "\"";
        }
    }

    void Report(int skipped) const
    {
        std::printf(
            "Compared with the platform's profile functions: %d reads, %d writes and %d reads after them",
            reads_, writes_, readsAfterWrites_);
        if (skipped > 0)
            std::printf(
                "; skipped %d Shift-JIS files and the Shift-JIS names in the others: the process's ANSI "
                "code page is %u, not 932",
                skipped, ::GetACP());
        std::printf(".\n");
        for (const auto& [reason, count] : excluded_)
            std::printf("  excluded %d: %s\n", count, reason.c_str());
    }

private:
    test::TempDir dir_;
    bool underWine_;
    bool codePage932_;
    int files_ = 0;
    int reads_ = 0;
    int writes_ = 0;
    int readsAfterWrites_ = 0;
    std::map<std::string, int> excluded_;
};

TEST(ProfileDifferential, ReadsAndWritesAgreeWithThePlatform)
{
    Differential differential;
    int skipped = 0;
    for (std::size_t d = 0; d < Documents.size(); ++d) {
        const Lines& lines = Documents[d];
        const std::vector<Query> queries = QueriesFor(lines);
        const std::vector<std::string> texts = Renderings(lines);
        for (std::size_t r = 0; r < texts.size(); ++r) {
            if (differential.Skips(texts[r])) {
                ++skipped;
                continue;
            }
            const std::string what = "file " + std::to_string(d) + " rendering " + std::to_string(r);
            differential.CompareReads(texts[r], queries, what);
            differential.CompareWrites(texts[r], queries,
                                       {{{"Form", "Left"}, "-3"},
                                        {{"User", "Order"}, " spaced "},
                                        {{"Form", "NewKey"}, "\"quoted\""},
                                        {{"New Section", "Key"}, A2048},
                                        {{"\x83\x61", "\x83\x41"}, "\x8F\x91"}},
                                       what);
        }
    }
    for (const auto& text : std::vector<std::optional<std::string>>{std::nullopt, std::string()}) {
        const std::string what = text ? "empty file" : "missing file";
        differential.CompareReads(text, {{"Form", "Left"}}, what);
        differential.CompareWrites(text, {{"Form", "Left"}},
                                   {{{"Form", "Left"}, "5"}, {{"User", "Top"}, "6"}}, what);
    }
    differential.CompareDefaults({"d", "d  ", "  d", "d\t", "d \t ", "   ", ""});
    differential.Report(skipped);
}

#else

TEST(ProfileDifferential, ReadsAndWritesAgreeWithThePlatform)
{
    GTEST_SKIP() << "compares with Windows' own profile functions, which only the Windows build has";
}

#endif

}  // namespace
}  // namespace mirvel
