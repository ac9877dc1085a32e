// The settings file on arbitrary text, then a run of reads and writes chosen by the input:
// a written key reads back, every other key keeps its value, the file on disk stays a profile
// file (every other line kept byte for byte in its place, with its own line end; new and
// changed lines end in CRLF) and reads the same when opened afresh,
// and a write failing at any step of the save leaves file and object as they were.
#include "tests/fuzz/FuzzScratch.h"

#include "common/IniFile.h"
#include "common/InOutError.h"
#include "common/os/File.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using mirvel::TIniFile;

constexpr std::size_t MaxValueBytes = 2047;
constexpr std::size_t MaxPool = 8;

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FUZZ_CHECK(out.good());
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// Code page 932: a lead byte and a trail byte after it are one character.
std::size_t CharLength(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    if (!((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC)) || at + 1 >= text.size())
        return 1;
    const auto trail = static_cast<unsigned char>(text[at + 1]);
    return trail >= 0x40 && trail <= 0xFC && trail != 0x7F ? 2 : 1;
}

// Double-byte characters compared whole, ASCII letters regardless of case.
bool SameName(std::string_view a, std::string_view b)
{
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t length = CharLength(a, i);
        char x = a[i], y = b[i];
        if (length == 1 && x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (length == 1 && y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y || (length == 2 && a[i + 1] != b[i + 1])) return false;
        i += length;
    }
    return true;
}

// The name of a "[Name]" line: up to its last "]" that is a character of its own.
std::optional<std::string_view> HeaderName(std::string_view line)
{
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    std::optional<std::size_t> close;
    for (std::size_t i = 1; i < line.size(); i += CharLength(line, i))
        if (line[i] == ']') close = i;
    if (!close) return std::nullopt;
    return Trim(line.substr(1, *close - 1));
}

struct Line {
    std::string text;
    std::string end;  // "\r\n", "\r", "\n", or empty for a last line without one
    bool operator==(const Line& other) const { return text == other.text && end == other.end; }
};

// The lines as a profile reader sees them: ended by CR LF, by a CR alone or by an LF alone.
std::vector<Line> Lines(const std::string& text)
{
    std::vector<Line> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::size_t endLength = text.compare(end, 2, "\r\n") == 0 ? 2 : end < text.size() ? 1 : 0;
        lines.push_back({text.substr(start, end - start), text.substr(end, endLength)});
        start = end + endLength;
    }
    return lines;
}

// Names and values a program writes: printable, no brackets, "=", ";" or quotes that would
// make the line something else, nothing that reading trims away, no name ending in the first
// byte of a double-byte character, which would take the "]" after it.
bool Writable(std::string_view text, bool isName)
{
    if (text.empty()) return !isName;
    if (IsBlank(text.front()) || IsBlank(text.back())) return false;
    if (isName) {
        std::size_t last = 0;
        for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) last = i;
        if (last + 1 == text.size() && CharLength(std::string(1, text.back()) + "]", 0) == 2) return false;
    }
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) return false;
        if (isName && (c == '[' || c == ']' || c == '=' || c == ';' || c == '"' || c == '\'')) return false;
    }
    return isName || (text.front() != '"' && text.front() != '\'');
}

std::string WritableName(FuzzedDataProvider& input)
{
    std::string name = input.ConsumeRandomLengthString(24);
    if (!Writable(name, true)) name = "K" + std::to_string(name.size());
    return name;
}

// Section and key names found in the text, so that writes meet what the file already holds.
struct Pool {
    std::vector<std::string> sections;
    std::vector<std::string> keys;

    explicit Pool(const std::string& text)
    {
        for (const Line& line : Lines(text)) {
            const std::string_view trimmed = Trim(line.text);
            if (const auto name = HeaderName(trimmed)) {
                Add(sections, *name);
            } else if (const auto equals = trimmed.find('='); equals != std::string_view::npos) {
                Add(keys, Trim(trimmed.substr(0, equals)));
            }
        }
        Add(sections, "Form");
        Add(keys, "Left");
    }
    static void Add(std::vector<std::string>& names, std::string_view name)
    {
        if (names.size() < MaxPool && Writable(name, true)) names.emplace_back(name);
    }

    std::string Pick(FuzzedDataProvider& input, std::vector<std::string>& names)
    {
        if (input.ConsumeBool()) return names[input.ConsumeIntegralInRange<std::size_t>(0, names.size() - 1)];
        std::string name = WritableName(input);
        if (names.size() < MaxPool) names.push_back(name);
        return name;
    }
};

using Reads = std::vector<std::string>;

Reads ReadAll(const TIniFile& ini, const Pool& pool)
{
    Reads reads;
    for (const auto& section : pool.sections)
        for (const auto& key : pool.keys) reads.push_back(ini.ReadString(section, key, "\x01missing"));
    return reads;
}

bool IsEntryFor(std::string_view line, std::string_view key, std::string_view value)
{
    const auto equals = line.find('=');
    return equals != std::string_view::npos && SameName(line.substr(0, equals), key) &&
           line.substr(equals + 1) == value;
}

// The written file: the old lines in their places around the one change, each with its own
// line end (a last one without gets CRLF); the changed or added lines end in CRLF.
void CheckRewrite(const std::string& before, const std::string& after, const std::string& section,
                  const std::string& key, const std::string& value)
{
    std::vector<Line> old = Lines(before);
    const std::vector<Line> now = Lines(after);
    if (!old.empty() && old.back().end.empty()) old.back().end = "\r\n";
    for (const Line& line : now) FUZZ_CHECK(!line.end.empty());

    std::size_t p = 0;
    while (p < old.size() && p < now.size() && old[p] == now[p]) ++p;
    const auto sameTail = [&](std::size_t oldFrom, std::size_t nowFrom) {
        return old.size() - oldFrom == now.size() - nowFrom &&
               std::equal(old.begin() + static_cast<std::ptrdiff_t>(oldFrom), old.end(),
                          now.begin() + static_cast<std::ptrdiff_t>(nowFrom));
    };
    if (p == old.size() && now.size() == old.size()) {
        // The key's line already read exactly so.
    } else if (now.size() == old.size()) {
        FUZZ_CHECK(IsEntryFor(now[p].text, key, value));
        FUZZ_CHECK(now[p].end == old[p].end);
        FUZZ_CHECK(SameName(old[p].text.substr(0, old[p].text.find('=')), key));
        FUZZ_CHECK(sameTail(p + 1, p + 1));
    } else if (now.size() == old.size() + 1) {
        FUZZ_CHECK(now[p] == (Line{key + "=" + value, "\r\n"}));
        FUZZ_CHECK(sameTail(p, p + 1));
    } else {
        // A new section at the end, straight after the last line.
        FUZZ_CHECK(p == old.size());
        FUZZ_CHECK(now.size() == old.size() + 2);
        FUZZ_CHECK(now[p] == (Line{"[" + section + "]", "\r\n"}));
        FUZZ_CHECK(now[p + 1] == (Line{key + "=" + value, "\r\n"}));
    }
}

struct StepFault {
    mirvel::os::Op op;
    int error;
};

constexpr StepFault Faults[] = {
    // Not an access-denied open: the save then rightly writes the existing file in place.
    {mirvel::os::Op::Open, ENOSPC}, {mirvel::os::Op::Open, EMFILE},  {mirvel::os::Op::Write, EIO},
    {mirvel::os::Op::Write, 0},  // short write: the disk filled up
    {mirvel::os::Op::Flush, EIO},   {mirvel::os::Op::Rename, EXDEV}, {mirvel::os::Op::Close, EIO},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string path = mirvel::fuzz::Scratch::Get().File("Mirvel.ini");
    const std::string text = input.ConsumeRandomLengthString(4096);
    WriteBytes(path, text);
    Pool pool(text);
    TIniFile ini(path);

    for (int step = 0; step < 8 && input.remaining_bytes() > 0; ++step) {
        const std::string section = pool.Pick(input, pool.sections);
        const std::string key = pool.Pick(input, pool.keys);
        std::string value = input.ConsumeRandomLengthString(input.ConsumeBool() ? 2100 : 16);
        if (!Writable(value, false)) value = std::to_string(value.size());
        const bool faulted = input.ConsumeIntegralInRange(0, 3) == 0;
        const StepFault fault = input.PickValueInArray(Faults);

        const std::string before = ReadBytes(path);
        const Reads readsBefore = ReadAll(ini, pool);
        if (!faulted) {
            ini.WriteString(section, key, value);
        } else {
            mirvel::os::ClearFaults();
            if (fault.error != 0)
                mirvel::os::InjectFault(fault.op, 1, fault.error);
            else
                mirvel::os::InjectShortTransfer(fault.op, 1, value.size() / 2);
            bool failed = false;
            try {
                ini.WriteString(section, key, value);
            } catch (const mirvel::MessageError& error) {
                failed = std::string(error.what()) == path + " に書き込めません";
            }
            mirvel::os::ClearFaults();
            FUZZ_CHECK(failed);
            FUZZ_CHECK(ReadBytes(path) == before);
            FUZZ_CHECK(ReadAll(ini, pool) == readsBefore);
            continue;
        }

        FUZZ_CHECK(ini.ReadString(section, key, "\x01missing") == value.substr(0, MaxValueBytes));
        const Reads readsAfter = ReadAll(ini, pool);
        for (std::size_t s = 0, i = 0; s < pool.sections.size(); ++s) {
            for (std::size_t k = 0; k < pool.keys.size(); ++k, ++i) {
                if (SameName(pool.sections[s], section) && SameName(pool.keys[k], key)) continue;
                FUZZ_CHECK(readsAfter[i] == readsBefore[i]);
            }
        }
        CheckRewrite(before, ReadBytes(path), section, key, value);
        FUZZ_CHECK(ReadAll(TIniFile(path), pool) == readsAfter);
    }
    return 0;
}
